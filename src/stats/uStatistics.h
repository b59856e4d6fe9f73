#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qarvon {

// One queued usage report.
struct TStatisticsTask
{
    std::string mode;
    std::string modu;
    std::string opr;
    std::string user;
    std::string mac;
    std::string channel;
    bool sent = false;
};

// The usage reporter: reports are queued by the UI thread and handed one at a
// time to the send step on the reporter's own thread, at most one every
// kPace. Report never waits for the network.
class TStatistics
{
public:
    static constexpr int kCapacity = 100;
    static constexpr std::chrono::milliseconds kPace {500};

    // Whether somebody is signed in, and the signed-in user's UserID.
    using TUserSource = std::function<std::pair<bool, std::string>()>;
    // Receives each complete report address (never an empty one).
    using TSendStep = std::function<void(const std::string &address)>;
    // Runs between two looks at the queue on the reporter's thread; the
    // default waits kPace or until the reporter is being destroyed.
    using TPacer = std::function<void()>;

    struct TOptions
    {
        std::string tmpl; // "%s" placeholders: mode, modu, opr, mac, user, channel
        std::string mac; // the adapter address
        std::string channel; // the distribution channel
        TUserSource user; // unset: nobody is signed in
        TSendStep send; // unset: an HTTP GET of the address, answer ignored
        TPacer pacer; // unset: kPace
    };

    // From the configuration: the Statistics template, the first adapter's
    // address and the channel read at start-up.
    explicit TStatistics(TUserSource user);
    explicit TStatistics(TOptions options);
    ~TStatistics();
    TStatistics(const TStatistics &) = delete;
    TStatistics &operator=(const TStatistics &) = delete;

    void Report(const std::string &mode, const std::string &modu, const std::string &opr);

    // Waits until every queued report has been handed to the send step, or
    // until the time is up (false then). A short-lived program calls it
    // before it ends so its last reports are not dropped.
    bool WaitUntilSent(std::chrono::milliseconds timeout);

    // A copy of the queue and the two indexes, for diagnostics and tests.
    std::vector<TStatisticsTask> Tasks() const;
    int SendIndex() const;
    int InsertIndex() const;

private:
    void Run();
    void Pace();
    std::string Address(const TStatisticsTask &task) const;

    TOptions m_options;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_sentChanged;
    std::vector<std::unique_ptr<TStatisticsTask>> m_tasks;
    int m_sendIndex = 0;
    int m_insertIndex = 0;
    bool m_woken = false;
    bool m_terminate = false;
    std::atomic<bool> m_stopping {false}; // m_terminate for the send step, read without the lock
    std::thread m_thread;
};

} // namespace qarvon
