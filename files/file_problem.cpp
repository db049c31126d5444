#include "files/file_problem.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

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

// One row per reason: the words for reading, and for saving where they differ (empty: the same).
struct SystemReasonText {
    int errnum;
    std::string_view reading;
    std::string_view saving;
};

constexpr SystemReasonText kSystemReasons[] = {
    {ENOENT, "die Datei existiert nicht", "der Ordner existiert nicht"},
    {EACCES, "keine Leseberechtigung", "keine Schreibberechtigung"},
    {EPERM, "keine Leseberechtigung", "keine Schreibberechtigung"},
    {ENOTDIR, "ein Teil des Pfades ist kein Ordner", ""},
    {EISDIR, "der Pfad ist ein Ordner", ""},
    {ENOSPC, "kein Platz mehr auf dem Datenträger", ""},
    {EDQUOT, "das Speicherkontingent auf dem Datenträger ist erschöpft", ""},
    {EFBIG, "die Datei wird größer, als der Datenträger oder die Grenze des Systems erlaubt", ""},
    {EROFS, "der Datenträger ist schreibgeschützt", ""},
    {ELOOP, "zu viele symbolische Verknüpfungen hintereinander, vermutlich eine Schleife", ""},
    {ENAMETOOLONG, "der Pfad ist zu lang", ""},
    {EIO, "Ein-/Ausgabefehler des Datenträgers", ""},
    {ETXTBSY, "die Datei wird gerade als Programm ausgeführt", ""},
    {EBUSY, "der Pfad ist belegt, zum Beispiel als Einhängepunkt", ""},
    {EMFILE, "das Programm hat zu viele Dateien offen", ""},
    {ENFILE, "das System hat zu viele Dateien offen", ""},
    {ENOMEM, "nicht genug Arbeitsspeicher", ""},
    {ENXIO, "das Gerät ist nicht bereit", ""},
    {ENODEV, "das Gerät ist nicht bereit", ""},
    {EAGAIN, "die Datei ist vorübergehend nicht verfügbar", ""},
    {EINTR, "durch ein Signal unterbrochen", ""},
    {EOVERFLOW, "die Datei ist zu groß", ""},
    {EOPNOTSUPP, "der Datenträger unterstützt das nicht", ""},
    {EXDEV, "der Pfad führt auf einen anderen Datenträger", ""},
    {ESTALE, "die Datei auf dem Netzlaufwerk ist nicht mehr gültig", ""},
    {kNotRegularFile, "der Pfad ist keine gewöhnliche Datei", ""},
    {kIsDevice, "der Pfad ist keine gewöhnliche Datei, sondern ein Gerät", ""},
    {kIsPipe, "der Pfad ist keine gewöhnliche Datei, sondern eine benannte Pipe (FIFO)", ""},
    {kIsSocket, "der Pfad ist keine gewöhnliche Datei, sondern ein Socket", ""},
    {kFolderNotWritable, "keine Schreibberechtigung für den Ordner",
     "keine Schreibberechtigung für den Ordner, in dem die Datei neu angelegt wird"},
    {kFolderTakesNoFiles, "in diesem Ordner lassen sich keine Dateien anlegen", ""},
};

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
            return systemReason(static_cast<int>(p.number), p.saving);
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
        case ProblemKind::NoColumnHeader:
            return "die Kopfzeile mit den Spaltennamen fehlt (eine Zeitspalte t_s, t_min, t_h "
                   "oder Zeit und Messgrößen X, m_g, thetaOb, schwind)";
        case ProblemKind::UnknownColumn:
            return "unbekannte Spalte " + shown(p.detail) +
                   ", möglich sind t_s, t_min, t_h, Zeit, X, m_g, thetaOb und schwind";
        case ProblemKind::NoTimeColumn:
            return "die Kopfzeile nennt keine Zeitspalte (t_s, t_min, t_h oder Zeit)";
        case ProblemKind::SecondTimeColumn:
            return shown(p.detail) + " ist eine zweite Zeitspalte, es darf nur eine geben";
        case ProblemKind::NoMeasuredQuantity:
            return "die Kopfzeile nennt keine Messgröße (X, m_g, thetaOb oder schwind)";
        case ProblemKind::NotANumber:
            return p.context.empty()
                       ? shown(p.detail) + " ist keine Zahl"
                       : shown(p.detail) + " in " + shown(p.context) + " ist keine Zahl";
        case ProblemKind::NotAClockTime:
            return shown(p.detail) + " ist keine Zeit der Form h:mm:ss";
        case ProblemKind::MissingTime:
            return "die Zeile hat Messwerte, aber keine Zeit";
        case ProblemKind::NegativeTime:
            return "die Zeit " + shown(p.detail) + " liegt vor dem Beginn der Trocknung";
        case ProblemKind::TimeNotIncreasing:
            return "die Zeit " + shown(p.detail) +
                   " ist nicht größer als die der Messung davor, die Zeiten müssen zunehmen";
        case ProblemKind::NegativeMass:
            return "die Masse " + shown(p.detail) + " ist negativ";
        case ProblemKind::BelowAbsoluteZero:
            return "die Temperatur " + shown(p.detail) + " liegt unter dem absoluten Nullpunkt";
        case ProblemKind::NoMeasurements:
            return "die Datei enthält keine Messung, nur die Kopfzeile";
        case ProblemKind::MassWithoutDryMass:
            return "die Messdatei enthält Massen (m_g), für die Versuchsreihe ist aber keine "
                   "Trockenmasse angegeben (; trockenmasse_g = …)";
        case ProblemKind::WaterLoadAboveStart:
            return "die gemessene Wasserbeladung " + shown(p.detail) +
                   " kg/kg liegt um mehr als das Messrauschen über der Anfangswasserbeladung " +
                   shown(p.context) + " kg/kg des Falls";
        case ProblemKind::SeriesSyntax:
            return "erwartet wird series = MESSDATEI ; FALLDATEI, danach wahlweise "
                   "; trockenmasse_g = … oder ; klima = …";
        case ProblemKind::UnknownSeriesSetting:
            return "unbekannte Angabe " + shown(p.detail) +
                   " zur Versuchsreihe, möglich sind trockenmasse_g, klima und luftbilanz";
        case ProblemKind::FitSyntax:
            return "erwartet wird fit NAME = START ; UNTERGRENZE : OBERGRENZE";
        case ProblemKind::BoundsNotOrdered:
            return "für " + shown(p.context) +
                   " muss die Untergrenze kleiner als die Obergrenze sein";
        case ProblemKind::StartOutsideBounds:
            return "der Startwert für " + shown(p.context) + " liegt nicht in seinen Grenzen";
        case ProblemKind::NotPositiveNumber:
            return shown(p.detail) + " ist für " + shown(p.context) +
                   " nicht möglich, erwartet wird eine Zahl größer als 0";
        case ProblemKind::CountOutOfRange:
            return shown(p.detail) + " ist für " + shown(p.context) +
                   " nicht möglich, erwartet wird eine ganze Zahl von 1 bis " +
                   std::to_string(p.number);
        case ProblemKind::NoSeries:
            return "die Anpassung hat keine Versuchsreihe, es fehlt eine Zeile „series = …“";
        case ProblemKind::NoFitParameter:
            return "die Anpassung hat keinen Parameter, es fehlt eine Zeile „fit NAME = …“";
        case ProblemKind::UnknownQuantity:
            return "unbekannte Messgröße " + shown(p.detail) +
                   ", möglich sind X, m_g, thetaOb und schwind";
        case ProblemKind::ResultSyntax:
            return "erwartet wird ergebnis NAME = WERT ; log oder linear";
        case ProblemKind::ResultNotFitted:
            return "für " + shown(p.detail) + " gibt es ein Ergebnis, aber keine Zeile „fit " +
                   clean(p.detail, kShownCharacters) + " = …“";
        case ProblemKind::CovarianceOrder:
            return "die Kovarianzzeile für " + shown(p.detail) +
                   " steht nicht in der Reihenfolge der Ergebniszeilen";
        case ProblemKind::CovarianceRowLength:
            return "die Kovarianzzeile muss " + std::to_string(p.number) +
                   " Werte haben, einen je Ergebniszeile";
        case ProblemKind::CovarianceInvalid:
            return "die Kovarianz ist nicht symmetrisch oder hat eine negative Varianz (Zeile "
                   "für " +
                   shown(p.detail) + ")";
        case ProblemKind::CovarianceIncomplete:
            return "es fehlen Kovarianzzeilen, je Ergebniszeile muss es eine geben";
        case ProblemKind::PathWithSemicolon:
            return "der Pfad " + shown(p.detail) +
                   " enthält ein Semikolon, das eine Zeile „series = …“ nicht fassen kann";
        case ProblemKind::UnknownOptionWord: {
            const auto option = static_cast<RunOption>(p.number);
            return shown(p.detail) + " ist kein Wert für „" +
                   std::string(runOptionSpec(option).name) + "“, möglich ist " +
                   optionWordList(option);
        }
        case ProblemKind::NotHistoryTable:
            return "keine Tabelle der Zeitverläufe, die Kopfzeile muss die zehn Verläufe von "
                   "VerlaufXmom bis VerlaufSchwindK nennen";
        case ProblemKind::TooManyRows:
            return "die Tabelle hat mehr als " + std::to_string(p.number) + " Datenzeilen";
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

int fileTypeProblem(unsigned mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return 0;
        case S_IFDIR:
            return EISDIR;
        case S_IFCHR:
        case S_IFBLK:
            return kIsDevice;
        case S_IFIFO:
            return kIsPipe;
        case S_IFSOCK:
            return kIsSocket;
        default:
            return kNotRegularFile;
    }
}

std::string systemReason(int errnum, bool saving) {
    for (const SystemReasonText& r : kSystemReasons)
        if (r.errnum == errnum)
            return std::string(saving && !r.saving.empty() ? r.saving : r.reading);
    if (errnum == 0) return "unbekannter Fehler";
    // A rare answer of the system: its symbolic name (EPROTO, …) is the same in every language
    // and can be looked up.
    const char* name = ::strerrorname_np(errnum);
    return std::string("Fehler ") + (name ? name : std::to_string(errnum)) + " des Betriebssystems";
}

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
