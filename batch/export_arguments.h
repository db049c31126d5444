// The runner's options for the exports of its run and for its version, parsed apart from the
// other options.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmo {

struct BatchOptions;

// If args[next] is --report, --svg, --png (each with its value as the next argument or after
// '=') or --version, takes it (and its value) into `options`, advances `next` past them and
// returns "" or, for a missing value, an error; otherwise returns nothing and leaves `next`.
std::optional<std::string> parseExportOption(const std::vector<std::string_view>& args,
                                             std::size_t& next, BatchOptions& options);

// The lines of the --help text that describe these options.
std::string exportOptionsHelp();

}  // namespace tesmo
