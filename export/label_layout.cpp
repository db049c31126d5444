#include "export/label_layout.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

namespace tesmo::qt {

LabelLayout layoutLabel(const QString& text, const QFont& font, const QRect& place, bool opaque,
                        int fieldBaseline) {
    LabelLayout layout{font, place, Qt::AlignLeft | Qt::AlignVCenter};
    const QFontMetricsF wide(font);
    const double room = place.width() - 1.0;
    const double needed = wide.horizontalAdvance(text);
    if (needed > room && text.size() > 1)
        layout.font.setLetterSpacing(QFont::AbsoluteSpacing, (room - needed) / (text.size() - 1));
    if (opaque) return layout;

    const QFontMetrics fm(layout.font);
    const double ink = fm.capHeight() + fm.descent();
    const int baseline =
        fieldBaseline >= 0
            ? fieldBaseline
            : static_cast<int>(std::lround((place.height() - ink) / 2.0 + fm.capHeight()));
    layout.alignment = Qt::AlignLeft | Qt::AlignTop;
    layout.geometry = QRect(place.left(), place.top() + baseline - fm.ascent(), place.width(),
                            std::max(place.height(), fm.height() + 1));
    return layout;
}

void paintLabel(QPainter& p, const LabelLayout& layout, const QString& text, const QColor& colour,
                const QColor* background) {
    if (background) p.fillRect(layout.geometry, *background);
    p.save();
    p.setFont(layout.font);
    p.setPen(colour);
    p.drawText(layout.geometry, static_cast<int>(layout.alignment) | Qt::TextForceLeftToRight,
               text);
    p.restore();
}

}  // namespace tesmo::qt
