#include "tests/gui/qt_support.h"

namespace tesmo::test {

InputTexts fastInputs() {
    InputTexts t = defaultInputTexts();
    t[Control::txt_Dicke] = std::string("4");
    t[Control::txt_Ortsschrittweite] = std::string("0,2");
    t[Control::txt_rund] = std::string("50");
    return t;
}

}  // namespace tesmo::test
