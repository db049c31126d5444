// The fit window's files: fit files opened and saved (and the question before an unsaved fit is
// replaced), measurement and case files taken into the form, and the exports: the charts as PNG
// and SVG, the comparison table as the runner's CSV, the report as PDF. Every file is written
// atomically; a failure shows a German message.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include "export/fit_report_pdf.h"
#include "export/run_exports.h"
#include "files/file_kinds.h"
#include "files/name_text_lines.h"
#include "fit/fit_charts.h"
#include "fit/fit_report.h"
#include "gui/fit_result_view.h"
#include "gui/fit_setup_panel.h"
#include "gui/fit_window.h"
#include "plot/plot_files.h"
#include "study/study_engine.h"

namespace tesmo::qt {

namespace {

// The charts' size in the PNG and SVG files, in pixels: the comparison, then the residuals.
const QSize kComparisonFileSize(960, 600);
const QSize kResidualFileSize(960, 420);
// PNG files at twice that, for print and for screens of high resolution.
constexpr double kPngPixelRatio = 2;

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString str(const std::string& s) {
    return QString::fromStdString(s);
}

QString fitFilter() {
    return QString::fromStdString(dialogFilter(fileKindSpec(FileKind::Fit))) +
           QStringLiteral(";;Alle Dateien (*)");
}

}  // namespace

void FitWindow::takeAsSaved(const QString& path) {
    fitFile_ = path;
    savedKey_ = formKey(setup_->form());
    resultSaved_ = true;
    if (!path.isEmpty()) folder_ = QFileInfo(path).path();
    showTitle();
    setWindowModified(false);
}

void FitWindow::showTitle() {
    // "[*]" shows the desktop's mark of unsaved changes (setWindowModified).
    setWindowTitle(
        fitFile_.isEmpty()
            ? QStringLiteral("Anpassung an Messungen[*]")
            : QStringLiteral("Anpassung an Messungen – %1[*]").arg(documentName(fitFile_)));
}

bool FitWindow::hasUnsavedChanges() const {
    if (!setup_->check().ok()) return false;  // only a form that can run can be saved
    return formKey(setup_->form()) != savedKey_ || (resultIsCurrent() && !resultSaved_);
}

bool FitWindow::maybeSave() {
    return !hasUnsavedChanges() ||
           maybeSaveChanges(this, QStringLiteral("Anpassung an Messungen"), fitFile_,
                            saveQuestionHook_, [this] { return save(); });
}

bool FitWindow::openFit(const QString& path) {
    if (running()) return false;
    FitForm form;
    std::optional<FitOutcome> outcome;
    FileProblem problem;
    if (!openFitForm(local(path), form, outcome, problem)) {
        showMessage(str(describe(problem)));
        return false;
    }
    shown_.reset();
    setup_->setForm(form);
    takeAsSaved(path);
    progress_->clear();
    if (outcome && setup_->check().ok()) {
        Shown s;
        s.setup = setupOf(form);
        std::string why;
        if (!resultOfOutcome(s.setup, *outcome, s.result, why)) {
            showMessage(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), str(why)));
        } else {
            s.caseNames = caseNames();
            s.outcome = *outcome;
            s.fromFile = true;
            s.formKey = formKey(form);
            shown_ = s;
            showResult();
            // Only the series' runs at the stored values, for the charts and the residuals.
            try {
                startJob(std::make_unique<BackgroundFit>(s.setup, s.result, defaultJobs(),
                                                         [this] { emit fitWaiting(); }));
                pending_ = std::move(s);
                progress_->setText(
                    QStringLiteral("Die Verläufe mit den gespeicherten Werten werden gerechnet …"));
            } catch (const StudyFailure& failure) {
                showMessage(QString::fromUtf8(failure.what()));
            }
        }
    } else if (outcome) {
        progress_->setText(
            QStringLiteral("Die Datei enthält ein Ergebnis; es wird gezeigt, "
                           "sobald die Messreihen zu ihren Fällen passen."));
    }
    formChanged();
    return true;
}

bool FitWindow::saveFitAs(const QString& path) {
    if (running() || !setup_->check().ok()) return false;  // the menu entry is disabled then
    const bool current = resultIsCurrent();
    FitForm form = setup_->form();
    std::optional<FitOutcome> outcome;
    if (current) outcome = shown_->outcome;
    std::vector<std::string> written;
    FileProblem problem;
    if (!saveFitForm(local(path), form, outcome, written, problem)) {
        showMessage(str(describe(problem)));
        return false;
    }
    // Saving named the series as the file does and gave cases from the main window their file.
    setup_->setForm(form);
    if (current) {
        shown_->formKey = formKey(form);
        shown_->caseNames = caseNames();
        for (std::size_t i = 0; i < form.series.size() && i < shown_->setup.series.size(); ++i)
            shown_->setup.series[i].name = form.series[i].name;
        showResult();
    }
    takeAsSaved(path);
    if (!written.empty()) {
        QStringList names;
        for (const std::string& w : written)
            names << QFileInfo(str(w)).fileName();
        progress_->setText(QStringLiteral("Die Fälle aus dem Hauptfenster stehen jetzt in %1 "
                                          "neben der Anpassungsdatei.")
                               .arg(names.join(QStringLiteral(", "))));
    }
    updateState();
    return true;
}

