// Accounts, tokens, playlists and collections, and what survives a restart.
#include "ServiceTestSupport.h"

#include "ChildProcess.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qarvon::test {
namespace {

std::vector<std::string> TrackIds(const XmlNode &root)
{
    std::vector<std::string> ids;
    for (const auto &c : root.children)
        ids.push_back(c.childText("TrackID"));
    return ids;
}

const XmlNode *FindPlaylist(const XmlNode &root, const std::string &id)
{
    const XmlNode *lists = root.child("PlayLists");
    if (!lists)
        return nullptr;
    for (const auto &p : lists->children)
        if (p.childText("PlayListID") == id)
            return &p;
    return nullptr;
}

// Every test works in an account of its own, on its own service.
class AccountTest : public ::testing::Test
{
protected:
    ReferenceService service;
};

TEST_F(AccountTest, EverySignInHasItsOwnTokenAndSignOutEndsOnlyThatOne)
{
    const std::string first = service.signIn("guest", "guest123");
    const std::string second = service.signIn("guest", "guest123");
    ASSERT_FALSE(first.empty());
    ASSERT_NE(first, second);

    const XmlNode out = Answer(service, "Qarvon.User.Logout&u_name=2&st=" + first);
    EXPECT_EQ(out.name, "Response");
    EXPECT_EQ(ErrorCode(out), -1);

    const std::string create = "Qarvon.User.AddPlayList&PlayListTitle=x&PlayListDesc=y&tk=";
    EXPECT_EQ(ErrorCode(Answer(service, create + first)), 10);
    EXPECT_EQ(ErrorCode(Answer(service, create + second)), -1);
    // Signing out twice with the same token is refused at the root.
    EXPECT_EQ(ParseXml(service.call("Qarvon.User.Logout&u_name=2&st=" + first).body)->name, "err");
}

TEST_F(AccountTest, SignOutWithSomebodyElsesTokenIsRefused)
{
    const std::string token = service.signIn("guest", "guest123");
    const auto root = ParseXml(service.call("Qarvon.User.Logout&u_name=1&st=" + token).body);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, "err");
    EXPECT_EQ(root->attribute("code"), "10");
    // The token still works.
    EXPECT_EQ(
        ErrorCode(Answer(service, "Qarvon.User.AddCollectedAlbum&album_ids=20001&tk=" + token)),
        -1);
}

TEST_F(AccountTest, PlaylistLivesThroughCreateFillRenameAndDelete)
{
    const std::string tk = service.signIn("guest", "guest123");
    // "''" is what the client sends for an empty description.
    const XmlNode created = Answer(service,
                                   "Qarvon.User.AddPlayList&tk=" + tk + "&PlayListTitle="
                                       + UrlEncode("我的 List") + "&PlayListDesc=''");
    const std::string id = created.childText("PlayListID");
    ASSERT_FALSE(id.empty());

    XmlNode lists = Answer(service, "Qarvon.User.GetPalyList&u_name=guest");
    const XmlNode *entry = FindPlaylist(lists, id);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->childText("PlayListTitle"), "我的 List");
    EXPECT_EQ(entry->childText("PlayListDesc"), "");
    EXPECT_EQ(entry->childText("PlayListSize"), "0");

    const std::string tracks = "Qarvon.User.GetPlayListTracks&u_name=guest&pl_id=" + id;
    EXPECT_EQ(ErrorCode(Answer(service,
                               "Qarvon.User.AddPlayListTracks&pl_id=" + id
                                   + "&song_ids=300010,300011,,300010&tk=" + tk)),
              -1);
    EXPECT_EQ(TrackIds(Answer(service, tracks)),
              (std::vector<std::string> {"300010", "300011", "300010"}));

    // One unknown id refuses the whole batch.
    EXPECT_EQ(
        ErrorCode(Answer(
            service, "Qarvon.User.AddPlayListTracks&pl_id=" + id + "&song_ids=300012,42&tk=" + tk)),
        1);
    EXPECT_EQ(Answer(service, tracks).children.size(), 3u);

    // Removing takes the first occurrence of each id and passes over unknown ones.
    EXPECT_EQ(ErrorCode(Answer(service,
                               "Qarvon.User.DelPlayListTracks&pl_id=" + id
                                   + "&song_ids=300010,300099&tk=" + tk)),
              -1);
    EXPECT_EQ(TrackIds(Answer(service, tracks)), (std::vector<std::string> {"300011", "300010"}));

    EXPECT_EQ(
        ErrorCode(Answer(service,
                         "Qarvon.User.ModifyPlayList&tk=" + tk + "&pl_id=" + id
                             + "&PlayListTitle=renamed&PlayListDesc=" + UrlEncode("R&B 精选"))),
        -1);
    lists = Answer(service, "Qarvon.User.GetPalyList&u_name=guest");
    entry = FindPlaylist(lists, id);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->childText("PlayListTitle"), "renamed");
    EXPECT_EQ(entry->childText("PlayListDesc"), "R&B 精选");
    EXPECT_EQ(entry->childText("PlayListSize"), "2");
    EXPECT_NE(entry->childText("PlayListSImage").find("/media/cover/"), std::string::npos);

    EXPECT_EQ(ErrorCode(Answer(service, "Qarvon.User.DelPlayList&tk=" + tk + "&pl_id=" + id)), -1);
    EXPECT_EQ(FindPlaylist(Answer(service, "Qarvon.User.GetPalyList&u_name=guest"), id), nullptr);
    EXPECT_EQ(ErrorCode(Answer(service, tracks)), 1);
}

