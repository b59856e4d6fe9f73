#include "uWindowMover.h"

#include "uMagnetic.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace qarvon {

TWindowMover::TWindowMover(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    if (window)
        window->installEventFilter(this);
}

void TWindowMover::AddDragHandle(QWidget *handle)
{
    if (!handle)
        return;
    handle->installEventFilter(this);
    // A handle that goes away mid-drag never sends its release.
    connect(handle, &QObject::destroyed, this, &TWindowMover::AbandonDrag);
}

void TWindowMover::AbandonDrag()
{
    if (m_mode == Mode::Move)
        EndMove();
    else if (m_mode == Mode::Resize)
        EndResize();
    m_pressedHandle = nullptr;
}

void TWindowMover::SetResizeBorder(int pixels)
{
    m_border = pixels;
    if (m_window)
        m_window->setMouseTracking(pixels > 0);
}

bool TWindowMover::SystemMoves() const
{
    TMagnetic *magnetic = TMagnetic::Instance();
    return !TMagnetic::PlatformPlacesWindows() || (magnetic && !magnetic->Enabled());
}

void TWindowMover::Send(quint32 msg, qintptr wParam, dock::TDockRect *rect, QPoint cursor,
                        int flags)
{
    TDockParams params;
    params.Rect = rect;
    params.Cursor = cursor;
    params.PosFlags = flags;
    THookResult result;
    MagneticHook(m_window, msg, wParam, params, result);
}

void TWindowMover::Apply(const dock::TDockRect &rect)
{
    const QRect frame = m_window->frameGeometry();
    const QRect inner = m_window->geometry();
    // The hook speaks of the outer frame; geometry is the inside of it.
    const QRect target = rect.ToQRect().adjusted(inner.left() - frame.left(),
                                                 inner.top() - frame.top(),
                                                 inner.right() - frame.right(),
                                                 inner.bottom() - frame.bottom());
    if (target.size() == inner.size())
        m_window->move(rect.left, rect.top);
    else
        m_window->setGeometry(target);
    Q_EMIT moved();
}

void TWindowMover::Begin(Mode mode, int edge, QPoint cursor)
{
    m_mode = mode;
    m_edge = edge;
    m_startCursor = cursor;
    m_startGeometry = m_window->frameGeometry();
    Send(WM_ENTERSIZEMOVE, 0, nullptr, cursor);
}

void TWindowMover::End(Mode mode)
{
    if (!m_window || m_mode != mode)
        return;
    m_mode = Mode::None;
    Send(WM_EXITSIZEMOVE, 0, nullptr, m_startCursor);
}

void TWindowMover::BeginMove(QPoint cursor)
{
    if (m_window)
        Begin(Mode::Move, 0, cursor);
}

void TWindowMover::MoveTo(QPoint cursor)
{
    if (!m_window || m_mode != Mode::Move)
        return;
    const QPoint delta = cursor - m_startCursor;
    dock::TDockRect proposed = dock::TDockRect::From(m_startGeometry.translated(delta));
    Send(WM_MOVING, 0, &proposed, cursor);
    Apply(proposed);
}

void TWindowMover::EndMove()
{
    End(Mode::Move);
}

void TWindowMover::BeginResize(int edge, QPoint cursor)
{
    if (m_window && edge >= dock::seLeft && edge <= dock::seBottomRight)
        Begin(Mode::Resize, edge, cursor);
}

void TWindowMover::ResizeTo(QPoint cursor)
{
    if (!m_window || m_mode != Mode::Resize)
        return;
    using namespace dock;
    const QPoint delta = cursor - m_startCursor;
    const TDockRect start = TDockRect::From(m_startGeometry);
    TDockRect proposed = start;
    const bool left = m_edge == seLeft || m_edge == seTopLeft || m_edge == seBottomLeft;
    const bool right = m_edge == seRight || m_edge == seTopRight || m_edge == seBottomRight;
    const bool top = m_edge == seTop || m_edge == seTopLeft || m_edge == seTopRight;
    const bool bottom = m_edge == seBottom || m_edge == seBottomLeft || m_edge == seBottomRight;
    if (left)
        proposed.left += delta.x();
    if (right)
        proposed.right += delta.x();
    if (top)
        proposed.top += delta.y();
    if (bottom)
        proposed.bottom += delta.y();
    Send(WM_SIZING, m_edge, &proposed, cursor);
    // The smallest track size holds whatever the snapping asked for.
    const QSize minimum = m_window->minimumSize();
    if (proposed.width() < minimum.width()) {
        if (left)
            proposed.left = proposed.right - minimum.width();
        else
            proposed.right = proposed.left + minimum.width();
    }
    if (proposed.height() < minimum.height()) {
        if (top)
            proposed.top = proposed.bottom - minimum.height();
        else
            proposed.bottom = proposed.top + minimum.height();
    }
    Apply(proposed);
}

