#include "uExImage.h"

#include "uSkinLayout.h"

#include <QPainter>

namespace qarvon {

TExImage::TExImage(QWidget *parent)
    : TSkinControl(parent)
    , m_progress(width())
    , m_knownWidth(width())
{
}

void TExImage::Assigned(const QPixmap &picture)
{
    if (m_autoSize && !picture.isNull())
        resize(picture.deviceIndependentSize().toSize());
    PicturesChanged();
}

void TExImage::SetPictureLeft(const QPixmap &picture)
{
    m_left = picture;
    Assigned(picture);
}

void TExImage::SetPicture(const QPixmap &picture)
{
    m_middle = picture;
    Assigned(picture);
}

void TExImage::SetPictureRight(const QPixmap &picture)
{
    m_right = picture;
    Assigned(picture);
}

// A hidden control gets its resize event only when shown, so the width the
// progress belongs to is kept here and caught up with whenever it is used.
void TExImage::FollowWidth()
{
    if (width() != m_knownWidth) {
        m_progress = ExImageResizedProgress(m_progress, m_knownWidth, width());
        m_knownWidth = width();
    }
}

int TExImage::ProgressWidth() const
{
    if (width() != m_knownWidth)
        return ExImageResizedProgress(m_progress, m_knownWidth, width());
    return m_progress;
}

void TExImage::SetProgressWidth(int value)
{
    FollowWidth();
    const int stored = ExImageStoredProgress(value, width());
    if (stored != m_progress) {
        m_progress = stored;
        update();
    }
}

QAccessible::Role TExImage::AccessibleRole() const
{
    return IsButtonLike() ? QAccessible::Button : QAccessible::ProgressBar;
}

void TExImage::resizeEvent(QResizeEvent *event)
{
    FollowWidth();
    TSkinControl::resizeEvent(event);
}

void TExImage::PaintPictures(QPainter &painter)
{
    FollowWidth();
    const TExImageLayout layout
        = ExImageLayout(m_left.deviceIndependentSize().toSize(),
                        m_right.deviceIndependentSize().toSize(), width(), m_progress);
    // Left, right, then middle, so a middle that overlaps a cap wins.
    if (!layout.Left.isEmpty() && !m_left.isNull())
        painter.drawPixmap(layout.Left, Shown(m_left));
    if (!layout.Right.isEmpty() && !m_right.isNull())
        painter.drawPixmap(layout.Right, Shown(m_right));
    if (!layout.Middle.isEmpty() && !m_middle.isNull())
        painter.drawPixmap(layout.Middle, Shown(m_middle));
}

} // namespace qarvon
