// The water-balance error over random input sets typical for brick-clay drying: every input
// is drawn from its range with a fixed seed, sets that the input check refuses are dropped,
// and the accepted ones are run on all cores.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/controls.h"
#include "model/inputs.h"
#include "verify/case_runs.h"

namespace tesmo {

// The range of one input field, in the units typed.
struct InputRange {
    Control field;
    double lo, hi;
    double step;       // the drawn value is rounded to a multiple of this
    bool logarithmic;  // drawn uniformly in the logarithm
};

// The thickness is drawn from its range and then moved to the nearest whole number of space
// steps, so that it is a multiple of twice the drawn space step.
extern const std::array<InputRange, kInputCount> kWaterStudyRanges;

inline constexpr int kWaterStudyCases = 200;
inline constexpr std::uint64_t kWaterStudySeed = 20070813;

// Inputs and quantities derived from them that the error is compared with. The derived ones
// use the model's grid (Δx = dry half thickness a / nOrt) and the conductivity input κ₂₅.
struct Driver {
    std::string name;            // for the report
    std::vector<double> values;  // one per finished case
};

struct WaterStudy {
    int drawn = 0;  // sets drawn to get the accepted ones
    std::vector<InputTexts> cases;
    std::vector<CaseResult> results;
    std::vector<double> errors;         // Wasserfehler of the finished cases, in case order
    std::vector<std::size_t> finished;  // their indices
    std::vector<Driver> drivers;  // the seventeen inputs, then nOrt, κ₂₅Δt/Δx², κ₂₅Δt/(Δx·a)
};

// The caption of an input field's label without the blank that some of them end in.
std::string fieldCaption(Control field);

// A number as the user types it: decimal comma, at most the decimals of `step`, no trailing
// zeros.
std::string typedText(double value, double step);

// Draws one set of texts.
class InputDraw {
  public:
    explicit InputDraw(std::uint64_t seed);
    InputTexts next();

  private:
    double uniform();
    std::mt19937_64 engine_;
};

WaterStudy runWaterStudy(int cases, std::uint64_t seed, int threads);

// The default case at Δx = 0,1 mm and shrinking time steps, with its shrinkage and without:
// whether the error vanishes with the step.
inline constexpr std::array<const char*, 4> kShrinkageCheckSteps = {"1", "0,5", "0,25", "0,125"};
// The positive part that stays for Δt → 0, at three space steps: each from the time steps
// 0,5 / 0,25 / 0,125 s (the last three of kShrinkageCheckSteps).
inline constexpr std::array<const char*, 3> kFloorSpaceSteps = {"0,2", "0,1", "0,05"};
struct ShrinkageCheck {
    std::vector<double> dt;  // s
    std::vector<CaseResult> withShrinkage, without;
    // Per kFloorSpaceSteps, the signed error F at the three time steps.
    std::vector<std::array<double, 3>> floorErrors;
};
ShrinkageCheck runShrinkageCheck(int threads);

}  // namespace tesmo
