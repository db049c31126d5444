// The window "Anpassung an Messungen": measured drying curves with the cases they were measured
// under, the inputs to fit with start value and bounds; Berechnen fits them in the background
// on every core, and the window shows how sure the result is and how well the model with the
// fitted values meets the measurements.
//
// Threads: the fit runs in a BackgroundFit (threads of its own). Nothing of this window is
// touched there: the fit only emits fitWaiting(), which reaches takeArrived() queued, on the
// window's thread. The main window and its run are never touched by the fit; "In Hauptfenster
// übernehmen" only puts the fitted values into its fields. Closing this window cancels a running
// fit (it stops within about one model run) and keeps the form and the last result; opening
// another fit and the end of the program ask first when the window holds a fit or a result that
// was not saved. Destroying it waits for the fit's threads.
//
// A result belongs to the form it was computed from: changing a series or a parameter
// afterwards leaves it on view, marked as belonging to the earlier form, and saving then writes
// the form without it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>

#include "fit/background_fit.h"
#include "fit/fit_form.h"
#include "gui/save_question.h"
#include "gui/work_window_parts.h"

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;

namespace tesmo::qt {

class FitResultView;
class FitSetupPanel;
class frm_TesmoGegen;

class FitWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit FitWindow(frm_TesmoGegen& main, QWidget* parent = nullptr);
    ~FitWindow() override;

    // Shows the window (the first time where it was last, or sized to the screen) and raises it.
    void showAndRaise();

    // --- what the buttons and menus do (tests call them directly) ----------------------------
    // A measurement file as a new series, its case the main window's fields, in constant
    // climate. False (and a message) when the file is refused.
    bool addSeries(const QString& measurementPath);
    // The case of series `row` from a case file, or from the main window's fields.
    bool setCaseFile(int row, const QString& casePath);
    void takeCaseFromMain(int row);
    // Berechnen: false (and nothing starts) for a form that cannot run or while a fit runs.
    bool startFit();
    // Abbrechen: the fit stops within about one model run.
    void cancelFit();
    bool running() const { return job_ != nullptr; }
    // Puts the fitted values into the main window's fields (each as the shortest text that
    // reads back to the value); asks first if a run is going there. True if they are there now.
    bool applyToMain();

    // Puts the fit file's series, inputs and settings into the form and shows the result it
    // keeps (its model runs are computed in the background for the charts); asks nothing.
    bool openFit(const QString& path);
    // Saves the form, with its result when it belongs to it; cases taken from the main window
    // are saved as case files beside it.
    bool saveFitAs(const QString& path);
    const QString& fitFile() const { return fitFile_; }
    bool hasUnsavedChanges() const;
    // Before the form is replaced or the program ends: "Änderungen an … speichern?" when there
    // are unsaved changes. True when the form may go (saved, discarded, or none).
    bool maybeSave();

    // The exports: every chart as PNG or SVG files into a folder, the comparison table as the
    // runner's --fit-table writes it, the report as PDF.
    bool exportChartsPng(const QString& folder);
    bool exportChartsSvg(const QString& folder);
    bool exportTable(const QString& path);
    bool exportReport(const QString& path);

    // The result on view (null: none) and whether it belongs to the form as it stands.
    const FitResult* result() const { return shown_ ? &shown_->result : nullptr; }
    bool resultIsCurrent() const;

    FitSetupPanel& setup() const { return *setup_; }
    FitResultView& results() const { return *results_; }
    QAction* action(const QString& objectName) const;
    // Instead of message boxes (tests): messages, and questions answered by the hook.
    void setMessageHook(std::function<void(const QString&)> hook);
    void setQuestionHook(std::function<bool(const QString&)> hook);
    void setSaveQuestionHook(SaveQuestionHook hook);

  signals:
    // Emitted on a fit thread when progress or the end waits to be taken.
    void fitWaiting();
    // The fit (or the runs of a result opened from a file) has ended and everything is shown.
    void fitEnded();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // What the window shows of a fit: its setup, result and curves, and the form it belongs to.
    struct Shown {
        FitSetup setup;
        FitResult result;
        std::vector<SeriesCurve> curves;
        std::vector<std::string> caseNames;
        FitOutcome outcome;  // what a fit file keeps of the result
        bool fromFile = false;
        std::string formKey;
    };

    void buildMenus();
    QWidget* buildRunBox();
    void startJob(std::unique_ptr<BackgroundFit> job);
    void takeArrived();
    void finishJob(BackgroundFit::Arrived arrived);
    void showResult();
    void formChanged();
    void updateState();
    QString summaryText() const;
    void showMessage(const QString& text);
    bool ask(const QString& question, const std::function<void()>& yes);
    bool exportCharts(const QString& folder, const char* suffix);
    std::vector<std::string> caseNames() const;
    // Dialogs.
    void addSeriesWithDialog();
    void caseFileWithDialog(int row);
    void openWithDialog();
    bool save();
    bool saveWithDialog();
    void exportWithDialog(const QString& caption, const QString& filter, const QString& suffix,
                          bool (FitWindow::*write)(const QString&));
    void exportFolderWithDialog(const QString& caption, bool (FitWindow::*write)(const QString&));
    void takeAsSaved(const QString& path);
    void showTitle();

    frm_TesmoGegen& main_;
    FitSetupPanel* setup_ = nullptr;
    FitResultView* results_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* busy_ = nullptr;
    QLabel* progress_ = nullptr;
    std::vector<QAction*> disabledWhileRunning_;
    std::vector<QAction*> needResult_;
    QAction* save_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* apply_ = nullptr;
    std::optional<Shown> shown_;
    std::optional<Shown> pending_;  // what the running job computes, without its result yet
    bool shownBefore_ = false;
    QString folder_;           // where the last file was opened or saved
    QString fitFile_;          // the fit file the form came from or was saved to
    std::string savedKey_;     // the form as it was last opened or saved
    bool resultSaved_ = true;  // the result on view is in that file (or there is none)
    WindowDialogs dialogs_;
    SaveQuestionHook saveQuestionHook_;
    std::unique_ptr<BackgroundFit> job_;  // while a fit or the runs of a result go
};

}  // namespace tesmo::qt
