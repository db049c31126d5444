// The help texts of the fields: complete, and the typical values they name are inputs the
// program computes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/field_help.h"
#include "model/input_check.h"
#include "model/inputs.h"

namespace tesmo {
namespace {

std::string joined(const std::vector<std::string>& messages) {
    std::string text;
    for (const std::string& m : messages)
        text += m + "\n";
    return text;
}

TEST(FieldHelp, EveryInputResultAndWarningHasAText) {
    int mitText = 0;
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        const std::string text = fieldHelp(c);
        const bool warnung = c == Control::lbl_Achtung || c == Control::lbl_ungenau1 ||
                             c == Control::lbl_ungenau2 || c == Control::lbl_ungenau3;
        if (isInput(c) || isOutputField(c) || warnung) {
            EXPECT_GT(text.size(), 40u) << controlName(c);
            ++mitText;
        }
        if (isOutputField(c)) {
            EXPECT_EQ(fieldHelp(labelOf(c)), text) << controlName(c);
        }
        if (c >= Control::Image7) {
            EXPECT_EQ(text, "") << controlName(c);
        }
    }
    EXPECT_EQ(mitText, fieldHelpRows());
    EXPECT_EQ(fieldHelpRows(), kInputCount + kOutputCount + 4);
}

TEST(FieldHelp, InputTextsNameTheirTypicalValuesAndDefault) {
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        const TypicalRange r = typicalRange(c);
        ASSERT_NE(r.from, nullptr) << controlName(c);
        ASSERT_NE(r.to, nullptr) << controlName(c);
        const std::string text = fieldHelp(c);
        EXPECT_NE(text.find(std::string(": ") + r.from + " bis " + r.to), std::string::npos)
            << text;
        EXPECT_NE(text.find(std::string("(Vorgabe ") + defaultText(c) + ")"), std::string::npos)
            << text;
        EXPECT_NE(text.find("Abgewiesen werden "), std::string::npos) << text;
    }
    EXPECT_EQ(typicalRange(Control::txt_XSchwEnde).from, nullptr);
}

// Each typical value alone among the defaults, then all low ends and all high ends together: a
// plate the help calls typical must be one the program computes.
TEST(FieldHelp, TypicalValuesAreAcceptedByTheInputCheck) {
    InputTexts alleVon = defaultInputTexts();
    InputTexts alleBis = defaultInputTexts();
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        const TypicalRange r = typicalRange(c);
        for (const char* wert : {r.from, r.to}) {
            InputTexts texts = defaultInputTexts();
            texts[c] = wert;
            EXPECT_EQ(joined(pruefeEingaben(texts)), "") << controlName(c) << " = " << wert;
        }
        alleVon[c] = r.from;
        alleBis[c] = r.to;
    }
    EXPECT_EQ(joined(pruefeEingaben(alleVon)), "");
    EXPECT_EQ(joined(pruefeEingaben(alleBis)), "");
}

}  // namespace
}  // namespace tesmo
