#include "files/file_problem.h"

#include <cerrno>
#include <cstring>

#include "files/atomic_file.h"
#include "files/utf8.h"
#include "model/run_options.h"

namespace tesmo {

namespace {

// A name or text from a file as it appears in a message: control characters and bytes that are
// not UTF-8 become U+FFFD, and more than this many characters are cut off with "…".
constexpr std::size_t kShownCharacters = 60;
constexpr const char* kReplacement = "\xEF\xBF\xBD";

std::string clean(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        if (characters == maxCharacters) {
            out += "…";
            break;
        }
        const std::size_t length = utf8SequenceLength(text, i);
        const std::string_view character = text.substr(i, length ? length : 1);
        out += length == 0 || hasControlCharacter(character, "") ? kReplacement
                                                                 : std::string(character);
        i += character.size();
    }
    return out;
}

std::string shown(std::string_view text) {
    return "„" + clean(text, kShownCharacters) + "“";
}

std::string sizeText(long long bytes) {
    constexpr long long kKiB = 1024;
    if (bytes >= kKiB * kKiB && bytes % (kKiB * kKiB) == 0)
        return std::to_string(bytes / (kKiB * kKiB)) + " MiB";
    if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
    return std::to_string(bytes) + " Bytes";
}

std::string readReason(int errnum) {
    switch (errnum) {
        case ENOENT:
            return "die Datei existiert nicht";
        case EACCES:
        case EPERM:
            return "keine Leseberechtigung";
        case EISDIR:
            return "der Pfad ist ein Ordner";
        case ENOTDIR:
            return "ein Teil des Pfades ist kein Ordner";
        case ENAMETOOLONG:
            return "der Pfad ist zu lang";
        case EIO:
            return "Ein-/Ausgabefehler des Datenträgers";
        default:
            return std::strerror(errnum);
    }
}

std::string textOf(const FileProblem& p) {
    return "der Text für " + shown(p.detail);
}

std::string parameterRuleText(const FileProblem& p) {
    const std::string of = " einer Verteilung „" + p.detail + "“";
    switch (static_cast<ParameterRule>(p.number)) {
        case ParameterRule::SpreadNotPositive:
            return "die Standardabweichung" + of + " muss größer als 0 sein";
        case ParameterRule::MeanNotPositive:
            return "der Mittelwert" + of + " muss größer als 0 sein";
        case ParameterRule::BoundsNotIncreasing:
            return "die untere Grenze" + of + " muss kleiner als die obere sein";
        case ParameterRule::PeakOutsideBounds:
            return "der Gipfel" + of + " muss zwischen der unteren und der oberen Grenze liegen";
    }
    return {};
}

std::string what(const FileProblem& p) {
    switch (p.kind) {
        case ProblemKind::None:
            return "kein Fehler";
        case ProblemKind::SystemError:
            return p.saving ? reasonText(WriteFailure{static_cast<int>(p.number), p.path, ""})
                            : readReason(static_cast<int>(p.number));
        case ProblemKind::TooLarge:
            return "die Datei ist größer als " + sizeText(p.number);
        case ProblemKind::NotUtf8:
            return p.detail.empty() ? "ungültige Zeichenkodierung, die Datei muss in UTF-8 "
                                      "gespeichert sein"
                                    : textOf(p) + " ist kein gültiges UTF-8";
        case ProblemKind::MissingFormat:
            return p.line > 0 ? "die erste Zeile muss „format = " + p.detail + "“ lauten"
                              : "die Zeile „format = " + p.detail + "“ fehlt";
        case ProblemKind::WrongFormat:
            return "unbekanntes Format oder unbekannte Version, erwartet wird „format = " +
                   p.detail + "“";
        case ProblemKind::MissingEquals:
            return "das Gleichheitszeichen fehlt, erwartet wird NAME = TEXT";
        case ProblemKind::MissingName:
            return "vor dem Gleichheitszeichen fehlt der Name eines Eingabefelds";
        case ProblemKind::UnknownName:
            return "unbekannter Name " + shown(p.detail);
        case ProblemKind::DuplicateName:
            return shown(p.detail) + " ist schon einmal angegeben";
        case ProblemKind::DuplicateVariation:
            return shown(p.detail) + " wird schon einmal variiert";
        case ProblemKind::NoVariation:
            return "die Studie variiert nichts, es fehlt eine Zeile „vary NAME = …“";
        case ProblemKind::TextTooLong:
            return textOf(p) + " ist länger als " + std::to_string(p.number) + " Zeichen";
        case ProblemKind::ControlCharacter:
            return textOf(p) + " enthält einen Zeilenumbruch oder ein anderes Steuerzeichen";
        case ProblemKind::MissingHeader:
            return "die Kopfzeile mit den Namen der Eingabefelder fehlt";
        case ProblemKind::EmptyColumnName:
            return "die " + std::to_string(p.number) + ". Spalte der Kopfzeile hat keinen Namen";
        case ProblemKind::BlankLine:
            return "leere Zeile zwischen den Fällen";
        case ProblemKind::WrongCellCount:
            return "die Zeile hat nicht " + std::to_string(p.number) + " Zellen wie die Kopfzeile" +
                   (p.detail == ","
                        ? "; wenn Kommas die Zellen trennen, muss ein Text mit Dezimalkomma in "
                          "Anführungszeichen stehen"
                        : "");
        case ProblemKind::StrayQuote:
            return "nach einem schließenden Anführungszeichen muss ein Trennzeichen oder das "
                   "Zeilenende folgen";
        case ProblemKind::UnterminatedQuote:
            return "das Anführungszeichen wird bis zum Ende der Datei nicht geschlossen";
        case ProblemKind::NoDataRows:
            return "die Tabelle enthält keinen Fall, nur die Kopfzeile";
        case ProblemKind::UnknownOptionWord: {
            const auto option = static_cast<RunOption>(p.number);
            return shown(p.detail) + " ist kein Wert für „" +
                   std::string(runOptionSpec(option).name) + "“, möglich ist " +
                   optionWordList(option);
        }
        case ProblemKind::UnknownWord:
            return shown(p.detail) + " ist hier nicht möglich, erwartet wird " + p.expected;
        case ProblemKind::BadNumber:
            return shown(p.detail) + " ist nicht " + p.expected;
        case ProblemKind::WrongForm:
            return "erwartet wird „" + p.expected + "“, nicht " + shown(p.detail);
        case ProblemKind::ParameterRule:
            return parameterRuleText(p);
        case ProblemKind::NoUncertainInput:
            return "die Studie hat keine unsichere Eingabe, es fehlt eine Zeile "
                   "„uncertain NAME = VERTEILUNG“";
        case ProblemKind::UnsupportedLine:
            return "Zeilen „" + p.detail + " = …“ kann diese Version noch nicht auswerten";
        case ProblemKind::UnusableStudy:
            return p.expected;
        case ProblemKind::NotAResultTable:
            return "die erste Zeile ist nicht die Kopfzeile einer Ergebnistabelle von "
                   "tesmo-gegen-batch";
    }
    return {};
}

}  // namespace

std::string describe(const FileProblem& problem) {
    std::string where = clean(problem.path, std::string::npos);
    if (problem.line > 0)
        where += (where.empty() ? "Zeile " : ", Zeile ") + std::to_string(problem.line);
    std::string message = where.empty() ? "" : where + ": ";
    if (problem.saving)
        message += "kann nicht gespeichert werden – ";
    else if (problem.kind == ProblemKind::SystemError)
        message += "kann nicht gelesen werden – ";
    return message + what(problem);
}

}  // namespace tesmo
