// Refusal of input that the drying model cannot compute.
//
// The set-up itself checks nothing; before it touches the run state, the seventeen texts are
// checked here for everything that would divide by zero, take a root or logarithm of a negative
// number, overrun an array or never end.
#pragma once

#include <string>
#include <vector>

#include "model/inputs.h"

namespace tesmo {

// One German message per problem, each naming the field by its label caption and saying what
// is wrong and what would be valid. Empty when the texts can be computed.
std::vector<std::string> pruefeEingaben(const InputTexts& texts);

}  // namespace tesmo
