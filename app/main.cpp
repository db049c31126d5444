// Tesmo-Gegen: the drying calculator's window program. It has no command line, reads and
// writes no files; everything happens in its one window.
#include <QApplication>

#include "model/run_state.h"
#include "ui/qt/decorations.h"
#include "ui/qt/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesmo-Luft"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("tesmo-gegen"));
    QApplication::setWindowIcon(tesmo::qt::applicationIcon());

    tesmo::qt::frm_TesmoGegen window(tesmo::programRunState());
    window.show();
    return QApplication::exec();
}
