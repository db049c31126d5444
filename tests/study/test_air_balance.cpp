// The second period's two air balances of the default dryer, as the runner, the study and the
// Python package compute them: the figures shown at four time steps.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>

#include "study/case_runner.h"

namespace tesmo {
namespace {

struct Shown {
    const char* deltaT;
    const char* zuluft;   // txt_momLuftTemp: the supply air at the end of the run, °C
    const char* energie;  // txt_spezEnergie, kJ per kg of water
    const char* zeit;     // txt_Zeit
};

// The standard balance charges the plate's warming times Δt (its drying time moves by 14 %
// between 1 s and 0,1 s); the corrected one charges it once, and moves by 1,4 %. The corrected
// figures were obtained independently of this program.
constexpr std::array<Shown, 4> kStandard = {{{"1", "89,2", "3892,5", " 5:42:29"},
                                             {"0,5", "84,0", "3616,6", " 6:09:35"},
                                             {"0,25", "81,5", "3487,1", " 6:24:18"},
                                             {"0,1", "80,1", "3412,0", " 6:33:21"}}};
constexpr std::array<Shown, 4> kKorrigiert = {{{"1", "85,7", "3705,6", " 6:05:22"},
                                               {"0,5", "84,6", "3650,5", " 6:08:21"},
                                               {"0,25", "84,1", "3622,9", " 6:09:54"},
                                               {"0,1", "83,8", "3606,4", " 6:10:52"}}};

void expectShown(Luftbilanz bilanz, const std::array<Shown, 4>& expected) {
    CaseRunner runner;
    for (const Shown& e : expected) {
        InputTexts texts = defaultInputTexts();
        texts[Control::txt_deltaT] = e.deltaT;
        texts.optionen.luftbilanz = bilanz;
        runner.run(1, texts);
        const HeadlessWindow& w = runner.window();
        const std::string where = std::string(optionWord(texts.optionen, RunOption::Luftbilanz)) +
                                  ", Δt = " + e.deltaT + " s";
        EXPECT_EQ(w.text(Control::txt_momLuftTemp), e.zuluft) << where;
        EXPECT_EQ(w.text(Control::txt_spezEnergie), e.energie) << where;
        EXPECT_EQ(w.text(Control::txt_Zeit), e.zeit) << where;
    }
}

TEST(Luftbilanz, TheDefaultDryerShowsItsFiguresWithBothBalancesAtFourTimeSteps) {
    // About five seconds of runs: the two balances on two threads.
    std::jthread korrigiert([] { expectShown(Luftbilanz::Korrigiert, kKorrigiert); });
    expectShown(Luftbilanz::Standard, kStandard);
}

}  // namespace
}  // namespace tesmo
