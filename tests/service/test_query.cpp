// Catalogue queries: charts, hot albums, albums and topics, against a scripted service.
#include "test_query_fixture.h"

#include "uHotAlbumn.h"
#include "uHotSongs.h"
#include "uQarvonTopic.h"
#include "uServiceCall.h"

using namespace qarvon;
using namespace qarvon::test;

namespace {

std::string ThreeTracks()
{
    return TrackXml("1", "One") + TrackXml("2", "Two") + TrackXml("3", "Three");
}

// The four track list loaders share one behaviour table.
enum class Loader { Chart, HotAlbumTracks, TopicTracks, AlbumTracks };

const char *LoaderName(Loader l)
{
    switch (l) {
    case Loader::Chart: return "Chart";
    case Loader::HotAlbumTracks: return "HotAlbumTracks";
    case Loader::TopicTracks: return "TopicTracks";
    case Loader::AlbumTracks: return "AlbumTracks";
    }
    return "?";
}

struct Outcome
{
    bool loaded = false;
    int resultCode = 0;
    int tracks = 0;
    int result = 0; // what LoadAlbumTracks returns; 0 for the others

    bool operator==(const Outcome &) const = default;
};

void PrintTo(const Outcome &o, std::ostream *os)
{
    *os << "{loaded " << o.loaded << ", code " << o.resultCode << ", tracks " << o.tracks
        << ", result " << o.result << "}";
}

Outcome Expected(Loader loader, AnswerKind kind)
{
    switch (kind) {
    case AnswerKind::Records: return {true, 0, 3, 0};
    case AnswerKind::Refused:
        // Album tracks count a refusal as read, so it is not asked again.
        return loader == Loader::AlbumTracks ? Outcome{true, 0, 0, 99} : Outcome{false, 99, 0, 0};
    default:
        return loader == Loader::AlbumTracks ? Outcome{false, 0, 0, -1} : Outcome{};
    }
}

class TrackLoaders : public ServiceTest,
                     public ::testing::WithParamInterface<std::tuple<Loader, AnswerKind>>
{
protected:
    // The request each loader must send.
    static std::string Method(Loader loader)
    {
        switch (loader) {
        case Loader::Chart: return "Qarvon.Area.GetHotTrack&areaID=3";
        case Loader::HotAlbumTracks:
        case Loader::AlbumTracks: return "Qarvon.Track.GetByAlbumID&albumID=55";
        case Loader::TopicTracks: break;
        }
        return "Qarvon.Topic.GetByTopicID&TopicID=7";
    }

    // Runs the loader once and returns what it left.
    Outcome Run(Loader loader)
    {
        Outcome o;
        switch (loader) {
        case Loader::Chart:
            LoadChartTracks(chart, SysConfig().GetHotTrack, 3, false);
            o = {chart.Loaded, chart.ResultCode, chart.Tracks.Count(), 0};
            break;
        case Loader::HotAlbumTracks:
            hotAlbum.AlbumID = "55";
            LoadHotAlbumTracks(hotAlbum);
            o = {hotAlbum.Loaded, hotAlbum.ResultCode, hotAlbum.Tracks.Count(), 0};
            break;
        case Loader::TopicTracks:
            LoadTopicTracks(topic, "7");
            o = {topic.Loaded, topic.ResultCode, topic.Tracks.Count(), 0};
            break;
        case Loader::AlbumTracks:
            o.result = LoadAlbumTracks(album, "55");
            o = {album.TracksLoaded, album.ResultCode, album.Tracks.Count(), o.result};
            break;
        }
        return o;
    }

    const TTrackList &Tracks(Loader loader) const
    {
        switch (loader) {
        case Loader::Chart: return chart.Tracks;
        case Loader::HotAlbumTracks: return hotAlbum.Tracks;
        case Loader::TopicTracks: return topic.Tracks;
        case Loader::AlbumTracks: break;
        }
        return album.Tracks;
    }

    THotSongs chart;
    THotAlbum hotAlbum;
    TTopic topic;
    TCollectAlbum album;
};

TEST_P(TrackLoaders, Paths)
{
    const auto [loader, kind] = GetParam();
    const std::string method = Method(loader);
    Answer(method, MakeAnswer(kind, ThreeTracks()));

    const Outcome got = Run(loader);
    EXPECT_EQ(got, Expected(loader, kind));
    EXPECT_EQ(Methods(), std::vector<std::string>{method});
    if (loader == Loader::Chart) {
        EXPECT_EQ(chart.AreaID, "3");
    }

    if (kind != AnswerKind::Records)
        return;
    const TTrackList &tracks = Tracks(loader);
    EXPECT_EQ(tracks.Item(0)->TrackID, "1");
    EXPECT_EQ(tracks.Item(1)->TrackName, "Two");
    EXPECT_EQ(tracks.Item(2)->AlbumID, "A3");
    EXPECT_EQ(tracks.Item(2)->AlbumName, "Album 3");
    EXPECT_EQ(tracks.Item(2)->ArtistIDList, "R3");
    EXPECT_EQ(tracks.Item(2)->ArtistNameList, "Artist 3");
    // Only the album's own track list carries durations.
    EXPECT_EQ(tracks.Item(0)->Duration, loader == Loader::AlbumTracks ? "21" : "");

    // Loaded: the next call sends nothing.
    server.ClearRequests();
    Run(loader);
    EXPECT_EQ(server.requestCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrackLoaders,
    ::testing::Combine(::testing::Values(Loader::Chart, Loader::HotAlbumTracks,
                                         Loader::TopicTracks, Loader::AlbumTracks),
                       ::testing::Values(AnswerKind::Records, AnswerKind::NoAnswer,
                                         AnswerKind::ErrorStatus, AnswerKind::Refused,
                                         AnswerKind::Malformed, AnswerKind::Truncated)),
    [](const ::testing::TestParamInfo<std::tuple<Loader, AnswerKind>> &info) {
        return std::string(LoaderName(std::get<0>(info.param))) + "_"
               + AnswerKindName(std::get<1>(info.param));
    });

using Charts = ServiceTest;

TEST_F(Charts, FirstOnlyReadsOneTrackAndLeavesTheChartForAFullLoad)
{
    AnswerXml("Qarvon.Area.GetHotTrack&areaID=1", "<r>" + ThreeTracks() + "</r>");
    THotSongs chart;
    LoadChartTracks(chart, SysConfig().GetHotTrack, 1, true);
    ASSERT_EQ(chart.Tracks.Count(), 1);
    EXPECT_EQ(chart.Tracks.Item(0)->TrackID, "1");
    EXPECT_FALSE(chart.Loaded);

    LoadChartTracks(chart, SysConfig().GetHotTrack, 1, false);
    EXPECT_EQ(chart.Tracks.Count(), 3);
    EXPECT_TRUE(chart.Loaded);
    EXPECT_EQ(server.requestCount(), 2u);
}

TEST_F(Charts, AnEmptyChartIsLoaded)
{
    AnswerXml("Qarvon.Area.GetHotTrack&areaID=1", "<r/>");
    THotSongs chart;
    chart.Tracks.AddNew()->TrackID = "stale";
    LoadChartTracks(chart, SysConfig().GetHotTrack, 1, false);
    EXPECT_TRUE(chart.Loaded);
    EXPECT_EQ(chart.Tracks.Count(), 0);
}

TEST_F(Charts, BuildChartsMakesTheFourChartsAndStartsTheFirstTwo)
{
    THotSongList list;
    std::vector<std::string> started;
    BuildCharts(list, [&started](THotSongs &chart) { started.push_back(chart.ChartName); });
    ASSERT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.Loaded);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"热门单曲", SysConfig().GetHotTrack},
        {"排名上升最快单曲", SysConfig().GetRaiseTrack},
        {"新歌排行", SysConfig().GetNewHotTrack},
        {"下载排行", SysConfig().GetHotDownload},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.Item(i)->ChartName, expected[static_cast<std::size_t>(i)].first);
        EXPECT_EQ(list.Item(i)->Template, expected[static_cast<std::size_t>(i)].second);
        EXPECT_EQ(list.Item(i)->AreaID, "1");
        EXPECT_FALSE(list.Item(i)->Loaded);
    }
    EXPECT_EQ(started, (std::vector<std::string>{"热门单曲", "排名上升最快单曲"}));
    EXPECT_EQ(server.requestCount(), 0u);

    // Built once: a second call keeps the same charts and starts nothing.
    THotSongs *first = list.Item(0);
    BuildCharts(list, [&started](THotSongs &chart) { started.push_back(chart.ChartName); });
    EXPECT_EQ(list.Item(0), first);
    EXPECT_EQ(started.size(), 2u);
}

