#include "uDockGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace qarvon::dock {

bool Touching(const TDockRect &a, const TDockRect &b)
{
    const int unionWidth = std::max(a.right, b.right) - std::min(a.left, b.left);
    const int unionHeight = std::max(a.bottom, b.bottom) - std::min(a.top, b.top);
    if (a.width() + b.width() < unionWidth || a.height() + b.height() < unionHeight)
        return false;
    return a.left == b.left || a.left == b.right || a.right == b.left || a.right == b.right
           || a.top == b.top || a.top == b.bottom || a.bottom == b.top || a.bottom == b.bottom;
}

void Snap(int value, int target, int d, int &correction)
{
    if (std::abs(value - target) < d)
        correction = target - value;
}

void RecomputeGlue(std::vector<TDockEntry> &entries)
{
    for (TDockEntry &e : entries)
        e.glued = false;
    for (TDockEntry &e : entries) {
        if (!e.visible || !e.owner)
            continue;
        const auto owner = std::find_if(entries.begin(), entries.end(),
                                        [&e](const TDockEntry &o) { return o.window == e.owner; });
        if (owner != entries.end())
            e.glued = Touching(owner->rect, e.rect);
    }
    // Windows chained to a glued sibling are glued as well.
    for (std::size_t round = 0; round < entries.size(); ++round) {
        for (std::size_t j = 0; j < entries.size(); ++j) {
            const TDockEntry &glued = entries[j];
            if (!glued.visible || !glued.glued)
                continue;
            for (std::size_t k = 0; k < entries.size(); ++k) {
                TDockEntry &other = entries[k];
                if (k == j || !other.visible || other.glued || other.owner != glued.owner)
                    continue;
                other.glued = Touching(glued.rect, other.rect);
            }
        }
    }
}

namespace {

// The eight snaps between a rectangle of ours and a target, when they are near
// enough in the other direction to matter.
void SnapAgainst(const TDockRect &p, const TDockRect &r, int d, int &dx, int &dy)
{
    if (p.top < r.bottom + d && r.top - d < p.bottom) {
        Snap(p.left, r.left, d, dx);
        Snap(p.left, r.right, d, dx);
        Snap(p.right, r.left, d, dx);
        Snap(p.right, r.right, d, dx);
    }
    if (p.left < r.right + d && r.left - d < p.right) {
        Snap(p.top, r.top, d, dy);
        Snap(p.top, r.bottom, d, dy);
        Snap(p.bottom, r.top, d, dy);
        Snap(p.bottom, r.bottom, d, dy);
    }
}

// A dragged edge, proposed at that position, lands on a target's left/top or
// right/bottom edge within reach; the right or bottom one is tried last and wins.
void SnapEdge(int proposed, int leftOrTop, int rightOrBottom, int d, int &edge)
{
    if (std::abs(proposed - leftOrTop) < d)
        edge = leftOrTop;
    if (std::abs(proposed - rightOrBottom) < d)
        edge = rightOrBottom;
}

bool HasEdge(int edge, std::initializer_list<int> edges)
{
    return std::find(edges.begin(), edges.end(), edge) != edges.end();
}

} // namespace

TDockRect Moving(const TDockRect &proposed, QPoint cursor, const TMoveAnchor &anchor,
                 const TDockRect &workArea, const std::vector<TDockEntry> &entries,
                 std::size_t self, int snapDistance)
{
    const int d = snapDistance;
    const void *w = self < entries.size() ? entries[self].window : nullptr;
    // The window follows the cursor exactly; the proposal only gives the size.
    const QPoint corner = cursor + anchor.offset;
    const TDockRect p = proposed.Shifted(corner.x() - proposed.left, corner.y() - proposed.top);

    int dx = 0;
    int dy = 0;
    SnapAgainst(p, workArea, d, dx, dy);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TDockEntry &e = entries[i];
        if (!e.visible || i == self || (e.glued && e.owner == w))
            continue;
        SnapAgainst(p, e.rect, d, dx, dy);
    }

    const QPoint travelled = cursor - anchor.startCursor;
    for (std::size_t g = 0; g < entries.size(); ++g) {
        const TDockEntry &glued = entries[g];
        if (!glued.visible || !glued.glued || glued.owner != w || !w)
            continue;
        const TDockRect q = glued.rect.Shifted(travelled.x(), travelled.y());
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const TDockEntry &other = entries[k];
            if (k == g || k == self || !other.visible || other.glued)
                continue;
            SnapAgainst(q, other.rect, d, dx, dy);
        }
    }
    return p.Shifted(dx, dy);
}

TDockRect Sizing(const TDockRect &proposed, int edge, const TDockRect &workArea,
                 const std::vector<TDockEntry> &entries, std::size_t self, int snapDistance)
{
    const int d = snapDistance;
    const TDockRect p0 = proposed;
    TDockRect p = proposed;
    auto against = [&](const TDockRect &r) {
        if (p.top < r.bottom + d && r.top - d < p.bottom) {
            if (HasEdge(edge, {seLeft, seTopLeft, seBottomLeft}))
                SnapEdge(p0.left, r.left, r.right, d, p.left);
            if (HasEdge(edge, {seRight, seTopRight, seBottomRight}))
                SnapEdge(p0.right, r.left, r.right, d, p.right);
        }
        if (p.left < r.right + d && r.left - d < p.right) {
            if (HasEdge(edge, {seTop, seTopLeft, seTopRight}))
                SnapEdge(p0.top, r.top, r.bottom, d, p.top);
            if (HasEdge(edge, {seBottom, seBottomLeft, seBottomRight}))
                SnapEdge(p0.bottom, r.top, r.bottom, d, p.bottom);
        }
    };
    against(workArea);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].visible || i == self)
            continue;
        against(entries[i].rect);
    }
    return p;
}

} // namespace qarvon::dock
