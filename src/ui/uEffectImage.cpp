#include "uEffectImage.h"

#include "uSkinLayout.h"

#include <QPainter>

namespace qarvon {

TEffectImage::TEffectImage(QWidget *parent)
    : TSkinControl(parent)
{
    SetButtonLike(true);
}

void TEffectImage::SetImageState(TEffectImageState state)
{
    if (m_state == state)
        return;
    m_state = state;
    update();
    Q_EMIT imageStateChanged(state);
}

QPixmap TEffectImage::StatePicture(TEffectImageState state, Part part) const
{
    return m_pictures[state][part];
}

void TEffectImage::SetStatePicture(TEffectImageState state, Part part, const QPixmap &picture)
{
    m_pictures[state][part] = picture;
    PicturesChanged();
}

QAccessible::Role TEffectImage::AccessibleRole() const
{
    return QAccessible::Button;
}

void TEffectImage::Press(Qt::MouseButton button)
{
    if (button == Qt::LeftButton && m_state == eisNormal)
        SetImageState(eisDown);
}

void TEffectImage::Release(Qt::MouseButton)
{
    if (m_state == eisDown)
        SetImageState(eisNormal);
}

void TEffectImage::PaintPictures(QPainter &painter)
{
    const auto &set = m_pictures[m_state];
    const TEffectImageLayout layout
        = EffectImageLayout(static_cast<int>(set[Left].deviceIndependentSize().width()),
                            static_cast<int>(set[Right].deviceIndependentSize().width()), size());
    if (!set[Left].isNull() && !layout.Left.isEmpty())
        painter.drawPixmap(layout.Left, Shown(set[Left]));
    if (!set[Right].isNull() && !layout.Right.isEmpty())
        painter.drawPixmap(layout.Right, Shown(set[Right]));
    if (!set[Center].isNull() && !layout.Middle.isEmpty())
        painter.drawPixmap(layout.Middle, Shown(set[Center]));
}

} // namespace qarvon
