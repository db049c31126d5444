#include "gui/screen_room.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace tesmo::qt {

QSize screenRoom(const QWidget& window, const QRect& available) {
    QSize frame = window.frameGeometry().size() - window.geometry().size();
    if (!window.isVisible() || frame.isEmpty())
        frame = QSize(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window));
    return available.size() - frame;
}

void shrinkToScreen(QWidget& window) {
    if (const QScreen* s = window.screen())
        window.resize(window.size().boundedTo(screenRoom(window, s->availableGeometry())));
}

}  // namespace tesmo::qt
