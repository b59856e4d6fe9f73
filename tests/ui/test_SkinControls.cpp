// The skinned controls as widgets: what they draw, how the mouse and the
// keyboard change them, and what they tell accessibility tools.
#include "uEffectImage.h"
#include "uExBoolImage.h"
#include "uExImage.h"
#include "uMyButton.h"
#include "uSkin.h"
#include "uSkinControl.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include "CaseName.h"

#include <gtest/gtest.h>

namespace qarvon {
namespace {

const QColor kBackground(Qt::black);
const QColor kLeft(0xFF, 0x00, 0x00);
const QColor kMiddle(0x00, 0xFF, 0x00);
const QColor kRight(0x00, 0x00, 0xFF);

QPixmap Solid(QSize size, const QColor &colour)
{
    QPixmap p(size);
    p.fill(colour);
    return p;
}

// An opaque control paints its own background: black here, so every pixel
// no picture covers is told apart from the pictures.
template<class Control>
void PaintBlackBehind(Control &c)
{
    QPalette palette = c.palette();
    palette.setColor(QPalette::Window, kBackground);
    c.setPalette(palette);
}

QColor PixelAt(QWidget &w, int x, int y)
{
    return w.grab().toImage().pixelColor(x, y);
}

// A 210 x 6 bar with 5-pixel caps, as the player's progress bars are.
class ExImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bar.resize(210, 6);
        PaintBlackBehind(bar);
        bar.SetPictureLeft(Solid({5, 6}, kLeft));
        bar.SetPicture(Solid({8, 6}, kMiddle));
        bar.SetPictureRight(Solid({5, 6}, kRight));
    }

    TExImage bar;
};

TEST(ExImageCreation, FullAtCreationAndDefaultSize)
{
    TExImage bar;
    EXPECT_EQ(bar.size(), QSize(100, 30));
    EXPECT_EQ(bar.ProgressWidth(), 100);
    EXPECT_FALSE(bar.Transparent());
    EXPECT_FALSE(bar.Stretch());
}

TEST_F(ExImageTest, DrawsLeftCapAndMiddleUpToTheProgress)
{
    struct Probe
    {
        int progress;
        int x;
        QColor colour;
    };
    const Probe probes[] = {
        {100, 2, kLeft},          {100, 50, kMiddle},       {100, 99, kMiddle},
        {100, 100, kBackground},  {100, 207, kBackground},  {210, 150, kMiddle},
        {210, 204, kMiddle},      {210, 205, kRight},       {210, 209, kRight},
        {0, 2, kBackground},      {0, 50, kBackground},     {-3, 2, kBackground},
    };
    for (const Probe &p : probes) {
        bar.SetProgressWidth(p.progress);
        EXPECT_EQ(PixelAt(bar, p.x, 3), p.colour) << "progress " << p.progress << " x " << p.x;
    }
}

TEST_F(ExImageTest, ProgressBeyondTheWidthIsStoredAsTheWidth)
{
    bar.SetProgressWidth(500);
    EXPECT_EQ(bar.ProgressWidth(), 210);
}

TEST_F(ExImageTest, WideningKeepsProportionOrFullness)
{
    bar.SetProgressWidth(105);
    bar.resize(420, 6);
    EXPECT_EQ(bar.ProgressWidth(), 210);

    bar.resize(210, 6);
    bar.SetProgressWidth(210);
    bar.resize(420, 6);
    EXPECT_EQ(bar.ProgressWidth(), 420);
}

TEST_F(ExImageTest, ResizesWhileHiddenCountBeforeItIsShown)
{
    // A hidden control gets its resize event only when shown; the progress
    // set in between belongs to the new width, not the old one.
    bar.resize(300, 6);
    bar.SetProgressWidth(150);
    bar.resize(600, 6);
    EXPECT_EQ(bar.ProgressWidth(), 300);
    bar.show();
    EXPECT_EQ(bar.ProgressWidth(), 300);
    bar.hide();
}

