#include "SkinPainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace qarvon::skin {

namespace {

// The palette every picture is drawn from.
const QColor kBlue(0x42, 0x9D, 0xCA);      // menu bar, accents
const QColor kBlueLight(0x55, 0xAE, 0xD9); // top of gradients
const QColor kBlueDark(0x2C, 0x7F, 0xAE);  // pressed, selected
const QColor kBlueDeep(0x23, 0x6F, 0x99);  // selected menu item
const QColor kFrame(0x39, 0x90, 0xBF);     // window frame
const QColor kLabel(0x33, 0x99, 0xCC);
const QColor kHover(0xDA, 0xF0, 0xFE);
const QColor kPale(0xE6, 0xF4, 0xFD);   // pressed tab, search landing page
const QColor kTabOff(0xF2, 0xF8, 0xFC); // unselected tab
const QColor kSelection(0xFF, 0xF9, 0xC5);
const QColor kOddRow(0xF5, 0xF9, 0xFC);
const QColor kText(0x66, 0x66, 0x66);
const QColor kLine(0xC9, 0xE3, 0xF2);
const QColor kLineStrong(0x9C, 0xCB, 0xE3);
const QColor kTrack(0xDC, 0xEB, 0xF4);
const QColor kGreen(0x4C, 0xAF, 0x7A);
const QColor kRed(0xE0, 0x58, 0x4F);
const QColor kGrey(0xA0, 0xA8, 0xB0);
const QColor kWhite(Qt::white);

const QString kCjkFamily = QStringLiteral("Noto Sans CJK SC");

QString U(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QFont Font(qreal pixelSize, bool bold = false)
{
    QFont f(kCjkFamily);
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(bold ? QFont::DemiBold : QFont::Normal);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// A drawing works in logical pixels on a canvas of the picture's size.
using Drawing = std::function<void(QPainter &, const QRectF &)>;
// A glyph drawn into a box in a colour.
using Glyph = std::function<void(QPainter &, const QRectF &, const QColor &)>;

QPen Stroke(const QColor &c, qreal width)
{
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QLinearGradient Vertical(const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void Text(QPainter &p, const QRectF &r, const QString &text, const QColor &c, const QFont &f,
          int flags = Qt::AlignCenter)
{
    p.save();
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, flags, text);
    p.restore();
}

// ---- glyphs, each drawn into a square box -----------------------------------

void GlyphPlay(QPainter &p, const QRectF &b, const QColor &c)
{
    QPainterPath path;
    const qreal w = b.width();
    path.moveTo(b.left() + w * 0.34, b.top() + w * 0.24);
    path.lineTo(b.left() + w * 0.78, b.center().y());
    path.lineTo(b.left() + w * 0.34, b.bottom() - w * 0.24);
    path.closeSubpath();
    p.setPen(Stroke(c, w * 0.05));
    p.setBrush(c);
    p.drawPath(path);
}

void GlyphPause(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(b.left() + w * 0.3, b.top() + w * 0.26, w * 0.14, w * 0.48), w * 0.04,
                      w * 0.04);
    p.drawRoundedRect(QRectF(b.left() + w * 0.56, b.top() + w * 0.26, w * 0.14, w * 0.48),
                      w * 0.04, w * 0.04);
}

void GlyphSkip(QPainter &p, const QRectF &b, const QColor &c, bool forward)
{
    p.save();
    if (!forward) {
        p.translate(b.center());
        p.scale(-1, 1);
        p.translate(-b.center());
    }
    const qreal w = b.width();
    QPainterPath path;
    path.moveTo(b.left() + w * 0.3, b.top() + w * 0.28);
    path.lineTo(b.left() + w * 0.62, b.center().y());
    path.lineTo(b.left() + w * 0.3, b.bottom() - w * 0.28);
    path.closeSubpath();
    p.setPen(Stroke(c, w * 0.05));
    p.setBrush(c);
    p.drawPath(path);
    p.setPen(Stroke(c, w * 0.09));
    p.drawLine(QPointF(b.left() + w * 0.7, b.top() + w * 0.3),
               QPointF(b.left() + w * 0.7, b.bottom() - w * 0.3));
    p.restore();
}

void ArrowHead(QPainter &p, QPointF tip, qreal angleDeg, qreal size, const QColor &c)
{
    const qreal a = angleDeg * std::numbers::pi / 180.0;
    const QPointF dir(std::cos(a), std::sin(a));
    const QPointF normal(-dir.y(), dir.x());
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(tip - dir * size + normal * size * 0.6);
    path.lineTo(tip - dir * size - normal * size * 0.6);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

void GlyphShuffle(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    const qreal x0 = b.left() + w * 0.18, x1 = b.right() - w * 0.24;
    const qreal y0 = b.top() + w * 0.32, y1 = b.bottom() - w * 0.32;
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, w * 0.08));
    QPainterPath a;
    a.moveTo(x0, y0);
    a.cubicTo(b.center().x(), y0, b.center().x(), y1, x1, y1);
    QPainterPath d;
    d.moveTo(x0, y1);
    d.cubicTo(b.center().x(), y1, b.center().x(), y0, x1, y0);
    p.drawPath(a);
    p.drawPath(d);
    ArrowHead(p, QPointF(b.right() - w * 0.1, y0), 0, w * 0.16, c);
    ArrowHead(p, QPointF(b.right() - w * 0.1, y1), 0, w * 0.16, c);
}

void GlyphLoop(QPainter &p, const QRectF &b, const QColor &c, bool single)
{
    const qreal w = b.width();
    const QRectF r = b.adjusted(w * 0.14, w * 0.27, -w * 0.14, -w * 0.27);
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, w * 0.08));
    p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    ArrowHead(p, QPointF(r.center().x() + w * 0.1, r.top()), 0, w * 0.17, c);
    ArrowHead(p, QPointF(r.center().x() - w * 0.1, r.bottom()), 180, w * 0.17, c);
    if (single)
        Text(p, r.adjusted(0, -w * 0.02, 0, 0), QStringLiteral("1"), c, Font(w * 0.32, true));
}

