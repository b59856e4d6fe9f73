#pragma once

#include "uDockGeometry.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QWidget;

namespace qarvon {

// Moves and resizes a borderless top-level window from its skinned header
// and border, and reports every step to the docking hook the way the frame
// messages would: start, each proposed rectangle, end, show and hide,
// minimise and restore. Where windows cannot place themselves the platform's
// own move and resize take over and nothing is reported.
class TWindowMover : public QObject
{
    Q_OBJECT

public:
    explicit TWindowMover(QWidget *window);

    // A press and drag on the handle moves the window (the header, its pictures).
    void AddDragHandle(QWidget *handle);
    // A press within that many pixels of the window's edge resizes it.
    void SetResizeBorder(int pixels);
    // Also reports showing and hiding (the library window does, the main window not).
    void SetReportShowHide(bool on) { m_reportShowHide = on; }

    // The steps, in global coordinates; the handles use them, and so can tests.
    void BeginMove(QPoint cursor);
    void MoveTo(QPoint cursor);
    void EndMove();
    void BeginResize(int edge, QPoint cursor);
    void ResizeTo(QPoint cursor);
    void EndResize();
    bool IsDragging() const { return m_mode != Mode::None; }

    // The dragged edge (TSizeEdge) for a point of a window of that size, 0 inside.
    static int EdgeAt(QSize size, QPoint position, int border);

Q_SIGNALS:
    void moved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Mode { None, Move, Resize };

    void AbandonDrag();
    void Begin(Mode mode, int edge, QPoint cursor);
    void End(Mode mode);
    void Send(quint32 msg, qintptr wParam, dock::TDockRect *rect, QPoint cursor, int flags = 0);
    void Apply(const dock::TDockRect &rect);
    bool SystemMoves() const;

    QPointer<QWidget> m_window;
    Mode m_mode = Mode::None;
    int m_edge = 0;
    int m_border = 0;
    bool m_reportShowHide = false;
    QPoint m_startCursor;
    QRect m_startGeometry;
    QPointer<QWidget> m_pressedHandle;
};

} // namespace qarvon
