#pragma once

#include "uSkinControl.h"

#include <array>

namespace qarvon {

enum TEffectImageState { eisNormal, eisDown, eisUnSelect };

// A three-part picture in three looks: normal, pressed, and unselected (the
// last set only by the owner, never by the mouse). Tabs and menu items.
class TEffectImage : public TSkinControl
{
    Q_OBJECT
    Q_PROPERTY(QPixmap PictureNormalLeft READ PictureNormalLeft WRITE SetPictureNormalLeft)
    Q_PROPERTY(QPixmap PictureNormalCenter READ PictureNormalCenter WRITE SetPictureNormalCenter)
    Q_PROPERTY(QPixmap PictureNormalRight READ PictureNormalRight WRITE SetPictureNormalRight)
    Q_PROPERTY(QPixmap PictureDownLeft READ PictureDownLeft WRITE SetPictureDownLeft)
    Q_PROPERTY(QPixmap PictureDownCenter READ PictureDownCenter WRITE SetPictureDownCenter)
    Q_PROPERTY(QPixmap PictureDownRight READ PictureDownRight WRITE SetPictureDownRight)
    Q_PROPERTY(QPixmap PictureUnSelectLeft READ PictureUnSelectLeft WRITE SetPictureUnSelectLeft)
    Q_PROPERTY(
        QPixmap PictureUnSelectCenter READ PictureUnSelectCenter WRITE SetPictureUnSelectCenter)
    Q_PROPERTY(
        QPixmap PictureUnSelectRight READ PictureUnSelectRight WRITE SetPictureUnSelectRight)

public:
    enum Part { Left, Center, Right };

    explicit TEffectImage(QWidget *parent = nullptr);

    TEffectImageState ImageState() const { return m_state; }
    void SetImageState(TEffectImageState state);

    QPixmap StatePicture(TEffectImageState state, Part part) const;
    void SetStatePicture(TEffectImageState state, Part part, const QPixmap &picture);

    QPixmap PictureNormalLeft() const { return StatePicture(eisNormal, Left); }
    void SetPictureNormalLeft(const QPixmap &p) { SetStatePicture(eisNormal, Left, p); }
    QPixmap PictureNormalCenter() const { return StatePicture(eisNormal, Center); }
    void SetPictureNormalCenter(const QPixmap &p) { SetStatePicture(eisNormal, Center, p); }
    QPixmap PictureNormalRight() const { return StatePicture(eisNormal, Right); }
    void SetPictureNormalRight(const QPixmap &p) { SetStatePicture(eisNormal, Right, p); }
    QPixmap PictureDownLeft() const { return StatePicture(eisDown, Left); }
    void SetPictureDownLeft(const QPixmap &p) { SetStatePicture(eisDown, Left, p); }
    QPixmap PictureDownCenter() const { return StatePicture(eisDown, Center); }
    void SetPictureDownCenter(const QPixmap &p) { SetStatePicture(eisDown, Center, p); }
    QPixmap PictureDownRight() const { return StatePicture(eisDown, Right); }
    void SetPictureDownRight(const QPixmap &p) { SetStatePicture(eisDown, Right, p); }
    QPixmap PictureUnSelectLeft() const { return StatePicture(eisUnSelect, Left); }
    void SetPictureUnSelectLeft(const QPixmap &p) { SetStatePicture(eisUnSelect, Left, p); }
    QPixmap PictureUnSelectCenter() const { return StatePicture(eisUnSelect, Center); }
    void SetPictureUnSelectCenter(const QPixmap &p) { SetStatePicture(eisUnSelect, Center, p); }
    QPixmap PictureUnSelectRight() const { return StatePicture(eisUnSelect, Right); }
    void SetPictureUnSelectRight(const QPixmap &p) { SetStatePicture(eisUnSelect, Right, p); }

    QAccessible::Role AccessibleRole() const override;

Q_SIGNALS:
    void imageStateChanged(TEffectImageState state);

protected:
    void PaintPictures(QPainter &painter) override;
    void Press(Qt::MouseButton button) override;
    void Release(Qt::MouseButton button) override;

private:
    std::array<std::array<QPixmap, 3>, 3> m_pictures; // [state][part]
    TEffectImageState m_state = eisNormal;
};

} // namespace qarvon
