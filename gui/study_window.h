// The study window: two kinds of study around a base case, each on a tab of its own.
// "Parameterstudie": one or two varied inputs, run on every core in the background, its
// results as a sortable table and a chart. "Unsicherheit": inputs drawn from distributions (see
// uncertainty_page.h), the statistics and sensitivity indices of the results. The menus act on
// the kind shown.
//
// Threads: the study runs in a BackgroundStudy (its own threads, one run state each). Nothing
// of this window is touched there: the workers only emit resultsWaiting(), which reaches
// takeResults() queued, on the window's thread. The main window and its run state are never
// touched by the study; a double-clicked row only puts its texts into the main window's fields.
// Closing this window cancels a running study (it ends within milliseconds) and keeps the rows
// and the form, so nothing is lost; opening another study, and the end of the program, ask
// first when the form holds a study that was not saved. Destroying it waits for the workers.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QMainWindow>

#include "files/table_format.h"
#include "gui/save_question.h"
#include "gui/work_window_parts.h"
#include "study/background_study.h"

class QAction;
class QComboBox;
class QTabWidget;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace tesmo::qt {

class frm_TesmoGegen;
class PlotWidget;
class StudySetupPanel;
class StudySortModel;
class StudyTableModel;
class UncertaintyPage;

class StudyWindow : public QMainWindow {
    Q_OBJECT
  public:
    enum class Kind { Parameter, Uncertainty };

    explicit StudyWindow(frm_TesmoGegen& main, QWidget* parent = nullptr);
    ~StudyWindow() override;

    // The kind of study shown, and the page of the uncertainty study.
    Kind kind() const;
    void showKind(Kind kind);
    UncertaintyPage& uncertainty() const { return *uncertainty_; }

    // Shows the window, the first time with the main window's texts as the base case, and
    // raises it.
    void showAndRaise();

    // --- what the buttons and menus do (tests call them directly) ----------------------------
    void takeBaseFromMain();
    // Berechnen: false (and nothing starts) for an invalid study or while one runs.
    bool startStudy();
    // Abbrechen: no new case starts; running ones stop at their next time step.
    void cancelStudy();
    bool running() const { return study_ != nullptr; }
    // Puts the texts of the case in the table's row `row` (the model's, i.e. case order) into
    // the main window's fields; asks first if a run is going there (the run goes on while the
    // question is open). True if they are in the fields now.
    bool applyCase(int row);
    // The result the chart shows (index into resultColumns()).
    void setChartResult(std::size_t column);

    // Puts the study file's base case and variations into the form; asks nothing.
    bool openStudy(const QString& path);
    bool saveStudyAs(const QString& path);
    // The file the form came from or was last saved to (empty: none).
    const QString& studyFile() const { return studyFile_; }
    // Whether the form holds a study (a valid one: only that can be saved) that differs from
    // the one last opened or saved.
    bool hasUnsavedChanges() const;
    // Before the form is replaced: "Änderungen an … speichern?" when there are unsaved changes.
    // True when the form may go (saved, discarded, or none).
    bool maybeSave();
    // Before the program ends: the same for both kinds of study.
    bool maybeSaveAll();
    // A .tguq file into the kind "Unsicherheit": asks first when the uncertainty study shown
    // is unsaved, refuses while it runs. True when it is open.
    bool openUncertaintyFile(const QString& path);
    // The runner's table (--table-format csv), or the variant for a German spreadsheet (de).
    bool exportTable(const QString& path);
    bool exportTableGerman(const QString& path);
    bool exportChartPng(const QString& path);
    bool exportChartSvg(const QString& path);

    StudySetupPanel& setup() const { return *setup_; }
    StudyTableModel& table() const { return *model_; }
    // The selected rows as the table shows them, for the clipboard: a header row of the
    // captions with their units, then one tab-separated row per selected case in the order
    // shown (decimal commas as in the window). Empty without a selection.
    QString selectedRowsText() const;
    // Ctrl+C in the table, "Bearbeiten → Zeilen kopieren": selectedRowsText() to the clipboard.
    void copySelectedRows();
    QTableView& tableView() const { return *view_; }
    PlotWidget& chart() const { return *chart_; }
    QAction* action(const QString& objectName) const;
    // Instead of message boxes (tests): messages, and questions answered by the hook.
    void setMessageHook(std::function<void(const QString&)> hook);
    void setQuestionHook(std::function<bool(const QString&)> hook);
    void setSaveQuestionHook(SaveQuestionHook hook);

  signals:
    // Emitted on a worker thread when outcomes or the study's end wait to be taken.
    void resultsWaiting();
    // The study has ended (finished or cancelled) and every outcome is in the table.
    void studyEnded();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildEditMenu();
    QWidget* buildParameterPage();
    QTableView* shownTable() const;
    bool writeTable(const QString& path, TableFormat format);
    QWidget* buildRunBox();
    QWidget* buildResults();
    void takeResults();
    void showProgress(const StudyProgress& progress);
    void studyFinished(const StudyProgress& progress, bool cancelled);
    void updateState();
    void fitColumns();
    void redrawChart();
    void showMessage(const QString& text);
    // Calls `yes` if the answer is yes; true if it has been called already.
    bool ask(const QString& question, const std::function<void()>& yes);
    // Dialogs of the file menu.
    QString savePath(const QString& caption, const QString& filter, const QString& suffix,
                     const QString& selected = {});
    void openWithDialog();
    bool saveWithDialog();
    void takeAsSaved(const QString& path);
    void showTitle();
    void exportWithDialog(const QString& caption, const QString& filter, const QString& suffix,
                          bool (StudyWindow::*write)(const QString&));
    void exportWithDialog(const QString& caption, const QString& filter, const QString& suffix,
                          const std::function<bool(const QString&)>& write);
    bool saveUncertaintyWithDialog();

    frm_TesmoGegen& main_;
    QTabWidget* kinds_ = nullptr;
    UncertaintyPage* uncertainty_ = nullptr;
    std::vector<QAction*> needAnalysis_;  // of the uncertainty study
    std::vector<QAction*> chartActions_;
    StudySetupPanel* setup_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    StudyTableModel* model_ = nullptr;
    StudySortModel* sorted_ = nullptr;
    QTableView* view_ = nullptr;
    QComboBox* result_ = nullptr;
    PlotWidget* chart_ = nullptr;
    QTimer* chartTimer_ = nullptr;
    std::vector<QAction*> disabledWhileRunning_;
    std::vector<QAction*> needRows_;
    QAction* save_ = nullptr;
    std::vector<Variation> variations_;  // of the study in the table
    bool shownBefore_ = false;
    QString folder_;         // where the last file was opened or saved
    QString studyFile_;      // the study file the form came from or was saved to
    std::string savedForm_;  // the form as it was last opened or saved (see hasUnsavedChanges)
    WindowDialogs dialogs_;
    SaveQuestionHook saveQuestionHook_;
    std::unique_ptr<BackgroundStudy> study_;  // while a study runs
};

}  // namespace tesmo::qt
