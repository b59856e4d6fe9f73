// qarvonctl end to end against the reference service.
#include "ChildProcess.h"
#include "ReferenceService.h"
#include "TempAppRoot.h"

#include <gtest/gtest.h>

using namespace qarvon::test;

namespace {

class QarvonctlService : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(service.running()) << "qarvon-service did not start";
        const ProcessResult set = Ctl({"service", service.baseUrl()});
        ASSERT_EQ(set.exitCode, 0) << set.err;
    }

    ProcessResult Ctl(const std::vector<std::string> &words)
    {
        QStringList args{QStringLiteral("--root"), QString::fromStdString(root.path())};
        for (const auto &w : words)
            args << QString::fromStdString(w);
        ProcessResult r = RunProgram(BuiltProgram(QStringLiteral("qarvonctl")), args);
        EXPECT_TRUE(r.finished) << words.front();
        return r;
    }

    ReferenceService service;
    TempAppRoot root;
};

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(QarvonctlService, AUsersSessionFromTheCommandLine)
{
    // Nobody signed in yet, and a refused sign-in.
    EXPECT_EQ(Ctl({"playlists"}).exitCode, 1);
    const ProcessResult refused = Ctl({"login", "demo", "wrong"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(Contains(refused.err, "对象未找到")) << refused.err;

    const ProcessResult login = Ctl({"login", "demo", "demo123", "--remember"});
    ASSERT_EQ(login.exitCode, 0) << login.err;
    EXPECT_TRUE(Contains(login.out, "demo@example.com")) << login.out;

    // Later commands sign in with the remembered credentials.
    const ProcessResult created = Ctl({"playlist-create", "CLI List", "from the shell"});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    const std::string prefix = "created playlist ";
    ASSERT_EQ(created.out.rfind(prefix, 0), 0u) << created.out;
    const std::string id = created.out.substr(prefix.size(), created.out.size() - prefix.size() - 1);

    EXPECT_EQ(Ctl({"playlist-add", id, "300001", "300002", "300003", "300004", "300005", "300006",
                   "300007"})
                  .exitCode,
              0);
    const ProcessResult tracks = Ctl({"playlist", id});
    EXPECT_EQ(tracks.exitCode, 0);
    EXPECT_TRUE(Contains(tracks.out, "300007")) << tracks.out;

    const ProcessResult lists = Ctl({"playlists"});
    EXPECT_EQ(lists.exitCode, 0);
    EXPECT_TRUE(Contains(lists.out, "cli list")) << lists.out;
    EXPECT_EQ(Ctl({"playlist-delete", id}).exitCode, 0);
    EXPECT_EQ(Ctl({"playlist-delete", id}).exitCode, 1);

    EXPECT_EQ(Ctl({"collect", "20003"}).exitCode, 0);
    const ProcessResult again = Ctl({"collect", "20003"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(Contains(again.out, "该专辑已经被收藏。")) << again.out;
    EXPECT_TRUE(Contains(Ctl({"albums"}).out, "20003"));
    EXPECT_EQ(Ctl({"uncollect", "20003"}).exitCode, 0);

    EXPECT_EQ(Ctl({"logout"}).exitCode, 0);
    EXPECT_EQ(Ctl({"playlists"}).exitCode, 1);
    // Explicit credentials still work.
    EXPECT_EQ(Ctl({"albums", "--user", "demo", "--password", "demo123"}).exitCode, 0);
}

TEST_F(QarvonctlService, SignInAndOutAreReportedToTheStatisticsPath)
{
    ASSERT_TRUE(service.clearStatistics());
    ASSERT_EQ(Ctl({"login", "demo", "demo123"}).exitCode, 0);
    ASSERT_EQ(Ctl({"logout", "--user", "demo", "--password", "demo123"}).exitCode, 0);

    std::vector<std::string> seen;
    for (const StatisticsReport &r : service.statisticsReports()) {
        seen.push_back(r.mode + "/" + r.modu + "/" + r.opr);
        EXPECT_EQ(r.channel, "001");
        EXPECT_TRUE(r.macAddress.size() == 12 || r.macAddress.empty()) << r.macAddress;
    }
    // Each sign-in (also the one the logout command makes) and the sign-out.
    EXPECT_EQ(seen, (std::vector<std::string>{"01/09/021", "01/09/021", "01/09/022"}));
    const auto reports = service.statisticsReports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_FALSE(reports[0].user.empty()) << "signed in when reported";
}

TEST_F(QarvonctlService, CatalogueCommandsAndRawAnswers)
{
    const ProcessResult search = Ctl({"search", "陈"});
    ASSERT_EQ(search.exitCode, 0) << search.err;
    EXPECT_TRUE(Contains(search.out, "tracks: ")) << search.out;
    EXPECT_TRUE(Contains(search.out, "artists: ")) << search.out;

    const ProcessResult artists = Ctl({"search", "陈", "--kind", "artists", "--size", "3"});
    EXPECT_EQ(artists.exitCode, 0);
    EXPECT_TRUE(Contains(artists.out, "ARTIST")) << artists.out;

    const ProcessResult chart = Ctl({"charts", "1"});
    EXPECT_EQ(chart.exitCode, 0);
    EXPECT_TRUE(Contains(chart.out, "热门单曲")) << chart.out;

    const ProcessResult raw = Ctl({"--xml", "album", "20001"});
    EXPECT_EQ(raw.exitCode, 0);
    EXPECT_EQ(raw.out.rfind("<?xml", 0), 0u) << raw.out;
    EXPECT_TRUE(Contains(raw.out, "<AlbumID>20001</AlbumID>"));

    EXPECT_EQ(Ctl({"album", "99999"}).exitCode, 1);
    EXPECT_EQ(Ctl({"search", "x", "--kind", "songs"}).exitCode, 2);
    EXPECT_EQ(Ctl({"charts", "5"}).exitCode, 2);
    EXPECT_EQ(Ctl({"topic"}).exitCode, 2);

    // A service that does not answer the track search: the whole search fails.
    ASSERT_TRUE(service.setFault({.target = "Qarvon.Search.SearchTrack", .status = 500}));
    const ProcessResult failed = Ctl({"search", "陈"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(Contains(failed.err, "did not answer")) << failed.err;
}

} // namespace
