#include "uExBoolImage.h"

namespace qarvon {

TBoolImage::TBoolImage(QWidget *parent)
    : TSkinControl(parent)
{
    SetButtonLike(true);
}

void TBoolImage::SetPictureTrue(const QPixmap &picture)
{
    m_true = picture;
    FitPicture();
    PicturesChanged();
}

void TBoolImage::SetPictureFalse(const QPixmap &picture)
{
    m_false = picture;
    FitPicture();
    PicturesChanged();
}

void TBoolImage::SetPictureValue(bool value)
{
    if (m_value == value)
        return;
    m_value = value;
    FitPicture();
    update();
    Q_EMIT pictureValueChanged(value);
}

void TBoolImage::SetAutoSize(bool on)
{
    m_autoSize = on;
    FitPicture();
}

void TBoolImage::FitPicture()
{
    const QPixmap picture = CurrentPicture();
    if (m_autoSize && !picture.isNull())
        resize(picture.deviceIndependentSize().toSize());
}

QAccessible::Role TBoolImage::AccessibleRole() const
{
    return QAccessible::CheckBox;
}

void TBoolImage::OnClick()
{
    SetPictureValue(!m_value);
}

void TBoolImage::PaintPictures(QPainter &painter)
{
    DrawPicture(painter, CurrentPicture());
}

} // namespace qarvon
