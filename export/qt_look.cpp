#include "export/qt_look.h"

#include <cmath>

namespace tesmo::qt {

QFont arialFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

}  // namespace tesmo::qt
