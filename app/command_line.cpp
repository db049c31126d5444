#include "app/command_line.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include <QCommandLineParser>

#include "files/file_kinds.h"
#include "tesmo_version.h"

namespace tesmo::app {

namespace {

constexpr const char* kProgram = "tesmo-gegen";

// The program's options: their names (the first letter alone is the short form) and what
// --help says of them. The parser and the help text both read this table.
struct Option {
    const char* shortName;
    const char* longName;
    const char* help;
};
constexpr Option kHelp{"h", "help", "diese Hilfe anzeigen und beenden"};
constexpr Option kVersion{"v", "version", "die Version anzeigen und beenden"};
constexpr Option kOptions[] = {kHelp, kVersion};

bool isOption(std::string_view arg, const Option& o) {
    return arg == std::string("-") + o.shortName || arg == std::string("--") + o.longName;
}

std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size() + 2), ' ');
    return text;
}

}  // namespace

std::string helpText() {
    std::string text =
        "Aufruf: tesmo-gegen [OPTION]... [DATEI]\n"
        "Berechnet die Konvektionstrocknung einer schwindenden, kapillarporösen Rohlingsplatte\n"
        "aus Ziegelton im Gegenstromtrockner. Das deutschsprachige Fenster nimmt siebzehn\n"
        "Eingaben; Start rechnet den Lauf und zeigt die Momentanwerte, die\n"
        "Wasserbeladungsprofile, die Zeitverläufe und den Energiebedarf. Ohne DATEI öffnet das\n"
        "Fenster mit den Vorgabewerten. tesmo-gegen-batch rechnet dasselbe ohne Fenster.\n"
        "\n"
        "DATEI nach ihrer Endung:\n";
    for (const FileKindSpec& k : fileKinds())
        text += padded(std::string("  *") + k.suffix, 24) + k.opensIn + "\n";
    text +=
        "  Eine DATEI mit anderer Endung wird als Falldatei gelesen; Fehler meldet das\n"
        "  Fenster.\n"
        "\n"
        "Rückgabewert:\n"
        "   0  das Fenster wurde geschlossen\n"
        "  64  falscher Aufruf (unbekannte Option, mehr als eine DATEI)\n"
        "\n"
        "Optionen:\n";
    for (const Option& o : kOptions)
        text += padded(std::string("  -") + o.shortName + ", --" + o.longName, 24) + o.help + "\n";
    return text;
}

std::optional<int> answerInformationOptions(int argc, char** argv) {
    bool help = false, version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        help = help || isOption(arg, kHelp) || arg == "-?";
        version = version || isOption(arg, kVersion);
    }
    if (version) {
        std::fputs(programVersionText(kProgram).c_str(), stdout);
        return 0;
    }
    if (!help) return std::nullopt;
    std::fputs(helpText().c_str(), stdout);
    return 0;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    for (const Option& o : kOptions)
        parser.addOption(
            QCommandLineOption({QString::fromLatin1(o.shortName), QString::fromLatin1(o.longName)},
                               QString::fromUtf8(o.help)));
    parser.addPositionalArgument(QStringLiteral("DATEI"), {});
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.error = parser.errorText();  // German where Qt's translations are installed
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        line.error = QStringLiteral("nur eine DATEI kann geöffnet werden");
    else if (!files.isEmpty())
        line.file = files.front();
    return line;
}

}  // namespace tesmo::app