void TWindowMover::EndResize()
{
    End(Mode::Resize);
}

int TWindowMover::EdgeAt(QSize size, QPoint position, int border)
{
    if (border <= 0)
        return 0;
    const bool left = position.x() < border;
    const bool right = position.x() >= size.width() - border;
    const bool top = position.y() < border;
    const bool bottom = position.y() >= size.height() - border;
    if (top && left)
        return dock::seTopLeft;
    if (top && right)
        return dock::seTopRight;
    if (bottom && left)
        return dock::seBottomLeft;
    if (bottom && right)
        return dock::seBottomRight;
    if (left)
        return dock::seLeft;
    if (right)
        return dock::seRight;
    if (top)
        return dock::seTop;
    if (bottom)
        return dock::seBottom;
    return 0;
}

namespace {

Qt::CursorShape EdgeCursor(int edge)
{
    switch (edge) {
    case dock::seLeft:
    case dock::seRight:
        return Qt::SizeHorCursor;
    case dock::seTop:
    case dock::seBottom:
        return Qt::SizeVerCursor;
    case dock::seTopLeft:
    case dock::seBottomRight:
        return Qt::SizeFDiagCursor;
    case dock::seTopRight:
    case dock::seBottomLeft:
        return Qt::SizeBDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

Qt::Edges SystemEdges(int edge)
{
    switch (edge) {
    case dock::seLeft: return Qt::LeftEdge;
    case dock::seRight: return Qt::RightEdge;
    case dock::seTop: return Qt::TopEdge;
    case dock::seTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case dock::seTopRight: return Qt::TopEdge | Qt::RightEdge;
    case dock::seBottom: return Qt::BottomEdge;
    case dock::seBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case dock::seBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
    }
}

} // namespace

bool TWindowMover::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_window)
        return false;
    const bool onWindow = watched == m_window.data();
    switch (event->type()) {
    case QEvent::Show:
        if (onWindow && m_reportShowHide)
            Send(WM_WINDOWPOSCHANGED, 0, nullptr, QPoint(), SWP_SHOWWINDOW);
        break;
    case QEvent::Hide:
        // A hidden handle gets no release either: the drag ends here.
        if (watched == m_pressedHandle.data() && m_mode != Mode::None)
            AbandonDrag();
        if (onWindow && m_reportShowHide)
            Send(WM_WINDOWPOSCHANGED, 0, nullptr, QPoint(), SWP_HIDEWINDOW);
        break;
    case QEvent::WindowStateChange:
        if (onWindow) {
            Send(WM_SYSCOMMAND, m_window->isMinimized() ? SC_MINIMIZE : SC_RESTORE, nullptr,
                 QPoint());
        }
        break;
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const QPoint global = mouse->globalPosition().toPoint();
        const int edge = onWindow ? EdgeAt(m_window->size(), mouse->position().toPoint(), m_border)
                                  : 0;
        if (!onWindow || edge) {
            if (SystemMoves()) {
                // The platform moves the window; it snaps nowhere, but it moves.
                if (QWindow *handle = m_window->windowHandle()) {
                    if (edge)
                        handle->startSystemResize(SystemEdges(edge));
                    else
                        handle->startSystemMove();
                }
                return true;
            }
            m_pressedHandle = qobject_cast<QWidget *>(watched);
            if (edge)
                BeginResize(edge, global);
            else
                BeginMove(global);
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_mode == Mode::Move && watched == m_pressedHandle.data()) {
            MoveTo(mouse->globalPosition().toPoint());
            return true;
        }
        if (m_mode == Mode::Resize && watched == m_pressedHandle.data()) {
            ResizeTo(mouse->globalPosition().toPoint());
            return true;
        }
        if (onWindow && m_mode == Mode::None && m_border > 0)
            m_window->setCursor(EdgeCursor(EdgeAt(m_window->size(), mouse->position().toPoint(),
                                                  m_border)));
        break;
    }
    case QEvent::MouseButtonRelease:
        if (watched == m_pressedHandle.data()
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            if (m_mode == Mode::Move)
                EndMove();
            else if (m_mode == Mode::Resize)
                EndResize();
            m_pressedHandle = nullptr;
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace qarvon
