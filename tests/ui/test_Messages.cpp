// The message layer: numbers, sent and posted delivery from the UI thread and
// from workers, texts that outlive their senders, and receivers that are gone.
#include "uMessageBus.h"
#include "uMessages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace qarvon {
namespace {

TEST(MessageTable, NumbersAndDelivery)
{
    struct Row
    {
        quint32 msg;
        TDelivery delivery;
    };
    const Row rows[] = {
        {1013, TDelivery::Sent},   {1015, TDelivery::Sent},   {1016, TDelivery::Sent},
        {1017, TDelivery::Posted}, {1019, TDelivery::Posted}, {1020, TDelivery::Posted},
        {3239, TDelivery::Sent},   {3240, TDelivery::Sent},   {3241, TDelivery::Posted},
        {3242, TDelivery::Sent},   {3243, TDelivery::Sent},   {3244, TDelivery::Posted},
        {3245, TDelivery::Sent},   {3246, TDelivery::Posted}, {74, TDelivery::Sent},
    };
    for (const Row &r : rows) {
        const TMessageInfo *info = FindMessageInfo(r.msg);
        ASSERT_NE(info, nullptr) << r.msg;
        EXPECT_EQ(info->Delivery, r.delivery) << info->Name;
    }
    EXPECT_EQ(FindMessageInfo(1014), nullptr);
}

TEST(MessageBuilders, ParametersGoInTheirPlaces)
{
    const TMessage started = msg::TrackStarted(3, "T100", "晴天");
    EXPECT_EQ(started.Msg, WM_TRACK_STARTED);
    EXPECT_EQ(started.WParam, 3);
    std::string id;
    std::string name;
    SplitTrackStarted(started.Text, id, name);
    EXPECT_EQ(id, "T100");
    EXPECT_EQ(name, "晴天");
    SplitTrackStarted("T9", id, name);
    EXPECT_EQ(id, "T9");
    EXPECT_EQ(name, "");

    EXPECT_EQ(msg::MusicBoxState(true).LParam, 1);
    EXPECT_EQ(msg::MusicBoxState(false).LParam, 0);
    EXPECT_EQ(msg::ListChanged(lcDefaultListTracks).LParam, 3);
    EXPECT_EQ(msg::SearchTotal(skArtists).LParam, 10);
    const TMessage menu = msg::DownloadMenuItem(true, 100);
    EXPECT_EQ(menu.WParam, 1);
    EXPECT_EQ(menu.LParam, 100);
    EXPECT_EQ(msg::TrackColumns(false, "专辑名称").Text, "专辑名称");
    const TMessage copy = msg::CopyData("12345,x,0");
    EXPECT_EQ(copy.Msg, WM_COPYDATA);
    EXPECT_EQ(copy.LParam, 10);
    EXPECT_EQ(copy.Text, "12345,x,0");
}

// A window's inbox that records what it got and on which thread.
class Inbox
{
public:
    Inbox()
    {
        endpoint.On(WM_ADD_TO_DEFAULT_LIST, [this](const TMessage &m) { return Record(m, 7); });
        endpoint.On(WM_SEARCH_ARTIST, [this](const TMessage &m) { return Record(m, 0); });
        endpoint.On(WM_LIST_CHANGED, [this](const TMessage &m) { return Record(m, m.LParam); });
        endpoint.On(WM_PLAY_SELECTED, [this](const TMessage &m) { return Record(m, 0); });
    }

    qintptr Record(const TMessage &m, qintptr result)
    {
        ++count;
        last = m;
        thread = QThread::currentThread();
        return result;
    }

    TMessageEndpoint endpoint;
    int count = 0;
    TMessage last;
    QThread *thread = nullptr;
};

TEST(MessageSend, OnTheUiThreadRunsAtOnce)
{
    Inbox inbox;
    const TSendResult r = TMessageBus::Instance().Send(inbox.endpoint.Handle(), msg::AddToDefaultList());
    EXPECT_TRUE(r.Delivered);
    EXPECT_EQ(r.Result, 7);
    EXPECT_EQ(inbox.count, 1);
    EXPECT_EQ(inbox.thread, QThread::currentThread());
}

TEST(MessageSend, FromAWorkerBlocksUntilTheUiThreadHandledIt)
{
    Inbox inbox;
    const THandle target = inbox.endpoint.Handle();
    std::atomic<int> countSeenByWorker{-1};
    TSendResult result;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        result = TMessageBus::Instance().Send(target, msg::AddToDefaultList());
        // The handler has run by now, on the other thread.
        countSeenByWorker = inbox.count;
    }));
    QSignalSpy finished(worker.get(), &QThread::finished);
    worker->start();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(result.Delivered);
    EXPECT_EQ(result.Result, 7);
    EXPECT_EQ(countSeenByWorker.load(), 1);
    EXPECT_EQ(inbox.thread, QCoreApplication::instance()->thread());
}

// A worker sending to the window.
std::unique_ptr<QThread> Sender(THandle target, TSendResult &result)
{
    return std::unique_ptr<QThread>(QThread::create(
        [target, &result] { result = TMessageBus::Instance().Send(target, msg::AddToDefaultList()); }));
}

// Joins a worker the way a window that stops its worker does: the UI thread
// blocks and runs no events meanwhile. A worker that never ends fails the
// test instead of hanging it.
bool JoinedWithoutEventLoop(QThread &worker)
{
    if (worker.wait(QDeadlineTimer(30000)))
        return true;
    QCoreApplication::processEvents(); // lets it go, so the test can report
    worker.wait();
    return false;
}

