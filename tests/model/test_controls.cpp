#include <gtest/gtest.h>

#include <string>

#include "model/controls.h"

namespace tesmo {

TEST(Controls, NamesMatchEnumeratorsAndOutputsPairWithTheirLabels) {
    EXPECT_STREQ(controlName(Control::txt_Dicke), "txt_Dicke");
    EXPECT_STREQ(controlName(Control::pic_Zeit), "pic_Zeit");
    EXPECT_EQ(labelOf(Control::txt_XSchwEnde), Control::lbl_SchwindEnde);
    EXPECT_EQ(labelOf(Control::txt_thetaK), Control::lbl_Kerntemp);
    EXPECT_EQ(labelOf(Control::txt_Wasserfehler), Control::lbl_Wasserfehler);
    for (int i = index(kFirstOutput); i < index(kFirstOutput) + kOutputCount; ++i) {
        const std::string field = controlName(controlAt(i));
        const std::string label = controlName(labelOf(controlAt(i)));
        EXPECT_EQ(field.rfind("txt_", 0), 0u) << field;
        EXPECT_EQ(label.rfind("lbl_", 0), 0u) << label;
    }
    EXPECT_TRUE(isInput(Control::txt_KappaSteig));
    EXPECT_FALSE(isInput(Control::txt_XSchwEnde));
}

}  // namespace tesmo
