// The desktop's shortcuts for the standard actions (New, Open, Save, Save As, Quit, Close,
// Help), as the platform's key scheme has them.
#pragma once

#include <QKeySequence>
#include <QList>

namespace tesmo::qt {

// The platform's bindings of a standard action. Where its scheme has none (the scheme of the
// offscreen platform has no Quit and no Save As), those of the Linux desktops: Ctrl+Shift+S,
// Ctrl+Q, Ctrl+W.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key);

}  // namespace tesmo::qt
