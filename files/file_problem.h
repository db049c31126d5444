// Why a file of the program could not be read or saved, and the German message that says so.
//
// The readers and writers find problems and fill a FileProblem; describe() alone turns it into
// words. The window and the runner show that message as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmo {

// Findings of the program's own checks that the system has no errno for. They travel where an
// errno goes (errno values are positive) so that one table words both.
inline constexpr int kNotRegularFile = -1;      // a path that names no ordinary file
inline constexpr int kIsDevice = -2;            // … but a device
inline constexpr int kIsPipe = -3;              // … but a named pipe (FIFO)
inline constexpr int kIsSocket = -4;            // … but a socket
inline constexpr int kFolderNotWritable = -5;   // the folder takes no new file from this user
inline constexpr int kFolderTakesNoFiles = -6;  // the folder exists but takes no new files

// What stands at a path that is not an ordinary file, from the type bits of its st_mode:
// EISDIR for a folder, kIsDevice, kIsPipe, kIsSocket or kNotRegularFile; 0 for an ordinary file.
int fileTypeProblem(unsigned mode);

// Why the system (or one of the checks above) refused a file, in German words, from one table
// keyed by the errno value: "die Datei existiert nicht", "keine Schreibberechtigung", …
// `saving` chooses the words for writing where they differ from reading (a missing folder
// rather than a missing file, the permission to write rather than to read).
std::string systemReason(int errnum, bool saving);

enum class ProblemKind {
    None,
    SystemError,    // the operating system refused: number = errno or one of the codes above
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
    NotHistoryTable,     // a table whose header is not that of the time histories
    TooManyRows,         // number = the most rows a table of its kind may hold
    // An uncertainty study's lines.
    UnknownWord,           // a word the line does not take; detail = the word, expected = the words
    BadNumber,             // detail = the text; expected = the number it must be
    WrongForm,             // a line not in its form; detail = the text, expected = the form
    ParameterRule,         // detail = the distribution's word; number = the ParameterRule broken
    NoUncertainInput,      // an uncertainty study without an "uncertain" (or "fit") line
    UnsupportedLine,       // a line this version knows but cannot use yet; detail = its name
    FitWithoutResult,      // a fit line's fit file holds no saved outcome; detail = the fit file
    FitWithoutCovariance,  // … an outcome without its covariance; detail = the fit file
    FitUndetermined,       // a fitted input of infinite variance; detail = its name,
                           // context = the fit file
    UnusableStudy,         // the lines together cannot run; expected = why
    NotAResultTable,       // a table whose header is not that of a study's result table

    // measurement files (detail = the cell's text where one is named)
    NoColumnHeader,       // a measurement file without its header row
    UnknownColumn,        // detail = the column's name
    NoTimeColumn,         // no t_s, t_min, t_h or Zeit
    SecondTimeColumn,     // detail = the second time column's name
    NoMeasuredQuantity,   // only a time column
    NotANumber,           // detail = the text; context = the column or setting (or empty)
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

// What the parameters of a distribution must satisfy (ProblemKind::ParameterRule).
enum class ParameterRule : std::uint8_t {
    SpreadNotPositive,    // a standard deviation of 0 or below
    MeanNotPositive,      // a lognormal distribution's mean of 0 or below
    BoundsNotIncreasing,  // a lower bound not below the upper one
    PeakOutsideBounds,    // a triangular distribution's peak outside its bounds
};

struct FileProblem {
    std::string path{};  // the file as the user named it; empty for a text in memory
    int line = 0;        // counted from 1; 0 when the problem concerns the whole file
    ProblemKind kind = ProblemKind::None;
    std::string detail{};    // see ProblemKind
    long long number = 0;    // see ProblemKind
    bool saving = false;     // found while saving rather than while reading
    std::string expected{};  // see ProblemKind: what the line would take instead
    std::string context{};   // a second name or text (see ProblemKind)
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
