// Studies through the built tesmo-gegen-batch, as a user runs them from a shell.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/batch/batch_exe.h"

namespace tesmo {

using namespace test;
using Result = ExeResult;

namespace {

// Cells of a table line that has no quoted cell with a comma.
std::size_t cellCount(const std::string& line) {
    std::size_t n = 1;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) ++n;
    }
    return n;
}

// Thin plates: each case takes a few milliseconds.
const std::string kFast = "txt_Dicke=4 ";

}  // namespace

TEST(StudyCommand, AProductOfVariationsGivesOneRowPerCaseInOrder) {
    const Result r =
        runBatchExe(kFast + "--vary txt_Lufttemp=30:50:10 --vary \"txt_XAnf=0,2;0,25\" --jobs 2");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 6u);
    EXPECT_EQ(rows[0].rfind("case,txt_Dicke,txt_rhos,", 0), 0u);
    EXPECT_NE(rows[0].find(",end,message,LuftRohlingVerh,"), std::string::npos);
    const std::string last = ",HistIndex,lbl_Achtung,lbl_ungenau";
    EXPECT_EQ(rows[0].substr(rows[0].size() - last.size()), last);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].rfind(std::to_string(i) + ",4,1850,", 0), 0u) << rows[i];
        EXPECT_EQ(cellCount(rows[i]), cellCount(rows[0])) << rows[i];
    }
    // The last variation varies fastest; the texts became the numbers the model used, written
    // as typed.
    EXPECT_NE(rows[1].find(",0.2,"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find(",0.25,"), std::string::npos) << rows[2];
    EXPECT_EQ(r.err, "");  // no progress when stderr is not a terminal
}

TEST(StudyCommand, ShardTablesJoinedAndSortedEqualTheWholeTable) {
    const std::string study = kFast + "--vary txt_Lufttemp=30:50:5 --vary \"txt_mue=10;20\"";
    const Result whole = runBatchExe(study + " --jobs 1");
    ASSERT_EQ(whole.status, 0) << whole.err;
    std::vector<std::string> joined;
    std::string header;
    for (int k = 1; k <= 3; ++k) {
        const std::string table = testFile("shard" + std::to_string(k) + ".csv");
        const Result part =
            runBatchExe(study + " --shard " + std::to_string(k) + "/3 --table " + table);
        ASSERT_EQ(part.status, 0) << part.err;
        EXPECT_EQ(part.out, "");
        auto rows = lines(slurp(table));
        ASSERT_FALSE(rows.empty());
        header = rows[0];
        joined.insert(joined.end(), rows.begin() + 1, rows.end());
    }
    std::sort(joined.begin(), joined.end(), [](const std::string& a, const std::string& b) {
        return std::stoul(a) < std::stoul(b);
    });
    std::string text = header + "\n";
    for (const std::string& row : joined)
        text += row + "\n";
    EXPECT_EQ(text, whole.out);
}