void GlyphSpeaker(QPainter &p, const QRectF &b, const QColor &c, bool muted)
{
    const qreal w = b.width();
    QPainterPath s;
    s.moveTo(b.left() + w * 0.16, b.top() + w * 0.4);
    s.lineTo(b.left() + w * 0.3, b.top() + w * 0.4);
    s.lineTo(b.left() + w * 0.48, b.top() + w * 0.22);
    s.lineTo(b.left() + w * 0.48, b.bottom() - w * 0.22);
    s.lineTo(b.left() + w * 0.3, b.bottom() - w * 0.4);
    s.lineTo(b.left() + w * 0.16, b.bottom() - w * 0.4);
    s.closeSubpath();
    p.setPen(Stroke(c, w * 0.05));
    p.setBrush(c);
    p.drawPath(s);
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, w * 0.07));
    if (muted) {
        const QPointF m(b.left() + w * 0.72, b.center().y());
        const qreal d = w * 0.1;
        p.drawLine(m + QPointF(-d, -d), m + QPointF(d, d));
        p.drawLine(m + QPointF(-d, d), m + QPointF(d, -d));
    } else {
        const QPointF m(b.left() + w * 0.46, b.center().y());
        p.drawArc(QRectF(m.x() - w * 0.16, m.y() - w * 0.16, w * 0.32, w * 0.32), -45 * 16,
                  90 * 16);
        p.drawArc(QRectF(m.x() - w * 0.3, m.y() - w * 0.3, w * 0.6, w * 0.6), -45 * 16, 90 * 16);
    }
}

void GlyphNote(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(b.left() + w * 0.2, b.top() + w * 0.6, w * 0.26, w * 0.2));
    p.drawEllipse(QRectF(b.left() + w * 0.54, b.top() + w * 0.52, w * 0.26, w * 0.2));
    p.setPen(Stroke(c, w * 0.07));
    p.drawLine(QPointF(b.left() + w * 0.43, b.top() + w * 0.68),
               QPointF(b.left() + w * 0.43, b.top() + w * 0.24));
    p.drawLine(QPointF(b.left() + w * 0.77, b.top() + w * 0.6),
               QPointF(b.left() + w * 0.77, b.top() + w * 0.16));
    p.setPen(Stroke(c, w * 0.1));
    p.drawLine(QPointF(b.left() + w * 0.43, b.top() + w * 0.25),
               QPointF(b.left() + w * 0.77, b.top() + w * 0.17));
}

void GlyphMagnifier(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, w * 0.1));
    p.drawEllipse(QRectF(b.left() + w * 0.2, b.top() + w * 0.2, w * 0.44, w * 0.44));
    p.drawLine(QPointF(b.left() + w * 0.58, b.top() + w * 0.58),
               QPointF(b.left() + w * 0.8, b.top() + w * 0.8));
}

void GlyphCross(QPainter &p, const QRectF &b, const QColor &c, qreal inset = 0.32)
{
    const qreal w = b.width();
    p.setPen(Stroke(c, w * 0.09));
    p.drawLine(QPointF(b.left() + w * inset, b.top() + w * inset),
               QPointF(b.right() - w * inset, b.bottom() - w * inset));
    p.drawLine(QPointF(b.left() + w * inset, b.bottom() - w * inset),
               QPointF(b.right() - w * inset, b.top() + w * inset));
}

void GlyphMinus(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setPen(Stroke(c, w * 0.09));
    p.drawLine(QPointF(b.left() + w * 0.3, b.center().y() + w * 0.08),
               QPointF(b.right() - w * 0.3, b.center().y() + w * 0.08));
}

void GlyphGear(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    const QPointF m = b.center();
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a = i * std::numbers::pi / teeth;
        const qreal r = (i % 2 == 0) ? w * 0.32 : w * 0.25;
        const qreal a0 = a - std::numbers::pi / teeth / 2, a1 = a + std::numbers::pi / teeth / 2;
        const QPointF p0 = m + QPointF(std::cos(a0) * r, std::sin(a0) * r);
        const QPointF p1 = m + QPointF(std::cos(a1) * r, std::sin(a1) * r);
        if (i == 0)
            path.moveTo(p0);
        else
            path.lineTo(p0);
        path.lineTo(p1);
    }
    path.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(m, w * 0.11, w * 0.11);
    p.setPen(Stroke(c, w * 0.03));
    p.setBrush(c);
    p.drawPath(path.subtracted(hole));
}

void GlyphQuestion(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, w * 0.07));
    p.drawEllipse(b.adjusted(w * 0.2, w * 0.2, -w * 0.2, -w * 0.2));
    Text(p, b.adjusted(0, -w * 0.02, 0, 0), QStringLiteral("?"), c, Font(w * 0.46, true));
}

