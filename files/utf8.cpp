#include "files/utf8.h"

namespace tesmo {

namespace {

// The well-formed sequences by their first byte (Unicode, table "Well-Formed UTF-8 Byte
// Sequences"): how many continuation bytes follow and the range of the first of them; the
// others are always 80..BF. The narrowed ranges exclude overlong forms (E0, F0), surrogates
// (ED) and code points above U+10FFFF (F4).
struct Lead {
    int continuation;  // -1: the byte cannot start a sequence
    unsigned char low;
    unsigned char high;
};

Lead leadOf(unsigned char b) {
    if (b < 0x80) return {0, 0, 0};
    if (b < 0xC2) return {-1, 0, 0};  // continuation byte, or overlong C0/C1
    if (b < 0xE0) return {1, 0x80, 0xBF};
    if (b == 0xE0) return {2, 0xA0, 0xBF};
    if (b == 0xED) return {2, 0x80, 0x9F};
    if (b < 0xF0) return {2, 0x80, 0xBF};
    if (b == 0xF0) return {3, 0x90, 0xBF};
    if (b < 0xF4) return {3, 0x80, 0xBF};
    if (b == 0xF4) return {3, 0x80, 0x8F};
    return {-1, 0, 0};
}

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (at >= bytes.size()) return 0;
    if (p[at] < 0x80) return 1;
    const Lead lead = leadOf(p[at]);
    if (lead.continuation < 0) return 0;
    const std::size_t end = at + 1 + static_cast<std::size_t>(lead.continuation);
    if (end > bytes.size() || p[at + 1] < lead.low || p[at + 1] > lead.high) return 0;
    for (std::size_t k = at + 2; k < end; ++k)
        if (!isContinuation(p[k])) return 0;
    return end - at;
}

std::size_t firstInvalidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        // ASCII runs, the bulk of every file, without the table.
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(bytes, i);
        if (length == 0) return i;
        i += length;
    }
    return kNoInvalidByte;
}

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (char c : text)
        count += !isContinuation(static_cast<unsigned char>(c));
    return count;
}

bool hasControlCharacter(std::string_view text, std::string_view allowed) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b < 0x20 || b == 0x7F) && allowed.find(text[i]) == std::string_view::npos) return true;
        // U+0080..U+009F are C2 80..C2 9F.
        if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

}  // namespace tesmo
