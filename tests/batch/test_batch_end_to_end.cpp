// Runs the built tesmo-gegen-batch as a user would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/batch/batch_exe.h"

namespace tesmo {

using namespace test;
using Result = ExeResult;

namespace {

// An environment variable taken away for a scope.
class WithoutVariable {
  public:
    explicit WithoutVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) saved_ = value, had_ = true;
        ::unsetenv(name);
    }
    ~WithoutVariable() {
        if (had_) ::setenv(name_, saved_.c_str(), 1);
    }
    WithoutVariable(const WithoutVariable&) = delete;
    WithoutVariable& operator=(const WithoutVariable&) = delete;

  private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

}  // namespace

TEST(BatchRunner, DefaultRunShowsTheSetUpValuesAndEndsNormally) {
    const Result r = runBatchExe("");
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"txt_XSchwEnde\t0,136", "txt_offPoren\t25,1", "txt_LuftRohlingVerh\t13,11",
          "txt_LuftWasserVerh\t52,42", "txt_xmom\t0,00", "txt_KapGeschw\t-", "Image7\tvisible"})
        EXPECT_TRUE(hasLine(r.out, line)) << line << "\n" << r.out;
    EXPECT_TRUE(hasLine(r.out, "end\tmidplane") || hasLine(r.out, "end\ttarget")) << r.out;
    // Field lines first, in the window's top-to-bottom order.
    EXPECT_EQ(r.out.rfind("txt_XSchwEnde\t", 0), 0u);
    EXPECT_LT(r.out.find("txt_Zeit\t"), r.out.find("txt_Wasserfehler\t"));
    EXPECT_LT(r.out.find("txt_Wasserfehler\t"), r.out.find("lbl_Achtung\t"));
    EXPECT_LT(r.out.find("Image7\t"), r.out.find("txt_Wasserfehler.color\t"));
    EXPECT_LT(r.out.find("txt_Wasserfehler.color\t"), r.out.find("end\t"));
}

TEST(BatchRunner, AConstantClimateShowsNoAirOrEnergyDemand) {
    // The outside air is no part of a climate-chamber run: a text without a number is fine.
    const Result r = runBatchExe("--klima konstant txt_Dicke=6 txt_AussenluftTemp=x");
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* absent :
         {"txt_LuftRohlingVerh", "txt_LuftWasserVerh", "txt_spezEnergie", "txt_relEnergie"})
        EXPECT_EQ(r.out.find(absent), std::string::npos) << absent << "\n" << r.out;
    EXPECT_TRUE(hasLine(r.out, "txt_momLuftTemp\t35,0")) << r.out;
    EXPECT_NE(r.out.find("txt_Wasserfehler\t"), std::string::npos);
    // The same texts in a counter-current dryer are refused.
    EXPECT_EQ(runBatchExe("txt_Dicke=6 txt_AussenluftTemp=x").status, 2);
}

TEST(BatchRunner, HumanOutputUsesTheLabelCaptions) {
    const Result r = runBatchExe("--human txt_XAnf=0,30");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(hasLine(r.out, "spez. Luftdurchsatz in kg pro kg Wasser\t52,42")) << r.out;
    EXPECT_EQ(r.out.find("txt_LuftWasserVerh"), std::string::npos);
}

TEST(BatchRunner, RefusedInputExitsWith2AndPrintsOnlyTheReasons) {
    const Result r = runBatchExe("txt_Ortsschrittweite=0");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}