TEST_F(AccountTest, NobodyChangesAnotherUsersPlaylist)
{
    const std::string guest = service.signIn("guest", "guest123");
    const std::string demo = service.signIn("demo", "demo123");
    const std::string id
        = Answer(service,
                 "Qarvon.User.AddPlayList&tk=" + guest + "&PlayListTitle=mine&PlayListDesc='")
              .childText("PlayListID");
    for (const std::string &call :
         {"Qarvon.User.DelPlayList&tk=" + demo + "&pl_id=" + id,
          "Qarvon.User.ModifyPlayList&tk=" + demo + "&pl_id=" + id
              + "&PlayListTitle=x&PlayListDesc=y",
          "Qarvon.User.AddPlayListTracks&pl_id=" + id + "&song_ids=300001&tk=" + demo,
          "Qarvon.User.GetPlayListTracks&u_name=demo&pl_id=" + id})
        EXPECT_EQ(ErrorCode(Answer(service, call)), 1) << call;
    EXPECT_NE(FindPlaylist(Answer(service, "Qarvon.User.GetPalyList&u_name=guest"), id), nullptr);
}

struct TitleCase
{
    const char *name;
    std::string title; // as sent
    int code;
};

void PrintTo(const TitleCase &c, std::ostream *os)
{
    *os << c.name;
}

class PlaylistTitle : public ::testing::TestWithParam<TitleCase>
{
};

