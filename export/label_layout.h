// Where a label's text stands, worked out once for the window's labels and for the exports
// that paint the same labels without widgets.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace tesmo::qt {

struct LabelLayout {
    QFont font;  // the given font, set closer where the text is a little too wide
    QRect geometry;
    Qt::Alignment alignment;
};

// Lays out a label for its place in the window layout. The captions beside the 13-pixel fields
// are as tall as the place itself, less than the line height of their font, so a transparent
// label is given the full line height instead and placed by its baseline: on the baseline of
// its field's digits (fieldBaseline, from the place's top) or else where the ink is centred in
// the place. The descenders stay whole. An opaque label fills its place and centres its text
// vertically. A caption a little wider than its place is set closer to fit.
LabelLayout layoutLabel(const QString& text, const QFont& font, const QRect& place, bool opaque,
                        int fieldBaseline = -1);

// Paints a label as the window shows it: its background where it has one, then its text.
void paintLabel(QPainter& p, const LabelLayout& layout, const QString& text, const QColor& colour,
                const QColor* background = nullptr);

}  // namespace tesmo::qt
