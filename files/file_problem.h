// Why a file of the program could not be read or saved, and the German message that says so.
//
// The readers and writers find problems and fill a FileProblem; describe() alone turns it into
// words. The window and the runner show that message as it is.
#pragma once

#include <string>
#include <string_view>

namespace tesmo {

enum class ProblemKind {
    None,
    SystemError,    // the operating system refused: number = errno
    TooLarge,       // number = the limit in bytes
    NotUtf8,        // bytes that are not UTF-8; detail = the field's name when saving
    MissingFormat,  // no format line first; detail = the expected format, e.g. "tesmo-gegen-case 1"
    WrongFormat,    // a format line of another format or version; detail = the expected one
    MissingEquals,  // a line without "="
    MissingName,    // nothing before "=" (or after "vary")
    UnknownName,    // detail = the name
    DuplicateName,  // detail = the name
    DuplicateVariation,  // detail = the name varied a second time
    NoVariation,         // a study without a "vary" line
    TextTooLong,         // detail = the name; number = the limit in characters
    ControlCharacter,    // a line break or other control character; detail = the name
    MissingHeader,       // a table without its header row
    EmptyColumnName,     // number = the column, counted from 1
    BlankLine,           // an empty line between rows of a table with several columns
    WrongCellCount,      // number = the header's cell count; detail = the separator
    StrayQuote,          // a closing quote not followed by a separator or the end of the row
    UnterminatedQuote,   // line = where the quoted cell begins
    NoDataRows,          // a table with a header and no case
    UnknownOptionWord,   // a run mode's line with a word it does not have; detail = the word,
                         // number = the RunOption

    // measurement files (detail = the cell's text where one is named)
    NoColumnHeader,       // a measurement file without its header row
    UnknownColumn,        // detail = the column's name
    NoTimeColumn,         // no t_s, t_min, t_h or Zeit
    SecondTimeColumn,     // detail = the second time column's name
    NoMeasuredQuantity,   // only a time column
    NotANumber,           // detail = the text; context = the column or setting
    NotAClockTime,        // detail = the text of a Zeit cell that is not h:mm:ss
    MissingTime,          // a row with measured values but no time
    NegativeTime,         // detail = the time's text
    TimeNotIncreasing,    // detail = the time's text
    NegativeMass,         // detail = the mass's text
    BelowAbsoluteZero,    // detail = the temperature's text
    NoMeasurements,       // a header and no row
    MassWithoutDryMass,   // masses measured, but the series gives no dry mass
    WaterLoadAboveStart,  // detail = the water load measured, context = the case's initial one

    // fit files
    SeriesSyntax,          // a series line that is not MEASUREMENT ; CASE [; NAME = VALUE]…
    UnknownSeriesSetting,  // detail = the name
    FitSyntax,             // a fit line that is not START ; LOWER : UPPER
    BoundsNotOrdered,      // lower bound not below the upper; context = the field
    StartOutsideBounds,    // context = the field
    NotPositiveNumber,     // detail = the text, context = the setting (e.g. trockenmasse_g)
    CountOutOfRange,       // detail = the text, context = the setting, number = the largest
    NoSeries,              // a fit without a series line
    NoFitParameter,        // a fit without a fit line
    UnknownQuantity,       // a sigma line for no measured quantity; detail = the name
    ResultSyntax,          // an ergebnis line that is not VALUE ; log|linear
    ResultNotFitted,       // an ergebnis line for a field without a fit line; detail = the name
    CovarianceOrder,       // a kovarianz line out of the ergebnis lines' order; detail = the name
    CovarianceRowLength,   // number = the count of ergebnis lines
    CovarianceInvalid,     // not symmetric, or a negative variance; detail = the row's name
    CovarianceIncomplete,  // fewer kovarianz lines than ergebnis lines
    PathWithSemicolon,     // a path that a series line cannot hold (saving); detail = the path
};

struct FileProblem {
    std::string path{};  // the file as the user named it; empty for a text in memory
    int line = 0;        // counted from 1; 0 when the problem concerns the whole file
    ProblemKind kind = ProblemKind::None;
    std::string detail{};   // see ProblemKind
    long long number = 0;   // see ProblemKind
    bool saving = false;    // found while saving rather than while reading
    std::string context{};  // a second name or text (see ProblemKind)
};

// Sets the problem's kind and detail and returns false, for `return refuse(…);` in the rules.
inline bool refuse(FileProblem& problem, ProblemKind kind, std::string_view detail = {}) {
    problem.kind = kind;
    problem.detail = std::string(detail);
    return false;
}

// One German sentence: "fall.tgcase, Zeile 3: unbekannter Name „txt_Dike“". Names and texts
// from the file are quoted with their control characters replaced and cut to a readable
// length, so that a damaged file cannot garble the message or the terminal.
std::string describe(const FileProblem& problem);

}  // namespace tesmo
