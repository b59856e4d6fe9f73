// The service client against the reference service: sign-in, the three-kind
// search, a chart, a playlist's life and collecting an album.
#include "Common_Config.h"
#include "ReferenceService.h"
#include "TempAppRoot.h"
#include "tool.h"
#include "uUserInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace qarvon;
using namespace qarvon::test;

namespace {

class ServiceClient : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { service = std::make_unique<ReferenceService>(); }
    static void TearDownTestSuite() { service.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(service->running()) << "qarvon-service did not start";
        saved = SysConfig();
        SysConfig().RequestUrl = service->requestBase();
        SysConfig().PlayListRequestUrl = service->requestBase();
        ResetSearchState();
    }
    void TearDown() override
    {
        ResetSearchState();
        SysConfig() = saved;
    }

    // A signed-in user of its own for each test.
    std::unique_ptr<TUserInfo> SignedInDemo()
    {
        auto user = std::make_unique<TUserInfo>();
        EXPECT_EQ(user->SignIn("demo", "demo123"), 0);
        return user;
    }

    static std::unique_ptr<ReferenceService> service;
    TempAppRoot root;
    TSystemConfig saved;
};

std::unique_ptr<ReferenceService> ServiceClient::service;

TEST_F(ServiceClient, SignInFetchesTheProfileAndAvatarAndSignOutEndsIt)
{
    TUserInfo user;
    EXPECT_EQ(user.SignIn("demo", "wrong"), 1);
    EXPECT_FALSE(user.SignedIn);

    ASSERT_EQ(user.SignIn("demo", "demo123"), 0);
    EXPECT_TRUE(user.SignedIn);
    EXPECT_EQ(user.UserName, "demo");
    EXPECT_FALSE(user.UserID.empty());
    EXPECT_FALSE(user.Token.empty());
    EXPECT_EQ(user.UserEmail, "demo@example.com");
    // The avatar now lives in temp/.
    EXPECT_EQ(user.UserImage.rfind(root.path() + "temp/", 0), 0u) << user.UserImage;

    EXPECT_EQ(user.SignOut(user.UserID, "not-a-token"), 10);
    EXPECT_TRUE(user.SignedIn);
    EXPECT_EQ(user.SignOut(user.UserID, user.Token), 0);
    EXPECT_FALSE(user.SignedIn);
    EXPECT_EQ(user.Token, "");
}

TEST_F(ServiceClient, ANewSearchFillsAllThreeKinds)
{
    TSearchMusicList list;
    list.Keyword = "陈";
    list.Page = 1;
    list.PageSize = 50;
    list.SearchAll = true;
    Search(list, skTracks);

    EXPECT_EQ(list.ResultCode, 0);
    EXPECT_GT(SearchTotal(skTracks), 0);
    EXPECT_GT(SearchTotal(skAlbums), 0);
    EXPECT_GT(SearchTotal(skArtists), 0);
    ASSERT_FALSE(list.CachedTracks.IsEmpty());
    EXPECT_LE(list.CachedTracks.Count(), 50);
    for (const auto &track : list.CachedTracks) {
        EXPECT_TRUE(track->TrackName.find("陈") != std::string::npos
                    || track->ArtistNameList.find("陈") != std::string::npos)
            << track->TrackID;
    }
    EXPECT_TRUE(root.exists("Data/SearchMusic_单曲.xml"));
    // The last pass was the artists'.
    ASSERT_FALSE(list.IsEmpty());
    EXPECT_NE(list.Item(0)->ArtistName.find("陈"), std::string::npos);

    // An artist result's first page of tracks, through the artist cache.
    TSearchMusic &artist = *list.Item(0);
    LoadSearchDetail(artist, artist.ArtistID, 20, skArtists, 1);
    EXPECT_EQ(artist.ResultCode, 0);
    EXPECT_FALSE(artist.Tracks.IsEmpty());
    EXPECT_FALSE(ArtistCacheList().IsEmpty());
    EXPECT_TRUE(root.exists("Data/SearchMusic_ArtistTrack.xml"));
}

