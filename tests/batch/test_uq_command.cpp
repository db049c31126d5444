// Uncertainty studies through the built tesmo-gegen-batch, as a user runs them from a shell:
// small studies of thin plates on a coarse grid, each case a few milliseconds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/batch/batch_exe.h"

namespace tesmo {

using namespace test;

namespace {

std::string studyFile(const std::string& name, const std::string& extra = "",
                      const std::string& humidity = "normal 70 ; 3",
                      const std::string& seed = "12") {
    const std::string path = testFile(name);
    spit(path,
         "format = tesmo-gegen-uq 1\n"
         "txt_Dicke = 4\n"
         "txt_Ortsschrittweite = 0,25\n"
         "txt_deltaT = 2,0\n"
         "uncertain txt_Feuchteleit = lognormal 40 ; 8\n"
         "uncertain txt_AbluftFeuchte = " +
             humidity +
             "\n"
             "samples = 12\n"
             "seed = " +
             seed +
             "\n"
             "results = Laufzeit, SchwindGradMax\n"
             "limit SchwindGradMax > 8\n" +
             extra);
    return path;
}

// The rows of shard tables joined after one header, sorted by case.
std::string joined(const std::vector<std::string>& tables) {
    std::vector<std::string> rows;
    std::string header;
    for (const std::string& t : tables) {
        const auto l = lines(slurp(t));
        header = l.at(0);
        rows.insert(rows.end(), l.begin() + 1, l.end());
    }
    std::sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
        return std::stoul(a) < std::stoul(b);
    });
    std::string text = header + "\n";
    for (const std::string& r : rows)
        text += r + "\n";
    return text;
}

}  // namespace

// The same seed gives the same table byte for byte with one or two jobs and across shards, and
// the shards' tables, analysed afterwards, give the report of the whole study.
TEST(UqCommand, ReproducibleTablesShardsAndTheirSummary) {
    const std::string study = studyFile("u.tguq");
    const std::string report = testFile("bericht.md");
    const ExeResult one = runBatchExe("--uq '" + study + "' --jobs 1 --uq-report '" + report + "'");
    ASSERT_EQ(one.status, 0) << one.err;
    const ExeResult two = runBatchExe("--uq '" + study + "' --jobs 2");
    EXPECT_EQ(two.out, one.out);
    ASSERT_EQ(lines(one.out).size(), 13u);
    const std::string whole = slurp(report);
    EXPECT_NE(whole.find("Fertig gerechnet: 12 von 12 Fällen"), std::string::npos) << whole;
    EXPECT_NE(whole.find("## Sensitivität: Sobol'-Indizes"), std::string::npos);

    std::vector<std::string> shards;
    for (int k = 1; k <= 3; ++k) {
        shards.push_back(testFile("teil-" + std::to_string(k) + ".csv"));
        const ExeResult part = runBatchExe("--uq '" + study + "' --shard " + std::to_string(k) +
                                           "/3 --table '" + shards.back() + "'");
        ASSERT_EQ(part.status, 0) << part.err;
    }
    EXPECT_EQ(joined(shards), one.out);
    const ExeResult summary = runBatchExe("--uq '" + study + "' --uq-summary '" + shards[0] +
                                          "' '" + shards[1] + "' '" + shards[2] + "'");
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_EQ(summary.out, whole);

    // A shard missing from the summary: its cases are counted as not run, exit status 3.
    const ExeResult partial =
        runBatchExe("--uq '" + study + "' --uq-summary '" + shards[0] + "' '" + shards[1] + "'");
    EXPECT_EQ(partial.status, 3);
    EXPECT_NE(partial.out.find("| nicht gerechnet (`missing`) | 4 |"), std::string::npos)
        << partial.out;
    // A table of another seed is not this study's.
    const std::string other = studyFile("anders.tguq", "", "normal 70 ; 3", "13");
    const ExeResult foreign = runBatchExe("--uq '" + other + "' --uq-summary '" + shards[0] + "'");
    EXPECT_EQ(foreign.status, 2);
    EXPECT_NE(foreign.err.find("die Tabelle gehört zu einer anderen Studie oder einem anderen "
                               "Startwert"),
              std::string::npos)
        << foreign.err;
}

TEST(UqCommand, RefusedCasesGiveStatusThreeAndAreReported) {
    const std::string study = studyFile("feucht.tguq", "", "normal 99 ; 3");
    const std::string report = testFile("bericht.md");
    const ExeResult r = runBatchExe("--uq '" + study + "' --table '" + testFile("t.csv") +
                                    "' --uq-report '" + report + "'");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string text = slurp(report);
    EXPECT_NE(text.find("## Nicht fertig gerechnete Fälle"), std::string::npos) << text;
    EXPECT_NE(text.find("| abgelehnt (`refused`) |"), std::string::npos);
    EXPECT_NE(slurp(testFile("t.csv")).find(",refused,"), std::string::npos);
}

