// How much of a screen a window may take: the screen's available area (without the desktop's
// panels) less the window manager's frame, which is known only once the window is on the
// screen and estimated before.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace tesmo::qt {

QSize screenRoom(const QWidget& window, const QRect& available);

// A resizable window larger than its screen's room shrinks to it (the study window and the
// manual on a laptop, or on a screen scaled to 150 %).
void shrinkToScreen(QWidget& window);

}  // namespace tesmo::qt
