// Docking with real top-level windows on the offscreen platform.
#include "uMagnetic.h"
#include "uWindowMover.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace qarvon {
namespace {

std::unique_ptr<QWidget> Window(QRect geometry)
{
    auto w = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    w->setGeometry(geometry);
    return w;
}

TEST(MagneticHook, FalseWithoutADockingObject)
{
    ASSERT_EQ(TMagnetic::Instance(), nullptr);
    QWidget w;
    TDockParams params;
    THookResult result;
    EXPECT_FALSE(MagneticHook(&w, WM_EXITSIZEMOVE, 0, params, result));
    TMagnetic magnetic;
    EXPECT_TRUE(MagneticHook(&w, WM_EXITSIZEMOVE, 0, params, result));
    EXPECT_FALSE(result.Handled);
}

TEST(MagneticRegister, RefusesWhatItCannotDock)
{
    TMagnetic magnetic;
    magnetic.SetEnabled(true);
    auto main = Window({0, 0, 300, 510});
    auto library = Window({300, 0, 499, 510});
    QWidget *child = new QWidget(main.get());

    EXPECT_EQ(magnetic.SnapDistance(), 10);
    EXPECT_FALSE(magnetic.Register(nullptr, nullptr));
    EXPECT_FALSE(magnetic.Register(child, nullptr)) << "not a window";
    EXPECT_TRUE(magnetic.Register(main.get(), nullptr));
    EXPECT_FALSE(magnetic.Register(main.get(), nullptr)) << "registered twice";
    EXPECT_FALSE(magnetic.Register(library.get(), child)) << "owner is not a window";
    EXPECT_FALSE(magnetic.IsRegistered(library.get()));
    EXPECT_TRUE(magnetic.Register(library.get(), main.get()));
    EXPECT_FALSE(magnetic.Unregister(child));
    EXPECT_TRUE(magnetic.Unregister(library.get()));
    EXPECT_FALSE(magnetic.Unregister(library.get()));
}

TEST(MagneticRegister, WindowThatGoesAwayLeavesNoEntry)
{
    TMagnetic magnetic;
    magnetic.SetEnabled(true);
    auto main = Window({0, 0, 300, 510});
    auto library = Window({300, 0, 499, 510});
    ASSERT_TRUE(magnetic.Register(main.get(), nullptr));
    ASSERT_TRUE(magnetic.Register(library.get(), main.get()));
    const QWidget *gone = main.get();
    main.reset();
    EXPECT_FALSE(magnetic.IsRegistered(gone));
    // The library window, now without owner, still moves and snaps.
    library->show();
    TWindowMover mover(library.get());
    mover.BeginMove(QPoint(400, 10));
    mover.MoveTo(QPoint(450, 60));
    mover.EndMove();
    EXPECT_EQ(library->frameGeometry().topLeft(), QPoint(350, 50));
}

// The main window (300 x 510) and the library window (499 x 510) as the
// program shows them, on the offscreen screen's work area.
class TwoWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        work = QGuiApplication::primaryScreen()->availableGeometry();
        magnetic.SetEnabled(true);
        magnetic.SetSnapDistance(15);
        main = Window({work.left() + 100, work.top() + 40, 300, 510});
        library = Window({work.left() + 400, work.top() + 40, 499, 510});
        main->show();
        library->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(library.get()));
        ASSERT_TRUE(magnetic.Register(main.get(), nullptr));
        ASSERT_TRUE(magnetic.Register(library.get(), main.get()));
        mainMover = std::make_unique<TWindowMover>(main.get());
        libraryMover = std::make_unique<TWindowMover>(library.get());
    }

    // Drags a window by its header from one cursor position to another.
    static void Drag(TWindowMover &mover, QWidget &w, QPoint by)
    {
        const QPoint grip = w.frameGeometry().topLeft() + QPoint(40, 10);
        mover.BeginMove(grip);
        mover.MoveTo(grip + by / 2);
        mover.MoveTo(grip + by);
        mover.EndMove();
    }

    QRect work;
    TMagnetic magnetic;
    std::unique_ptr<QWidget> main;
    std::unique_ptr<QWidget> library;
    std::unique_ptr<TWindowMover> mainMover;
    std::unique_ptr<TWindowMover> libraryMover;
};

TEST_F(TwoWindowsTest, LibraryDockedBesideTheMainWindowIsGlued)
{
    EXPECT_TRUE(magnetic.IsGlued(library.get()));
    EXPECT_FALSE(magnetic.IsGlued(main.get()));
}

