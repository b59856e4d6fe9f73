#include "uSkinControl.h"

#include "uSkin.h"
#include "uSkinLayout.h"

#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace qarvon {

namespace {

class TSkinAccessible : public QAccessibleWidget
{
public:
    explicit TSkinAccessible(TSkinControl *control)
        : QAccessibleWidget(control, control->AccessibleRole())
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? widget()->toolTip() : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (Control()->IsButtonLike())
            s.focusable = true;
        // A two-state picture reads as a check box that is ticked while its value is true.
        const QVariant value = widget()->property("PictureValue");
        if (value.isValid()) {
            s.checkable = true;
            s.checked = value.toBool();
        }
        return s;
    }

    QStringList actionNames() const override
    {
        if (Control()->IsButtonLike())
            return {pressAction()};
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && Control()->IsButtonLike() && Control()->isEnabled())
            Control()->Click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TSkinControl *Control() const { return static_cast<TSkinControl *>(widget()); }
};

QAccessibleInterface *SkinAccessibleFactory(const QString &, QObject *object)
{
    if (auto *control = qobject_cast<TSkinControl *>(object))
        return new TSkinAccessible(control);
    return nullptr;
}

} // namespace

TSkinControl::TSkinControl(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(SkinAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled)
    resize(100, 30);
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
}

void TSkinControl::SetCenter(bool on)
{
    if (m_center != on) {
        m_center = on;
        update();
    }
}

void TSkinControl::SetStretch(bool on)
{
    if (m_stretch != on) {
        m_stretch = on;
        update();
    }
}

void TSkinControl::SetProportional(bool on)
{
    if (m_proportional != on) {
        m_proportional = on;
        update();
    }
}

void TSkinControl::SetTransparent(bool on)
{
    if (m_transparent == on)
        return;
    m_transparent = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    PicturesChanged();
}

void TSkinControl::SetButtonLike(bool on)
{
    m_buttonLike = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    if (on)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void TSkinControl::Click()
{
    OnClick();
    Q_EMIT clicked();
}

QAccessible::Role TSkinControl::AccessibleRole() const
{
    return m_buttonLike ? QAccessible::Button : QAccessible::Graphic;
}

QPixmap TSkinControl::Shown(const QPixmap &picture) const
{
    if (!m_transparent || picture.isNull() || picture.hasAlphaChannel())
        return picture;
    auto it = m_shown.constFind(picture.cacheKey());
    if (it == m_shown.constEnd())
        it = m_shown.insert(picture.cacheKey(), TransparentPicture(picture));
    return *it;
}

void TSkinControl::DrawPicture(QPainter &painter, const QPixmap &picture) const
{
    if (picture.isNull())
        return;
    const QRect target = BoolImageRect(picture.deviceIndependentSize().toSize(), size(), m_stretch,
                                       m_proportional, m_center);
    painter.drawPixmap(target, Shown(picture));
}

void TSkinControl::PicturesChanged()
{
    m_shown.clear();
    update();
}

void TSkinControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_transparent)
        painter.fillRect(rect(), palette().window());
    PaintPictures(painter);
    if (m_buttonLike && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TSkinControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    Press(event->button());
    Q_EMIT mousePressed(event->button(), event->position().toPoint());
}

void TSkinControl::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = event->button() == Qt::LeftButton && m_leftPressed
                       && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    Release(event->button());
    Q_EMIT mouseReleased(event->button(), event->position().toPoint());
    if (click)
        Click();
}

void TSkinControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    Press(event->button());
    Q_EMIT mousePressed(event->button(), event->position().toPoint());
    Q_EMIT doubleClicked();
}

void TSkinControl::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMoved(event->position().toPoint());
}

void TSkinControl::enterEvent(QEnterEvent *)
{
    Q_EMIT mouseEntered();
}

void TSkinControl::leaveEvent(QEvent *)
{
    Q_EMIT mouseLeft();
}

void TSkinControl::keyPressEvent(QKeyEvent *event)
{
    if (!m_buttonLike || event->isAutoRepeat()) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
        m_spacePressed = true;
        Press(Qt::LeftButton);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Press(Qt::LeftButton);
        Release(Qt::LeftButton);
        Click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TSkinControl::keyReleaseEvent(QKeyEvent *event)
{
    if (m_buttonLike && !event->isAutoRepeat() && event->key() == Qt::Key_Space
        && m_spacePressed) {
        m_spacePressed = false;
        Release(Qt::LeftButton);
        Click();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TSkinControl::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu) {
        m_popupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    QWidget::contextMenuEvent(event);
}

TSkinImage::TSkinImage(QWidget *parent)
    : TSkinControl(parent)
{
}

void TSkinImage::SetPicture(const QPixmap &picture)
{
    m_picture = picture;
    if (m_autoSize && !picture.isNull())
        resize(picture.deviceIndependentSize().toSize());
    PicturesChanged();
}

void TSkinImage::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (on && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
}

void TSkinImage::PaintPictures(QPainter &painter)
{
    DrawPicture(painter, m_picture);
}

} // namespace qarvon
