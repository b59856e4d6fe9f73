#include "IniFile.h"

#include "TempAppRoot.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qarvon;

namespace {

struct ReadCase
{
    const char *name;
    const char *content;
    const char *section;
    const char *key;
    const char *expected; // ReadString with default "DEF"
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << c.name;
}

class IniRead : public ::testing::TestWithParam<ReadCase>
{};

} // namespace

TEST_P(IniRead, String)
{
    const ReadCase &c = GetParam();
    test::TempAppRoot root;
    root.write("x.ini", c.content);
    EXPECT_EQ(TIniFile(root.file("x.ini")).ReadString(c.section, c.key, "DEF"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniRead,
    ::testing::Values(
        ReadCase{"plain", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"sectionCase", "[BaseSet]\nk=v\n", "BASESET", "k", "v"},
        ReadCase{"keyCase", "[S]\nSavePath=v\n", "S", "savepath", "v"},
        ReadCase{"trimmed", "[S]\n  k  =   v w  \n", "S", "k", "v w"},
        ReadCase{"quoted", "[S]\nk=\"  v \"\n", "S", "k", "  v "},
        ReadCase{"crlf", "[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"bom", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"missingKey", "[S]\nother=v\n", "S", "k", "DEF"},
        ReadCase{"missingSection", "[T]\nk=v\n", "S", "k", "DEF"},
        ReadCase{"emptyValue", "[S]\nk=\n", "S", "k", ""},
        ReadCase{"otherSectionsKey", "[T]\nk=t\n[S]\nk=s\n", "S", "k", "s"},
        ReadCase{"firstOfDuplicates", "[S]\nk=1\nk=2\n", "S", "k", "1"},
        ReadCase{"commentIgnored", "[S]\n;k=c\nk=v\n", "S", "k", "v"},
        ReadCase{"valueWithEquals", "[S]\nurl=http://h/a?method=\n", "S", "url", "http://h/a?method="},
        ReadCase{"chinese", "[S]\n名字=歌手\n", "S", "名字", "歌手"},
        ReadCase{"noFile", "", "S", "k", "DEF"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(IniInteger, NumberRules)
{
    const struct
    {
        const char *text;
        int expected; // with default 5
    } cases[] = {
        {"16", 16},  {"$10", 16},  {"0x10", 16}, {"0X1f", 31}, {"-3", -3},   {"abc", 5},
        {"", 5},     {"12abc", 5}, {"$", 5},     {"0x", 5},    {"99999999999", 5},
        {"$FFFFFFFF", -1}, {" 7 ", 7},
    };
    test::TempAppRoot root;
    for (const auto &c : cases) {
        root.write("n.ini", std::string("[S]\nn=") + c.text + "\n");
        EXPECT_EQ(TIniFile(root.file("n.ini")).ReadInteger("S", "n", 5), c.expected) << c.text;
    }
}

TEST(IniBool, NonZeroIsTrue)
{
    const struct
    {
        const char *text;
        bool defaultValue;
        bool expected;
    } cases[] = {
        {"1", false, true}, {"0", true, false}, {"2", false, true},
        {"yes", true, true}, {"yes", false, false}, {"$0", true, false},
    };
    test::TempAppRoot root;
    for (const auto &c : cases) {
        root.write("b.ini", std::string("[S]\nb=") + c.text + "\n");
        EXPECT_EQ(TIniFile(root.file("b.ini")).ReadBool("S", "b", c.defaultValue), c.expected) << c.text;
    }
}

TEST(IniWrite, KeepsEverythingElseAsItWas)
{
    test::TempAppRoot root;
    root.write("w.ini",
               "; settings of the box\n"
               "[BaseSet]\n"
               "Unknown=keep me\n"
               "savepath=/old/\n"
               "\n"
               "[Other]\n"
               "x=1\n");
    TIniFile ini(root.file("w.ini"));
    ASSERT_TRUE(ini.WriteString("BASESET", "SavePath", "/new/"));
    ASSERT_TRUE(ini.WriteString("BaseSet", "AutoRun", "1"));
    ASSERT_TRUE(ini.WriteString("DLSet", "SongNum", "5"));
    EXPECT_EQ(root.read("w.ini"),
              "; settings of the box\n"
              "[BaseSet]\n"
              "Unknown=keep me\n"
              "savepath=/new/\n"
              "AutoRun=1\n"
              "\n"
              "[Other]\n"
              "x=1\n"
              "\n"
              "[DLSet]\n"
              "SongNum=5\n");
}

TEST(IniWrite, KeepsLineEndsAndRefusesLineBreaksInValues)
{
    test::TempAppRoot root;
    root.write("w.ini", "[S]\r\na=1\r\n");
    TIniFile ini(root.file("w.ini"));
    ASSERT_TRUE(ini.WriteString("S", "b", "two\nlines"));
    EXPECT_EQ(root.read("w.ini"), "[S]\r\na=1\r\nb=two lines\r\n");
    EXPECT_EQ(ini.ReadString("S", "b", ""), "two lines");
}

TEST(IniWrite, ReplacesTheFileWholeAndLeavesNoTemporaries)
{
    test::TempAppRoot root;
    TIniFile ini(root.file("Data/a.ini"));
    ASSERT_TRUE(ini.WriteValues({{"S", "a", "1"}, {"S", "b", "2"}, {"T", "a", "3"}}));
    EXPECT_EQ(root.read("Data/a.ini"), "[S]\na=1\nb=2\n\n[T]\na=3\n");
    const QStringList files = QDir(QString::fromStdString(root.file("Data"))).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList{QStringLiteral("a.ini")});
}

TEST(IniWrite, FailsCleanlyWhenTheFolderIsMissing)
{
    test::TempAppRoot root;
    TIniFile ini(root.file("missing/a.ini"));
    EXPECT_FALSE(ini.WriteString("S", "a", "1"));
    EXPECT_FALSE(root.exists("missing"));
}

TEST(IniWrite, PrivateFileIsOwnerOnly)
{
    test::TempAppRoot root;
    root.write("p.ini", "[S]\n");
    ::chmod(root.file("p.ini").c_str(), 0644);
    TIniFile ini(root.file("p.ini"), /*privateFile=*/true);
    ASSERT_TRUE(ini.WriteString("userInfo", "password", "secret"));
    struct stat st{};
    ASSERT_EQ(::stat(root.file("p.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    TIniFile open(root.file("o.ini"));
    ASSERT_TRUE(open.WriteString("S", "a", "1"));
    ASSERT_EQ(::stat(root.file("o.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(IniWrite, UnreadableFileIsLeftAlone)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    test::TempAppRoot root;
    root.write("u.ini", "[S]\nkeep=1\n");
    ::chmod(root.file("u.ini").c_str(), 0200);
    EXPECT_FALSE(TIniFile(root.file("u.ini")).WriteString("S", "k", "v"));
    ::chmod(root.file("u.ini").c_str(), 0600);
    EXPECT_EQ(root.read("u.ini"), "[S]\nkeep=1\n");
}

TEST(IniWrite, FolderInPlaceOfTheFileIsLeftAlone)
{
    test::TempAppRoot root;
    root.write("d.ini/inside", "x");
    EXPECT_FALSE(TIniFile(root.file("d.ini")).WriteString("S", "k", "v"));
    EXPECT_EQ(root.read("d.ini/inside"), "x");
}
