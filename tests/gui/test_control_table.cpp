// The table of controls that both the window and the headless runner are built from.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "display/control_table.h"
#include "model/inputs.h"

namespace tesmo {
namespace {

bool insideClientArea(const Twips& g) {
    return g.left >= 0 && g.top >= 0 && g.left + g.width <= 15300 && g.top + g.height <= 11085;
}

TEST(ControlTable, OneCompleteEntryPerControl) {
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        const ControlSpec& s = controlSpec(c);
        EXPECT_EQ(s.id, c) << controlName(c);
        ASSERT_NE(s.text, nullptr) << controlName(c);
        EXPECT_GT(s.geometry.width, 0) << controlName(c);
        EXPECT_GT(s.geometry.height, 0) << controlName(c);
        EXPECT_GT(s.font.points, 6.0) << controlName(c);
        const bool elsewhere = c == Control::txt_parkfocus || c == Control::lbl_Achtung;
        if (!elsewhere) {
            EXPECT_TRUE(insideClientArea(s.geometry)) << controlName(c);
        }
        const std::string name = controlName(c);
        const ControlKind expected = name.starts_with("txt_")   ? ControlKind::TextField
                                     : name.starts_with("lbl_") ? ControlKind::Label
                                     : name.starts_with("cmd_") ? ControlKind::Button
                                     : name.starts_with("pic_") ? ControlKind::Surface
                                                                : ControlKind::Image;
        EXPECT_EQ(s.kind, expected) << name;
    }
}

TEST(ControlTable, InputsCarryTheirDefaultsAndCaptions) {
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        const ControlSpec& s = controlSpec(c);
        EXPECT_STREQ(s.text, defaultText(c));
        EXPECT_STREQ(fieldCaption(c), inputCaption(c));
        EXPECT_TRUE(s.visibleAtStart);
        EXPECT_EQ(s.align, Align::Center);
        // The numerics at the bottom use the smaller regular font and stand further right.
        const bool lower = i >= index(Control::txt_Ortsschrittweite);
        EXPECT_EQ(s.font.bold, !lower) << controlName(c);
        EXPECT_EQ(s.geometry.left, lower ? 4095 : 3870) << controlName(c);
    }
    EXPECT_STREQ(controlSpec(Control::txt_XZiel).text, "0,00");
}

TEST(ControlTable, OutputsStartHiddenBesideTheirLabels) {
    for (int i = 0; i < kOutputCount; ++i) {
        const Control field = controlAt(index(kFirstOutput) + i);
        const ControlSpec& f = controlSpec(field);
        const ControlSpec& l = controlSpec(labelOf(field));
        EXPECT_FALSE(f.visibleAtStart) << controlName(field);
        EXPECT_FALSE(l.visibleAtStart) << controlName(labelOf(field));
        EXPECT_STREQ(fieldCaption(field), l.text);
        EXPECT_GT(std::strlen(l.text), 5u);
        EXPECT_EQ(l.colour, f.colour) << controlName(field);
        EXPECT_EQ(l.geometry.top, f.geometry.top) << controlName(field);
        EXPECT_LE(l.geometry.left + l.geometry.width, f.geometry.left) << controlName(field);
        EXPECT_EQ(l.align, Align::Left);
        EXPECT_STREQ(f.text, field == Control::txt_Wasserfehler ? " " : "");
    }
    EXPECT_EQ(controlSpec(Control::txt_Zeit).colour, kGreen);
    EXPECT_EQ(controlSpec(Control::txt_relEnergie).colour, kRed);
    EXPECT_EQ(controlSpec(Control::txt_Wasserfehler).colour, kDarkBlue);
}

}  // namespace
}  // namespace tesmo
