// Starting points spread over the bounds: a Latin hypercube, seeded so that a fit repeats.
#pragma once

#include <cstdint>
#include <vector>

namespace tesmo {

// `count` points in the box [lower, upper] (one coordinate per bound): each coordinate's range
// is cut into `count` equal strata and every stratum holds exactly one point, at a random place
// within it; which stratum of one coordinate goes with which of another is a random permutation.
// The same seed gives the same points on every machine.
std::vector<std::vector<double>> latinHypercube(std::size_t count, const std::vector<double>& lower,
                                                const std::vector<double>& upper,
                                                std::uint32_t seed);

}  // namespace tesmo