TEST(UqCommand, RefusesMalformedStudiesAndOptionsThatDoNotBelongTogether) {
    const std::string study = studyFile("u.tguq");
    const std::pair<std::string, std::string> usage[] = {
        {"--uq-report r.md", "--uq-report und --uq-summary brauchen die Studie: --uq DATEI.tguq"},
        {"--uq '" + study + "' --shard 1/2 --uq-report r.md", "--uq-report braucht alle Fälle"},
        {"--uq '" + study + "' --uq-summary t.csv --jobs 2", "--uq-summary wertet fertige"},
        {"--uq '" + study + "' --vary txt_mue=10:20:5", "--uq lässt sich nicht mit --vary"},
        {"--uq '" + study + "' --case fall.tgcase", "--case und --uq geben beide den Grundfall"},
        {"--uq '" + study + "' --uq-summary", "--uq-summary braucht mindestens eine"},
        {"--uq '" + study + "' --csv h.csv", "--csv und --human gehören zu einem einzelnen Lauf"},
    };
    for (const auto& [args, message] : usage) {
        const ExeResult r = runBatchExe(args);
        EXPECT_EQ(r.status, 64) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << "\n" << r.err;
    }
    const std::string fit = studyFile("fit.tguq", "fit = versuch.tgfit\n");
    const ExeResult withFit = runBatchExe("--uq '" + fit + "'");
    EXPECT_EQ(withFit.status, 2);
    EXPECT_EQ(withFit.err, testing::TempDir() +
                               "versuch.tgfit: kann nicht gelesen werden – die Datei existiert "
                               "nicht\n");
    const std::string bad = studyFile("bad.tguq", "design = latin\n");
    const ExeResult malformed = runBatchExe("--uq '" + bad + "'");
    EXPECT_EQ(malformed.status, 2);
    EXPECT_EQ(malformed.err, bad +
                                 ", Zeile 11: „latin“ ist hier nicht möglich, erwartet wird "
                                 "lhs, sobol oder montecarlo\n");
    EXPECT_EQ(malformed.out, "");
}

// A study with the example's saved fit: the fitted material values scatter together with the
// fit's covariance, the same table on one or two threads, and the report names the fit and
// rates its inputs as one group. The examples of the manual are accepted as they stand.
TEST(UqCommand, FittedInputsComeFromTheSavedFit) {
    const std::string examples = std::string(TESMO_SOURCE_DIR) + "/examples/anpassung/";
    const std::string study = testFile("fit.tguq");
    spit(study,
         "format = tesmo-gegen-uq 1\n"
         "txt_Dicke = 4\n"
         "txt_Ortsschrittweite = 0,25\n"
         "txt_deltaT = 2,0\n"
         "uncertain txt_AbluftFeuchte = normal 70 ; 3\n"
         "fit = " +
             examples +
             "ergebnis.tgfit\n"
             "samples = 12\n"
             "results = Laufzeit\n");
    const std::string one = testFile("eins.csv"), two = testFile("zwei.csv");
    const std::string report = testFile("bericht.md");
    const ExeResult r = runBatchExe("--uq '" + study + "' --jobs 1 --table '" + one +
                                    "' --uq-report '" + report + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(runBatchExe("--uq '" + study + "' --jobs 2 --table '" + two + "'").status, 0);
    EXPECT_EQ(slurp(one), slurp(two));
    const auto rows = lines(slurp(one));
    ASSERT_EQ(rows.size(), 13u);
    const auto header = csvCells(rows[0]);
    const auto at = std::find(header.begin(), header.end(), "txt_Feuchteleit") - header.begin();
    for (std::size_t i = 1; i < rows.size(); ++i) {
        // The fit found 55,01 with a standard deviation of 0,65 % of it.
        const double value = std::stod(csvCells(rows[i])[static_cast<std::size_t>(at)]);
        EXPECT_NEAR(value, 55.01, 55.01 * 4 * 0.0066) << rows[i];
    }
    const std::string text = slurp(report);
    EXPECT_NE(text.find("lognormal, korreliert, Median 55,01"), std::string::npos) << text;
    EXPECT_NE(text.find("(aus " + examples + "ergebnis.tgfit)"), std::string::npos);
    EXPECT_NE(text.find("| `txt_KappaSteig` | 0,074 | 1,000 | −0,720 |"), std::string::npos);

    for (const char* example :
         {"/examples/unsicherheit.tguq", "/examples/anpassung/unsicherheit.tguq"}) {
        const ExeResult shard =
            runBatchExe("--uq '" + std::string(TESMO_SOURCE_DIR) + example + "' --shard 1/100");
        EXPECT_EQ(shard.status, 0) << example << "\n" << shard.err;
        EXPECT_GT(lines(shard.out).size(), 5u) << example;
    }
}

}  // namespace tesmo
