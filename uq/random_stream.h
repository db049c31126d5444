// The random numbers of the bootstraps: a small generator of our own, so that an interval
// depends on its seed alone, not on a standard library's choice of distribution algorithms or
// on OpenTURNS' shared generator.
#pragma once

#include <cmath>
#include <cstdint>

namespace tesmo {

class RandomStream {
  public:
    explicit RandomStream(std::uint64_t seed) : state_(seed) {}

    // SplitMix64: every 64-bit output once per period of 2^64, well mixed.
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A whole number 0 ≤ k < n, each equally likely (draws beyond the last whole multiple of n
    // are drawn again).
    std::uint64_t below(std::uint64_t n) {
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
        std::uint64_t r;
        do {
            r = next();
        } while (r >= limit);
        return r % n;
    }

    // Uniform in (0, 1): 53 random bits, never 0.
    double uniform() { return (static_cast<double>(next() >> 11) + 0.5) * 0x1p-53; }

    // Standard normal, by the Box–Muller transform.
    double normal() {
        if (spare_) {
            spare_ = false;
            return spareValue_;
        }
        const double radius = std::sqrt(-2.0 * std::log(uniform()));
        const double angle = 6.283185307179586 * uniform();
        spareValue_ = radius * std::sin(angle);
        spare_ = true;
        return radius * std::cos(angle);
    }

  private:
    std::uint64_t state_;
    bool spare_ = false;
    double spareValue_ = 0;
};

}  // namespace tesmo