TEST_F(TwoWindowsTest, SnapsToTheWorkAreaWithinTheDistanceOnly)
{
    // Away from the main window first, so only the work area is in reach.
    Drag(*libraryMover, *library, QPoint(0, 30));
    const int toLeftEdge = library->frameGeometry().left() - work.left();
    Drag(*libraryMover, *library, QPoint(-(toLeftEdge - 14), 0));
    EXPECT_EQ(library->frameGeometry().left(), work.left());

    Drag(*libraryMover, *library, QPoint(15, 0));
    EXPECT_EQ(library->frameGeometry().left(), work.left() + 15);
}

TEST_F(TwoWindowsTest, LibraryDraggedNearTheMainWindowSnapsToIt)
{
    Drag(*libraryMover, *library, QPoint(40, 100));
    EXPECT_FALSE(magnetic.IsGlued(library.get()));
    // Back to 8 pixels right of the main window's right edge, a little lower.
    const int gap = library->frameGeometry().left() - main->frameGeometry().right() - 1;
    Drag(*libraryMover, *library, QPoint(-(gap - 8), -60));
    EXPECT_EQ(library->frameGeometry().left(), main->frameGeometry().right() + 1);
    EXPECT_TRUE(magnetic.IsGlued(library.get())) << "the end of the move glues it again";
}

TEST_F(TwoWindowsTest, MainWindowDoesNotSnapToItsGluedLibrary)
{
    const QPoint before = main->frameGeometry().topLeft();
    Drag(*mainMover, *main, QPoint(-6, 200));
    EXPECT_EQ(main->frameGeometry().topLeft(), before + QPoint(-6, 200));
}

TEST_F(TwoWindowsTest, ResizingSnapsTheDraggedEdge)
{
    Drag(*libraryMover, *library, QPoint(40, 0));
    const QRect start = library->frameGeometry();
    libraryMover->BeginResize(dock::seLeft, start.topLeft() + QPoint(1, 100));
    libraryMover->ResizeTo(start.topLeft() + QPoint(-30, 100));
    libraryMover->EndResize();
    EXPECT_EQ(library->frameGeometry().left(), main->frameGeometry().right() + 1);
    EXPECT_EQ(library->frameGeometry().right(), start.right());
}

TEST(DockingOff, WindowsStillMoveButSnapNowhere)
{
    TMagnetic magnetic;
    magnetic.SetEnabled(false); // as on a platform where windows cannot place themselves
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    auto main = Window({work.left() + 100, work.top() + 40, 300, 510});
    main->show();
    EXPECT_FALSE(magnetic.Register(main.get(), nullptr));
    TWindowMover mover(main.get());
    const QPoint grip = main->frameGeometry().topLeft() + QPoint(10, 10);
    mover.BeginMove(grip);
    mover.MoveTo(grip + QPoint(-95, 0));
    mover.EndMove();
    EXPECT_EQ(main->frameGeometry().left(), work.left() + 5);
}

TEST(WindowMoverEdges, HitTestOfTheResizeBorder)
{
    const QSize size(300, 510);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {5, 5}, 10), dock::seTopLeft);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {295, 5}, 10), dock::seTopRight);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {5, 505}, 10), dock::seBottomLeft);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {295, 505}, 10), dock::seBottomRight);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {150, 3}, 10), dock::seTop);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {150, 500}, 10), dock::seBottom);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {9, 200}, 10), dock::seLeft);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {290, 200}, 10), dock::seRight);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {150, 200}, 10), 0);
    EXPECT_EQ(TWindowMover::EdgeAt(size, {0, 0}, 0), 0);
}

// A drag whose handle goes away (destroyed or hidden) mid-drag gets no
// release; the mover ends the drag itself instead of staying stuck in it.
TEST(WindowMoverHandles, DragEndsWhenItsHandleGoesAway)
{
    TMagnetic magnetic;
    magnetic.SetEnabled(true);
    if (!TMagnetic::PlatformPlacesWindows())
        GTEST_SKIP() << "the platform moves windows itself";
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    for (const bool destroy : {true, false}) {
        auto window = Window({work.left() + 100, work.top() + 40, 300, 510});
        auto *header = new QWidget(window.get());
        header->setGeometry(0, 0, 300, 30);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        TWindowMover mover(window.get());
        mover.AddDragHandle(header);

        QTest::mousePress(header, Qt::LeftButton, {}, QPoint(40, 10));
        ASSERT_TRUE(mover.IsDragging()) << (destroy ? "destroy" : "hide");
        if (destroy)
            delete header;
        else
            header->hide();
        EXPECT_FALSE(mover.IsDragging()) << (destroy ? "destroy" : "hide");
    }
}

} // namespace
} // namespace qarvon
