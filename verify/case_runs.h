// Whole drying runs for the studies: every case's texts go through the input check first, and
// only accepted ones are run, headless, on all cores with one run state per thread.
#pragma once

#include <string>
#include <vector>

#include "model/inputs.h"
#include "model/run_state.h"

namespace tesmo {

struct CaseResult {
    bool refused = false;
    std::vector<std::string> messages;  // the input check's messages when refused
    RunEnd end = RunEnd::None;
    double Laufzeit = 0;  // s
    double t1TA = 0;      // s (0 when the run ended in the first period)
    // The evaluation's results, for runs that finished.
    double spezEnergie = 0;   // kJ per kg of water
    double Wasserfehler = 0;  // %
    // The same with its sign: positive when the profile holds less water than the balance of
    // the surface flux says.
    double WasserfehlerVorzeichen = 0;
    int nOrt = 0;
    // The second period's air balance beyond the latent heat: the sensible heat that the plate
    // takes from the air (summed over the steps), and what it adds to the supply-air
    // temperature and to spezEnergie.
    double fuehlbarLuftK = 0;    // K
    double fuehlbarEnergie = 0;  // kJ per kg of water
    // In the second period the evaporated water enters the air balance as liquid at the air's
    // wet-bulb temperature θOb, although it left the plate at the front temperature θKern: what
    // that adds to the supply-air temperature, Σ 4,19·(θKern − θOb)·ΔX/(1 + 1,86·X at the end).
    double wasserTemperaturLuftK = 0;  // K

    // The state at the end, for the balances of the dryer.
    double thetaZuluft = 0;  // °C, the air at the plate at the end: the supply air
    double XLuftEnde = 0;    // kg/kg, its water load
    double XLuftStart = 0;   // kg/kg, the air at the plate at Start (the exhaust air)
    double thetaKernEnde = 0, thetaOberflEnde = 0;  // °C
    double XmomBilanz = 0, XEnde = 0;               // kg/kg
    // The crack indicators.
    double SchwindGradMax = 0;    // % per mm
    double SchwindDiffMax = 0;    // %
    double t1xse = 0, t2xse = 0;  // s

    bool finished() const { return end == RunEnd::Target || end == RunEnd::Midplane; }
};

// Checks and runs one case on `st`, which is first returned to a new program's state (it must
// have been fresh, or used only by runCase, before), so that nothing of an earlier run on the
// same state reaches this one.
CaseResult runCase(RunState& st, const InputTexts& texts);

// Runs all cases on `threads` threads (at least 1), each with its own run state on the heap.
// The results are in the order of the cases and do not depend on the number of threads.
std::vector<CaseResult> runCases(const std::vector<InputTexts>& cases, int threads);

// All cores of the machine.
int coreCount();

}  // namespace tesmo
