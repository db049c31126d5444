#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/run_control.h"
#include "model/inputs.h"
#include "tests/display/fake_window.h"

namespace tesmo {

using test::FakeWindow;
using Trace = std::vector<std::string>;

namespace {

struct Rig {
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    FakeWindow window{*st};
    RunControl control{window};
    Rig() { window.openWith(defaultInputTexts()); }
};

const std::string kStartPreparation =
    "focus txt_parkfocus; hide cmd_Start; show cmd_Stop; show cmd_Pause; show lbl_Zeit; "
    "show lbl_Waermestromdichte; show lbl_Wasserdampf; show lbl_thetaOb; show lbl_Kerntemp; "
    "show lbl_Xmom; show lbl_KapGeschw; show lbl_DampfGeschw; show lbl_SchwindEnde; "
    "show lbl_offPoren; show lbl_LuftRohlingVerh; show lbl_LuftWasserVerh; "
    "show lbl_momLuftTemp; show lbl_momPhiLuft; show lbl_SchwindDiff; show lbl_SchwindGradient; "
    "show txt_Zeit; show txt_qrand; show txt_Wasserdampf; show txt_thetaOb; show txt_thetaK; "
    "show txt_xmom; show txt_KapGeschw; show txt_Dampfgeschw; text txt_Dampfgeschw=-; "
    "show txt_XSchwEnde; show txt_offPoren; show txt_LuftRohlingVerh; "
    "show txt_LuftWasserVerh; show txt_momLuftTemp; show txt_momPhiLuft; "
    "show txt_schwinddiff; show txt_schwindgrad";

}  // namespace

TEST(RunControl, PauseWaitsForEventsUntilWeiterAndSwapsTheButtons) {
    Rig r;
    int waits = 0;
    r.window.onWaitForEvents = [&] {
        if (++waits == 3) r.control.cmd_Weiter_Click();
    };
    r.control.cmd_Pause_Click();
    EXPECT_EQ(r.window.joined(),
              "hide cmd_Pause; hide cmd_Stop; show cmd_Weiter; wait; wait; wait; "
              "hide cmd_Weiter; show cmd_Pause; show cmd_Stop");
    EXPECT_EQ(r.st->PauseFlag, 0);
}

TEST(RunControl, ClosingTheWindowReleasesAPauseAndStopsTheRun) {
    Rig r;
    r.window.onWaitForEvents = [&] {
        EXPECT_EQ(r.st->PauseFlag, 1);
        r.control.requestQuit();
    };
    r.control.cmd_Pause_Click();
    EXPECT_EQ(r.window.waited, 1);
    EXPECT_EQ(r.st->StopFlag, 1);
    EXPECT_EQ(r.st->PauseFlag, 0);
    EXPECT_TRUE(r.control.quitRequested());
    r.window.trace.clear();
    r.control.cmd_Start_Click();  // a closing window starts no run
    EXPECT_TRUE(r.window.trace.empty());
}

TEST(RunControl, StopOnlyHidesItsButtonsAndRaisesTheFlag) {
    Rig r;
    r.control.cmd_Stop_Click();
    EXPECT_EQ(r.window.joined(), "hide cmd_Pause; hide cmd_Stop");
    EXPECT_EQ(r.st->StopFlag, 1);
}

TEST(RunControl, NeustartHidesEveryOutputInItsOrderAndClearsBothCharts) {
    Rig r;
    r.window.setText(Control::txt_Dicke, "12,5");
    r.st->Laufzeit = 1234;
    r.window.trace.clear();
    r.control.cmd_Neustart_Click();
    const Trace& t = r.window.trace;
    ASSERT_EQ(t.size(), 2u + 26u + 22u + 4u);
    EXPECT_EQ(Trace(t.begin(), t.begin() + 4),
              (Trace{"hide cmd_Neustart", "show cmd_Start", "hide lbl_Achtung", "hide lbl_Zeit"}));
    EXPECT_EQ(t[2 + 25], "hide lbl_momPhiLuft");
    EXPECT_EQ(t[2 + 26], "hide txt_Zeit");
    EXPECT_EQ(t[2 + 26 + 21], "hide txt_momPhiLuft");
    EXPECT_EQ(Trace(t.end() - 4, t.end()), (Trace{"hide lbl_spezEnergie", "hide txt_spezEnergie",
                                                  "hide lbl_relEnergie", "hide txt_relEnergie"}));
    for (Control c : {Control::cmd_Pause, Control::cmd_Stop, Control::cmd_Weiter, Control::Image7})
        EXPECT_EQ(std::count(t.begin(), t.end(), "hide " + FakeWindow::name(c)), 0);
    EXPECT_EQ(r.window.textOf(Control::txt_Dicke), "12,5");  // the inputs stay
    EXPECT_EQ(r.st->Laufzeit, 1234);                         // and so does the run state
    EXPECT_EQ(r.window.ausgabe.count(test::CanvasCall::Box), 1);
    EXPECT_EQ(r.window.zeit.count(test::CanvasCall::Box), 1);
}

TEST(RunControl, RefusedInputShowsItsMessagesAndLeavesTheWindowAsItWas) {
    Rig r;
    r.window.setText(Control::txt_Ortsschrittweite, "0");
    r.window.trace.clear();
    const auto visibleBefore = r.window.visible;
    r.control.cmd_Start_Click();
    ASSERT_EQ(r.window.trace.size(), 1u);
    EXPECT_EQ(r.window.trace[0].rfind("messages ", 0), 0u);
    EXPECT_FALSE(r.window.messages.empty());
    EXPECT_EQ(r.window.visible, visibleBefore);
    EXPECT_TRUE(r.control.inputRefused());
    EXPECT_FALSE(r.control.running());
    EXPECT_EQ(r.window.ausgabe.calls.size(), 0u);
}

TEST(RunControl, ARefusedStartLeavesEveryButtonAsBeforeTheClickInEveryState) {
    // After a normal end and "Nochmal !" Pause and Stop stay beside Start; after a stopped run
    // only Start is there; a fresh window shows Start alone.
    Rig r;
    r.window.setText(Control::txt_Dicke, "4");
    const auto buttons = [&] {
        std::vector<bool> v;
        for (Control c : {Control::cmd_Start, Control::cmd_Pause, Control::cmd_Weiter,
                          Control::cmd_Stop, Control::cmd_Neustart})
            v.push_back(r.window.shown(c));
        return v;
    };
    const auto refusedStart = [&](const char* state) {
        SCOPED_TRACE(state);
        const std::string kept = r.window.textOf(Control::txt_Dicke);
        r.window.setText(Control::txt_Dicke, "zwanzig");
        const std::vector<bool> before = buttons();
        const auto visibleBefore = r.window.visible;
        r.control.cmd_Start_Click();
        EXPECT_TRUE(r.control.inputRefused());
        EXPECT_EQ(buttons(), before);
        EXPECT_EQ(r.window.visible, visibleBefore);
        r.window.setText(Control::txt_Dicke, kept);
    };
    refusedStart("fresh window");
    r.control.cmd_Start_Click();  // a whole run to its normal end
    ASSERT_EQ(r.st->Laufende, RunEnd::Midplane);
    r.control.cmd_Neustart_Click();
    EXPECT_EQ(buttons(), (std::vector<bool>{true, true, false, true, false}));
    refusedStart("ready again after a normal end");
    r.window.onProcessEvents = [&] { r.control.cmd_Stop_Click(); };
    r.control.cmd_Start_Click();
    r.window.onProcessEvents = {};
    ASSERT_EQ(r.st->Laufende, RunEnd::Stopped);
    r.control.cmd_Neustart_Click();
    refusedStart("ready again after a stopped run");
}

TEST(RunControl, StartPreparesTheWindowInOrderAndStopAtTheFirstPollEndsTheRun) {
    Rig r;
    r.window.trace.clear();
    std::string atFirstPoll;
    r.window.onProcessEvents = [&] {
        if (!atFirstPoll.empty()) return;
        atFirstPoll = r.window.joined();
        EXPECT_TRUE(r.control.running());
        r.control.cmd_Stop_Click();
    };
    r.control.cmd_Start_Click();
    EXPECT_EQ(atFirstPoll.substr(0, kStartPreparation.size()), kStartPreparation);
    // The white box of the start clear comes before any drawing of the set-up.
    ASSERT_FALSE(r.window.ausgabe.calls.empty());
    EXPECT_EQ(r.window.ausgabe.calls.front().kind, test::CanvasCall::Box);
    EXPECT_EQ(r.window.ausgabe.calls.front().colour, kWhite);
    // The set-up has shown its values before the first step.
    EXPECT_EQ(r.window.textOf(Control::txt_LuftRohlingVerh), "13,11");
    EXPECT_EQ(r.window.textOf(Control::txt_thetaK), "30,0");

    EXPECT_EQ(r.st->Laufende, RunEnd::Stopped);
    EXPECT_FALSE(r.control.running());
    EXPECT_FALSE(r.control.inputRefused());
    EXPECT_EQ(r.window.trace.back(), "show cmd_Neustart");
    EXPECT_FALSE(r.window.shown(Control::cmd_Pause));
    EXPECT_FALSE(r.window.shown(Control::txt_spezEnergie));
    EXPECT_TRUE(r.window.zeit.calls.empty());  // no time-history chart after a Stop
    EXPECT_TRUE(r.window.messages.empty());
}

TEST(RunControl, AClimateChamberRunShowsNoAirDemandNotEvenAnEarlierOne) {
    Rig r;
    r.window.setText(Control::txt_LuftRohlingVerh, "13,11");  // from a counter-current run
    r.control.setRunOptions({Klima::Konstant, Luftbilanz::Standard});
    r.window.onProcessEvents = [&] { r.control.cmd_Stop_Click(); };
    r.control.cmd_Start_Click();
    for (Control c : {Control::lbl_LuftRohlingVerh, Control::txt_LuftRohlingVerh,
                      Control::lbl_LuftWasserVerh, Control::txt_LuftWasserVerh})
        EXPECT_FALSE(r.window.shown(c)) << controlName(c);
    EXPECT_TRUE(r.window.shown(Control::txt_XSchwEnde));
    EXPECT_EQ(r.st->optionen.klima, Klima::Konstant);
}

TEST(RunControl, APauseInsideThePollHoldsTheRunWhereItStood) {
    Rig r;
    double timeAtPause = -1, timeAfterPause = -1;
    long polls = 0;
    r.window.onProcessEvents = [&] {
        ++polls;
        if (polls == 100) {
            timeAtPause = r.st->Laufzeit;
            r.control.cmd_Pause_Click();  // returns once Weiter has been pressed
            timeAfterPause = r.st->Laufzeit;
        } else if (polls == 101) {
            EXPECT_EQ(r.st->Laufzeit, timeAtPause + r.st->deltaT);
            r.control.cmd_Stop_Click();
        }
    };
    r.window.onWaitForEvents = [&] {
        if (r.window.waited == 5) r.control.cmd_Weiter_Click();
    };
    r.control.cmd_Start_Click();
    EXPECT_EQ(r.window.waited, 5);
    EXPECT_EQ(timeAfterPause, timeAtPause);
    EXPECT_EQ(r.st->Laufende, RunEnd::Stopped);
}

TEST(RunControl, DuringARunEveryButtonThatHidesItselfParksTheFocusFirst) {
    // Weiter hiding itself would hand the focus on to the first input field, whose text the
    // next key would replace while the run shows results of the old text.
    Rig r;
    long polls = 0;
    std::string trace;
    r.window.onProcessEvents = [&] {
        if (++polls != 50) return;
        r.window.trace.clear();
        r.control.cmd_Pause_Click();  // Weiter follows inside the pause
        r.control.cmd_Stop_Click();
        trace = r.window.joined();
    };
    r.window.onWaitForEvents = [&] { r.control.cmd_Weiter_Click(); };
    r.control.cmd_Start_Click();
    EXPECT_EQ(trace,
              "focus txt_parkfocus; hide cmd_Pause; hide cmd_Stop; show cmd_Weiter; wait; "
              "focus txt_parkfocus; hide cmd_Weiter; show cmd_Pause; show cmd_Stop; "
              "focus txt_parkfocus; hide cmd_Pause; hide cmd_Stop");
    EXPECT_EQ(r.window.focus, Control::txt_parkfocus);
}

}  // namespace tesmo
