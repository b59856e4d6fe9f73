// The search over three kinds, the result details and the two cache files.
#include "test_query_fixture.h"

#include "uSearchMusicInfo.h"
#include "uServiceCall.h"

#include <filesystem>

using namespace qarvon;
using namespace qarvon::test;

namespace {

// Writes down the notifications in the order they came.
class RecordingNotifier : public TSearchNotifier
{
public:
    void PostNoSearchData() override { events.push_back("1017"); }
    void PostSearchTotal(int kind) override
    {
        events.push_back("1019:" + std::to_string(kind) + "=" + std::to_string(SearchTotal(kind)));
    }
    std::vector<std::string> events;
};

class SearchTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ResetSearchState();
        SetSearchNotifier(&notifier);
        list.Keyword = "Hello World";
        list.Page = 1;
        list.PageSize = 50;
    }
    void TearDown() override
    {
        SetSearchNotifier(nullptr);
        ResetSearchState();
        ServiceTest::TearDown();
    }

    static std::string Method(int kind, int size = 50, int page = 1)
    {
        const char *name = kind == skTracks ? "SearchTrack"
                           : kind == skAlbums ? "SearchAlbum"
                                              : "SearchArtist";
        return std::string("Qarvon.Search.") + name + "&keyword=hello+world&per_page="
               + std::to_string(size) + "&page=" + std::to_string(page);
    }

    // An answer: the total carrier first, then the records.
    static std::string Carrier(const std::string &total)
    {
        return "<Total name=\"x\" total=\"" + total + "\"/>";
    }

    static std::string Albums(int first, int count)
    {
        std::string xml;
        for (int i = first; i < first + count; ++i) {
            const std::string n = std::to_string(i);
            xml += "<Album><AlbumID>" + n + "</AlbumID><AlbumName>Album " + n
                   + "</AlbumName><SmallImageUrl>s" + n + "</SmallImageUrl><MiddleImageUrl>m" + n
                   + "</MiddleImageUrl><ArtistIDList>r" + n
                   + "</ArtistIDList><ArtistNameList>n" + n + "</ArtistNameList></Album>";
        }
        return xml;
    }

    static std::string Tracks(int first, int count)
    {
        std::string xml;
        for (int i = first; i < first + count; ++i)
            xml += TrackXml(std::to_string(i), "Song " + std::to_string(i));
        return xml;
    }

    std::vector<std::string> CachedIds() const
    {
        std::vector<std::string> ids;
        for (const auto &t : list.CachedTracks)
            ids.push_back(t->TrackID);
        return ids;
    }

    RecordingNotifier notifier;
    TSearchMusicList list;
};

struct TotalCase
{
    const char *name;
    std::string payload;
    int total;
    std::vector<std::string> events;
};

void PrintTo(const TotalCase &c, std::ostream *os)
{
    *os << c.name;
}

class SearchTotals : public SearchTest, public ::testing::WithParamInterface<TotalCase>
{
};

TEST_P(SearchTotals, ReadFromTheCarrier)
{
    const TotalCase &c = GetParam();
    AnswerXml(Method(skAlbums), "<r>" + c.payload + "</r>");
    list.LastKind = skAlbums;
    Search(list, skAlbums);
    EXPECT_EQ(SearchTotal(skAlbums), c.total);
    EXPECT_EQ(notifier.events, c.events);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchTotals,
    ::testing::Values(
        TotalCase{"plain", "<Total total=\"25\"/>" + TrackXml("1"), 25, {"1019:9=25"}},
        TotalCase{"lastOfSeveralAttributes", "<Total kind=\"a\" page=\"1\" total=\"7\"/>", 7,
                  {"1017", "1019:9=7"}},
        // The word in a name must not be taken for the attribute.
        TotalCase{"wordInAName",
                  "<Total total=\"3\"/><Album><AlbumID>1</AlbumID>"
                  "<AlbumName>Total Eclipse/total=\"9\"</AlbumName></Album>",
                  3, {"1019:9=3"}},
        TotalCase{"attributeNotLast", "<Total total=\"12\" name=\"Total/\"/>", 12,
                  {"1017", "1019:9=12"}},
        TotalCase{"emptyIsZero", "<Total total=\"\"/>", 0, {"1017", "1019:9=0"}},
        TotalCase{"noCarrier", "<Album/>", 0, {"1017", "1019:9=0"}},
        // Not a number: the pass ends without storing a total.
        TotalCase{"notANumber", "<Total total=\"many\"/>" + TrackXml("1"), 0, {}},
        TotalCase{"tooLarge", "<Total total=\"99999999999\"/>", 0, {}},
        TotalCase{"negative", "<Total total=\"-4\"/>", -4, {"1017", "1019:9=-4"}}),
    [](const ::testing::TestParamInfo<TotalCase> &info) { return std::string(info.param.name); });