TEST_F(Charts, BuildChartsWithoutAStarterStillBuilds)
{
    THotSongList list;
    BuildCharts(list);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.Loaded);
}

// Sets a list's Cancelled flag once the answer is in, before any record is
// built: what a window does while a fetch runs.
class CancelOnAnswer
{
public:
    explicit CancelOnAnswer(TCancelFlag &flag)
    {
        SetAnswerObserver([&flag](const std::string &, const TServiceAnswer &) {
            flag.Cancelled = true;
        });
    }
    ~CancelOnAnswer() { SetAnswerObserver({}); }
};

const std::string kHotAlbums
    = "<r><Album><AlbumID>11</AlbumID><AlbumName>First</AlbumName><SmallImageUrl>s1</SmallImageUrl>"
      "<MiddleImageUrl>m1</MiddleImageUrl><ArtistIDList>r1</ArtistIDList>"
      "<ArtistNameList>n1</ArtistNameList></Album><Album><AlbumID>12</AlbumID></Album></r>";

using HotAlbums = ServiceTest;

TEST_F(HotAlbums, Paths)
{
    const std::vector<ListCase> cases = {
        {"records", TScriptedResponse::Ok(kHotAlbums), true, 2, 0},
        {"none", TScriptedResponse::Ok("<r/>"), true, 0, 0},
        {"noAnswer", MakeAnswer(AnswerKind::NoAnswer, ""), false, 1, 0},
        {"refused", MakeAnswer(AnswerKind::Refused, "", 105), false, 1, 105},
        {"malformed", MakeAnswer(AnswerKind::Malformed, ""), false, 1, 0},
    };
    RunListCases<THotAlbumList>(
        "Qarvon.Album.GetHotAlbum", cases, [](THotAlbumList &list) { LoadHotAlbums(list); },
        [](const THotAlbumList &list) {
            if (list.Count() != 2)
                return;
            const THotAlbum &a = *list.Item(0);
            EXPECT_EQ(a.AlbumID, "11");
            EXPECT_EQ(a.AlbumName, "First");
            EXPECT_EQ(a.SmallImageUrl, "s1");
            EXPECT_EQ(a.MiddleImageUrl, "m1");
            EXPECT_EQ(a.ArtistIDList, "r1");
            EXPECT_EQ(a.ArtistNameList, "n1");
            EXPECT_EQ(list.Item(1)->AlbumName, "");
        });
}

