#include "ChildProcess.h"
#include "IniFile.h"
#include "TempAppRoot.h"

#include <gtest/gtest.h>

using namespace qarvon;

namespace {

test::ProcessResult ctl(const QStringList &args)
{
    return test::RunProgram(test::BuiltProgram(QStringLiteral("qarvonctl")), args);
}

} // namespace

TEST(Qarvonctl, ExitStatusByOutcome)
{
    test::TempAppRoot root;
    const QString r = QString::fromStdString(root.path());
    const struct
    {
        const char *name;
        QStringList args;
        int status;
    } cases[] = {
        {"help", {QStringLiteral("--help")}, 0},
        {"noCommand", {}, 2},
        {"unknownCommand", {QStringLiteral("--root"), r, QStringLiteral("fly")}, 2},
        {"unknownGlobalOption", {QStringLiteral("--fast"), QStringLiteral("config")}, 2},
        {"rootWithoutValue", {QStringLiteral("--root")}, 2},
        {"extraArgument", {QStringLiteral("--root"), r, QStringLiteral("config"), QStringLiteral("x")}, 2},
        {"unknownCommandOption", {QStringLiteral("--root"), r, QStringLiteral("config"), QStringLiteral("--x")}, 2},
        {"badServiceAddress", {QStringLiteral("--root"), r, QStringLiteral("service"), QStringLiteral("ftp://h")}, 2},
        {"config", {QStringLiteral("--root"), r, QStringLiteral("config")}, 0},
    };
    for (const auto &c : cases) {
        const test::ProcessResult result = ctl(c.args);
        EXPECT_TRUE(result.finished) << c.name;
        EXPECT_EQ(result.exitCode, c.status) << c.name << "\n" << result.err;
    }
}

TEST(Qarvonctl, ConfigShowsTheRootAndServicePointsAtAService)
{
    test::TempAppRoot root;
    const QString r = QString::fromStdString(root.path()) + QStringLiteral("box");
    root.write("box/Data/Config.ini", "[DLSet]\nSongNum=$10\n[Mine]\nkeep=1\n");

    const test::ProcessResult set = ctl({QStringLiteral("--root"), r, QStringLiteral("service"),
                                         QStringLiteral("http://127.0.0.1:18080/")});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const test::ProcessResult shown = ctl({QStringLiteral("--root"), r, QStringLiteral("config")});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("app.root = " + root.path() + "box/\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("DLSet.SongNum = 16\n"), std::string::npos);
    EXPECT_NE(shown.out.find("webServices.url = http://127.0.0.1:18080/QarvonApis/requestQarvon?method=\n"),
              std::string::npos);
    EXPECT_EQ(TIniFile(root.file("box/Data/Config.ini")).ReadString("Mine", "keep", ""), "1");
}
