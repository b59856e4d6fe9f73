// Request text building: query values, percent-encoding and templates.

#include "uQarvonHttp.h"

#include <gtest/gtest.h>

using namespace qarvon;

namespace {

struct EncodeCase
{
    const char *name;
    std::string input;
    std::string expected;
};

void PrintTo(const EncodeCase &c, std::ostream *os)
{
    *os << c.name;
}

class EncodeQuery : public ::testing::TestWithParam<EncodeCase>
{
};

TEST_P(EncodeQuery, GivesLowerCasePlusForBlank)
{
    EXPECT_EQ(EncodeQueryValue(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Http, EncodeQuery,
    ::testing::Values(EncodeCase {"Blank", "Hello World", "hello+world"},
                      EncodeCase {"Reserved", "a&b=c", "a%26b%3dc"},
                      EncodeCase {"Chinese", "\xE4\xB8\xAD\xE6\x96\x87", "%e4%b8%ad%e6%96%87"},
                      EncodeCase {"Unreserved", "-._~", "-._%7e"}, EncodeCase {"Empty", "", ""},
                      EncodeCase {"PlusAndPercent", "1+1%", "1%2b1%25"},
                      EncodeCase {"Controls", std::string("a\0b\n", 4), "a%00b%0a"}),
    [](const auto &info) { return std::string(info.param.name); });

struct PercentCase
{
    const char *name;
    std::string input;
    bool blankAsPlus;
    std::string expected;
};

void PrintTo(const PercentCase &c, std::ostream *os)
{
    *os << c.name;
}

class Percent : public ::testing::TestWithParam<PercentCase>
{
};

TEST_P(Percent, EncodesEveryByteButTheUnreserved)
{
    EXPECT_EQ(PercentEncode(GetParam().input, GetParam().blankAsPlus), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Http, Percent,
    ::testing::Values(PercentCase {"BlankAsPercent20", "a b", false, "a%20b"},
                      PercentCase {"BlankAsPlus", "a b", true, "a+b"},
                      PercentCase {"UpperCaseHex", "\xE4\xB8\xAD/?", false, "%E4%B8%AD%2F%3F"},
                      PercentCase {"LettersKept", "AZaz09-._", false, "AZaz09-._"},
                      PercentCase {"HighByte", "\xFF", true, "%FF"},
                      PercentCase {"Tilde", "~", false, "%7E"}),
    [](const auto &info) { return std::string(info.param.name); });

struct TemplateCase
{
    const char *name;
    std::string tmpl;
    std::vector<TTemplateArg> args;
    std::string expected;
};

void PrintTo(const TemplateCase &c, std::ostream *os)
{
    *os << c.name;
}

class Template : public ::testing::TestWithParam<TemplateCase>
{
};

TEST_P(Template, FillsPlaceholdersInOrder)
{
    EXPECT_EQ(FormatTemplate(GetParam().tmpl, GetParam().args), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Http, Template,
    ::testing::Values(
        TemplateCase {"Mixed",
                      "Qarvon.Search&k=%s&p=%d&s=%d",
                      {"abc", 2, 50},
                      "Qarvon.Search&k=abc&p=2&s=50"},
        TemplateCase {"ExtraValueDropped", "a=%s", {"x", "y"}, "a=x"},
        TemplateCase {"MissingValueKeepsPlaceholder", "a=%s&b=%s", {"x"}, "a=x&b=%s"},
        TemplateCase {"ValueNotRescanned", "a=%s&b=%d", {"%d", 5}, "a=%d&b=5"},
        TemplateCase {"OtherPercentKept", "100%&x=%s%", {"y"}, "100%&x=y%"},
        TemplateCase {"NegativeNumber", "n=%d", {-1}, "n=-1"},
        TemplateCase {"EmptyTemplate", "", {"x"}, ""},
        TemplateCase {"Statistics",
                      "h/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s&channel=%s",
                      {"01", "09", "021", "0011AABBCCDD", "", "001"},
                      "h/datastatics.php?mode=01&modu=09&opr=021&macAddress=0011AABBCCDD&user="
                      "&channel=001"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
