// The study window's files: study files opened and saved (and the question before an unsaved
// study is replaced), the table as the runner's CSV, the chart as PNG and SVG. Every file is
// written atomically; a failure shows a German message.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "files/file_kinds.h"
#include "files/name_text_lines.h"
#include "files/study_file.h"
#include "gui/plot_widget.h"
#include "gui/study_setup_panel.h"
#include "gui/study_table_model.h"
#include "gui/study_window.h"
#include "gui/uncertainty_page.h"
#include "plot/plot_files.h"

namespace tesmo::qt {

namespace {

QString filterOf(FileKind kind) {
    return QString::fromStdString(dialogFilter(fileKindSpec(kind)));
}

QString studyFilter() {
    return filterOf(FileKind::Study) + QStringLiteral(";;Alle Dateien (*)");
}

// Opening takes either kind; the file's suffix says which.
QString openFilter() {
    return QStringLiteral("Alle Studien (*%1 *%2);;")
               .arg(QString::fromLatin1(fileKindSpec(FileKind::Study).suffix),
                    QString::fromLatin1(fileKindSpec(FileKind::Uncertainty).suffix)) +
           filterOf(FileKind::Study) + QStringLiteral(";;") + filterOf(FileKind::Uncertainty) +
           QStringLiteral(";;Alle Dateien (*)");
}
// The chart's size in the PNG and SVG files, in pixels.
const QSize kChartFileSize(960, 600);

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// What a study file would hold of the form: the base texts and every used entry as its range
// or list text. Two forms with the same key save the same file.
std::string formKey(const StudyForm& form) {
    std::string key;
    for (int i = 0; i < kInputCount; ++i)
        key += form.base[controlAt(i)] + '\n';
    for (const VaryEntry& e : form.vary)
        key += e.used() ? std::string(controlName(e.field)) + '=' + e.spec() + '\n' : "-\n";
    return key;
}

}  // namespace

void StudyWindow::takeAsSaved(const QString& path) {
    studyFile_ = path;
    savedForm_ = formKey(setup_->form());
    if (!path.isEmpty()) folder_ = QFileInfo(path).path();
    updateState();
}

void StudyWindow::showTitle() {
    // "[*]" shows the desktop's mark of unsaved changes (setWindowModified).
    const bool uq = kind() == Kind::Uncertainty;
    const QString title =
        uq ? QStringLiteral("Unsicherheitsstudie") : QStringLiteral("Parameterstudie");
    const QString& file = uq ? uncertainty_->studyFile() : studyFile_;
    setWindowTitle(file.isEmpty() ? title + QStringLiteral("[*]")
                                  : QStringLiteral("%1 – %2[*]").arg(title, documentName(file)));
}

bool StudyWindow::hasUnsavedChanges() const {
    return setup_->check().ok() && formKey(setup_->form()) != savedForm_;
}

bool StudyWindow::maybeSave() {
    return !hasUnsavedChanges() ||
           maybeSaveChanges(this, QStringLiteral("Parameterstudie"), studyFile_, saveQuestionHook_,
                            [this] {
                                return studyFile_.isEmpty() ? saveWithDialog()
                                                            : saveStudyAs(studyFile_);
                            });
}

bool StudyWindow::maybeSaveAll() {
    return maybeSave() && uncertainty_->maybeSave([this] { return saveUncertaintyWithDialog(); });
}

bool StudyWindow::openUncertaintyFile(const QString& path) {
    showKind(Kind::Uncertainty);
    if (uncertainty_->running()) {
        showMessage(QStringLiteral("Die Unsicherheitsstudie rechnet noch; %1 kann erst nach ihrem "
                                   "Ende geöffnet werden.")
                        .arg(QFileInfo(path).fileName()));
        return false;
    }
    return uncertainty_->maybeSave([this] { return saveUncertaintyWithDialog(); }) &&
           uncertainty_->openStudy(path);
}

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
    takeAsSaved(path);
    return true;
}

bool StudyWindow::saveStudyAs(const QString& path) {
    if (!setup_->check().ok()) return false;  // the menu entry is disabled then
    FileProblem problem;
    if (!writeStudyFile(local(path), savedStudyOf(setup_->form()), problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    takeAsSaved(path);
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

QString StudyWindow::savePath(const QString& caption, const QString& filter, const QString& suffix,
                              const QString& selected) {
    QFileDialog dialog(this, caption, folder_, filter);
    if (!selected.isEmpty()) dialog.selectFile(selected);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void StudyWindow::openWithDialog() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Studie öffnen"), folder_, openFilter());
    if (path.isEmpty()) return;
    const FileKindSpec* kind = fileKindOf(local(path));
    if (kind && kind->kind == FileKind::Uncertainty) {
        if (openUncertaintyFile(path)) folder_ = QFileInfo(path).path();
        return;
    }
    showKind(Kind::Parameter);
    if (maybeSave()) openStudy(path);
}

bool StudyWindow::saveWithDialog() {
    if (kind() == Kind::Uncertainty) return saveUncertaintyWithDialog();
    const QString path = savePath(QStringLiteral("Studie speichern"), studyFilter(),
                                  QStringLiteral("tgstudy"), studyFile_);
    return !path.isEmpty() && saveStudyAs(path);
}

bool StudyWindow::saveUncertaintyWithDialog() {
    const QString path =
        savePath(QStringLiteral("Unsicherheitsstudie speichern"),
                 filterOf(FileKind::Uncertainty) + QStringLiteral(";;Alle Dateien (*)"),
                 QStringLiteral("tguq"), uncertainty_->studyFile());
    if (path.isEmpty() || !uncertainty_->saveStudyAs(path)) return false;
    folder_ = QFileInfo(path).path();
    return true;
}

void StudyWindow::exportWithDialog(const QString& caption, const QString& filter,
                                   const QString& suffix,
                                   bool (StudyWindow::*write)(const QString&)) {
    exportWithDialog(caption, filter, suffix,
                     [this, write](const QString& path) { return (this->*write)(path); });
}

void StudyWindow::exportWithDialog(const QString& caption, const QString& filter,
                                   const QString& suffix,
                                   const std::function<bool(const QString&)>& write) {
    const QString path = savePath(caption, filter, suffix);
    if (path.isEmpty()) return;
    if (write(path)) folder_ = QFileInfo(path).path();
}

}  // namespace tesmo::qt