TEST_F(ServiceClient, ChartsAndTheirTracks)
{
    THotSongList charts;
    std::vector<THotSongs *> started;
    BuildCharts(charts, [&started](THotSongs &chart) { started.push_back(&chart); });
    ASSERT_EQ(charts.Count(), 4);
    ASSERT_EQ(started.size(), 2u);
    for (THotSongs *chart : started) {
        LoadChartTracks(*chart, chart->Template, 1, false);
        EXPECT_TRUE(chart->Loaded) << chart->ChartName;
        EXPECT_FALSE(chart->Tracks.IsEmpty()) << chart->ChartName;
    }

    TCollectAlbum album;
    LoadAlbumDetails(album, "20001");
    EXPECT_TRUE(album.Loaded);
    EXPECT_EQ(album.AlbumID, "20001");
    EXPECT_EQ(LoadAlbumTracks(album, "20001"), 0);
    EXPECT_FALSE(album.Tracks.IsEmpty());
    EXPECT_FALSE(album.Tracks.Item(0)->Duration.empty());

    TTopicList topics;
    LoadTopics(topics);
    ASSERT_TRUE(topics.Loaded);
    ASSERT_FALSE(topics.IsEmpty());
    LoadTopicTracks(*topics.Item(0), topics.Item(0)->TopicID);
    EXPECT_TRUE(topics.Item(0)->Loaded);

    THotAlbumList hot;
    LoadHotAlbums(hot);
    ASSERT_TRUE(hot.Loaded);
    ASSERT_FALSE(hot.IsEmpty());
    LoadHotAlbumTracks(*hot.Item(0));
    EXPECT_FALSE(hot.Item(0)->Tracks.IsEmpty());
}

const TPlayList *FindPlayList(const TUserPlayLists &lists, const std::string &id)
{
    for (const auto &list : lists) {
        if (list->PlayListID == id)
            return list.get();
    }
    return nullptr;
}

TEST_F(ServiceClient, APlaylistsLife)
{
    auto user = SignedInDemo();
    ASSERT_TRUE(user->SignedIn);
    TUserPlayLists &lists = *user->UserPlayLists;

    std::string id;
    ASSERT_EQ(CreatePlayList(lists, "Life Test", "", user->Token, id), 0);
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(AddPlayListTracks(id, "300001,300002,300003", user->Token), 0);
    EXPECT_EQ(RenamePlayList(lists, user->Token, id, "Road Trip", "for the car"), 0);

    GetPlayLists(lists, user->UserName);
    ASSERT_TRUE(lists.Loaded);
    const TPlayList *found = FindPlayList(lists, id);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->PlayListTitle, "road trip"); // titles go out lower-cased
    EXPECT_EQ(found->PlayListDesc, "for the car");
    EXPECT_EQ(found->PlayListSize, "3");

    TPlayList tracks;
    EXPECT_EQ(GetPlayListTracks(tracks, user->UserName, id), 0);
    ASSERT_EQ(tracks.Count(), 3);
    EXPECT_EQ(tracks.Item(0)->TrackID, "300001");
    EXPECT_EQ(tracks.Item(2)->TrackID, "300003");

    EXPECT_EQ(DeletePlayList(lists, id, user->Token), 0);
    EXPECT_EQ(DeletePlayList(lists, id, user->Token), 1);
    lists.Loaded = false;
    GetPlayLists(lists, user->UserName);
    ASSERT_TRUE(lists.Loaded);
    EXPECT_EQ(FindPlayList(lists, id), nullptr);

    // A worker's creation with a single-apostrophe description, and a stale token.
    std::string second;
    EXPECT_EQ(CreatePlayListInWorker("", "Second", user->Token, second), 0);
    EXPECT_FALSE(second.empty());
    EXPECT_EQ(DeletePlayList(lists, second, user->Token), 0);
    EXPECT_EQ(DeletePlayList(lists, second, "stale"), 10);
}

TEST_F(ServiceClient, CollectingAnAlbum)
{
    auto user = SignedInDemo();
    TUserAlbums &albums = *user->CollectedAlbums;
    GetCollectedAlbums(albums, user->UserName);
    ASSERT_TRUE(albums.Loaded);
    const int before = albums.Count();
    ASSERT_EQ(albums.FindAlbum("20002"), nullptr);

    EXPECT_EQ(CollectAlbum(albums, "20002", user->Token), 0);
    albums.Loaded = false;
    GetCollectedAlbums(albums, user->UserName);
    EXPECT_EQ(albums.Count(), before + 1);
    const TCollectAlbum *collected = albums.FindAlbum("20002");
    ASSERT_NE(collected, nullptr);
    EXPECT_FALSE(collected->AlbumName.empty());

    EXPECT_EQ(UncollectAlbum(albums, "20002", user->Token), 0);
    EXPECT_EQ(UncollectAlbum(albums, "20002", user->Token), 1);
    albums.Loaded = false;
    GetCollectedAlbums(albums, user->UserName);
    EXPECT_EQ(albums.Count(), before);
    EXPECT_EQ(albums.FindAlbum("20002"), nullptr);

    // Signing out forgets the user's lists.
    EXPECT_EQ(user->SignOut(user->UserID, user->Token), 0);
    EXPECT_EQ(albums.Count(), 0);
    EXPECT_FALSE(albums.Loaded);
}

} // namespace
