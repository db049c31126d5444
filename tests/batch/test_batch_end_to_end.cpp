// Runs the built tesmo-gegen-batch as a user would.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <sys/wait.h>
#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "model/inputs.h"
#include "tests/batch/batch_exe.h"
#include "tests/child_process.h"

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
        EXPECT_NE(r.err.find("Aufruf:"), std::string::npos) << args;
    }
    const Result help = runBatchExe("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"--human", "--csv", "--progress", "--report", "--svg", "--png",
                             "profil.svg", "verlauf.png", "--version", "txt_KappaSteig", "64"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

TEST(BatchRunner, TheAirBalanceOfTheCommandLineOrTheCaseFileReachesTheRun) {
    const Result standard = runBatchExe("");
    const Result korrigiert = runBatchExe("--luftbilanz korrigiert");
    ASSERT_EQ(korrigiert.status, 0) << korrigiert.err;
    EXPECT_TRUE(hasLine(standard.out, "txt_Zeit\t 6:09:35")) << standard.out;
    EXPECT_TRUE(hasLine(korrigiert.out, "txt_Zeit\t 6:08:21")) << korrigiert.out;
    EXPECT_TRUE(hasLine(korrigiert.out, "txt_spezEnergie\t3650,5")) << korrigiert.out;
    // The mode saved with a case comes back with it; the command line overrides it.
    const std::string fall = testFile("korrigiert.tgcase");
    ASSERT_EQ(runBatchExe("--luftbilanz korrigiert --save-case '" + fall + "'").status, 0);
    EXPECT_EQ(runBatchExe("--case '" + fall + "'").out, korrigiert.out);
    EXPECT_EQ(runBatchExe("--case '" + fall + "' --luftbilanz standard").out, standard.out);
}

TEST(BatchRunner, CsvHasTheInputsTheArrayNamesAndFullPrecisionRecords) {
    const std::string csv = testing::TempDir() + "tesmo_batch_histories.csv";
    const Result r = runBatchExe("txt_Dicke=4 txt_rund=100 --csv '" + csv + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(csv);
    std::string header, first, line;
    std::vector<std::string> comments;
    while (std::getline(in, header) && header.rfind("# ", 0) == 0)
        comments.push_back(header);
    ASSERT_EQ(comments.size(), static_cast<std::size_t>(kInputCount));
    EXPECT_EQ(comments.front(), "# txt_Dicke = 4");
    EXPECT_EQ(comments[static_cast<std::size_t>(index(Control::txt_rund))], "# txt_rund = 100");
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
    EXPECT_EQ(lines, kInputCount + 1 + 500001);
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

// Ctrl-C, and SIGHUP when the terminal closes, stop the run as the Stop button does; its
// histories are still written whole, and no temporary file is left.
TEST(BatchRunner, AnInterruptActsLikeStop) {
    const std::filesystem::path folder = testFile("unterbrochen");
    std::filesystem::create_directories(folder);
    for (const char* signal : {"INT", "HUP"}) {
        const std::string csv = (folder / (std::string(signal) + ".csv")).string();
        const Result r = runBatchExe("txt_deltaT=0,05 --csv '" + csv + "'",
                                     std::string(" & sleep 0.5; kill -") + signal + " $!; wait $!");
        EXPECT_EQ(r.status, 3) << signal << ": " << r.err;
        EXPECT_TRUE(hasLine(r.out, "end\tstopped")) << r.out;
        EXPECT_NE(r.err.find("abgebrochen"), std::string::npos) << r.err;
        // Whole: the input lines, the header, and rows up to the stop.
        const std::string written = slurp(csv);
        EXPECT_EQ(written.rfind("# txt_Dicke = ", 0), 0u) << signal;
        EXPECT_NE(written.find("\nVerlaufXmom,"), std::string::npos) << signal;
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"HUP.csv", "INT.csv"}));
}

// What is not an ordinary file: read from, it is refused at once (exit 2), where it would
// otherwise block the runner for ever; written to, it is refused and left as it is (exit 74).
// A device can only be made by root; the full device shows a write's real reason.
TEST(BatchRunner, NamedPipesAndDevicesAreNeitherReadNorReplaced) {
    const std::filesystem::path folder = testFile("knoten");
    std::filesystem::remove_all(folder);
    for (const char* sub : {"svg", "png"})
        std::filesystem::create_directories(folder / sub);
    const std::string pipe = (folder / "pipe").string();
    ASSERT_TRUE(makeFifo(pipe));
    std::vector<std::string> nodes = {pipe};
    for (const char* chart : {"svg/profil.svg", "png/profil.png"}) {
        nodes.push_back((folder / chart).string());
        ASSERT_TRUE(makeFifo(nodes.back()));
    }
    const std::string device = (folder / "nul").string();
    const bool root = makeNullDevice(device);
    if (root) nodes.push_back(device);

    const std::string why = "keine gewöhnliche Datei, sondern eine benannte Pipe (FIFO)";
    for (const char* option : {"--case", "--study", "--cases"}) {
        const std::string args = std::string(option) + " '" + pipe + "'" +
                                 (option == std::string("--case") ? "" : " --jobs 1");
        const Result r = runBatchExe(args, "", "timeout 20");
        EXPECT_EQ(r.status, 2) << args << "\n" << r.err;
        EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
    }
    std::vector<std::string> outputs = {
        "--csv '" + pipe + "'", "--report '" + pipe + "'", "--save-case '" + pipe + "'",
        "--svg '" + (folder / "svg").string() + "'", "--png '" + (folder / "png").string() + "'"};
    if (root) outputs.push_back("--report '" + device + "'");
    for (const std::string& output : outputs) {
        const Result r = runBatchExe("txt_Dicke=4 " + output, "", "timeout 60");
        EXPECT_EQ(r.status, 74) << output << "\n" << r.err;
        EXPECT_NE(r.err.find("keine gewöhnliche Datei"), std::string::npos) << r.err;
    }
    for (const std::string& node : nodes) {
        struct stat info {};
        ASSERT_EQ(::stat(node.c_str(), &info), 0) << node;
        EXPECT_FALSE(S_ISREG(info.st_mode)) << node << " was replaced";
    }
    if (root) {
        const std::string full = (folder / "voll").string();
        ASSERT_EQ(::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
        const Result r = runBatchExe("txt_Dicke=4 --vary \"txt_mue=10;20\" --table '" + full + "'");
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find(full + " konnte nicht geschrieben werden: kein Platz mehr auf dem "
                                    "Datenträger"),
                  std::string::npos)
            << r.err;
    }
}

TEST(BatchRunner, ExportsAreWrittenWithoutADisplayAndLeaveTheOutputAsItIs) {
    const std::string dir = testFile("exports");
    const Result plain = runBatchExe("txt_Dicke=4");
    Result exported;
    {
        // No display at all: the runner chooses the offscreen platform itself.
        const WithoutVariable noDisplay("DISPLAY"), noPlatform("QT_QPA_PLATFORM");
        exported = runBatchExe("txt_Dicke=4 --report '" + dir + "-bericht.pdf' --svg '" + dir +
                               "/svg' --png='" + dir + "/png' --plot '" + dir + "/diagramme'");
    }
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, plain.out);
    EXPECT_EQ(exported.err, "");
    EXPECT_EQ(slurp(dir + "-bericht.pdf").rfind("%PDF-", 0), 0u);
    for (const char* file : {"/svg/profil.svg", "/svg/verlauf.svg"})
        EXPECT_EQ(slurp(dir + file).rfind("<?xml", 0), 0u) << file;
    for (const char* file : {"/png/profil.png", "/png/verlauf.png"})
        EXPECT_EQ(slurp(dir + file).substr(1, 3), "PNG") << file;
    // --plot: every numeric diagram as SVG and as PNG.
    for (const char* stem :
         {"wasserbeladung", "temperaturen", "verdunstungsrate", "trocknungsspiegel", "schwindung",
          "bigot", "profile", "hx-diagramm"}) {
        const std::string svg = slurp(dir + "/diagramme/" + stem + ".svg");
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u) << stem;
        EXPECT_EQ(svg.find("keine darstellbaren Werte"), std::string::npos) << stem;
        EXPECT_EQ(slurp(dir + "/diagramme/" + stem + ".png").substr(1, 3), "PNG") << stem;
    }

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

