// Saves pictures of the window for review: freshly opened, in the middle of a run with the
// default inputs, and after that run has finished; plus enlarged details of the small print,
// the whole screen with the window on it (how it fits a small screen), the manual, the study
// window, and the
// standard dialogs in German: the question before unsaved changes are lost and a file dialog.
// Usage: tesmo-gegen-screenshots <folder>
#include <cstdio>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "display/headless_window.h"
#include "gui/german_dialogs.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/program_window.h"
#include "gui/save_question.h"
#include "gui/study_window.h"
#include "model/run_state.h"

namespace {

using tesmo::Control;

bool save(const QImage& image, const QString& path) {
    if (image.save(path)) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "tesmo-gegen-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

// Parts of the window three times enlarged, pixel for pixel (on a scaled screen, the same parts
// in the screen's pixels).
bool saveDetails(const QImage& window, const QString& folder, const QString& stem) {
    struct Detail {
        const char* name;
        QRect area;
    };
    const Detail details[] = {
        {"fields", {0, 60, 320, 240}},        {"outputs", {0, 300, 320, 330}},
        {"numerics", {0, 630, 320, 109}},     {"profile-legend", {315, 360, 705, 60}},
        {"time-legend", {315, 660, 705, 79}}, {"title", {0, 0, 1020, 70}},
    };
    bool ok = true;
    const qreal ratio = window.devicePixelRatio();
    for (const Detail& d : details) {
        const QRect area(d.area.topLeft() * ratio, d.area.size() * ratio);
        ok &= save(window.copy(area).scaled(area.size() * 3, Qt::IgnoreAspectRatio,
                                            Qt::FastTransformation),
                   folder + "/" + stem + "-" + d.name + "-x3.png");
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tesmo::qt::installGermanQtTranslations();
    if (argc != 2) {
        std::fprintf(stderr, "usage: tesmo-gegen-screenshots <folder>\n");
        return 64;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "tesmo-gegen-screenshots: cannot create %s\n", argv[1]);
        return 74;
    }

    // The length of the default run, to take the middle picture half way through it.
    double runTime = 0;
    {
        auto st = std::make_unique<tesmo::RunState>();
        tesmo::HeadlessWindow headless(*st);
        tesmo::RunControl control(headless);
        control.cmd_Start_Click();
        runTime = st->Laufzeit;
    }

    auto st = std::make_unique<tesmo::RunState>();
    tesmo::qt::ProgramWindow program(*st);
    tesmo::qt::frm_TesmoGegen& window = program.client();
    program.show();
    QApplication::processEvents();
    bool ok = true;
    // The client area, and (at the end) the whole window with its menu bar.
    auto shoot = [&](const char* stem) {
        const QImage image = window.grab().toImage();
        ok &= save(image, folder + "/" + stem + ".png");
        ok &= saveDetails(image, folder, stem);
    };

    QTimer middle;
    middle.setInterval(0);
    QObject::connect(&middle, &QTimer::timeout, [&] {
        if (st->Laufzeit < runTime / 2) return;
        middle.stop();
        QApplication::processEvents();  // let the latest values reach the screen
        shoot("running");
    });
    QTimer::singleShot(0, [&] {
        shoot("fresh");
        middle.start();
        static_cast<QAbstractButton*>(window.widget(Control::cmd_Start))->click();
        QApplication::processEvents();
        shoot("finished");
        ok &= save(program.grab().toImage(), folder + "/finished-window.png");
        // The screen as a user sees it: whether the window fits, or scrolls.
        QApplication::processEvents();
        ok &= save(program.screen()->grabWindow(0).toImage(), folder + "/screen.png");
        tesmo::qt::HelpWindow* manual = tesmo::qt::showManual(&program);
        QApplication::processEvents();
        ok &= save(manual->grab().toImage(), folder + "/manual.png");
        manual->close();
        program.showStudy();
        QApplication::processEvents();
        ok &= save(program.studyWindow()->grab().toImage(), folder + "/study.png");
        program.studyWindow()->close();
        // The question, grabbed while it is open and then answered with Abbrechen.
        QTimer::singleShot(100, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ok &= save(box->grab().toImage(), folder + "/question.png");
                box->close();
            }
        });
        tesmo::qt::askToSaveChanges(&program, QStringLiteral("Tesmo-Gegen"),
                                    QStringLiteral("versuch12.tgcase"), {});
        QFileDialog files(&program, QStringLiteral("Öffnen"), QDir::homePath(),
                          QStringLiteral("Tesmo-Gegen-Fälle (*.tgcase)"));
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.show();
        QApplication::processEvents();
        ok &= save(files.grab().toImage(), folder + "/file-dialog.png");
        QApplication::quit();
    });
    QApplication::exec();
    return ok ? 0 : 1;
}