bool FitWindow::exportTable(const QString& path) {
    if (!shown_) return false;
    // The runner's --fit-table for the same fit, byte for byte.
    const auto produce = [this](std::string& content, FileProblem&) {
        content = fitTableText(shown_->setup, shown_->result);
        return true;
    };
    FileProblem problem;
    if (!saveTextFile(local(path), produce, problem)) {
        showMessage(str(describe(problem)));
        return false;
    }
    return true;
}

bool FitWindow::exportReport(const QString& path) {
    if (!shown_) return false;
    FitReportContent content;
    content.setup = shown_->setup;
    content.result = shown_->result;
    content.curves = shown_->curves;
    content.caseNames = shown_->caseNames;
    content.fitFile = fitFile_.isEmpty() ? std::string() : local(QFileInfo(fitFile_).fileName());
    content.fromFile = shown_->fromFile;
    const QDateTime now = QDateTime::currentDateTime();
    const ExportResult r = writeThrough(
        local(path), [&](QIODevice& device) { return writeFitReportPdf(device, content, now); });
    if (!r) showMessage(str(r.message));
    return r.ok;
}

bool FitWindow::exportChartsPng(const QString& folder) {
    return exportCharts(folder, "png");
}

bool FitWindow::exportChartsSvg(const QString& folder) {
    return exportCharts(folder, "svg");
}

// Per quantity two files: the comparison (wasserbeladung.png) and the residuals
// (abweichungen-wasserbeladung.png).
bool FitWindow::exportCharts(const QString& folder, const char* suffix) {
    if (const ExportResult made = makeFolder(local(folder)); !made) {
        showMessage(str(made.message));
        return false;
    }
    const bool png = std::string_view(suffix) == "png";
    for (Messgroesse g : results_->chartQuantities()) {
        const std::string stem = local(QDir(folder).filePath(str(chartStem(g))));
        const std::string residualStem =
            local(QDir(folder).filePath(QStringLiteral("abweichungen-") + str(chartStem(g))));
        const std::pair<std::string, std::pair<PlotSpec, QSize>> files[] = {
            {stem, {results_->comparisonSpec(g), kComparisonFileSize}},
            {residualStem, {results_->residualSpec(g), kResidualFileSize}},
        };
        for (const auto& [name, chart] : files) {
            const std::string path = name + "." + suffix;
            std::string error;
            const bool ok =
                png ? writePlotPng(path, chart.first, chart.second, &error, kPngPixelRatio)
                    : writePlotSvg(path, chart.first, chart.second, &error);
            if (!ok) {
                showMessage(str(error));
                return false;
            }
        }
    }
    return true;
}

// --- dialogs ---------------------------------------------------------------------------------

void FitWindow::addSeriesWithDialog() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Messreihe hinzufügen"), folder_,
                                     QStringLiteral("Messdateien (*.csv);;Alle Dateien (*)"));
    if (!path.isEmpty()) addSeries(path);
}

void FitWindow::caseFileWithDialog(int row) {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Fall der Messreihe"), folder_,
        QString::fromStdString(dialogFilter(fileKindSpec(FileKind::Case))) +
            QStringLiteral(";;Alle Dateien (*)"));
    if (!path.isEmpty()) setCaseFile(row, path);
}

void FitWindow::openWithDialog() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Anpassung öffnen"),
                                                      folder_, fitFilter());
    if (!path.isEmpty() && maybeSave()) openFit(path);
}

bool FitWindow::save() {
    return fitFile_.isEmpty() ? saveWithDialog() : saveFitAs(fitFile_);
}

bool FitWindow::saveWithDialog() {
    QFileDialog dialog(this, QStringLiteral("Anpassung speichern"), folder_, fitFilter());
    if (!fitFile_.isEmpty()) dialog.selectFile(fitFile_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("tgfit"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    return saveFitAs(dialog.selectedFiles().constFirst());
}

void FitWindow::exportWithDialog(const QString& caption, const QString& filter,
                                 const QString& suffix, bool (FitWindow::*write)(const QString&)) {
    QFileDialog dialog(this, caption, folder_, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    if ((this->*write)(path)) folder_ = QFileInfo(path).path();
}

void FitWindow::exportFolderWithDialog(const QString& caption,
                                       bool (FitWindow::*write)(const QString&)) {
    const QString folder = QFileDialog::getExistingDirectory(this, caption, folder_);
    if (!folder.isEmpty() && (this->*write)(folder)) folder_ = folder;
}

}  // namespace tesmo::qt
