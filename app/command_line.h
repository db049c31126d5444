// The window program's command line: --help, --version and an optional case file.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace tesmo::app {

inline constexpr int kExitUsage = 64;  // EX_USAGE, as the runner

// Answers --help and --version (in English, as the runner does) before the window's
// application exists, so that neither needs a display. Returns the exit status where the
// program ends here, nothing where it goes on to open its window.
std::optional<int> answerInformationOptions(int argc, char** argv);

struct CommandLine {
    QString caseFile;  // empty: none given
    QString error;     // empty: the arguments are valid
};

// The arguments that the application has left (its own options such as -platform taken out).
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace tesmo::app
