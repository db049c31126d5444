// German help texts for the window's fields, shown as tooltips: what an input, a result or a
// warning means, its unit, for an input the values a brick-clay plate in a counter-current
// dryer typically has and what the input check refuses, for a result how it is computed.
#pragma once

#include "model/controls.h"

namespace tesmo {

// Typical values of an input, typed as in the window (decimal comma).
struct TypicalRange {
    const char* from = nullptr;
    const char* to = nullptr;
};

// The help text of an input field, an output field, an output field's label (its field's
// text) or a warning label; "" for every other control. Paragraphs are separated by '\n'.
const char* fieldHelp(Control c);

// The typical values that the help text of an input names; empty for every other control.
TypicalRange typicalRange(Control input);

// Rows of the help table: one per input field, output field and warning label.
int fieldHelpRows();

}  // namespace tesmo