TEST_P(PlaylistTitle, IsCheckedBeforeAnythingIsStored)
{
    ReferenceService &service = SharedService();
    const std::string tk = service.signIn("乐迷", "yuemi123");
    const XmlNode root = Answer(service,
                                "Qarvon.User.AddPlayList&tk=" + tk
                                    + "&PlayListTitle=" + GetParam().title + "&PlayListDesc='");
    EXPECT_EQ(ErrorCode(root), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Titles, PlaylistTitle,
                         ::testing::Values(TitleCase {"Chinese", "%e6%ad%8c%e5%8d%95", -1},
                                           TitleCase {"SlashAndColon", "a%2fb%3ac", -1},
                                           TitleCase {"Markup", "%3cb%3e", 96},
                                           TitleCase {"Quote", "say+%22hi%22", 96},
                                           TitleCase {"Apostrophe", "it%27s", 96},
                                           TitleCase {"ControlCharacter", "a%01b", 96},
                                           TitleCase {"NotUtf8", "%ff%fe", 96},
                                           TitleCase {"Surrogate", "a%ed%a0%80", 96},
                                           TitleCase {"OverlongSlash", "a%c0%afb", 96},
                                           TitleCase {"PastUnicode", "a%f4%90%80%80", 96},
                                           TitleCase {"NotAnXmlCharacter", "a%ef%bf%bf", 96},
                                           TitleCase {"FourByteCharacter", "%f0%9f%8e%b5", -1},
                                           TitleCase {"Blank", "+++", 125}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(AccountTest, CollectedAlbumsKeepTheirOrderAndRefuseUnknownOnes)
{
    const std::string tk = service.signIn("guest", "guest123");
    auto ids = [&] {
        std::vector<std::string> out;
        const XmlNode root = Answer(service, "Qarvon.User.GetCollectedAlbums&u_name=guest");
        for (const auto &a : root.child("UserAlbums")->children)
            out.push_back(a.childText("AlbumID"));
        return out;
    };
    EXPECT_TRUE(ids().empty());
    const std::string add = "Qarvon.User.AddCollectedAlbum&tk=" + tk + "&album_ids=";
    const std::string remove = "Qarvon.User.DelCollectedAlbum&tk=" + tk + "&album_ids=";
    EXPECT_EQ(ErrorCode(Answer(service, add + "20010")), -1);
    EXPECT_EQ(ErrorCode(Answer(service, add + "20002")), -1);
    EXPECT_EQ(ErrorCode(Answer(service, add + "20010")), -1);
    EXPECT_EQ(ids(), (std::vector<std::string> {"20010", "20002"}));
    EXPECT_EQ(ErrorCode(Answer(service, add + "7")), 1);
    EXPECT_EQ(ErrorCode(Answer(service, remove + "20003")), 1);
    EXPECT_EQ(ErrorCode(Answer(service, remove + "20010")), -1);
    EXPECT_EQ(ids(), std::vector<std::string> {"20002"});
}

TEST(ServiceRestart, KeepsAccountsPlaylistsCollectionsAndReports)
{
    QTemporaryDir data;
    const std::string dir = data.path().toStdString();
    std::string token;
    std::string playlist;
    {
        ReferenceService first(dir);
        ASSERT_TRUE(first.running());
        token = first.signIn("guest", "guest123");
        playlist
            = Answer(first,
                     "Qarvon.User.AddPlayList&tk=" + token + "&PlayListTitle=keep&PlayListDesc=me")
                  .childText("PlayListID");
        Answer(first,
               "Qarvon.User.AddPlayListTracks&pl_id=" + playlist
                   + "&song_ids=300020,300021&tk=" + token);
        Answer(first, "Qarvon.User.AddCollectedAlbum&album_ids=20030&tk=" + token);
        HttpGet(first.baseUrl()
                + "/datastatics.php?mode=01&modu=09&opr=021&macAddress=A&user=2&channel=001");
        EXPECT_TRUE(first.stop()) << "the service did not end cleanly on SIGTERM";
    }
    ReferenceService second(dir);
    ASSERT_TRUE(second.running());
    EXPECT_EQ(
        TrackIds(Answer(second, "Qarvon.User.GetPlayListTracks&u_name=guest&pl_id=" + playlist)),
        (std::vector<std::string> {"300020", "300021"}));
    const XmlNode albums = Answer(second, "Qarvon.User.GetCollectedAlbums&u_name=guest");
    ASSERT_EQ(albums.child("UserAlbums")->children.size(), 1u);
    EXPECT_EQ(
        ErrorCode(Answer(second, "Qarvon.User.DelPlayList&tk=" + token + "&pl_id=" + playlist)),
        -1);
    ASSERT_EQ(second.statisticsReports().size(), 1u);
}

TEST(ServiceRestart, RefusesAFolderMadeWithAnotherSeed)
{
    QTemporaryDir data;
    {
        ReferenceService first(data.path().toStdString(),
                               {QStringLiteral("--seed"), QStringLiteral("5")});
        ASSERT_TRUE(first.running());
    }
    const ProcessResult result
        = RunProgram(BuiltProgram(QStringLiteral("qarvon-service")),
                     {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"),
                      data.path(), QStringLiteral("--seed"), QStringLiteral("6")});
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("seed 5"), std::string::npos) << result.err;
}

// The same seed makes the same catalogue; another seed another one.
TEST(ServiceSeed, DecidesTheWholeCatalogue)
{
    auto sample = [](const ReferenceService &s) {
        std::string text;
        for (const char *call : {"Qarvon.Track.GetByAlbumID&albumID=20077",
                                 "Qarvon.Search.SearchTrack&keyword=%e5%a4%9c&per_page=20&page=3",
                                 "Qarvon.Area.GetHotTrack&areaID=1"}) {
            std::string body = s.call(call).body;
            for (auto at = body.find(s.baseUrl()); at != std::string::npos;
                 at = body.find(s.baseUrl()))
                body.replace(at, s.baseUrl().size(), "BASE");
            text += body;
        }
        return text;
    };
    ReferenceService a({}, {QStringLiteral("--seed"), QStringLiteral("7")});
    ReferenceService b({}, {QStringLiteral("--seed"), QStringLiteral("7")});
    ReferenceService c({}, {QStringLiteral("--seed"), QStringLiteral("8")});
    EXPECT_EQ(sample(a), sample(b));
    EXPECT_NE(sample(a), sample(c));
}

} // namespace
} // namespace qarvon::test
