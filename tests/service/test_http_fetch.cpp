// FetchUrl against the scripted loopback server: what goes on the wire and
// what reaches the caller for each kind of answer.

#include "TestHttpServer.h"
#include "uQarvonHttp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <thread>

using namespace qarvon;
using qarvon::test::TestHttpServer;
using qarvon::test::TScriptedResponse;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const char *value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

class FetchTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.started()); }
    void TearDown() override { SetFetchTimeouts(0, 0); }

    TestHttpServer server;
};

// ---- the request form -------------------------------------------------------

struct RequestFormCase
{
    const char *name;
    std::function<void(const std::string &url)> fetch;
    const char *version;
};

void PrintTo(const RequestFormCase &c, std::ostream *os)
{
    *os << c.name;
}

class RequestForm : public FetchTest, public ::testing::WithParamInterface<RequestFormCase>
{
};

TEST_P(RequestForm, SendsExactlyTheServiceRequestLineAndThreeHeaders)
{
    server.SetResponse("/QarvonApis/requestQarvon", TScriptedResponse::Ok("<r/>"));
    const std::string target = "/QarvonApis/requestQarvon?method=Qarvon.User.Login&u=a%20b";
    GetParam().fetch(server.url(target));

    ASSERT_EQ(server.requestCount(), 1u);
    const auto request = server.requests().front();
    EXPECT_EQ(request.requestLine, "GET " + target + " " + GetParam().version);
    const std::vector<std::string> expected = {
        "Host: 127.0.0.1:" + std::to_string(server.port()),
        "Accept: text/html, */*",
        "User-Agent: Mozilla/3.0 (compatible; Indy Library)",
    };
    EXPECT_EQ(request.headerLines, expected) << request.raw;
}