TEST_F(SearchTest, ThreeKindsFillTheTotalsAndTheTrackCache)
{
    AnswerXml(Method(skTracks), "<r>" + Carrier("10") + Tracks(1, 10) + "</r>");
    AnswerXml(Method(skAlbums, 11), "<r>" + Carrier("2") + Albums(1, 2) + "</r>");
    AnswerXml(Method(skArtists, 11),
              "<r>" + Carrier("1")
                  + "<Artist><ArtistID>900</ArtistID><ArtistName>歌手</ArtistName>"
                    "<EnglishName>Singer</EnglishName><ImageUrl>i</ImageUrl></Artist></r>");
    list.SearchAll = true;
    list.AccumulatedTracks.AddNew()->TrackID = "from an earlier search";
    Search(list, skTracks);

    // The cache read-back lowered the page size to the rows it found; the
    // album and artist passes ask with it.
    EXPECT_EQ(Methods(), (std::vector<std::string>{Method(skTracks), Method(skAlbums, 11),
                                                   Method(skArtists, 11)}));
    EXPECT_EQ(notifier.events, (std::vector<std::string>{"1019:8=10", "1019:9=2", "1019:10=1"}));

    // Eleven rows: the carrier's empty one first, then the ten tracks.
    std::vector<TTrack> rows;
    ASSERT_TRUE(ParseTrackCache(root.read("Data/SearchMusic_单曲.xml"), rows));
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[0].TrackID, "");
    EXPECT_EQ(rows[1].TrackID, "1");
    EXPECT_EQ(rows[1].ArtistNameList, "Artist 1");
    EXPECT_EQ(rows[10].TrackID, "10");

    EXPECT_EQ(CachedIds(),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(list.PageSize, 11);
    EXPECT_EQ(list.LastKind, skArtists);
    // Each kind replaces the results of the one before: the artists remain.
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0)->ArtistID, "900");
    EXPECT_EQ(list.Item(0)->ArtistName, "歌手");
    EXPECT_EQ(list.Item(0)->EnglishName, "Singer");
    EXPECT_EQ(list.Item(0)->ImageUrl, "i");
}

