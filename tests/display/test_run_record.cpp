#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "display/clipboard_text.h"
#include "display/headless_window.h"
#include "display/run_control.h"
#include "display/run_record.h"
#include "display/run_shelf.h"
#include "model/moist_air.h"

namespace tesmo {

namespace {

// A thin plate: a whole run in a fraction of a second.
struct ThinRun {
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    HeadlessWindow window{*st};
    RunCapture capture;
    InputTexts texts = defaultInputTexts();

    explicit ThinRun(const char* rund = "1200") {
        texts[Control::txt_Dicke] = "4";
        texts[Control::txt_rund] = rund;
        window.setInputTexts(texts);
        window.setCapture(&capture);
        RunControl control(window);
        control.cmd_Start_Click();
    }
};

InputTexts with(Control field, const char* text) {
    InputTexts t = defaultInputTexts();
    t[field] = text;
    return t;
}

}  // namespace

TEST(ProfileStore, KeepsAtMostItsBudgetSpreadOverTheRunWithThePeriodEndAndTheLatest) {
    auto st = std::make_unique<RunState>();
    st->nOrt = 3;
    ProfileStore store;
    const int drawn = 1000;
    for (int k = 1; k <= drawn; ++k) {
        st->Laufzeit = k;
        st->XKnoten[0] = k;
        st->Zustand1 = k == 300 ? st->Beendet : st->Laeuft;
        store.add(*st, k > 300);
    }
    ASSERT_LE(store.count(), ProfileStore::kCapacity + 2);
    ASSERT_GE(store.count(), ProfileStore::kCapacity / 2);
    EXPECT_EQ(store.drawn(), static_cast<std::size_t>(drawn));
    EXPECT_EQ(store.at(0).time, 1);                      // the first drawn stays
    EXPECT_EQ(store.at(store.count() - 1).time, drawn);  // and the latest
    int periodEnds = 0;
    double widestGap = 0;
    for (std::size_t i = 0; i < store.count(); ++i) {
        const StoredProfile& p = store.at(i);
        EXPECT_EQ(p.nodes, 4);
        EXPECT_EQ(p.X[0], p.time);  // each profile belongs to its time
        if (p.periodEnd) {
            ++periodEnds;
            EXPECT_EQ(p.time, 300);
            EXPECT_FALSE(p.secondPeriod);
        }
        if (i > 0) {
            EXPECT_GT(p.time, store.at(i - 1).time);  // in time order, each once
            widestGap = std::max(widestGap, p.time - store.at(i - 1).time);
        }
    }
    EXPECT_EQ(periodEnds, 1);
    // Evenly spread: no gap wider than twice the share of one kept profile.
    EXPECT_LE(widestGap, 2.0 * drawn / (ProfileStore::kCapacity / 2));
}

TEST(RunRecord, TimesProfilesAndTheAirOfARunAsTheRunLeftThem) {
    ThinRun run("50");
    const RunState& st = *run.st;
    ASSERT_EQ(st.Laufende, RunEnd::Midplane);
    const RunRecord r = recordOfRun(st, &run.capture, run.texts);
    ASSERT_EQ(r.records(), static_cast<std::size_t>(st.HistIndex + 1));
    // The times the run stored its records at; worked out from the time step they are the same
    // (a step of 0.5 s is exact in binary).
    const std::vector<double> fromSteps = recordTimesFromSteps(st.deltaT, r.histories[kXOb]);
    for (std::size_t j = 0; j < r.records(); ++j)
        ASSERT_EQ(r.time[j], fromSteps[j]) << j;
    EXPECT_EQ(r.time.back() + st.deltaT, st.Laufzeit);
    EXPECT_GT(r.t1TA, 0);
    // The plate starts at XAnf everywhere, also where the model stores no start record.
    EXPECT_EQ(r.histories[kXOb][0], st.XAnf);
    EXPECT_EQ(r.histories[kXK][0], st.XAnf);
    // Many curves were drawn; the record keeps a bounded, spread set with the period's end.
    EXPECT_GT(run.capture.profiles().drawn(), 2 * ProfileStore::kCapacity);
    EXPECT_LE(r.profiles.size(), ProfileStore::kCapacity + 2);
    EXPECT_EQ(std::count_if(r.profiles.begin(), r.profiles.end(),
                            [](const StoredProfile& p) { return p.periodEnd; }),
              1);
    EXPECT_NEAR(r.profiles.front().time, 50 * st.deltaT, 1e-9);
    // The air enters at the exhaust state and leaves as the supply air.
    EXPECT_EQ(r.airX[0], r.XAbluft);
    // 70 % to within the wet-bulb search's 1e-7 kg/kg on the water load.
    EXPECT_NEAR(relFeuchte(r.XAbluft, r.thetaAbluft), 0.70, 1e-5);
    EXPECT_EQ(r.thetaZuluft, st.thetaLuftMom);
    EXPECT_EQ(r.XZuluft, st.XAbluft);
}

TEST(RunRecord, ShrinkageStopsAtTheLinearDryingShrinkageBelowXSchwEnde) {
    ThinRun run;
    const RunState& st = *run.st;
    const RunRecord r = recordOfRun(st, &run.capture, run.texts);
    ASSERT_DOUBLE_EQ(st.linTrSchwind, 6.2);
    int crossed = 0;
    for (int j = 1; j <= st.HistIndex && st.VerlaufXOb[j] != 0; ++j) {
        // By hand: linear in the water removed down to XSchwEnde, 6.2 % from there on.
        const double X = st.VerlaufXOb[j];
        const double linear = 6.2 * (st.XAnf - X) / (st.XAnf - st.XSchwEnde);
        const double expected = X < st.XSchwEnde ? 6.2 : linear;
        EXPECT_NEAR(r.histories[kSchwindOb][static_cast<std::size_t>(j)], expected, 1e-12) << j;
        if (X < st.XSchwEnde) {
            ++crossed;
            EXPECT_GT(st.VerlaufSchwindOb[j], 6.2);  // the record itself grows on
        }
    }
    EXPECT_GT(crossed, 10);
    for (double v : r.histories[kSchwindK])
        EXPECT_LE(v, 6.2);
}

TEST(RunRecord, AHistoryTableGivesTimesFromItsTimeStepAndAFileWithoutInputsNone) {
    ThinRun run;
    const RunState& st = *run.st;
    HistoryTable table;
    table.hasInputs = true;
    table.inputs = run.texts;
    for (std::size_t c = 0; c < kHistoryColumns.size(); ++c)
        for (int j = 0; j <= st.HistIndex; ++j)
            table.columns[c].push_back((st.*kHistoryColumns[c].array)[static_cast<std::size_t>(j)]);
    const RunRecord fromFile = recordOfTable(table, "verlauf.csv");
    const RunRecord fromRun = recordOfRun(st, &run.capture, run.texts);
    EXPECT_EQ(fromFile.source, "verlauf.csv");
    EXPECT_EQ(fromFile.time, fromRun.time);
    EXPECT_EQ(fromFile.t1TA, fromRun.t1TA);
    EXPECT_EQ(fromFile.histories, fromRun.histories);  // capped on reading, as when written
    EXPECT_DOUBLE_EQ(fromFile.XSchwEnde, st.XSchwEnde);
    EXPECT_TRUE(fromFile.airX.empty());
    EXPECT_TRUE(fromFile.profiles.empty());

    table.hasInputs = false;
    const RunRecord old = recordOfTable(table, "alt.csv");
    EXPECT_FALSE(old.timeKnown());
    EXPECT_EQ(old.XAnf, st.XAnf);
    EXPECT_TRUE(std::isnan(old.linTrSchwind));
}

TEST(RunShelf, LabelsRunsByTheInputsThatDifferFromTheFirstAndKeepsTheLastEight) {
    RunShelf shelf;
    const auto record = [](InputTexts texts, bool hasInputs = true, std::string source = "") {
        RunRecord r;
        r.inputs = std::move(texts);
        r.hasInputs = hasInputs;
        r.source = std::move(source);
        return r;
    };
    InputTexts two = with(Control::txt_Lufttemp, "40");
    two[Control::txt_Dicke] = "15,0";
    shelf.add(record(defaultInputTexts()));
    shelf.add(record(two));
    shelf.add(record(with(Control::txt_Dicke, "20")));  // 20 = 20,0: the same input
    shelf.add(record(defaultInputTexts(), false, "alt.csv"));
    shelf.add(record(with(Control::txt_Feuchteleit, "35"), true, "v.csv"));
    const auto& e = shelf.entries();
    EXPECT_EQ(shelf.label(e[0]), "Lauf 1");
    EXPECT_EQ(shelf.label(e[1]), "Lauf 2: Dicke 15,0 mm, Ablufttemperatur 40 °C");
    EXPECT_EQ(shelf.label(e[2]), "Lauf 3: gleiche Eingaben");
    EXPECT_EQ(shelf.label(e[3]), "Lauf 4: alt.csv, ohne Eingaben");
    EXPECT_EQ(shelf.label(e[4]), "Lauf 5: v.csv, Feuchteleitfähigkeit 35·10⁻⁹ m²/s");

    // The first kept run goes: the next one becomes the reference.
    EXPECT_TRUE(shelf.remove(1));
    EXPECT_EQ(shelf.label(shelf.entries()[0]), "Lauf 2");
    EXPECT_EQ(shelf.label(shelf.entries()[1]), "Lauf 3: Dicke 20 mm, Ablufttemperatur 35 °C");
    EXPECT_FALSE(shelf.remove(1));

    // A run in another mode with the same texts is told apart by its mode.
    InputTexts chamber = defaultInputTexts();
    chamber.optionen.klima = Klima::Konstant;
    EXPECT_EQ(differingInputs(two, chamber),
              "Dicke 20,0 mm, Ablufttemperatur 35 °C, Klima konstant");

    shelf.setShown(3, false);
    EXPECT_EQ(shelf.shownEntries().size(), 3u);
    for (int i = 0; i < 10; ++i)
        shelf.add(record(defaultInputTexts()));
    ASSERT_EQ(shelf.entries().size(), RunShelf::kMaxRuns);
    EXPECT_EQ(shelf.entries().front().number, 8);  // the oldest gave way
    EXPECT_EQ(shelf.entries().back().number, 15);
    shelf.clear();
    EXPECT_TRUE(shelf.entries().empty());
}

TEST(ClipboardText, ResultFieldsWithCaptionsAndUnitsOverTheirTextsTabSeparated) {
    EXPECT_EQ(tabSeparated({{" a\tb ", "c\nd"}, {"1,5", ""}}), "a b\tc d\n1,5\t\n");
    ThinRun run;
    const std::string text = resultFieldsText(run.window);
    const std::size_t lineEnd = text.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    const std::string header = text.substr(0, lineEnd), values = text.substr(lineEnd + 1);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\t'),
              std::count(values.begin(), values.end(), '\t'));
    EXPECT_NE(header.find("laufende Zeit in hh : mm : ss\t"), std::string::npos);
    EXPECT_NE(header.find("relativer Wasserfehler in %"), std::string::npos);
    // Texts as the window shows them: decimal commas, times without their leading blank.
    EXPECT_EQ(values.rfind(run.window.text(Control::txt_XSchwEnde) + "\t", 0), 0u) << values;
    EXPECT_NE(values.find('\t' + std::string(run.window.text(Control::txt_Zeit)).substr(1) + '\t'),
              std::string::npos);
    EXPECT_EQ(values.find('.'), std::string::npos);
}

}  // namespace tesmo
