#pragma once

#include "uDockGeometry.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>
#include <vector>

class QWidget;

namespace qarvon {

// Frame messages the windows hand to the docking hook, with the numbers the
// platform they come from gives them.
enum TFrameMessage : quint32 {
    WM_WINDOWPOSCHANGED = 0x47,
    WM_COMMAND = 0x111,
    WM_SYSCOMMAND = 0x112,
    WM_SIZING = 0x214,
    WM_MOVING = 0x216,
    WM_ENTERSIZEMOVE = 0x231,
    WM_EXITSIZEMOVE = 0x232,
};
constexpr qintptr SC_MINIMIZE = 0xF020;
constexpr qintptr SC_RESTORE = 0xF120;
constexpr int SWP_SHOWWINDOW = 0x40;
constexpr int SWP_HIDEWINDOW = 0x80;

// What comes with a frame message: the proposed rectangle of a move or
// resize (changed in place by the hook), the cursor, and the show/hide flags
// of WM_WINDOWPOSCHANGED.
struct TDockParams
{
    dock::TDockRect *Rect = nullptr;
    QPoint Cursor;
    int PosFlags = 0;
};

struct THookResult
{
    bool Handled = false;
    qintptr Result = 0;
};

// Makes the program's top-level windows magnetic: a window being moved or
// resized snaps to the work area and to the other registered windows, and
// windows touching their owner are glued to it. One instance for the program.
class TMagnetic : public QObject
{
    Q_OBJECT

public:
    explicit TMagnetic(QObject *parent = nullptr);
    ~TMagnetic() override;

    // The instance the hook works with, or nullptr.
    static TMagnetic *Instance();

    // False where windows cannot place themselves (native Wayland): docking
    // is then off, registration is refused and windows move on their own.
    static bool PlatformPlacesWindows();
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }

    int SnapDistance() const { return m_snapDistance; }
    void SetSnapDistance(int distance) { m_snapDistance = distance; }

    bool Register(QWidget *window, QWidget *owner);
    bool Unregister(QWidget *window);
    bool IsRegistered(const QWidget *window) const;
    bool IsGlued(const QWidget *window) const;

    // Where the work area of a window comes from (its screen's available area).
    void SetWorkAreaSource(std::function<QRect(const QWidget *)> source);

    void Hook(QWidget *window, quint32 msg, qintptr wParam, TDockParams &params,
              THookResult &result);

private:
    std::size_t IndexOf(const QWidget *window) const;
    void FillRects();
    // The entries as the docking arithmetic takes them.
    std::vector<dock::TDockEntry> Snapshot() const;
    void RecomputeGlue();
    void Forget(QObject *window);

    struct Entry
    {
        QWidget *window = nullptr;
        QWidget *owner = nullptr;
        bool glued = false;
        dock::TDockRect rect;
    };

    std::vector<Entry> m_entries;
    dock::TDockRect m_workArea;
    dock::TMoveAnchor m_anchor;
    QPoint m_cursor;
    QPoint m_lastCursor;
    int m_snapDistance = 10;
    bool m_enabled = true;
    std::function<QRect(const QWidget *)> m_workAreaSource;
};

// The hook registered windows call. False only when no docking object exists.
bool MagneticHook(QWidget *window, quint32 msg, qintptr wParam, TDockParams &params,
                  THookResult &result);

} // namespace qarvon
