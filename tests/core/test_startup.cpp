#include "QarvonClient.h"
#include "StartUp.h"

#include <gtest/gtest.h>

using namespace qarvon;

TEST(LaunchPrefix, StrippedUpToItsFirstOccurrence)
{
    const struct
    {
        const char *argument;
        const char *handOff;
    } cases[] = {
        {"callorvellinker:12345", "12345"},
        {"CALLORVELLINKER:12345", "12345"},
        {"xCallOrvelLinker:12345", "12345"},
        {"12345", "12345"},
        {"", ""},
        {"CALLORVELLINKER:CALLORVELLINKER:7", "CALLORVELLINKER:7"},
        {"CALLORVELLINKER:AbC", "AbC"},
        {"CALLORVELLINKER", "CALLORVELLINKER"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StripLaunchPrefix(c.argument), c.handOff) << c.argument;
}

TEST(HandOffFields, ThreeFieldsCarryAFlag)
{
    const struct
    {
        const char *text;
        const char *track;
        int flag;
        bool download;
    } cases[] = {
        {"123,0,1", "123", 1, false},
        {"123,0,0", "123", 0, true},
        {"123", "123", 0, true},
        {"", "", 0, false},
        {"123,0", "123", 0, true},
        {"123,0,1,9", "123", 0, true},
        {"123,0,x", "123", 0, true},
        {"123 0 1", "123", 1, false},      // blanks separate too
        {"\"12 3\",0,1", "12 3", 1, false}, // quotes group
        {" 55 , a , 2 ", "55", 2, true},
        {",0,0", "", 0, false},
        {"123,,", "123", 0, true},
    };
    for (const auto &c : cases) {
        const THandOffRequest r = ParseHandOff(c.text);
        EXPECT_EQ(r.TrackID, c.track) << c.text;
        EXPECT_EQ(r.Flag, c.flag) << c.text;
        EXPECT_EQ(r.StartsDownload(), c.download) << c.text;
    }
}

TEST(HandOffFields, DelimitedTextSplitting)
{
    EXPECT_EQ(SplitDelimitedText("a,,b", ','), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitDelimitedText("a,", ','), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitDelimitedText("\"a\"\"b\",c", ','), (std::vector<std::string>{"a\"b", "c"}));
    EXPECT_EQ(SplitDelimitedText("   ", ','), (std::vector<std::string>{}));
}

TEST(StartOptions, LaunchArgumentIsTheFirstPlainWord)
{
    const struct
    {
        const char *name;
        std::vector<const char *> argv;
        const char *root;
        const char *launch;
        bool error;
    } cases[] = {
        {"none", {"qarvon"}, "", "", false},
        {"rootAndLink", {"qarvon", "--root", "/r", "CALLORVELLINKER:5"}, "/r", "CALLORVELLINKER:5", false},
        {"rootEquals", {"qarvon", "--root=/r", "7"}, "/r", "7", false},
        {"toolkitOption", {"qarvon", "-platform", "offscreen", "8"}, "", "8", false},
        {"firstWordWins", {"qarvon", "a", "b"}, "", "a", false},
        {"afterDoubleDash", {"qarvon", "--", "-dash"}, "", "-dash", false},
        {"rootWithoutValue", {"qarvon", "--root"}, "", "", true},
        {"unknownLongOption", {"qarvon", "--bogus"}, "", "", true},
    };
    for (const auto &c : cases) {
        std::vector<char *> argv;
        for (const char *a : c.argv)
            argv.push_back(const_cast<char *>(a));
        const TStartOptions o = ParseStartOptions(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(o.root, c.root) << c.name;
        EXPECT_EQ(o.launchArgument, c.launch) << c.name;
        EXPECT_EQ(!o.error.empty(), c.error) << c.name;
    }
}
