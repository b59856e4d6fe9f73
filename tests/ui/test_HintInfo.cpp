// The hint bar: where it appears, how long, and what hides it.
#include "uHintInfo.h"
#include "uSkinControl.h"

#include "TempAppRoot.h"

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace qarvon {
namespace {

class HintInfoTest : public ::testing::Test
{
protected:
    HintInfoTest() { target.resize(300, 200); }

    QWidget target;
    THintInfo hint;
};

TEST_F(HintInfoTest, ShowsAlongTheBottomOfTheTarget)
{
    EXPECT_EQ(hint.Timer()->interval(), 3000);
    EXPECT_FALSE(hint.IsShown());
    hint.Show(QStringLiteral("播放音乐"), &target);
    EXPECT_EQ(hint.PictureControl()->parentWidget(), &target);
    EXPECT_EQ(hint.PictureControl()->geometry(), QRect(1, 180, 300, 20));
    EXPECT_EQ(hint.LabelControl()->geometry().topLeft(), QPoint(1, 184));
    EXPECT_EQ(hint.LabelControl()->width(), 300);
    EXPECT_EQ(hint.LabelControl()->alignment(), Qt::AlignCenter);
    EXPECT_EQ(hint.Text(), QStringLiteral("播放音乐"));
    EXPECT_TRUE(hint.IsShown());
    EXPECT_TRUE(hint.Timer()->isActive());
}

TEST_F(HintInfoTest, SecondShowReplacesTheTextButKeepsTheSchedule)
{
    hint.Timer()->setInterval(600);
    hint.Show(QStringLiteral("first"), &target);
    QTimer later;
    later.setSingleShot(true);
    later.setTimerType(Qt::PreciseTimer);
    QSignalSpy laterFired(&later, &QTimer::timeout);
    later.start(200);
    ASSERT_TRUE(laterFired.wait(10000));

    hint.Show(QStringLiteral("second"), &target);
    EXPECT_EQ(hint.Text(), QStringLiteral("second"));
    // 200 ms of the first period have gone; a restarted timer would have its
    // whole period (600 ms) ahead of it again.
    EXPECT_LE(hint.Timer()->remainingTime(), 500);

    QSignalSpy hidden(&hint, &THintInfo::hidden);
    ASSERT_TRUE(hidden.wait(10000));
    EXPECT_FALSE(hint.IsShown());
    EXPECT_FALSE(hint.Timer()->isActive());
}

TEST_F(HintInfoTest, PointingAtTheBarHidesItAtOnce)
{
    hint.Show(QStringLiteral("删除音乐"), &target);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(hint.LabelControl(), &move);
    EXPECT_TRUE(hint.PictureControl()->isHidden());
    EXPECT_TRUE(hint.LabelControl()->isHidden());
}

TEST_F(HintInfoTest, WithoutTargetStaysWhereItWasShown)
{
    QWidget other;
    other.resize(100, 50);
    hint.Show(QStringLiteral("a"), &other);
    hint.Show(QStringLiteral("b"), nullptr);
    EXPECT_EQ(hint.PictureControl()->parentWidget(), &other);
    EXPECT_EQ(hint.Text(), QStringLiteral("b"));
}

TEST_F(HintInfoTest, NeverShownInAControlItDoesNotBecomeAWindow)
{
    hint.Show(QStringLiteral("没有搜索数据"), nullptr);
    EXPECT_TRUE(hint.PictureControl()->isHidden());
    EXPECT_FALSE(hint.Timer()->isActive());
}

TEST_F(HintInfoTest, SurvivesTheControlItWasShownIn)
{
    auto doomed = std::make_unique<QWidget>();
    doomed->resize(100, 50);
    hint.Show(QStringLiteral("a"), doomed.get());
    doomed.reset(); // takes the picture and the label with it
    hint.Show(QStringLiteral("b"), &target);
    EXPECT_TRUE(hint.IsShown());
    EXPECT_EQ(hint.PictureControl()->parentWidget(), &target);
}

TEST(HintInfoPicture, DefaultPictureComesFromTheSkinFolder)
{
    test::TempAppRoot root;
    QImage tips(100, 20, QImage::Format_ARGB32);
    tips.fill(Qt::yellow);
    QDir().mkpath(QString::fromStdString(root.file("images")));
    ASSERT_TRUE(tips.save(QString::fromStdString(root.file("images/tips_bg.png"))));

    THintInfo hint;
    EXPECT_FALSE(hint.PictureControl()->Picture().isNull());
    EXPECT_TRUE(hint.PictureControl()->Stretch());
    EXPECT_TRUE(hint.PictureControl()->Transparent());
}

TEST(HintInfoPicture, MissingDefaultPictureLeavesItEmpty)
{
    test::TempAppRoot root;
    THintInfo hint;
    EXPECT_TRUE(hint.PictureControl()->Picture().isNull());
}

} // namespace
} // namespace qarvon
