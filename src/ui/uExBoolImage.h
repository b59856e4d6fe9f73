#pragma once

#include "uSkinControl.h"

namespace qarvon {

// A two-state picture that flips on every click, before the click is reported.
class TBoolImage : public TSkinControl
{
    Q_OBJECT
    Q_PROPERTY(QPixmap PictureTrue READ PictureTrue WRITE SetPictureTrue)
    Q_PROPERTY(QPixmap PictureFalse READ PictureFalse WRITE SetPictureFalse)
    Q_PROPERTY(bool PictureValue READ PictureValue WRITE SetPictureValue NOTIFY pictureValueChanged)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TBoolImage(QWidget *parent = nullptr);

    QPixmap PictureTrue() const { return m_true; }
    void SetPictureTrue(const QPixmap &picture);
    QPixmap PictureFalse() const { return m_false; }
    void SetPictureFalse(const QPixmap &picture);
    bool PictureValue() const { return m_value; }
    void SetPictureValue(bool value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);

    // The picture of the current value.
    QPixmap CurrentPicture() const { return m_value ? m_true : m_false; }

    QAccessible::Role AccessibleRole() const override;

Q_SIGNALS:
    void pictureValueChanged(bool value);

protected:
    void PaintPictures(QPainter &painter) override;
    void OnClick() override;

private:
    void FitPicture();

    QPixmap m_true;
    QPixmap m_false;
    bool m_value = true;
    bool m_autoSize = false;
};

} // namespace qarvon
