#pragma once

#include <QRect>
#include <QSize>

namespace qarvon {

// Where the three parts of a TExImage go; an empty rectangle draws nothing.
struct TExImageLayout
{
    QRect Left;
    QRect Middle;
    QRect Right;
};

// L/R: cap picture sizes, clientWidth: W, progress: P.
TExImageLayout ExImageLayout(QSize leftCap, QSize rightCap, int clientWidth, int progress);

// ProgressWidth as stored: capped at the client width; negative values stay.
int ExImageStoredProgress(int value, int clientWidth);

// ProgressWidth after the client width changed from oldWidth to newWidth: a
// full bar stays full, anything else keeps its proportion (truncated).
int ExImageResizedProgress(int progress, int oldWidth, int newWidth);

struct TEffectImageLayout
{
    QRect Left;
    QRect Middle;
    QRect Right;
};

// capLeft/capRight: widths of the current state's caps; the client size W x H.
TEffectImageLayout EffectImageLayout(int capLeft, int capRight, QSize client);

// The rectangle a TBoolImage draws its picture into.
QRect BoolImageRect(QSize picture, QSize client, bool stretch, bool proportional, bool center);

// Where the hint bar's picture and label go inside a target of that size.
struct THintGeometry
{
    QRect Picture;
    QRect Label;
};
THintGeometry HintGeometry(QSize target, int labelHeight);

} // namespace qarvon
