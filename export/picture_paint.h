// The window's pictures painted on any QPainter: the axis pictures written as text with an
// arrow, and the program's emblem. The window's picture widgets and the exports of a run paint
// them with the same functions, so that both look alike.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include "display/decoration_table.h"

class QPainter;

namespace tesmo::qt {

// A picture filling `box`: its text and arrow along the long side (see PictureStyle).
void paintPicture(QPainter& p, const QRectF& box, const QString& text, const QColor& colour,
                  const QFont& font, PictureStyle style);

// The plate in the middle, vapour leaving both faces in wavy arrows: symmetric drying.
void paintEmblem(QPainter& p, const QRectF& box);
// A logo filling `box`: the emblem, or with `counterCurrent` the plate travelling right through
// the dryer while the air meets it from the right and flows over both faces to the left.
void paintLogo(QPainter& p, const QRectF& box, bool counterCurrent);

}  // namespace tesmo::qt
