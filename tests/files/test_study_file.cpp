#include <gtest/gtest.h>

#include <string>

#include "files/study_file.h"
#include "temp_folder.h"

namespace tesmo {

namespace {

const std::string kHead = "format = tesmo-gegen-study 1\n";

class StudyFileOnDisk : public TempFolder {};

std::string parseMessage(const std::string& content) {
    SavedStudy out;
    FileProblem problem;
    if (parseStudyFile(content, "s.tgstudy", defaultInputTexts(), out, problem)) return "accepted";
    EXPECT_TRUE(out.varied.empty()) << "a refusal leaves the study as it was";
    return describe(problem);
}

}  // namespace

TEST(StudyFile, ReadsBaseLinesAndVaryLinesInOrder) {
    const std::string content = kHead +
                                "# Grundfall\n"
                                "txt_Dicke = 12,5\n"
                                "vary txt_XAnf = 0,2;0,25;0,3\n"
                                "vary\ttxt_Dicke   =  10:30:5 \n"  // base and vary of one field
                                "vary txt_mue = \" 20 \"\n"
                                "vary txt_rund =\n";
    SavedStudy study;
    FileProblem problem;
    ASSERT_TRUE(parseStudyFile(content, "s.tgstudy", defaultInputTexts(), study, problem))
        << describe(problem);
    EXPECT_EQ(study.base[Control::txt_Dicke], "12,5");
    EXPECT_EQ(study.base[Control::txt_XAnf], "0,25");  // the default
    ASSERT_EQ(study.varied.size(), 4u);
    const VariedInput expected[] = {{Control::txt_XAnf, "0,2;0,25;0,3", 4},
                                    {Control::txt_Dicke, "10:30:5", 5},
                                    {Control::txt_mue, " 20 ", 6},
                                    {Control::txt_rund, "", 7}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(study.varied[i].field, expected[i].field) << i;
        EXPECT_EQ(study.varied[i].range, expected[i].range) << i;
        EXPECT_EQ(study.varied[i].line, expected[i].line) << i;
    }
}

TEST(StudyFile, RefusesWithFileLineAndReason) {
    const std::pair<std::string, std::string> refusals[] = {
        {kHead + "txt_Dicke = 5\n",
         "s.tgstudy: die Studie variiert nichts, es fehlt eine Zeile „vary NAME = …“"},
        {"format = tesmo-gegen-case 1\nvary txt_Dicke = 1:2:1\n",
         "s.tgstudy, Zeile 1: unbekanntes Format oder unbekannte Version, erwartet wird "
         "„format = tesmo-gegen-study 1“"},
        {kHead + "vary txt_Dicke = 1:2:1\nvary txt_Dicke = 3\n",
         "s.tgstudy, Zeile 3: „txt_Dicke“ wird schon einmal variiert"},
        {kHead + "vary txt_Dike = 1:2:1\n", "s.tgstudy, Zeile 2: unbekannter Name „txt_Dike“"},
        {kHead + "vary = 1:2:1\n",
         "s.tgstudy, Zeile 2: vor dem Gleichheitszeichen fehlt der Name eines Eingabefelds"},
        {kHead + "varytxt_Dicke = 1\n", "s.tgstudy, Zeile 2: unbekannter Name „varytxt_Dicke“"},
        {kHead + "txt_mue = 1\ntxt_mue = 2\nvary txt_Dicke = 1\n",
         "s.tgstudy, Zeile 3: „txt_mue“ ist schon einmal angegeben"},
        {kHead + "vary txt_Dicke 1:2\n",
         "s.tgstudy, Zeile 2: das Gleichheitszeichen fehlt, erwartet wird NAME = TEXT"},
        {kHead + "vary txt_Dicke = " + std::string(201, '1') + "\n",
         "s.tgstudy, Zeile 2: der Text für „vary txt_Dicke“ ist länger als 200 Zeichen"},
    };
    for (const auto& [content, message] : refusals)
        EXPECT_EQ(parseMessage(content), message) << content;
}

TEST_F(StudyFileOnDisk, RoundTripAndRefusalsOfTheWriter) {
    SavedStudy study{defaultInputTexts(),
                     {{Control::txt_Lufttemp, "\"30\" ", 0},
                      {Control::txt_Dicke, "", 0},
                      {Control::txt_XAnf, std::string(200, ';'), 0}}};
    study.base[Control::txt_XZiel] = " 0,05";
    FileProblem problem;
    ASSERT_TRUE(writeStudyFile(path("s.tgstudy"), study, problem)) << describe(problem);
    SavedStudy back;
    ASSERT_TRUE(readStudyFile(path("s.tgstudy"), InputTexts{}, back, problem)) << describe(problem);
    EXPECT_EQ(back.base.text, study.base.text);
    ASSERT_EQ(back.varied.size(), study.varied.size());
    for (std::size_t i = 0; i < study.varied.size(); ++i) {
        EXPECT_EQ(back.varied[i].field, study.varied[i].field);
        EXPECT_EQ(back.varied[i].range, study.varied[i].range);
    }

    // What the reader would refuse is not written, and the earlier file stays.
    const std::string before = get("s.tgstudy");
    SavedStudy twice = study;
    twice.varied.push_back({Control::txt_Dicke, "1", 0});
    EXPECT_FALSE(writeStudyFile(path("s.tgstudy"), twice, problem));
    EXPECT_EQ(describe(problem), path("s.tgstudy") +
                                     ": kann nicht gespeichert werden – „txt_Dicke“ wird schon "
                                     "einmal variiert");
    SavedStudy none{defaultInputTexts(), {}};
    EXPECT_FALSE(writeStudyFile(path("s.tgstudy"), none, problem));
    EXPECT_EQ(problem.kind, ProblemKind::NoVariation);
    SavedStudy broken = study;
    broken.varied[1].range = "1\n2";
    EXPECT_FALSE(writeStudyFile(path("s.tgstudy"), broken, problem));
    EXPECT_EQ(describe(problem),
              path("s.tgstudy") +
                  ": kann nicht gespeichert werden – der Text für „vary txt_Dicke“ enthält einen "
                  "Zeilenumbruch oder ein anderes Steuerzeichen");
    SavedStudy output = study;
    output.varied[0].field = Control::txt_Zeit;
    EXPECT_FALSE(writeStudyFile(path("s.tgstudy"), output, problem));
    EXPECT_EQ(problem.kind, ProblemKind::UnknownName);
    EXPECT_EQ(get("s.tgstudy"), before);
}

}  // namespace tesmo