TEST_F(HotAlbums, ACancelledFetchStaysUnloaded)
{
    AnswerXml("Qarvon.Album.GetHotAlbum", kHotAlbums);
    THotAlbumList list;
    list.Cancelled = true; // a stale flag is cleared when a fetch starts
    {
        CancelOnAnswer cancel(list);
        LoadHotAlbums(list);
    }
    EXPECT_FALSE(list.Loaded);
    EXPECT_EQ(list.Count(), 0);

    // The next fetch runs again and completes.
    LoadHotAlbums(list);
    EXPECT_TRUE(list.Loaded);
    EXPECT_EQ(list.Count(), 2);
}

using AlbumDetails = ServiceTest;

TEST_F(AlbumDetails, TheLastRecordWinsAndARefusalLeavesNoTrace)
{
    const std::string method = "Qarvon.Album.GetAlbum&albumID=5";
    AnswerXml(method, "<r><Album><AlbumID>5</AlbumID><AlbumName>Old</AlbumName>"
                      "<Description>d</Description></Album><Album><AlbumID>5</AlbumID>"
                      "<AlbumName>New</AlbumName><ReleaseDate>2001</ReleaseDate>"
                      "<MiddleImageUrl>m</MiddleImageUrl><SmallImageUrl>s</SmallImageUrl>"
                      "<ArtistIDList>r</ArtistIDList><ArtistNameList>n</ArtistNameList>"
                      "</Album></r>");
    TCollectAlbum album;
    LoadAlbumDetails(album, "5");
    EXPECT_TRUE(album.Loaded);
    EXPECT_EQ(album.AlbumName, "New");
    EXPECT_EQ(album.Description, ""); // overwritten by the last record, which has none
    EXPECT_EQ(album.ReleaseDate, "2001");
    EXPECT_EQ(album.MiddleImageUrl, "m");
    EXPECT_EQ(album.SmallImageUrl, "s");
    EXPECT_EQ(album.ArtistIDList, "r");
    EXPECT_EQ(album.ArtistNameList, "n");
    EXPECT_FALSE(album.TracksLoaded);

    Answer(method, MakeAnswer(AnswerKind::Refused, "", 1));
    TCollectAlbum refused;
    LoadAlbumDetails(refused, "5");
    EXPECT_FALSE(refused.Loaded);
    EXPECT_EQ(refused.ResultCode, 0);
}

