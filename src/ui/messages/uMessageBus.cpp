#include "uMessageBus.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QtDebug>

#include <algorithm>
#include <exception>

namespace qarvon {

namespace {

bool OnUiThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

// A message a worker sent, waiting for the UI thread to run it.
struct TMessageBus::TPendingSend
{
    THandle Target = 0;
    TMessage Message;
    TSendResult Result;
    bool Done = false; // guarded by m_mutex
};

TMessageBus &TMessageBus::Instance()
{
    static TMessageBus bus;
    return bus;
}

THandle TMessageBus::Register(TMessageHandler handler)
{
    Q_ASSERT(OnUiThread());
    Watch(QCoreApplication::instance());
    const THandle handle = m_next.fetch_add(1);
    std::lock_guard lock(m_mutex);
    m_receivers.emplace(handle, std::move(handler));
    return handle;
}

void TMessageBus::Unregister(THandle handle)
{
    Q_ASSERT(OnUiThread());
    {
        std::lock_guard lock(m_mutex);
        m_receivers.erase(handle);
    }
    Release(handle);
    // A published handle of a window that is gone must not reach a stranger.
    THandle expected = handle;
    m_mainWindow.compare_exchange_strong(expected, 0);
    expected = handle;
    m_musicLibrary.compare_exchange_strong(expected, 0);
}

bool TMessageBus::IsRegistered(THandle handle) const
{
    std::lock_guard lock(m_mutex);
    return m_receivers.count(handle) != 0;
}

TSendResult TMessageBus::DeliverNow(THandle target, const TMessage &message)
{
    // A copy, run outside the lock, so a handler that sends, or unregisters
    // its own window, is not pulled from under itself.
    TMessageHandler handler;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_receivers.find(target);
        if (it == m_receivers.end())
            return {};
        handler = it->second;
    }
    try {
        return {true, handler(message)};
    } catch (const std::exception &e) {
        qWarning("message %u: handler failed: %s", message.Msg, e.what());
    } catch (...) {
        qWarning("message %u: handler failed", message.Msg);
    }
    return {true, 0};
}

void TMessageBus::Serve(const std::shared_ptr<TPendingSend> &call)
{
    {
        std::lock_guard lock(m_mutex);
        if (call->Done)
            return; // let go already
        std::erase(m_pending, call);
    }
    const TSendResult result = DeliverNow(call->Target, call->Message);
    {
        std::lock_guard lock(m_mutex);
        call->Result = result;
        call->Done = true;
    }
    m_changed.notify_all();
}

void TMessageBus::Release(THandle target)
{
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_pending, [target](const std::shared_ptr<TPendingSend> &call) {
            if (target != 0 && call->Target != target)
                return false;
            call->Done = true; // undelivered
            return true;
        });
    }
    m_changed.notify_all();
}

// Nothing runs a sent message once the event loop has ended, so its senders
// are let go and later ones are refused, until the loop runs again.
void TMessageBus::LoopEnded(QCoreApplication *app)
{
    {
        std::lock_guard lock(m_mutex);
        m_loopEnded = true;
    }
    Release(0);
    QMetaObject::invokeMethod(
        app,
        [this] {
            std::lock_guard lock(m_mutex);
            m_loopEnded = false;
        },
        Qt::QueuedConnection);
}

// Called as receivers register, so the end of the loop is seen before any
// sender could wait for a window.
void TMessageBus::Watch(QCoreApplication *app)
{
    if (!app || m_watched == app)
        return;
    m_watched = app;
    QObject::connect(app, &QCoreApplication::aboutToQuit, app, [this, app] { LoopEnded(app); },
                     Qt::DirectConnection);
    QObject::connect(app, &QObject::destroyed, [this] {
        m_watched = nullptr;
        {
            std::lock_guard lock(m_mutex);
            m_loopEnded = false;
        }
        Release(0);
    });
}

TSendResult TMessageBus::Send(THandle target, TMessage message)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || target == 0)
        return {};
    if (QThread::currentThread() == app->thread())
        return DeliverNow(target, message);
    auto call = std::make_shared<TPendingSend>();
    call->Target = target;
    call->Message = std::move(message);
    {
        std::lock_guard lock(m_mutex);
        if (m_loopEnded || m_receivers.count(target) == 0)
            return {};
        m_pending.push_back(call);
    }
    m_changed.notify_all(); // a UI thread in WaitForWorker runs it at once
    QMetaObject::invokeMethod(app, [this, call] { Serve(call); }, Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&call] { return call->Done; });
    return call->Result;
}

bool TMessageBus::Post(THandle target, TMessage message)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    return QMetaObject::invokeMethod(
        app, [this, target, m = std::move(message)] { DeliverNow(target, m); },
        Qt::QueuedConnection);
}

TSendResult TMessageBus::Deliver(THandle target, TMessage message)
{
    const TMessageInfo *info = FindMessageInfo(message.Msg);
    if (info && info->Delivery == TDelivery::Posted)
        return {Post(target, std::move(message)), 0};
    return Send(target, std::move(message));
}

void TMessageBus::WaitForWorker(QThread &worker)
{
    Q_ASSERT(OnUiThread());
    bool ended = false; // guarded by m_mutex
    const QMetaObject::Connection connection = QObject::connect(
        &worker, &QThread::finished, &worker,
        [this, &ended] {
            {
                std::lock_guard lock(m_mutex);
                ended = true;
            }
            m_changed.notify_all();
        },
        Qt::DirectConnection);
    // Connected first: a worker that is still running will report its end.
    if (!worker.isRunning()) {
        std::lock_guard lock(m_mutex);
        ended = true;
    }
    for (;;) {
        std::shared_ptr<TPendingSend> call;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return ended || !m_pending.empty(); });
            if (m_pending.empty())
                break;
            call = m_pending.front();
        }
        Serve(call);
    }
    QObject::disconnect(connection);
    worker.wait();
}

TMessageEndpoint::TMessageEndpoint()
    : m_handle(TMessageBus::Instance().Register(
          [this](const TMessage &message) { return Dispatch(message); }))
{
}

TMessageEndpoint::~TMessageEndpoint()
{
    TMessageBus::Instance().Unregister(m_handle);
}

void TMessageEndpoint::On(quint32 msg, TMessageHandler handler)
{
    m_handlers[msg] = std::move(handler);
}

qintptr TMessageEndpoint::Dispatch(const TMessage &message)
{
    const auto it = m_handlers.find(message.Msg);
    if (it == m_handlers.end() || !it->second)
        return 0;
    const TMessageHandler handler = it->second;
    return handler(message);
}

} // namespace qarvon
