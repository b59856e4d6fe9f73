#include "AppRoot.h"

#include "TempAppRoot.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <cstdlib>

using namespace qarvon;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const std::string &value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old, m_had = true;
        if (value.empty())
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had)
            ::setenv(m_name, m_old.c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::string m_old;
    bool m_had = false;
};

} // namespace

TEST(AppRoot, PrecedenceOfTheRootChoices)
{
    test::TempAppRoot exe;   // has Data/
    test::TempAppRoot other; // used as QARVON_ROOT
    {
        ScopedEnv env("QARVON_ROOT", other.path());
        EXPECT_EQ(ResolveAppRoot(exe.path() + "given", exe.path()), exe.path() + "given/");
        EXPECT_EQ(ResolveAppRoot("", exe.path()), other.path());
    }
    {
        ScopedEnv env("QARVON_ROOT", "");
        EXPECT_EQ(ResolveAppRoot("", exe.path()), exe.path());
        ScopedEnv xdg("XDG_DATA_HOME", other.path() + "xdg");
        EXPECT_EQ(ResolveAppRoot("", exe.path() + "Data"), other.path() + "xdg/qarvon/");
    }
    EXPECT_EQ(ResolveAppRoot("~/music-box", ""), QDir::homePath().toStdString() + "/music-box/");
}

TEST(AppRoot, NewRootIsSeededAndExistingFilesAreKept)
{
    test::TempAppRoot assets;
    assets.write("Data/channel.ini", "[channelInfo]\nlocalchannel=777\n");
    assets.write("images/a.png", "A");
    test::TempAppRoot place;
    ScopedEnv env("QARVON_ASSETS", assets.path());

    const std::string fresh = place.path() + "fresh/";
    ASSERT_TRUE(PrepareAppRoot(fresh));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(fresh + "Data/channel.ini")));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(fresh + "images/a.png")));

    // An existing root keeps its data and only gains missing pictures.
    place.write("old/Data/channel.ini", "mine");
    assets.write("images/b.png", "B");
    ASSERT_TRUE(PrepareAppRoot(place.path() + "old/"));
    EXPECT_EQ(place.read("old/Data/channel.ini"), "mine");
    EXPECT_EQ(place.read("old/images/b.png"), "B");
}

TEST(AppRoot, UncreatableRootIsReported)
{
    test::TempAppRoot place;
    place.write("file", "x");
    EXPECT_FALSE(PrepareAppRoot(place.path() + "file/sub/"));
}
