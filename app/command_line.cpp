#include "app/command_line.h"

#include <cstdio>
#include <string>
#include <vector>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "tesmo_version.h"

namespace tesmo::app {

namespace {

constexpr const char* kProgram = "tesmo-gegen";

// The parser with the program's options; `version` receives the option to ask it about.
void describe(QCommandLineParser& parser, QCommandLineOption& version) {
    parser.setApplicationDescription(QStringLiteral(
        "Computes the convective drying of a shrinking, capillary-porous green-clay plate in a\n"
        "counter-current dryer. The German-language window takes seventeen parameters; Start\n"
        "runs the simulation and shows the momentary values, the water-load profiles, the time\n"
        "histories and the energy demand. Without FILE the window opens with its default\n"
        "inputs. tesmo-gegen-batch runs the same simulation without a window."));
    parser.addHelpOption();
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A case file (.tgcase) to open in the window."),
                                 QStringLiteral("[FILE]"));
}

QCommandLineOption versionOption() {
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                              QStringLiteral("Displays version information."));
}

bool asksForInformation(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version")
            return true;
    }
    return false;
}

}  // namespace

std::optional<int> answerInformationOptions(int argc, char** argv) {
    if (!asksForInformation(argc, argv)) return std::nullopt;
    // A core application without any platform, under the program's name, for the parser's
    // help text.
    std::vector<std::string> copies(argv, argv + argc);
    copies[0] = kProgram;
    std::vector<char*> pointers;
    for (std::string& s : copies)
        pointers.push_back(s.data());
    int count = argc;
    const QCoreApplication core(count, pointers.data());

    QCommandLineParser parser;
    QCommandLineOption version = versionOption();
    describe(parser, version);
    (void)parser.parse(QCoreApplication::arguments());  // unknown options do not matter here
    if (parser.isSet(version)) {
        std::fputs(programVersionText(kProgram).c_str(), stdout);
        return 0;
    }
    std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    QCommandLineOption version = versionOption();
    describe(parser, version);
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.error = parser.errorText();
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        line.error = QStringLiteral("only one FILE can be opened");
    else if (!files.isEmpty())
        line.caseFile = files.front();
    return line;
}

}  // namespace tesmo::app
