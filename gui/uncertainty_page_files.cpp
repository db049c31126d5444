// The files of the study window's kind "Unsicherheit": the study opened and saved as a .tguq
// file (and the question before an unsaved one is replaced), the cases' table as the runner's
// CSV, the statistics as CSV, the charts as PNG and SVG, and the PDF report. Every file is
// written atomically; a failure shows a German message.
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "export/uncertainty_report_pdf.h"
#include "files/atomic_file.h"
#include "files/name_text_lines.h"
#include "files/uncertainty_file.h"
#include "gui/plot_widget.h"
#include "gui/study_table_model.h"
#include "gui/uncertainty_page.h"
#include "gui/uncertainty_results.h"
#include "gui/uncertainty_setup_panel.h"
#include "plot/plot_files.h"
#include "uq/statistics_csv.h"

namespace tesmo::qt {

namespace {

// The charts' size in the PNG and SVG files, in pixels.
const QSize kChartFileSize(960, 600);

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

std::string UncertaintyPage::formKey() const {
    // What the study file would hold: two forms with the same key save the same file.
    const UncertaintyFormCheck& check = setup_->check();
    if (!check.ok()) return {};
    UncertaintyFile file;
    FileProblem problem;
    std::string text;
    if (!uncertaintyFileOfForm(check, local(studyFile_), file, problem) ||
        !uncertaintyFileText(file, text, problem))
        return {};
    return text;
}

void UncertaintyPage::takeAsSaved(const QString& path) {
    studyFile_ = path;
    if (!path.isEmpty()) folder_ = QFileInfo(path).path();
    savedForm_ = formKey();
    updateState();
}

bool UncertaintyPage::hasUnsavedChanges() const {
    return setup_->check().ok() && formKey() != savedForm_;
}

bool UncertaintyPage::maybeSave(const std::function<bool()>& saveWithDialog) {
    return !hasUnsavedChanges() ||
           maybeSaveChanges(this, QStringLiteral("Unsicherheitsstudie"), studyFile_,
                            saveQuestionHook_, [&] {
                                return studyFile_.isEmpty() ? saveWithDialog()
                                                            : saveStudyAs(studyFile_);
                            });
}

bool UncertaintyPage::openStudy(const QString& path) {
    UncertaintyFileRules rules;
    rules.resultNames = resultNames();
    UncertaintyFile file;
    FileProblem problem;
    if (!readUncertaintyFile(local(path), std::move(rules), file, problem)) {
        if (show_) show_(QString::fromStdString(describe(problem)));
        return false;
    }
    // A fit that cannot serve (moved, or without its saved result) shows its reason in the
    // form, where another fit can be chosen.
    setup_->setForm(formOfUncertaintyFile(file, local(path)));
    takeAsSaved(path);
    return true;
}

bool UncertaintyPage::saveStudyAs(const QString& path) {
    const UncertaintyFormCheck& check = setup_->check();
    if (!check.ok()) return false;  // the menu entry is disabled then
    UncertaintyFile file;
    FileProblem problem;
    if (!uncertaintyFileOfForm(check, local(path), file, problem) ||
        !writeUncertaintyFile(local(path), file, problem)) {
        if (show_) show_(QString::fromStdString(describe(problem)));
        return false;
    }
    takeAsSaved(path);
    return true;
}

bool UncertaintyPage::exportTable(const QString& path, TableFormat format) {
    // The runner's --table of the same study, byte for byte: one row per case in case order.
    const auto produce = [this, format](std::string& content, FileProblem&) {
        content = tableHeader(format);
        for (const CaseOutcome& o : results_->table().outcomes())
            content += tableRow(o, format);
        return true;
    };
    FileProblem problem;
    if (saveTextFile(local(path), produce, problem)) return true;
    if (show_) show_(QString::fromStdString(describe(problem)));
    return false;
}

bool UncertaintyPage::exportStatistics(const QString& path, TableFormat format) {
    if (!hasAnalysis()) return false;
    const std::string text = statisticsCsv(*results_->analysis(), format);
    FileProblem problem;
    if (saveTextFile(
            local(path),
            [&text](std::string& content, FileProblem&) {
                content = text;
                return true;
            },
            problem))
        return true;
    if (show_) show_(QString::fromStdString(describe(problem)));
    return false;
}

bool UncertaintyPage::exportChartPng(const QString& path) {
    std::string error;
    if (writePlotPng(local(path), results_->shownChart(), kChartFileSize, &error)) return true;
    if (show_) show_(QString::fromStdString(error));
    return false;
}

bool UncertaintyPage::exportChartSvg(const QString& path) {
    std::string error;
    if (writePlotSvg(local(path), results_->shownChart(), kChartFileSize, &error)) return true;
    if (show_) show_(QString::fromStdString(error));
    return false;
}

bool UncertaintyPage::exportReportPdf(const QString& path) {
    if (!hasAnalysis() || !plan_) return false;
    // Drawn in memory first, then written atomically.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString study = studyFile_.isEmpty() ? QString() : QFileInfo(studyFile_).fileName();
    if (!writeUncertaintyReportPdf(buffer, *plan_, *results_->analysis(), study,
                                   QDateTime::currentDateTime())) {
        if (show_) show_(QStringLiteral("Der Bericht konnte nicht erstellt werden."));
        return false;
    }
    WriteFailure failure;
    if (writeFileAtomically(local(path), bytes.toStdString(), &failure)) return true;
    if (show_)
        show_(QString::fromStdString(failure.path +
                                     " konnte nicht geschrieben werden: " + reasonText(failure)));
    return false;
}

}  // namespace tesmo::qt