void GlyphChevron(QPainter &p, const QRectF &b, const QColor &c, bool left)
{
    const qreal w = b.width();
    const qreal dx = left ? w * 0.08 : -w * 0.08;
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, w * 0.1));
    QPainterPath path;
    path.moveTo(b.center().x() - dx + (left ? w * 0.06 : -w * 0.06), b.top() + w * 0.3);
    path.lineTo(b.center().x() - dx + (left ? -w * 0.12 : w * 0.12), b.center().y());
    path.lineTo(b.center().x() - dx + (left ? w * 0.06 : -w * 0.06), b.bottom() - w * 0.3);
    p.drawPath(path);
}

void GlyphCheck(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, w * 0.12));
    QPainterPath path;
    path.moveTo(b.left() + w * 0.28, b.top() + w * 0.52);
    path.lineTo(b.left() + w * 0.44, b.top() + w * 0.67);
    path.lineTo(b.left() + w * 0.72, b.top() + w * 0.36);
    p.drawPath(path);
}

void GlyphDownArrow(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setPen(Stroke(c, w * 0.11));
    p.drawLine(QPointF(b.center().x(), b.top() + w * 0.3),
               QPointF(b.center().x(), b.bottom() - w * 0.36));
    ArrowHead(p, QPointF(b.center().x(), b.bottom() - w * 0.26), 90, w * 0.2, c);
}

void GlyphPerson(QPainter &p, const QRectF &b, const QColor &c)
{
    const qreal w = b.width();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(b.center().x() - w * 0.16, b.top() + w * 0.14, w * 0.32, w * 0.32));
    QPainterPath body;
    body.moveTo(b.left() + w * 0.2, b.bottom() - w * 0.12);
    body.cubicTo(b.left() + w * 0.2, b.top() + w * 0.5, b.right() - w * 0.2, b.top() + w * 0.5,
                 b.right() - w * 0.2, b.bottom() - w * 0.12);
    body.closeSubpath();
    p.drawPath(body);
}

