// The answer of every method, read the way the client reads it.
#include "ServiceTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace qarvon::test {
namespace {

const std::vector<std::string> kTrackFields = {
    "TrackID", "TrackName", "AlbumID", "AlbumName", "ArtistIDList", "ArtistNameList", "Duration"};
const std::vector<std::string> kAlbumFields
    = {"AlbumID", "AlbumName", "SmallImageUrl", "MiddleImageUrl", "ArtistIDList", "ArtistNameList"};

struct ShapeCase
{
    const char *name;
    std::string call;
    std::vector<std::string> container; // elements between the root and the records
    bool carrier; // a paging element comes first
    std::string record;
    int minRecords;
    int maxRecords;
    std::vector<std::string> fields; // every record has them, none empty
};

void PrintTo(const ShapeCase &c, std::ostream *os)
{
    *os << c.name;
}

class AnswerShape : public ::testing::TestWithParam<ShapeCase>
{
};

TEST_P(AnswerShape, HoldsTheElementsTheClientReads)
{
    const ShapeCase &c = GetParam();
    const XmlNode root = Answer(c.call);
    EXPECT_EQ(root.name, "Response");
    ASSERT_EQ(ErrorCode(root), -1) << "refused";

    const XmlNode *parent = &root;
    for (const auto &name : c.container) {
        parent = parent->child(name);
        ASSERT_NE(parent, nullptr) << "no " << name;
    }
    std::size_t first = 0;
    if (c.carrier) {
        ASSERT_FALSE(parent->children.empty());
        const XmlNode &carrier = parent->children.front();
        EXPECT_EQ(carrier.name, "Paging");
        ASSERT_FALSE(carrier.attributes.empty());
        EXPECT_EQ(carrier.attributes.back().first, "total");
        first = 1;
    }
    const int records = static_cast<int>(parent->children.size() - first);
    EXPECT_GE(records, c.minRecords);
    EXPECT_LE(records, c.maxRecords);
    for (std::size_t i = first; i < parent->children.size(); ++i) {
        const XmlNode &record = parent->children[i];
        EXPECT_EQ(record.name, c.record);
        for (const auto &field : c.fields)
            EXPECT_FALSE(record.childText(field).empty())
                << record.name << " " << i << ": " << field;
    }
}

std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string> &more)
{
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

INSTANTIATE_TEST_SUITE_P(
    EveryMethod, AnswerShape,
    ::testing::Values(
        ShapeCase {"Profile",
                   "Qarvon.User.GetUserInfo&u_name=demo",
                   {},
                   false,
                   "User",
                   1,
                   1,
                   {"UserSex", "UserBirthday", "UserEmail", "UserAddress", "UserImage"}},
        ShapeCase {"TrackDetails",
                   "Qarvon.Track.GetTrack&trackID=300004",
                   {},
                   false,
                   "Track",
                   1,
                   1,
                   With(kTrackFields, {"LyricUrl"})},
        ShapeCase {"PlayAddress",
                   "Qarvon.Track.GetTrackPlayUrl&ProductID=300004",
                   {},
                   false,
                   "TrackUrl",
                   1,
                   1,
                   {"AuditionUrl"}},
        ShapeCase {"DownloadAddress",
                   "Qarvon.Track.GetTrackDownUrl&ProductID=300005",
                   {},
                   false,
                   "Track",
                   1,
                   1,
                   {"AuditionUrl"}},
        ShapeCase {"AlbumDetails",
                   "Qarvon.Album.GetAlbum&albumID=20001",
                   {},
                   false,
                   "Album",
                   1,
                   1,
                   With(kAlbumFields, {"ReleaseDate", "Description"})},
        ShapeCase {"ArtistDetails",
                   "Qarvon.Artist.GetArtist&artistID=1001",
                   {},
                   false,
                   "Artist",
                   1,
                   1,
                   {"ArtistID", "ImageUrl"}},
        ShapeCase {"ArtistOfASharedTrack",
                   "Qarvon.Artist.GetArtist&artistID=99999,1002",
                   {},
                   false,
                   "Artist",
                   1,
                   1,
                   {"ArtistID", "ImageUrl"}},
        ShapeCase {
            "HotAlbums", "Qarvon.Album.GetHotAlbum", {}, false, "Album", 20, 20, kAlbumFields},
        ShapeCase {"AlbumTracks",
                   "Qarvon.Track.GetByAlbumID&albumID=20001",
                   {},
                   false,
                   "Track",
                   8,
                   12,
                   kTrackFields},
        ShapeCase {"TopicsAsTheClientAsks",
                   "Qarvon.Topic.GetTopicForPaging&per_page=10&page=1",
                   {},
                   false,
                   "Topic",
                   10,
                   10,
                   {"TopicID", "Title", "CreateDate", "Description", "ImageUrl"}},
        ShapeCase {"TopicsBeyondTheClientsLimit",
                   "Qarvon.Topic.GetTopicForPaging&per_page=20&page=1",
                   {},
                   false,
                   "Topic",
                   12,
                   20,
                   {"TopicID", "Title"}},
        ShapeCase {"TopicTracks",
                   "Qarvon.Topic.GetByTopicID&TopicID=4001",
                   {},
                   false,
                   "Track",
                   8,
                   20,
                   kTrackFields},
        ShapeCase {"ChartHot",
                   "Qarvon.Area.GetHotTrack&areaID=1",
                   {},
                   false,
                   "Track",
                   30,
                   30,
                   kTrackFields},
        ShapeCase {"ChartRaise",
                   "Qarvon.Area.GetRaiseTrack&areaID=1",
                   {},
                   false,
                   "Track",
                   30,
                   30,
                   kTrackFields},
        ShapeCase {"ChartDownloads",
                   "Qarvon.Area.GetHotDownload&areaID=1",
                   {},
                   false,
                   "Track",
                   30,
                   30,
                   kTrackFields},
        ShapeCase {"ChartNew",
                   "Qarvon.Area.GetNewHotTrack&areaID=1",
                   {},
                   false,
                   "Track",
                   30,
                   30,
                   kTrackFields},
        ShapeCase {"FirstRunTracks",
                   "Qarvon.Track.GetNewHotTrack",
                   {},
                   false,
                   "Track",
                   10,
                   10,
                   kTrackFields},
        ShapeCase {"ArtistTracks",
                   "Qarvon.Track.GetByArtistID&artistID=1001&per_page=5&page=1",
                   {},
                   true,
                   "Track",
                   1,
                   5,
                   kTrackFields},
        ShapeCase {"SearchTracks",
                   "Qarvon.Search.SearchTrack&keyword=%e5%a4%9c&per_page=10&page=1",
                   {},
                   true,
                   "Track",
                   10,
                   10,
                   kTrackFields},
        ShapeCase {"SearchAlbums",
                   "Qarvon.Search.SearchAlbum&keyword=%e7%9a%84&per_page=10&page=1",
                   {},
                   true,
                   "Album",
                   10,
                   10,
                   kAlbumFields},
        ShapeCase {"SearchArtists",
                   "Qarvon.Search.SearchArtist&keyword=lin&per_page=10&page=1",
                   {},
                   true,
                   "Artist",
                   1,
                   10,
                   {"ArtistID", "ArtistName", "EnglishName", "ImageUrl"}},
        ShapeCase {"Playlists",
                   "Qarvon.User.GetPalyList&u_name=demo",
                   {"PlayLists"},
                   false,
                   "PlayList",
                   1,
                   50,
                   {"PlayListID", "PlayListTitle", "PlayListCreateDate", "PlayListSize"}},
        ShapeCase {"CollectedAlbums",
                   "Qarvon.User.GetCollectedAlbums&u_name=demo",
                   {"UserAlbums"},
                   false,
                   "Album",
                   1,
                   50,
                   kAlbumFields}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SignInAnswer, NamesTheUserAndATokenDirectlyUnderTheRoot)
{
    const XmlNode root = Answer("Qarvon.User.Login&u_pwd=demo123&u_name=demo");
    EXPECT_EQ(root.childNames(), (std::vector<std::string> {"UserID", "UserName", "Token"}));
    EXPECT_EQ(root.childText("UserName"), "demo");
    EXPECT_EQ(root.childText("Token").size(), 32u);
}

TEST(SignInAnswer, AcceptsAChineseUserName)
{
    const XmlNode root = Answer("Qarvon.User.Login&u_pwd=yuemi123&u_name=%e4%b9%90%e8%bf%b7");
    EXPECT_EQ(root.childText("UserName"), "乐迷");
}

TEST(DownloadAddress, NamesAMirrorAfterASemicolonForSomeTracks)
{
    const XmlNode plain = Answer("Qarvon.Track.GetTrackDownUrl&ProductID=300005");
    EXPECT_EQ(plain.child("Track")->childText("AuditionUrl").find(';'), std::string::npos);
    const std::string both = Answer("Qarvon.Track.GetTrackDownUrl&ProductID=300004")
                                 .child("Track")
                                 ->childText("AuditionUrl");
    const auto semicolon = both.find(';');
    ASSERT_NE(semicolon, std::string::npos);
    EXPECT_EQ(both.substr(0, semicolon), SharedService().baseUrl() + "/download/track/300004.mp3");
}

TEST(TrackDetails, AddressesUseTheHostTheClientCameThrough)
{
    const std::string lyric
        = Answer("Qarvon.Track.GetTrack&trackID=300004").child("Track")->childText("LyricUrl");
    EXPECT_EQ(lyric, SharedService().baseUrl() + "/media/lyric/300004.lrc");
}

struct SearchCase
{
    const char *name;
    std::string method;
    std::string keyword; // as sent, encoded
    std::string expected; // what every record must contain, folded to lower case
    std::vector<std::string> searchedFields;
};

void PrintTo(const SearchCase &c, std::ostream *os)
{
    *os << c.name;
}

class SearchPaging : public ::testing::TestWithParam<SearchCase>
{
};

// Walking all pages gives exactly `total` distinct records, and each of them matches.
TEST_P(SearchPaging, PagesAddUpToTheTotal)
{
    const SearchCase &c = GetParam();
    int total = 0;
    const auto records = AllPages("Qarvon.Search." + c.method + "&keyword=" + c.keyword, 3, &total);
    EXPECT_GT(total, 3) << "the keyword should match several pages";
    EXPECT_EQ(static_cast<int>(records.size()), total);
    std::set<std::string> ids;
    for (const auto &r : records) {
        ids.insert(r.children.front().text);
        bool matched = false;
        for (const auto &field : c.searchedFields)
            matched = matched || Lower(r.childText(field)).find(c.expected) != std::string::npos;
        EXPECT_TRUE(matched) << r.childText(c.searchedFields.front()) << " does not match";
    }
    EXPECT_EQ(static_cast<int>(ids.size()), total) << "a record came twice";
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, SearchPaging,
    ::testing::Values(
        SearchCase {
            "ChineseTrack", "SearchTrack", "%e5%a4%9c", "夜", {"TrackName", "ArtistNameList"}},
        SearchCase {
            "ChineseLoveTrack", "SearchTrack", "%e7%88%b1", "爱", {"TrackName", "ArtistNameList"}},
        SearchCase {"LatinTrackWithBlank",
                    "SearchTrack",
                    "the+moon",
                    "the moon",
                    {"TrackName", "ArtistNameList"}},
        SearchCase {
            "ChineseAlbum", "SearchAlbum", "%e7%9a%84", "的", {"AlbumName", "ArtistNameList"}},
        SearchCase {"LatinArtist", "SearchArtist", "n", "n", {"ArtistName", "EnglishName"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SearchTotal, ReadsTheSameThroughTheClientsTextRule)
{
    const HttpReply reply
        = SharedService().call("Qarvon.Search.SearchTrack&keyword=%e5%a4%9c&per_page=5&page=2");
    const auto root = ParseXml(reply.body);
    ASSERT_TRUE(root);
    EXPECT_EQ(ClientTotal(reply.body), root->children.front().attribute("total"));
    EXPECT_NE(ClientTotal(reply.body), "0");
}

TEST(SearchTotal, APagePastTheEndHoldsOnlyTheCarrier)
{
    const XmlNode root = Answer("Qarvon.Search.SearchTrack&keyword=%e5%a4%9c&per_page=50&page=900");
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_NE(root.children.front().attribute("total"), "0");
}

TEST(SearchTotal, NoMatchGivesTotalZero)
{
    const HttpReply reply
        = SharedService().call("Qarvon.Search.SearchTrack&keyword=zzqqxx&per_page=5&page=1");
    EXPECT_EQ(ClientTotal(reply.body), "0");
    EXPECT_EQ(ParseXml(reply.body)->children.size(), 1u);
}

// Letter case and full-width forms do not change what is found.
TEST(SearchKeyword, IgnoresCaseAndFullWidthForms)
{
    auto total = [](const std::string &keyword) {
        return ClientTotal(
            SharedService()
                .call("Qarvon.Search.SearchTrack&keyword=" + keyword + "&per_page=1&page=1")
                .body);
    };
    const std::string lower = total("moon");
    EXPECT_NE(lower, "0");
    EXPECT_EQ(total("MOON"), lower);
    EXPECT_EQ(total("%ef%bd%8d%ef%bd%8f%ef%bd%8f%ef%bd%8e"), lower); // ｍｏｏｎ
}

TEST(ArtistTracks, PagesHoldOnlyTracksOfThatArtist)
{
    int total = 0;
    const auto records = AllPages("Qarvon.Track.GetByArtistID&artistID=1001", 3, &total);
    EXPECT_GT(total, 3);
    EXPECT_EQ(static_cast<int>(records.size()), total);
    for (const auto &r : records) {
        const std::string ids = "," + r.childText("ArtistIDList") + ",";
        EXPECT_NE(ids.find(",1001,"), std::string::npos) << ids;
    }
}

TEST(Catalogue, HasTheSizeAndVarietyTheClientNeeds)
{
    // Albums and artists are numbered from their first id without gaps.
    int albums = 0;
    int tracks = 0;
    for (int id = 20001;; ++id) {
        const XmlNode root = Answer("Qarvon.Track.GetByAlbumID&albumID=" + std::to_string(id));
        if (ErrorCode(root) >= 0)
            break;
        ++albums;
        tracks += static_cast<int>(root.children.size());
    }
    EXPECT_GE(albums, 200);
    EXPECT_GE(tracks, 2000);
    int artists = 0;
    while (ErrorCode(Answer("Qarvon.Artist.GetArtist&artistID=" + std::to_string(1001 + artists)))
           < 0)
        ++artists;
    EXPECT_GE(artists, 100);

    // Titles a file system cannot take as they are, and tracks of several artists.
    for (const char *awkward : {"%2f", "%3a", "%3f", "%e3%80%8a", "%ef%bc%9a", "%2c"}) {
        const HttpReply reply = SharedService().call(
            std::string("Qarvon.Search.SearchTrack&keyword=") + awkward + "&per_page=1&page=1");
        EXPECT_NE(ClientTotal(reply.body), "0") << awkward;
    }
}

struct RefusalCase
{
    const char *name;
    std::string call;
    int code;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class Refusal : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(Refusal, AnswersErrWithItsCode)
{
    const XmlNode root = Answer(GetParam().call);
    EXPECT_EQ(root.childNames(), std::vector<std::string> {"err"});
    EXPECT_EQ(ErrorCode(root), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Refusal,
    ::testing::Values(
        RefusalCase {"UnknownMethod", "Qarvon.Track.Teleport", 112},
        RefusalCase {"NoMethodAtAll", "", 112},
        RefusalCase {"EmptyPassword", "Qarvon.User.Login&u_pwd=&u_name=demo", 20},
        RefusalCase {"EmptyUserName", "Qarvon.User.Login&u_pwd=demo123&u_name=", 20},
        RefusalCase {"WrongPassword", "Qarvon.User.Login&u_pwd=demo124&u_name=demo", 1},
        RefusalCase {"UnknownUser", "Qarvon.User.Login&u_pwd=x&u_name=nobody", 1},
        RefusalCase {"PasswordMissing", "Qarvon.User.Login&u_name=demo", 125},
        RefusalCase {"UnknownProfile", "Qarvon.User.GetUserInfo&u_name=nobody", 1},
        RefusalCase {"UnknownTrack", "Qarvon.Track.GetTrack&trackID=99", 1},
        RefusalCase {"TrackIdNotANumber", "Qarvon.Track.GetTrack&trackID=abc", 1},
        RefusalCase {"TrackIdMissing", "Qarvon.Track.GetTrack", 125},
        RefusalCase {"UnknownAlbumTracks", "Qarvon.Track.GetByAlbumID&albumID=1", 1},
        RefusalCase {"UnknownTopic", "Qarvon.Topic.GetByTopicID&TopicID=300001", 1},
        RefusalCase {"UnknownArea", "Qarvon.Area.GetHotTrack&areaID=77", 1},
        RefusalCase {"UnknownArtistTracks",
                     "Qarvon.Track.GetByArtistID&artistID=5&per_page=5&page=1", 1},
        RefusalCase {"EmptyKeyword", "Qarvon.Search.SearchTrack&keyword=&per_page=5&page=1", 125},
        RefusalCase {"PageSizeMissing", "Qarvon.Search.SearchAlbum&keyword=a&page=1", 125},
        RefusalCase {"PageNotANumber", "Qarvon.Search.SearchAlbum&keyword=a&per_page=5&page=x",
                     125},
        RefusalCase {"PlaylistsOfNobody", "Qarvon.User.GetPalyList&u_name=nobody", 1},
        RefusalCase {"TokenMissing", "Qarvon.User.AddPlayList&PlayListTitle=a&PlayListDesc=b", 125},
        RefusalCase {"EmptyToken", "Qarvon.User.AddPlayList&tk=&PlayListTitle=a&PlayListDesc=b",
                     99},
        RefusalCase {"BadToken", "Qarvon.User.AddPlayList&tk=0123&PlayListTitle=a&PlayListDesc=b",
                     10},
        RefusalCase {"BadTokenOnCollect", "Qarvon.User.AddCollectedAlbum&album_ids=20001&tk=0123",
                     10}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SignOutRefusal, IsTheDocumentRootItself)
{
    const HttpReply reply = SharedService().call("Qarvon.User.Logout&u_name=1&st=0123");
    const auto root = ParseXml(reply.body);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, "err");
    EXPECT_EQ(root->attribute("code"), "10");
}

} // namespace
} // namespace qarvon::test
