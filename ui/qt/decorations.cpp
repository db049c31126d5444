#include "ui/qt/decorations.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/qt/qt_look.h"

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

// --- LineControl ---------------------------------------------------------------------------

LineControl::LineControl(int x1, int y1, int x2, int y2, int width, QWidget* parent)
    : QWidget(parent), width_(width) {
    const int left = px(std::min(x1, x2)), right = px(std::max(x1, x2));
    const int top = px(std::min(y1, y2)), bottom = px(std::max(y1, y2));
    const int before = (width - 1) / 2;  // pixels before the centre line
    if (y1 == y2)
        setGeometry(left, top - before, right - left + 1, width);
    else
        setGeometry(left - before, top, width, bottom - top + 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
}

// --- PictureControl ------------------------------------------------------------------------

PictureControl::PictureControl(QString text, QColor colour, QFont font, bool upwards, Arrow arrow,
                               QWidget* parent)
    : QWidget(parent), text_(std::move(text)), colour_(colour), upwards_(upwards), arrow_(arrow) {
    setFont(font);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Lay the picture out along its long side; an upright picture is turned so that its
    // bottom edge becomes the start of the line.
    double length = width(), across = height();
    if (upwards_) {
        p.translate(0, height());
        p.rotate(-90);
        std::swap(length, across);
    }
    p.setPen(colour_);
    p.setBrush(colour_);
    const QFontMetricsF fm(font());
    const double textWidth = fm.horizontalAdvance(text_);
    const double gap = 5.0;
    double textLeft = 0.0;
    switch (arrow_) {
        case Arrow::None:
            textLeft = (length - textWidth) / 2.0;
            break;
        case Arrow::AfterText:
            textLeft = 0.0;
            break;
        case Arrow::BeforeText:
            textLeft = length - textWidth;
            break;
    }
    const QRectF textBox(textLeft, 0.0, textWidth + 1.0, across);
    p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, text_);

    const double mid = across / 2.0;
    const double head = std::min(across * 0.8, 8.0);
    if (arrow_ == Arrow::AfterText)
        drawArrow(p, {textWidth + gap, mid}, {length - 1.0, mid}, head, 1.5);
    else if (arrow_ == Arrow::BeforeText)
        drawArrow(p, {textLeft - gap, mid}, {1.0, mid}, head, 1.5);
}

// --- LogoControl and the icon ----------------------------------------------------------------

LogoControl::LogoControl(bool counterCurrent, QWidget* parent)
    : QWidget(parent), counterCurrent_(counterCurrent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

// The plate in the middle, vapour leaving both faces in wavy arrows: symmetric drying.
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

void LogoControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!counterCurrent_) {
        paintEmblem(p, QRectF(rect()).adjusted(1, 1, -1, -1));
        return;
    }
    // The plate travels to the right through the dryer; the air meets it from the right and
    // flows over both faces to the left.
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width(), h = height();
    const QRectF plate(2.0, h * 0.38, w * 0.62, h * 0.24);
    p.setPen(QPen(kClayEdge, 1.0));
    p.setBrush(kClay);
    p.drawRect(plate);
    p.setBrush(kClayEdge);
    drawArrow(p, {plate.right() + 2.0, h / 2.0}, {w - 2.0, h / 2.0}, 6.0, 2.0);
    p.setBrush(kAir);
    drawArrow(p, {w - 4.0, h * 0.14}, {6.0, h * 0.14}, 6.0, 1.6);
    drawArrow(p, {w - 4.0, h * 0.86}, {6.0, h * 0.86}, 6.0, 1.6);
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 6.0, size / 6.0);
        paintEmblem(p, QRectF(0, 0, size, size)
                           .adjusted(size / 10.0, size / 10.0, -size / 10.0, -size / 10.0));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace tesmo::qt
