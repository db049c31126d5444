// What runs in the runner's modules (the exports, the uncertainty studies, the fit) under
// signals: it stops with the runner's exit statuses, and a second signal in the middle of a
// module's write leaves no temporary file, as it does in the runner itself.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/batch/batch_exe.h"

namespace tesmo {

using namespace test;

namespace {

const std::string kExamples = std::string(TESMO_SOURCE_DIR) + "/examples/anpassung/";

// An uncertainty study of thin plates on a coarse grid: each case takes a few milliseconds.
std::string uncertaintyStudy(const std::string& name, int samples) {
    const std::string path = testFile(name);
    spit(path,
         "format = tesmo-gegen-uq 1\ntxt_Dicke = 4\ntxt_Ortsschrittweite = 0,25\n"
         "txt_deltaT = 2,0\nuncertain txt_Feuchteleit = lognormal 40 ; 8\nsamples = " +
             std::to_string(samples) + "\nseed = 3\nresults = Laufzeit\n");
    return path;
}

// A fit of one value to one measured series: some twenty model runs, a tenth of a second.
std::string quickFit(const std::string& name) {
    const std::string path = testFile(name);
    spit(path, "format = tesmo-gegen-fit 1\nseries = " + kExamples + "versuch3.csv ; " + kExamples +
                   "versuch3.tgcase\nfit txt_mue = 20 ; 2 : 200\nstarts = 1\n");
    return path;
}

// The names in a folder (empty if it does not exist).
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    return names;
}

// Shell text that waits until `file` has `count` lines (at most half a minute).
std::string waitForLines(const std::string& file, int count) {
    return "for i in $(seq 600); do [ \"$(cat '" + file + "' 2>/dev/null | wc -l)\" -ge " +
           std::to_string(count) + " ] && break; sleep 0.05; done; ";
}

}  // namespace

TEST(Modules, CtrlCAndSigtermStopAnUncertaintyStudyAndAFit) {
    const std::string study = uncertaintyStudy("lang.tguq", 20000);
    const std::string table = testFile("tabelle.csv"), report = testFile("bericht.md");
    for (const auto& [signal, status] : {std::pair{"INT", 130}, std::pair{"TERM", 143}}) {
        SCOPED_TRACE(signal);
        std::remove(table.c_str());
        const ExeResult r = runBatchExe(
            "--uq '" + study + "' --jobs 2 --table '" + table + "' --uq-report '" + report + "'",
            " & " + waitForLines(table, 4) + "kill -" + signal + " $!; wait $!");
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("Die Studie wurde abgebrochen."), std::string::npos) << r.err;
        const auto rows = lines(slurp(table));
        ASSERT_GE(rows.size(), 4u);
        EXPECT_LT(rows.size(), 20001u);
        EXPECT_EQ(slurp(table).back(), '\n');
        // An interrupted study has no statistics.
        EXPECT_FALSE(std::filesystem::exists(report));
    }
    // The fit: once its first iteration is reported.
    const std::string err = testFile("stderr");
    const ExeResult fit =
        runBatchExe("--fit '" + kExamples + "anpassung.tgfit' --progress --jobs 2",
                    " & for i in $(seq 600); do grep -q Iteration '" + err +
                        "' 2>/dev/null && break; sleep 0.05; done; kill -TERM $!; wait $!");
    EXPECT_EQ(fit.status, 143) << fit.err;
    EXPECT_NE(fit.err.find("Die Anpassung wurde abgebrochen."), std::string::npos) << fit.err;
    EXPECT_TRUE(fit.out.empty());
}

TEST(Modules, ASecondSignalDuringAModulesWriteLeavesNoTemporaryFile) {
    // Each module writes its first file through the atomic writer; the preloaded library sends
    // Ctrl-C twice just before that file's temporary copy would be renamed over it.
    const std::string folder = testFile("ziel");
    const std::string study = uncertaintyStudy("klein.tguq", 12);
    const std::string fit = quickFit("schnell.tgfit");
    const std::pair<const char*, std::string> writes[] = {
        {"exports", "txt_Dicke=4 --svg '" + folder + "'"},
        {"uncertainty", "--uq '" + study + "' --uq-report '" + folder + "/bericht.md'"},
        {"fit", "--fit '" + fit + "' --fit-table '" + folder + "/vergleich.csv'"},
    };
    const std::string preload =
        "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}"
        "verify_asan_link_order=0\" TESMO_SIGNAL_ON_SYNC=" +
        std::to_string(SIGINT) + " LD_PRELOAD='" TESMO_SIGNAL_ON_SYNC "'";
    for (const auto& [module, args] : writes) {
        SCOPED_TRACE(module);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const ExeResult r = runBatchExe(args, "", preload);
        EXPECT_EQ(r.status, 128 + SIGINT) << r.err;
        EXPECT_EQ(namesIn(folder), std::vector<std::string>{});
        // Without the signals the same write is done.
        EXPECT_EQ(runBatchExe(args).status, 0);
        EXPECT_FALSE(namesIn(folder).empty());
    }
}

}  // namespace tesmo
