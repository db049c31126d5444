#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "model/input_check.h"
#include "model/setup.h"
#include "model/text_to_number.h"
#include "tests/locale_scope.h"
#include "verify/case_runs.h"
#include "verify/water_balance_study.h"

namespace tesmo {
namespace {

using C = Control;

// A thin plate on a coarse grid: a whole run in a few milliseconds.
InputTexts quick(const char* dt = "2") {
    InputTexts t = defaultInputTexts();
    const std::pair<Control, const char*> changes[] = {
        {C::txt_Dicke, "4"}, {C::txt_Ortsschrittweite, "0,2"}, {C::txt_deltaT, dt}};
    for (const auto& [field, text] : changes)
        t[field] = text;
    return t;
}

TEST(CaseRuns, RefusedInputIsNotRunAndResultsDoNotDependOnThreadsOrHistory) {
    InputTexts refused = quick();
    refused[C::txt_Ortsschrittweite] = "0";
    std::vector<InputTexts> cases = {quick("2"), refused, quick("1"), quick("0,5"), quick("2")};
    const std::vector<CaseResult> one = runCases(cases, 1);
    const std::vector<CaseResult> two = runCases(cases, 2);
    ASSERT_EQ(one.size(), cases.size());
    EXPECT_TRUE(one[1].refused);
    EXPECT_FALSE(one[1].messages.empty());
    EXPECT_EQ(one[1].end, RunEnd::None);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(one[i].end, two[i].end) << i;
        EXPECT_EQ(one[i].Laufzeit, two[i].Laufzeit) << i;
        EXPECT_EQ(one[i].spezEnergie, two[i].spezEnergie) << i;
        EXPECT_EQ(one[i].WasserfehlerVorzeichen, two[i].WasserfehlerVorzeichen) << i;
        EXPECT_EQ(one[i].fuehlbarEnergie, two[i].fuehlbarEnergie) << i;
    }
    // The same case first and last on one state: nothing of the runs between reaches it.
    EXPECT_EQ(one[0].Laufzeit, one[4].Laufzeit);
    EXPECT_EQ(one[0].t1TA, one[4].t1TA);
    EXPECT_TRUE(one[0].finished());
    EXPECT_NEAR(std::abs(one[0].WasserfehlerVorzeichen), one[0].Wasserfehler, 1e-12);
}

TEST(CaseRuns, TheSensibleHeatTermScalesWithTheTimeStep) {
    // The second period's air balance takes the plate's sensible heat times Δt: halving the
    // step roughly halves what it adds to the energy demand.
    const std::vector<CaseResult> r = runCases({quick("1"), quick("0,5")}, 1);
    ASSERT_TRUE(r[0].finished() && r[1].finished());
    EXPECT_GT(r[0].fuehlbarEnergie, 0);
    EXPECT_NEAR(r[1].fuehlbarEnergie / r[0].fuehlbarEnergie, 0.5, 0.1);
    EXPECT_LT(r[0].fuehlbarEnergie, r[0].spezEnergie);
}

TEST(WaterStudy, DrawsAreReproducibleInRangeAndOnAWholeGrid) {
    InputDraw a(kWaterStudySeed), b(kWaterStudySeed);
    std::set<std::string> thicknesses;
    int accepted = 0;
    for (int i = 0; i < 100; ++i) {
        const InputTexts t = a.next();
        EXPECT_EQ(t.text, b.next().text);
        thicknesses.insert(t[C::txt_Dicke]);
        for (const InputRange& r : kWaterStudyRanges) {
            if (r.field == C::txt_Dicke) continue;
            const double v = TextZuZahl(t[r.field]);
            EXPECT_GE(v, r.lo - r.step / 2) << t[r.field];
            EXPECT_LE(v, r.hi + r.step / 2) << t[r.field];
        }
        const Einrichtungswerte w = berechneEinrichtung(t);
        EXPECT_TRUE(w.nOrtGanz) << t[C::txt_Dicke] << " / " << t[C::txt_Ortsschrittweite];
        accepted += pruefeEingaben(t).empty();
    }
    EXPECT_GT(thicknesses.size(), 50u);
    EXPECT_GT(accepted, 90);
    EXPECT_NE(InputDraw(1).next().text, InputDraw(2).next().text);
}

TEST(WaterStudy, NumbersAreTypedWithTheCommaAndWithoutTrailingZeros) {
    // The same under the users' German locale, where the C library writes the comma itself.
    for (const bool german : {false, true}) {
        SCOPED_TRACE(german ? "de_DE" : "C");
        std::optional<test::GermanLocale> locale;
        if (german) {
            locale.emplace();
            ASSERT_TRUE(locale->active()) << test::kGermanLocale << " is not installed";
        }
        EXPECT_EQ(typedText(0.25, 0.005), "0,25");
        EXPECT_EQ(typedText(16.8, 0.01), "16,8");
        EXPECT_EQ(typedText(1600, 10), "1600");
        EXPECT_EQ(typedText(0, 0.005), "0");
        EXPECT_EQ(typedText(0.07, 0.01), "0,07");
    }
    EXPECT_EQ(fieldCaption(C::txt_Lufttemp), "Ablufttemperatur in °C");
}

}  // namespace
}  // namespace tesmo
