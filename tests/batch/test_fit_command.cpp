// tesmo-gegen-batch --fit on the example of the README: three climate-chamber tests, three
// material values.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "files/case_file.h"
#include "files/fit_file.h"
#include "files/fit_series.h"
#include "model/text_to_number.h"
#include "tests/batch/batch_exe.h"

namespace tesmo {

using namespace test;

namespace {

const std::string kExample = std::string(TESMO_SOURCE_DIR) + "/examples/anpassung/anpassung.tgfit";

std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string c; std::getline(in, c, '\t');)
        out.push_back(c);
    return out;
}

}  // namespace

TEST(FitCommand, TheExampleRecoversItsMaterialValuesAndWritesItsFiles) {
    const std::string table = testFile("vergleich.csv"), fitted = testFile("angepasst.tgcase"),
                      saved = testFile("anpassung.tgfit");
    const ExeResult r =
        runBatchExe("--fit '" + kExample + "' --progress --jobs 2 --fit-table '" + table +
                    "' --fit-case '" + fitted + "' --fit-save '" + saved + "'");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.err.find("Start 1 von 2, Iteration 0, Kosten"), std::string::npos) << r.err;

    // The measurements were made by the model with 55, 6 and 25 and noise: every interval
    // holds its value, and the three climates determine all three.
    const std::map<std::string, double> truth{
        {"txt_Feuchteleit", 55}, {"txt_KappaSteig", 6}, {"txt_mue", 25}};
    std::map<std::string, double> value;
    for (const std::string& line : lines(r.out)) {
        const auto c = cells(line);
        if (!truth.count(c[0])) continue;
        ASSERT_EQ(c.size(), 6u) << line;
        value[c[0]] = std::stod(c[1]);
        EXPECT_LE(std::stod(c[3]), truth.at(c[0])) << line;
        EXPECT_GE(std::stod(c[4]), truth.at(c[0])) << line;
        EXPECT_EQ(c[5], "determined") << line;
    }
    EXPECT_EQ(value.size(), 3u) << r.out;
    for (const char* expected :
         {"rms\tversuch1.csv\tm_g\t", "rms\tversuch2.csv\tthetaOb\t", "sigma\tX\t", "points\t130",
          "starts\t2", "correlation\ttxt_KappaSteig\ttxt_mue\t"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    EXPECT_TRUE(hasLine(r.out, "end\tconverged")) << r.out;

    // The table: one row per measured value; the case: the first series' with the values fitted.
    const auto rows = lines(slurp(table));
    ASSERT_EQ(rows.size(), 131u);
    EXPECT_EQ(rows[0], "series,time,quantity,measured,simulated,residual");
    EXPECT_EQ(rows[1].rfind("versuch1.csv,0,m_g,", 0), 0u) << rows[1];
    InputTexts c;
    FileProblem problem;
    ASSERT_TRUE(readCaseFile(fitted, defaultInputTexts(), c, problem)) << describe(problem);
    EXPECT_EQ(TextZuZahl(c[Control::txt_mue]), value["txt_mue"]);
    EXPECT_EQ(c[Control::txt_Lufttemp], "30");
    EXPECT_EQ(c.optionen.klima, Klima::Konstant);

    // The fit file with its outcome, whose series still find their files from the new folder.
    FitFile back;
    ASSERT_TRUE(readFitFile(saved, back, problem)) << describe(problem);
    ASSERT_TRUE(back.outcome && back.outcome->hasCovariance());
    EXPECT_EQ(back.outcome->values[2], value["txt_mue"]);
    EXPECT_EQ(back.outcome->scales[2], FitScale::Log);
    EXPECT_GT(back.outcome->cov(2, 2), 0);
    std::vector<MeasuredSeries> series;
    EXPECT_TRUE(loadAllSeries(back, saved, series, problem)) << describe(problem);
    EXPECT_EQ(series.size(), 3u);
}

TEST(FitCommand, MalformedFitsExit2AndWrongCombinationsAreUsageErrors) {
    const std::string file = testFile("kaputt.tgfit");
    spit(file,
         "format = tesmo-gegen-fit 1\nseries = fehlt.csv ; fehlt.tgcase\nfit txt_mue = 20 ; "
         "5 : 60\n");
    ExeResult r = runBatchExe("--fit '" + file + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("fehlt.csv: kann nicht gelesen werden"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    spit(file, "format = tesmo-gegen-fit 1\nfit txt_mue = 20 ; 60 : 5\n");
    r = runBatchExe("--fit '" + file + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Zeile 2: für „txt_mue“ muss die Untergrenze"), std::string::npos);
    // A start the input check refuses: the fit fails with the check's words, and nothing else
    // speaks on the standard error.
    spit(file, "format = tesmo-gegen-fit 1\nseries = " + std::string(TESMO_SOURCE_DIR) +
                   "/examples/anpassung/versuch3.csv ; " + TESMO_SOURCE_DIR +
                   "/examples/anpassung/versuch3.tgcase\nfit txt_KappaSteig = 500 ; 1 : 1000\n");
    r = runBatchExe("--fit '" + file + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(hasLine(r.out, "end\tfailed")) << r.out;
    EXPECT_EQ(r.err.rfind("Die Anpassung ist fehlgeschlagen: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("„Kappa-Steigung unter Grenzfeuchte“: 500 ist nicht möglich"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    for (const char* usage :
         {"--fit-table t.csv", "--fit a.tgfit --vary txt_mue=1:2:1", "--fit a.tgfit --csv h.csv",
          "--fit a.tgfit --table t.csv", "--fit-save a.tgfit"})
        EXPECT_EQ(runBatchExe(usage).status, 64) << usage;
}

TEST(FitCommand, AnInterruptStopsTheFit) {
    const std::string err = testFile("stderr");
    const ExeResult r =
        runBatchExe("--fit '" + kExample + "' --progress --jobs 2",
                    " & for i in $(seq 600); do grep -q Iteration '" + err +
                        "' 2>/dev/null && break; sleep 0.05; done; kill -INT $!; wait $!");
    EXPECT_EQ(r.status, 130) << r.err;
    EXPECT_NE(r.err.find("Die Anpassung wurde abgebrochen."), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

}  // namespace tesmo
