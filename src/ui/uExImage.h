#pragma once

#include "uSkinControl.h"

namespace qarvon {

// A strip of a left cap, a stretched middle and a right cap that shows only
// ProgressWidth pixels of itself: an empty bar, a bar growing from the left,
// and the right cap only once it is full. Frame strips are full bars.
class TExImage : public TSkinControl
{
    Q_OBJECT
    Q_PROPERTY(QPixmap PictureLeft READ PictureLeft WRITE SetPictureLeft)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(QPixmap PictureRight READ PictureRight WRITE SetPictureRight)
    Q_PROPERTY(int ProgressWidth READ ProgressWidth WRITE SetProgressWidth)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TExImage(QWidget *parent = nullptr);

    QPixmap PictureLeft() const { return m_left; }
    void SetPictureLeft(const QPixmap &picture);
    QPixmap Picture() const { return m_middle; }
    void SetPicture(const QPixmap &picture);
    QPixmap PictureRight() const { return m_right; }
    void SetPictureRight(const QPixmap &picture);

    int ProgressWidth() const;
    void SetProgressWidth(int value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on) { m_autoSize = on; }

    QAccessible::Role AccessibleRole() const override;

protected:
    void PaintPictures(QPainter &painter) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Assigned(const QPixmap &picture);
    void FollowWidth();

    QPixmap m_left;
    QPixmap m_middle;
    QPixmap m_right;
    int m_progress = 0;
    int m_knownWidth = 0; // the width m_progress belongs to
    bool m_autoSize = false;
};

} // namespace qarvon
