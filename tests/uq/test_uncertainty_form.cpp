// The uncertainty study as the window's form holds it: every wrong entry is caught with a
// message that names it, a good form becomes the plan a study file gives, and a form saved as a
// file and read back is the same form.
#include <gtest/gtest.h>

#include "study/result_view.h"
#include "uq/uncertainty_form.h"

namespace tesmo {

namespace {

UncertaintyForm twoInputs() {
    UncertaintyForm form = defaultUncertaintyForm();
    form.inputs = {{Control::txt_Feuchteleit, DistributionKind::LogNormal, {"40", "8", ""}},
                   {Control::txt_mue, DistributionKind::Triangular, {"15", "17,5", "25"}}};
    form.samples = 40;
    form.seed = "12";
    form.results = {resultIndex("Laufzeit"), resultIndex("SchwindGradMax")};
    form.limits = {{resultIndex("SchwindGradMax"), LimitSide::Above, "0,8"}};
    return form;
}

}  // namespace

TEST(UncertaintyForm, EachWrongEntryIsNamedAndNothingRuns) {
    struct Case {
        const char* what;
        void (*spoil)(UncertaintyForm&);
        const char* message;  // a part of the first error
    };
    const Case cases[] = {
        {"a parameter missing",
         [](UncertaintyForm& f) { f.inputs[1].parameters[2] = std::string(1, ' '); },
         "unsichere Eingabe 2: Oben fehlt"},
        {"a parameter no number", [](UncertaintyForm& f) { f.inputs[0].parameters[1] = "acht"; },
         "„acht“ ist keine Zahl"},
        {"no field chosen", [](UncertaintyForm& f) { f.inputs[0].field = Control::Count; },
         "unsichere Eingabe 1: keine Eingabe gewählt"},
        {"a field twice", [](UncertaintyForm& f) { f.inputs[1].field = Control::txt_Feuchteleit; },
         "schon oben unsicher"},
        {"a seed no number", [](UncertaintyForm& f) { f.seed = "-1"; }, "Startwert:"},
        {"a limit without result", [](UncertaintyForm& f) { f.limits[0].column = kResultCount; },
         "Grenze 1: kein Ergebnis gewählt"},
        {"a limit without value", [](UncertaintyForm& f) { f.limits[0].value = ""; },
         "Grenze 1: der Wert fehlt"},
        {"no result", [](UncertaintyForm& f) { f.results.clear(); }, "kein Ergebnis"},
        {"too few cases", [](UncertaintyForm& f) { f.samples = 3; }, ""},
    };
    for (const Case& c : cases) {
        UncertaintyForm form = twoInputs();
        c.spoil(form);
        const UncertaintyFormCheck check = checkUncertaintyForm(form);
        EXPECT_FALSE(check.ok()) << c.what;
        EXPECT_NE(check.firstError().find(c.message), std::string::npos)
            << c.what << ": " << check.firstError();
    }
}

TEST(UncertaintyForm, AGoodFormIsThePlanOfItsFileAndReadsBackTheSame) {
    const UncertaintyFormCheck check = checkUncertaintyForm(twoInputs());
    ASSERT_TRUE(check.ok()) << check.firstError();
    EXPECT_EQ(check.caseCount, 40U);
    ASSERT_EQ(check.plan.marginals.size(), 2U);
    EXPECT_EQ(check.plan.marginals[1].spec.p[1], 17.5);
    EXPECT_EQ(check.plan.seed, 12U);
    ASSERT_EQ(check.plan.limits.size(), 1U);
    EXPECT_EQ(check.plan.limits[0].value, 0.8);

    UncertaintyFile file;
    FileProblem problem;
    ASSERT_TRUE(uncertaintyFileOfForm(check, "studie.tguq", file, problem)) << describe(problem);
    std::string text;
    ASSERT_TRUE(uncertaintyFileText(file, text, problem));
    // The parameters come back as the shortest texts of the same numbers, and the form saves
    // the same file again.
    const UncertaintyForm back = formOfUncertaintyFile(file, "studie.tguq");
    EXPECT_EQ(back.inputs[1].parameters[1], "17,5");
    EXPECT_EQ(back.limits[0].value, "0,8");
    UncertaintyFile again;
    ASSERT_TRUE(uncertaintyFileOfForm(checkUncertaintyForm(back), "studie.tguq", again, problem));
    std::string textAgain;
    ASSERT_TRUE(uncertaintyFileText(again, textAgain, problem));
    EXPECT_EQ(textAgain, text);
}

TEST(UncertaintyForm, APickFreezeStudyCountsTheRowsOfItsDesign) {
    UncertaintyForm form = twoInputs();
    form.indices = IndexMethod::PickFreeze;
    form.samples = 400;
    const UncertaintyFormCheck check = checkUncertaintyForm(form);
    ASSERT_TRUE(check.ok()) << check.firstError();
    // A and B of 100 rows each, and one mixed matrix per input: within the budget.
    EXPECT_EQ(check.caseCount, 400U);
    form.samples = 401;
    EXPECT_EQ(checkUncertaintyForm(form).caseCount, 400U);
}

TEST(UncertaintyForm, TheWordsOfTheForm) {
    EXPECT_EQ(parameterNames(DistributionKind::Normal),
              (std::vector<std::string>{"Mittelwert", "Standardabweichung"}));
    EXPECT_EQ(parameterNames(DistributionKind::Triangular).size(), 3U);
    EXPECT_EQ(distributionCaption(DistributionKind::Uniform), "gleichverteilt");
    EXPECT_EQ(designCaption(SampleDesign::MonteCarlo), "Monte Carlo");
}

}  // namespace tesmo
