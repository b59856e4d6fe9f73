// Each fault switch, set through the control endpoint or the command line.
#include "ServiceTestSupport.h"

#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iconv.h>

namespace qarvon::test {
namespace {

const std::string kTrackCall = "Qarvon.Track.GetTrack&trackID=300004";

std::string GbkToUtf8(const std::string &gbk)
{
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string in = gbk;
    std::string out(gbk.size() * 2 + 16, '\0');
    char *inPtr = in.data();
    char *outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return {};
    out.resize(out.size() - outLeft);
    return out;
}

// One service whose faults each test sets and the fixture clears again.
class Fault : public ::testing::Test
{
protected:
    void TearDown() override { ASSERT_TRUE(service().clearFaults()); }
    static ReferenceService &service() { return SharedService(); }
    static std::string bench(long long bytes)
    {
        return service().baseUrl() + "/media/bench/" + std::to_string(bytes) + ".bin";
    }
};

TEST_F(Fault, StatusAnswersThatStatusWithoutBodyForItsMethodOnly)
{
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .status = 503}));
    const HttpReply spoilt = service().call(kTrackCall);
    EXPECT_EQ(spoilt.status, 503);
    EXPECT_TRUE(spoilt.body.empty());
    EXPECT_EQ(service().call("Qarvon.Album.GetAlbum&albumID=20001").status, 200);
}

TEST_F(Fault, CutEndsTheBodyEarlyAndSaysSo)
{
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .cutAt = 60}));
    const HttpReply reply = service().call(kTrackCall);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentLength(), 60);
    EXPECT_TRUE(reply.complete);
    EXPECT_EQ(reply.body.size(), 60u);
    EXPECT_FALSE(ParseXml(reply.body).has_value());
}

TEST_F(Fault, DropClosesTheConnectionBeforeTheAnnouncedEnd)
{
    ASSERT_TRUE(service().setFault({.target = "/media/bench/", .dropAt = 70000}));
    const HttpReply reply = HttpGet(bench(200000));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentLength(), 200000);
    EXPECT_EQ(reply.body.size(), 70000u);
    EXPECT_FALSE(reply.complete);
}

TEST_F(Fault, DropOnAudioStopsMidFile)
{
    ASSERT_TRUE(service().setFault({.target = "/media/audio/", .dropAt = 1000}));
    const HttpReply reply = HttpGet(service().baseUrl() + "/media/audio/300004.mp3");
    EXPECT_GT(reply.contentLength(), 1000);
    EXPECT_EQ(reply.body.size(), 1000u);
}

// Only lower bounds: the service waits at least that long by construction.
TEST_F(Fault, DelayHoldsTheAnswerBackButKeepsItWhole)
{
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .delayMs = 300}));
    const auto start = std::chrono::steady_clock::now();
    const HttpReply reply = service().call(kTrackCall);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_TRUE(ParseXml(reply.body).has_value());
}

TEST_F(Fault, TrickleSendsTheBodySlowlyAndWhole)
{
    ASSERT_TRUE(service().setFault({.target = "/media/bench/", .trickleBytesPerSecond = 2000}));
    const auto start = std::chrono::steady_clock::now();
    const HttpReply reply = HttpGet(bench(1000));
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(reply.body.size(), 1000u);
    EXPECT_TRUE(reply.complete);
    // 200-byte pieces, each after a 100 ms pause.
    EXPECT_GE(took, std::chrono::milliseconds(500));
}

TEST_F(Fault, MalformedAnswerIsNotWellFormedXml)
{
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .malformed = true}));
    const HttpReply reply = service().call(kTrackCall);
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.complete);
    EXPECT_NE(reply.body.find("<TrackID>300004</TrackID>"), std::string::npos);
    EXPECT_FALSE(ParseXml(reply.body).has_value());
}

TEST_F(Fault, GbkAnswerDeclaresGbkAndHoldsTheSameDocument)
{
    const std::string normal = service().call(kTrackCall).body;
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .gbk = true}));
    const HttpReply reply = service().call(kTrackCall);
    EXPECT_EQ(reply.header("Content-Type"), "text/xml; charset=GBK");
    EXPECT_EQ(reply.body.rfind("<?xml version=\"1.0\" encoding=\"GBK\"?>", 0), 0u);
    EXPECT_NE(reply.body, normal);
    std::string expected = normal;
    expected.replace(expected.find("utf-8"), 5, "GBK");
    EXPECT_EQ(GbkToUtf8(reply.body), expected);
}

