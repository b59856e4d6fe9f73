// Playlists and collected albums, against a scripted service.
#include "test_query_fixture.h"

#include "uPalyList.h"
#include "uServiceCall.h"

using namespace qarvon;
using namespace qarvon::test;

namespace {

using Playlists = ServiceTest;

// The three operations that send a title and a description.
enum class Titled { Create, CreateInWorker, Rename };

int RunTitled(Titled operation, const std::string &description)
{
    TUserPlayLists lists;
    std::string id;
    switch (operation) {
    case Titled::Create: return CreatePlayList(lists, "My List", description, "tk", id);
    case Titled::CreateInWorker: return CreatePlayListInWorker(description, "My List", "tk", id);
    case Titled::Rename: return RenamePlayList(lists, "tk", "p7", "My List", description);
    }
    return 1000;
}

TEST_F(Playlists, DescriptionPlaceholders)
{
    const std::string create = "AddPlayList&tk=tk&PlayListTitle=my+list";
    const std::string rename = "ModifyPlayList&tk=tk&pl_id=p7&PlayListTitle=my+list";
    const struct
    {
        const char *name;
        Titled operation;
        std::string description;
        std::string sent;
    } cases[] = {
        {"createEmpty", Titled::Create, "", "''"},
        {"workerEmpty", Titled::CreateInWorker, "", "'"},
        {"renameEmpty", Titled::Rename, "", "'"},
        {"createText", Titled::Create, "Road & Rain", "road+%26+rain"},
        {"workerText", Titled::CreateInWorker, "夜", "%e5%a4%9c"},
        {"renameText", Titled::Rename, "A B", "a+b"},
    };
    server.SetFallback(TScriptedResponse::Ok("<r><PlayListID>p9</PlayListID></r>"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.ClearRequests();
        EXPECT_EQ(RunTitled(c.operation, c.description), 0);
        const std::string &method = c.operation == Titled::Rename ? rename : create;
        EXPECT_EQ(Methods(), std::vector<std::string>{"Qarvon.User." + method
                                                      + "&PlayListDesc=" + c.sent});
    }
}

enum class Change { Create, CreateInWorker, Rename, Delete, AddTracks, Collect, Uncollect };

struct ChangeCase
{
    const char *name;
    Change change;
    std::string method;
};

void PrintTo(const ChangeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChangeResults : public ServiceTest,
                      public ::testing::WithParamInterface<std::tuple<ChangeCase, AnswerKind>>
{
protected:
    int Run(Change change)
    {
        switch (change) {
        case Change::Create: return CreatePlayList(lists, "t", "d", "tk", newId);
        case Change::CreateInWorker: return CreatePlayListInWorker("d", "t", "tk", newId);
        case Change::Rename: return RenamePlayList(lists, "tk", "p1", "t", "d");
        case Change::Delete: return DeletePlayList(lists, "p1", "tk");
        case Change::AddTracks: return AddPlayListTracks("p1", "5,6", "tk");
        case Change::Collect: return CollectAlbum(albums, "a1", "tk");
        case Change::Uncollect: return UncollectAlbum(albums, "a1", "tk");
        }
        return 1000;
    }

    TUserPlayLists lists;
    TUserAlbums albums;
    std::string newId = "unset";
};

TEST_P(ChangeResults, ResultByAnswer)
{
    const auto &[c, kind] = GetParam();
    Answer(c.method, MakeAnswer(kind, "<PlayListID>p42</PlayListID>", 99));
    const int expected = kind == AnswerKind::Records ? 0 : kind == AnswerKind::Refused ? 99 : -1;
    EXPECT_EQ(Run(c.change), expected);
    EXPECT_EQ(Methods(), std::vector<std::string>{c.method});
    if (c.change == Change::Create || c.change == Change::CreateInWorker) {
        EXPECT_EQ(newId, kind == AnswerKind::Records ? "p42" : "unset");
    }
    // A change never touches the lists; the windows adjust them.
    EXPECT_EQ(lists.Count(), 0);
    EXPECT_EQ(albums.Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChangeResults,
    ::testing::Combine(
        ::testing::Values(
            ChangeCase{"create", Change::Create,
                       "Qarvon.User.AddPlayList&tk=tk&PlayListTitle=t&PlayListDesc=d"},
            ChangeCase{"createInWorker", Change::CreateInWorker,
                       "Qarvon.User.AddPlayList&tk=tk&PlayListTitle=t&PlayListDesc=d"},
            ChangeCase{"rename", Change::Rename,
                       "Qarvon.User.ModifyPlayList&tk=tk&pl_id=p1&PlayListTitle=t&PlayListDesc=d"},
            ChangeCase{"delete", Change::Delete, "Qarvon.User.DelPlayList&tk=tk&pl_id=p1"},
            ChangeCase{"addTracks", Change::AddTracks,
                       "Qarvon.User.AddPlayListTracks&pl_id=p1&song_ids=5,6&tk=tk"},
            ChangeCase{"collect", Change::Collect,
                       "Qarvon.User.AddCollectedAlbum&album_ids=a1&tk=tk"},
            ChangeCase{"uncollect", Change::Uncollect,
                       "Qarvon.User.DelCollectedAlbum&album_ids=a1&tk=tk"}),
        ::testing::Values(AnswerKind::Records, AnswerKind::NoAnswer, AnswerKind::ErrorStatus,
                          AnswerKind::Refused, AnswerKind::Malformed)),
    [](const ::testing::TestParamInfo<std::tuple<ChangeCase, AnswerKind>> &info) {
        return std::string(std::get<0>(info.param).name) + "_"
               + AnswerKindName(std::get<1>(info.param));
    });

TEST_F(Playlists, CreateWithoutAnIdentifierInTheAnswer)
{
    AnswerXml("Qarvon.User.AddPlayList&tk=tk&PlayListTitle=t&PlayListDesc=''", "<r/>");
    TUserPlayLists lists;
    std::string id = "unset";
    EXPECT_EQ(CreatePlayList(lists, "t", "", "tk", id), 0);
    EXPECT_EQ(id, "");
}

TEST_F(Playlists, AddingNoTracksSendsNothing)
{
    EXPECT_EQ(AddPlayListTracks("p1", "", "tk"), 0);
    EXPECT_EQ(server.requestCount(), 0u);
}

const std::string kListsMethod = "Qarvon.User.GetPalyList&u_name=demo";

TEST_F(Playlists, GetPlayListsPaths)
{
    const std::string two
        = "<r><PlayLists><PlayList><PlayListID>1</PlayListID><PlayListTitle>Mine</PlayListTitle>"
          "<PlayListDesc>d</PlayListDesc><PlayListCreateDate>2009-05-06</PlayListCreateDate>"
          "<PlayListSize>3</PlayListSize><PlayListSImage>img</PlayListSImage></PlayList>"
          "<PlayList><PlayListID>2</PlayListID></PlayList></PlayLists></r>";
    const std::vector<ListCase> cases = {
        {"records", TScriptedResponse::Ok(two), true, 2, 0},
        {"emptyPlayLists", TScriptedResponse::Ok("<r><PlayLists/></r>"), true, 0, 0},
        {"withoutPlayLists", TScriptedResponse::Ok("<r><Other/></r>"), false, 1, 0},
        {"noAnswer", MakeAnswer(AnswerKind::NoAnswer, ""), false, 1, 0},
        {"refused", MakeAnswer(AnswerKind::Refused, "", 99), false, 1, 99},
        {"malformed", MakeAnswer(AnswerKind::Malformed, ""), false, 1, 0},
    };
    RunListCases<TUserPlayLists>(
        kListsMethod, cases, [](TUserPlayLists &lists) { GetPlayLists(lists, "demo"); },
        [](const TUserPlayLists &lists) {
            if (lists.Count() != 2)
                return;
            const TPlayList &p = *lists.Item(0);
            EXPECT_EQ(p.PlayListID, "1");
            EXPECT_EQ(p.PlayListTitle, "Mine");
            EXPECT_EQ(p.PlayListDesc, "d");
            EXPECT_EQ(p.PlayListCreateDate, "2009-05-06");
            EXPECT_EQ(p.PlayListSize, "3");
            EXPECT_EQ(p.PlayListSImage, "img");
            EXPECT_FALSE(p.Loaded) << "tracks are fetched when a playlist is opened";
        });
}

TEST_F(Playlists, AnUnloadedListIsRequestedAgain)
{
    Answer(kListsMethod, TScriptedResponse::Ok("<r><Other/></r>"));
    TUserPlayLists lists;
    GetPlayLists(lists, "demo");
    Answer(kListsMethod, TScriptedResponse::Ok("<r><PlayLists><P/></PlayLists></r>"));
    GetPlayLists(lists, "demo");
    EXPECT_TRUE(lists.Loaded);
    GetPlayLists(lists, "demo");
    EXPECT_EQ(server.requestCount(), 2u);
}

TEST_F(Playlists, CancelledLeavesTheListUnloaded)
{
    Answer(kListsMethod, TScriptedResponse::Ok("<r><PlayLists><P/><P/></PlayLists></r>"));
    TUserPlayLists lists;
    SetAnswerObserver(
        [&lists](const std::string &, const TServiceAnswer &) { lists.Cancelled = true; });
    GetPlayLists(lists, "demo");
    SetAnswerObserver({});
    EXPECT_FALSE(lists.Loaded);
    EXPECT_EQ(lists.Count(), 0);
}

TEST_F(Playlists, GetPlayListTracksPaths)
{
    const std::string method = "Qarvon.User.GetPlayListTracks&u_name=demo&pl_id=p1";
    const struct
    {
        const char *name;
        TScriptedResponse answer;
        int result;
        bool loaded;
        int count;
    } cases[] = {
        {"records", MakeAnswer(AnswerKind::Records, TrackXml("1") + TrackXml("2")), 0, true, 2},
        // Refused: loaded all the same, so it is not asked again until reloaded.
        {"refused", MakeAnswer(AnswerKind::Refused, "", 10), 10, true, 1},
        {"noAnswer", MakeAnswer(AnswerKind::NoAnswer, ""), -1, false, 1},
        {"malformed", MakeAnswer(AnswerKind::Malformed, ""), -1, false, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Answer(method, c.answer);
        server.ClearRequests();
        TPlayList playList;
        playList.AddNew()->TrackID = "kept";
        EXPECT_EQ(GetPlayListTracks(playList, "demo", "p1"), c.result);
        EXPECT_EQ(playList.Loaded, c.loaded);
        ASSERT_EQ(playList.Count(), c.count);
        if (c.count == 2) {
            EXPECT_EQ(playList.Item(1)->Duration, "22");
        }
        EXPECT_EQ(GetPlayListTracks(playList, "demo", "p1"), c.loaded ? 0 : c.result);
        EXPECT_EQ(server.requestCount(), c.loaded ? 1u : 2u);
    }
}

const std::string kAlbumsMethod = "Qarvon.User.GetCollectedAlbums&u_name=demo";

TEST_F(Playlists, GetCollectedAlbumsPaths)
{
    const std::string two
        = "<r><UserAlbums><Album><AlbumID>a1</AlbumID><AlbumName>One</AlbumName>"
          "<SmallImageUrl>s</SmallImageUrl><MiddleImageUrl>m</MiddleImageUrl>"
          "<ArtistIDList>r</ArtistIDList><ArtistNameList>n</ArtistNameList></Album>"
          "<Album><AlbumID>a2</AlbumID></Album></UserAlbums></r>";
    const std::vector<ListCase> cases = {
        {"records", TScriptedResponse::Ok(two), true, 2, 0},
        {"emptyUserAlbums", TScriptedResponse::Ok("<r><UserAlbums/></r>"), true, 0, 0},
        {"withoutUserAlbums", TScriptedResponse::Ok("<r/>"), false, 1, 0},
        {"noAnswer", MakeAnswer(AnswerKind::NoAnswer, ""), false, 1, 0},
        {"refused", MakeAnswer(AnswerKind::Refused, "", 99), false, 1, 99},
        {"truncated", MakeAnswer(AnswerKind::Truncated, "<UserAlbums><A/><A/></UserAlbums>"),
         false, 1, 0},
    };
    RunListCases<TUserAlbums>(
        kAlbumsMethod, cases, [](TUserAlbums &albums) { GetCollectedAlbums(albums, "demo"); },
        [this](const TUserAlbums &albums) {
            // The one request of the program with an HTTP/1.1 request line.
            ASSERT_EQ(server.requestCount(), 1u);
            EXPECT_EQ(server.requests()[0].version, "HTTP/1.1");
            if (albums.Count() != 2)
                return;
            const TCollectAlbum &a = *albums.Item(0);
            EXPECT_EQ(a.AlbumID, "a1");
            EXPECT_EQ(a.AlbumName, "One");
            EXPECT_EQ(a.SmallImageUrl, "s");
            EXPECT_EQ(a.MiddleImageUrl, "m");
            EXPECT_EQ(a.ArtistIDList, "r");
            EXPECT_EQ(a.ArtistNameList, "n");
            EXPECT_EQ(albums.FindAlbum("a2"), albums.Item(1));
        });
}

TEST_F(Playlists, OtherRequestsSayHttp10)
{
    AnswerXml(kListsMethod, "<r><PlayLists/></r>");
    TUserPlayLists lists;
    GetPlayLists(lists, "demo");
    ASSERT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(server.requests()[0].version, "HTTP/1.0");
}

} // namespace
