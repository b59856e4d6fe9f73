// The usage reporter: address form, pacing, the capacity rule, the HTTP send
// step and shutdown. The pace is replaced by a gate the test opens step by
// step, so order and counts are checked without depending on the clock.

#include "TestHttpServer.h"
#include "uQarvonHttp.h"
#include "uStatistics.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

using namespace qarvon;
using qarvon::test::TestHttpServer;
using qarvon::test::TScriptedResponse;

namespace {

constexpr auto kEventWait = std::chrono::seconds(10);
const std::string kTemplate
    = "http://stats.invalid:8080/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s"
      "&channel=%s";

// Stands in for the pause between two looks at the queue.
class StepPacer
{
public:
    void Pace()
    {
        std::unique_lock lock(m_mutex);
        ++m_entered;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_open || m_allowed > 0; });
        if (!m_open)
            --m_allowed;
    }
    bool WaitEntered(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kEventWait, [&] { return m_entered >= count; });
    }
    int Entered()
    {
        std::lock_guard lock(m_mutex);
        return m_entered;
    }
    void Step()
    {
        std::lock_guard lock(m_mutex);
        ++m_allowed;
        m_changed.notify_all();
    }
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_entered = 0;
    int m_allowed = 0;
    bool m_open = false;
};

class SendLog
{
public:
    void Add(const std::string &address)
    {
        std::lock_guard lock(m_mutex);
        m_addresses.push_back(address);
        m_times.push_back(std::chrono::steady_clock::now());
        m_changed.notify_all();
    }
    bool WaitFor(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kEventWait, [&] { return m_addresses.size() >= count; });
    }
    std::vector<std::string> Addresses()
    {
        std::lock_guard lock(m_mutex);
        return m_addresses;
    }
    std::vector<std::chrono::steady_clock::time_point> Times()
    {
        std::lock_guard lock(m_mutex);
        return m_times;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_addresses;
    std::vector<std::chrono::steady_clock::time_point> m_times;
};

class StatisticsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        pacer.Open();
        reporter.reset();
    }

    void Start(const std::string &tmpl = kTemplate, bool steppedPace = true)
    {
        TStatistics::TOptions options;
        options.tmpl = tmpl;
        options.mac = "0011AABBCCDD";
        options.channel = "001";
        options.user = [this] {
            std::lock_guard lock(userMutex);
            return std::make_pair(signedIn, userId);
        };
        options.send = [this](const std::string &address) { log.Add(address); };
        if (steppedPace)
            options.pacer = [this] { pacer.Pace(); };
        reporter = std::make_unique<TStatistics>(options);
    }

    std::string Address(const std::string &opr, const std::string &user = "") const
    {
        return "http://stats.invalid:8080/datastatics.php?mode=01&modu=09&opr=" + opr
            + "&macAddress=0011AABBCCDD&user=" + user + "&channel=001";
    }

    std::mutex userMutex;
    bool signedIn = false;
    std::string userId;
    StepPacer pacer;
    SendLog log;
    std::unique_ptr<TStatistics> reporter;
};

TEST_F(StatisticsTest, AddressCarriesCodesMacUserAndChannelInOrder)
{
    Start();
    reporter->Report("01", "09", "021");
    ASSERT_TRUE(log.WaitFor(1));
    {
        std::lock_guard lock(userMutex);
        signedIn = true;
        userId = "u42";
    }
    reporter->Report("01", "09", "022");
    pacer.Step();
    ASSERT_TRUE(log.WaitFor(2));
    // Nobody signed in: "user=" is followed directly by "&channel=".
    EXPECT_EQ(log.Addresses(), (std::vector<std::string> {Address("021"), Address("022", "u42")}));
}

TEST_F(StatisticsTest, UserIdIsIgnoredWhileSignedOut)
{
    userId = "stale";
    Start();
    reporter->Report("01", "09", "021");
    ASSERT_TRUE(log.WaitFor(1));
    EXPECT_EQ(log.Addresses().front(), Address("021"));
    EXPECT_EQ(reporter->Tasks().front().user, "");
}

TEST_F(StatisticsTest, EmptyTemplateSendsNothingButMarksTheTask)
{
    Start("");
    reporter->Report("01", "09", "021");
    reporter->Report("01", "09", "022");
    ASSERT_TRUE(pacer.WaitEntered(1)); // the first task has been looked at
    pacer.Step();
    // After the second look it sleeps; a third report brings it to the next pace.
    reporter->Report("01", "09", "023");
    ASSERT_TRUE(pacer.WaitEntered(2));
    const auto tasks = reporter->Tasks();
    ASSERT_EQ(tasks.size(), 3u);
    EXPECT_TRUE(tasks[0].sent);
    EXPECT_TRUE(tasks[1].sent);
    EXPECT_TRUE(log.Addresses().empty());
}

