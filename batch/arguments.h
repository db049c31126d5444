// The command line of tesmo-gegen-batch.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/inputs.h"

namespace tesmo {

struct BatchOptions {
    InputTexts texts = defaultInputTexts();  // every field not named keeps its default text
    bool human = false;                      // label captions instead of control names
    bool progress = false;                   // time and share of water removed on stderr
    bool help = false;
    std::string csvPath;  // empty: no CSV

    // Exports of the run and the version (batch/export_arguments.h); empty: none.
    std::string reportPath;
    std::string svgFolder;
    std::string pngFolder;
    bool version = false;
};

struct ParsedArguments {
    BatchOptions options;
    std::string error;  // empty when the arguments are valid
};

// NAME=TEXT with an input field's control name (txt_Dicke=12,5), --human, --progress,
// --csv FILE (or --csv=FILE), --help, and the export options. Anything else is an error.
ParsedArguments parseArguments(const std::vector<std::string_view>& args);

// The --help text, and the two lines shown after a usage error.
std::string usageText();
std::string shortUsageText();

}  // namespace tesmo
