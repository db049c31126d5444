// The command line of tesmo-gegen-batch.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/table_format.h"
#include "model/inputs.h"

namespace tesmo {

// One NAME=TEXT argument, applied after the case file in the order given.
struct TextOverride {
    Control field;
    std::string text;
};

// One --klima WORD or --luftbilanz WORD, applied after the case file.
struct OptionOverride {
    RunOption option;
    std::string word;  // one of the option's words (checked while parsing)
};

struct BatchOptions {
    // --- what is run ---------------------------------------------------------------------
    std::vector<TextOverride> overrides;          // NAME=TEXT
    std::vector<OptionOverride> optionOverrides;  // --klima, --luftbilanz
    std::string casePath;      // --case: texts from a case file instead of the defaults
    std::string saveCasePath;  // --save-case: write the texts in effect, run nothing

    // --- a single run ----------------------------------------------------------------------
    bool human = false;     // label captions instead of control names
    bool progress = false;  // single run: time and water removed; study: cases done
    std::string csvPath;    // empty: no CSV of the histories
    // Exports of the run, drawn as the window draws them (empty: none).
    std::string reportPath;  // --report: the PDF report
    std::string svgFolder;   // --svg: both charts as SVG
    std::string pngFolder;   // --png: both charts as PNG
    std::string plotFolder;  // --plot: every numeric diagram of the run as SVG and PNG

    // --- a study ---------------------------------------------------------------------------
    std::vector<std::string> varies;  // --vary NAME=SPEC, in the order given
    std::string casesPath;            // --cases: a case table
    std::string studyPath;            // --study: a study file (base texts and variations)
    std::string tablePath;            // --table: empty for standard output
    std::string shard;                // --shard K/N as typed, checked by the study
    unsigned jobs = 0;                // --jobs; 0: every core (also a fit's)
    bool yes = false;                 // --yes: a study of more than 100 000 cases may start

    // --- tables (--csv, --table) ----------------------------------------------------------
    TableFormat tableFormat = TableFormat::Csv;  // --table-format csv | de
    bool tableFormatGiven = false;

    // --- an uncertainty study --------------------------------------------------------------
    std::string uqPath;                        // --uq: the study file (.tguq)
    std::string uqReportPath;                  // --uq-report: the statistics (Markdown)
    std::vector<std::string> uqSummaryTables;  // --uq-summary: result tables to analyse

    // --- a fit ------------------------------------------------------------------------------
    std::string fitPath;       // --fit: a fit file (measured series and the inputs to fit)
    std::string fitTablePath;  // --fit-table: measured against simulated values (CSV)
    std::string fitCasePath;   // --fit-case: the first series' case with the fitted values
    std::string fitSavePath;   // --fit-save: the fit file with the fit's outcome added

    bool help = false;
    bool version = false;

    bool isStudy() const {
        return !varies.empty() || !casesPath.empty() || !studyPath.empty() || !uqPath.empty();
    }
    bool isUncertainty() const { return !uqPath.empty(); }
    bool isFit() const { return !fitPath.empty(); }
    bool wantsExports() const {
        return !reportPath.empty() || !svgFolder.empty() || !pngFolder.empty() ||
               !plotFolder.empty();
    }
};

struct ParsedArguments {
    BatchOptions options;
    std::string error;  // empty when the arguments are valid
};

// Options and NAME=TEXT arguments in any order (--opt VALUE or --opt=VALUE). Anything else is
// an error, and so is what would be dropped without a word: an option given twice (but --vary),
// options that do not belong together (a single run's output with a study, or with --save-case,
// which runs nothing), two outputs into one file, an output over an input of another kind.
ParsedArguments parseArguments(const std::vector<std::string_view>& args);

// The texts in effect: the defaults or the case file's texts (`base`), then every NAME=TEXT and
// every run-mode option.
InputTexts applyOverrides(InputTexts base, const BatchOptions& options);

// The --help text, and the two lines shown after a usage error.
std::string usageText();
std::string shortUsageText();
std::string versionText();

}  // namespace tesmo