using Topics = ServiceTest;

std::string TopicXml(int i, const char *element = "Topic")
{
    const std::string n = std::to_string(i);
    return std::string("<") + element + "><TopicID>" + n + "</TopicID><Title>T" + n
           + "</Title><CreateDate>2009-01-" + n + "</CreateDate><Description>D" + n
           + "</Description><ImageUrl>I" + n + "</ImageUrl></" + element + ">";
}

TEST_F(Topics, AtMostElevenChildrenAreExaminedAndOnlyTopicsKept)
{
    const struct
    {
        const char *name;
        std::vector<const char *> elements;
        std::vector<std::string> ids;
    } cases[] = {
        {"fifteenTopics", std::vector<const char *>(15, "Topic"),
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"othersCountTowardsTheLimit",
         {"Topic", "Other", "Topic", "topic", "Topic", "Topic", "Topic", "Topic", "Topic", "Topic",
          "Other", "Topic", "Topic"},
         {"0", "2", "4", "5", "6", "7", "8", "9"}},
        {"fewer", {"Topic", "Topic"}, {"0", "1"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string xml = "<r>";
        for (std::size_t i = 0; i < c.elements.size(); ++i)
            xml += TopicXml(static_cast<int>(i), c.elements[i]);
        AnswerXml("Qarvon.Topic.GetTopicForPaging&per_page=10&page=1", xml + "</r>");
        TTopicList list;
        LoadTopics(list);
        EXPECT_TRUE(list.Loaded);
        std::vector<std::string> ids;
        for (const auto &topic : list)
            ids.push_back(topic->TopicID);
        EXPECT_EQ(ids, c.ids);
    }
}

TEST_F(Topics, FieldsAndFailures)
{
    const std::string method = "Qarvon.Topic.GetTopicForPaging&per_page=10&page=1";
    AnswerXml(method, "<r>" + TopicXml(3) + "</r>");
    TTopicList list;
    LoadTopics(list);
    ASSERT_EQ(list.Count(), 1);
    const TTopic &t = *list.Item(0);
    EXPECT_EQ(t.Title, "T3");
    EXPECT_EQ(t.CreateDate, "2009-01-3");
    EXPECT_EQ(t.Description, "D3");
    EXPECT_EQ(t.ImageUrl, "I3");

    Answer(method, MakeAnswer(AnswerKind::Refused, "", 112));
    TTopicList refused;
    LoadTopics(refused);
    EXPECT_FALSE(refused.Loaded);
    EXPECT_EQ(refused.ResultCode, 112);

    Answer(method, MakeAnswer(AnswerKind::Truncated, TopicXml(1) + TopicXml(2)));
    TTopicList cut;
    LoadTopics(cut);
    EXPECT_FALSE(cut.Loaded);
    EXPECT_EQ(cut.Count(), 0);
}

} // namespace
