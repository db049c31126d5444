// The dryer's hand balance and what separates the model's air balances from it (report,
// section 5).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/physical_constants.h"
#include "verify/dryer_balance.h"

namespace tesmo {
namespace {

TEST(DryerBalance, TheHandBalanceOfTheDefaultDryerMeetsItsIndependentFigures) {
    // Closed by hand for the default inputs with the plate leaving at 78,8 °C: a supply
    // temperature of about 84,0 °C and 3670 to 3695 kJ per kg of water.
    const InputTexts texts = defaultInputTexts();
    const HandBalance h = handBalance(texts, 78.76, kCpLuft);
    EXPECT_NEAR(h.thetaZuluft, 84.04, 0.02);
    EXPECT_NEAR(h.energie, 3681, 2);
    // The plate's warming: 0,9 kJ/(kg K) over L·(1,005 + 1,86·XAußen) ≈ 13,3 kg of air.
    const HandBalance warmer = handBalance(texts, 88.76, kCpLuft);
    EXPECT_NEAR(warmer.thetaZuluft - h.thetaZuluft, 10 * 0.9 / 13.33, 0.005);
    // Air at 1 kJ/(kg K) needs a warmer supply for the same heat.
    EXPECT_GT(handBalance(texts, 78.76, 1).thetaZuluft, h.thetaZuluft);
}

TEST(DryerBalance, TheCorrectedBalanceLeavesOnlyNamedPartsTheStandardOneItsTimeStepFactor) {
    std::vector<InputTexts> cases;
    for (Luftbilanz b : {Luftbilanz::Standard, Luftbilanz::Korrigiert}) {
        InputTexts t = defaultInputTexts();
        t[Control::txt_deltaT] = std::string(1, '1');  // 1 s
        t.optionen.luftbilanz = b;
        cases.push_back(t);
    }
    const std::vector<CaseResult> r = runCases(cases, 2);
    ASSERT_TRUE(r[0].finished() && r[1].finished());
    const BalanceSplit standard = splitBalance(cases[0], r[0]);
    const BalanceSplit korrigiert = splitBalance(cases[1], r[1]);
    for (const BalanceSplit* s : {&standard, &korrigiert}) {
        EXPECT_NEAR(s->hand, 84.2, 0.3);
        EXPECT_NEAR(s->cLuft, 0.24, 0.02);
        // The water leaves the plate at the wet zone's temperature, not at the wet bulb.
        EXPECT_GT(s->wasserTemperatur, 0.8);
        EXPECT_LT(s->wasserTemperatur, 1.6);
        EXPECT_NEAR(s->hand + s->cLuft + s->wasserFehlt + s->wasserTemperatur + s->rest, s->model,
                    1e-9);
    }
    // At Δt = 1 s the standard balance books the warming once more, and the first step's jump
    // from 0 °C on top: more than 2,5 K of supply air that the hand balance does not know.
    EXPECT_GT(standard.rest, 2.5);
    EXPECT_LT(standard.rest, 4.5);
    EXPECT_LT(std::abs(korrigiert.rest), 0.2);
    EXPECT_NEAR(standard.heatRatio, 0.071, 0.005);
    EXPECT_NEAR(korrigiert.heatRatio, 0.022, 0.005);
}

}  // namespace
}  // namespace tesmo
