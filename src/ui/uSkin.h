#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

#include <string>

namespace qarvon {

// The colours the windows use around the skin pictures.
namespace skin {
inline const QColor MenuBar{0x42, 0x9D, 0xCA};
inline const QColor Label{0x33, 0x99, 0xCC};
inline const QColor Hover{0xDA, 0xF0, 0xFE};
inline const QColor Selection{0xFF, 0xF9, 0xC5};
inline const QColor OddRow{0xF5, 0xF9, 0xFC};
inline const QColor Text{0x66, 0x66, 0x66};
inline const QColor Companion{0xFB, 0xFA, 0xFB};
} // namespace skin

// Loads a picture file; on a high-density screen the "@2x" file beside it is
// taken when it exists. A missing or unreadable file gives a null pixmap.
QPixmap LoadPicture(const QString &path, qreal devicePixelRatio);

// A picture of the skin images folder by its file name.
QPixmap SkinPicture(const std::string &name, qreal devicePixelRatio = 0);

// A picture compiled into the program, by its resource name ("btn_close").
QPixmap EmbeddedPicture(const std::string &name, qreal devicePixelRatio = 0);

// The resource path of an embedded picture.
QString EmbeddedPicturePath(const std::string &name);

// A picture without an alpha channel shown transparently: the colour of its
// bottom-left pixel becomes see-through. Pictures with alpha stay as they are.
QPixmap TransparentPicture(const QPixmap &picture);

} // namespace qarvon
