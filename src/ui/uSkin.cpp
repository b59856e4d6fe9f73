#include "uSkin.h"

#include "tool.h"

#include <QBitmap>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

namespace qarvon {

namespace {

qreal EffectiveRatio(qreal ratio)
{
    if (ratio > 0)
        return ratio;
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QString HighDensityPath(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return path + QStringLiteral("@2x");
    return path.left(path.size() - suffix.size() - 1) + QStringLiteral("@2x.") + suffix;
}

// Only bitmap pictures take a key colour when shown transparently. PNG and
// JPEG pictures keep an alpha channel even where they are fully opaque (the
// pixmap would otherwise drop it), so a transparent control never keys a
// colour out of them: an opaque PNG would lose its edge colour, and lossy
// JPEG colours would leave speckles.
QPixmap ReadPicture(const QString &path)
{
    QImage image;
    if (!image.load(path))
        return {};
    if (QFileInfo(path).suffix().toLower() == QStringLiteral("bmp"))
        return QPixmap::fromImage(image);
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                              Qt::NoFormatConversion);
}

} // namespace

QPixmap LoadPicture(const QString &path, qreal devicePixelRatio)
{
    if (path.isEmpty())
        return {};
    if (EffectiveRatio(devicePixelRatio) > 1.0) {
        const QString dense = HighDensityPath(path);
        if (QFileInfo::exists(dense)) {
            QPixmap pixmap = ReadPicture(dense);
            if (!pixmap.isNull()) {
                pixmap.setDevicePixelRatio(2.0);
                return pixmap;
            }
        }
    }
    return ReadPicture(path);
}

QPixmap SkinPicture(const std::string &name, qreal devicePixelRatio)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return {};
    return LoadPicture(QString::fromStdString(GetImagesFolder() + name), devicePixelRatio);
}

QString EmbeddedPicturePath(const std::string &name)
{
    return QStringLiteral(":/pngfile/") + QString::fromStdString(name) + QStringLiteral(".png");
}

QPixmap EmbeddedPicture(const std::string &name, qreal devicePixelRatio)
{
    return LoadPicture(EmbeddedPicturePath(name), devicePixelRatio);
}

QPixmap TransparentPicture(const QPixmap &picture)
{
    if (picture.isNull() || picture.hasAlphaChannel())
        return picture;
    const QImage image = picture.toImage();
    const QColor key = image.pixelColor(0, image.height() - 1);
    QPixmap result = picture;
    result.setMask(QBitmap::fromImage(image.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    return result;
}

} // namespace qarvon
