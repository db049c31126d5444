// Saves pictures of the window for review: freshly opened, in the middle of a run with the
// default inputs, and after that run has finished; plus enlarged details of the small print.
// Usage: tesmo-gegen-screenshots <folder>
#include <cstdio>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTimer>

#include "display/headless_window.h"
#include "gui/main_window.h"
#include "gui/program_window.h"
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

// Parts of the window three times enlarged, pixel for pixel.
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
    for (const Detail& d : details)
        ok &= save(window.copy(d.area).scaled(d.area.size() * 3, Qt::IgnoreAspectRatio,
                                              Qt::FastTransformation),
                   folder + "/" + stem + "-" + d.name + "-x3.png");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
        QApplication::quit();
    });
    QApplication::exec();
    return ok ? 0 : 1;
}
