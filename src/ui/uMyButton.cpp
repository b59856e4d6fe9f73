#include "uMyButton.h"

#include "uSkin.h"
#include "uSkinControl.h"

#include <QEvent>
#include <QMouseEvent>

namespace qarvon {

TMyButton::TMyButton(TSkinImage *picture, QWidget *companion, const QString &normal,
                     const QString &over, const QString &down)
    : QObject(picture)
    , m_picture(picture)
    , m_companion(companion)
    , m_normal(normal)
    , m_over(over)
    , m_down(down)
{
    if (!picture)
        return;
    if (companion) {
        QPalette palette = companion->palette();
        palette.setColor(QPalette::Window, skin::Companion);
        companion->setPalette(palette);
        companion->setAutoFillBackground(true);
        companion->installEventFilter(this);
    }
    picture->SetButtonLike(true);
    Show(m_normal);
    connect(picture, &TSkinControl::mouseEntered, this, [this] { Show(m_over); });
    connect(picture, &TSkinControl::mouseLeft, this, [this] { Show(m_normal); });
    connect(picture, &TSkinControl::mousePressed, this, [this] { Show(m_down); });
}

void TMyButton::Show(const QString &name)
{
    m_shown = name;
    if (m_picture)
        m_picture->SetPicture(EmbeddedPicture(name.toStdString(), m_picture->devicePixelRatioF()));
}

// The companion passes on what the picture would do for the same pointer:
// pointing at it shows the pointed-at look, leaving it the normal one, and a
// click on it is the picture's click.
bool TMyButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_companion.data() || !m_picture)
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        Show(m_over);
        break;
    case QEvent::Leave:
        Show(m_normal);
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_companionPressed = true;
        break;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click = mouse->button() == Qt::LeftButton && m_companionPressed
                           && m_companion->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            m_companionPressed = false;
        if (click) {
            // A close button's click may free the form, this object and the
            // companion with it: nothing of them is touched after it, and a
            // companion that is gone gets no release passed on.
            const QPointer<QObject> companion(watched);
            m_picture->Click();
            return !companion;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace qarvon
