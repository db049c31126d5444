// The cases of an uncertainty study: the inputs drawn from their distributions, and those
// draws as the texts of a study's cases.
//
// The draw depends on the plan alone (distributions, design, number, seed), never on the
// machine, the number of threads or the shard that asks for it: every shard of a study draws
// the whole sample and runs its share of it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "study/case_list.h"
#include "uq/uncertainty_plan.h"

namespace tesmo {

// A pick-freeze design needs this many points per matrix at the least (an explicit
// "indices = pickfreeze"); "auto" chooses it from this many on, where its estimates have
// become about as sharp as a surrogate's on a smooth model.
inline constexpr std::size_t kMinPickFreezeBase = 50;
inline constexpr std::size_t kAutoPickFreezeBase = 1000;

// The method the plan's indices come from ("auto" decided).
IndexMethod chosenIndexMethod(const UncertaintyPlan& plan);
// Points per matrix of a pick-freeze design within the plan's budget: samples / (groups + 2).
std::size_t pickFreezeBase(const UncertaintyPlan& plan);

struct UncertaintySample {
    std::vector<Control> fields;     // the sampled inputs, one column each (sampledFields)
    std::vector<std::size_t> group;  // each column's group (inputGroups)
    std::size_t rows = 0;
    std::vector<double> values;  // rows × fields, row after row: the inputs' values
    // The same cells as the probability level of each value in its input's own distribution
    // (0..1): where in the distribution a case lies.
    std::vector<double> levels;
    // The same cells as independent variables whose joint distribution the surrogate is built
    // on: the value itself, its logarithm (lognormal), or a standard normal variable (inputs of
    // a correlated block, decorrelated; library distributions).
    std::vector<double> standard;
    // N > 0: a pick-freeze design of rows A (N rows), B (N rows), then for each group g the
    // rows of A with g's columns taken from B. 0: every row an independent draw.
    std::size_t pickFreezeBase = 0;

    std::size_t columns() const { return fields.size(); }
    double value(std::size_t row, std::size_t column) const {
        return values[row * fields.size() + column];
    }
};

// Draws the plan's sample (the plan must have passed checkPlan). Uses OpenTURNS' generator,
// seeded with the plan's seed, and leaves its state as it was.
UncertaintySample drawSample(const UncertaintyPlan& plan);

// The rows of the sample whose draws are independent of each other: all of them, or A and B of
// a pick-freeze design. Statistics of the results are taken over these.
std::size_t independentRows(const UncertaintySample& sample);

// The text a sampled value goes into its field as: the shortest that reads back as the value
// itself, with a decimal comma.
std::string sampleText(double value);

// The cases: the plan's base texts with each row's values as texts in the sampled fields.
CaseList sampleCases(const UncertaintyPlan& plan, const UncertaintySample& sample);
// The same cases as a case table (';' between cells, a header of control names), which the
// runner's --cases reads to the same cases.
std::string sampleCaseTable(const UncertaintySample& sample);

// Why OpenTURNS cannot build the marginal's library distribution (German), or empty.
std::string libraryDistributionProblem(const Marginal& marginal);

}  // namespace tesmo