TEST(BatchRunner, UsageErrorsExitWith64AndHelpDocumentsTheOptions) {
    for (const char* args : {"txt_Unbekannt=1", "txt_Dicke", "--csv", "--nonsense"}) {
        const Result r = runBatchExe(args);
        EXPECT_EQ(r.status, 64) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << args;
    }
    const Result help = runBatchExe("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"--human", "--csv", "--progress", "--report", "--svg", "--png",
                             "profil.svg", "verlauf.png", "--version", "txt_KappaSteig", "64"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

TEST(BatchRunner, CsvHasTheArrayNamesAndFullPrecisionRecords) {
    const std::string csv = testing::TempDir() + "tesmo_batch_histories.csv";
    const Result r = runBatchExe("txt_Dicke=4 txt_rund=100 --csv '" + csv + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(csv);
    std::string header, first, line;
    std::getline(in, header);
    EXPECT_EQ(header,
              "VerlaufXmom,VerlaufXOb,VerlaufXK,VerlaufSpiegel,VerlaufThetaLuft,VerlaufThetaOb,"
              "VerlaufThetaK,VerlaufRate,VerlaufSchwindOb,VerlaufSchwindK");
    std::getline(in, first);
    EXPECT_EQ(first.rfind("0.25,", 0), 0u) << first;  // record 0: the initial water load
    EXPECT_NE(first.find("30.0373"), std::string::npos) << first;  // wet bulb, all digits
    long rows = 1;
    while (std::getline(in, line))
        ++rows;
    EXPECT_GT(rows, 100);
}

TEST(BatchRunner, ARunThatOutgrowsTheHistoriesEndsEarlyWithExit3AndAllRecords) {
    const std::string csv = testing::TempDir() + "tesmo_batch_full.csv";
    const Result r =
        runBatchExe("txt_deltaT=0,05 txt_Ortsschrittweite=1 txt_rund=50000 --csv '" + csv + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(hasLine(r.out, "end\thistory-full")) << r.out;
    EXPECT_FALSE(hasLine(r.out, "txt_spezEnergie")) << r.out;
    EXPECT_NE(r.err, "");
    std::ifstream in(csv);
    long lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    EXPECT_EQ(lines, 1 + 500001);
}

TEST(BatchRunner, AnUnstableRunEndsEarlyWithExit3) {
    const Result r = runBatchExe("txt_XZiel=0,2499");
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(hasLine(r.out, "end\tunstable")) << r.out;
    EXPECT_FALSE(hasLine(r.out, "txt_spezEnergie")) << r.out;
    EXPECT_NE(r.err.find("instabil"), std::string::npos) << r.err;
}

TEST(BatchRunner, HistoriesAreWrittenWholeOrNotAtAll) {
    // Two runs writing the same file at the same time leave one of the two tables, whole.
    const std::string csv = testing::TempDir() + "tesmo_batch_shared.csv";
    const std::string csvA = testing::TempDir() + "tesmo_batch_a.csv";
    const std::string csvB = testing::TempDir() + "tesmo_batch_b.csv";
    ASSERT_EQ(runBatchExe("txt_Dicke=4 --csv '" + csvA + "'").status, 0);
    ASSERT_EQ(runBatchExe("txt_Dicke=6 --csv '" + csvB + "'").status, 0);
    const std::string a = slurp(csvA), b = slurp(csvB);
    ASSERT_NE(a, b);
    for (int round = 0; round < 6; ++round) {
        const Result r = runBatchExe("txt_Dicke=4 --csv '" + csv + "'",
                                     " & '" + std::string(TESMO_BATCH_EXE) +
                                         "' txt_Dicke=6 --csv '" + csv + "' >/dev/null; wait $!");
        EXPECT_EQ(r.status, 0);
        const std::string now = slurp(csv);
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
    // A target that cannot be written: exit 74, a message with path and reason, the old
    // file untouched.
    const Result r = runBatchExe("txt_Dicke=4 --csv '" + testing::TempDir() + "'");
    EXPECT_EQ(r.status, 74);
    EXPECT_NE(r.err.find("der Pfad ist ein Ordner"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(csvA), a);
}

TEST(BatchRunner, AnInterruptActsLikeStop) {
    const Result r = runBatchExe("txt_deltaT=0,05", " & sleep 0.5; kill -INT $!; wait $!");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_TRUE(hasLine(r.out, "end\tstopped")) << r.out;
    EXPECT_NE(r.err.find("abgebrochen"), std::string::npos) << r.err;
}

TEST(BatchRunner, ExportsAreWrittenWithoutADisplayAndLeaveTheOutputAsItIs) {
    const std::string dir = testFile("exports");
    const Result plain = runBatchExe("txt_Dicke=4");
    Result exported;
    {
        // No display at all: the runner chooses the offscreen platform itself.
        const WithoutVariable noDisplay("DISPLAY"), noPlatform("QT_QPA_PLATFORM");
        exported = runBatchExe("txt_Dicke=4 --report '" + dir + "-bericht.pdf' --svg '" + dir +
                               "/svg' --png='" + dir + "/png'");
    }
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, plain.out);
    EXPECT_EQ(exported.err, "");
    EXPECT_EQ(slurp(dir + "-bericht.pdf").rfind("%PDF-", 0), 0u);
    for (const char* file : {"/svg/profil.svg", "/svg/verlauf.svg"})
        EXPECT_EQ(slurp(dir + file).rfind("<?xml", 0), 0u) << file;
    for (const char* file : {"/png/profil.png", "/png/verlauf.png"})
        EXPECT_EQ(slurp(dir + file).substr(1, 3), "PNG") << file;

    // A report that cannot be written: exit 74 after the output, the others still written.
    const Result failed =
        runBatchExe("txt_Dicke=4 --report /nonexistent-dir/b.pdf --svg '" + dir + "/svg2'");
    EXPECT_EQ(failed.status, 74);
    EXPECT_EQ(failed.out, plain.out);
    EXPECT_NE(failed.err.find("/nonexistent-dir/b.pdf konnte nicht geschrieben werden: der Ordner "
                              "existiert nicht"),
              std::string::npos)
        << failed.err;
    EXPECT_FALSE(slurp(dir + "/svg2/verlauf.svg").empty());

    const Result version = runBatchExe("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tesmo-gegen-batch 1.", 0), 0u) << version.out;
}

TEST(BatchRunner, ProgressGoesToStderrOnly) {
    const Result quiet = runBatchExe("txt_Dicke=4");
    const Result loud = runBatchExe("txt_Dicke=4 --progress");
    EXPECT_EQ(quiet.err, "");
    EXPECT_NE(loud.err.find("des Wassers entfernt"), std::string::npos);
    EXPECT_EQ(loud.out, quiet.out);
}

}  // namespace tesmo