TEST_F(Fault, RedirectSendsTheClientRoundOnce)
{
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .redirect = true}));
    const HttpReply first = service().call(kTrackCall);
    ASSERT_EQ(first.status, 302);
    const std::string location = first.header("Location");
    EXPECT_EQ(location.rfind(service().requestBase() + kTrackCall, 0), 0u) << location;
    const HttpReply second = HttpGet(location);
    EXPECT_EQ(second.status, 200);
    EXPECT_TRUE(ParseXml(second.body).has_value());
}

TEST_F(Fault, CountSpoilsOnlyThatManyAnswers)
{
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .status = 500, .count = 2}));
    EXPECT_EQ(service().call(kTrackCall).status, 500);
    EXPECT_EQ(service().call(kTrackCall).status, 500);
    EXPECT_EQ(service().call(kTrackCall).status, 200);
}

TEST_F(Fault, MethodBeatsPathPrefixBeatsEverything)
{
    ASSERT_TRUE(service().setFault({.target = "*", .status = 501}));
    ASSERT_TRUE(service().setFault({.target = "/QarvonApis/", .status = 502}));
    ASSERT_TRUE(service().setFault({.target = "Qarvon.Track.GetTrack", .status = 503}));
    EXPECT_EQ(service().call(kTrackCall).status, 503);
    EXPECT_EQ(service().call("Qarvon.Album.GetHotAlbum").status, 502);
    EXPECT_EQ(HttpGet(bench(10)).status, 501);
    // The control endpoint itself stays usable.
    EXPECT_EQ(HttpGet(service().baseUrl() + "/control/faults").status, 200);
    ASSERT_TRUE(service().clearFault("Qarvon.Track.GetTrack"));
    EXPECT_EQ(service().call(kTrackCall).status, 502);
}

TEST_F(Fault, BadSwitchesAreRefusedWithAReason)
{
    for (const char *query :
         {"target=Qarvon.Track.GetTrack&delay=soon", "target=nothing&status=500",
          "target=/control/&status=500", "target=*&status=42"}) {
        const HttpReply reply = HttpGet(service().baseUrl() + "/control/fault?" + query);
        EXPECT_EQ(reply.status, 400) << query;
        EXPECT_FALSE(reply.body.empty()) << query;
    }
}

TEST(FaultOption, SwitchesAFaultOnFromTheStart)
{
    ReferenceService service(
        {},
        {QStringLiteral("--fault"), QStringLiteral("Qarvon.Track.GetTrack:status=500,count=1")});
    ASSERT_TRUE(service.running());
    EXPECT_EQ(service.call(kTrackCall).status, 500);
    EXPECT_EQ(service.call(kTrackCall).status, 200);
}

struct UsageCase
{
    const char *name;
    QStringList args;
    int exitCode;
};

void PrintTo(const UsageCase &c, std::ostream *os)
{
    *os << c.name;
}

class CommandLine : public ::testing::TestWithParam<UsageCase>
{
};

TEST_P(CommandLine, EndsWithItsStatus)
{
    const ProcessResult result
        = RunProgram(BuiltProgram(QStringLiteral("qarvon-service")), GetParam().args);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Usage, CommandLine,
    ::testing::Values(
        UsageCase {"Help", {QStringLiteral("--help")}, 0},
        UsageCase {"UnknownOption", {QStringLiteral("--colour")}, 2},
        UsageCase {"PortOutOfRange", {QStringLiteral("--port"), QStringLiteral("70000")}, 2},
        UsageCase {"SeedNotANumber", {QStringLiteral("--seed"), QStringLiteral("x")}, 2},
        UsageCase {"FaultWithoutTarget", {QStringLiteral("--fault"), QStringLiteral("delay=5")}, 2},
        UsageCase {
            "FaultItemUnknown", {QStringLiteral("--fault"), QStringLiteral("*:explode=1")}, 2}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace qarvon::test
