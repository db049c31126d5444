// The study window's files: study files opened and saved, the table as the runner's CSV, the
// chart as PNG and SVG. Every file is written atomically; a failure shows a German message.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "files/name_text_lines.h"
#include "files/study_file.h"
#include "gui/plot_widget.h"
#include "gui/study_setup_panel.h"
#include "gui/study_table_model.h"
#include "gui/study_window.h"
#include "plot/plot_files.h"

namespace tesmo::qt {

namespace {

const QString kStudyFilter = QStringLiteral("Tesmo-Gegen-Studien (*.tgstudy);;Alle Dateien (*)");
// The chart's size in the PNG and SVG files, in pixels.
const QSize kChartFileSize(960, 600);

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

bool StudyWindow::openStudy(const QString& path) {
    SavedStudy study;
    FileProblem problem;
    if (!readStudyFile(local(path), defaultInputTexts(), study, problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    StudyForm form;
    std::string error;
    if (!formOf(study, form, error)) {
        showMessage(QString::fromStdString(local(path) + ": " + error));
        return false;
    }
    setup_->setForm(form);
    folder_ = QFileInfo(path).path();
    return true;
}

bool StudyWindow::saveStudyAs(const QString& path) {
    if (!setup_->check().ok()) return false;  // the menu entry is disabled then
    FileProblem problem;
    if (!writeStudyFile(local(path), savedStudyOf(setup_->form()), problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    folder_ = QFileInfo(path).path();
    return true;
}

bool StudyWindow::exportTable(const QString& path) {
    return writeTable(path, TableFormat::Csv);
}

bool StudyWindow::exportTableGerman(const QString& path) {
    return writeTable(path, TableFormat::German);
}

bool StudyWindow::writeTable(const QString& path, TableFormat format) {
    // The runner's table for the same study, byte for byte: its header and one row per case in
    // case order, whatever order the window shows them in.
    const auto produce = [this, format](std::string& content, FileProblem&) {
        content = tableHeader(format);
        for (const CaseOutcome& o : model_->outcomes())
            content += tableRow(o, format);
        return true;
    };
    FileProblem problem;
    if (!saveTextFile(local(path), produce, problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    return true;
}

bool StudyWindow::exportChartPng(const QString& path) {
    std::string error;
    if (writePlotPng(local(path), chart_->spec(), kChartFileSize, &error)) return true;
    showMessage(QString::fromStdString(error));
    return false;
}

bool StudyWindow::exportChartSvg(const QString& path) {
    std::string error;
    if (writePlotSvg(local(path), chart_->spec(), kChartFileSize, &error)) return true;
    showMessage(QString::fromStdString(error));
    return false;
}

QString StudyWindow::savePath(const QString& caption, const QString& filter,
                              const QString& suffix) {
    QFileDialog dialog(this, caption, folder_, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void StudyWindow::openWithDialog() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Studie öffnen"), folder_, kStudyFilter);
    if (!path.isEmpty()) openStudy(path);
}

void StudyWindow::saveWithDialog() {
    const QString path =
        savePath(QStringLiteral("Studie speichern"), kStudyFilter, QStringLiteral("tgstudy"));
    if (!path.isEmpty()) saveStudyAs(path);
}

void StudyWindow::exportWithDialog(const QString& caption, const QString& filter,
                                   const QString& suffix,
                                   bool (StudyWindow::*write)(const QString&)) {
    const QString path = savePath(caption, filter, suffix);
    if (path.isEmpty()) return;
    if ((this->*write)(path)) folder_ = QFileInfo(path).path();
}

}  // namespace tesmo::qt
