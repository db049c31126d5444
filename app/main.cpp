// Tesmo-Gegen: the drying calculator's window program. `tesmo-gegen FILE` opens a case file
// (.tgcase) at start; --help and --version are answered without a window; everything else
// happens in the window.
#include <cstdio>

#include <QApplication>

#include "app/command_line.h"
#include "files/atomic_file.h"
#include "gui/decorations.h"
#include "gui/program_window.h"
#include "model/run_state.h"

int main(int argc, char** argv) {
    if (const std::optional<int> status = tesmo::app::answerInformationOptions(argc, argv))
        return *status;

    // Closing the terminal, logging out or Ctrl+C in the terminal end the program as before,
    // but a file being saved at that moment leaves no temporary file behind.
    tesmo::removeTemporaryFilesOnFatalSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesmo-Luft"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tesmo-Gegen"));
    QApplication::setDesktopFileName(QStringLiteral("tesmo-gegen"));
    QApplication::setWindowIcon(tesmo::qt::applicationIcon());

    const tesmo::app::CommandLine line = tesmo::app::parseCommandLine(QApplication::arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tesmo-gegen: %s\nRun with --help for the usage.\n",
                     qPrintable(line.error));
        return tesmo::app::kExitUsage;
    }

    tesmo::qt::ProgramWindow window(tesmo::programRunState());
    window.show();
    if (!line.caseFile.isEmpty()) window.openCase(line.caseFile);
    return QApplication::exec();
}
