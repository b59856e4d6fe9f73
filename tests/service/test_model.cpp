// The owning list, the records and the small helpers around them.
#include "uHotAlbumn.h"
#include "uLocalFiles.h"
#include "uPalyList.h"
#include "uQarvonPO.h"

#include "TempAppRoot.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qarvon;

namespace {

// An item that writes down when it is freed, into a log the test keeps.
struct LoggedItem
{
    LoggedItem(std::string n, std::vector<std::string> *l)
        : name(std::move(n))
        , log(l)
    {}
    ~LoggedItem() { log->push_back("free " + name); }
    std::string name;
    std::vector<std::string> *log;
};

class LoggingList : public TObjList<LoggedItem>
{
public:
    explicit LoggingList(std::vector<std::string> *l)
        : log(l)
    {}
    ~LoggingList() override { Clear(); }
    std::vector<std::string> *log;

protected:
    void ItemAboutToFree(LoggedItem &item) override { log->push_back("hook " + item.name); }
};

void Fill(LoggingList &list, std::vector<std::string> *log)
{
    for (const char *name : {"a", "b", "c"})
        list.Add(std::make_unique<LoggedItem>(name, log));
}

} // namespace

TEST(ObjList, ClearFreesLastFirstWithTheHookBeforeEachFree)
{
    std::vector<std::string> log;
    LoggingList list(&log);
    Fill(list, &log);
    list.Clear();
    EXPECT_EQ(log, (std::vector<std::string>{"hook c", "free c", "hook b", "free b", "hook a",
                                             "free a"}));
    EXPECT_EQ(list.Count(), 0);
}

TEST(ObjList, DeleteDestroyAndExtract)
{
    std::vector<std::string> log;
    {
        LoggingList list(&log);
        Fill(list, &log);

        list.Delete(1);
        EXPECT_EQ(log, (std::vector<std::string>{"hook b", "free b"}));
        ASSERT_EQ(list.Count(), 2);
        EXPECT_EQ(list.Item(1)->name, "c");

        // Taken out, the item is the caller's: no hook, not freed.
        log.clear();
        std::unique_ptr<LoggedItem> taken = list.Extract(0);
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(taken->name, "a");
        EXPECT_EQ(list.Count(), 1);
        taken.reset();
        EXPECT_EQ(log, (std::vector<std::string>{"free a"}));
        log.clear();
    }
    // Destruction clears: the last item goes through the hook too.
    EXPECT_EQ(log, (std::vector<std::string>{"hook c", "free c"}));
}

TEST(Records, NewRecordsAreEmptyAndUnloaded)
{
    THotAlbum album;
    EXPECT_FALSE(album.Loaded);
    EXPECT_EQ(album.ResultCode, 0);
    EXPECT_EQ(album.Loader, nullptr);
    ASSERT_NE(album.Details, nullptr);
    EXPECT_FALSE(album.Details->Loaded);
    EXPECT_FALSE(album.Details->TracksLoaded);
    EXPECT_TRUE(album.Tracks.IsEmpty());
    EXPECT_TRUE(album.Details->Tracks.IsEmpty());

    TUserAlbums albums;
    EXPECT_FALSE(albums.Loaded);
    EXPECT_FALSE(albums.Cancelled);
}

TEST(Records, CopyTrackCopiesEveryField)
{
    TTrack source;
    source.AlbumID = "1";
    source.AlbumName = "2";
    source.ArtistIDList = "3";
    source.ArtistNameList = "4";
    source.Duration = "5";
    source.Genre = "6";
    source.Lanaguage = "7";
    source.LyricUrl = "8";
    source.ReleaseDate = "9";
    source.TrackID = "10";
    source.TrackName = "11";
    TTrack target;
    target.TrackName = "old";
    CopyTrack(target, source);
    const std::vector<std::string> got = {target.AlbumID,     target.AlbumName,
                                          target.ArtistIDList, target.ArtistNameList,
                                          target.Duration,     target.Genre,
                                          target.Lanaguage,    target.LyricUrl,
                                          target.ReleaseDate,  target.TrackID,
                                          target.TrackName};
    EXPECT_EQ(got, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
                                             "11"}));
}

TEST(Records, FindAlbumReturnsTheFirstMatchOrNothing)
{
    TUserAlbums albums;
    for (const char *id : {"7", "8", "7"})
        albums.AddNew()->AlbumID = id;
    EXPECT_EQ(albums.FindAlbum("7"), albums.Item(0));
    EXPECT_EQ(albums.FindAlbum("8"), albums.Item(1));
    EXPECT_EQ(albums.FindAlbum("9"), nullptr);
    // Identifiers compare exactly.
    EXPECT_EQ(albums.FindAlbum("07"), nullptr);
    EXPECT_EQ(albums.FindAlbum(" 7"), nullptr);
}

struct FileNameCase
{
    const char *name;
    std::string address;
    std::string expected; // "" = a made-up name
};

void PrintTo(const FileNameCase &c, std::ostream *os)
{
    *os << c.name;
}

class SafeFileName : public ::testing::TestWithParam<FileNameCase>
{
};

TEST_P(SafeFileName, StaysAPlainNameInsideTheFolder)
{
    const FileNameCase &c = GetParam();
    const std::string name = SafeFileNameFromUrl(c.address);
    if (!c.expected.empty()) {
        EXPECT_EQ(name, c.expected);
        return;
    }
    EXPECT_FALSE(name.empty());
    EXPECT_NE(name, ".");
    EXPECT_NE(name, "..");
    EXPECT_EQ(name.find_first_of("/\\"), std::string::npos);
    for (const char ch : name)
        EXPECT_GE(static_cast<unsigned char>(ch), 0x20);
    // The same address always gives the same file; another address another one.
    EXPECT_EQ(SafeFileNameFromUrl(c.address), name);
    EXPECT_NE(SafeFileNameFromUrl(c.address + "x"), name);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SafeFileName,
    ::testing::Values(
        FileNameCase{"plain", "http://h/pics/face.jpg", "face.jpg"},
        FileNameCase{"withQuery", "http://h/pics/face.jpg?s=2", "face.jpg?s=2"},
        FileNameCase{"chinese", "http://h/pics/头像.png", "头像.png"},
        FileNameCase{"noSlash", "face.jpg", "face.jpg"},
        FileNameCase{"trailingSlash", "http://h/pics/", ""},
        FileNameCase{"dot", "http://h/pics/.", ""},
        FileNameCase{"dotDot", "http://h/pics/..", ""},
        FileNameCase{"backslash", "http://h/pics/..\\..\\x", ""},
        FileNameCase{"newline", "http://h/pics/a\nb.jpg", ""},
        FileNameCase{"escape", std::string("http://h/pics/a\x1b[2Jb.jpg"), ""},
        FileNameCase{"empty", "", ""},
        FileNameCase{"tooLong", "http://h/" + std::string(300, 'a'), ""}),
    [](const ::testing::TestParamInfo<FileNameCase> &info) { return std::string(info.param.name); });

TEST(SafeFileName, TempPathIsInsideTemp)
{
    test::TempAppRoot root;
    const std::string path = TempPathForUrl("http://h/x/..");
    EXPECT_EQ(path.rfind(root.path() + "temp/", 0), 0u) << path;
    EXPECT_EQ(path.find("/..", root.path().size()), std::string::npos) << path;
}
