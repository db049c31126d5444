// How an input field's text becomes a number.
#pragma once

#include <string>
#include <string_view>

namespace tesmo {

// Every comma counts as a decimal point; blanks, tabs and line feeds are ignored wherever they
// stand; a leading sign, digits, at most one decimal point and an optional E exponent are read
// from the start, the rest of the text is ignored. A text with no number at its start gives 0.
double TextZuZahl(std::string_view text);

// The same reading; `zahlGefunden` tells whether the text held a number at all (a text without
// one gives 0, which a message should not present as if the user had typed 0).
double TextZuZahl(std::string_view text, bool* zahlGefunden);

// A number as a user would type it, which TextZuZahl reads back: up to `stellen` significant
// digits, a decimal comma, a large or small number with an E exponent (1E39, 1E-7), never "-0".
std::string ZahlZuText(double v, int stellen = 10);

// The shortest text that TextZuZahl reads back as exactly `v` (every bit), with a decimal comma
// and an E exponent where that is shorter: 41,23456789012345, 0,25, 1E-5. A sampled input goes
// into its field as this text, so that the case computes with the sampled number itself.
std::string ZahlZuTextExakt(double v);

}  // namespace tesmo