TEST_F(StatisticsTest, BurstIsHandledOneReportPerPace)
{
    Start();
    reporter->Report("01", "09", "001");
    reporter->Report("01", "09", "002");
    reporter->Report("01", "09", "003");

    ASSERT_TRUE(log.WaitFor(1));
    ASSERT_TRUE(pacer.WaitEntered(1));
    EXPECT_EQ(log.Addresses().size(), 1u); // the next one waits for the pace

    pacer.Step();
    ASSERT_TRUE(pacer.WaitEntered(2));
    EXPECT_EQ(log.Addresses().size(), 2u);

    pacer.Step();
    ASSERT_TRUE(log.WaitFor(3));
    EXPECT_EQ(log.Addresses(),
              (std::vector<std::string> {Address("001"), Address("002"), Address("003")}));
}

TEST_F(StatisticsTest, IdleReporterIsWokenByTheNextReport)
{
    Start();
    reporter->Report("01", "09", "001");
    ASSERT_TRUE(log.WaitFor(1));
    // Nothing left: it sleeps without pacing until a report comes.
    EXPECT_EQ(pacer.Entered(), 0);

    reporter->Report("01", "09", "002");
    ASSERT_TRUE(pacer.WaitEntered(1));
    EXPECT_EQ(log.Addresses().size(), 1u);
    pacer.Step();
    ASSERT_TRUE(log.WaitFor(2)); // handled on the first look after the pace
    EXPECT_EQ(log.Addresses()[1], Address("002"));
}

TEST_F(StatisticsTest, CapacityRuleInsertsFromTheFrontAndEveryReportIsSentOnce)
{
    auto opr = [](int i) { return (i < 10 ? "00" : "0") + std::to_string(i); };
    Start();
    reporter->Report("01", "09", opr(0));
    ASSERT_TRUE(log.WaitFor(1));
    for (int i = 1; i < TStatistics::kCapacity; ++i)
        reporter->Report("01", "09", opr(i));
    EXPECT_EQ(reporter->InsertIndex(), 100);

    reporter->Report("01", "09", "X"); // the 101st goes to position 0
    EXPECT_EQ(reporter->InsertIndex(), 1);
    reporter->Report("01", "09", "Y"); // the 102nd to position 1
    EXPECT_EQ(reporter->InsertIndex(), 2);

    const auto tasks = reporter->Tasks();
    ASSERT_EQ(tasks.size(), 102u);
    EXPECT_EQ(tasks[0].opr, "X");
    EXPECT_EQ(tasks[1].opr, "Y");
    EXPECT_EQ(tasks[2].opr, "000");
    EXPECT_EQ(tasks[101].opr, "099");

    pacer.Open();
    ASSERT_TRUE(log.WaitFor(102));
    // On from position 1, then round to position 0; the two reports pushed
    // behind the first hundred places are sent too, each exactly once.
    std::vector<std::string> expected = {Address("000"), Address("Y")};
    for (int i = 1; i <= 99; ++i)
        expected.push_back(Address(opr(i)));
    expected.push_back(Address("X"));
    EXPECT_EQ(log.Addresses(), expected);

    // A later report is still handled after the queue has grown past its capacity.
    reporter->Report("01", "09", "Z");
    ASSERT_TRUE(log.WaitFor(103));
    EXPECT_EQ(log.Addresses().back(), Address("Z"));
    // Every report before it has been marked by now (it is marked before the next one goes).
    for (const auto &task : reporter->Tasks()) {
        if (task.opr != "Z") {
            EXPECT_TRUE(task.sent) << task.opr;
        }
    }
}

