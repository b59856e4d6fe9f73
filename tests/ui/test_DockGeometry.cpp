// The rectangle arithmetic of docking: touching, glue, moving and sizing.
#include "uDockGeometry.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qarvon::dock {

void PrintTo(const TDockRect &r, std::ostream *os)
{
    *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

// Windows are told apart by these addresses only.
const int kMain = 0;
const int kLibrary = 0;
const void *const Main = &kMain;
const void *const Library = &kLibrary;

const TDockRect kWorkArea{0, 0, 1280, 1000};
constexpr int kSnap = 15;

struct TouchCase
{
    const char *name;
    TDockRect a;
    TDockRect b;
    bool touching;
};

using TouchingTest = ::testing::TestWithParam<TouchCase>;

TEST_P(TouchingTest, EdgesMeetWithoutGap)
{
    const TouchCase &c = GetParam();
    EXPECT_EQ(Touching(c.a, c.b), c.touching);
    EXPECT_EQ(Touching(c.b, c.a), c.touching);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TouchingTest,
    ::testing::Values(TouchCase{"SideBySide", {0, 0, 300, 510}, {300, 0, 799, 510}, true},
                      TouchCase{"OnePixelGap", {0, 0, 300, 510}, {301, 0, 800, 510}, false},
                      TouchCase{"OverlapWithSharedTop", {0, 0, 300, 510}, {200, 0, 700, 400},
                                true},
                      TouchCase{"OverlapNoSharedEdge", {0, 0, 300, 510}, {100, 50, 200, 100},
                                false},
                      TouchCase{"CornerToCorner", {0, 0, 100, 100}, {100, 100, 200, 200}, true},
                      TouchCase{"SameLeftFarBelow", {0, 0, 100, 100}, {0, 300, 100, 400}, false},
                      TouchCase{"Stacked", {0, 0, 100, 100}, {20, 100, 80, 150}, true}),
    test::CaseName());

TEST(Snap, StrictlyWithinTheDistance)
{
    int correction = 0;
    Snap(14, 0, kSnap, correction);
    EXPECT_EQ(correction, -14);
    correction = 0;
    Snap(15, 0, kSnap, correction);
    EXPECT_EQ(correction, 0);
    Snap(-14, 0, kSnap, correction);
    EXPECT_EQ(correction, 14);
}

TEST(RecomputeGlue, OwnedWindowTouchingItsOwnerIsGluedAndChainsFollow)
{
    const int third = 0;
    std::vector<TDockEntry> entries = {
        {Main, nullptr, {0, 0, 300, 510}, true, true},
        {Library, Main, {300, 0, 799, 510}, true, false},
        // Owned by Main too, touching only the library window.
        {&third, Main, {799, 0, 900, 200}, true, false},
    };
    RecomputeGlue(entries);
    EXPECT_FALSE(entries[0].glued) << "a window without owner is never glued";
    EXPECT_TRUE(entries[1].glued);
    EXPECT_TRUE(entries[2].glued) << "chained to a glued sibling";

    entries[1].rect = {310, 0, 809, 510};
    RecomputeGlue(entries);
    EXPECT_FALSE(entries[1].glued);
    EXPECT_FALSE(entries[2].glued);

    entries[1].rect = {300, 0, 799, 510};
    entries[1].visible = false;
    RecomputeGlue(entries);
    EXPECT_FALSE(entries[1].glued) << "hidden windows are not glued";
}

TEST(RecomputeGlue, OwnerThatIsNotRegisteredLeavesUnglued)
{
    const int stranger = 0;
    std::vector<TDockEntry> entries = {{Library, &stranger, {300, 0, 799, 510}, true, true}};
    RecomputeGlue(entries);
    EXPECT_FALSE(entries[0].glued);
}

// A move of the library window (entry 1) that began with the cursor at
// (400, 10) over a window at (300, 0): the offset is (-100, -10).
struct MoveCase
{
    const char *name;
    QPoint cursor;
    std::vector<TDockEntry> entries;
    TDockRect expected;
};

using MovingTest = ::testing::TestWithParam<MoveCase>;

TEST_P(MovingTest, FollowsTheCursorAndSnaps)
{
    const MoveCase &c = GetParam();
    const TMoveAnchor anchor{QPoint(400, 10), QPoint(-100, -10)};
    const TDockRect proposed{0, 0, 499, 510}; // only its size counts
    EXPECT_EQ(Moving(proposed, c.cursor, anchor, kWorkArea, c.entries, 1, kSnap), c.expected);
}

std::vector<TDockEntry> FarApart()
{
    return {{Main, nullptr, {700, 200, 1000, 710}, true, false},
            {Library, Main, {300, 0, 799, 510}, true, false}};
}

INSTANTIATE_TEST_SUITE_P(
    Table, MovingTest,
    ::testing::Values(
        MoveCase{"FollowsCursorExactly", {450, 60}, FarApart(), {350, 50, 849, 560}},
        MoveCase{"LeftEdge14FromWorkAreaSnaps", {114, 60}, FarApart(), {0, 50, 499, 560}},
        MoveCase{"LeftEdge15FromWorkAreaStays", {115, 60}, FarApart(), {15, 50, 514, 560}},
        MoveCase{"TopSnapsToWorkArea", {450, 22}, FarApart(), {350, 0, 849, 510}},
        // The library's right edge comes within reach of the main window's left.
        MoveCase{"SnapsBesideMainWindow", {292, 260}, FarApart(), {201, 250, 700, 760}},
        // Reaches both the work area's left (0) and the main window's left
        // edge: the later target (the main window) decides.
        MoveCase{"LaterTargetWins",
                 {105, 300},
                 {{Main, nullptr, {-8, 600, 292, 1110}, true, false},
                  {Library, Main, {300, 0, 799, 510}, true, false}},
                 {-8, 290, 491, 800}},
        MoveCase{"HiddenWindowIsNoTarget",
                 {292, 260},
                 {{Main, nullptr, {700, 200, 1000, 710}, false, false},
                  {Library, Main, {300, 0, 799, 510}, true, false}},
                 {192, 250, 691, 760}}),
    test::CaseName());

TEST(Moving, MainWindowDoesNotSnapToItsGluedLibraryWindow)
{
    // The library window is docked on the main window's right and glued.
    const std::vector<TDockEntry> entries = {{Main, nullptr, {100, 100, 400, 610}, true, false},
                                             {Library, Main, {400, 100, 899, 610}, true, true}};
    const TMoveAnchor anchor{QPoint(150, 110), QPoint(-50, -10)};
    // A small drag to the left: snapping to the library's edge would pull it back.
    const TDockRect moved = Moving({100, 100, 400, 610}, QPoint(145, 300), anchor, kWorkArea,
                                   entries, 0, kSnap);
    EXPECT_EQ(moved, (TDockRect{95, 290, 395, 800}));
}

TEST(Moving, GluedWindowTravellingAlongSnapsForItsOwner)
{
    // The main window drags the glued library window with it; the library's
    // predicted right edge comes 10 pixels short of a third window's left edge.
    const int third = 0;
    const std::vector<TDockEntry> entries = {{Main, nullptr, {100, 100, 400, 610}, true, false},
                                             {Library, Main, {400, 100, 899, 610}, true, true},
                                             {&third, nullptr, {1000, 100, 1100, 300}, true, false}};
    const TMoveAnchor anchor{QPoint(150, 110), QPoint(-50, -10)};
    const TDockRect moved = Moving({100, 100, 400, 610}, QPoint(241, 310), anchor, kWorkArea,
                                   entries, 0, kSnap);
    EXPECT_EQ(moved, (TDockRect{201, 300, 501, 810}));
}

struct SizeCase
{
    const char *name;
    TDockRect proposed;
    int edge;
    TDockRect expected;
};

using SizingTest = ::testing::TestWithParam<SizeCase>;

TEST_P(SizingTest, DraggedEdgesSnap)
{
    const SizeCase &c = GetParam();
    // The library window (entry 1) is resized beside the main window at x 700..1000.
    const std::vector<TDockEntry> entries = {{Main, nullptr, {700, 200, 1000, 710}, true, true},
                                             {Library, Main, {100, 100, 600, 610}, true, false}};
    EXPECT_EQ(Sizing(c.proposed, c.edge, kWorkArea, entries, 1, kSnap), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SizingTest,
    ::testing::Values(
        SizeCase{"RightEdgeSnapsToMainLeft", {100, 100, 690, 610}, seRight, {100, 100, 700, 610}},
        SizeCase{"RightEdgeOutOfReach", {100, 100, 685, 610}, seRight, {100, 100, 685, 610}},
        SizeCase{"LeftEdgeSnapsToWorkArea", {10, 100, 600, 610}, seLeft, {0, 100, 600, 610}},
        SizeCase{"OnlyTheDraggedEdgeMoves", {10, 100, 690, 610}, seLeft, {0, 100, 690, 610}},
        SizeCase{"BottomSnapsToMainBottom", {100, 100, 690, 700}, seBottom, {100, 100, 690, 710}},
        // Bottom edges only meet when the windows overlap sideways.
        SizeCase{"BottomApartSideways", {100, 100, 600, 700}, seBottom, {100, 100, 600, 700}},
        SizeCase{"CornerSnapsBothEdges", {100, 100, 692, 704}, seBottomRight, {100, 100, 700, 710}},
        SizeCase{"TopSnapsToWorkAreaTop", {100, 8, 600, 610}, seTopLeft, {100, 0, 600, 610}}),
    test::CaseName());

} // namespace
} // namespace qarvon::dock
