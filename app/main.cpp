// Tesmo-Gegen: the drying calculator's window program. `tesmo-gegen DATEI` opens a case file
// (.tgcase), a study file (.tgstudy) or a fit file (.tgfit) at start; --help and --version are
// answered without a window; everything else happens in the window.
#include <cstdio>

#include <QApplication>

#include "app/command_line.h"
#include "files/atomic_file.h"
#include "gui/decorations.h"
#include "gui/german_dialogs.h"
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
    // Qt's own dialogs and buttons in German, like the program's texts.
    tesmo::qt::installGermanQtTranslations();

    const tesmo::app::CommandLine line = tesmo::app::parseCommandLine(QApplication::arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tesmo-gegen: %s\nMehr mit tesmo-gegen --help.\n",
                     qPrintable(line.error));
        return tesmo::app::kExitUsage;
    }

    tesmo::qt::ProgramWindow window(tesmo::programRunState());
    window.show();
    if (!line.file.isEmpty()) window.openFile(line.file);
    return QApplication::exec();
}
