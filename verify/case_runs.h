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
