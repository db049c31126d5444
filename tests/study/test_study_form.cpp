// A study as the window enters it: ranges from three fields, lists, the checks and the study
// file it becomes.
#include <gtest/gtest.h>

#include "study/study_form.h"

namespace tesmo {
namespace {

VaryEntry range(Control field, const char* from, const char* to, const char* step) {
    VaryEntry e;
    e.field = field;
    e.from = from;
    e.to = to;
    e.step = step;
    return e;
}

VaryEntry list(Control field, const char* values) {
    VaryEntry e;
    e.field = field;
    e.kind = EntryKind::List;
    e.values = values;
    return e;
}

StudyForm form(VaryEntry first, VaryEntry second = {}) {
    StudyForm f;
    f.vary = {std::move(first), std::move(second)};
    return f;
}

TEST(StudyForm, ARangeFromThreeFieldsFollowsTheRunnersRules) {
    // The same values and the same refusals as the runner's FROM:TO:STEP.
    for (const auto& [from, to, step] :
         std::vector<std::array<const char*, 3>>{{"30", "70", "10"},
                                                 {" 10,0 ", "12", "0,5"},
                                                 {"80", "40", "-20"},
                                                 {"30", "70", "0"},
                                                 {"70", "30", "5"},
                                                 {"3E1", "70", "5"},
                                                 {"30,", "70", "5"},
                                                 {"30", "", "5"},
                                                 {"0", "1", "1e-9"}}) {
        const VariationResult fields = parseVariationRange(Control::txt_Lufttemp, from, to, step);
        const VariationResult runner =
            parseVariationSpec(Control::txt_Lufttemp, std::string(from) + ":" + to + ":" + step);
        EXPECT_EQ(fields.ok, runner.ok) << from << ":" << to << ":" << step;
        EXPECT_EQ(fields.error, runner.error);
        EXPECT_EQ(fields.variation.texts, runner.variation.texts);
    }
    // What the fields cannot hold is refused, not read as a list or a longer range.
    EXPECT_EQ(parseVariationRange(Control::txt_Lufttemp, "30;40", "70", "5").error,
              "VON „30;40“ ist keine Dezimalzahl (z. B. 2,5)");
    EXPECT_FALSE(parseVariationRange(Control::txt_Lufttemp, "30", "70:80", "5").ok);
    EXPECT_EQ(parseVariationRange(Control::txt_Lufttemp, " ", "", "").error,
              "kein Bereich und keine Werte angegeben");
}

TEST(StudyForm, TheCheckCountsTheCasesAndRefusesWhatCannotRun) {
    FormCheck c = checkStudyForm(
        form(range(Control::txt_Lufttemp, "30", "70", "10"), list(Control::txt_Dicke, "10;20")));
    EXPECT_TRUE(c.ok());
    EXPECT_EQ(c.caseCount, 10u);
    ASSERT_EQ(c.variations.size(), 2u);
    EXPECT_EQ(c.variations[1].texts, (std::vector<std::string>{"10", "20"}));
    EXPECT_EQ(caseCountText(1), "1 Fall");
    EXPECT_EQ(caseCountText(12), "12 Fälle");
    EXPECT_EQ(caseCountText(100000), "100\u202F000 Fälle");

    // One entry alone; the unused second one is no error.
    c = checkStudyForm(form(list(Control::txt_mue, "20")));
    EXPECT_TRUE(c.ok());
    EXPECT_EQ(c.caseCount, 1u);

    c = checkStudyForm(
        form(range(Control::txt_Lufttemp, "30", "70", "0"), list(Control::txt_Lufttemp, "1;2")));
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.errors[0], "der SCHRITT ist 0");
    EXPECT_EQ(c.errors[1], "diese Eingabe wird schon oben variiert");
    EXPECT_EQ(c.caseCount, 0u);

    c = checkStudyForm(form({}, list(Control::txt_Dicke, "1")));
    EXPECT_FALSE(c.ok());
    EXPECT_FALSE(c.errors[0].empty());

    // The window runs at most as many cases as the runner runs without --yes.
    c = checkStudyForm(form(range(Control::txt_Lufttemp, "1", "100000", "1")));
    EXPECT_TRUE(c.ok());
    c = checkStudyForm(form(range(Control::txt_Lufttemp, "1", "100001", "1")));
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.caseCount, 100001u);
    EXPECT_NE(c.countError.find("tesmo-gegen-batch"), std::string::npos);
    c = checkStudyForm(form(range(Control::txt_Lufttemp, "0", "999999", "1"),
                            range(Control::txt_Dicke, "0", "999999", "1")));
    EXPECT_EQ(c.caseCount, 1000000000000u);
    EXPECT_FALSE(c.ok());
}

TEST(StudyForm, EntriesBecomeStudyFileLinesAndComeBackTheSame) {
    StudyForm f = form(range(Control::txt_Lufttemp, " 30 ", "70", "2,5"),
                       list(Control::txt_Dicke, "10,0; 20 mm"));
    f.base[Control::txt_mue] = " 25 ";
    const SavedStudy saved = savedStudyOf(f);
    ASSERT_EQ(saved.varied.size(), 2u);
    EXPECT_EQ(saved.varied[0].range, "30:70:2,5");
    EXPECT_EQ(saved.varied[1].range, "10,0; 20 mm");
    std::string content;
    FileProblem problem;
    ASSERT_TRUE(studyFileText(saved, content, problem));
    SavedStudy reread;
    ASSERT_TRUE(parseStudyFile(content, "s.tgstudy", defaultInputTexts(), reread, problem));
    StudyForm back;
    std::string error;
    ASSERT_TRUE(formOf(reread, back, error));
    EXPECT_EQ(back.base.text, f.base.text);
    EXPECT_EQ(back.vary[0].kind, EntryKind::Range);
    EXPECT_EQ(back.vary[0].from, "30");
    EXPECT_EQ(back.vary[0].step, "2,5");
    EXPECT_EQ(back.vary[1].kind, EntryKind::List);
    EXPECT_EQ(back.vary[1].values, "10,0; 20 mm");
    EXPECT_FALSE(back.vary[1].from.size());

    // A range text that is not a well-formed range stays a list, shown as written, and
    // the check says what the runner would say.
    for (const char* spec : {"30:70", "1:2:3:4", "35", "30;40:50"}) {
        const VaryEntry e = entryOf(Control::txt_Lufttemp, spec);
        EXPECT_EQ(e.kind, EntryKind::List) << spec;
        EXPECT_EQ(e.spec(), spec);
        EXPECT_EQ(checkStudyForm(form(e)).errors[0],
                  parseVariationSpec(Control::txt_Lufttemp, spec).error);
    }

    // More varied inputs than the window holds.
    SavedStudy three = saved;
    three.varied.push_back({Control::txt_lambda, "1;2", 9});
    StudyForm unchanged = f;
    EXPECT_FALSE(formOf(three, unchanged, error));
    EXPECT_NE(error.find("höchstens 2"), std::string::npos) << error;
    EXPECT_EQ(unchanged.vary[0].from, " 30 ");
}

}  // namespace
}  // namespace tesmo
