// A study's fit line: the fitted inputs of a fit file come in as one multivariate normal with
// the fit's covariance, each on the scale it was fitted on, so that inputs the measurements
// could not tell apart keep their correlation in the drawn cases.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "files/file_problem.h"
#include "model/text_to_number.h"
#include "uq/report.h"
#include "uq/sample.h"

namespace tesmo {

namespace {

namespace fs = std::filesystem;

// ln F and ln K (fitted on a log scale) and λ (linear): standard deviations 0,1, 0,05 and 0,2,
// correlations −0,7 between ln F and ln K and 0,5 between ln K and λ.
constexpr double kSd[3] = {0.1, 0.05, 0.2};
constexpr double kCorrelation[3][3] = {{1, -0.7, 0}, {-0.7, 1, 0.5}, {0, 0.5, 1}};
constexpr double kFitted[3] = {55, 6, 1.2};

double covariance(int i, int j) {
    return kCorrelation[i][j] * kSd[i] * kSd[j];
}

std::string fitText(const std::string& outcome) {
    return "format = tesmo-gegen-fit 1\n"
           "series = v.csv ; v.tgcase\n"
           "fit txt_Feuchteleit = 40 ; 5 : 200\n"
           "fit txt_KappaSteig = 6,7 ; 1 : 15\n"
           "fit txt_lambda = 1 ; 0 : 3\n" +
           outcome;
}

std::string results() {
    return "ergebnis txt_Feuchteleit = 55 ; log\n"
           "ergebnis txt_KappaSteig = 6 ; log\n"
           "ergebnis txt_lambda = 1,2 ; linear\n";
}

std::string covarianceLines() {
    std::string text;
    const char* names[] = {"txt_Feuchteleit", "txt_KappaSteig", "txt_lambda"};
    for (int i = 0; i < 3; ++i) {
        text += std::string("kovarianz ") + names[i] + " = ";
        for (int j = 0; j < 3; ++j)
            text += (j ? " ; " : "") + ZahlZuTextExakt(covariance(i, j));
        text += "\n";
    }
    return text;
}

class FitLine : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tesmo-fitline-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "anpassung");
        put("anpassung/x.tgfit", fitText(results() + covarianceLines()));
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const std::string& content) const {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }
    // A study of the fit and, optionally, one more line; the fit line is line 3.
    std::string study(const std::string& extra = "", std::size_t samples = 4000) const {
        const std::string p = path("u.tguq");
        put("u.tguq",
            "format = tesmo-gegen-uq 1\n"
            "uncertain txt_AbluftFeuchte = normal 70 ; 3\n"
            "fit = anpassung/x.tgfit\n"
            "samples = " +
                std::to_string(samples) + "\nseed = 5\n" + extra);
        return p;
    }
    std::string refusal(const std::string& studyPath) const {
        UncertaintyPlan plan;
        FileProblem problem;
        EXPECT_FALSE(readUncertaintyPlan(studyPath, plan, problem));
        return describe(problem);
    }

    fs::path dir_;
};

}  // namespace

