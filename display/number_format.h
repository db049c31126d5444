// Every number the window shows becomes text here: the four fixed-point patterns and the
// hours:minutes:seconds of a time.
//
// The texts are German and always carry the decimal comma, whatever the user's locale, so that
// they read like the input fields' default texts. Formatting writes into a buffer the caller
// owns and never allocates: the display groups use it inside the time loop.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tesmo {

// The fixed-point patterns, named by their number of decimals:
// F1 = "#0.0", F2 = "#0.00", F3 = "#0.000", F4 = "#0.0000".
enum class Pattern : std::uint8_t { F1 = 1, F2 = 2, F3 = 3, F4 = 4 };

// Large enough for any finite double in any pattern (309 integer digits, sign, comma, four
// decimals) and for any time text.
inline constexpr std::size_t kNumberTextCapacity = 320;
using NumberBuffer = std::array<char, kNumberTextCapacity>;

// The fixed texts that stand in for a number.
inline constexpr std::string_view kKeinWert = "-";                 // no value (yet)
inline constexpr std::string_view kUnterEinHundertstel = "<0,01";  // water load below 0.005

// value rounded to the pattern's decimals, halves away from zero, at least one digit before the
// comma, no thousands separator, a leading minus sign for negative values.
//
// Halves are judged on the value as it reads with 15 significant digits, so a product such as
// 0.1·1.15 (in binary 0.11499999999999999) counts as the half 0.115 and gives "0,12", as does
// the literal 2.675 ("2,68"). A value that rounds to zero is written without its minus sign
// (-0.001 in "#0.00" gives "0,00"). A value that is not a number, or infinite, has no value to
// show and gives "-". Returns a view into `out`.
std::string_view formatNumber(double value, Pattern pattern, NumberBuffer& out);

// A time in seconds as " h:mm:ss": n = Int(t + 0.5) whole seconds, the hours unpadded after one
// blank (the sign position; a negative time gets "-" there), minutes and seconds with two
// digits. The value handed in is not changed. A time that is not a number or beyond 10^18 s
// gives "-". Returns a view into `out`.
std::string_view Zeitformat(double t, NumberBuffer& out);

// Convenience forms that return a string (they allocate; for tests and messages, not the loop).
std::string formatNumber(double value, Pattern pattern);
std::string Zeitformat(double t);

}  // namespace tesmo