TEST_F(ExImageTest, AutoSizeTakesTheAssignedPicturesSize)
{
    bar.SetAutoSize(true);
    bar.SetPicture(Solid({40, 12}, kMiddle));
    EXPECT_EQ(bar.size(), QSize(40, 12));
}

// The tab of the library window: caps of 6 and 4 pixels, state pictures in
// colours of their own so the drawn state can be read back.
class EffectImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tab.resize(100, 26);
        PaintBlackBehind(tab);
        const QColor middles[] = {kMiddle, QColor(0x80, 0x80, 0x00), QColor(0x00, 0x80, 0x80)};
        const TEffectImageState states[] = {eisNormal, eisDown, eisUnSelect};
        for (int i = 0; i < 3; ++i) {
            tab.SetStatePicture(states[i], TEffectImage::Left, Solid({6, 10}, kLeft));
            tab.SetStatePicture(states[i], TEffectImage::Center, Solid({8, 10}, middles[i]));
            tab.SetStatePicture(states[i], TEffectImage::Right, Solid({4, 10}, kRight));
        }
    }

    TEffectImage tab;
};

TEST_F(EffectImageTest, DrawsTheCurrentStatesPicturesOverTheFullHeight)
{
    EXPECT_EQ(tab.ImageState(), eisNormal);
    EXPECT_EQ(PixelAt(tab, 3, 25), kLeft);
    EXPECT_EQ(PixelAt(tab, 50, 25), kMiddle);
    EXPECT_EQ(PixelAt(tab, 97, 0), kRight);
    tab.SetImageState(eisUnSelect);
    EXPECT_EQ(PixelAt(tab, 50, 13), QColor(0x00, 0x80, 0x80));
}

TEST_F(EffectImageTest, MissingPictureDrawsNothingInItsPlace)
{
    tab.SetStatePicture(eisNormal, TEffectImage::Center, QPixmap());
    EXPECT_EQ(PixelAt(tab, 50, 10), kBackground);
    EXPECT_EQ(PixelAt(tab, 3, 10), kLeft);
    // A missing cap is 0 wide: the middle reaches the edge.
    tab.SetStatePicture(eisNormal, TEffectImage::Center, Solid({8, 10}, kMiddle));
    tab.SetStatePicture(eisNormal, TEffectImage::Right, QPixmap());
    EXPECT_EQ(PixelAt(tab, 99, 10), kMiddle);
}

struct MouseCase
{
    const char *name;
    TEffectImageState start;
    bool press; // else release
    Qt::MouseButton button;
    TEffectImageState expected;
};

using EffectImageMouseTest = ::testing::TestWithParam<MouseCase>;

TEST_P(EffectImageMouseTest, StateAfterTheMouse)
{
    const MouseCase &c = GetParam();
    TEffectImage tab;
    tab.SetImageState(c.start);
    if (c.press)
        QTest::mousePress(&tab, c.button, {}, QPoint(10, 10));
    else
        QTest::mouseRelease(&tab, c.button, {}, QPoint(10, 10));
    EXPECT_EQ(tab.ImageState(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EffectImageMouseTest,
    ::testing::Values(MouseCase{"LeftPressOnNormal", eisNormal, true, Qt::LeftButton, eisDown},
                      MouseCase{"RightPressOnNormal", eisNormal, true, Qt::RightButton, eisNormal},
                      MouseCase{"PressOnUnSelect", eisUnSelect, true, Qt::LeftButton, eisUnSelect},
                      MouseCase{"LeftReleaseOnDown", eisDown, false, Qt::LeftButton, eisNormal},
                      MouseCase{"RightReleaseOnDown", eisDown, false, Qt::RightButton, eisNormal},
                      MouseCase{"ReleaseOnUnSelect", eisUnSelect, false, Qt::LeftButton,
                                eisUnSelect}),
    test::CaseName());

TEST(EffectImageKeyboard, SpacePressesAndReleasesLikeTheMouse)
{
    TEffectImage tab;
    QSignalSpy clicked(&tab, &TSkinControl::clicked);
    QTest::keyPress(&tab, Qt::Key_Space);
    EXPECT_EQ(tab.ImageState(), eisDown);
    EXPECT_EQ(clicked.count(), 0);
    QTest::keyRelease(&tab, Qt::Key_Space);
    EXPECT_EQ(tab.ImageState(), eisNormal);
    EXPECT_EQ(clicked.count(), 1);
    QTest::keyClick(&tab, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(tab.focusPolicy(), Qt::StrongFocus);
}

class BoolImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        image.SetPictureTrue(Solid({20, 10}, kLeft));
        image.SetPictureFalse(Solid({30, 16}, kRight));
    }

    TBoolImage image;
};

TEST_F(BoolImageTest, ClickShowsTheOtherPictureBeforeTheClickIsReported)
{
    ASSERT_TRUE(image.PictureValue());
    bool valueSeen = true;
    QColor drawnSeen;
    QObject::connect(&image, &TSkinControl::clicked, [&] {
        valueSeen = image.PictureValue();
        drawnSeen = PixelAt(image, 2, 2);
    });
    QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(valueSeen);
    EXPECT_EQ(drawnSeen, kRight);
}

TEST_F(BoolImageTest, OnlyALeftClickInsideFlips)
{
    QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(image.PictureValue());
    // Pressed inside, released outside: no click.
    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(500, 5));
    EXPECT_TRUE(image.PictureValue());
}

