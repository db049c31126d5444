// The seventeen input fields: their controls, default texts and label captions.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/controls.h"
#include "model/run_options.h"

namespace tesmo {

// The texts of the input fields, indexed by index(Control) of the input (0..16), and the run
// modes that go with them (counter-current dryer and the standard air balance unless chosen
// otherwise). Together they are everything a run is started from.
struct InputTexts {
    std::array<std::string, kInputCount> text;
    RunOptions optionen{};
    std::string& operator[](Control c) { return text[static_cast<std::size_t>(index(c))]; }
    const std::string& operator[](Control c) const {
        return text[static_cast<std::size_t>(index(c))];
    }
};

// The input field with that control name (e.g. "txt_Dicke"; names are case-sensitive), or
// Control::Count when no input field has it.
Control inputByName(std::string_view name);

// The window's default texts (decimal comma).
InputTexts defaultInputTexts();
// The default text of one input field.
const char* defaultText(Control inputField);
// The caption of the label beside an input field, e.g. "Anfangsdicke der Platte in mm".
const char* inputCaption(Control inputField);
// The object name of that label, e.g. "lbl_Dicke".
const char* inputLabelName(Control inputField);

}  // namespace tesmo
