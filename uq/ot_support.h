// What the few source files that compute with OpenTURNS share. Its headers take long to
// compile, so only those files include this one; the rest of the program sees the library's
// own headers.
#pragma once

#include <openturns/Distribution.hxx>
#include <openturns/RandomGeneratorState.hxx>

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "uq/uncertainty_plan.h"

namespace tesmo {

// OpenTURNS draws from one generator for the whole process. A session holds it for one
// computation: seeded with `seed`, so that the computation repeats exactly, and afterwards
// returned to the state it had (a Python session using OpenTURNS itself keeps its stream).
class OtSession {
  public:
    explicit OtSession(std::uint64_t seed);
    ~OtSession();
    OtSession(const OtSession&) = delete;
    OtSession& operator=(const OtSession&) = delete;

  private:
    std::lock_guard<std::recursive_mutex> lock_;
    OT::RandomGeneratorState saved_;
};

// The distribution of one marginal's input.
OT::Distribution marginalDistribution(const Marginal& marginal);

// The distribution of the sample's standard variable in `column` (see UncertaintySample):
// the input's own for uniform, normal and triangular inputs, the normal one of its logarithm
// for a lognormal input, the standard normal one for every other.
OT::Distribution standardDistribution(const UncertaintyPlan& plan, std::size_t column);

}  // namespace tesmo
