// The study window's kind "Unsicherheit": an uncertainty study entered in a form, its drawn
// cases run on every core in the background (as a parameter study's are), then analysed on a
// thread of its own, and its results as tables and charts; the study saved and opened as a
// .tguq file, its table, statistics, charts and a PDF report exported.
//
// Threads: the cases run in a BackgroundStudy whose workers only emit resultsWaiting(); the
// analysis (statistics with their bootstrap intervals, a polynomial-chaos surrogate or the
// pick-freeze estimators) runs on a thread of its own that only posts its end to this page.
// Nothing of the page is touched there. Cancelling stops the cases; a study that was
// cancelled is not analysed (the statistics of part of a sample would tell nothing reliable),
// its rows stay. Destroying the page waits for both.
#pragma once

#include <functional>
#include <future>
#include <memory>
#include <optional>

#include <QWidget>

#include "files/table_format.h"
#include "gui/save_question.h"
#include "study/background_study.h"
#include "uq/analysis.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tesmo::qt {

class UncertaintyResults;
class UncertaintySetupPanel;

class UncertaintyPage : public QWidget {
    Q_OBJECT
  public:
    explicit UncertaintyPage(QWidget* parent = nullptr);
    ~UncertaintyPage() override;

    UncertaintySetupPanel& setup() const { return *setup_; }
    UncertaintyResults& results() const { return *results_; }

    // Berechnen: false (and nothing starts) for an invalid study or while one runs.
    bool startStudy();
    // Abbrechen: no new case starts, running ones stop at their next time step.
    void cancelStudy();
    // Cases running, or their analysis.
    bool running() const { return study_ != nullptr || analysing(); }
    bool analysing() const { return analysis_.valid(); }
    // The analysis of the last study that ran to its end (none before, or after a cancel).
    bool hasAnalysis() const;

    bool openStudy(const QString& path);
    bool saveStudyAs(const QString& path);
    const QString& studyFile() const { return studyFile_; }
    bool hasUnsavedChanges() const;
    // "Änderungen an … speichern?" when there are unsaved changes; true when the form may go.
    // `saveWithDialog` saves a study that has no file yet.
    bool maybeSave(const std::function<bool()>& saveWithDialog);

    // The exports; each shows its own message on failure.
    bool exportTable(const QString& path, TableFormat format);
    bool exportStatistics(const QString& path, TableFormat format);
    bool exportChartPng(const QString& path);
    bool exportChartSvg(const QString& path);
    bool exportReportPdf(const QString& path);

    // Messages and the question about unsaved changes go through the window.
    void setMessenger(std::function<void(const QString&)> show);
    void setSaveQuestionHook(SaveQuestionHook hook);

  signals:
    // Emitted on a worker thread when outcomes or the study's end wait to be taken.
    void resultsWaiting();
    // Running or not, results or not, saved or not changed: menus and title follow.
    void stateChanged();
    // The cases have ended (finished or cancelled); the analysis may follow.
    void studyEnded();
    // The analysis is shown (or why there is none).
    void analysisEnded();

  private:
    QWidget* buildRunBox();
    void takeResults();
    void casesEnded(const StudyProgress& progress, bool cancelled, const std::string& failure);
    void startAnalysis();
    void takeAnalysis();
    void updateState();
    void takeAsSaved(const QString& path);
    std::string formKey() const;

    UncertaintySetupPanel* setup_ = nullptr;
    UncertaintyResults* results_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QString studyFile_;
    QString folder_;
    std::string savedForm_;
    std::function<void(const QString&)> show_;
    SaveQuestionHook saveQuestionHook_;
    // The study as it was started: its plan and drawn sample, for the analysis and exports.
    std::optional<UncertaintyPlan> plan_;
    std::shared_ptr<const UncertaintySample> sample_;
    std::chrono::steady_clock::time_point analysisStart_;
    std::future<UncertaintyAnalysis> analysis_;  // while the analysis runs
    std::unique_ptr<BackgroundStudy> study_;     // while the cases run
};

}  // namespace tesmo::qt
