// Tesmo-Gegen: the drying calculator's window program. `tesmo-gegen FILE` opens a case file
// (.tgcase) at start; everything else happens in the window.
#include <QApplication>
#include <QStringList>

#include "model/run_state.h"
#include "ui/qt/decorations.h"
#include "ui/qt/program_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesmo-Luft"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tesmo-Gegen"));
    QApplication::setDesktopFileName(QStringLiteral("tesmo-gegen"));
    QApplication::setWindowIcon(tesmo::qt::applicationIcon());

    tesmo::qt::ProgramWindow window(tesmo::programRunState());
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) window.openCase(args.at(1));
    return QApplication::exec();
}
