#pragma once

#include <cstdint>

namespace tesmo {

// A colour as (red, green, blue).
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kDarkBlue{0, 0, 192};
inline constexpr Rgb kGreen{0, 192, 0};
inline constexpr Rgb kBlue{0, 0, 255};

}  // namespace tesmo
