// One input varied over a range or a list of texts.
//
// A range FROM:TO:STEP is written with plain decimal numbers (decimal comma or point, no
// exponent): 30:70:5, 10,0:30,0:2,5, 80:40:-10. Its values run from FROM in steps of STEP up to
// TO inclusive, TO counting when the last value lies within a thousandth of a step of it; each
// value is written with as many decimals as the widest of the three numbers, with a decimal
// comma, as the user would type it. A list A;B;C takes its texts as they are (blanks around
// each removed). A text with neither ':' nor ';' is a list of one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/inputs.h"

namespace tesmo {

struct Variation {
    Control field = Control::Count;
    std::vector<std::string> texts;  // the field's text in each case, in order
};

// The most values one variation may produce; far beyond any sensible study, it bounds the memory
// a typing error (a step of 0,0001 instead of 1) can take.
inline constexpr std::size_t kMaxVariationValues = 1'000'000;

struct VariationResult {
    bool ok = false;
    Variation variation;
    std::string error;  // German, when !ok: what is wrong with the range or list
};

// Parses SPEC for the input field `field` ("30:70:5", "30;40;55", "35").
VariationResult parseVariationSpec(Control field, std::string_view spec);

// Parses a range given as its three numbers, as a form with fields VON, BIS and SCHRITT takes
// it: the same rules and messages as "FROM:TO:STEP" in parseVariationSpec.
VariationResult parseVariationRange(Control field, std::string_view from, std::string_view to,
                                    std::string_view step);

// Parses NAME=SPEC, NAME being an input field's control name.
VariationResult parseVariation(std::string_view nameAndSpec);

}  // namespace tesmo