// A round badge with a glyph, the base of most buttons and icons.
void Badge(QPainter &p, const QRectF &r, const QBrush &fill, const QColor &ring = QColor())
{
    p.setPen(ring.isValid() ? QPen(ring, r.width() * 0.05) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawEllipse(r);
}

// A soft drop shadow under a round shape.
void Shadow(QPainter &p, const QRectF &r, qreal spread)
{
    QRadialGradient g(r.center() + QPointF(0, spread * 0.4), r.width() / 2 + spread);
    g.setColorAt(0.0, QColor(20, 70, 100, 70));
    g.setColorAt(0.75, QColor(20, 70, 100, 30));
    g.setColorAt(1.0, QColor(20, 70, 100, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(r.adjusted(-spread, -spread + spread * 0.4, spread, spread + spread * 0.4));
}

// ---- the parts of three-part strips -----------------------------------------

enum class Part { Left, Middle, Right };

// Draws a rounded bar of which only one part (a cap or the middle) is seen:
// the bar is laid out wider than the canvas and shifted so caps get the ends.
void BarPart(QPainter &p, const QRectF &r, Part part, qreal radius, const QBrush &fill,
             const QPen &pen = Qt::NoPen)
{
    const qreal extra = radius * 4 + 4;
    QRectF bar = r;
    if (part == Part::Left)
        bar.setRight(r.right() + extra);
    else if (part == Part::Right)
        bar.setLeft(r.left() - extra);
    else
        bar.adjust(-extra, 0, extra, 0);
    const qreal half = pen.style() == Qt::NoPen ? 0 : pen.widthF() / 2;
    p.setPen(pen);
    p.setBrush(fill);
    p.drawRoundedRect(bar.adjusted(half, half, -half, -half), radius, radius);
}

// Tabs are flat fields with a line along the bottom: the pressed left cap is
// also stretched over the whole search landing page, so no cap has an edge.
void TabFrame(QPainter &p, const QRectF &r, const QColor &fill, const QColor &line,
              qreal lineWidth)
{
    p.fillRect(r, fill);
    p.fillRect(QRectF(r.left(), r.bottom() - lineWidth, r.width(), lineWidth), line);
}

void TabTitle(QPainter &p, const QRectF &r, const char *text, bool selected)
{
    // The playing mark sits over the title's left end, so the text keeps clear of it.
    Text(p, r.adjusted(16, 0, 0, 0), U(text), selected ? kBlueDark : kText,
         Font(13, selected));
}

void HeaderStrip(QPainter &p, const QRectF &r, Part part)
{
    p.setRenderHint(QPainter::Antialiasing);
    BarPart(p, r.adjusted(0, 0, 0, 8), part, 6, Vertical(r, kBlueLight, kFrame));
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    if (part == Part::Middle)
        p.drawLine(QPointF(r.left(), 0.5), QPointF(r.right(), 0.5));
}

void BottomStrip(QPainter &p, const QRectF &r, Part part)
{
    BarPart(p, r.adjusted(0, -8, 0, 0), part, 6, kFrame);
}

void MenuItem(QPainter &p, const QRectF &r, Part part, const QBrush &fill, const QColor &border)
{
    BarPart(p, r.adjusted(0, 1, 0, -1), part, 7, fill,
            border.isValid() ? QPen(border, 1) : QPen(Qt::NoPen));
}

void ProgressPart(QPainter &p, const QRectF &r, Part part, const QBrush &fill)
{
    BarPart(p, r.adjusted(0, 1, 0, -1), part, 2, fill);
}

void Knob(QPainter &p, const QRectF &r)
{
    Shadow(p, r.adjusted(1.5, 1.5, -1.5, -1.5), 1.2);
    Badge(p, r.adjusted(1.5, 1.5, -1.5, -1.5), kWhite, kBlue);
    Badge(p, QRectF(r.center().x() - 1.6, r.center().y() - 1.6, 3.2, 3.2), kBlue);
}

void PlayerRoundButton(QPainter &p, const QRectF &r, bool down, bool pause)
{
    const QRectF c = r.adjusted(2.5, 2, -2.5, -3);
    if (!down)
        Shadow(p, c, 1.8);
    const QRectF face = down ? c.adjusted(0.6, 1, -0.6, 0.2) : c;
    Badge(p, face, down ? QBrush(kBlueDark) : QBrush(Vertical(face, kBlueLight, kBlue)));
    p.setPen(QPen(QColor(255, 255, 255, down ? 30 : 80), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(face.adjusted(1, 1, -1, -1));
    if (pause)
        GlyphPause(p, face, kWhite);
    else
        GlyphPlay(p, face.translated(face.width() * 0.02, 0), kWhite);
}

// Small buttons of the player bar: a blue glyph, on a light disc while pressed.
void PlayerSmallButton(QPainter &p, const QRectF &r, bool down, const Glyph &glyph)
{
    if (down)
        Badge(p, r.adjusted(0.5, 0.5, -0.5, -0.5), kHover);
    glyph(p, r, down ? kBlueDark : kBlue);
}

// Header buttons: white glyphs on the blue header; a disc behind while pressed.
void HeaderButton(QPainter &p, const QRectF &r, bool down, const QColor &downColour,
                  const Glyph &glyph)
{
    if (down)
        Badge(p, r.adjusted(1, 1, -1, -1), downColour);
    glyph(p, r, kWhite);
}

void StatusIcon(QPainter &p, const QRectF &r, const QColor &fill, const Drawing &glyph)
{
    const QRectF c = r.adjusted(1, 1, -1, -1);
    Badge(p, c, fill);
    glyph(p, c);
}

void DownloadingIcon(QPainter &p, const QRectF &r, qreal fraction)
{
    const QRectF c = r.adjusted(1.5, 1.5, -1.5, -1.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kTrack, 2.2));
    p.drawEllipse(c);
    QPen arc(kBlue, 2.2);
    arc.setCapStyle(Qt::FlatCap);
    p.setPen(arc);
    p.drawArc(c, 90 * 16, -qRound(360 * 16 * fraction));
    GlyphDownArrow(p, c.adjusted(1, 0.5, -1, -1.5), kBlue);
}

void StatePicture(QPainter &p, const QRectF &r, const char *text,
                  const std::function<void(const QRectF &)> &icon)
{
    const QRectF iconBox(r.center().x() - 24, r.top() + 6, 48, 48);
    icon(iconBox);
    Text(p, QRectF(r.left(), r.top() + 62, r.width(), 22), U(text), kText, Font(13));
}

void InputBox(QPainter &p, const QRectF &r, const QColor &border)
{
    const QRectF box = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 70, 100, 18));
    p.drawRoundedRect(box.translated(0, 1), 4, 4);
    p.setPen(QPen(border, 1));
    p.setBrush(kWhite);
    p.drawRoundedRect(box, 4, 4);
}

void DialogBackground(QPainter &p, const QRectF &r, const char *title)
{
    p.fillRect(r, kWhite);
    const QRectF header(r.left(), r.top(), r.width(), 32);
    p.fillRect(header, Vertical(header, kBlueLight, kFrame));
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), QColor(255, 255, 255, 70));
    Badge(p, QRectF(10, 7, 18, 18), kWhite);
    GlyphNote(p, QRectF(10, 7, 18, 18), kBlue);
    Text(p, QRectF(36, 0, r.width() - 80, 32), U(title), kWhite, Font(14, true),
         Qt::AlignLeft | Qt::AlignVCenter);
    const QRectF footer(r.left(), r.bottom() - 44, r.width(), 44);
    p.fillRect(footer, kOddRow);
    p.fillRect(QRectF(footer.left(), footer.top(), footer.width(), 1), QColor(0xE1, 0xEE, 0xF6));
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

const std::map<std::string, Drawing> &Drawings()
{
    auto play = [](QPainter &p, const QRectF &r) { PlayerRoundButton(p, r, false, false); };
    auto small = [](bool down, Glyph g) {
        return [down, g](QPainter &p, const QRectF &r) { PlayerSmallButton(p, r, down, g); };
    };
    auto header = [](bool down, QColor downColour, Glyph g) {
        return [down, downColour, g](QPainter &p, const QRectF &r) {
            HeaderButton(p, r, down, downColour, g);
        };
    };
    auto tab = [](QColor fill, QColor line, qreal width) {
        return [fill, line, width](QPainter &p, const QRectF &r) {
            TabFrame(p, r, fill, line, width);
        };
    };
    auto title = [](const char *text, bool selected) {
        return [text, selected](QPainter &p, const QRectF &r) { TabTitle(p, r, text, selected); };
    };
    auto menuItem = [](Part part, QColor fill, QColor border) {
        return [part, fill, border](QPainter &p, const QRectF &r) {
            MenuItem(p, r, part, fill, border);
        };
    };
    auto progress = [](Part part, int kind) {
        return [part, kind](QPainter &p, const QRectF &r) {
            QBrush fill = kind == 0 ? QBrush(kTrack)
                          : kind == 1 ? QBrush(QColor(0xBF, 0xDF, 0xF0))
                                      : QBrush(Vertical(r, kBlueLight, kLabel));
            ProgressPart(p, r, part, fill);
        };
    };
    auto gLoop = [](bool single) -> Glyph {
        return [single](QPainter &p, const QRectF &r, const QColor &c) {
            GlyphLoop(p, r, c, single);
        };
    };
    auto gSpeaker = [](bool muted) -> Glyph {
        return [muted](QPainter &p, const QRectF &r, const QColor &c) {
            GlyphSpeaker(p, r, c, muted);
        };
    };
    auto gSkip = [](bool forward) -> Glyph {
        return [forward](QPainter &p, const QRectF &r, const QColor &c) {
            GlyphSkip(p, r, c, forward);
        };
    };
    auto status = [](QColor fill, Drawing glyph) {
        return [fill, glyph](QPainter &p, const QRectF &r) { StatusIcon(p, r, fill, glyph); };
    };

    static const std::map<std::string, Drawing> drawings = [&] {
        std::map<std::string, Drawing> m;
        m["PlayerBtn_Play.png"] = play;
        m["PlayerBtn_Play_Down.png"] = [](QPainter &p, const QRectF &r) {
            PlayerRoundButton(p, r, true, false);
        };
        m["PlayerBtn_Pause.png"] = [](QPainter &p, const QRectF &r) {
            PlayerRoundButton(p, r, false, true);
        };
        m["PlayerBtn_Pause_Down.png"] = [](QPainter &p, const QRectF &r) {
            PlayerRoundButton(p, r, true, true);
        };
        m["PlayerBtn_Pre.png"] = small(false, gSkip(false));
        m["PlayerBtn_Pre_Down.png"] = small(true, gSkip(false));
        m["PlayerBtn_Next.png"] = small(false, gSkip(true));
        m["PlayerBtn_Next_Down.png"] = small(true, gSkip(true));
        m["PlayerBtn_Random.png"] = small(false, GlyphShuffle);
        m["PlayerBtn_Random_Down.png"] = small(true, GlyphShuffle);
        m["PlayerBtn_Loop.png"] = small(false, gLoop(true));
        m["PlayerBtn_Loop_down.png"] = small(true, gLoop(true));
        m["PlayerBtn_ListLoop.png"] = small(false, gLoop(false));
        m["PlayerBtn_ListLoop_Down.png"] = small(true, gLoop(false));
        m["PlayerBtn_Volum.png"] = small(false, gSpeaker(false));
        m["PlayerBtn_Volum_Down.png"] = small(true, gSpeaker(false));
        m["PlayerBtn_NoVolum.png"] = small(false, gSpeaker(true));
        m["PlayerBtn_NoVolum_Down.png"] = small(true, gSpeaker(true));
        m["Player_DefaultCD.png"] = [](QPainter &p, const QRectF &r) {
            p.setPen(Qt::NoPen);
            p.setBrush(Vertical(r, QColor(0xEE, 0xF7, 0xFD), kHover));
            p.drawRoundedRect(r, 5, 5);
            const QRectF disc = r.adjusted(7, 7, -7, -7);
            Shadow(p, disc, 2);
            QRadialGradient vinyl(disc.center(), disc.width() / 2);
            vinyl.setColorAt(0, QColor(0x4A, 0x5A, 0x66));
            vinyl.setColorAt(1, QColor(0x2A, 0x35, 0x3D));
            Badge(p, disc, vinyl);
            p.setBrush(Qt::NoBrush);
            for (qreal k = 4; k < disc.width() / 2 - 8; k += 3) {
                p.setPen(QPen(QColor(255, 255, 255, 22), 0.8));
                p.drawEllipse(disc.center(), disc.width() / 2 - k, disc.width() / 2 - k);
            }
            p.setPen(QPen(QColor(255, 255, 255, 60), 1.2));
            p.drawArc(disc.adjusted(3, 3, -3, -3), 100 * 16, 50 * 16);
            Badge(p, QRectF(disc.center().x() - 8, disc.center().y() - 8, 16, 16), kBlue);
            Badge(p, QRectF(disc.center().x() - 2, disc.center().y() - 2, 4, 4), kWhite);
        };
        const Part parts[] = {Part::Left, Part::Middle, Part::Right};
        const char *partNames[] = {"Left", "Middle", "Right"};
        const char *progressKinds[] = {"BG", "Loaded", "Playing"};
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < 3; ++i) {
                m[std::string("PlayerProgress_") + progressKinds[k] + "_" + partNames[i] + ".png"]
                    = progress(parts[i], k);
            }
        }
        m["PlayerProgress_Btn.png"] = [](QPainter &p, const QRectF &r) { Knob(p, r); };
        m["PlayerVolum_BG.png"] = [](QPainter &p, const QRectF &r) {
            p.setPen(Qt::NoPen);
            p.setBrush(kTrack);
            p.drawRoundedRect(r.adjusted(0, 1, 0, -1), 2, 2);
        };
        m["PlayerVolum.png"] = [](QPainter &p, const QRectF &r) {
            p.fillRect(r.adjusted(0, 1, 0, -1), Vertical(r, kBlueLight, kLabel));
        };
        m["PlayerVolum_Btn.png"] = [](QPainter &p, const QRectF &r) { Knob(p, r); };

        const struct
        {
            const char *name;
            QColor fill, line;
            qreal width;
        } tabs[] = {{"Select", kWhite, kBlue, 3},
                    {"SelectDown", kPale, kBlueDark, 3},
                    {"UnselectDown", kHover, kLineStrong, 1},
                    {"Unselect", kTabOff, kLine, 1}};
        for (const auto &t : tabs) {
            for (const char *part : partNames)
                m[std::string("MenuBtn_") + t.name + "_" + part + ".png"]
                    = tab(t.fill, t.line, t.width);
        }
        m["MenuBtn_SelectTitle_DefaultList.png"] = title("默认列表", true);
        m["MenuBtn_UnSelectTitle_DefaultList.png"] = title("默认列表", false);
        m["MenuBtn_SelectTitle_MyMusic.png"] = title("我的音乐", true);
        m["MenuBtn_UnselectTitle_MyMusic.png"] = title("我的音乐", false);
        m["MenuBtn_SelectTitle_Playing.png"] = title("正在播放", true);
        m["MenuBtn_UnSelectTitle_Playing.png"] = title("正在播放", false);
        m["MenuBtn_selectTitle_MusicLibrary.png"] = title("音乐库", true);
        m["MenuBtn_UnselectTitle_MusicLibrary.png"] = title("音乐库", false);
        m["MenuBtn_selectTitle_Download.png"] = title("下载管理", true);
        m["MenuBtn_UnselectTitle_Download.png"] = title("下载管理", false);

        m["MenuBar_BG.png"] = [](QPainter &p, const QRectF &r) {
            p.fillRect(r, Vertical(r, QColor(0x4C, 0xA6, 0xD2), QColor(0x3B, 0x94, 0xC2)));
            p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), QColor(0x6B, 0xB8, 0xDD));
            p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), QColor(0x33, 0x7F, 0xA8));
        };
        for (int i = 0; i < 3; ++i) {
            m[std::string("MenuItem_Normal_") + partNames[i] + ".png"]
                = menuItem(parts[i], kBlueDeep, QColor(0x1C, 0x5E, 0x84));
            m[std::string("MenuItem_Down_") + partNames[i] + ".png"]
                = menuItem(parts[i], kHover, kLineStrong);
            m[std::string("MenuItem_UnSelect_") + partNames[i] + ".png"]
                = menuItem(parts[i], QColor(0xF4, 0xFA, 0xFE), QColor());
        }

        for (int i = 0; i < 3; ++i) {
            const Part part = parts[i];
            m[std::string("Frame_Top_") + partNames[i] + ".png"]
                = [part](QPainter &p, const QRectF &r) { HeaderStrip(p, r, part); };
            m[std::string("Frame_Bottom_") + partNames[i] + ".png"]
                = [part](QPainter &p, const QRectF &r) { BottomStrip(p, r, part); };
        }
        m["Frame_Side.png"] = [](QPainter &p, const QRectF &r) { p.fillRect(r, kFrame); };
        m["Header_Logo.png"] = [](QPainter &p, const QRectF &r) {
            Badge(p, r.adjusted(1, 1, -1, -1), kWhite);
            GlyphNote(p, r.adjusted(3, 3, -3, -3), kBlue);
        };
        const QColor press(255, 255, 255, 55);
        m["Header_Help.png"] = header(false, press, GlyphQuestion);
        m["Header_Help_Down.png"] = header(true, press, GlyphQuestion);
        m["Header_Setting.png"] = header(false, press, GlyphGear);
        m["Header_Setting_Down.png"] = header(true, press, GlyphGear);
        m["Header_Mini.png"] = header(false, press, GlyphMinus);
        m["Header_Mini_Down.png"] = header(true, press, GlyphMinus);
        auto cross = [](QPainter &p, const QRectF &r, const QColor &c) { GlyphCross(p, r, c); };
        m["Header_Close.png"] = header(false, kRed, cross);
        m["Header_Close_Down.png"] = header(true, kRed, cross);
        m["btn_close.png"] = header(false, kRed, cross);
        m["btn_close_over.png"] = header(true, QColor(255, 255, 255, 55), cross);
        m["btn_close_down.png"] = header(true, kRed, cross);
        auto login = [](QColor top, QColor bottom) {
            return [top, bottom](QPainter &p, const QRectF &r) {
                const QRectF b = r.adjusted(0.5, 0.5, -0.5, -1.5);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(20, 70, 100, 40));
                p.drawRoundedRect(b.translated(0, 1), 5, 5);
                p.setBrush(Vertical(b, top, bottom));
                p.drawRoundedRect(b, 5, 5);
                Text(p, b, U("登 录"), kWhite, Font(15, true));
            };
        };
        m["btn_login.png"] = login(kBlueLight, kBlue);
        m["btn_login_over.png"] = login(QColor(0x68, 0xBA, 0xE2), kBlueLight);
        m["btn_login_down.png"] = login(kBlueDark, kBlueDark);
        auto musicBox = [](bool on) {
            return [on](QPainter &p, const QRectF &r) {
                const QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
                p.setPen(QPen(on ? kBlueDark : kLineStrong, 1));
                p.setBrush(on ? QBrush(Vertical(b, kBlueLight, kBlue)) : QBrush(kWhite));
                p.drawRoundedRect(b, 4, 4);
                const QColor c = on ? kWhite : kBlue;
                GlyphNote(p, QRectF(b.left() + 2, b.top() + 3, 18, 18), c);
                GlyphChevron(p, QRectF(b.right() - 15, b.top() + 4, 16, 16), c, on);
            };
        };
        m["MusicBoxBtn_On.png"] = musicBox(true);
        m["MusicBoxBtn_Off.png"] = musicBox(false);
        m["Btn_Back.png"] = [](QPainter &p, const QRectF &r) {
            Badge(p, r.adjusted(1, 1, -1, -1), kBlue);
            GlyphChevron(p, r.adjusted(1, 1, -1, -1), kWhite, true);
        };
        m["tips_bg.png"] = [](QPainter &p, const QRectF &r) {
            p.fillRect(r, Vertical(r, QColor(0xFF, 0xFB, 0xD8), kSelection));
            p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), QColor(0xEE, 0xDC, 0x8E));
        };

        m["cover_nomal.png"] = [](QPainter &p, const QRectF &r) {
            p.setPen(QPen(kLine, 1));
            p.setBrush(Vertical(r, QColor(0xEE, 0xF7, 0xFD), QColor(0xD5, 0xEB, 0xF8)));
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
            GlyphNote(p, r.adjusted(12, 12, -12, -12), kLineStrong);
        };
        m["Tile_Mask.png"] = [](QPainter &p, const QRectF &r) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(16, 50, 72, 110));
            p.drawRoundedRect(r, 4, 4);
        };
        m["Tile_Play.png"] = [](QPainter &p, const QRectF &r) {
            const QRectF c = r.adjusted(1.5, 1.5, -1.5, -1.5);
            Shadow(p, c, 1.2);
            Badge(p, c, kWhite);
            GlyphPlay(p, c.translated(0.6, 0), kBlue);
        };
        m["Icon_list_playing.png"] = [](QPainter &p, const QRectF &r) {
            const qreal heights[] = {6, 11, 8};
            for (int i = 0; i < 3; ++i) {
                const qreal h = heights[i];
                p.setPen(Qt::NoPen);
                p.setBrush(kBlue);
                p.drawRoundedRect(QRectF(r.left() + 1.5 + i * 4, r.bottom() - 1.5 - h, 3, h), 1, 1);
            }
        };
        m["loading.png"] = [](QPainter &p, const QRectF &r) {
            StatePicture(p, r, "正在加载…", [&p](const QRectF &b) {
                const QRectF ring = b.adjusted(8, 8, -8, -8);
                for (int i = 0; i < 12; ++i) {
                    const qreal a = i * std::numbers::pi / 6;
                    const QPointF dir(std::cos(a), -std::sin(a));
                    QColor c = kBlue;
                    c.setAlpha(40 + i * 18);
                    p.setPen(Stroke(c, 3.2));
                    p.drawLine(ring.center() + dir * ring.width() * 0.28,
                               ring.center() + dir * ring.width() * 0.48);
                }
            });
        };
        auto loginState = [](const char *text, bool album) {
            return [text, album](QPainter &p, const QRectF &r) {
                StatePicture(p, r, text, [&p, album](const QRectF &b) {
                    Badge(p, b.adjusted(2, 2, -2, -2), kHover);
                    GlyphPerson(p, b.adjusted(10, 8, -10, -8), kBlue);
                    const QRectF tag(b.right() - 18, b.bottom() - 18, 16, 16);
                    Badge(p, tag, kWhite, kLineStrong);
                    if (album)
                        Badge(p, tag.adjusted(4, 4, -4, -4), kBlue);
                    else
                        GlyphNote(p, tag.adjusted(1, 1, -1, -1), kBlue);
                });
            };
        };
        m["text_listLogin.png"] = loginState("登录后查看我的歌单", false);
        m["text_albumLogin.png"] = loginState("登录后查看收藏的专辑", true);
        m["text_nocollection.png"] = [](QPainter &p, const QRectF &r) {
            StatePicture(p, r, "还没有收藏的专辑", [&p](const QRectF &b) {
                Badge(p, b.adjusted(2, 2, -2, -2), kHover);
                const QRectF disc = b.adjusted(12, 12, -12, -12);
                p.setPen(QPen(kLineStrong, 2, Qt::DashLine));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(disc);
                Badge(p, disc.adjusted(8, 8, -8, -8), kLineStrong);
            });
        };

        m["Search_title.jpg"] = [](QPainter &p, const QRectF &r) {
            p.fillRect(r, kPale);
            Badge(p, QRectF(4, 8, 34, 34), kBlue);
            GlyphMagnifier(p, QRectF(8, 12, 26, 26), kWhite);
            Text(p, QRectF(48, 4, r.width() - 48, 26), U("音乐搜索"), kBlueDark, Font(21, true),
                 Qt::AlignLeft | Qt::AlignVCenter);
            Text(p, QRectF(49, 30, r.width() - 49, 16), U("歌曲 · 歌手 · 专辑"), kLabel, Font(11),
                 Qt::AlignLeft | Qt::AlignVCenter);
        };
        m["Search_BG.jpg"] = [](QPainter &p, const QRectF &r) {
            p.fillRect(r, kPale);
            const QColor waves[] = {QColor(0xD3, 0xEB, 0xF9), QColor(0xBC, 0xE0, 0xF4),
                                    QColor(0x9F, 0xD0, 0xEB)};
            for (int i = 0; i < 3; ++i) {
                QPainterPath path;
                const qreal base = r.top() + 50 + i * 28;
                path.moveTo(r.left(), base);
                for (qreal x = 0; x <= r.width(); x += 4) {
                    path.lineTo(r.left() + x,
                                base + 12 * std::sin(x / r.width() * 2 * std::numbers::pi * 1.3
                                                     + i * 1.7));
                }
                path.lineTo(r.right(), r.bottom());
                path.lineTo(r.left(), r.bottom());
                path.closeSubpath();
                p.setPen(Qt::NoPen);
                p.setBrush(waves[i]);
                p.drawPath(path);
            }
            const QPointF notes[] = {{60, 34}, {150, 18}, {350, 26}, {430, 12}};
            for (const QPointF &n : notes)
                GlyphNote(p, QRectF(n.x(), n.y(), 20, 20), QColor(255, 255, 255, 200));
        };
        m["search_input.png"] = [](QPainter &p, const QRectF &r) {
            InputBox(p, r.adjusted(0, 0, 0, -1), kLineStrong);
            QPainterPath button;
            const QRectF b(r.right() - 66, r.top() + 0.5, 65.5, r.height() - 2);
            button.addRoundedRect(b, 4, 4);
            QPainterPath left;
            left.addRect(QRectF(b.left(), b.top(), 6, b.height()));
            p.setPen(Qt::NoPen);
            p.setBrush(Vertical(b, kBlueLight, kBlue));
            p.drawPath(button.united(left));
            GlyphMagnifier(p, QRectF(b.left() + 6, b.top() + 8, 19, 19), kWhite);
            Text(p, QRectF(b.left() + 26, b.top(), 36, b.height()), U("搜索"), kWhite,
                 Font(13, true));
        };
        m["input_name_down.png"] = [](QPainter &p, const QRectF &r) {
            InputBox(p, r.adjusted(0, 0, 0, -1), kBlue);
        };
        m["btn_search_up.png"] = [](QPainter &p, const QRectF &r) {
            const QRectF b = r.adjusted(0.5, 0.5, -0.5, -1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(20, 70, 100, 40));
            p.drawRoundedRect(b.translated(0, 1), 4, 4);
            p.setBrush(Vertical(b, kBlueLight, kBlue));
            p.drawRoundedRect(b, 4, 4);
            GlyphMagnifier(p, b.adjusted(4, 4, -4, -4), kWhite);
        };
        m["newlist_bg.jpg"] = [](QPainter &p, const QRectF &r) {
            DialogBackground(p, r, "新建歌单");
        };
        m["listinfo_bg.jpg"] = [](QPainter &p, const QRectF &r) {
            DialogBackground(p, r, "歌单信息");
        };

        m["status_playing.bmp"] = status(kBlue, [](QPainter &p, const QRectF &c) {
            GlyphPlay(p, c.translated(0.4, 0), kWhite);
        });
        m["status_downloaded.bmp"] = status(kGreen, [](QPainter &p, const QRectF &c) {
            GlyphCheck(p, c, kWhite);
        });
        m["status_online.bmp"] = [](QPainter &p, const QRectF &r) {
            const QRectF c = r.adjusted(1, 1, -1, -1);
            Badge(p, c, kHover, kLineStrong);
            GlyphNote(p, c.adjusted(1, 1, -1, -1), kBlue);
        };
        m["status_stop.bmp"] = status(kGrey, [](QPainter &p, const QRectF &c) {
            p.setPen(Qt::NoPen);
            p.setBrush(kWhite);
            p.drawRoundedRect(c.adjusted(4.5, 4.5, -4.5, -4.5), 0.8, 0.8);
        });
        m["status_error.bmp"] = status(kRed, [](QPainter &p, const QRectF &c) {
            p.setPen(Stroke(kWhite, 1.8));
            p.drawLine(QPointF(c.center().x(), c.top() + 3.2),
                       QPointF(c.center().x(), c.center().y() + 1.2));
            p.setPen(Qt::NoPen);
            p.setBrush(kWhite);
            p.drawEllipse(QPointF(c.center().x(), c.bottom() - 3.4), 1.1, 1.1);
        });
        m["status_waitting.bmp"] = [](QPainter &p, const QRectF &r) {
            const QRectF c = r.adjusted(1.5, 1.5, -1.5, -1.5);
            Badge(p, c, kWhite, kGrey);
            p.setPen(Stroke(kGrey, 1.4));
            p.drawLine(c.center(), c.center() + QPointF(0, -4));
            p.drawLine(c.center(), c.center() + QPointF(3, 0));
        };
        const qreal fractions[] = {0.12, 0.38, 0.62, 0.88};
        for (int i = 0; i < 4; ++i) {
            const qreal f = fractions[i];
            m["status_downloading_" + std::to_string(i) + ".bmp"]
                = [f](QPainter &p, const QRectF &r) { DownloadingIcon(p, r, f); };
        }
        return m;
    }();
    return drawings;
}

// Formats without transparency are drawn over the colour they will sit on.
QColor BackgroundFor(const std::string &name)
{
    if (name.ends_with(".bmp") || name.ends_with(".jpg"))
        return kWhite;
    return Qt::transparent;
}

} // namespace

QImage DrawSkinPicture(const std::string &name, int width, int height, int scale)
{
    const auto &drawings = Drawings();
    const auto it = drawings.find(name);
    if (it == drawings.end() || width <= 0 || height <= 0 || scale < 1)
        return {};
    QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(BackgroundFor(name));
    {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                         | QPainter::SmoothPixmapTransform);
        p.scale(scale, scale);
        it->second(p, QRectF(0, 0, width, height));
    }
    if (BackgroundFor(name) != QColor(Qt::transparent))
        return image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace qarvon::skin
