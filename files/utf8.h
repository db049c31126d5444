// UTF-8 as every reader of the program's files accepts it.
//
// Well-formed UTF-8 in the strict sense of the Unicode standard: no overlong forms, no
// surrogates (U+D800..U+DFFF), nothing above U+10FFFF, no truncated sequence. A character is
// one code point: "ä" typed as one precomposed character counts 1, as "a" plus a combining
// diaeresis 2.
#pragma once

#include <cstddef>
#include <string_view>

namespace tesmo {

inline constexpr std::size_t kNoInvalidByte = std::string_view::npos;

// The length of the well-formed sequence that starts at bytes[at] (1 to 4), or 0 when none
// starts there.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at);

// The offset of the first byte that does not belong to a well-formed sequence, or
// kNoInvalidByte when all of `bytes` is well-formed UTF-8.
std::size_t firstInvalidUtf8(std::string_view bytes);

inline bool isUtf8(std::string_view bytes) {
    return firstInvalidUtf8(bytes) == kNoInvalidByte;
}

// The number of characters (code points) of well-formed UTF-8 text.
std::size_t utf8Length(std::string_view text);

// Whether well-formed UTF-8 text holds a control character (U+0000..U+001F, U+007F..U+009F)
// other than those listed in `allowed` (ASCII controls such as "\t").
bool hasControlCharacter(std::string_view text, std::string_view allowed);

}  // namespace tesmo
