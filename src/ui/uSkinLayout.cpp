#include "uSkinLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qarvon {

namespace {

// Edges as the drawing rules give them (right and bottom exclusive); a part
// whose right edge is not beyond its left draws nothing.
QRect Span(int left, int right, int height)
{
    if (right <= left || height <= 0)
        return {};
    return QRect(left, 0, right - left, height);
}

// Scales a by b to fill the client's span of a (ca); if the other side then
// exceeds its span (cb), fills that one instead. The aspect ratio in
// integers: the fractions are dropped exactly.
void FitKeepingRatio(std::int64_t &a, std::int64_t &b, std::int64_t ca, std::int64_t cb)
{
    const std::int64_t nb = ca * b / a;
    if (nb > cb) {
        a = cb * a / b;
        b = cb;
    } else {
        b = nb;
        a = ca;
    }
}

} // namespace

TExImageLayout ExImageLayout(QSize leftCap, QSize rightCap, int clientWidth, int progress)
{
    TExImageLayout layout;
    if (progress <= 0)
        return layout;
    const int l = leftCap.width();
    const int r = rightCap.width();
    layout.Left = Span(0, l, leftCap.height());
    if (progress < clientWidth) {
        layout.Middle = Span(l, progress, rightCap.height());
    } else {
        layout.Middle = Span(l, clientWidth - r, rightCap.height());
        layout.Right = Span(clientWidth - r, clientWidth, rightCap.height());
    }
    return layout;
}

int ExImageStoredProgress(int value, int clientWidth)
{
    return std::min(value, clientWidth);
}

int ExImageResizedProgress(int progress, int oldWidth, int newWidth)
{
    if (progress == oldWidth || oldWidth == 0)
        return newWidth;
    // 64 bits: a wide window times a wide bar does not fit 32. A far negative
    // value that grows beyond int must stay negative, not wrap into a full bar.
    const std::int64_t scaled = static_cast<std::int64_t>(newWidth) * progress / oldWidth;
    return static_cast<int>(std::clamp<std::int64_t>(scaled, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

TEffectImageLayout EffectImageLayout(int capLeft, int capRight, QSize client)
{
    const int w = client.width();
    const int h = client.height();
    TEffectImageLayout layout;
    layout.Left = Span(0, capLeft, h);
    layout.Middle = Span(capLeft, w - capRight, h);
    layout.Right = Span(w - capRight, w, h);
    return layout;
}

QRect BoolImageRect(QSize picture, QSize client, bool stretch, bool proportional, bool center)
{
    std::int64_t w = picture.width();
    std::int64_t h = picture.height();
    const std::int64_t cw = client.width();
    const std::int64_t ch = client.height();
    if (stretch || (proportional && (w > cw || h > ch))) {
        if (proportional && w > 0 && h > 0) {
            // The longer side is fitted first.
            if (w > h)
                FitKeepingRatio(w, h, cw, ch);
            else
                FitKeepingRatio(h, w, ch, cw);
        } else {
            w = cw;
            h = ch;
        }
    }
    QRect rect(0, 0, static_cast<int>(w), static_cast<int>(h));
    if (center)
        rect.moveTo(static_cast<int>((cw - w) / 2), static_cast<int>((ch - h) / 2));
    return rect;
}

THintGeometry HintGeometry(QSize target, int labelHeight)
{
    THintGeometry g;
    g.Picture = QRect(1, target.height() - 20, target.width(), 20);
    g.Label = QRect(1, g.Picture.top() + 4, target.width(), labelHeight);
    return g;
}

} // namespace qarvon
