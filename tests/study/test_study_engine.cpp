#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "display/run_control.h"
#include "study/case_runner.h"
#include "study/study_engine.h"
#include "tests/study/refusing_system.h"
#include "tests/test_files.h"

namespace tesmo {

namespace {

InputTexts with(std::initializer_list<std::pair<Control, const char*>> changes) {
    InputTexts t = defaultInputTexts();
    t[Control::txt_Dicke] = "4";  // a thin plate: a run of a few milliseconds
    for (const auto& [field, text] : changes)
        t[field] = text;
    return t;
}

// The run as a freshly started runner does it: a new (zeroed) state, a new window, Start.
struct FreshRun {
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<HeadlessWindow> window;
    CaseOutcome outcome;
    explicit FreshRun(const InputTexts& texts) {
        window = std::make_unique<HeadlessWindow>(*st);
        window->setInputTexts(texts);
        RunControl control(*window);
        control.cmd_Start_Click();
        outcome = outcomeOf(1, texts, *window, control.inputRefused());
    }
};

std::vector<std::string> rowsOf(const CaseList& cases, unsigned jobs) {
    std::vector<std::string> rows;
    StudyCallbacks callbacks;
    callbacks.sink = [&rows](const CaseOutcome& o) {
        rows.push_back(tableRow(o));
        return true;
    };
    std::atomic<bool> cancel{false};
    EXPECT_EQ(runStudy(cases, {0, 1, cases.size()}, jobs, callbacks, cancel), cases.size());
    return rows;
}

using test::RefusingSystem;

// The numbers of the cases handed on, and how the study ended.
struct Ended {
    std::vector<std::size_t> numbers;
    std::string failure;  // what() of the StudyFailure, "" when none was thrown
    StudyFailure::Cause cause{};
    bool cancelRaised = false;
};

Ended runThrough(const CaseList& cases, unsigned jobs,
                 const std::function<bool(const CaseOutcome&)>& extraSink = {}) {
    Ended e;
    StudyCallbacks callbacks;
    callbacks.sink = [&](const CaseOutcome& o) {
        if (extraSink && !extraSink(o)) return false;
        e.numbers.push_back(o.number);
        return true;
    };
    std::atomic<bool> cancel{false};
    try {
        runStudy(cases, {0, 1, cases.size()}, jobs, callbacks, cancel);
    } catch (const StudyFailure& f) {
        e.failure = f.what();
        e.cause = f.cause();
    }
    e.cancelRaised = cancel.load();
    return e;
}

// Cases 1, 2, … k without a gap: what a study hands on is always a prefix in case order.
bool isPrefix(const std::vector<std::size_t>& numbers) {
    for (std::size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] != i + 1) return false;
    return true;
}

}  // namespace

TEST(StudyEngine, NeverStartsMoreThreadsThanTheMachineHasCores) {
    const CaseList cases(with({}), {{Control::txt_mue, std::vector<std::string>(8, "20")}});
    unsigned started = 0;
    RefusingSystem counting({[&](unsigned) { ++started; }, {}});
    EXPECT_EQ(runThrough(cases, 4096).numbers.size(), 8u);
    EXPECT_EQ(started + 1, std::min(defaultJobs(), 8u));  // the calling thread is a worker too
}

TEST(StudyEngine, ASystemThatRefusesAThreadOrMemoryStopsTheStudyCleanly) {
    const CaseList cases(with({}), {{Control::txt_mue, std::vector<std::string>(12, "20")}});
    if (defaultJobs() >= 2) {  // on one core a study starts no further thread
        SCOPED_TRACE("no further thread");
        RefusingSystem refusing(
            {[](unsigned) { throw std::system_error(EAGAIN, std::generic_category()); }, {}});
        const Ended e = runThrough(cases, 2);
        EXPECT_EQ(e.cause, StudyFailure::Cause::Thread);
        EXPECT_NE(e.failure.find("Die Studie wurde abgebrochen: Das System hat keinen weiteren "
                                 "Thread"),
                  std::string::npos)
            << e.failure;
        EXPECT_TRUE(e.cancelRaised);
        EXPECT_TRUE(isPrefix(e.numbers));
    }
    {
        SCOPED_TRACE("no memory for the second worker's run state");
        std::atomic<int> allocations{0};
        RefusingSystem refusing({{}, [&] {
                                     if (allocations.fetch_add(1) == 1) throw std::bad_alloc();
                                 }});
        const Ended e = runThrough(cases, 2);
        if (defaultJobs() >= 2) {
            EXPECT_EQ(e.cause, StudyFailure::Cause::Memory);
            EXPECT_NE(e.failure.find("Arbeitsspeicher reicht nicht"), std::string::npos);
            EXPECT_TRUE(isPrefix(e.numbers));
            EXPECT_LT(e.numbers.size(), 12u);
        }
    }
    {
        SCOPED_TRACE("memory runs out in the sink after the third case");
        const Ended e = runThrough(cases, 2, [](const CaseOutcome& o) {
            if (o.number == 4) throw std::bad_alloc();
            return true;
        });
        EXPECT_EQ(e.cause, StudyFailure::Cause::Memory);
        EXPECT_EQ(e.numbers, (std::vector<std::size_t>{1, 2, 3}));
        EXPECT_TRUE(e.cancelRaised);
    }
}