TEST_F(BoolImageTest, KeyboardFlipsLikeAClick)
{
    QSignalSpy clicked(&image, &TSkinControl::clicked);
    QTest::keyClick(&image, Qt::Key_Space);
    EXPECT_FALSE(image.PictureValue());
    QTest::keyClick(&image, Qt::Key_Enter);
    EXPECT_TRUE(image.PictureValue());
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(BoolImageTest, AutoSizeFollowsThePictureShown)
{
    image.SetAutoSize(true);
    EXPECT_EQ(image.size(), QSize(20, 10));
    image.SetPictureValue(false);
    EXPECT_EQ(image.size(), QSize(30, 16));
}

TEST_F(BoolImageTest, CentredPictureDrawnAtTheOffset)
{
    PaintBlackBehind(image);
    image.resize(100, 30);
    image.SetCenter(true);
    // A 20 x 10 picture centred in 100 x 30 covers x 40..59, y 10..19.
    EXPECT_EQ(PixelAt(image, 40, 10), kLeft);
    EXPECT_EQ(PixelAt(image, 39, 10), kBackground);
    EXPECT_EQ(PixelAt(image, 59, 19), kLeft);
    EXPECT_EQ(PixelAt(image, 60, 20), kBackground);
}

TEST(SkinControlTransparency, KeyColourOfAPictureWithoutAlphaShowsThrough)
{
    QWidget parent;
    parent.resize(20, 20);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, kMiddle);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    // White with a red centre, as a status icon is drawn on white.
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(Qt::white);
    for (int y = 6; y < 10; ++y)
        for (int x = 6; x < 10; ++x)
            icon.setPixelColor(x, y, kLeft);
    auto *image = new TSkinImage(&parent);
    image->SetPicture(QPixmap::fromImage(icon));
    image->setGeometry(0, 0, 16, 16);
    EXPECT_EQ(PixelAt(parent, 1, 1), QColor(Qt::white));
    image->SetTransparent(true);
    EXPECT_EQ(PixelAt(parent, 1, 1), kMiddle);
    EXPECT_EQ(PixelAt(parent, 7, 7), kLeft);
}

TEST(MyButton, PointingPressingAndLeavingPickTheEmbeddedPicture)
{
    QWidget form;
    auto *picture = new TSkinImage(&form);
    auto *label = new QLabel(QStringLiteral("close"), &form);
    TMyButton button(picture, label, QStringLiteral("btn_close"), QStringLiteral("btn_close_over"),
                     QStringLiteral("btn_close_down"));
    EXPECT_EQ(button.ShownName(), QStringLiteral("btn_close"));
    EXPECT_FALSE(picture->Picture().isNull()) << "the embedded picture is compiled in";
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(0xFB, 0xFA, 0xFB));

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(picture, &enter);
    EXPECT_EQ(button.ShownName(), QStringLiteral("btn_close_over"));
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(button.ShownName(), QStringLiteral("btn_close_down"));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(button.ShownName(), QStringLiteral("btn_close_down")) << "release changes nothing";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(picture, &leave);
    EXPECT_EQ(button.ShownName(), QStringLiteral("btn_close"));
}

