// Audio, lyrics, pictures, the download redirect and the bulk-bytes path.
#include "ServiceTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <thread>

namespace qarvon::test {
namespace {

// Playing length of an MP3 from its frame headers alone (the Info frame at the
// start carries no audio and is left out).
double Mp3Seconds(const std::string &data)
{
    static const int kBitrates[2][16]
        = {{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}, // MPEG-1
           {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}; // MPEG-2/2.5
    static const int kRates[4][3]
        = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    std::size_t pos = 0;
    long long samples = 0;
    int rate = 0;
    bool first = true;
    while (pos + 4 <= data.size()) {
        const auto b = [&](std::size_t i) { return static_cast<unsigned char>(data[pos + i]); };
        if (b(0) != 0xFF || (b(1) & 0xE0) != 0xE0)
            return -1; // not a frame where one must be
        const int version = (b(1) >> 3) & 3; // 3 = MPEG-1, 2 = MPEG-2, 0 = MPEG-2.5
        const bool mpeg1 = version == 3;
        const int bitrate = kBitrates[mpeg1 ? 0 : 1][b(2) >> 4] * 1000;
        rate = kRates[version][(b(2) >> 2) & 3];
        const int padding = (b(2) >> 1) & 1;
        if (bitrate == 0 || rate == 0)
            return -1;
        const int perFrame = mpeg1 ? 1152 : 576;
        const std::size_t length
            = static_cast<std::size_t>((mpeg1 ? 144 : 72) * bitrate / rate + padding);
        const std::string head = data.substr(pos, std::min<std::size_t>(length, 64));
        const bool infoFrame = first
            && (head.find("Info") != std::string::npos || head.find("Xing") != std::string::npos);
        if (!infoFrame)
            samples += perFrame;
        first = false;
        pos += length;
    }
    return rate ? static_cast<double>(samples) / rate : -1;
}

struct TrackInfo
{
    int duration = 0;
    std::string downloadAddress;
    std::string lyricAddress;
};

TrackInfo Track(const std::string &id)
{
    TrackInfo t;
    const XmlNode details = Answer("Qarvon.Track.GetTrack&trackID=" + id);
    t.duration = std::stoi(details.child("Track")->childText("Duration"));
    t.lyricAddress = details.child("Track")->childText("LyricUrl");
    std::string address = Answer("Qarvon.Track.GetTrackDownUrl&ProductID=" + id)
                              .child("Track")
                              ->childText("AuditionUrl");
    t.downloadAddress = address.substr(0, address.find(';'));
    return t;
}

class TrackMedia : public ::testing::TestWithParam<std::string>
{
};

TEST_P(TrackMedia, DownloadAddressRedirectsToAudioAsLongAsTheTrack)
{
    const TrackInfo track = Track(GetParam());
    const HttpReply redirect = HttpGet(track.downloadAddress);
    ASSERT_EQ(redirect.status, 302);
    const std::string location = redirect.header("Location");
    EXPECT_EQ(location, SharedService().baseUrl() + "/media/audio/" + GetParam() + ".mp3");

    const HttpReply audio = HttpGet(location);
    ASSERT_EQ(audio.status, 200);
    EXPECT_EQ(audio.header("Content-Type"), "audio/mpeg");
    EXPECT_TRUE(audio.complete);
    EXPECT_EQ(audio.contentLength(), static_cast<long long>(audio.body.size()));
    const double seconds = Mp3Seconds(audio.body);
    // The encoder adds under a tenth of a second of delay and padding.
    EXPECT_NEAR(seconds, track.duration, 0.15) << "Duration " << track.duration;

    // Made once, then served from the cache byte for byte.
    EXPECT_EQ(HttpGet(location).body, audio.body);
}

TEST_P(TrackMedia, LyricLinesStartOnTheTunesPhrasesWithinTheTrack)
{
    const TrackInfo track = Track(GetParam());
    const HttpReply lyric = HttpGet(track.lyricAddress);
    ASSERT_EQ(lyric.status, 200);
    EXPECT_EQ(lyric.header("Content-Type"), "text/plain; charset=utf-8");

    char length[64];
    std::snprintf(length, sizeof length, "[length:%02d:%02d]", track.duration / 60,
                  track.duration % 60);
    EXPECT_NE(lyric.body.find(length), std::string::npos) << lyric.body;

    const std::regex line(R"(\[(\d\d):(\d\d)\.(\d\d)\](.+))");
    std::vector<double> starts;
    for (auto it = std::sregex_iterator(lyric.body.begin(), lyric.body.end(), line);
         it != std::sregex_iterator(); ++it) {
        const auto &m = *it;
        starts.push_back(std::stoi(m[1]) * 60 + std::stoi(m[2]) + std::stoi(m[3]) / 100.0);
    }
    ASSERT_GE(starts.size(), 2u);
    EXPECT_EQ(starts.front(), 0.0);
    const double step = starts[1] - starts[0];
    EXPECT_GT(step, 3.0);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_NEAR(starts[i] - starts[i - 1], step, 0.015) << "line " << i;
    EXPECT_LT(starts.back(), track.duration - 0.99);
    EXPECT_GE(starts.back() + step, track.duration - 1.0) << "lines stop before the music does";
}

// 300004 names a mirror in its download address.
INSTANTIATE_TEST_SUITE_P(Tracks, TrackMedia,
                         ::testing::Values("300001", "300004", "300017", "300038"));

// Width and height from the first start-of-frame marker.
std::pair<int, int> JpegSize(const std::string &data)
{
    for (std::size_t i = 2; i + 9 < data.size(); ++i) {
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(data[i + k]); };
        if (at(0) == 0xFF && (at(1) == 0xC0 || at(1) == 0xC2))
            return {at(7) << 8 | at(8), at(5) << 8 | at(6)};
    }
    return {0, 0};
}

struct PictureCase
{
    const char *name;
    std::string path;
    int size;
};

void PrintTo(const PictureCase &c, std::ostream *os)
{
    *os << c.name;
}

class Picture : public ::testing::TestWithParam<PictureCase>
{
};

TEST_P(Picture, IsAJpegOfItsSize)
{
    const HttpReply reply = HttpGet(SharedService().baseUrl() + GetParam().path);
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("Content-Type"), "image/jpeg");
    EXPECT_TRUE(reply.complete);
    ASSERT_GT(reply.body.size(), 4u);
    EXPECT_EQ(reply.body.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(reply.body.substr(reply.body.size() - 2), "\xFF\xD9");
    EXPECT_EQ(JpegSize(reply.body), std::make_pair(GetParam().size, GetParam().size));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, Picture,
    ::testing::Values(PictureCase {"SmallCover", "/media/cover/20001_s.jpg", 100},
                      PictureCase {"MiddleCover", "/media/cover/20001_m.jpg", 240},
                      PictureCase {"Artist", "/media/artist/1001.jpg", 200},
                      PictureCase {"Topic", "/media/topic/4001.jpg", 180},
                      PictureCase {"Avatar", "/media/avatar/1.jpg", 96}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Media, AddressesInAnswersLeadToTheirFiles)
{
    const XmlNode profile = Answer("Qarvon.User.GetUserInfo&u_name=demo");
    EXPECT_EQ(HttpGet(profile.child("User")->childText("UserImage")).status, 200);
    const XmlNode album = Answer("Qarvon.Album.GetAlbum&albumID=20002");
    EXPECT_EQ(HttpGet(album.child("Album")->childText("MiddleImageUrl")).status, 200);
    const XmlNode artist = Answer("Qarvon.Artist.GetArtist&artistID=1002");
    EXPECT_EQ(HttpGet(artist.child("Artist")->childText("ImageUrl")).status, 200);
    const XmlNode play = Answer("Qarvon.Track.GetTrackPlayUrl&ProductID=300002");
    EXPECT_EQ(HttpGet(play.child("TrackUrl")->childText("AuditionUrl")).status, 200);
    const XmlNode topics = Answer("Qarvon.Topic.GetTopicForPaging&per_page=1&page=2");
    EXPECT_EQ(HttpGet(topics.child("Topic")->childText("ImageUrl")).status, 200);
}

TEST(Media, UnknownObjectsAreNotFound)
{
    const std::string base = SharedService().baseUrl();
    for (const char *path :
         {"/media/audio/12.mp3", "/media/lyric/99999999.lrc", "/media/cover/300001_s.jpg",
          "/media/artist/20001.jpg", "/media/avatar/99.jpg", "/download/track/5.mp3",
          "/media/audio/..%2f..%2fcatalogue.sqlite"})
        EXPECT_EQ(HttpGet(base + path).status, 404) << path;
}

// Two listeners asking for a track nobody has played yet get the same whole file.
TEST(Media, ConcurrentFirstRequestsGetTheSameFile)
{
    const std::string url = SharedService().baseUrl() + "/media/audio/300033.mp3";
    HttpReply a;
    HttpReply b;
    std::thread other([&] { a = HttpGet(url); });
    b = HttpGet(url);
    other.join();
    ASSERT_EQ(a.status, 200);
    ASSERT_EQ(b.status, 200);
    EXPECT_TRUE(a.complete && b.complete);
    EXPECT_EQ(a.body, b.body);
}

// A folder whose database was removed and made anew from another seed must not
// go on serving the pictures and tunes of the catalogue that is gone.
TEST(Media, ANewCatalogueDoesNotServeTheMediaOfTheOldOne)
{
    QTemporaryDir data;
    const std::string dir = data.path().toStdString();
    const std::string cover = "/media/cover/20001_s.jpg";
    std::string oldCover;
    {
        ReferenceService first(dir, {QStringLiteral("--seed"), QStringLiteral("5")});
        ASSERT_TRUE(first.running());
        oldCover = HttpGet(first.baseUrl() + cover).body;
        ASSERT_FALSE(oldCover.empty());
        ASSERT_TRUE(first.stop());
    }
    for (const char *name : {"catalogue.sqlite", "catalogue.sqlite-wal", "catalogue.sqlite-shm"})
        QFile::remove(data.filePath(QString::fromLatin1(name)));

    ReferenceService second(dir, {QStringLiteral("--seed"), QStringLiteral("6")});
    ReferenceService fresh({}, {QStringLiteral("--seed"), QStringLiteral("6")});
    ASSERT_TRUE(second.running());
    ASSERT_TRUE(fresh.running());
    const std::string newCover = HttpGet(second.baseUrl() + cover).body;
    EXPECT_NE(newCover, oldCover);
    EXPECT_EQ(newCover, HttpGet(fresh.baseUrl() + cover).body);
}

TEST(BenchBytes, StreamsTheAnnouncedNumberOfPatternBytes)
{
    const HttpReply reply = HttpGet(SharedService().baseUrl() + "/media/bench/1000003.bin");
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentLength(), 1000003);
    ASSERT_EQ(reply.body.size(), 1000003u);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < reply.body.size(); ++i)
        wrong += static_cast<unsigned char>(reply.body[i]) != i % 251;
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(HttpGet(SharedService().baseUrl() + "/media/bench/0.bin").contentLength(), 0);
}

TEST(Statistics, RecordsEveryReportAsItArrived)
{
    ReferenceService &service = SharedService();
    ASSERT_TRUE(service.clearStatistics());
    char url[512];
    std::snprintf(url, sizeof url, service.statisticsTemplate().c_str(), "01", "09", "021",
                  "0A1B2C3D4E5F", "1", "001");
    const HttpReply reply = HttpGet(url);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "ok");
    std::snprintf(url, sizeof url, service.statisticsTemplate().c_str(), "02", "14", "027",
                  "0A1B2C3D4E5F", "", "%e4%b8%ad");
    HttpGet(url);

    const auto reports = service.statisticsReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].query,
              "mode=01&modu=09&opr=021&macAddress=0A1B2C3D4E5F&user=1&channel=001");
    EXPECT_EQ(reports[1].mode, "02");
    EXPECT_EQ(reports[1].modu, "14");
    EXPECT_EQ(reports[1].opr, "027");
    EXPECT_EQ(reports[1].user, "");
    EXPECT_EQ(reports[1].channel, "中");
    ASSERT_TRUE(service.clearStatistics());
    EXPECT_TRUE(service.statisticsReports().empty());
}

} // namespace
} // namespace qarvon::test
