#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "model/drying_run.h"
#include "tests/model/run_fixture.h"

// Every allocation of this test program passes through here; the count runs only while a
// test asks for it.
namespace {
bool gZaehlen = false;
long gAllokationen = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (gZaehlen) ++gAllokationen;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// The library's temporary buffers (std::stable_sort) take memory without exceptions; it is
// given back through the operator delete below, so it must come from malloc as well.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (gZaehlen) ++gAllokationen;
    return std::malloc(size ? size : 1);
}
// Not inlined, so that the compiler does not pair a new-expression with free() itself.
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace tesmo {
namespace {

using namespace test;

struct FullRun {
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    ProbePort port;
    std::vector<int> zustandBeiErsterKurve;
    RunEnd end = RunEnd::None;
};

// The default run once, for all tests that look at it.
const FullRun& defaultRun() {
    static const std::unique_ptr<FullRun> run = [] {
        auto r = std::make_unique<FullRun>();
        r->port.onCall = [&r = *r](const PortCall& c) {
            if (c == drawing(ChartDrawing::ProfileCurveFirst)) {
                r.zustandBeiErsterKurve.push_back(r.st->Zustand1);
            }
        };
        r->end = Trocknungslauf(*r->st, defaultInputTexts(), r->port);
        return r;
    }();
    return *run;
}

TEST(Trocknungslauf, DefaultRunKeepsItsKeyResults) {
    const FullRun& run = defaultRun();
    const RunState& st = *run.st;
    // With the target 0 the front reaches the mid-plane first.
    EXPECT_EQ(run.end, RunEnd::Midplane);
    EXPECT_EQ(st.Laufende, RunEnd::Midplane);
    EXPECT_EQ(run.port.polls, 44350);
    EXPECT_EQ(st.Laufzeit, 22175);
    EXPECT_EQ(st.t1TA, 7700);
    EXPECT_EQ(st.t1xse, 6476);
    EXPECT_EQ(st.t2xse, 8457.5);
    EXPECT_EQ(st.HistIndex, 44348);  // neither the first period's last step nor the final one
    EXPECT_EQ(st.mGlaett, 770);
    EXPECT_NEAR(st.X1TA, 0.13172351805219, 1e-13);
    EXPECT_NEAR(st.XEnde, 8.444262916362e-06, 1e-16);
    EXPECT_NEAR(st.XmomBilanz, 0.0044830589952892, 1e-15);
    EXPECT_NEAR(st.Wasserfehler, 1.7898458929491, 1e-11);
    EXPECT_NEAR(st.RateMax, 1.7535416607562, 1e-11);
    EXPECT_NEAR(st.spezEnergie, 3616.6349484576, 1e-8);
    EXPECT_NEAR(st.Anfangsrate, 0.36755942258696, 1e-13);
    EXPECT_NEAR(st.SchwindGradMax, 6.4146880855582, 1e-11);
}

TEST(Trocknungslauf, DefaultRunCallsTheWindowAtItsMoments) {
    const FullRun& run = defaultRun();
    const RecordingPort& p = run.port;
    const int laeuft = run.st->Laeuft, beendet = run.st->Beendet;
    // Twelve black curves, then the red one of the step whose surface turned negative.
    std::vector<int> expected(12, laeuft);
    expected.push_back(beendet);
    EXPECT_EQ(run.zustandBeiErsterKurve, expected);
    EXPECT_EQ(p.count(PortCall::Draw, int(ChartDrawing::ProfileAxes)), 2);
    EXPECT_EQ(p.count(PortCall::Group, int(DisplayGroup::StartRate)), 1);
    EXPECT_EQ(p.count(PortCall::Group, int(DisplayGroup::Transition)), 1);
    EXPECT_EQ(p.count(PortCall::Group, int(DisplayGroup::SurfaceShrinkEnd)), 1);
    EXPECT_EQ(p.count(PortCall::Group, int(DisplayGroup::CoreShrinkEnd)), 1);
    // (44350 − 15400) second-period steps, one curve every 1200: 24 curves.
    EXPECT_EQ(p.count(PortCall::Draw, int(ChartDrawing::ProfileCurveSecond)), 24);
    EXPECT_EQ(p.count(PortCall::Draw, int(ChartDrawing::TimeHistory)), 1);
    EXPECT_EQ(p.calls.back(), group(DisplayGroup::EndWaterError));
    // The end of the second period is shown before the evaluation starts.
    auto it = std::find(p.calls.begin(), p.calls.end(), group(DisplayGroup::EndWaterLoads));
    ASSERT_NE(it, p.calls.end());
    EXPECT_EQ(*(it - 1), group(DisplayGroup::SecondRefresh));
}

TEST(Trocknungslauf, StopAtAPollEndsTheRunAtOnceWithoutEvaluation) {
    for (long stopAt : {1000L, 15401L}) {  // in the first period; first poll of the second
        auto st = std::make_unique<RunState>();
        st->StopFlag = 1;    // left over from an earlier run: Start clears it
        st->nIterKern = 77;  // never reset by Start
        ProbePort port;
        int iterBeimStart = 0;
        port.onPoll = [&] {
            if (port.polls == 1) iterBeimStart = st->nIterKern;
            if (port.polls == stopAt) st->StopFlag = 1;
        };
        EXPECT_EQ(Trocknungslauf(*st, defaultInputTexts(), port), RunEnd::Stopped);
        EXPECT_EQ(iterBeimStart, 77);
        EXPECT_EQ(port.polls, stopAt);
        EXPECT_EQ(st->Laufzeit, 0.5 * double(stopAt - 1));  // the step that saw it did nothing
        EXPECT_EQ(port.count(PortCall::Draw, int(ChartDrawing::TimeHistory)), 0);
        EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::EndEnergy)), 0);
        EXPECT_EQ(st->XEnde, 0);
    }
}