TEST(BatchRunner, OnlyWhatNeedsThemLoadsTheToolkitOpenTurnsOrCeres) {
    // The dynamic loader names every library it loads on stderr (LD_DEBUG=libs). Qt, OpenTURNS
    // and Ceres (with glog) each cost more memory than a default run touches: only the exports,
    // an uncertainty study and a fit load them, each only its own.
    const std::string dir = testFile("qt");
    const std::string examples = std::string(TESMO_SOURCE_DIR) + "/examples/anpassung/";
    const std::string fit = testFile("schnell.tgfit"), study = testFile("klein.tguq");
    spit(fit, "format = tesmo-gegen-fit 1\nseries = " + examples + "versuch3.csv ; " + examples +
                  "versuch3.tgcase\nfit txt_mue = 20 ; 2 : 200\nstarts = 1\n");
    spit(study,
         "format = tesmo-gegen-uq 1\ntxt_Dicke = 4\ntxt_Ortsschrittweite = 0,25\ntxt_deltaT = "
         "2,0\nuncertain txt_Feuchteleit = lognormal 40 ; 8\nsamples = 12\nseed = 3\nresults = "
         "Laufzeit\n");
    struct Loaded {
        bool qt, openTurns, ceres, glog;
        bool operator==(const Loaded&) const = default;
    };
    const auto loaded = [](const std::string& args, int status) {
        const Result r = runBatchExe(args, "", "LD_DEBUG=libs");
        EXPECT_EQ(r.status, status) << args;
        const auto has = [&r](const char* library) {
            return r.err.find(library) != std::string::npos;
        };
        return Loaded{has("libQt6Gui"), has("libOT.so"), has("libceres"), has("libglog")};
    };
    const Loaded none{false, false, false, false};
    EXPECT_EQ(loaded("txt_Dicke=4", 0), none);
    EXPECT_EQ(loaded("txt_Dicke=4 --vary 'txt_mue=20;30' --jobs 2", 0), none);
    EXPECT_EQ(loaded("--save-case '" + testFile("fall.tgcase") + "'", 0), none);
    EXPECT_EQ(loaded("--version", 0), none);
    EXPECT_EQ(loaded("--help", 0), none);
    EXPECT_EQ(loaded("--nonsense", 64), none);
    EXPECT_EQ(loaded("txt_Dicke=4 --svg '" + dir + "'", 0), (Loaded{true, false, false, false}));
    // Both still work end to end from their modules (OpenTURNS brings glog along itself).
    const Loaded uq =
        loaded("--uq '" + study + "' --uq-report '" + testFile("bericht.md") + "'", 0);
    EXPECT_TRUE(uq.openTurns && !uq.qt && !uq.ceres);
    EXPECT_NE(slurp(testFile("bericht.md")).find("Laufzeit"), std::string::npos);
    EXPECT_EQ(loaded("--fit '" + fit + "'", 0), (Loaded{false, false, true, true}));

    // A runner without its modules still runs and studies; what needs a module says which one
    // is missing and where it was looked for.
    const std::string alone = testFile("allein");
    std::filesystem::remove_all(alone);
    ASSERT_EQ(std::system(("mkdir -p '" + alone + "' && cp '" TESMO_BATCH_EXE "' '" + alone +
                           "/tesmo-gegen-batch'")
                              .c_str()),
              0);
    const auto runAlone = [&](const std::string& args) {
        const std::string out = alone + "/out", err = alone + "/err";
        const int raw = std::system(
            ("'" + alone + "/tesmo-gegen-batch' " + args + " >'" + out + "' 2>'" + err + "'")
                .c_str());
        return std::make_pair(WEXITSTATUS(raw), slurp(err));
    };
    EXPECT_EQ(runAlone("txt_Dicke=4").first, 0);
    EXPECT_EQ(runAlone("txt_Dicke=4 --vary 'txt_mue=20;30'").first, 0);
    for (const auto& [args, message] : {
             std::pair{"txt_Dicke=4 --svg '" + dir + "2'",
                       std::string("die Exporte (--report, --svg, --png) lassen sich nicht laden: "
                                   "tesmo-gegen-exports.so fehlt (weder in ")},
             std::pair{"--uq '" + study + "'",
                       std::string("die Unsicherheitsstudien (--uq) lassen sich nicht laden: "
                                   "tesmo-gegen-uq.so fehlt (weder in ")},
             std::pair{"--fit '" + fit + "'",
                       std::string("die Anpassung (--fit) lässt sich nicht laden: "
                                   "tesmo-gegen-fit.so fehlt (weder in ")},
         }) {
        const auto [status, err] = runAlone(args);
        EXPECT_EQ(status, 74) << args;
        EXPECT_EQ(err.rfind("tesmo-gegen-batch: " + message + alone + " noch in ", 0), 0u) << err;
    }
    // A module that is there but does not load: the system's reason.
    spit(alone + "/tesmo-gegen-fit.so", "kein Modul\n");
    const auto [status, err] = runAlone("--fit '" + fit + "'");
    EXPECT_EQ(status, 74);
    EXPECT_NE(err.find("die Anpassung (--fit) lässt sich nicht laden: " + alone +
                       "/tesmo-gegen-fit.so: "),
              std::string::npos)
        << err;
}

TEST(BatchRunner, ProgressGoesToStderrOnly) {
    const Result quiet = runBatchExe("txt_Dicke=4");
    const Result loud = runBatchExe("txt_Dicke=4 --progress");
    EXPECT_EQ(quiet.err, "");
    EXPECT_NE(loud.err.find("des Wassers entfernt"), std::string::npos);
    EXPECT_EQ(loud.out, quiet.out);
}

}  // namespace tesmo