TEST(CaseRunner, ACaseRunsAsOnAFreshProgramWhateverRanBefore) {
    // The first case ends with a long front-temperature search (nIterKern, which Start never
    // resets, stays high) and a far longer history; neither may reach the second case.
    const InputTexts first = with({{Control::txt_Dicke, "30"}, {Control::txt_mue, "200"}});
    const InputTexts second = with({{Control::txt_Lufttemp, "60"}});
    CaseRunner runner;
    runner.run(1, first);
    ASSERT_GT(runner.state().HistIndex, 1000);
    const CaseOutcome repeated = runner.run(1, second);
    const FreshRun fresh(second);

    EXPECT_EQ(tableRow(repeated), tableRow(fresh.outcome));
    const RunState& a = runner.state();
    const RunState& b = *fresh.st;
    ASSERT_EQ(a.HistIndex, b.HistIndex);
    for (const HistoryColumn& h : kHistoryColumns)
        for (int j = 0; j <= a.HistIndex; ++j)
            ASSERT_EQ((a.*h.array)[j], (b.*h.array)[j]) << h.name << " " << j;
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        EXPECT_EQ(runner.window().text(c), fresh.window->text(c)) << controlName(c);
        EXPECT_EQ(runner.window().isVisible(c), fresh.window->isVisible(c)) << controlName(c);
    }
    EXPECT_EQ(a.nIterKern, b.nIterKern);
}

TEST(CaseRunner, KeepsTheLaufzeitOfEveryHistoryRecord) {
    // One record per stored time step; the step in which the surface dries out stores none, nor
    // does the last step.
    CaseRunner runner;
    RunCapture capture;
    ASSERT_TRUE(finished(runner.run(1, with({}), nullptr, &capture)));
    const RunState& st = runner.state();
    const HistoryArray& t = capture.recordTimes();
    ASSERT_GT(st.t1TA, 0);
    EXPECT_EQ(t[0], 0);
    int skipped = 0;
    for (int j = 1; j <= st.HistIndex; ++j) {
        if (t[j - 1] < st.t1TA && t[j] > st.t1TA) {
            ++skipped;
            EXPECT_EQ(t[j - 1] + st.deltaT, st.t1TA);  // the step that was not stored
            EXPECT_EQ(t[j - 1] + st.deltaT + st.deltaT, t[j]);
        } else {
            ASSERT_EQ(t[j - 1] + st.deltaT, t[j]) << j;
        }
    }
    EXPECT_EQ(skipped, 1);
    EXPECT_EQ(t[st.HistIndex] + st.deltaT, st.Laufzeit);
}

TEST(StudyEngine, RowsComeInCaseOrderWhateverOrderTheyFinishIn) {
    // The second case is far slower than the others, so with two workers the cases after it
    // finish first.
    const CaseList cases(with({}), {{Control::txt_Dicke, {"4", "24", "4", "5", "4", "6"}}});
    const std::vector<std::string> one = rowsOf(cases, 1);
    const std::vector<std::string> two = rowsOf(cases, 2);
    ASSERT_EQ(one.size(), 6u);
    EXPECT_EQ(two, one);
    for (std::size_t i = 0; i < one.size(); ++i)
        EXPECT_EQ(one[i].rfind(std::to_string(i + 1) + ",", 0), 0u) << one[i];
}

TEST(StudyEngine, ACancelledStudyHandsOnNoFurtherCase) {
    const CaseList cases(with({}), {{Control::txt_mue, std::vector<std::string>(20, "20")}});
    std::atomic<bool> cancel{false};
    std::vector<std::size_t> numbers;
    StudyCallbacks callbacks;
    callbacks.sink = [&](const CaseOutcome& o) {
        numbers.push_back(o.number);
        if (numbers.size() == 3) cancel.store(true);
        return true;
    };
    const std::size_t handed = runStudy(cases, {0, 1, cases.size()}, 2, callbacks, cancel);
    EXPECT_EQ(handed, 3u);
    EXPECT_EQ(numbers, (std::vector<std::size_t>{1, 2, 3}));

    // A sink that cannot write stops the study as well.
    std::atomic<bool> ok{false};
    callbacks.sink = [](const CaseOutcome&) { return false; };
    EXPECT_EQ(runStudy(cases, {0, 1, cases.size()}, 2, callbacks, ok), 0u);
    EXPECT_TRUE(ok.load());
}