TEST(StudyCommand, CaseTablesInBothSpreadsheetDialectsAndRefusedCases) {
    const std::string semicolon = testFile("cases_semicolon.csv");
    const std::string comma = testFile("cases_comma.csv");
    spit(semicolon, "\xEF\xBB\xBFtxt_Lufttemp;txt_XAnf\r\n45;0,22\r\n;0,28\r\n50;\r\n");
    spit(comma, "txt_Lufttemp,txt_XAnf\n45,\"0,22\"\n,\"0,28\"\n50,\n");
    const Result a = runBatchExe(kFast + "--cases " + semicolon);
    const Result b = runBatchExe(kFast + "--cases " + comma);
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    const auto rows = lines(a.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_NE(rows[2].find(",35,"), std::string::npos) << rows[2];  // the base exhaust air

    // A refused case does not stop the study; its row says why, and the exit status is 3.
    spit(semicolon, "txt_Ortsschrittweite\n0,1\n0\n0,2\n");
    const Result refused = runBatchExe(kFast + "--cases " + semicolon);
    EXPECT_EQ(refused.status, 3) << refused.err;
    const auto r = lines(refused.out);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_NE(r[2].find(",refused,"), std::string::npos) << r[2];
    EXPECT_NE(r[2].find("Ortsschrittweite in mm"), std::string::npos) << r[2];
    EXPECT_NE(r[3].find(",midplane,"), std::string::npos) << r[3];
}

TEST(StudyCommand, MalformedStudiesExit2AndWrongCombinationsAreUsageErrors) {
    const std::string missing = testFile("missing.csv");
    for (const std::string& args :
         {std::string("--vary txt_Lufttemp=30:70:0"), std::string("--vary txt_Zeit=1:2:1"),
          std::string("--vary txt_Lufttemp=1:2:1 --vary \"txt_Lufttemp=3;4\""),
          "--cases " + missing, std::string("--vary txt_mue=20 --shard 4/3"),
          std::string("--vary txt_rund=50:200000:1")}) {
        const Result r = runBatchExe(args);
        EXPECT_EQ(r.status, 2) << args << "\n" << r.err;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err, "") << args;
    }
    EXPECT_NE(runBatchExe("--vary txt_rund=50:200000:1").err.find("--yes"), std::string::npos);
    for (const char* args : {"--vary txt_mue=20 --csv x.csv", "--vary txt_mue=20 --human",
                             "--jobs 2", "--table t.csv", "--cases a.csv --vary txt_mue=20",
                             "--vary txt_mue=20 --jobs 0", "--vary txt_mue=20 --save-case x.tgcase",
                             "--vary txt_mue=20 --study a.tgstudy --study b.tgstudy"}) {
        const Result r = runBatchExe(args);
        EXPECT_EQ(r.status, 64) << args << "\n" << r.err;
    }
    const std::string twice =
        "--vary txt_mue=20 --table " + testFile("a.csv") + " --table " + testFile("b.csv");
    EXPECT_EQ(runBatchExe(twice).status, 64);
    // A text for an input the study varies would change no case.
    const std::string study = testFile("mue.tgstudy");
    spit(study, "format = tesmo-gegen-study 1\nvary txt_mue = 10;20\n");
    for (const std::string& args : {std::string("txt_mue=30 --vary txt_mue=10:20:10"),
                                    "--study '" + study + "' txt_mue=30"}) {
        const Result r = runBatchExe(args);
        EXPECT_EQ(r.status, 64) << args << "\n" << r.err;
        EXPECT_NE(r.err.find("txt_mue=30 hätte keine Wirkung: txt_mue wird variiert"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.out, "");
    }
    // Shards at the limits of a count: the first of as many shards as a count holds runs the
    // first case; one number more is too large.
    const Result widest =
        runBatchExe(kFast + "--vary \"txt_mue=10;20\" --shard 1/18446744073709551615");
    EXPECT_EQ(widest.status, 0) << widest.err;
    ASSERT_EQ(lines(widest.out).size(), 2u);
    EXPECT_EQ(lines(widest.out)[1].rfind("1,4,", 0), 0u);
    const Result beyond = runBatchExe("--vary txt_mue=20 --shard 1/18446744073709551616");
    EXPECT_EQ(beyond.status, 2);
    EXPECT_NE(beyond.err.find("18446744073709551616 ist zu groß"), std::string::npos) << beyond.err;
    // With --yes the large study is allowed; a shard of it runs a few cases.
    const Result yes = runBatchExe(kFast + "--vary txt_rund=50:200000:1 --yes --shard 1/66000");
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_EQ(lines(yes.out).size(), 1u + 4u);
}

TEST(StudyCommand, AnInterruptKeepsEveryWrittenRowWhole) {
    const std::string table = testFile("interrupted.csv");
    for (const auto& [signal, status] :
         {std::pair{"INT", 130}, std::pair{"TERM", 143}, std::pair{"HUP", 129}}) {
        // The signal comes once a few rows are there, in the middle of a long study.
        const std::string waitForRows = "for i in $(seq 600); do [ \"$(wc -l < '" + table +
                                        "' 2>/dev/null || echo 0)\" -ge 4 ] && break; sleep 0.05; "
                                        "done; ";
        std::remove(table.c_str());
        const Result r = runBatchExe(kFast + "--vary txt_mue=10:8000:1 --jobs 2 --table " + table,
                                     " & " + waitForRows + "kill -" + signal + " $!; wait $!");
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("Die Studie wurde abgebrochen."), std::string::npos) << signal;
        const auto rows = lines(slurp(table));
        ASSERT_GE(rows.size(), 4u);
        EXPECT_LT(rows.size(), 7992u);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_EQ(cellCount(rows[i]), cellCount(rows[0])) << rows[i];
            EXPECT_EQ(rows[i].rfind(std::to_string(i) + ",", 0), 0u) << rows[i];
        }
        EXPECT_EQ(slurp(table).back(), '\n');
    }
}

