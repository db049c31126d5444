#include "gui/text_field.h"

#include <cmath>

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace tesmo::qt {

namespace {
const QColor kBorder(122, 122, 122);
}

TextField::TextField(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setContentsMargins(0, 0, 0, 0);
    setAttribute(Qt::WA_MacShowFocusRect, false);
}

void TextField::setBorderVisible(bool visible) {
    border_ = visible;
    update();
}

void TextField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!border_) return;
    QPainter p(this);
    p.setPen(kBorder);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TextField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeText();
}

void TextField::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) placeText();
}

// A line edit centres the line box (ascent + descent) in its contents rectangle and clips to
// it. Here the line box is taller than the space inside the border, so the top text margin is
// chosen to put the ink of the digits and of the comma's tail, rather than the line box, in the
// middle between the border lines; the line edit's own placement rule is followed exactly.
namespace {
int baselineWithMargin(const QFontMetrics& fm, int height, int top) {
    return top + (height - top - fm.height() + 1) / 2 + fm.ascent();
}
}  // namespace

int TextField::topMargin(const QFont& font, int height) {
    const QFontMetrics fm(font);
    const int capTop = fm.capHeight();
    const int tail = qMax(fm.boundingRect(QLatin1Char(',')).bottom(), 1);
    const double wanted = 1.0 + (height - 2 - (capTop + tail)) / 2.0 + capTop;
    int best = 0;
    double bestMiss = 1e9;
    for (int top = -6; top <= 6; ++top) {
        const double miss = std::abs(baselineWithMargin(fm, height, top) - wanted);
        if (miss < bestMiss) {
            bestMiss = miss;
            best = top;
        }
    }
    return best;
}

int TextField::baseline(const QFont& font, int height) {
    return baselineWithMargin(QFontMetrics(font), height, topMargin(font, height));
}

void TextField::placeText() {
    setTextMargins(0, topMargin(font(), height()), 0, 0);
}

}  // namespace tesmo::qt
