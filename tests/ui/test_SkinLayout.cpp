// Drawing and resize arithmetic of the picture strips and the two-state picture.
#include "uSkinLayout.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect &r, std::ostream *os)
{
    *os << "QRect(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
QT_END_NAMESPACE

namespace qarvon {
namespace {

// A rectangle by its edges, as the drawing rules state them.
QRect Edges(int left, int right, int height)
{
    return QRect(left, 0, right - left, height);
}

struct ExImageCase
{
    const char *name;
    QSize leftCap;
    QSize rightCap;
    int width;
    int progress;
    QRect left;
    QRect middle;
    QRect right;
};

using ExImageLayoutTest = ::testing::TestWithParam<ExImageCase>;

TEST_P(ExImageLayoutTest, PartsGoWhereTheProgressSays)
{
    const ExImageCase &c = GetParam();
    const TExImageLayout layout = ExImageLayout(c.leftCap, c.rightCap, c.width, c.progress);
    EXPECT_EQ(layout.Left, c.left);
    EXPECT_EQ(layout.Middle, c.middle);
    EXPECT_EQ(layout.Right, c.right);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExImageLayoutTest,
    ::testing::Values(
        ExImageCase{"PartlyFilled", {5, 6}, {5, 6}, 210, 100, Edges(0, 5, 6), Edges(5, 100, 6), {}},
        ExImageCase{"Full", {5, 6}, {5, 6}, 210, 210, Edges(0, 5, 6), Edges(5, 205, 6),
                    Edges(205, 210, 6)},
        ExImageCase{"Empty", {5, 6}, {5, 6}, 210, 0, {}, {}, {}},
        ExImageCase{"Negative", {5, 6}, {5, 6}, 210, -40, {}, {}, {}},
        ExImageCase{"OneShortOfFull", {5, 6}, {5, 6}, 210, 209, Edges(0, 5, 6), Edges(5, 209, 6),
                    {}},
        // The left cap keeps its own height; middle and right take the right cap's.
        ExImageCase{"CapHeightsDiffer", {4, 8}, {3, 6}, 50, 50, Edges(0, 4, 8), Edges(4, 47, 6),
                    Edges(47, 50, 6)},
        // Progress inside the left cap leaves no room for the middle.
        ExImageCase{"ProgressInsideCap", {5, 6}, {5, 6}, 210, 3, Edges(0, 5, 6), {}, {}},
        // Without a right cap picture the middle has no height and draws nothing.
        ExImageCase{"NoCaps", {0, 0}, {0, 0}, 100, 40, {}, {}, {}}),
    test::CaseName());

struct ProgressCase
{
    const char *name;
    int progress;
    int oldWidth;
    int newWidth;
    int expected;
};

using ExImageResizeTest = ::testing::TestWithParam<ProgressCase>;

TEST_P(ExImageResizeTest, FullStaysFullOtherwiseProportional)
{
    const ProgressCase &c = GetParam();
    EXPECT_EQ(ExImageResizedProgress(c.progress, c.oldWidth, c.newWidth), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExImageResizeTest,
    ::testing::Values(ProgressCase{"HalfStaysHalf", 105, 210, 420, 210},
                      ProgressCase{"FullStaysFull", 210, 210, 420, 420},
                      ProgressCase{"ShrinkTruncates", 100, 210, 100, 47},
                      ProgressCase{"NegativeTruncatesTowardZero", -7, 210, 100, -3},
                      ProgressCase{"FromZeroWidthBecomesFull", 30, 0, 300, 300},
                      ProgressCase{"ZeroStaysZero", 0, 210, 420, 0},
                      ProgressCase{"WideWindowDoesNotOverflow", 60000, 70000, 65000, 55714},
                      ProgressCase{"FarNegativeStaysNegative", -1200000000, 100, 200,
                                   std::numeric_limits<int>::min()}),
    test::CaseName());

TEST(ExImageStoredProgress, CappedAtClientWidthNegativeKept)
{
    EXPECT_EQ(ExImageStoredProgress(500, 210), 210);
    EXPECT_EQ(ExImageStoredProgress(100, 210), 100);
    EXPECT_EQ(ExImageStoredProgress(-5, 210), -5);
}

TEST(EffectImageLayout, CapsAndMiddleFillTheFullHeight)
{
    const TEffectImageLayout l = EffectImageLayout(6, 4, QSize(100, 26));
    EXPECT_EQ(l.Left, QRect(0, 0, 6, 26));
    EXPECT_EQ(l.Middle, QRect(6, 0, 90, 26));
    EXPECT_EQ(l.Right, QRect(96, 0, 4, 26));

    // A missing picture has width 0 and gives way to the middle.
    const TEffectImageLayout noCaps = EffectImageLayout(0, 0, QSize(100, 26));
    EXPECT_TRUE(noCaps.Left.isEmpty());
    EXPECT_EQ(noCaps.Middle, QRect(0, 0, 100, 26));
    EXPECT_TRUE(noCaps.Right.isEmpty());
}

struct BoolRectCase
{
    const char *name;
    QSize picture;
    QSize client;
    bool stretch;
    bool proportional;
    bool center;
    QRect expected;
};

using BoolImageRectTest = ::testing::TestWithParam<BoolRectCase>;

TEST_P(BoolImageRectTest, PictureRectangle)
{
    const BoolRectCase &c = GetParam();
    EXPECT_EQ(BoolImageRect(c.picture, c.client, c.stretch, c.proportional, c.center), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BoolImageRectTest,
    ::testing::Values(
        BoolRectCase{"OwnSize", {40, 20}, {100, 30}, false, false, false, {0, 0, 40, 20}},
        BoolRectCase{"OwnSizeCentred", {41, 21}, {100, 30}, false, false, true, {29, 4, 41, 21}},
        BoolRectCase{"Stretched", {40, 20}, {100, 30}, true, false, false, {0, 0, 100, 30}},
        // Proportional only shrinks a picture that is too large, unless stretched too.
        BoolRectCase{"ProportionalSmallKeepsSize", {40, 20}, {100, 30}, false, true, false,
                     {0, 0, 40, 20}},
        BoolRectCase{"ProportionalWideTooLarge", {300, 100}, {100, 30}, false, true, false,
                     {0, 0, 90, 30}},
        BoolRectCase{"ProportionalTallTooLarge", {50, 200}, {100, 30}, false, true, true,
                     {46, 0, 7, 30}},
        BoolRectCase{"ProportionalTruncates", {70, 30}, {100, 100}, true, true, false,
                     {0, 0, 100, 42}},
        BoolRectCase{"ProportionalStretchedUpCentred", {20, 10}, {100, 30}, true, true, true,
                     {20, 0, 60, 30}},
        BoolRectCase{"SquareUsesTallRule", {50, 50}, {100, 30}, false, true, true,
                     {35, 0, 30, 30}},
        BoolRectCase{"LargerThanClientCentredGoesNegative", {120, 40}, {100, 30}, false, false,
                     true, {-10, -5, 120, 40}},
        BoolRectCase{"EmptyPictureProportionalStretched", {0, 0}, {100, 30}, true, true, false,
                     {0, 0, 100, 30}}),
    test::CaseName());

TEST(HintGeometry, BarAlongTheBottomOfTheTarget)
{
    const THintGeometry g = HintGeometry(QSize(300, 200), 14);
    EXPECT_EQ(g.Picture, QRect(1, 180, 300, 20));
    EXPECT_EQ(g.Label, QRect(1, 184, 300, 14));
}

} // namespace
} // namespace qarvon
