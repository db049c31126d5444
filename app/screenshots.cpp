// Saves pictures of the window for review: freshly opened, in the middle of a run with the
// default inputs, and after that run has finished; plus enlarged details of the small print,
// the whole screen with the window on it (how it fits a small screen), the manual, the study
// window (both kinds of study, the uncertainty study with its results and exports), the fit
// window with the example fit computed (its result, each of its charts, and its report's pages
// are left to scripts/screenshots), the standard dialogs in German (the question before unsaved
// changes are lost and a file dialog), then the diagram window with each of its diagrams of
// that run. With
// --diagrams-only only the diagram window (to be run once more at a device pixel ratio of 2:
// QT_SCALE_FACTOR=2; those pictures end in "-2x").
// Usage: tesmo-gegen-screenshots <folder> [--diagrams-only]
#include <cstdio>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "display/headless_window.h"
#include "fit/fit_charts.h"
#include "gui/diagram_window.h"
#include "gui/fit_result_view.h"
#include "gui/fit_window.h"
#include "gui/german_dialogs.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/plot_widget.h"
#include "gui/program_window.h"
#include "gui/run_diagrams.h"
#include "gui/save_question.h"
#include "gui/study_window.h"
#include "gui/uncertainty_page.h"
#include "gui/uncertainty_results.h"
#include "gui/uncertainty_setup_panel.h"
#include "model/run_state.h"
#include "plot/run_charts.h"

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

// The study window's kind "Unsicherheit" with the example of a fitted clay (a fifth of its
// cases, so that it runs in seconds): the form, then each tab of the results, and its exports
// (the PDF report and the charts as SVG) for a look at them.
bool shootUncertainty(tesmo::qt::ProgramWindow& program, const QString& folder) {
    using tesmo::qt::UncertaintyResults;
    program.showUncertaintyStudy();
    tesmo::qt::StudyWindow& window = *program.studyWindow();
    tesmo::qt::UncertaintyPage& page = window.uncertainty();
    bool ok = page.openStudy(QStringLiteral(TESMO_EXAMPLES "/anpassung/unsicherheit.tguq"));
    tesmo::UncertaintyForm form = page.setup().form();
    form.samples = 100;
    page.setup().setForm(form);
    QApplication::processEvents();
    ok &= save(window.grab().toImage(), folder + "/study-uq-form.png");
    // The whole column of the form with the run buttons, which the window shows scrolled.
    ok &= save(page.setup().parentWidget()->grab().toImage(), folder + "/study-uq-form-whole.png");
    QEventLoop wait;
    QObject::connect(&page, &tesmo::qt::UncertaintyPage::analysisEnded, &wait, &QEventLoop::quit);
    if (!page.startStudy()) return false;
    wait.exec();
    const std::pair<UncertaintyResults::Tab, const char*> tabs[] = {
        {UncertaintyResults::Tab::Cases, "faelle"},
        {UncertaintyResults::Tab::Statistics, "kennwerte"},
        {UncertaintyResults::Tab::Histogram, "histogramm"},
        {UncertaintyResults::Tab::Indices, "indizes"}};
    for (const auto& [tab, name] : tabs) {
        page.results().showTab(tab);
        QApplication::processEvents();
        ok &= save(window.grab().toImage(), folder + "/study-uq-" + name + ".png");
    }
    ok &= page.exportReportPdf(folder + "/study-uq-bericht.pdf");
    page.results().setChartResult(1);
    ok &= page.exportChartSvg(folder + "/study-uq-indizes.svg");
    page.results().showTab(UncertaintyResults::Tab::Histogram);
    ok &= page.exportChartPng(folder + "/study-uq-histogramm-export.png");
    // The form as the file has it again, so that the end of the program asks nothing.
    ok &= page.openStudy(QStringLiteral(TESMO_EXAMPLES "/anpassung/unsicherheit.tguq"));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tesmo::qt::installGermanQtTranslations();
    const bool diagramsOnly = argc == 3 && QString::fromLatin1(argv[2]) == "--diagrams-only";
    if (argc != 2 && !diagramsOnly) {
        std::fprintf(stderr, "usage: tesmo-gegen-screenshots <folder> [--diagrams-only]\n");
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
    // The diagram window with each diagram of the finished run.
    auto shootDiagrams = [&] {
        program.diagrams().showDiagrams();
        tesmo::qt::DiagramWindow& diagrams = *program.diagrams().diagramWindow();
        diagrams.resize(1120, 700);
        const QString suffix = diagrams.devicePixelRatioF() > 1 ? "-2x" : "";
        for (const tesmo::RunChartInfo& info : tesmo::runCharts()) {
            diagrams.setChart(info.chart);
            QApplication::processEvents();
            ok &= save(diagrams.grab().toImage(),
                       folder + "/diagramme-" + info.fileStem + suffix + ".png");
        }
        // The read-out: the mouse on the middle of the first curve of the water load.
        diagrams.setChart(tesmo::RunChart::Wasserbeladung);
        tesmo::qt::PlotWidget& plot = diagrams.plot();
        (void)plot.grab();
        const tesmo::PlotSeries& curve = plot.spec().series.front();
        const std::size_t middle = curve.x.size() / 3;
        const tesmo::PlotPoint at = plot.frame().pixelOf(curve.x[middle], curve.y[middle]);
        QMouseEvent move(QEvent::MouseMove, QPointF(at.x, at.y),
                         plot.mapToGlobal(QPointF(at.x, at.y)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&plot, &move);
        QApplication::processEvents();
        ok &= save(diagrams.grab().toImage(), folder + "/diagramme-ablesung" + suffix + ".png");
    };
    QTimer::singleShot(0, [&] {
        if (diagramsOnly) {
            static_cast<QAbstractButton*>(window.widget(Control::cmd_Start))->click();
            shootDiagrams();
            QApplication::quit();
            return;
        }
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
        ok &= shootUncertainty(program, folder);
        program.studyWindow()->close();
        // The example fit, computed as a user would: opened, then Berechnen.
        // At its own size, shrunk to a small screen, as a user first sees it.
        program.showFit();
        tesmo::qt::FitWindow& fit = *program.fitWindow();
        if (fit.openFit(QStringLiteral(TESMO_EXAMPLE_FIT))) {
            QEventLoop wait;
            QObject::connect(&fit, &tesmo::qt::FitWindow::fitEnded, &wait, &QEventLoop::quit);
            if (fit.running()) wait.exec();  // the runs of the result the file keeps
            if (fit.startFit()) wait.exec();
            QApplication::processEvents();
            ok &= save(fit.grab().toImage(), folder + "/fit.png");
            for (tesmo::Messgroesse g : fit.results().chartQuantities()) {
                fit.results().setChart(g);
                QApplication::processEvents();
                ok &= save(fit.results().grab().toImage(),
                           folder + "/fit-" + QString::fromStdString(tesmo::chartStem(g)) + ".png");
            }
            ok &= fit.exportReport(folder + "/fit-bericht.pdf");
            // The result is not kept: the program's end asks nothing about it.
            fit.setSaveQuestionHook([](const QString&) { return tesmo::qt::SaveChoice::Discard; });
        } else {
            ok = false;
        }
        fit.close();
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
        shootDiagrams();
        QApplication::quit();
    });
    QApplication::exec();
    return ok ? 0 : 1;
}
