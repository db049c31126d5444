// Text for the clipboard that a spreadsheet set to German pastes into cells as they stand:
// cells separated by tabs, one row per line, numbers with the decimal comma as the window
// shows them, headers that carry their units.
#pragma once

#include <string>
#include <vector>

#include "display/window_base.h"

namespace tesmo {

// The rows, cells joined by tabs and rows ended by a line feed. A tab or line break inside a
// cell would start a new cell or row, so it becomes a blank; blanks at either end go.
std::string tabSeparated(const std::vector<std::vector<std::string>>& rows);

// The result fields the window shows, top to bottom: a header row of their captions with
// units ("laufende Zeit in hh : mm : ss") and one row of their texts ("6:09:35"). Empty when
// the window shows none.
std::string resultFieldsText(const WindowBase& window);

}  // namespace tesmo
