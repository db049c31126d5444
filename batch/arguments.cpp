#include "batch/arguments.h"

#include "batch/export_arguments.h"

namespace tesmo {

namespace {

bool findInput(std::string_view name, Control& found) {
    for (int i = 0; i < kInputCount; ++i) {
        if (name == controlName(controlAt(i))) {
            found = controlAt(i);
            return true;
        }
    }
    return false;
}

// One argument; `next` is the argument after it (for --csv FILE), advanced when consumed.
std::string parseOne(const std::vector<std::string_view>& args, std::size_t& next,
                     BatchOptions& options) {
    if (std::optional<std::string> error = parseExportOption(args, next, options)) return *error;
    const std::string_view arg = args[next++];
    if (arg == "--help" || arg == "-h") {
        options.help = true;
    } else if (arg == "--human") {
        options.human = true;
    } else if (arg == "--progress") {
        options.progress = true;
    } else if (arg == "--csv") {
        if (next >= args.size() || args[next].empty()) return "--csv needs a file name";
        options.csvPath = std::string(args[next++]);
    } else if (arg.rfind("--csv=", 0) == 0) {
        options.csvPath = std::string(arg.substr(6));
        if (options.csvPath.empty()) return "--csv needs a file name";
    } else if (arg.rfind("-", 0) == 0) {
        return "unknown option " + std::string(arg);
    } else {
        const std::size_t eq = arg.find('=');
        if (eq == std::string_view::npos) return "expected NAME=TEXT, got " + std::string(arg);
        Control field{};
        if (!findInput(arg.substr(0, eq), field))
            return "unknown input field " + std::string(arg.substr(0, eq));
        options.texts[field] = std::string(arg.substr(eq + 1));
    }
    return {};
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string_view>& args) {
    ParsedArguments parsed;
    for (std::size_t next = 0; next < args.size() && parsed.error.empty();)
        parsed.error = parseOne(args, next, parsed.options);
    return parsed;
}

namespace {
constexpr const char* kSynopsis = "Usage: tesmo-gegen-batch [OPTION]... [NAME=TEXT]...\n";
}

std::string shortUsageText() {
    return std::string(kSynopsis) + "Run with --help for the fields, options and exit status.\n";
}

std::string usageText() {
    std::string text = kSynopsis;
    text +=
        "\n"
        "Runs one drying simulation of the window's Start button without a window and prints\n"
        "what the window would show at the end of the run.\n"
        "\n"
        "NAME=TEXT sets the text of one input field, typed as in the window (decimal comma,\n"
        "e.g. txt_Dicke=12,5). Every field not named keeps its default text. The fields:\n";
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        text += "  ";
        text += controlName(c);
        text += std::string(24 - std::string_view(controlName(c)).size(), ' ');
        text += inputCaption(c);
        text += " (default ";
        text += defaultText(c);
        text += ")\n";
    }
    text +=
        "\n"
        "Options:\n"
        "  --human       label captions instead of control names in the field lines\n"
        "  --csv FILE    write the ten time histories to FILE: a header row with the array\n"
        "                names, then one row per record 0..HistIndex, comma-separated, '.' as\n"
        "                decimal point, 17 significant digits (written for every run that\n"
        "                started, also one that ended early)\n"
        "  --progress    simulated time and share of the water removed on stderr, every 2000\n"
        "                time steps\n";
    text += exportOptionsHelp();
    text +=
        "  --help        this text\n"
        "\n"
        "Output (stdout), one TAB-separated pair per line:\n"
        "  every output field the run wrote, top to bottom as in the window: NAME<TAB>text\n"
        "  lbl_Achtung, lbl_ungenau1, lbl_ungenau2, lbl_ungenau3, Image7: visible or hidden\n"
        "  txt_Wasserfehler.color<TAB>R,G,B\n"
        "  end<TAB>target | midplane | stopped | history-full | non-finite | unstable\n"
        "\n"
        "Ctrl-C acts like the Stop button: the run ends at its next time step.\n"
        "\n"
        "Exit status:\n"
        "   0  the run finished (target water load or drying front at the mid-plane)\n"
        "   2  the input was refused (the reasons on stderr, nothing on stdout)\n"
        "   3  the run ended early (the reason on stderr)\n"
        "  64  usage error\n"
        "  74  a file (--csv, --report, --svg, --png) or the output could not be written\n";
    return text;
}

}  // namespace tesmo
