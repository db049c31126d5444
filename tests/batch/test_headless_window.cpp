#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "batch/report.h"
#include "display/headless_window.h"
#include "display/run_capture.h"
#include "display/run_control.h"
#include "model/drying_run.h"
#include "tests/batch/allocation_counter.h"

namespace tesmo {

namespace {

void fillMidRun(RunState& st) {
    st.XAnf = 0.25;
    st.rhos = 1850;
    st.LuftRohlingVerh = 13.1062;
    st.offPoren = 0.25;
    st.psiRoh = 0.38;
    st.rhosRoh = 1526;
    st.nOrt = 100;
    st.XKnoten.fill(0.2);
    st.thetaOb = st.thetaOberfl = st.thetaKern = 30;
    st.thetaLuftMom = 35;
    st.XAbluft = 0.02;
    st.Laufzeit = 1e7;  // long time texts
    st.mPunkt = -1e-4;
    st.Xmom = 0.003;
    st.Wasserfehler = 7;
    st.spezEnergie = -1e12;  // long number texts
}

// Polls count the allocations between the first and the last time step of a run.
class MeasuringWindow : public HeadlessWindow {
  public:
    using HeadlessWindow::HeadlessWindow;
    long atFirstPoll = -1, atLastPoll = -1;
    void processEvents() override {
        HeadlessWindow::processEvents();
        atLastPoll = test::allocationCount();
        if (atFirstPoll < 0) atFirstPoll = atLastPoll;
    }
};

}  // namespace

TEST(HeadlessWindow, OpensLikeTheWindowAndKeepsWhatIsWritten) {
    auto st = std::make_unique<RunState>();
    HeadlessWindow w(*st);
    EXPECT_EQ(w.text(Control::txt_Wasserfehler), " ");
    EXPECT_FALSE(w.isVisible(Control::txt_Zeit));
    EXPECT_TRUE(w.isVisible(Control::cmd_Start));
    EXPECT_FALSE(w.isVisible(Control::lbl_Achtung));
    EXPECT_FALSE(w.written(Control::txt_Wasserfehler));
    w.setInputTexts(defaultInputTexts());
    EXPECT_EQ(w.text(Control::txt_XZiel), "0,00");
    w.show(Control::txt_Zeit, " 0:00:01");
    w.setColor(Control::txt_Wasserfehler, kRed);
    w.setVisible(Control::txt_Zeit, true);
    EXPECT_EQ(w.text(Control::txt_Zeit), " 0:00:01");
    EXPECT_TRUE(w.written(Control::txt_Zeit));
    EXPECT_TRUE(w.isVisible(Control::txt_Zeit));
    EXPECT_EQ(w.colour(Control::txt_Wasserfehler), kRed);
    // A pause cannot be released by a click here, so it does not hold the run.
    RunControl control(w);
    control.cmd_Pause_Click();
    EXPECT_EQ(st->PauseFlag, 0);
}

TEST(HeadlessWindow, ReopenedItIsTheWindowAsItOpensAndAllocatesNothing) {
    // A study's worker reuses one window for all its cases.
    auto st = std::make_unique<RunState>();
    HeadlessWindow used(*st);
    used.setInputTexts(defaultInputTexts());
    RunControl control(used);
    control.cmd_Start_Click();
    used.showMessages({"eine Meldung"});
    used.setColor(Control::txt_Wasserfehler, kRed);
    const long before = test::allocationCount();
    used.reopen();
    EXPECT_EQ(test::allocationCount(), before);
    const HeadlessWindow fresh(*st);
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        EXPECT_EQ(used.text(c), fresh.text(c)) << controlName(c);
        EXPECT_EQ(used.isVisible(c), fresh.isVisible(c)) << controlName(c);
        EXPECT_EQ(used.written(c), fresh.written(c)) << controlName(c);
        EXPECT_EQ(used.colour(c), fresh.colour(c)) << controlName(c);
    }
    EXPECT_TRUE(used.messages().empty());
    EXPECT_EQ(used.polls(), 0);
}

TEST(HeadlessWindow, DisplayGroupsWriteWithoutAllocating) {
    auto st = std::make_unique<RunState>();
    fillMidRun(*st);
    HeadlessWindow w(*st);
    for (int g = 0; g <= static_cast<int>(DisplayGroup::EndWaterError); ++g) {
        const long before = test::allocationCount();
        w.writeGroup(static_cast<DisplayGroup>(g));
        EXPECT_EQ(test::allocationCount(), before) << "group " << g;
    }
    EXPECT_EQ(w.text(Control::txt_spezEnergie), "-1000000000000,0");
    EXPECT_EQ(w.text(Control::txt_Zeit), " 2777:46:40");
}

TEST(HeadlessWindow, AWholeRunAllocatesNothingBetweenItsFirstAndLastTimeStep) {
    RunState& st = programRunState();
    MeasuringWindow w(st);
    w.setInputTexts(defaultInputTexts());
    RunControl control(w);
    control.cmd_Start_Click();
    ASSERT_FALSE(control.inputRefused());
    ASSERT_GT(w.polls(), 1000);
    EXPECT_EQ(w.atLastPoll, w.atFirstPoll);
}

TEST(HeadlessWindow, KeepingRecordTimesAndProfilesAllocatesNothingDuringARunOfManyCurves) {
    RunState& st = programRunState();
    MeasuringWindow w(st);
    InputTexts texts = defaultInputTexts();
    texts[Control::txt_rund] = "50";  // a curve every 50 steps: some 900 curves
    w.setInputTexts(texts);
    RunCapture capture;
    w.setCapture(&capture);
    RunControl control(w);
    control.cmd_Start_Click();
    ASSERT_FALSE(control.inputRefused());
    EXPECT_EQ(w.atLastPoll, w.atFirstPoll);
    EXPECT_GT(capture.profiles().drawn(), 20 * ProfileStore::kCapacity);
    EXPECT_LE(capture.profiles().count(), ProfileStore::kCapacity + 2);
    EXPECT_EQ(capture.recordTimes()[static_cast<std::size_t>(st.HistIndex)] + st.deltaT,
              st.Laufzeit);
}

TEST(Report, PrintsWrittenFieldsInWindowOrderThenWarningsColourAndEnd) {
    auto st = std::make_unique<RunState>();
    HeadlessWindow w(*st);
    w.setText(Control::txt_xmom, "0,00");
    w.setText(Control::txt_XSchwEnde, "0,136");
    w.setVisible(Control::lbl_ungenau2, true);
    w.setColor(Control::txt_Wasserfehler, kDarkBlue);
    st->Laufende = RunEnd::Midplane;
    std::ostringstream plain, human;
    printReport(plain, w, false);
    printReport(human, w, true);
    EXPECT_EQ(plain.str(),
              "txt_XSchwEnde\t0,136\n"
              "txt_xmom\t0,00\n"
              "lbl_Achtung\thidden\n"
              "lbl_ungenau1\thidden\n"
              "lbl_ungenau2\tvisible\n"
              "lbl_ungenau3\thidden\n"
              "Image7\tvisible\n"
              "txt_Wasserfehler.color\t0,0,192\n"
              "end\tmidplane\n");
    EXPECT_EQ(human.str().substr(0, human.str().find('\n')),
              "Wasserbeladung Schwind.-Ende in kg/kg\t0,136");
}

}  // namespace tesmo
