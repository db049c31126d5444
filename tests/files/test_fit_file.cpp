#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "files/case_file.h"
#include "files/fit_file.h"
#include "files/fit_series.h"
#include "temp_folder.h"

namespace tesmo {

namespace {

const std::string kHead = "format = tesmo-gegen-fit 1\n";
const std::string kMinimal = kHead +
                             "series = a.csv ; a.tgcase\n"
                             "fit txt_Feuchteleit = 40 ; 5 : 200\n";

std::string refusal(const std::string& content) {
    FitFile f;
    FileProblem problem;
    if (parseFitFile(content, "anpassung.tgfit", f, problem)) return "accepted";
    EXPECT_TRUE(f.series.empty()) << "a refusal leaves the file as it was";
    return describe(problem);
}

FitFile parsed(const std::string& content) {
    FitFile f;
    FileProblem problem;
    EXPECT_TRUE(parseFitFile(content, "anpassung.tgfit", f, problem)) << describe(problem);
    return f;
}

}  // namespace

TEST(FitFile, ReadsSeriesParametersAndSettings) {
    const FitFile f = parsed(kHead +
                             "# Versuche vom März\n"
                             "series = versuch1.csv ; versuch1.tgcase          # Kommentar? nein\n"
                             "series = v 2.csv;v2.tgcase;trockenmasse_g=152,3;klima = konstant\n"
                             "fit txt_Feuchteleit = 40 ; 5 : 200\n"
                             "fit  txt_KappaSteig = 6,7 ; -1 : 15\n"
                             "starts = 4\n"
                             "seed = 7\n"
                             "iterations = 30\n"
                             "sigma thetaOb = 0,3\n");
    ASSERT_EQ(f.series.size(), 2u);
    // A '#' inside a text is part of it, as in every line file of the program.
    EXPECT_EQ(f.series[0].caseFile, "versuch1.tgcase          # Kommentar? nein");
    EXPECT_TRUE(std::isnan(f.series[0].trockenmasse_g));
    EXPECT_EQ(f.series[1].measurement, "v 2.csv");
    EXPECT_EQ(f.series[1].trockenmasse_g, 152.3);
    EXPECT_TRUE(f.series[1].optionSet[0]);
    EXPECT_EQ(f.series[1].optionen.klima, Klima::Konstant);
    EXPECT_EQ(f.series[1].line, 4);
    ASSERT_EQ(f.parameters.size(), 2u);
    EXPECT_EQ(f.parameters[1].field, Control::txt_KappaSteig);
    EXPECT_EQ(f.parameters[1].start, 6.7);
    EXPECT_EQ(f.parameters[1].lower, -1);
    EXPECT_EQ(f.parameters[1].upper, 15);
    EXPECT_EQ(f.starts, 4);
    EXPECT_EQ(f.seed, 7u);
    EXPECT_EQ(f.iterations, 30);
    EXPECT_EQ(f.sigma[slot(Messgroesse::thetaOb)], 0.3);
    EXPECT_TRUE(std::isnan(f.sigma[slot(Messgroesse::X)]));
    EXPECT_FALSE(f.outcome.has_value());
    // Defaults of a file that sets nothing.
    const FitFile d = parsed(kMinimal);
    EXPECT_EQ(d.starts, 1);
    EXPECT_EQ(d.seed, 1u);
    EXPECT_EQ(d.iterations, kDefaultIterations);
}

TEST(FitFile, RefusalsNameTheLineAndTheReason) {
    const std::pair<std::string, const char*> cases[] = {
        {"series = a.csv\n", "Zeile 1: die erste Zeile muss „format = tesmo-gegen-fit 1“"},
        {kHead + "fit txt_Feuchteleit = 40 ; 5 : 200\n", "die Anpassung hat keine Versuchsreihe"},
        {kHead + "series = a.csv ; a.tgcase\n", "die Anpassung hat keinen Parameter"},
        {kHead + "series = a.csv\n", "Zeile 2: erwartet wird series = MESSDATEI ; FALLDATEI"},
        {kHead + "series = a.csv ; ; x\n", "Zeile 2: erwartet wird series"},
        {kHead + "series = a.csv ; b ; masse = 3\n", "unbekannte Angabe „masse“ zur Versuchsreihe"},
        {kHead + "series = a.csv ; b ; trockenmasse_g = 0\n",
         "„0“ ist für „trockenmasse_g“ nicht möglich, erwartet wird eine Zahl größer als 0"},
        {kHead + "series = a.csv ; b ; klima = heiss\n", "„heiss“ ist kein Wert für „klima“"},
        {kMinimal + "fit txt_Feuchteleit = 30 ; 5 : 200\n",
         "Zeile 4: „txt_Feuchteleit“ ist schon einmal angegeben"},
        {kMinimal + "fit txt_Dike = 1 ; 0 : 2\n", "Zeile 4: unbekannter Name „txt_Dike“"},
        {kMinimal + "fit txt_mue = 20\n", "Zeile 4: erwartet wird fit NAME = START ; UNTERGRENZE"},
        {kMinimal + "fit txt_mue = 20 ; 5 - 30\n", "erwartet wird fit NAME"},
        {kMinimal + "fit txt_mue = zwanzig ; 5 : 30\n", "„zwanzig“ in „txt_mue“ ist keine Zahl"},
        {kMinimal + "fit txt_mue = 20 ; 30 : 5\n", "Untergrenze kleiner als die Obergrenze"},
        {kMinimal + "fit txt_mue = 40 ; 5 : 30\n", "der Startwert für „txt_mue“ liegt nicht"},
        {kMinimal + "starts = 0\n", "„0“ ist für „starts“ nicht möglich, erwartet wird eine ganze"},
        {kMinimal + "starts = 2,5\n", "„2,5“ ist für „starts“ nicht möglich"},
        {kMinimal + "starts = 2\nstarts = 3\n", "„starts“ ist schon einmal angegeben"},
        {kMinimal + "sigma Y = 1\n", "unbekannte Messgröße „Y“"},
        {kMinimal + "sigma X = -1\n", "„-1“ ist für „sigma X“ nicht möglich"},
        {kMinimal + "tempo = 3\n", "Zeile 4: unbekannter Name „tempo“"},
        {kMinimal + "ergebnis txt_Feuchteleit = 40\n", "erwartet wird ergebnis NAME = WERT ; log"},
        {kMinimal + "ergebnis txt_Feuchteleit = -4 ; log\n", "„-4“ ist für „txt_Feuchteleit“"},
        {kMinimal + "ergebnis txt_mue = 4 ; linear\n",
         "Zeile 4: für „txt_mue“ gibt es ein Ergebnis, aber keine Zeile „fit txt_mue = …“"},
        {kMinimal + "kovarianz txt_Feuchteleit = 1\n", "steht nicht in der Reihenfolge"},
        {kMinimal + "ergebnis txt_Feuchteleit = 41 ; log\nkovarianz txt_Feuchteleit = 1 ; 2\n",
         "die Kovarianzzeile muss 1 Werte haben"},
        {kMinimal + "ergebnis txt_Feuchteleit = 41 ; log\nkovarianz txt_Feuchteleit = -1\n",
         "negative Varianz (Zeile für „txt_Feuchteleit“)"},
    };
    for (const auto& [content, expected] : cases)
        EXPECT_NE(refusal(content).find(expected), std::string::npos) << content << "\n"
                                                                      << refusal(content);
}

TEST(FitFile, TheOutcomeIsWrittenAndReadBackToTheLastBit) {
    FitFile f = parsed(kMinimal +
                       "fit txt_KappaSteig = 6,7 ; -1 : 15\nfit txt_lambda = 1 ; 0,1 : 5\n"
                       "starts = 3\nsigma X = 0,002\n");
    FitOutcome r;
    r.fields = {Control::txt_Feuchteleit, Control::txt_KappaSteig, Control::txt_lambda};
    r.values = {41.234567890123456, -0.1 / 3, 1.5};
    r.scales = {FitScale::Log, FitScale::Linear, FitScale::Log};
    const double inf = std::numeric_limits<double>::infinity();
    r.covariance = {4e-4, 1.0 / 3e5, 0, 1.0 / 3e5, 3.1e-3, 0, 0, 0, inf};
    f.outcome = r;
    std::string text;
    FileProblem problem;
    ASSERT_TRUE(fitFileText(f, text, problem)) << describe(problem);
    EXPECT_NE(text.find("ergebnis txt_Feuchteleit = 41,23456789012346 ; log\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("kovarianz txt_lambda = 0 ; 0 ; inf\n"), std::string::npos) << text;
    const FitFile back = parsed(text);
    ASSERT_TRUE(back.outcome.has_value());
    EXPECT_EQ(back.outcome->fields, r.fields);
    EXPECT_EQ(back.outcome->values, r.values);
    EXPECT_EQ(back.outcome->scales, r.scales);
    EXPECT_EQ(back.outcome->covariance, r.covariance);
    EXPECT_EQ(back.starts, 3);
    EXPECT_EQ(back.sigma[0], 0.002);
    EXPECT_TRUE(std::isnan(back.sigma[1]));
    EXPECT_EQ(back.parameters.size(), 3u);

    // A result without its covariance reads as such; a path a series line cannot hold, or an
    // outcome the reader would refuse, is not written.
    f.outcome->covariance.clear();
    ASSERT_TRUE(fitFileText(f, text, problem));
    EXPECT_FALSE(parsed(text).outcome->hasCovariance());
    FitFile bad = f;
    bad.series[0].measurement = "a;b.csv";
    EXPECT_FALSE(fitFileText(bad, text, problem));
    EXPECT_NE(describe(problem).find("enthält ein Semikolon"), std::string::npos);
    bad = f;
    bad.outcome->fields[2] = Control::txt_mue;  // not fitted
    EXPECT_FALSE(fitFileText(bad, text, problem));
    EXPECT_TRUE(problem.saving);
}

using FitSeries = TempFolder;

TEST_F(FitSeries, PathsStartAtTheFitFileAndMeasurementsMustFitTheCase) {
    std::filesystem::create_directories(dir_ / "daten");
    put("daten/v1.csv", "t_min;X\n0;0,25\n30;0,21\n");
    put("daten/v2.csv", "t_min;m_g\n0;150\n30;148\n");
    put("daten/v1.tgcase", "format = tesmo-gegen-case 1\ntxt_Dicke = 8\n");
    put("daten/v2.tgcase", "format = tesmo-gegen-case 1\nklima = konstant\n");
    put("daten/a.tgfit", kHead +
                             "series = v1.csv ; v1.tgcase ; klima = konstant\n"
                             "series = v2.csv ; v2.tgcase ; trockenmasse_g = 120\n"
                             "fit txt_mue = 20 ; 5 : 60\n");
    FitFile f;
    FileProblem problem;
    ASSERT_TRUE(readFitFile(path("daten/a.tgfit"), f, problem)) << describe(problem);
    std::vector<MeasuredSeries> series;
    ASSERT_TRUE(loadAllSeries(f, path("daten/a.tgfit"), series, problem)) << describe(problem);
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].name, "v1.csv");
    EXPECT_EQ(series[0].texts[Control::txt_Dicke], "8");
    EXPECT_EQ(series[0].texts.optionen.klima, Klima::Konstant);  // from the series line
    EXPECT_EQ(series[1].texts.optionen.klima, Klima::Konstant);  // from the case file
    EXPECT_EQ(series[1].trockenmasse_g, 120);
    EXPECT_DOUBLE_EQ(waterLoadOf(series[1], Messgroesse::Masse, 150), 0.25);

    // Masses without a dry mass name the series line; a water load above the case's initial
    // one by more than three times the noise names the measurement's line.
    put("daten/b.tgfit", kHead + "series = v2.csv ; v2.tgcase\nfit txt_mue = 20 ; 5 : 60\n");
    ASSERT_TRUE(readFitFile(path("daten/b.tgfit"), f, problem));
    EXPECT_FALSE(loadAllSeries(f, "b.tgfit", series, problem));
    EXPECT_EQ(describe(problem),
              "b.tgfit, Zeile 2: die Messdatei enthält Massen (m_g), für die Versuchsreihe ist "
              "aber keine Trockenmasse angegeben (; trockenmasse_g = …)");
    put("daten/v3.csv", "t_min;X\n0;0,25\n10;0,257\n");
    put("daten/c.tgfit", kHead + "series = v3.csv ; v1.tgcase\nfit txt_mue = 20 ; 5 : 60\n");
    ASSERT_TRUE(readFitFile(path("daten/c.tgfit"), f, problem));
    EXPECT_FALSE(loadAllSeries(f, "c.tgfit", series, problem));
    EXPECT_NE(describe(problem).find("v3.csv, Zeile 3: die gemessene Wasserbeladung „0,257“ kg/kg "
                                     "liegt um mehr als das Messrauschen über der "
                                     "Anfangswasserbeladung „0,25“"),
              std::string::npos)
        << describe(problem);
    // Within three times the noise (0,002 typical; here the file's own) it is noise.
    put("daten/c.tgfit",
        kHead + "series = v3.csv ; v1.tgcase\nfit txt_mue = 20 ; 5 : 60\nsigma X = 0,003\n");
    ASSERT_TRUE(readFitFile(path("daten/c.tgfit"), f, problem));
    EXPECT_TRUE(loadAllSeries(f, "c.tgfit", series, problem)) << describe(problem);
    // A missing file is named as the fit file resolves it.
    put("daten/d.tgfit", kHead + "series = fehlt.csv ; v1.tgcase\nfit txt_mue = 20 ; 5 : 60\n");
    ASSERT_TRUE(readFitFile(path("daten/d.tgfit"), f, problem));
    EXPECT_FALSE(loadAllSeries(f, "d.tgfit", series, problem));
    EXPECT_NE(describe(problem).find("daten/fehlt.csv: kann nicht gelesen werden"),
              std::string::npos);
}

}  // namespace tesmo