// The drawn cases have the fit's covariance on its scales. With n = 4000 draws the standard
// error of a sample covariance is √((σᵢᵢσⱼⱼ + σᵢⱼ²)/n), at most 2,4 % of σᵢσⱼ here; four of them
// (under 10 %) are the tolerance, and the Latin hypercube only makes the error smaller.
TEST_F(FitLine, DrawsTheFittedInputsWithTheFitsCovariance) {
    UncertaintyPlan plan;
    FileProblem problem;
    ASSERT_TRUE(readUncertaintyPlan(study(), plan, problem)) << describe(problem);
    ASSERT_EQ(plan.correlated.size(), 1u);
    const CorrelatedNormal& block = plan.correlated[0];
    EXPECT_EQ(block.source, "anpassung/x.tgfit");
    EXPECT_EQ(block.scale, (std::vector<Scale>{Scale::Log, Scale::Log, Scale::Linear}));
    EXPECT_DOUBLE_EQ(block.mean[0], std::log(55.0));
    EXPECT_DOUBLE_EQ(block.mean[2], 1.2);

    const UncertaintySample s = drawSample(plan);
    ASSERT_EQ(s.columns(), 4u);  // the independent input first, then the block
    EXPECT_EQ(s.fields[1], Control::txt_Feuchteleit);
    EXPECT_EQ(s.group, (std::vector<std::size_t>{0, 1, 1, 1}));
    const auto n = static_cast<double>(s.rows);
    double mean[3] = {}, c[3][3] = {};
    const auto onScale = [&](std::size_t row, int k) {
        const double v = s.value(row, static_cast<std::size_t>(k) + 1);
        return k < 2 ? std::log(v) : v;
    };
    for (std::size_t r = 0; r < s.rows; ++r)
        for (int k = 0; k < 3; ++k)
            mean[k] += onScale(r, k) / n;
    for (std::size_t r = 0; r < s.rows; ++r)
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                c[i][j] += (onScale(r, i) - mean[i]) * (onScale(r, j) - mean[j]) / (n - 1);
    for (int i = 0; i < 3; ++i) {
        const double centre = i < 2 ? std::log(kFitted[i]) : kFitted[i];
        EXPECT_NEAR(mean[i], centre, 4 * kSd[i] / std::sqrt(n)) << i;
        for (int j = 0; j < 3; ++j) {
            const double error = std::sqrt(
                (covariance(i, i) * covariance(j, j) + covariance(i, j) * covariance(i, j)) / n);
            EXPECT_NEAR(c[i][j], covariance(i, j), 4 * error) << i << "," << j;
        }
    }

    // The report names the fit and its correlations.
    UncertaintyAnalysis none;
    const std::string report = uncertaintyReport(plan, none);
    EXPECT_NE(report.find("lognormal, korreliert, Median 55,00, Standardabweichung des Logarithmus "
                          "0,1000 (aus anpassung/x.tgfit)"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("| `txt_Feuchteleit` | 1,000 | −0,700 | 0,000 |"), std::string::npos);
}

// Saved elsewhere, the study names the same fit file from its new folder and draws the same
// cases; a block given in code has no file to name and is refused.
TEST_F(FitLine, SavingWritesTheFitLineFromTheNewFolder) {
    UncertaintyPlan plan;
    FileProblem problem;
    ASSERT_TRUE(readUncertaintyPlan(study("", 50), plan, problem)) << describe(problem);
    fs::create_directories(dir_ / "woanders");
    const std::string moved = path("woanders/v.tguq");
    UncertaintyFile file;
    ASSERT_TRUE(uncertaintyFileOf(plan, file, problem, moved)) << describe(problem);
    EXPECT_EQ(file.fitPath, "../anpassung/x.tgfit");
    ASSERT_TRUE(writeUncertaintyFile(moved, file, problem)) << describe(problem);
    UncertaintyPlan again;
    ASSERT_TRUE(readUncertaintyPlan(moved, again, problem)) << describe(problem);
    EXPECT_EQ(drawSample(again).values, drawSample(plan).values);
    // Without a place to save to, the line stays as the study wrote it.
    ASSERT_TRUE(uncertaintyFileOf(plan, file, problem));
    EXPECT_EQ(file.fitPath, "anpassung/x.tgfit");

    plan.correlated[0].fitPath.clear();
    EXPECT_FALSE(uncertaintyFileOf(plan, file, problem));
    EXPECT_EQ(problem.kind, ProblemKind::UnsupportedLine);
}

// A fit the study cannot use is refused with the study's fit line (or the fit file's own line)
// and a sentence that says what to do.
TEST_F(FitLine, RefusesAFitItCannotUse) {
    const std::string u = study();
    put("anpassung/x.tgfit", fitText(""));
    EXPECT_EQ(refusal(u), u + ", Zeile 3: die Anpassung „anpassung/x.tgfit“ enthält kein "
                              "gespeichertes Ergebnis; zuerst ihr Ergebnis speichern "
                              "(tesmo-gegen-batch --fit DATEI --fit-save DATEI)");
    put("anpassung/x.tgfit", fitText(results()));
    EXPECT_EQ(refusal(u), u + ", Zeile 3: die Anpassung „anpassung/x.tgfit“ enthält ihr Ergebnis "
                              "ohne Kovarianz; ohne sie weiß die Studie nicht, wie die "
                              "angepassten Werte streuen");
    put("anpassung/x.tgfit", fitText(results() + "kovarianz txt_Feuchteleit = 0,01 ; 0 ; 0\n"
                                                 "kovarianz txt_KappaSteig = 0 ; inf ; 0\n"
                                                 "kovarianz txt_lambda = 0 ; 0 ; 0,04\n"));
    EXPECT_EQ(refusal(u), u + ", Zeile 3: „txt_KappaSteig“ ist durch die Messungen der Anpassung "
                              "„anpassung/x.tgfit“ nicht bestimmt (Varianz „inf“), die Studie "
                              "kann diese Eingabe nicht aus ihr ziehen; die Anpassung mit "
                              "Messungen wiederholen, die sie festlegen, oder sie ohne diese "
                              "Eingabe anpassen");
    // A covariance that is no covariance: the fit's correlations beyond 1.
    put("anpassung/x.tgfit", fitText(results() + "kovarianz txt_Feuchteleit = 0,01 ; 0,02 ; 0\n"
                                                 "kovarianz txt_KappaSteig = 0,02 ; 0,01 ; 0\n"
                                                 "kovarianz txt_lambda = 0 ; 0 ; 0,04\n"));
    EXPECT_EQ(refusal(u),
              u + ", Zeile 3: die korrelierten Eingaben txt_Feuchteleit, txt_KappaSteig, "
                  "txt_lambda: die Kovarianzmatrix ist nicht positiv definit");

    put("anpassung/x.tgfit", fitText(results() + covarianceLines()));
    const std::string twice = study("uncertain txt_KappaSteig = normal 6 ; 1\n");
    EXPECT_EQ(refusal(twice), twice +
                                  ", Zeile 3: txt_KappaSteig ist angepasst in "
                                  "„anpassung/x.tgfit“ und zugleich mit einer eigenen Verteilung "
                                  "unsicher angegeben");

    // Problems inside the fit file, or with the file itself, name the fit file.
    put("anpassung/x.tgfit", fitText("ergebnis txt_Feuchteleit = 55 ; quer\n"));
    EXPECT_EQ(refusal(u).rfind(path("anpassung/x.tgfit") + ", Zeile 6: ", 0), 0u) << refusal(u);
    fs::remove(dir_ / "anpassung/x.tgfit");
    EXPECT_EQ(refusal(u), path("anpassung/x.tgfit") +
                              ": kann nicht gelesen werden – die Datei existiert nicht");
}

}  // namespace tesmo
