#include "export/picture_paint.h"

#include <algorithm>
#include <utility>

#include <QPainter>
#include <QPainterPath>

namespace tesmo::qt {

namespace {

const QColor kClay(178, 84, 48);  // brick clay as it leaves the press
const QColor kClayEdge(120, 52, 28);
const QColor kAir(0, 96, 220);  // drying air and the vapour it carries away

// A straight arrow with a filled head at `to`.
void drawArrow(QPainter& p, QPointF from, QPointF to, double head, double width) {
    const QLineF shaft(from, to);
    if (shaft.length() < 1e-6) return;
    const QPointF unit = (to - from) / shaft.length();
    const QPointF normal(-unit.y(), unit.x());
    const QPointF base = to - unit * head;
    p.setPen(QPen(p.brush().color(), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, base + unit * 0.5);
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(base + normal * (head * 0.55));
    tip.lineTo(base - normal * (head * 0.55));
    tip.closeSubpath();
    p.fillPath(tip, p.brush());
}

}  // namespace

void paintPicture(QPainter& p, const QRectF& box, const QString& text, const QColor& colour,
                  const QFont& font, PictureStyle style) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    // Lay the picture out along its long side; an upright picture is turned so that its
    // bottom edge becomes the start of the line.
    p.translate(box.topLeft());
    double length = box.width(), across = box.height();
    if (style.upwards) {
        p.translate(0, box.height());
        p.rotate(-90);
        std::swap(length, across);
    }
    p.setPen(colour);
    p.setBrush(colour);
    const QFontMetricsF fm(font);
    const double textWidth = fm.horizontalAdvance(text);
    const double gap = 5.0;
    double textLeft = 0.0;
    switch (style.arrow) {
        case PictureArrow::None:
            textLeft = (length - textWidth) / 2.0;
            break;
        case PictureArrow::AfterText:
            textLeft = 0.0;
            break;
        case PictureArrow::BeforeText:
            textLeft = length - textWidth;
            break;
    }
    const QRectF textBox(textLeft, 0.0, textWidth + 1.0, across);
    p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, text);

    const double mid = across / 2.0;
    const double head = std::min(across * 0.8, 8.0);
    if (style.arrow == PictureArrow::AfterText)
        drawArrow(p, {textWidth + gap, mid}, {length - 1.0, mid}, head, 1.5);
    else if (style.arrow == PictureArrow::BeforeText)
        drawArrow(p, {textLeft - gap, mid}, {1.0, mid}, head, 1.5);
    p.restore();
}

void paintEmblem(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double w = box.width(), h = box.height();
    const QRectF plate(box.left() + 0.08 * w, box.top() + 0.40 * h, 0.84 * w, 0.20 * h);
    p.setPen(QPen(kClayEdge, std::max(1.0, w / 40.0)));
    p.setBrush(kClay);
    p.drawRect(plate);

    p.setBrush(kAir);
    const double stroke = std::max(1.2, w / 22.0);
    const double head = std::max(3.0, w / 7.0);
    for (int k = 0; k < 3; ++k) {
        const double x = box.left() + (0.25 + 0.25 * k) * w;
        drawArrow(p, {x, plate.top() - 0.04 * h}, {x, box.top() + 0.04 * h}, head, stroke);
        drawArrow(p, {x, plate.bottom() + 0.04 * h}, {x, box.bottom() - 0.04 * h}, head, stroke);
    }
    p.restore();
}

void paintLogo(QPainter& p, const QRectF& box, bool counterCurrent) {
    if (!counterCurrent) {
        paintEmblem(p, box.adjusted(1, 1, -1, -1));
        return;
    }
    p.save();
    p.translate(box.topLeft());
    p.setRenderHint(QPainter::Antialiasing);
    const double w = box.width(), h = box.height();
    const QRectF plate(2.0, h * 0.38, w * 0.62, h * 0.24);
    p.setPen(QPen(kClayEdge, 1.0));
    p.setBrush(kClay);
    p.drawRect(plate);
    p.setBrush(kClayEdge);
    drawArrow(p, {plate.right() + 2.0, h / 2.0}, {w - 2.0, h / 2.0}, 6.0, 2.0);
    p.setBrush(kAir);
    drawArrow(p, {w - 4.0, h * 0.14}, {6.0, h * 0.14}, 6.0, 1.6);
    drawArrow(p, {w - 4.0, h * 0.86}, {6.0, h * 0.86}, 6.0, 1.6);
    p.restore();
}

}  // namespace tesmo::qt