INSTANTIATE_TEST_SUITE_P(Fetch, RequestForm,
                         ::testing::Values(RequestFormCase {"IntoText",
                                                            [](const std::string &url) {
                                                                std::string s;
                                                                FetchUrl(url, s);
                                                            },
                                                            "HTTP/1.0"},
                                           RequestFormCase {
                                               "IntoSink",
                                               [](const std::string &url) {
                                                   FetchUrl(url, [](const char *, std::size_t) {
                                                       return true;
                                                   });
                                               },
                                               "HTTP/1.0"},
                                           RequestFormCase {"Http11",
                                                            [](const std::string &url) {
                                                                std::string s;
                                                                FetchUrlHttp11(url, s);
                                                            },
                                                            "HTTP/1.1"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(FetchTest, RedirectedRequestKeepsTheSameForm)
{
    server.SetResponse("/old", TScriptedResponse::Redirect("/new?x=1"));
    server.SetResponse("/new", TScriptedResponse::Ok("<r/>"));
    std::string body;
    FetchUrl(server.url("/old"), body);

    ASSERT_EQ(server.requestCount(), 2u);
    const auto second = server.requests()[1];
    EXPECT_EQ(second.requestLine, "GET /new?x=1 HTTP/1.0");
    EXPECT_EQ(second.headerLines.size(), 3u) << second.raw;
    EXPECT_EQ(second.header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
}

TEST_F(FetchTest, IgnoresProxyEnvironment)
{
    // A proxy that does not exist: using it would make the fetch fail.
    ScopedEnv http("http_proxy", "http://127.0.0.1:9");
    ScopedEnv all("ALL_PROXY", "http://127.0.0.1:9");
    server.SetResponse("/p", TScriptedResponse::Ok("direct"));
    std::string body;
    FetchUrl(server.url("/p"), body);
    EXPECT_EQ(body, "direct");
    ASSERT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(server.requests().front().target, "/p"); // not an absolute proxy target
}

TEST_F(FetchTest, KeepsNoCookiesBetweenFetchesOrAcrossARedirect)
{
    auto withCookie = TScriptedResponse::Redirect("/b");
    withCookie.headers.emplace_back("Set-Cookie", "session=1; Path=/");
    server.SetResponse("/a", withCookie);
    server.SetResponse("/b", TScriptedResponse::Ok("b"));
    std::string body;
    FetchUrl(server.url("/a"), body);
    FetchUrl(server.url("/b"), body);
    ASSERT_EQ(server.requestCount(), 3u);
    for (const auto &r : server.requests())
        EXPECT_FALSE(r.hasHeader("Cookie")) << r.raw;
}

// ---- what reaches the caller ------------------------------------------------

struct AnswerCase
{
    const char *name;
    std::vector<std::pair<std::string, TScriptedResponse>> script; // path, answer
    std::string expected; // the stream after the fetch, which starts as "before:"
};

void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << c.name;
}

class Answers : public FetchTest, public ::testing::WithParamInterface<AnswerCase>
{
};

TEST_P(Answers, LeaveTheExpectedStream)
{
    for (const auto &[path, response] : GetParam().script)
        server.SetResponse(path, response);
    std::string stream = "before:";
    FetchUrl(server.url("/start"), stream);
    EXPECT_EQ(stream, GetParam().expected);
}

TScriptedResponse Trickled(std::string body)
{
    auto r = TScriptedResponse::Ok(std::move(body));
    r.trickleBytes = 7;
    r.trickleIntervalMs = 20;
    return r;
}

TScriptedResponse WithoutLength(std::string body)
{
    auto r = TScriptedResponse::Ok(std::move(body));
    r.omitContentLength = true;
    return r;
}

TScriptedResponse Dropped()
{
    TScriptedResponse r;
    r.dropConnection = true;
    return r;
}

TScriptedResponse RedirectWithoutLocation()
{
    auto r = TScriptedResponse::Status(302, "no location");
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Fetch, Answers,
    ::testing::Values(
        AnswerCase {
            "SuccessAppends", {{"/start", TScriptedResponse::Ok("<r>1</r>")}}, "before:<r>1</r>"},
        AnswerCase {"EmptySuccess", {{"/start", TScriptedResponse::Status(204)}}, "before:"},
        AnswerCase {"NotFound", {{"/start", TScriptedResponse::Status(404, "<err/>")}}, "before:"},
        AnswerCase {"ServerError", {{"/start", TScriptedResponse::Status(500, "oops")}}, "before:"},
        AnswerCase {"Found",
                    {{"/start", TScriptedResponse::Redirect("/final")},
                     {"/final", TScriptedResponse::Ok("<final/>")}},
                    "before:<final/>"},
        AnswerCase {"MovedPermanently",
                    {{"/start", TScriptedResponse::Redirect("/final", 301)},
                     {"/final", TScriptedResponse::Ok("<final/>")}},
                    "before:<final/>"},
        AnswerCase {"SeeOther",
                    {{"/start", TScriptedResponse::Redirect("/final", 303)},
                     {"/final", TScriptedResponse::Ok("<final/>")}},
                    "before:<final/>"},
        AnswerCase {"TemporaryRedirect",
                    {{"/start", TScriptedResponse::Redirect("/final", 307)},
                     {"/final", TScriptedResponse::Ok("<final/>")}},
                    "before:<final/>"},
        AnswerCase {"RedirectChain",
                    {{"/start", TScriptedResponse::Redirect("/one")},
                     {"/one", TScriptedResponse::Redirect("/two")},
                     {"/two", TScriptedResponse::Ok("end")}},
                    "before:end"},
        AnswerCase {
            "RedirectToNotFound", {{"/start", TScriptedResponse::Redirect("/gone")}}, "before:"},
        AnswerCase {"RedirectLoop", {{"/start", TScriptedResponse::Redirect("/start")}}, "before:"},
        AnswerCase {"RedirectToOtherScheme",
                    {{"/start", TScriptedResponse::Redirect("file:///etc/passwd")}},
                    "before:"},
        AnswerCase {"RedirectWithoutLocation", {{"/start", RedirectWithoutLocation()}}, "before:"},
        AnswerCase {"DroppedConnection", {{"/start", Dropped()}}, "before:"},
        AnswerCase {"SlowAnswerReadWhole",
                    {{"/start", Trickled(std::string(200, 'z'))}},
                    "before:" + std::string(200, 'z')},
        AnswerCase {
            "BodyUntilClose", {{"/start", WithoutLength("no length")}}, "before:no length"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FetchTest, RedirectBodyIsNeverDelivered)
{
    auto redirect = TScriptedResponse::Redirect("/final");
    redirect.body = "REDIRECT-BODY";
    server.SetResponse("/start", redirect);
    server.SetResponse("/final", TScriptedResponse::Ok("FINAL"));
    std::string chunks;
    int calls = 0;
    FetchUrl(server.url("/start"), [&](const char *data, std::size_t size) {
        ++calls;
        chunks.append(data, size);
        return true;
    });
    EXPECT_EQ(chunks, "FINAL");
    EXPECT_EQ(calls, 1);
}

TEST_F(FetchTest, UnreachableServerLeavesStreamAlone)
{
    std::uint16_t closedPort = 0;
    {
        TestHttpServer gone;
        closedPort = gone.port();
    }
    std::string stream = "kept";
    FetchUrl("http://127.0.0.1:" + std::to_string(closedPort) + "/x", stream);
    FetchUrl("not a url at all", stream);
    FetchUrl("", stream);
    EXPECT_EQ(stream, "kept");
}

TEST_F(FetchTest, CutBodyKeepsWhatArrived)
{
    auto cut = TScriptedResponse::Ok("<root><item>1</item></root>");
    cut.cutAfter = 6;
    server.SetResponse("/cut", cut);
    std::string stream;
    FetchUrl(server.url("/cut"), stream);
    EXPECT_EQ(stream, "<root>");
}

TEST_F(FetchTest, StalledAnswerIsGivenUp)
{
    SetFetchTimeouts(5, 1);
    auto stalled = TScriptedResponse::Ok("<root>never finished</root>");
    stalled.cutAfter = 1;
    stalled.stallAfterCut = true;
    server.SetResponse("/stall", stalled);
    std::string stream;
    FetchUrl(server.url("/stall"), stream); // returns instead of waiting forever
    EXPECT_EQ(stream, "<");
    EXPECT_TRUE(server.WaitForAnswered(1)); // the client closed its end
}

TEST_F(FetchTest, SinkCanStopTheTransfer)
{
    auto big = TScriptedResponse::Ok(std::string(1 << 20, 'b'));
    big.trickleBytes = 1024;
    server.SetResponse("/big", big);
    std::size_t received = 0;
    FetchUrl(server.url("/big"), [&](const char *, std::size_t size) {
        received += size;
        return false;
    });
    EXPECT_GT(received, 0u);
    EXPECT_LT(received, std::size_t {1} << 20);
}

TEST_F(FetchTest, OversizedAnswerIsDroppedWhole)
{
    SetFetchAnswerLimit(1000);
    server.SetResponse("/fits", TScriptedResponse::Ok(std::string(1000, 'a')));
    server.SetResponse("/huge", TScriptedResponse::Ok(std::string(200000, 'b')));
    std::string fits = "x";
    std::string huge = "kept";
    FetchUrl(server.url("/fits"), fits);
    FetchUrl(server.url("/huge"), huge);
    std::size_t toSink = 0;
    FetchUrl(server.url("/huge"), [&](const char *, std::size_t size) {
        toSink += size;
        return true;
    });
    SetFetchAnswerLimit(0);
    EXPECT_EQ(fits, "x" + std::string(1000, 'a'));
    EXPECT_EQ(huge, "kept");
    EXPECT_EQ(toSink, 200000u) << "a sink takes any size";
}

TEST_F(FetchTest, SinkExceptionIsSwallowed)
{
    server.SetResponse("/x", TScriptedResponse::Ok("data"));
    EXPECT_NO_THROW(FetchUrl(server.url("/x"), [](const char *, std::size_t) -> bool {
        throw std::runtime_error("disk full");
    }));
}

TEST_F(FetchTest, ConcurrentFetchesEachGetTheirOwnBody)
{
    constexpr int kThreads = 8;
    for (int i = 0; i < kThreads; ++i)
        server.SetResponse("/t" + std::to_string(i),
                           TScriptedResponse::Ok("body" + std::to_string(i)));
    std::vector<std::string> bodies(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            FetchUrl(server.url("/t" + std::to_string(i)), bodies[static_cast<std::size_t>(i)]);
        });
    }
    for (auto &t : threads)
        t.join();
    for (int i = 0; i < kThreads; ++i)
        EXPECT_EQ(bodies[static_cast<std::size_t>(i)], "body" + std::to_string(i));
}

} // namespace
