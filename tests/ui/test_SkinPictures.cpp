// The build draws every picture of the skin list, in both densities.
#include "SkinPictures.h"
#include "uSkin.h"

#include <QBitmap>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qarvon {
namespace {

QString FolderPicture(const std::string &name)
{
    return QStringLiteral(QARVON_SKIN_IMAGES) + QLatin1Char('/') + QString::fromStdString(name);
}

QString EmbeddedFile(const std::string &name)
{
    // "btn_close.png" is embedded under its resource name "btn_close".
    return EmbeddedPicturePath(name.substr(0, name.rfind('.')));
}

TEST(SkinPictures, EveryPictureExistsDecodesAndHasItsSize)
{
    ASSERT_FALSE(SkinPictures().empty());
    for (const TSkinPicture &p : SkinPictures()) {
        SCOPED_TRACE(p.name);
        const bool embedded = p.place == TSkinPlace::Embedded;
        const QString plain = embedded ? EmbeddedFile(p.name) : FolderPicture(p.name);
        const QString dense = embedded ? EmbeddedFile(HighDensityName(p.name))
                                       : FolderPicture(HighDensityName(p.name));
        const QImage one(plain);
        ASSERT_FALSE(one.isNull()) << plain.toStdString();
        EXPECT_EQ(one.size(), QSize(p.width, p.height));
        const QImage two(dense);
        ASSERT_FALSE(two.isNull()) << dense.toStdString();
        EXPECT_EQ(two.size(), QSize(p.width * 2, p.height * 2));
        // Case matters: the file on disk carries exactly the listed name.
        if (!embedded) {
            EXPECT_TRUE(QDir(QStringLiteral(QARVON_SKIN_IMAGES))
                            .entryList(QDir::Files)
                            .contains(QString::fromLatin1(p.name)));
        }
    }
}

TEST(SkinPictures, NamesAreUniqueAndKeepTheirOddSpellings)
{
    QSet<QString> seen;
    for (const TSkinPicture &p : SkinPictures()) {
        const QString name = QString::fromLatin1(p.name);
        EXPECT_FALSE(seen.contains(name)) << p.name << " is listed twice";
        seen.insert(name);
    }
    // Names the windows look up with their letters exactly so.
    for (const char *name :
         {"PlayerBtn_Loop_down.png", "MenuBtn_selectTitle_MusicLibrary.png",
          "MenuBtn_UnSelectTitle_Playing.png", "MenuBtn_UnselectTitle_MyMusic.png",
          "cover_nomal.png", "status_waitting.bmp", "PlayerBtn_NoVolum_Down.png",
          "newlist_bg.jpg", "btn_login_over.png"}) {
        EXPECT_NE(FindSkinPicture(name), nullptr) << name;
    }
    EXPECT_EQ(FindSkinPicture("PlayerBtn_Loop_Down.png"), nullptr);
}

TEST(SkinPictures, HighDensityNames)
{
    EXPECT_EQ(HighDensityName("a.png"), "a@2x.png");
    EXPECT_EQ(HighDensityName("status_stop.bmp", 3), "status_stop@3x.bmp");
    EXPECT_EQ(HighDensityName("noext"), "noext@2x");
}

TEST(SkinLoading, DenseScreensGetTheDoubleSizedPicture)
{
    const QPixmap normal = LoadPicture(FolderPicture("PlayerBtn_Play.png"), 1.0);
    const QPixmap dense = LoadPicture(FolderPicture("PlayerBtn_Play.png"), 2.0);
    EXPECT_EQ(normal.devicePixelRatio(), 1.0);
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    EXPECT_EQ(dense.deviceIndependentSize().toSize(), normal.size());
    EXPECT_TRUE(LoadPicture(FolderPicture("no-such-picture.png"), 2.0).isNull());
}

TEST(SkinLoading, NamesWithAFolderAreRefused)
{
    EXPECT_TRUE(SkinPicture("../images/PlayerBtn_Play.png", 1.0).isNull());
}

TEST(SkinLoading, OnlyPicturesWithoutAnyAlphaTakeAKeyColour)
{
    const QPixmap bmp = LoadPicture(FolderPicture("status_stop.bmp"), 1.0);
    ASSERT_FALSE(bmp.isNull());
    const QImage keyed = TransparentPicture(bmp).toImage();
    EXPECT_EQ(keyed.pixelColor(0, keyed.height() - 1).alpha(), 0);
    // JPEG colours are lossy, and an opaque PNG would lose its edge colour.
    for (const char *name : {"Search_BG.jpg", "MenuBtn_Select_Middle.png"}) {
        const QPixmap opaque = LoadPicture(FolderPicture(name), 1.0);
        ASSERT_FALSE(opaque.isNull()) << name;
        const QImage kept = TransparentPicture(opaque).toImage();
        EXPECT_EQ(kept.pixelColor(0, kept.height() - 1).alpha(), 255) << name;
    }
}

} // namespace
} // namespace qarvon