TEST(StudyCommand, ProgressShowsCasesDoneAndTimeLeft) {
    const Result r = runBatchExe(kFast + "--vary txt_mue=10:20:5 --progress");
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("3 von 3 Fällen"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("noch etwa"), std::string::npos) << r.err;
}

TEST(StudyCommand, MoreJobsThanCoresRunOnEveryCoreAndSaySoOnce) {
    const Result r = runBatchExe(kFast + "--vary \"txt_mue=20;30;40\" --jobs 4096");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out).size(), 1u + 3u);
    const std::string said = "--jobs 4096: der Rechner hat ";
    const std::size_t at = r.err.find(said);
    ASSERT_NE(at, std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(said, at + 1), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" gleichzeitig\n", at), std::string::npos) << r.err;
    // As many as there are cores, or fewer: no word.
    EXPECT_EQ(runBatchExe(kFast + "--vary \"txt_mue=20;30\" --jobs 1").err, "");
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST(StudyCommand, AStudyThatRunsOutOfAddressSpaceStopsWithAMessageAndWholeRows) {
    // From plenty down to too little for the program to load: every limit either lets the
    // study finish or stops it with the German reason, exit 74 and whole rows before it; none
    // aborts. Somewhere in between the first or the second run state (40 MB of address space
    // each) or the second thread's stack is refused.
    const std::string table = testFile("ulimit.csv"), err = testFile("ulimit.err");
    int refused = 0;
    for (int megabytes = 400; megabytes >= 40; megabytes -= 15) {
        SCOPED_TRACE(megabytes);
        const std::string command =
            "ulimit -v " + std::to_string(megabytes * 1024) + "; '" + TESMO_BATCH_EXE + "' " +
            kFast + "--vary \"txt_mue=20;30;40;50\" --jobs 2 >'" + table + "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw)) << "ended by a signal: " << slurp(err);
        const int status = WEXITSTATUS(raw);
        const std::vector<std::string> rows = lines(slurp(table));
        if (status == 0) {
            EXPECT_EQ(rows.size(), 1u + 4u);
        } else if (status == 74) {
            ++refused;
            EXPECT_NE(slurp(err).find("Die Studie wurde abgebrochen: "), std::string::npos)
                << slurp(err);
            ASSERT_GE(rows.size(), 1u);
            for (const std::string& row : rows)
                EXPECT_EQ(cellCount(row), cellCount(rows[0])) << row;
        } else {
            // Not even the program's libraries fit: the loader says so before anything runs.
            EXPECT_EQ(status, 127) << slurp(err);
        }
    }
    EXPECT_GT(refused, 0);

    // Below the 44 MB of a run state's histories the program still starts and answers; a single
    // run says that the memory is not enough.
    for (const auto& [args, status] : {std::pair{"--version", 0}, std::pair{"txt_Dicke=4", 74}}) {
        const int raw = std::system(("ulimit -v 30720; '" TESMO_BATCH_EXE "' " + std::string(args) +
                                     " >'" + table + "' 2>'" + err + "'")
                                        .c_str());
        ASSERT_TRUE(WIFEXITED(raw)) << args << " ended by a signal";
        EXPECT_EQ(WEXITSTATUS(raw), status) << args << ": " << slurp(err);
    }
    EXPECT_EQ(slurp(err),
              "tesmo-gegen-batch: Die Rechnung kann nicht beginnen: Der Arbeitsspeicher reicht "
              "nicht.\n");
}
#endif

