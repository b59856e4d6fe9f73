#include "uMessageBus.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QtDebug>

#include <exception>

namespace qarvon {

namespace {

bool OnUiThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

TMessageBus &TMessageBus::Instance()
{
    static TMessageBus bus;
    return bus;
}

THandle TMessageBus::Register(TMessageHandler handler)
{
    Q_ASSERT(OnUiThread());
    const THandle handle = m_next.fetch_add(1);
    m_receivers.emplace(handle, std::move(handler));
    return handle;
}

void TMessageBus::Unregister(THandle handle)
{
    Q_ASSERT(OnUiThread());
    m_receivers.erase(handle);
    // A published handle of a window that is gone must not reach a stranger.
    THandle expected = handle;
    m_mainWindow.compare_exchange_strong(expected, 0);
    expected = handle;
    m_musicLibrary.compare_exchange_strong(expected, 0);
}

bool TMessageBus::IsRegistered(THandle handle) const
{
    Q_ASSERT(OnUiThread());
    return m_receivers.count(handle) != 0;
}

TSendResult TMessageBus::DeliverNow(THandle target, const TMessage &message)
{
    const auto it = m_receivers.find(target);
    if (it == m_receivers.end())
        return {};
    // A copy, so a handler that unregisters its own window is not pulled from under itself.
    const TMessageHandler handler = it->second;
    try {
        return {true, handler(message)};
    } catch (const std::exception &e) {
        qWarning("message %u: handler failed: %s", message.Msg, e.what());
    } catch (...) {
        qWarning("message %u: handler failed", message.Msg);
    }
    return {true, 0};
}

TSendResult TMessageBus::Send(THandle target, TMessage message)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || target == 0)
        return {};
    if (QThread::currentThread() == app->thread())
        return DeliverNow(target, message);
    TSendResult result;
    // The blocked sender is released by Qt even when the application object
    // goes away with the call still queued.
    QMetaObject::invokeMethod(
        app, [this, target, &message, &result] { result = DeliverNow(target, message); },
        Qt::BlockingQueuedConnection);
    return result;
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
