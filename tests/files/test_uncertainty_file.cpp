#include <gtest/gtest.h>

#include <string>

#include "files/case_file.h"
#include "files/uncertainty_file.h"
#include "temp_folder.h"

namespace tesmo {

namespace {

const std::string kHead = "format = tesmo-gegen-uq 1\n";

UncertaintyFileRules rules() {
    UncertaintyFileRules r;
    r.resultNames = {"Laufzeit", "SchwindGradMax", "spezEnergie"};
    return r;
}

std::string parseMessage(const std::string& content) {
    UncertaintyFile out;
    FileProblem problem;
    if (parseUncertaintyFile(content, "u.tguq", rules(), out, problem)) return "accepted";
    EXPECT_TRUE(out.uncertain.empty()) << "a refusal leaves the study as it was";
    return describe(problem);
}

class UncertaintyFileOnDisk : public TempFolder {};

}  // namespace

// The example of the manual, comments after the settings included, with the base case from a
// case file beside it and one base line that wins over the case file.
TEST_F(UncertaintyFileOnDisk, ReadsTheExampleWithItsCaseFile) {
    put("versuch12.tgcase", "format = tesmo-gegen-case 1\ntxt_Dicke = 15,0\ntxt_mue = 30\n");
    put("v.tguq", kHead +
                      "case = versuch12.tgcase                       # the base texts\n"
                      "txt_Dicke = 12,5\n"
                      "uncertain txt_Feuchteleit = lognormal 40 ; 8   # mean ; sd\n"
                      "uncertain txt_mue = uniform 15 : 25\n"
                      "uncertain txt_AbluftFeuchte = normal 70 ; 3\n"
                      "uncertain txt_KappaSteig = triangular 5 : 6,7 : 8\n"
                      "samples = 2000\n"
                      "design = sobol                                 # lhs | sobol | montecarlo\n"
                      "seed = 12\n"
                      "results = Laufzeit, SchwindGradMax, spezEnergie\n"
                      "limit SchwindGradMax > 0,8                     # crack risk\n"
                      "limit Laufzeit < 2E4\n");
    UncertaintyFile study;
    FileProblem problem;
    ASSERT_TRUE(readUncertaintyFile(path("v.tguq"), rules(), study, problem)) << describe(problem);
    EXPECT_EQ(study.base[Control::txt_Dicke], "12,5");  // the base line wins
    EXPECT_EQ(study.base[Control::txt_mue], "30");      // from the case file
    EXPECT_EQ(study.base[Control::txt_XAnf], "0,25");   // the default
    ASSERT_EQ(study.uncertain.size(), 4u);
    EXPECT_EQ(study.uncertain[0].field, Control::txt_Feuchteleit);
    EXPECT_EQ(study.uncertain[0].distribution,
              (DistributionSpec{DistributionKind::LogNormal, {40, 8, 0}}));
    EXPECT_EQ(study.uncertain[0].line, 4);
    EXPECT_EQ(study.uncertain[3].distribution,
              (DistributionSpec{DistributionKind::Triangular, {5, 6.7, 8}}));
    EXPECT_EQ(study.samples, 2000u);
    EXPECT_EQ(study.design, SampleDesign::Sobol);
    EXPECT_EQ(study.seed, 12u);
    EXPECT_EQ(study.results,
              (std::vector<std::string>{"Laufzeit", "SchwindGradMax", "spezEnergie"}));
    ASSERT_EQ(study.limits.size(), 2u);
    EXPECT_EQ(study.limits[0].result, "SchwindGradMax");
    EXPECT_EQ(study.limits[0].side, LimitSide::Above);
    EXPECT_EQ(study.limits[0].value, 0.8);
    EXPECT_EQ(study.limits[1].side, LimitSide::Below);
    EXPECT_EQ(study.limits[1].value, 2e4);

    // The written file stands alone (no case line) and reads back to the same study.
    ASSERT_TRUE(writeUncertaintyFile(path("again.tguq"), study, problem)) << describe(problem);
    UncertaintyFile again;
    ASSERT_TRUE(readUncertaintyFile(path("again.tguq"), rules(), again, problem))
        << describe(problem);
    EXPECT_EQ(again.base.text, study.base.text);
    ASSERT_EQ(again.uncertain.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(again.uncertain[i].distribution, study.uncertain[i].distribution);
    EXPECT_EQ(again.results, study.results);
    EXPECT_EQ(again.limits.size(), 2u);
    EXPECT_EQ(again.limits[1].value, 2e4);
    EXPECT_EQ(get("again.tguq").find("case ="), std::string::npos);
}

TEST(UncertaintyFile, DefaultsAndTheFitLineAreKept) {
    UncertaintyFile study;
    FileProblem problem;
    ASSERT_TRUE(parseUncertaintyFile(kHead + "uncertain txt_mue = normal 20;2\n"
                                             "fit = \"mein #1.tgfit\"\n",
                                     "u.tguq", rules(), study, problem))
        << describe(problem);
    EXPECT_EQ(study.samples, 1000u);
    EXPECT_EQ(study.design, SampleDesign::Lhs);
    EXPECT_EQ(study.indices, IndexMethod::Auto);
    EXPECT_EQ(study.results, std::vector<std::string>{"Laufzeit"});
    EXPECT_EQ(study.fitPath, "mein #1.tgfit");  // quoted: '#' is part of the path
    EXPECT_EQ(study.fitLine, 3);
    std::string text;
    ASSERT_TRUE(uncertaintyFileText(study, text, problem));
    UncertaintyFile again;
    ASSERT_TRUE(parseUncertaintyFile(text, "u.tguq", rules(), again, problem)) << describe(problem);
    EXPECT_EQ(again.fitPath, "mein #1.tgfit");
}

TEST(UncertaintyFile, RefusesWithFileLineAndReason) {
    const std::pair<std::string, std::string> refusals[] = {
        {kHead + "samples = 100\n",
         "u.tguq: die Studie hat keine unsichere Eingabe, es fehlt eine Zeile „uncertain NAME = "
         "VERTEILUNG“"},
        {kHead + "uncertain txt_mue = gauss 20 ; 2\n",
         "u.tguq, Zeile 2: „gauss“ ist hier nicht möglich, erwartet wird lognormal, uniform, "
         "normal oder triangular"},
        {kHead + "uncertain txt_mue = uniform 15 ; 25\n",
         "u.tguq, Zeile 2: erwartet wird „uniform UNTEN : OBEN“, nicht „uniform 15 ; 25“"},
        {kHead + "uncertain txt_mue = triangular 1 : 2\n",
         "u.tguq, Zeile 2: erwartet wird „triangular UNTEN : GIPFEL : OBEN“, nicht „triangular "
         "1 : 2“"},
        {kHead + "uncertain txt_mue = normal 20 ; 0\n",
         "u.tguq, Zeile 2: die Standardabweichung einer Verteilung „normal“ muss größer als 0 "
         "sein"},
        {kHead + "uncertain txt_mue = lognormal -1 ; 2\n",
         "u.tguq, Zeile 2: der Mittelwert einer Verteilung „lognormal“ muss größer als 0 sein"},
        {kHead + "uncertain txt_mue = uniform 25 : 15\n",
         "u.tguq, Zeile 2: die untere Grenze einer Verteilung „uniform“ muss kleiner als die "
         "obere sein"},
        {kHead + "uncertain txt_mue = triangular 1 : 5 : 4\n",
         "u.tguq, Zeile 2: der Gipfel einer Verteilung „triangular“ muss zwischen der unteren "
         "und der oberen Grenze liegen"},
        {kHead + "uncertain txt_mue = normal 2O ; 1\n",
         "u.tguq, Zeile 2: erwartet wird „normal MITTELWERT ; STANDARDABWEICHUNG“, nicht „normal "
         "2O ; 1“"},
        {kHead + "uncertain txt_mue = normal 20;1\nuncertain txt_mue = normal 20;1\n",
         "u.tguq, Zeile 3: „uncertain txt_mue“ ist schon einmal angegeben"},
        {kHead + "uncertain txt_Mue = normal 20;1\n",
         "u.tguq, Zeile 2: unbekannter Name „txt_Mue“"},
        {kHead + "uncertain txt_mue = normal 20;1\nsamples = 5\n",
         "u.tguq, Zeile 3: „5“ ist nicht eine ganze Zahl von 10 bis 1000000"},
        {kHead + "uncertain txt_mue = normal 20;1\nseed = -1\n",
         "u.tguq, Zeile 3: „-1“ ist nicht eine ganze Zahl von 0 bis 4294967295"},
        {kHead + "uncertain txt_mue = normal 20;1\ndesign = lhs\ndesign = sobol\n",
         "u.tguq, Zeile 4: „design“ ist schon einmal angegeben"},
        {kHead + "uncertain txt_mue = normal 20;1\ndesign = latin\n",
         "u.tguq, Zeile 3: „latin“ ist hier nicht möglich, erwartet wird lhs, sobol oder "
         "montecarlo"},
        {kHead + "uncertain txt_mue = normal 20;1\nresults = Laufzeit, Lauzeit\n",
         "u.tguq, Zeile 3: „Lauzeit“ ist hier nicht möglich, erwartet wird eine Ergebnisspalte "
         "der Tabelle: Laufzeit, SchwindGradMax, spezEnergie"},
        {kHead + "uncertain txt_mue = normal 20;1\nresults = Laufzeit,,spezEnergie\n",
         "u.tguq, Zeile 3: erwartet wird „results = ERGEBNIS, ERGEBNIS, …“, nicht "
         "„Laufzeit,,spezEnergie“"},
        {kHead + "uncertain txt_mue = normal 20;1\nlimit SchwindGradMax >= 0,8\n",
         "u.tguq, Zeile 3: erwartet wird „limit ERGEBNIS > WERT oder limit ERGEBNIS < WERT“, "
         "nicht „limit SchwindGradMax > = 0,8“"},
        {kHead + "uncertain txt_mue = normal 20;1\nlimit SchwindGradMax 0,8\n",
         "u.tguq, Zeile 3: erwartet wird „limit ERGEBNIS > WERT oder limit ERGEBNIS < WERT“, "
         "nicht „limit SchwindGradMax 0,8“"},
        {kHead + "uncertain txt_mue = normal 20;1\nlimit SchwindGradMax > viel\n",
         "u.tguq, Zeile 3: „viel“ ist nicht eine Zahl"},
        {kHead + "uncertain txt_mue = normal 20;1\nsamples 100\n",
         "u.tguq, Zeile 3: das Gleichheitszeichen fehlt, erwartet wird NAME = TEXT"},
        {kHead + "uncertain txt_mue = normal 20;1\ncase = fall.tgcase\n",
         "u.tguq, Zeile 3: Zeilen „case = …“ kann diese Version noch nicht auswerten"},
        {"format = tesmo-gegen-study 1\n",
         "u.tguq, Zeile 1: unbekanntes Format oder unbekannte Version, erwartet wird „format = "
         "tesmo-gegen-uq 1“"},
    };
    for (const auto& [content, message] : refusals)
        EXPECT_EQ(parseMessage(content), message) << content;
}

// A case file that cannot be read is reported with its own name and line.
TEST_F(UncertaintyFileOnDisk, RefusesAnUnreadableCaseFile) {
    put("fall.tgcase", "format = tesmo-gegen-case 1\ntxt_Dike = 1\n");
    put("u.tguq", kHead + "case = fall.tgcase\nuncertain txt_mue = normal 20;1\n");
    UncertaintyFile study;
    FileProblem problem;
    EXPECT_FALSE(readUncertaintyFile(path("u.tguq"), rules(), study, problem));
    EXPECT_EQ(describe(problem), path("fall.tgcase") + ", Zeile 2: unbekannter Name „txt_Dike“");
}

TEST(UncertaintyFile, DistributionsReadAndWriteTheirNumbersExactly) {
    for (const std::string text : {"lognormal 40 ; 8", "uniform -1,5 : 2.5", "normal 1E-3 ; 2e-4",
                                   "triangular 5 : 6,7 : 8", "normal 0,1 ; 0,30000000000000004"}) {
        DistributionSpec spec, again;
        FileProblem problem;
        ASSERT_TRUE(parseDistribution(text, spec, problem)) << text << ": " << describe(problem);
        ASSERT_TRUE(parseDistribution(distributionText(spec), again, problem))
            << distributionText(spec);
        EXPECT_EQ(again, spec) << text;
    }
    EXPECT_EQ(distributionText({DistributionKind::Triangular, {5, 6.7, 8}}),
              "triangular 5 : 6,7 : 8");
}

}  // namespace tesmo
