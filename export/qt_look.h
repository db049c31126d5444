// Conversions from the window's layout units, fonts and colours to Qt's.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include "display/control_table.h"
#include "display/rgb.h"

namespace tesmo::qt {

// 15 twips make one logical pixel (1440 twips per inch at 96 pixels per inch).
inline constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels, halves rounded away from zero.
constexpr int px(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
inline QRect pxRect(const Twips& t) {
    return {px(t.left), px(t.top), px(t.width), px(t.height)};
}

inline QColor toQColor(Rgb c) {
    return {c.r, c.g, c.b};
}

// Arial at a size in points. The size is set in pixels at 96 per inch (every size the window
// uses is a whole number of pixels there), so text keeps its proportions to the layout whatever
// the screen's logical resolution; high-DPI scaling enlarges both alike. Arial resolves to the
// metric-compatible Liberation Sans through fontconfig.
QFont arialFont(double points, bool bold);
inline QFont arialFont(const FontSpec& f) {
    return arialFont(f.points, f.bold);
}

}  // namespace tesmo::qt
