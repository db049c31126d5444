// What every fuzz target checks besides "no crash": a property that fails aborts, and
// libFuzzer keeps the input that made it fail.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/file_problem.h"
#include "files/file_text.h"
#include "files/utf8.h"

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace tesmo {

inline std::string_view fuzzInput(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A refusal of `content` read as `displayName`: it says what and where, in a message that a
// terminal or a window can show as it is.
inline void requireGoodRefusal(const FileProblem& problem, std::string_view content,
                               const std::string& displayName) {
    FUZZ_REQUIRE(problem.kind != ProblemKind::None);
    FUZZ_REQUIRE(problem.path == displayName);
    FUZZ_REQUIRE(problem.line >= 0);
    FUZZ_REQUIRE(content.empty() || problem.line <= lineAt(content, content.size() - 1));
    const std::string message = describe(problem);
    FUZZ_REQUIRE(message.rfind(displayName, 0) == 0);
    FUZZ_REQUIRE(isUtf8(message));
    FUZZ_REQUIRE(!hasControlCharacter(message, ""));
    FUZZ_REQUIRE(message.size() < 1000);
}

// A text that a reader accepted: one that every writer can write.
inline void requireGoodText(std::string_view text, std::string_view allowedControls) {
    FUZZ_REQUIRE(isUtf8(text));
    FUZZ_REQUIRE(!hasControlCharacter(text, allowedControls));
    FUZZ_REQUIRE(utf8Length(text) <= kMaxTextCharacters);
}

}  // namespace tesmo
