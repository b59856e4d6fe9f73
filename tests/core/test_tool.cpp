#include "tool.h"

#include "Common_Config.h"
#include "TempAppRoot.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace qarvon;

TEST(FormatDuration, Table)
{
    const struct
    {
        int seconds;
        const char *text;
    } cases[] = {
        {0, "00:00"},     {7, "00:07"},     {59, "00:59"},       {60, "01:00"},
        {75, "01:15"},    {3599, "59:59"},  {3600, "1:00:00"},   {3605, "1:00:05"},
        {3725, "1:02:05"}, {36000, "10:00:00"}, {-5, "00:00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDuration(c.seconds), c.text) << c.seconds;
}

TEST(SplitByChar, KeepsEmptyPiecesAndAlwaysTheLast)
{
    const struct
    {
        const char *text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a,b,", {"a", "b", ""}},
        {"", {""}},
        {",", {"", ""}},
        {"a,,b", {"a", "", "b"}},
        {"中,文", {"中", "文"}},
    };
    for (const auto &c : cases) {
        std::vector<std::string> list = {"stale"};
        SplitByChar(c.text, ',', list);
        EXPECT_EQ(list, c.pieces) << c.text;
    }
}

TEST(SplitByText, DropsOnlyAnEmptyRemainder)
{
    const struct
    {
        const char *text;
        const char *separator;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a,b,", ",", {"a", "b"}},
        {"", ",", {}},
        {"a;;b;;;;c", ";;", {"a", "b", "", "c"}},
        {"aaa", "aa", {"", "a"}}, // left to right, no overlap
        {"abc", "", {"abc"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitByText(c.text, c.separator), c.pieces) << c.text << " / " << c.separator;
}

TEST(LastPosition, CountsCharactersNotBytes)
{
    const struct
    {
        const char *separator;
        const char *text;
        int position;
    } cases[] = {
        {"/", "a/b/c", 4}, {"XY", "abXYcdXYe", 7}, {"/", "abc", 0},
        {"/", "中文/歌", 3}, {"", "abc", 0},     {"歌", "歌手歌", 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LastPosition(c.separator, c.text), c.position) << c.separator << " in " << c.text;
}

TEST(UrlLastSegment, Table)
{
    EXPECT_EQ(UrlLastSegment("http://h/img/123.jpg"), "123.jpg");
    EXPECT_EQ(UrlLastSegment("http://h/img/"), "");
    EXPECT_EQ(UrlLastSegment("plain"), "plain");
}

TEST(ServiceErrorText, KnownCodesAndTheRest)
{
    EXPECT_EQ(ServiceErrorText(10, true), "Seesion Token 已经失效");
    EXPECT_EQ(ServiceErrorText(112, false), " Method not found");
    EXPECT_EQ(ServiceErrorText(96, true), "歌单名称/备注不能包含特殊字符");
    EXPECT_EQ(ServiceErrorText(5, true), "其他错误");
    EXPECT_EQ(ServiceErrorText(-1, false), "Othre Error");
}

TEST(TextWidths, DoubleByteAndCharacterCounts)
{
    EXPECT_EQ(Utf8Length("abc中文"), 5u);
    EXPECT_EQ(DoubleByteWidth("abc中文"), 7u);
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_TRUE(SameText("BaseSet", "BASESET"));
    EXPECT_FALSE(SameText("BaseSet", "BaseSe"));
}

TEST(AdapterAddress, StableTwelveHexDigits)
{
    const std::string first = AdapterAddress(0);
    EXPECT_EQ(first, AdapterAddress(0));
    if (!first.empty()) {
        ASSERT_EQ(first.size(), 12u);
        EXPECT_EQ(first.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    }
    EXPECT_EQ(AdapterAddress(-1), "");
    EXPECT_EQ(AdapterAddress(10000), "");
}

TEST(Folders, CreatedBelowTheRoot)
{
    test::TempAppRoot root;
    EXPECT_EQ(GetTempFolder(), root.path() + "temp/");
    EXPECT_EQ(GetImagesFolder(), root.path() + "images/");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(root.path() + "temp")).isDir());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(root.path() + "images")).isDir());
}