TEST_F(StatisticsTest, ReportNeverWaitsForTheSendAndDestructionWaitsForTheThread)
{
    std::mutex m;
    std::condition_variable cv;
    bool inside = false;
    bool release = false;
    std::atomic<bool> sendFinished {false};

    TStatistics::TOptions options;
    options.tmpl = kTemplate;
    options.send = [&](const std::string &) {
        std::unique_lock lock(m);
        inside = true;
        cv.notify_all();
        cv.wait(lock, [&] { return release; });
        sendFinished = true;
    };
    auto blocked = std::make_unique<TStatistics>(options);
    blocked->Report("01", "09", "001");
    {
        std::unique_lock lock(m);
        ASSERT_TRUE(cv.wait_for(lock, kEventWait, [&] { return inside; }));
    }
    // The send step is stuck; reports still return.
    for (int i = 0; i < 5; ++i)
        blocked->Report("01", "09", "002");
    EXPECT_EQ(blocked->Tasks().size(), 6u);

    std::atomic<bool> finishedWhenDestroyed {false};
    std::thread destroyer([&] {
        blocked.reset();
        finishedWhenDestroyed = sendFinished.load();
    });
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    destroyer.join();
    EXPECT_TRUE(finishedWhenDestroyed);
}

TEST_F(StatisticsTest, DefaultPaceSpacesReportsApart)
{
    Start(kTemplate, false);
    reporter->Report("01", "09", "001");
    reporter->Report("01", "09", "002");
    ASSERT_TRUE(log.WaitFor(2));
    const auto times = log.Times();
    EXPECT_GE(times[1] - times[0], TStatistics::kPace);
}

TEST(StatisticsHttp, SendsTheAddressAsAServiceGetAndIgnoresTheAnswer)
{
    TestHttpServer server;
    ASSERT_TRUE(server.started());
    server.SetResponseSequence("/datastatics.php",
                               {TScriptedResponse::Status(500, "no"), TScriptedResponse::Ok("ok")});
    TStatistics::TOptions options;
    options.tmpl = server.url("/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s"
                              "&channel=%s");
    options.mac = "0011AABBCCDD";
    options.channel = "007";
    options.pacer = [] {};
    {
        TStatistics reporter(options);
        reporter.Report("02", "14", "027");
        reporter.Report("01", "16", "029");
        ASSERT_TRUE(server.WaitForRequests(2));
    }
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine,
              "GET /datastatics.php?mode=02&modu=14&opr=027&macAddress=0011AABBCCDD&user="
              "&channel=007 HTTP/1.0");
    EXPECT_NE(requests[1].target.find("&opr=029&"), std::string::npos); // the 500 changed nothing
}

TEST(StatisticsHttp, AnAnswerThatNeverEndsDoesNotHoldTheReporter)
{
    // Declared first so it goes last: the server stops trickling before the
    // reporter waits for its thread, also when the check below fails.
    std::unique_ptr<TStatistics> reporter;
    TestHttpServer server;
    ASSERT_TRUE(server.started());
    // A megabyte a byte at a time: fast enough never to count as stalled,
    // far too long to be read whole.
    TScriptedResponse endless = TScriptedResponse::Ok(std::string(1 << 20, 'x'));
    endless.trickleBytes = 1;
    endless.trickleIntervalMs = 50;
    server.SetResponse("/datastatics.php", endless);
    TStatistics::TOptions options;
    options.tmpl = server.url("/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s"
                              "&channel=%s");
    options.pacer = [] {};
    reporter = std::make_unique<TStatistics>(options);
    reporter->Report("01", "09", "021");
    ASSERT_TRUE(server.WaitForRequests(1));
    EXPECT_TRUE(reporter->WaitUntilSent(kEventWait));
}

TEST(StatisticsHttp, DestructionGivesUpASendStillWaitingForTheServer)
{
    TestHttpServer server;
    ASSERT_TRUE(server.started());
    // The server takes the request and says nothing, for far longer than the
    // stall time-out: only giving the send up lets the reporter end.
    TScriptedResponse silent = TScriptedResponse::Ok("late");
    silent.holdUntilReleased = true;
    server.SetResponse("/datastatics.php", silent);
    SetFetchTimeouts(5, 3600);
    TStatistics::TOptions options;
    options.tmpl = server.url("/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s"
                              "&channel=%s");
    options.pacer = [] {};
    auto reporter = std::make_unique<TStatistics>(options);
    reporter->Report("01", "09", "022");
    ASSERT_TRUE(server.WaitForRequests(1));

    auto ended = std::async(std::launch::async, [&reporter] { reporter.reset(); });
    const bool endedInTime = ended.wait_for(kEventWait) == std::future_status::ready;
    server.ReleaseHeld(); // lets a reporter that did not give up end after all
    ended.wait();
    SetFetchTimeouts(0, 0);
    EXPECT_TRUE(endedInTime) << "the reporter waited for the silent server";
}

} // namespace