TEST(StudyEngine, AnInspectionSeesEachCasesStateAndKeptWorkersRunAsFreshOnes) {
    // A thick plate among thin ones, so that two workers inspect at the same time.
    const CaseList cases(with({}), {{Control::txt_Dicke, {"4", "12", "5", "4"}}});
    struct Seen {
        double laufzeit = 0, lastRecordTime = 0;
        int histIndex = -1;
    };
    const auto study = [&](StudyWorkers* workers) {
        std::vector<Seen> seen(cases.size());
        std::vector<std::string> rows;
        StudyCallbacks callbacks;
        callbacks.sink = [&](const CaseOutcome& o) {
            rows.push_back(tableRow(o));
            return true;
        };
        callbacks.inspect = [&](std::size_t i, const CaseOutcome& o, const RunState& st,
                                const HistoryArray& times) {
            EXPECT_EQ(o.number, i + 1);
            seen[i] = {st.Laufzeit, times[static_cast<std::size_t>(st.HistIndex)], st.HistIndex};
        };
        std::atomic<bool> cancel{false};
        runStudy(cases, {0, 1, cases.size()}, 2, callbacks, cancel, workers);
        return std::make_pair(seen, rows);
    };
    const auto fresh = study(nullptr);
    StudyWorkers kept;
    study(&kept);
    const auto again = study(&kept);  // the workers' states hold the last study's runs
    EXPECT_EQ(again.second, fresh.second);
    EXPECT_EQ(fresh.second, rowsOf(cases, 1));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const FreshRun single(cases.texts(i));
        EXPECT_EQ(fresh.first[i].laufzeit, single.st->Laufzeit) << i;
        EXPECT_EQ(fresh.first[i].histIndex, single.st->HistIndex) << i;
        EXPECT_EQ(again.first[i].histIndex, single.st->HistIndex) << i;
        // The last record was stored one step before the end.
        EXPECT_EQ(fresh.first[i].lastRecordTime + single.st->deltaT, single.st->Laufzeit) << i;
    }
}

TEST(ResultTable, RefusedAndCutShortCasesLeaveWhatTheyDidNotReachEmpty) {
    CaseRunner runner;
    const std::string header = tableHeader();
    const auto cells = [](const std::string& line) { return test::csvCells(line); };
    const std::vector<std::string> names = cells(header);
    ASSERT_EQ(names.size(), 1 + 17 + 2 + kResultCount);
    const auto column = [&](const std::string& name) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return i;
        ADD_FAILURE() << name;
        return std::size_t{0};
    };

    // Refused: the inputs it read, "refused", the German reasons, no results.
    const auto refused = cells(tableRow(
        runner.run(7, with({{Control::txt_Ortsschrittweite, "0"}, {Control::txt_mue, "x"}}))));
    EXPECT_EQ(refused[0], "7");
    EXPECT_EQ(refused[column("txt_Ortsschrittweite")], "0");
    EXPECT_EQ(refused[column("txt_mue")], "");  // no number in the text
    EXPECT_EQ(refused[column("end")], "refused");
    EXPECT_NE(refused[column("message")].find("ist nicht möglich"), std::string::npos);
    for (std::size_t c = column("LuftRohlingVerh"); c < names.size(); ++c)
        EXPECT_EQ(refused[c], "") << names[c];

    // Unstable: set-up values and the time reached, no evaluation.
    const auto unstable = cells(tableRow(
        runner.run(8, with({{Control::txt_Dicke, "20"}, {Control::txt_XZiel, "0,2499"}}))));
    EXPECT_EQ(unstable[column("end")], "unstable");
    EXPECT_NE(unstable[column("message")].find("instabil"), std::string::npos);
    EXPECT_NE(unstable[column("LuftRohlingVerh")], "");
    EXPECT_NE(unstable[column("Laufzeit")], "");
    EXPECT_EQ(unstable[column("t1TA")], "");  // the first period never ended
    EXPECT_EQ(unstable[column("spezEnergie")], "");
    EXPECT_EQ(unstable[column("Wasserfehler")], "");

    // Finished: everything, times in seconds, flags as 0 or 1, full precision.
    const auto done = cells(tableRow(runner.run(9, with({}))));
    EXPECT_EQ(done[column("end")], "midplane");
    EXPECT_EQ(done[column("message")], "");
    EXPECT_EQ(done[column("txt_Dicke")], "4");
    // The inputs as typed; every number in the shortest form that gives back every bit.
    EXPECT_EQ(done[column("txt_Ortsschrittweite")], "0.1");
    EXPECT_EQ(std::stod(done[column("Laufzeit")]), runner.state().Laufzeit);
    EXPECT_EQ(std::stod(done[column("Wasserfehler")]), runner.state().Wasserfehler);
    EXPECT_EQ(done[column("lbl_Achtung")], "0");
    EXPECT_EQ(done[column("HistIndex")], std::to_string(runner.state().HistIndex));
    for (std::size_t c = column("LuftRohlingVerh"); c < names.size(); ++c)
        EXPECT_NE(done[c], "") << names[c];

    // A climate-chamber run has no air or energy demand: empty, not 0; the water balance is
    // there. The runner's study and a single case take the mode with the texts.
    InputTexts chamber = with({});
    chamber.optionen.klima = Klima::Konstant;
    const auto konstant = cells(tableRow(runner.run(10, chamber)));
    EXPECT_EQ(konstant[column("end")], "midplane");
    for (const char* empty : {"LuftRohlingVerh", "LuftWasserVerh", "spezEnergie", "relEnergie"})
        EXPECT_EQ(konstant[column(empty)], "") << empty;
    EXPECT_NE(konstant[column("Wasserfehler")], "");
    EXPECT_NE(konstant[column("Laufzeit")], done[column("Laufzeit")]);
    EXPECT_EQ(runner.state().thetaLuftMom, 35);
}

}  // namespace tesmo

