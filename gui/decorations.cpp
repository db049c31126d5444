#include "gui/decorations.h"

#include <algorithm>
#include <utility>

#include <QPainter>
#include <QPixmap>

#include "export/picture_paint.h"
#include "export/qt_look.h"

namespace tesmo::qt {

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

PictureControl::PictureControl(QString text, QColor colour, QFont font, PictureStyle style,
                               QWidget* parent)
    : QWidget(parent), text_(std::move(text)), colour_(colour), style_(style) {
    setFont(font);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintPicture(p, QRectF(rect()), text_, colour_, font(), style_);
}

// --- LogoControl and the icon ----------------------------------------------------------------

LogoControl::LogoControl(bool counterCurrent, QWidget* parent)
    : QWidget(parent), counterCurrent_(counterCurrent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LogoControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintLogo(p, QRectF(rect()), counterCurrent_);
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
