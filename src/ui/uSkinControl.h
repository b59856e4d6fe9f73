#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <QAccessible>

#include <QMenu>

namespace qarvon {

// What every picture control shares: the stored flags of a plain picture
// control, the mouse signals owners hook into, the popup menu, a click that
// the keyboard can give too, and an accessible face.
class TSkinControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Proportional READ Proportional WRITE SetProportional)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool IncrementalDisplay READ IncrementalDisplay WRITE SetIncrementalDisplay)

public:
    explicit TSkinControl(QWidget *parent = nullptr);

    bool Center() const { return m_center; }
    void SetCenter(bool on);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on);
    bool Proportional() const { return m_proportional; }
    void SetProportional(bool on);
    // Transparent pictures let the parent show through where they have no
    // colour; a control that is not transparent paints its own background.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    // Kept for layouts that set it; pictures here are decoded in one go.
    bool IncrementalDisplay() const { return m_incrementalDisplay; }
    void SetIncrementalDisplay(bool on) { m_incrementalDisplay = on; }

    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }

    // The hint is the tool tip, and the accessible name when none is set.
    QString Hint() const { return toolTip(); }
    void SetHint(const QString &hint) { setToolTip(hint); }

    // A button-like control takes the focus and is clicked with Space or Enter.
    void SetButtonLike(bool on);
    bool IsButtonLike() const { return m_buttonLike; }

    // What a mouse click does: the control's own reaction, then clicked().
    void Click();

    virtual QAccessible::Role AccessibleRole() const;

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void mouseEntered();
    void mouseLeft();
    void mousePressed(Qt::MouseButton button, QPoint position);
    void mouseReleased(Qt::MouseButton button, QPoint position);
    void mouseMoved(QPoint position);

protected:
    virtual void PaintPictures(QPainter &painter) = 0;
    // The control's reaction to a press or release (mouse or keyboard) and to
    // a click, before the signals go out.
    virtual void Press(Qt::MouseButton button) { Q_UNUSED(button) }
    virtual void Release(Qt::MouseButton button) { Q_UNUSED(button) }
    virtual void OnClick() {}

    // The picture as drawn: see-through where Transparent asks for it.
    QPixmap Shown(const QPixmap &picture) const;
    // Draws a single picture by the plain picture rules (Center, Stretch, Proportional).
    void DrawPicture(QPainter &painter, const QPixmap &picture) const;
    void PicturesChanged();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool m_center = false;
    bool m_stretch = false;
    bool m_proportional = false;
    bool m_transparent = false;
    bool m_incrementalDisplay = false;
    bool m_buttonLike = false;
    bool m_leftPressed = false;
    bool m_spacePressed = false;
    QPointer<QMenu> m_popupMenu;
    mutable QHash<qint64, QPixmap> m_shown;
};

// A plain picture control; with TMyButton it becomes an image button.
class TSkinImage : public TSkinControl
{
    Q_OBJECT
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TSkinImage(QWidget *parent = nullptr);

    QPixmap Picture() const { return m_picture; }
    void SetPicture(const QPixmap &picture);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);

protected:
    void PaintPictures(QPainter &painter) override;

private:
    QPixmap m_picture;
    bool m_autoSize = false;
};

} // namespace qarvon