namespace tesmo {

TEST(ResultTable, EveryColumnReadsBackToItsDoubleFromTheShortestTextInBothFormats) {
    CaseRunner runner;
    const CaseOutcome o = runner.run(3, with({{Control::txt_XZiel, "0,05"}}));
    ASSERT_TRUE(finished(o));
    for (TableFormat format : {TableFormat::Csv, TableFormat::German}) {
        const char sep = tableSeparator(format);
        const std::string row = tableRow(o, format);
        std::vector<std::string> cells;
        std::string cell;
        for (char c : row.substr(0, row.size() - 1)) {
            if (c == sep) {
                cells.push_back(cell);
                cell.clear();
            } else {
                cell += c;
            }
        }
        cells.push_back(cell);
        ASSERT_EQ(cells.size(), 1 + kInputCount + 2 + kResultCount);
        const auto check = [&](const std::string& text, double value, const char* what) {
            double back = 0;
            ASSERT_TRUE(readTableNumber(text, back)) << what << ": " << text;
            EXPECT_EQ(back, value) << what << ": " << text;
            // Shortest: with one significant digit less the double does not come back.
            std::string mantissa = text.substr(0, text.find('e'));
            if (mantissa.find_first_of(".,") == std::string::npos)  // whole: 1850 has 3 digits
                mantissa.erase(mantissa.find_last_not_of('0') + 1);
            const std::size_t first = mantissa.find_first_not_of("-0.,");
            if (first == std::string::npos) return;  // zero
            int digits = 0;
            for (std::size_t k = first; k < mantissa.size(); ++k)
                digits += std::isdigit(static_cast<unsigned char>(mantissa[k])) != 0;
            if (digits < 2) return;
            char fewer[40];
            std::snprintf(fewer, sizeof fewer, "%.*e", digits - 2, value);
            EXPECT_NE(std::strtod(fewer, nullptr), value) << what << ": " << text;
        };
        for (std::size_t i = 0; i < kInputCount; ++i)
            check(cells[1 + i], o.inputs[i], controlName(controlAt(static_cast<int>(i))));
        for (std::size_t c = 0; c < kResultCount; ++c)
            check(cells[1 + kInputCount + 2 + c], o.results[c], resultColumns()[c].name);
        // Inputs appear as they were typed.
        EXPECT_EQ(cells[1 + static_cast<std::size_t>(index(Control::txt_XZiel))],
                  format == TableFormat::Csv ? "0.05" : "0,05");
        EXPECT_EQ(cells[1 + static_cast<std::size_t>(index(Control::txt_Ortsschrittweite))],
                  format == TableFormat::Csv ? "0.1" : "0,1");
    }
    EXPECT_EQ(tableHeader(TableFormat::German)
                  .rfind("\xEF\xBB\xBF"
                         "case;txt_Dicke;",
                         0),
              0u);
}

}  // namespace tesmo
