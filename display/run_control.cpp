#include "display/run_control.h"

#include <initializer_list>

#include "display/number_format.h"
#include "display/profile_chart.h"
#include "display/run_capture.h"
#include "display/time_chart.h"
#include "model/drying_run.h"
#include "model/input_check.h"

namespace tesmo {

namespace {

using C = Control;

InputTexts readInputTexts(const WindowBase& window) {
    InputTexts texts;
    for (int i = 0; i < kInputCount; ++i)
        texts[controlAt(i)] = window.text(controlAt(i));
    return texts;
}

void setVisible(WindowBase& window, std::initializer_list<Control> controls, bool visible) {
    for (Control c : controls)
        window.setVisible(c, visible);
}

}  // namespace

void RunControl::prepareWindowForRun() {
    // Both surfaces keep what is drawn on them by their nature, so nothing is switched here.
    window_.setFocus(C::txt_parkfocus);  // no input field holds the focus during the run
    window_.setVisible(C::cmd_Start, false);
    setVisible(window_, {C::cmd_Stop, C::cmd_Pause}, true);
    setVisible(window_,
               {C::lbl_Zeit, C::lbl_Waermestromdichte, C::lbl_Wasserdampf, C::lbl_thetaOb,
                C::lbl_Kerntemp, C::lbl_Xmom, C::lbl_KapGeschw, C::lbl_DampfGeschw,
                C::lbl_SchwindEnde, C::lbl_offPoren, C::lbl_LuftRohlingVerh, C::lbl_LuftWasserVerh,
                C::lbl_momLuftTemp, C::lbl_momPhiLuft, C::lbl_SchwindDiff, C::lbl_SchwindGradient},
               true);
    setVisible(window_,
               {C::txt_Zeit, C::txt_qrand, C::txt_Wasserdampf, C::txt_thetaOb, C::txt_thetaK,
                C::txt_xmom, C::txt_KapGeschw, C::txt_Dampfgeschw},
               true);
    window_.setText(C::txt_Dampfgeschw, kKeinWert);  // no vapour velocity before the front
    setVisible(window_,
               {C::txt_XSchwEnde, C::txt_offPoren, C::txt_LuftRohlingVerh, C::txt_LuftWasserVerh,
                C::txt_momLuftTemp, C::txt_momPhiLuft, C::txt_schwinddiff, C::txt_schwindgrad},
               true);
    // A climate chamber passes no air along the plates: there is no air demand, and a value
    // left from an earlier run must not look like one.
    if (options_.klima == Klima::Konstant)
        setVisible(window_,
                   {C::lbl_LuftRohlingVerh, C::lbl_LuftWasserVerh, C::txt_LuftRohlingVerh,
                    C::txt_LuftWasserVerh},
                   false);
    clearProfileChartAtStart(window_.canvas(Chart::Ausgabe));
}

void RunControl::cmd_Start_Click() {
    // Start is hidden while a run is going; a second run inside the first would overwrite the
    // run state under the running periods, and a closing window starts nothing.
    if (running_ || quit_) return;
    InputTexts texts = readInputTexts(window_);
    texts.optionen = options_;
    const std::vector<std::string> messages = pruefeEingaben(texts);
    refused_ = !messages.empty();
    if (refused_) {
        window_.showMessages(messages);
        return;
    }
    startTexts_ = texts;
    started_ = true;
    if (RunCapture* capture = window_.capture()) capture->beginRun();
    prepareWindowForRun();
    setState(true, false);
    const RunEnd end = Trocknungslauf(window_.state(), texts, window_);
    setState(false, true);
    if (const char* message = laufendeMeldung(end)) window_.showMessages({message});
    window_.setVisible(C::cmd_Neustart, true);
}

void RunControl::setState(bool running, bool resultsShown) {
    running_ = running;
    resultsShown_ = resultsShown;
    if (stateListener_) stateListener_();
}

void RunControl::parkFocusDuringRun() {
    if (running_) window_.setFocus(C::txt_parkfocus);
}

void RunControl::cmd_Pause_Click() {
    parkFocusDuringRun();
    setVisible(window_, {C::cmd_Pause, C::cmd_Stop}, false);
    window_.setVisible(C::cmd_Weiter, true);
    RunState& st = window_.state();
    st.PauseFlag = 1;
    setPaused(running_);
    // Weiter clears the flag from inside this loop. Waiting for the next event instead of
    // polling keeps a paused program from occupying a processor core.
    while (st.PauseFlag != 0 && !quit_)
        window_.waitForEvents();
    setPaused(false);
}

void RunControl::setPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    if (stateListener_) stateListener_();
}

void RunControl::cmd_Weiter_Click() {
    parkFocusDuringRun();  // the run goes on: no input field may take the next key
    window_.state().PauseFlag = 0;
    setPaused(false);
    window_.setVisible(C::cmd_Weiter, false);
    setVisible(window_, {C::cmd_Pause, C::cmd_Stop}, true);
}

void RunControl::cmd_Stop_Click() {
    parkFocusDuringRun();
    setVisible(window_, {C::cmd_Pause, C::cmd_Stop}, false);
    window_.state().StopFlag = 1;  // the model ends the run at its next poll
}

void RunControl::cmd_Neustart_Click() {
    if (resultsShown_) setState(running_, false);  // the charts are cleared below
    window_.setVisible(C::cmd_Neustart, false);
    window_.setVisible(C::cmd_Start, true);
    setVisible(window_,
               {C::lbl_Achtung,
                C::lbl_Zeit,
                C::lbl_Waermestromdichte,
                C::lbl_Wasserdampf,
                C::lbl_thetaOb,
                C::lbl_Kerntemp,
                C::lbl_Xmom,
                C::lbl_Dauer1TA,
                C::lbl_X1TA,
                C::lbl_OberflSchwind,
                C::lbl_SchwindDiff,
                C::lbl_SchwindGradient,
                C::lbl_KernSchwind,
                C::lbl_Wasserfehler,
                C::lbl_Anfangsrate,
                C::lbl_KapGeschw,
                C::lbl_DampfGeschw,
                C::lbl_SchwindEnde,
                C::lbl_offPoren,
                C::lbl_ungenau1,
                C::lbl_ungenau2,
                C::lbl_ungenau3,
                C::lbl_LuftRohlingVerh,
                C::lbl_LuftWasserVerh,
                C::lbl_momLuftTemp,
                C::lbl_momPhiLuft},
               false);
    setVisible(
        window_,
        {C::txt_Zeit,         C::txt_qrand,       C::txt_Wasserdampf,     C::txt_thetaOb,
         C::txt_thetaK,       C::txt_xmom,        C::txt_Dauer1TA,        C::txt_X1TA,
         C::txt_t1xse,        C::txt_schwinddiff, C::txt_schwindgrad,     C::txt_t2xse,
         C::txt_Wasserfehler, C::txt_Anfangsrate, C::txt_KapGeschw,       C::txt_Dampfgeschw,
         C::txt_XSchwEnde,    C::txt_offPoren,    C::txt_LuftRohlingVerh, C::txt_LuftWasserVerh,
         C::txt_momLuftTemp,  C::txt_momPhiLuft},
        false);
    setVisible(window_,
               {C::lbl_spezEnergie, C::txt_spezEnergie, C::lbl_relEnergie, C::txt_relEnergie},
               false);
    clearProfileChartAll(window_.canvas(Chart::Ausgabe));
    clearTimeChart(window_.canvas(Chart::Zeit));
}

void RunControl::requestQuit() {
    quit_ = true;
    RunState& st = window_.state();
    st.StopFlag = 1;
    st.PauseFlag = 0;
}

}  // namespace tesmo
