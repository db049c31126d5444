// Tesmo-Gegen: the drying calculator's window program. Everything happens in its one window;
// the command line only answers --help and --version and may name a case file.
#include <cstdio>

#include <QApplication>

#include "app/command_line.h"
#include "model/run_state.h"
#include "ui/qt/decorations.h"
#include "ui/qt/main_window.h"

int main(int argc, char** argv) {
    if (const std::optional<int> status = tesmo::app::answerInformationOptions(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesmo-Luft"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("tesmo-gegen"));
    QApplication::setWindowIcon(tesmo::qt::applicationIcon());

    const tesmo::app::CommandLine line = tesmo::app::parseCommandLine(QApplication::arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tesmo-gegen: %s\nRun with --help for the usage.\n",
                     qPrintable(line.error));
        return tesmo::app::kExitUsage;
    }
    if (!line.caseFile.isEmpty())
        std::fprintf(stderr,
                     "tesmo-gegen: this version cannot open case files yet; %s is not read\n",
                     qPrintable(line.caseFile));

    tesmo::qt::frm_TesmoGegen window(tesmo::programRunState());
    window.show();
    return QApplication::exec();
}
