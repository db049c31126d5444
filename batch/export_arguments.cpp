#include "batch/export_arguments.h"

#include "batch/arguments.h"

namespace tesmo {

namespace {

struct ValueOption {
    std::string_view name;
    std::string BatchOptions::*target;
};

constexpr ValueOption kValueOptions[] = {
    {"--report", &BatchOptions::reportPath},
    {"--svg", &BatchOptions::svgFolder},
    {"--png", &BatchOptions::pngFolder},
};

}  // namespace

std::optional<std::string> parseExportOption(const std::vector<std::string_view>& args,
                                             std::size_t& next, BatchOptions& options) {
    const std::string_view arg = args[next];
    if (arg == "--version") {
        options.version = true;
        ++next;
        return std::string();
    }
    for (const ValueOption& option : kValueOptions) {
        std::string value;
        if (arg == option.name) {
            if (next + 1 >= args.size() || args[next + 1].empty())
                return std::string(option.name) + " needs a value";
            value = std::string(args[next + 1]);
            next += 2;
        } else if (arg.size() > option.name.size() && arg.starts_with(option.name) &&
                   arg[option.name.size()] == '=') {
            value = std::string(arg.substr(option.name.size() + 1));
            ++next;
            if (value.empty()) return std::string(option.name) + " needs a value";
        } else {
            continue;
        }
        options.*option.target = value;
        return std::string();
    }
    return std::nullopt;
}

std::string exportOptionsHelp() {
    return "  --report FILE\n"
           "                PDF report of the run (A4, German): its inputs, set-up values,\n"
           "                results, warnings and water-balance error, and both charts\n"
           "  --svg DIR     both charts as SVG vector drawings: DIR/profil.svg (water-load\n"
           "                profiles) and DIR/verlauf.svg (time histories), with their axis\n"
           "                texts and legends\n"
           "  --png DIR     the same as PNG at twice the window's size: DIR/profil.png and\n"
           "                DIR/verlauf.png\n"
           "                DIR is created if needed. The charts are drawn without a display:\n"
           "                QT_QPA_PLATFORM is set to offscreen unless it is set already.\n"
           "                Like --csv, these are written for every run that started.\n"
           "  --version     the program's version\n";
}

}  // namespace tesmo
