// Where every addressable control sits in the window and how it looks.
//
// Positions are in twips (1/1440 inch) from the client area's top left corner; the Qt window
// divides them by 15 to get logical pixels. Colours are (red, green, blue).
#pragma once

#include <array>

#include "display/rgb.h"
#include "model/controls.h"

namespace tesmo {

enum class ControlKind { TextField, Label, Button, Image, Surface };
enum class Align { Left, Center };

struct Twips {
    int left, top, width, height;
};

struct FontSpec {
    double points;  // Arial, which resolves to Liberation Sans
    bool bold;
};

struct ControlSpec {
    Control id;
    ControlKind kind;
    const char* text;  // default text, caption, or "" (txt_Wasserfehler: " ")
    Twips geometry;    // pic_* and Image7 too; lbl_Achtung in pic_Zeit's logical units
    FontSpec font;
    Rgb colour;  // text colour
    Align align;
    bool visibleAtStart;
};

// The labels that warn that a run's results may be inaccurate, in the order the runner lists
// them: the long search for the front temperature, then the three "evtl. sehr ungenau !".
inline constexpr std::array<Control, 4> kWarningLabels = {
    Control::lbl_Achtung, Control::lbl_ungenau1, Control::lbl_ungenau2, Control::lbl_ungenau3};

const ControlSpec& controlSpec(Control c);
// The caption of the label that names a field (input or output), e.g. for printing.
const char* fieldCaption(Control field);

}  // namespace tesmo