TEST(MessageSend, FromAWorkerToAWindowThatGoesAwayEndsTheWait)
{
    auto inbox = std::make_unique<Inbox>();
    TSendResult result{true, 1};
    const auto worker = Sender(inbox->endpoint.Handle(), result);
    worker->start();
    inbox.reset(); // before or after the worker sent: it must not wait on
    EXPECT_TRUE(JoinedWithoutEventLoop(*worker));
    EXPECT_FALSE(result.Delivered);
    QCoreApplication::processEvents();
}

TEST(MessageSend, UiThreadJoiningASendingWorkerRunsWhatItSends)
{
    Inbox inbox;
    TSendResult result;
    const auto worker = Sender(inbox.endpoint.Handle(), result);
    worker->start();
    TMessageBus::Instance().WaitForWorker(*worker);
    EXPECT_TRUE(worker->isFinished());
    EXPECT_TRUE(result.Delivered);
    EXPECT_EQ(result.Result, 7);
    EXPECT_EQ(inbox.count, 1);
    EXPECT_EQ(inbox.thread, QCoreApplication::instance()->thread());
    QCoreApplication::processEvents();
    EXPECT_EQ(inbox.count, 1) << "run once only";
}

TEST(MessageSend, AfterTheEventLoopEndedAWorkerIsNotKeptWaiting)
{
    Inbox inbox;
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();

    // The program is going down and joins its workers.
    TSendResult late{true, 1};
    const auto worker = Sender(inbox.endpoint.Handle(), late);
    worker->start();
    EXPECT_TRUE(JoinedWithoutEventLoop(*worker));
    EXPECT_FALSE(late.Delivered);
    EXPECT_EQ(inbox.count, 0);

    // A loop that runs again serves senders again.
    QCoreApplication::processEvents();
    TSendResult again;
    const auto next = Sender(inbox.endpoint.Handle(), again);
    QSignalSpy finished(next.get(), &QThread::finished);
    next->start();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(again.Delivered);
    EXPECT_EQ(inbox.count, 1);
}

TEST(MessagePost, QueuedAndTheTextBelongsToTheMessage)
{
    Inbox inbox;
    {
        std::string keyword = "周小伦";
        ASSERT_TRUE(TMessageBus::Instance().Post(inbox.endpoint.Handle(),
                                                 msg::SearchArtist(keyword)));
        keyword.assign("overwritten by the sender");
    }
    EXPECT_EQ(inbox.count, 0) << "a posted message waits for the event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(inbox.count, 1);
    EXPECT_EQ(inbox.last.Text, "周小伦");
}

TEST(MessagePost, FromAWorkerArrivesOnTheUiThread)
{
    Inbox inbox;
    const THandle target = inbox.endpoint.Handle();
    std::unique_ptr<QThread> worker(QThread::create([target] {
        std::string keyword(2000, 'k'); // gone when the worker ends
        TMessageBus::Instance().Post(target, msg::SearchArtist(keyword));
    }));
    QSignalSpy finished(worker.get(), &QThread::finished);
    worker->start();
    ASSERT_TRUE(finished.wait(10000));
    while (inbox.count == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(inbox.last.Text, std::string(2000, 'k'));
    EXPECT_EQ(inbox.thread, QCoreApplication::instance()->thread());
}

TEST(MessageDelivery, FollowsTheTable)
{
    Inbox inbox;
    TMessageBus &bus = TMessageBus::Instance();
    const TSendResult sent = bus.Deliver(inbox.endpoint.Handle(), msg::ListChanged(lcPlaylists));
    EXPECT_EQ(inbox.count, 1);
    EXPECT_EQ(sent.Result, 1);
    bus.Deliver(inbox.endpoint.Handle(), msg::PlaySelected());
    EXPECT_EQ(inbox.count, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(inbox.count, 2);
}

TEST(MessageDelivery, ToAWindowThatIsGoneIsDropped)
{
    TMessageBus &bus = TMessageBus::Instance();
    THandle gone = 0;
    {
        Inbox inbox;
        gone = inbox.endpoint.Handle();
        bus.PublishMusicLibrary(gone);
        // Posted while the window lives, delivered after it went away.
        bus.Post(gone, msg::SearchArtist("late"));
    }
    EXPECT_EQ(bus.MusicLibrary(), 0u) << "a published handle is withdrawn with its window";
    QCoreApplication::processEvents();
    EXPECT_FALSE(bus.Send(gone, msg::AddToDefaultList()).Delivered);
    EXPECT_FALSE(bus.Send(0, msg::AddToDefaultList()).Delivered);

    // A new window never receives what was meant for an old handle.
    Inbox next;
    EXPECT_NE(next.endpoint.Handle(), gone);
    EXPECT_FALSE(bus.Send(gone, msg::AddToDefaultList()).Delivered);
    EXPECT_EQ(next.count, 0);
}

TEST(MessageDelivery, UnhandledNumbersAndFailingHandlersStayInside)
{
    TMessageEndpoint endpoint;
    endpoint.On(WM_SHOW_LIST, [](const TMessage &) -> qintptr { throw std::runtime_error("x"); });
    TMessageBus &bus = TMessageBus::Instance();
    const TSendResult unhandled = bus.Send(endpoint.Handle(), msg::BackButton());
    EXPECT_TRUE(unhandled.Delivered);
    EXPECT_EQ(unhandled.Result, 0);
    const TSendResult failed = bus.Send(endpoint.Handle(), msg::ShowList());
    EXPECT_TRUE(failed.Delivered);
    EXPECT_EQ(failed.Result, 0);
}

} // namespace
} // namespace qarvon