TEST(MyButton, CompanionActsAsThePicture)
{
    QWidget form;
    auto *picture = new TSkinImage(&form);
    auto *label = new QLabel(QStringLiteral("sign in"), &form);
    label->resize(60, 20);
    TMyButton button(picture, label, QStringLiteral("btn_login"), QStringLiteral("btn_login_over"),
                     QStringLiteral("btn_login_down"));
    QSignalSpy clicked(picture, &TSkinControl::clicked);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(label, &enter);
    EXPECT_EQ(button.ShownName(), QStringLiteral("btn_login_over"));
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &leave);
    EXPECT_EQ(button.ShownName(), QStringLiteral("btn_login"));
}

// The close button of a dialog: its click frees the whole form, with the
// control being clicked and the button object in it.
using MyButtonClosingTest = ::testing::TestWithParam<bool>;

TEST_P(MyButtonClosingTest, ClickMayFreeTheForm)
{
    auto *form = new QWidget;
    auto *picture = new TSkinImage(form);
    auto *label = new QLabel(QStringLiteral("close"), form);
    label->resize(60, 20);
    new TMyButton(picture, label, QStringLiteral("btn_close"), QStringLiteral("btn_close_over"),
                  QStringLiteral("btn_close_down"));
    const QPointer<QWidget> alive(form);
    QObject::connect(picture, &TSkinControl::clicked, [form] { delete form; });
    QWidget *clicked = GetParam() ? static_cast<QWidget *>(label) : picture;
    QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(alive.isNull());
}

INSTANTIATE_TEST_SUITE_P(Table, MyButtonClosingTest, ::testing::Values(false, true),
                         [](const auto &info) {
                             return std::string(info.param ? "OnTheCompanion" : "OnThePicture");
                         });

TEST(MyButton, KeyboardClicksTheButton)
{
    TSkinImage picture;
    TMyButton button(&picture, nullptr, QStringLiteral("btn_close"),
                     QStringLiteral("btn_close_over"), QStringLiteral("btn_close_down"));
    QSignalSpy clicked(&picture, &TSkinControl::clicked);
    QTest::keyClick(&picture, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(picture.focusPolicy(), Qt::StrongFocus);
}

TEST(SkinAccessibility, NamesRolesAndThePressAction)
{
    TEffectImage tab;
    tab.SetHint(QStringLiteral("music library"));
    QAccessibleInterface *tabFace = QAccessible::queryAccessibleInterface(&tab);
    ASSERT_NE(tabFace, nullptr);
    EXPECT_EQ(tabFace->role(), QAccessible::Button);
    EXPECT_EQ(tabFace->text(QAccessible::Name), QStringLiteral("music library"));
    tab.setAccessibleName(QStringLiteral("library tab"));
    EXPECT_EQ(tabFace->text(QAccessible::Name), QStringLiteral("library tab"));

    TBoolImage box;
    box.setAccessibleName(QStringLiteral("music box"));
    QAccessibleInterface *boxFace = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(boxFace, nullptr);
    EXPECT_TRUE(boxFace->state().checkable);
    EXPECT_TRUE(boxFace->state().checked);
    QAccessibleActionInterface *actions = boxFace->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(box.PictureValue());
    EXPECT_FALSE(boxFace->state().checked);

    TExImage bar;
    QAccessibleInterface *barFace = QAccessible::queryAccessibleInterface(&bar);
    ASSERT_NE(barFace, nullptr);
    EXPECT_EQ(barFace->role(), QAccessible::ProgressBar);
    EXPECT_FALSE(barFace->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
}

} // namespace
} // namespace qarvon
