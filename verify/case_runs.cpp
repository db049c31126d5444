#include "verify/case_runs.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "model/drying_run.h"
#include "model/input_check.h"
#include "model/null_window_port.h"
#include "model/setup.h"

namespace tesmo {

namespace {

// Watches the second period's air balance at every poll, i.e. at the top of each step: what
// the previous step's air advance added beyond the latent heat,
//   S = θneu·(1 + 1,86·Xneu) − θalt·(1 + 1,86·Xalt) − (2500 − 4,19·θOb)·(Xalt − Xneu),
// with θOb as it stood before that advance, and what it would have taken less had the water
// entered the air at the front temperature θKern of the step that evaporated it,
//   W = 4,19·(θKern − θOb)·(Xalt − Xneu).
// The state is fresh, so t1TA > 0 marks the second period.
class SensibleHeatProbe : public NullWindowPort {
  public:
    explicit SensibleHeatProbe(const RunState& st) : st_(st) {}
    void poll() override {
        if (!(st_.t1TA > 0)) return;
        addLastStep();
        thetaObBefore_ = st_.thetaOb;
        thetaKernBefore_ = st_.thetaKern;
        pending_ = true;
    }
    // Also the step that ended the run.
    void addLastStep() {
        if (!pending_) return;
        const double dX = st_.XLuftAlt - st_.XLuftNeu;
        sum_ += st_.thetaLuftNeu * (1 + 1.86 * st_.XLuftNeu) -
                st_.thetaLuftAlt * (1 + 1.86 * st_.XLuftAlt) - (2500 - 4.19 * thetaObBefore_) * dX;
        water_ += 4.19 * (thetaKernBefore_ - thetaObBefore_) * dX;
        pending_ = false;
    }
    // Enthalpy sums telescope: the supply air ends warmer by the sum over 1 + 1,86·X at the end.
    double airRise() const { return sum_ / (1 + 1.86 * st_.XAbluft); }
    double waterTemperatureRise() const { return water_ / (1 + 1.86 * st_.XAbluft); }

  private:
    const RunState& st_;
    double sum_ = 0, water_ = 0;
    double thetaObBefore_ = 0, thetaKernBefore_ = 0;
    bool pending_ = false;
};

}  // namespace

CaseResult runCase(RunState& st, const InputTexts& texts) {
    CaseResult r;
    r.messages = pruefeEingaben(texts);
    r.refused = !r.messages.empty();
    if (r.refused) return r;
    // Nothing of an earlier case may carry over: every case starts from a new program's state.
    resetToFreshProgram(st);
    SensibleHeatProbe port(st);
    r.end = Trocknungslauf(st, texts, port);
    port.addLastStep();
    r.nOrt = knoten(st);
    r.Laufzeit = st.Laufzeit;
    r.t1TA = st.t1TA;
    r.XLuftStart = berechneEinrichtung(texts).XAbluft;  // the air at the plate at Start
    r.SchwindGradMax = 0.1 * st.SchwindGradMax;         // 1/m to % per mm, as the window shows it
    r.SchwindDiffMax = st.SchwindDiffMax;
    r.t1xse = st.t1xse;
    r.t2xse = st.t2xse;
    if (!r.finished()) return r;  // no evaluation: no energy and no water balance
    const double removable = st.XAnf - static_cast<double>(st.XZiel);
    r.spezEnergie = st.spezEnergie;
    r.Wasserfehler = st.Wasserfehler;
    r.WasserfehlerVorzeichen = 100 * (st.XmomBilanz - st.XEnde) / removable;
    r.fuehlbarLuftK = port.airRise();
    r.fuehlbarEnergie = st.LuftRohlingVerh * r.fuehlbarLuftK / removable;
    r.wasserTemperaturLuftK = port.waterTemperatureRise();
    r.thetaZuluft = st.thetaLuftMom;
    r.XLuftEnde = st.XAbluft;
    r.thetaKernEnde = st.thetaKern;
    r.thetaOberflEnde = st.thetaOberfl;
    r.XmomBilanz = st.XmomBilanz;
    r.XEnde = st.XEnde;
    return r;
}

std::vector<CaseResult> runCases(const std::vector<InputTexts>& cases, int threads) {
    std::vector<CaseResult> results(cases.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        const auto st = std::make_unique<RunState>();
        for (std::size_t i = next++; i < cases.size(); i = next++)
            results[i] = runCase(*st, cases[i]);
    };
    const int n = std::clamp(threads, 1, static_cast<int>(std::max<std::size_t>(1, cases.size())));
    {
        std::vector<std::jthread> pool;
        for (int t = 1; t < n; ++t)
            pool.emplace_back(work);
        work();
    }  // every thread has finished here
    return results;
}

int coreCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace tesmo