namespace tesmo {

TEST_F(FitSeries, ASavedFitFindsItsFilesFromItsNewFolder) {
    std::filesystem::create_directories(dir_ / "daten");
    std::filesystem::create_directories(dir_ / "ergebnisse" / "maerz");
    put("daten/v1.csv", "t_min;X\n0;0,25\n");
    put("daten/v1.tgcase", "format = tesmo-gegen-case 1\n");
    put("daten/a.tgfit",
        kHead + "series = v1.csv ; " + path("daten/v1.tgcase") + "\nfit txt_mue = 20 ; 5 : 60\n");
    FitFile f;
    FileProblem problem;
    ASSERT_TRUE(readFitFile(path("daten/a.tgfit"), f, problem));
    const std::string target = path("ergebnisse/maerz/b.tgfit");
    ASSERT_TRUE(writeFitFile(target, relocated(f, target), problem)) << describe(problem);
    FitFile back;
    ASSERT_TRUE(readFitFile(target, back, problem));
    EXPECT_EQ(back.series[0].measurement, "../../daten/v1.csv");
    EXPECT_EQ(back.series[0].caseFile, path("daten/v1.tgcase"));  // absolute stays absolute
    std::vector<MeasuredSeries> series;
    EXPECT_TRUE(loadAllSeries(back, target, series, problem)) << describe(problem);
}

}  // namespace tesmo
