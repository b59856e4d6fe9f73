#include "uStatistics.h"

#include "Common_Config.h"
#include "tool.h"
#include "uQarvonHttp.h"
#include "uTraceM.h"

#include <algorithm>
#include <exception>

namespace qarvon {

namespace {

TStatistics::TOptions FromConfiguration(TStatistics::TUserSource user)
{
    TStatistics::TOptions options;
    options.tmpl = SysConfig().Statistics;
    options.mac = AdapterAddress(0);
    options.channel = SysConfig().localchannel;
    options.user = std::move(user);
    return options;
}

// Nothing reads the answer to a report, so its first byte ends the transfer:
// an answer that never ends cannot hold the reporter's thread, and with it the
// program that waits for that thread before it ends.
// A reporter being destroyed gives up a send still under way (a server
// that does not answer the connection), so the program ends at once.
void SendByHttp(const std::string &address, const std::atomic<bool> &stopping)
{
    FetchUrl(address, [](const char *, std::size_t) { return false; }, stopping);
}

} // namespace

TStatistics::TStatistics(TUserSource user)
    : TStatistics(FromConfiguration(std::move(user)))
{ }

TStatistics::TStatistics(TOptions options)
    : m_options(std::move(options))
{
    if (!m_options.send)
        m_options.send = [this](const std::string &address) { SendByHttp(address, m_stopping); };
    m_thread = std::thread([this] { Run(); });
}

TStatistics::~TStatistics()
{
    {
        std::lock_guard lock(m_mutex);
        m_terminate = true;
    }
    m_stopping = true;
    m_wake.notify_all();
    // The queue goes only after the thread has stopped looking at it.
    m_thread.join();
}

void TStatistics::Report(const std::string &mode, const std::string &modu, const std::string &opr)
{
    auto task = std::make_unique<TStatisticsTask>();
    task->mode = mode;
    task->modu = modu;
    task->opr = opr;
    if (m_options.user) {
        const auto [signedIn, userId] = m_options.user();
        if (signedIn)
            task->user = userId;
    }
    task->mac = m_options.mac;
    task->channel = m_options.channel;
    {
        std::lock_guard lock(m_mutex);
        if (m_insertIndex >= kCapacity)
            m_insertIndex = 0;
        if (static_cast<int>(m_tasks.size()) < kCapacity)
            m_tasks.push_back(std::move(task));
        else
            m_tasks.insert(m_tasks.begin() + m_insertIndex, std::move(task));
        ++m_insertIndex;
        m_woken = true;
    }
    m_wake.notify_all();
}

bool TStatistics::WaitUntilSent(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_sentChanged.wait_for(lock, timeout, [this] {
        return std::all_of(m_tasks.begin(), m_tasks.end(), [](const auto &t) { return t->sent; });
    });
}

std::vector<TStatisticsTask> TStatistics::Tasks() const
{
    std::lock_guard lock(m_mutex);
    std::vector<TStatisticsTask> out;
    out.reserve(m_tasks.size());
    for (const auto &task : m_tasks)
        out.push_back(*task);
    return out;
}

int TStatistics::SendIndex() const
{
    std::lock_guard lock(m_mutex);
    return m_sendIndex;
}

int TStatistics::InsertIndex() const
{
    std::lock_guard lock(m_mutex);
    return m_insertIndex;
}

std::string TStatistics::Address(const TStatisticsTask &task) const
{
    return FormatTemplate(m_options.tmpl,
                          {task.mode, task.modu, task.opr, task.mac, task.user, task.channel});
}

void TStatistics::Pace()
{
    if (m_options.pacer) {
        m_options.pacer();
        return;
    }
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, kPace, [this] { return m_terminate; });
}

void TStatistics::Run()
{
    // A wake is remembered until the thread goes to sleep, so a report made
    // just before it does is never missed.
    auto suspend = [this](std::unique_lock<std::mutex> &lock) {
        m_wake.wait(lock, [this] { return m_woken || m_terminate; });
        m_woken = false;
    };

    std::unique_lock lock(m_mutex);
    while (!m_terminate) {
        if (m_insertIndex < 0 || m_tasks.empty()) {
            suspend(lock);
            continue;
        }
        // This look sees every report made so far; only a later one may wake
        // the thread once it goes to sleep.
        m_woken = false;
        // The next report not yet sent, from the send index on and round the
        // whole queue. Once the queue is full, new reports are inserted in
        // front of older ones; walking the whole queue (not only its first
        // hundred places) makes sure a report pushed back by them is still
        // sent, and lets the thread sleep once everything has gone out.
        const int count = static_cast<int>(m_tasks.size());
        if (m_sendIndex >= count)
            m_sendIndex = 0;
        int next = -1;
        for (int step = 0; step < count && next < 0; ++step) {
            const int at = (m_sendIndex + step) % count;
            if (!m_tasks[static_cast<std::size_t>(at)]->sent)
                next = at;
        }
        if (next < 0) {
            m_sendIndex = count;
            suspend(lock);
            continue;
        }
        TStatisticsTask *task = m_tasks[static_cast<std::size_t>(next)].get();
        const std::string address = Address(*task);
        lock.unlock();
        if (!address.empty()) {
            try {
                m_options.send(address);
            } catch (const std::exception &e) {
                Trace(std::string("statistics: ") + e.what());
            } catch (...) {
                Trace("statistics: send failed");
            }
        }
        lock.lock();
        // Tasks are never freed while the thread runs, and the pointer stays
        // valid when later reports are inserted.
        task->sent = true;
        m_sendIndex = next + 1;
        m_sentChanged.notify_all();
        const bool more = std::any_of(m_tasks.begin(), m_tasks.end(),
                                      [](const auto &t) { return !t->sent; });
        if (!more)
            suspend(lock);
        if (m_terminate)
            break;
        lock.unlock();
        Pace();
        lock.lock();
    }
}

} // namespace qarvon