TEST(CaseFiles, SavedTextsRunAsTheArgumentsAndReadBackUnchanged) {
    const std::string file = testFile("fall.tgcase");
    const std::string args = "txt_Dicke=4 txt_XAnf=0,28 \"txt_mue= 25 \"";
    ASSERT_EQ(runBatchExe(args + " --save-case " + file).status, 0);
    const std::string saved = slurp(file);
    EXPECT_EQ(saved.find("format = tesmo-gegen-case 1") != std::string::npos, true) << saved;
    const Result direct = runBatchExe(args);
    const Result fromFile = runBatchExe("--case " + file);
    ASSERT_EQ(direct.status, 0) << direct.err;
    EXPECT_EQ(fromFile.out, direct.out);
    // Saved again from the file, the file is the same byte for byte.
    const std::string again = testFile("wieder.tgcase");
    ASSERT_EQ(runBatchExe("--case " + file + " --save-case " + again).status, 0);
    EXPECT_EQ(slurp(again), saved);
    // NAME=TEXT overrides the file.
    EXPECT_NE(runBatchExe("--case " + file + " txt_XAnf=0,25").out, fromFile.out);
    // --save-case runs nothing: a run's outputs with it are a usage error, and nothing is saved.
    const std::string unsaved = testFile("ungespeichert.tgcase");
    std::remove(unsaved.c_str());
    const Result mixed = runBatchExe("--save-case " + unsaved + " --report " + testFile("r.pdf") +
                                     " --csv " + testFile("h.csv") + " --svg " + testFile("d"));
    EXPECT_EQ(mixed.status, 64) << mixed.err;
    EXPECT_NE(mixed.err.find("--save-case rechnet nichts"), std::string::npos) << mixed.err;
    EXPECT_FALSE(std::filesystem::exists(unsaved));

    spit(file, "format = tesmo-gegen-case 1\ntxt_Dike = 20\n");
    const Result bad = runBatchExe("--case " + file);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("Zeile 2"), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("txt_Dike"), std::string::npos) << bad.err;
}

TEST(CaseFiles, AStudyFileRunsItsVariationsOnItsBase) {
    const std::string file = testFile("studie.tgstudy");
    spit(file,
         "# Lufttemperatur und Dicke\nformat = tesmo-gegen-study 1\ntxt_Dicke = 4\n"
         "vary txt_Lufttemp = 40:50:10\nvary txt_mue = 10;20\n");
    const Result fromFile = runBatchExe("--study " + file);
    const Result direct =
        runBatchExe("txt_Dicke=4 --vary txt_Lufttemp=40:50:10 --vary \"txt_mue=10;20\"");
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(fromFile.out, direct.out);
    spit(file, "format = tesmo-gegen-study 1\nvary txt_Lufttemp = 40:50:0\n");
    const Result bad = runBatchExe("--study " + file);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("Zeile 2"), std::string::npos) << bad.err;
}

}  // namespace tesmo

namespace tesmo {

using namespace test;

TEST(StudyCommand, TheGermanTableSplitsAtSemicolonsWithDecimalCommasAndJoinsLikeThePlainOne) {
    const std::string study = "txt_Dicke=4 --vary txt_Lufttemp=40:50:5 --vary \"txt_mue=10;20\"";
    const ExeResult plain = runBatchExe(study + " --jobs 1");
    const ExeResult german = runBatchExe(study + " --table-format de --jobs 1");
    ASSERT_EQ(german.status, 0) << german.err;
    ASSERT_EQ(german.out.rfind("\xEF\xBB\xBF"
                               "case;txt_Dicke;",
                               0),
              0u);
    // Cell by cell the same table: ';' for ',' and ',' for '.' (no message needs quotes here).
    std::string expected = "\xEF\xBB\xBF";
    for (char c : plain.out)
        expected += c == ',' ? ';' : c == '.' ? ',' : c;
    EXPECT_EQ(german.out, expected);

    // Shards joined under the header of the first: the whole table, byte for byte.
    std::string joined;
    std::vector<std::string> rows;
    for (int k = 1; k <= 2; ++k) {
        const std::string table = testFile("de" + std::to_string(k) + ".csv");
        ASSERT_EQ(runBatchExe(study + " --table-format=de --shard " + std::to_string(k) +
                              "/2 --table " + table)
                      .status,
                  0);
        auto part = lines(slurp(table));
        if (k == 1) joined = part[0] + "\n";
        rows.insert(rows.end(), part.begin() + 1, part.end());
    }
    std::sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
        return std::stoul(a) < std::stoul(b);
    });
    for (const std::string& row : rows)
        joined += row + "\n";
    EXPECT_EQ(joined, german.out);

    // The runner reads its own result tables, in either format, as the cases they hold.
    const std::string table = testFile("ergebnis.csv");
    for (const ExeResult* t : {&plain, &german}) {
        spit(table, t->out);
        const ExeResult again = runBatchExe("txt_Dicke=4 --cases " + table + " --jobs 1");
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(again.out, plain.out);
    }
    EXPECT_EQ(runBatchExe("--table-format en --vary txt_mue=10:20:10").status, 64);
    EXPECT_EQ(runBatchExe("--table-format de").status, 64);  // nothing to write a table to
}

}  // namespace tesmo
