// The window program's command line: --help, --version and an optional file to open.
#pragma once

#include <optional>
#include <string>

#include <QString>
#include <QStringList>

namespace tesmo::app {

inline constexpr int kExitUsage = 64;  // EX_USAGE, as the runner

// Answers --help and --version (in German, as the runner does) before the window's
// application exists, so that neither needs a display. Returns the exit status where the
// program ends here, nothing where it goes on to open its window.
std::optional<int> answerInformationOptions(int argc, char** argv);

// The --help text; the manual page is made from it.
std::string helpText();

struct CommandLine {
    QString file;   // empty: none given
    QString error;  // empty: the arguments are valid
};

// The arguments that the application has left (its own options such as -platform taken out).
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace tesmo::app
