#pragma once

#include "uMessages.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

QT_BEGIN_NAMESPACE
class QCoreApplication;
class QThread;
QT_END_NAMESPACE

namespace qarvon {

// Names a receiver of messages; 0 is no receiver. Handles are never reused,
// so a handle kept after its window went away reaches nobody.
using THandle = quint32;

using TMessageHandler = std::function<qintptr(const TMessage &)>;

struct TSendResult
{
    bool Delivered = false; // false: nobody had that handle, or there is no UI thread
    qintptr Result = 0;
};

// Carries messages to the windows on the UI thread (the thread of the
// application object). Receivers register and unregister on the UI thread;
// any thread may send or post.
class TMessageBus
{
public:
    static TMessageBus &Instance();

    THandle Register(TMessageHandler handler);
    void Unregister(THandle handle);
    bool IsRegistered(THandle handle) const;

    // Runs the receiver's handler and returns its result. On the UI thread the
    // call is direct; from another thread it waits until the UI thread has run
    // it. A message for a handle nobody holds is dropped. A waiting sender is
    // let go undelivered when its receiver unregisters or the event loop ends,
    // and a sender finds no wait at all once either has happened, so no worker
    // waits for a window or a loop that will never answer.
    TSendResult Send(THandle target, TMessage message);
    // Queues the message for the UI thread and returns at once; false only
    // when there is no application object to queue it on.
    bool Post(THandle target, TMessage message);
    // Sends or posts as the message table says for that number.
    TSendResult Deliver(THandle target, TMessage message);

    // Waits on the UI thread until the worker thread has ended, running the
    // messages it sends meanwhile: a worker blocked in Send would otherwise
    // never end. Join every worker that may send this way, not with
    // QThread::wait.
    void WaitForWorker(QThread &worker);

    // The two program-wide handles (0 until the window exists).
    void PublishMainWindow(THandle handle) { m_mainWindow.store(handle); }
    THandle MainWindow() const { return m_mainWindow.load(); }
    void PublishMusicLibrary(THandle handle) { m_musicLibrary.store(handle); }
    THandle MusicLibrary() const { return m_musicLibrary.load(); }

private:
    struct TPendingSend;

    TMessageBus() = default;
    TSendResult DeliverNow(THandle target, const TMessage &message);
    void Serve(const std::shared_ptr<TPendingSend> &call);
    // Lets go the senders waiting for that receiver (0: all of them).
    void Release(THandle target);
    void Watch(QCoreApplication *app);
    void LoopEnded(QCoreApplication *app);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;                  // a send was queued or answered
    std::map<THandle, TMessageHandler> m_receivers;     // guarded by m_mutex
    std::vector<std::shared_ptr<TPendingSend>> m_pending; // guarded by m_mutex
    bool m_loopEnded = false;                           // guarded by m_mutex
    QCoreApplication *m_watched = nullptr;              // UI thread only
    std::atomic<THandle> m_next{1};
    std::atomic<THandle> m_mainWindow{0};
    std::atomic<THandle> m_musicLibrary{0};
};

// A window's inbox: registers on creation, unregisters on destruction, and
// hands each message number to the handler set for it. Numbers without a
// handler are dropped with result 0. Lives on the UI thread.
class TMessageEndpoint
{
public:
    TMessageEndpoint();
    ~TMessageEndpoint();
    TMessageEndpoint(const TMessageEndpoint &) = delete;
    TMessageEndpoint &operator=(const TMessageEndpoint &) = delete;

    THandle Handle() const { return m_handle; }
    void On(quint32 msg, TMessageHandler handler);

private:
    qintptr Dispatch(const TMessage &message);

    THandle m_handle = 0;
    std::map<quint32, TMessageHandler> m_handlers;
};

} // namespace qarvon
