#include "gui/standard_keys.h"

namespace tesmo::qt {

QList<QKeySequence> standardKeys(QKeySequence::StandardKey key) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.isEmpty()) return keys;
    switch (key) {
        case QKeySequence::SaveAs:
            return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
        case QKeySequence::Quit:
            return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
        case QKeySequence::Close:
            return {QKeySequence(Qt::CTRL | Qt::Key_W)};
        default:
            return {};
    }
}

}  // namespace tesmo::qt