TEST_F(SearchTest, AFailedTrackPassEndsTheWholeSearch)
{
    const struct
    {
        const char *name;
        TScriptedResponse answer;
        int code;
    } cases[] = {
        {"noAnswer", MakeAnswer(AnswerKind::NoAnswer, ""), 0},
        {"errorStatus", TScriptedResponse::Status(404), 0},
        {"refused", MakeAnswer(AnswerKind::Refused, "", 105), 105},
        {"malformed", MakeAnswer(AnswerKind::Malformed, ""), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.ClearRequests();
        Answer(Method(skTracks), c.answer);
        TSearchMusicList fresh;
        fresh.Keyword = "Hello World";
        fresh.Page = 1;
        fresh.PageSize = 50;
        fresh.SearchAll = true;
        Search(fresh, skTracks);
        EXPECT_EQ(server.requestCount(), 1u) << "no album or artist pass";
        EXPECT_EQ(fresh.ResultCode, c.code);
        EXPECT_FALSE(root.exists("Data/SearchMusic_单曲.xml")) << "no cache step";
        EXPECT_TRUE(notifier.events.empty());
    }
}

TEST_F(SearchTest, ABadTotalEndsOnlyItsPass)
{
    // The track pass ends at its total; its cache step writes the (empty)
    // gathered tracks and the read-back lowers the page size to 0.
    AnswerXml(Method(skTracks), "<r>" + Carrier("x") + Tracks(1, 2) + "</r>");
    AnswerXml(Method(skAlbums, 0), "<r>" + Carrier("2") + Albums(1, 2) + "</r>");
    AnswerXml(Method(skArtists, 0), "<r>" + Carrier("0") + "</r>");
    list.SearchAll = true;
    Search(list, skTracks);
    EXPECT_EQ(Methods(), (std::vector<std::string>{Method(skTracks), Method(skAlbums, 0),
                                                   Method(skArtists, 0)}));
    EXPECT_EQ(notifier.events, (std::vector<std::string>{"1019:9=2", "1017", "1019:10=0"}));
    // The cache step still ran for the track pass.
    EXPECT_TRUE(root.exists("Data/SearchMusic_单曲.xml"));
}

TEST_F(SearchTest, FurtherPagesOfTheSameKindAccumulate)
{
    list.PageSize = 2;
    AnswerXml(Method(skAlbums, 2, 1), "<r>" + Carrier("5") + Albums(1, 2) + "</r>");
    AnswerXml(Method(skAlbums, 2, 2), "<r>" + Carrier("5") + Albums(3, 2) + "</r>");
    AnswerXml(Method(skAlbums, 5, 1), "<r>" + Carrier("5") + Albums(1, 5) + "</r>");
    AnswerXml(Method(skArtists, 5, 1), "<r>" + Carrier("0") + "</r>");
    const auto ids = [this] {
        std::string s;
        for (const auto &item : list)
            s += item->AlbumID + (item->ArtistID.empty() ? "" : "a" + item->ArtistID) + ",";
        return s;
    };

    list.LastKind = skTracks;
    Search(list, skAlbums); // another kind: the list starts afresh
    EXPECT_EQ(ids(), "1,2,");
    EXPECT_EQ(list.Item(0)->ImageUrl, "s1");
    EXPECT_EQ(list.Item(0)->MiddleImageUrl, "m1");
    EXPECT_EQ(list.Item(0)->ArtistIDList, "r1");
    EXPECT_EQ(list.Item(0)->ArtistNameList, "n1");

    list.Page = 2;
    Search(list, skAlbums); // same kind, part of the results: appended
    EXPECT_EQ(ids(), "1,2,3,4,");

    list.Page = 1;
    list.PageSize = 5;
    Search(list, skAlbums); // same kind, every result in one answer: replaced
    EXPECT_EQ(ids(), "1,2,3,4,5,");

    Search(list, skArtists); // another kind again
    EXPECT_EQ(ids(), "");
}

TEST_F(SearchTest, CancelledStopsTheResultsAndTheLaterPasses)
{
    AnswerXml(Method(skAlbums), "<r>" + Carrier("2") + Albums(1, 2) + "</r>");
    list.SearchAll = true;
    list.Cancelled = true; // cleared when the search starts
    SetAnswerObserver(
        [this](const std::string &, const TServiceAnswer &) { list.Cancelled = true; });
    Search(list, skAlbums);
    SetAnswerObserver({});
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_TRUE(notifier.events.empty());
}

TEST_F(SearchTest, TrackPagesGatherUpToTheTotal)
{
    list.PageSize = 3;
    AnswerXml(Method(skTracks, 3, 1), "<r>" + Carrier("4") + Tracks(1, 3) + "</r>");
    AnswerXml(Method(skTracks, 3, 2), "<r>" + Carrier("4") + Tracks(4, 1) + "</r>");
    list.SearchAll = false;
    Search(list, skTracks);
    // The cache holds the carrier's row and three tracks; PageSize stays 3.
    EXPECT_EQ(CachedIds(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(list.PageSize, 3);

    list.Page = 2;
    Search(list, skTracks);
    // At most total + 1 rows are gathered: the second page's carrier row
    // still fits, its track does not.
    std::vector<TTrack> rows;
    ASSERT_TRUE(ParseTrackCache(root.read("Data/SearchMusic_单曲.xml"), rows));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[3].TrackID, "3");
    EXPECT_EQ(rows[4].TrackID, "");
}

TEST_F(SearchTest, AnUnreadableCacheIsKeptAsideBeforeItIsRewritten)
{
    root.write("Data/SearchMusic_单曲.xml", "<program><rool TrackID=\"1\"");
    AnswerXml(Method(skTracks), "<r>" + Carrier("1") + Tracks(1, 1) + "</r>");
    Search(list, skTracks);
    EXPECT_EQ(root.read("Data/SearchMusic_单曲.xml.bad"), "<program><rool TrackID=\"1\"");
    EXPECT_EQ(CachedIds(), std::vector<std::string>{"1"});
}

TEST_F(SearchTest, ArtistPagesFeedTheArtistListsAndCache)
{
    const std::string page1 = "Qarvon.Track.GetByArtistID&artistID=900&per_page=2&page=1";
    const std::string page2 = "Qarvon.Track.GetByArtistID&artistID=900&per_page=2&page=2";
    AnswerXml(page1, "<r>" + Carrier("3") + Tracks(1, 2) + "</r>");
    AnswerXml(page2, "<r>" + Carrier("3") + Tracks(3, 1) + "</r>");

    TSearchMusic artist;
    LoadSearchDetail(artist, "900", 2, skArtists, 1);
    EXPECT_EQ(artist.Tracks.Count(), 2);
    EXPECT_EQ(ArtistTrackList().Count(), 2);
    // Two tracks in the file: PageSize becomes 1 and rows 0 and 1 are read.
    EXPECT_EQ(artist.PageSize, 1);
    EXPECT_EQ(ArtistCacheList().Count(), 2);
    std::vector<TTrack> rows;
    ASSERT_TRUE(ParseTrackCache(root.read("Data/SearchMusic_ArtistTrack.xml"), rows));
    EXPECT_EQ(rows.size(), 2u);

    LoadSearchDetail(artist, "900", 2, skArtists, 2);
    ASSERT_EQ(artist.Tracks.Count(), 1);
    EXPECT_EQ(artist.Tracks.Item(0)->TrackID, "3");
    EXPECT_EQ(ArtistTrackList().Count(), 3);
    // Pages accumulate in the cache list until page 1 comes again: two rows,
    // then the whole file of three.
    EXPECT_EQ(ArtistCacheList().Count(), 5);

    LoadSearchDetail(artist, "900", 2, skArtists, 1);
    EXPECT_EQ(ArtistTrackList().Count(), 2);
    EXPECT_EQ(ArtistCacheList().Count(), 2);
    EXPECT_TRUE(notifier.events.empty());
}

TEST_F(SearchTest, AlbumResultsLoadTheirTracksOnly)
{
    AnswerXml("Qarvon.Track.GetByAlbumID&albumID=11", "<r>" + Carrier("2") + Tracks(1, 2) + "</r>");
    TSearchMusic album;
    LoadSearchDetail(album, "11", 0, skAlbums, 0);
    ASSERT_EQ(album.Tracks.Count(), 2); // the carrier's empty track is left out
    EXPECT_EQ(album.Tracks.Item(0)->TrackID, "1");
    EXPECT_EQ(album.PageSize, 0);
    EXPECT_EQ(ArtistTrackList().Count(), 0);
    EXPECT_FALSE(root.exists("Data/SearchMusic_ArtistTrack.xml"));

    // The detail list asks with kind -1: the artist request, without the artist lists.
    AnswerXml("Qarvon.Track.GetByArtistID&artistID=11&per_page=9&page=0",
              "<r>" + Carrier("0") + "</r>");
    LoadSearchDetail(album, "11", 9, -1, 0);
    EXPECT_EQ(album.Tracks.Count(), 0);
    EXPECT_EQ(notifier.events, std::vector<std::string>{"1017"});
    EXPECT_FALSE(root.exists("Data/SearchMusic_ArtistTrack.xml"));

    Answer("Qarvon.Track.GetByAlbumID&albumID=12", MakeAnswer(AnswerKind::Refused, "", 1));
    TSearchMusic refused;
    LoadSearchDetail(refused, "12", 0, skAlbums, 0);
    EXPECT_EQ(refused.ResultCode, 1);
}

TEST(TrackCache, KeepsEveryTextItWasGiven)
{
    TTrackList tracks;
    TTrack *t = tracks.AddNew();
    t->TrackID = "1";
    t->TrackName = "Tom & \"Jerry\" <live> 'x'";
    t->AlbumName = "专辑\tone\nline";
    t->ArtistNameList = "A,B";
    // Bytes that are not UTF-8 (a lone surrogate, a stray byte) would leave a
    // file nobody can read again.
    t->ArtistIDList = "1\xed\xa0\x80-\xff";
    tracks.AddNew(); // no identifier
    std::vector<TTrack> rows;

    ASSERT_TRUE(ParseTrackCache(FormatTrackCache(tracks, false), rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].TrackName, t->TrackName);
    EXPECT_EQ(rows[0].AlbumName, t->AlbumName);
    EXPECT_EQ(rows[0].ArtistNameList, "A,B");
    EXPECT_EQ(rows[0].ArtistIDList, std::string("1???") + "-?");
    EXPECT_EQ(rows[1].TrackID, "");

    ASSERT_TRUE(ParseTrackCache(FormatTrackCache(tracks, true), rows));
    EXPECT_EQ(rows.size(), 1u);

    TTrackList none;
    ASSERT_TRUE(ParseTrackCache(FormatTrackCache(none, false), rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(ParseTrackCache("", rows));
    EXPECT_FALSE(ParseTrackCache("<program>", rows));
}

} // namespace
