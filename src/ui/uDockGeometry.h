#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

namespace qarvon::dock {

// A rectangle by its edges, right and bottom exclusive, as the snapping rules
// compare them (a window 300 wide at x 0 has its right edge at 300).
struct TDockRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    TDockRect Shifted(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const TDockRect &) const = default;

    static TDockRect From(const QRect &r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
    QRect ToQRect() const { return QRect(left, top, width(), height()); }
};

// One registered window as the arithmetic sees it. Windows and owners are
// compared by identity only.
struct TDockEntry
{
    const void *window = nullptr;
    const void *owner = nullptr; // nullptr: no owner
    TDockRect rect;
    bool visible = true;
    bool glued = false;
};

// The state of a move, recorded when it began.
struct TMoveAnchor
{
    QPoint startCursor;
    QPoint offset; // from the cursor to the moving window's top-left corner
};

// Dragged edges of a resize: 1 left, 2 right, 3 top, 4 top-left, 5 top-right,
// 6 bottom, 7 bottom-left, 8 bottom-right.
enum TSizeEdge : int {
    seLeft = 1,
    seRight = 2,
    seTop = 3,
    seTopLeft = 4,
    seTopRight = 5,
    seBottom = 6,
    seBottomLeft = 7,
    seBottomRight = 8,
};

bool Touching(const TDockRect &a, const TDockRect &b);

// correction = target - value when they are closer than d (strictly).
void Snap(int value, int target, int d, int &correction);

// Sets each entry's glued flag from the rectangles the entries hold.
void RecomputeGlue(std::vector<TDockEntry> &entries);

// The rectangle a moving window takes: it follows the cursor and snaps to the
// work area and the other windows; windows glued to it are snapped for too.
TDockRect Moving(const TDockRect &proposed, QPoint cursor, const TMoveAnchor &anchor,
                 const TDockRect &workArea, const std::vector<TDockEntry> &entries,
                 std::size_t self, int snapDistance);

// The rectangle a window being resized by the given edge takes.
TDockRect Sizing(const TDockRect &proposed, int edge, const TDockRect &workArea,
                 const std::vector<TDockEntry> &entries, std::size_t self, int snapDistance);

} // namespace qarvon::dock