TEST(Trocknungslauf, RunNeedingMoreRecordsThanTheHistoriesHoldEndsCleanly) {
    InputTexts texts = textsWith(Control::txt_Ortsschrittweite, "1,0");  // 10 intervals
    texts[Control::txt_deltaT] = "0,02";
    auto st = std::make_unique<RunState>();
    ProbePort port;
    EXPECT_EQ(Trocknungslauf(*st, texts, port), RunEnd::HistoryFull);
    EXPECT_EQ(st->HistIndex, kMaxHistoryIndex);
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::EndWaterLoads)), 0);
    EXPECT_EQ(port.count(PortCall::Draw, int(ChartDrawing::TimeHistory)), 0);
    EXPECT_EQ(port.calls.back(), group(DisplayGroup::SecondRefresh));  // what was reached
    const char* meldung = laufendeMeldung(RunEnd::HistoryFull);
    ASSERT_NE(meldung, nullptr);
    EXPECT_NE(std::strstr(meldung, "500 000"), nullptr);
    EXPECT_NE(std::strstr(meldung, "größere Zeitschrittweite"), nullptr);
}

TEST(Trocknungslauf, ARunThatLeavesPhysicsEndsAsUnstableWithoutEvaluation) {
    struct Fall {
        const char* name;
        std::vector<std::pair<Control, const char*>> texte;
    };
    const Fall faelle[] = {
        // The air advance overshoots: the air would fall far below absolute zero.
        {"Luft",
         {{Control::txt_Dicke, "66"},
          {Control::txt_Ortsschrittweite, "0,25"},
          {Control::txt_deltaT, "25,08"},
          {Control::txt_Lufttemp, "74,608"},
          {Control::txt_AbluftFeuchte, "65,41"},
          {Control::txt_AussenluftTemp, "63,175"},
          {Control::txt_AussenluftFeuchte, "37,88"},
          {Control::txt_Feuchteleit, "2,603"},
          {Control::txt_lambda, "522,9"},
          {Control::txt_mue, "561,6"},
          {Control::txt_Waermeuebergang, "765,1"},
          {Control::txt_rund, "691"}}},
        // A target just below the initial water load: the plate would take up water.
        {"Wasser", {{Control::txt_XZiel, "0,2499"}}},
        // A long time step on a fine grid: the air advance takes more water out of the air
        // than it holds, and the air would end with a negative water load.
        {"Luftwasser", {{Control::txt_Ortsschrittweite, "0,05"}, {Control::txt_deltaT, "5"}}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        InputTexts texts = defaultInputTexts();
        for (const auto& [feld, text] : f.texte)
            texts[feld] = text;
        auto st = std::make_unique<RunState>();
        ProbePort port;
        EXPECT_EQ(Trocknungslauf(*st, texts, port), RunEnd::Unstable);
        EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::EndWaterLoads)), 0);
        EXPECT_EQ(port.count(PortCall::Draw, int(ChartDrawing::TimeHistory)), 0);
        // The guard fired at the first step that left physics: no record holds such a step.
        EXPECT_TRUE(st->thetaLuftMom < -273.15 || st->XAbluft < 0 || st->Xmom > st->XAnf);
        if (std::string(f.name) != "Luftwasser") {
            EXPECT_LT(st->HistIndex, 1000);  // it went wrong at once
        }
        for (int j = 0; j <= st->HistIndex; ++j) {
            ASSERT_GE(st->VerlaufThetaLuft[j], -273.15) << j;
            ASSERT_LE(st->VerlaufXmom[j], st->XAnf * (1 + 1e-6)) << j;
        }
    }
    const char* meldung = laufendeMeldung(RunEnd::Unstable);
    ASSERT_NE(meldung, nullptr);
    EXPECT_NE(std::strstr(meldung, "instabil"), nullptr);
    EXPECT_NE(std::strstr(meldung, "kleinere Zeitschrittweite"), nullptr);
}

TEST(Trocknungslauf, OnlyTheGuardedEndsHaveAMessage) {
    EXPECT_EQ(laufendeMeldung(RunEnd::None), nullptr);
    EXPECT_EQ(laufendeMeldung(RunEnd::Target), nullptr);
    EXPECT_EQ(laufendeMeldung(RunEnd::Midplane), nullptr);
    EXPECT_EQ(laufendeMeldung(RunEnd::Stopped), nullptr);
    ASSERT_NE(laufendeMeldung(RunEnd::NonFinite), nullptr);
    EXPECT_NE(std::strstr(laufendeMeldung(RunEnd::NonFinite), "keine endliche Zahl"), nullptr);
}

TEST(Trocknungslauf, AllocatesNothingWhileItRuns) {
    auto st = std::make_unique<RunState>();
    const InputTexts texts = defaultInputTexts();
    NullPort port;
    gAllokationen = 0;
    gZaehlen = true;
    const RunEnd end = Trocknungslauf(*st, texts, port);
    gZaehlen = false;
    EXPECT_EQ(end, RunEnd::Midplane);
    EXPECT_EQ(gAllokationen, 0);
    // The same results without a window: the model keeps its own state right.
    EXPECT_EQ(st->HistIndex, defaultRun().st->HistIndex);
    EXPECT_EQ(st->Wasserfehler, defaultRun().st->Wasserfehler);
}

}  // namespace
}  // namespace tesmo
