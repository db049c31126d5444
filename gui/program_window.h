// The program's main window: the menu bar above the client area frm_TesmoGegen, the status bar
// below it.
//
// The client area keeps its size and every control its place; the window grows by the heights
// of the two bars. On a screen too small for that (a laptop, or a large screen scaled to 150 %)
// the client area, still 1020 × 739 logical pixels, sits in a scroll area and the window fits
// the screen.
//
// "Datei" opens and saves case files (.tgcase), remembers the last eight and offers the
// exports; a file named on the command line or dropped on the window opens in the window of its
// kind (a study file in "Parameterstudie", a fit file in "Anpassung an Messungen"). The window
// knows whether the seventeen texts differ from the last opened or saved case (or from the defaults
// after Neu) and asks before anything would discard them. While a run is going (also paused)
// nothing may replace the inputs or export half a run: Neu, Öffnen, Zuletzt geöffnet and
// Exportieren are disabled; saving stays possible (the texts now in the fields). "Berechnung"
// chooses the second drying period's air balance for the next Start; a case file keeps it, and the
// status bar names it while it is not the standard one. "Studie" opens the parameter study window
// (study_window.h) and the window that fits inputs to measured drying curves (fit_window.h);
// neither touches the run.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QKeySequence>
#include <QMainWindow>

#include "gui/main_window.h"
#include "gui/save_question.h"
#include "model/inputs.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;

namespace tesmo::qt {

class FitWindow;
class ProgramStatus;
class RunDiagrams;
class StudyWindow;

class ProgramWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kRecentCount = 8;

    explicit ProgramWindow(RunState& state, QWidget* parent = nullptr);
    ~ProgramWindow() override;

    frm_TesmoGegen& client() { return *client_; }
    ProgramStatus& status() const { return *status_; }

    // --- files, without file dialogs (the menu's dialogs end here; tests call them directly) --
    // Opens a file in the window of its kind: a study file in the study window, a fit file in
    // the fit window, anything else
    // as a case file in the fields; first asks about unsaved changes that it would replace.
    // False if it was refused or the question was answered with Abbrechen.
    bool openFile(const QString& path);
    // Fills the seventeen fields with the case file's texts and starts nothing; asks nothing. A
    // refused file leaves the fields as they were and shows the reader's message.
    bool openCase(const QString& path);
    // Saves the texts now in the fields, atomically; the message on failure. The file becomes
    // the current one (Speichern writes to it again).
    bool saveCaseAs(const QString& path);
    // The file the fields came from or were last saved to (empty: none).
    const QString& currentFile() const { return currentFile_; }
    // The recently opened or saved files, newest first (kept with QSettings).
    QStringList recentFiles() const;
    // Whether the seventeen texts (or the run modes) differ from the last opened or saved case,
    // or from the defaults after Neu and at the start.
    bool hasUnsavedChanges() const;
    // The run modes of the next Start: the menu's check marks, the status bar's indicator and
    // the run control follow them.
    void setRunOptions(const RunOptions& options);
    // Before the texts are replaced or the program ends: "Änderungen an … speichern?" when
    // there are unsaved changes. True when the texts may go (saved, discarded, or none).
    bool maybeSave();

    // --- menus ------------------------------------------------------------------------------
    // The menus in the menu bar's order; each is created by its first use.
    enum class Menu { Datei, Bearbeiten, Ansicht, Berechnung, Studie, Hilfe, Count };
    QMenu* menu(Menu which);
    // Adds an entry (its object name, text with mnemonic, what it does, shortcuts).
    QAction* addEntry(QMenu* menu, const char* name, const QString& text,
                      const std::function<void()>& what, const QList<QKeySequence>& keys = {});

    // An entry of "Datei → Exportieren": its caption and what it does with the chosen path.
    struct Export {
        const char* name;    // the action's object name
        QString caption;     // e.g. "Diagramme als S&VG…"
        QString fileFilter;  // for the file dialog; empty: a folder is chosen
        QString suffix;      // appended when the user typed none
        std::function<bool(const QString& path, QString& message)> write;
    };
    // Carries out the export whose action has that object name into `path`, without a dialog;
    // the message on failure. False also when there is no such export.
    bool exportTo(const QString& actionName, const QString& path);

    // "Studie → Parameterstudie…": the one study window, created on first use, shown and raised.
    void showStudy();
    // "Studie → Unsicherheitsstudie…": the same window with its kind "Unsicherheit" shown.
    void showUncertaintyStudy();
    StudyWindow* studyWindow() const { return study_.get(); }
    // "Studie → Anpassung an Messungen…": the one fit window, likewise.
    void showFit();
    FitWindow* fitWindow() const { return fit_.get(); }

    // The runs kept for the diagram window, its menu entries and the copy of the results.
    RunDiagrams& diagrams() const { return *diagrams_; }

    QAction* action(const QString& objectName) const;
    // Instead of message boxes and the question about unsaved changes (tests).
    void setMessageHook(std::function<void(const QString&)> hook);
    void setSaveQuestionHook(SaveQuestionHook hook);

    // --- screen -----------------------------------------------------------------------------
    // Fits the window to a screen's available area: when the window with its bars does not fit,
    // the client area goes into a scroll area and the window takes the area's size; otherwise
    // the window keeps its fixed size around the bare client area. Called when the window is
    // shown and when it moves to another screen.
    void fitToScreen(const QRect& available);
    bool scrolls() const { return scroll_ != nullptr; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildFileMenu();
    void buildCalculationMenu();
    void buildStudyMenu();
    void buildHelpMenu();
    void connectKeyboard();
    void newCase();
    void openWithDialog();
    bool save();
    bool saveWithDialog();
    void addExport(Export e);
    void addRunExports();
    void runExport(const Export& e);
    void manual(Control field = Control::Count);
    void about();
    void rememberFile(const QString& path);
    void fillRecentMenu();
    void runningChanged();
    void showDocumentState();
    void showRunOptions();
    void showMessage(const QString& text);
    void takeAsSaved(const QString& path, const InputTexts& texts);
    InputTexts fieldTexts() const;
    QSize naturalSize() const;

    frm_TesmoGegen* client_ = nullptr;
    ProgramStatus* status_ = nullptr;
    QScrollArea* scroll_ = nullptr;  // holds the client area on a small screen
    std::array<QMenu*, static_cast<std::size_t>(Menu::Count)> menus_{};
    QMenu* recentMenu_ = nullptr;
    QMenu* exportMenu_ = nullptr;
    QAction* luftbilanz_ = nullptr;      // Berechnung → Korrigierte Luftbilanz
    QLabel* calculationMode_ = nullptr;  // the status bar's words for the modes not at default
    std::vector<QAction*> disabledWhileRunning_;
    QString currentFile_;
    InputTexts savedTexts_;  // what the fields held when last opened, saved or reset
    std::vector<Export> exports_;
    std::function<void(const QString&)> messageHook_;
    SaveQuestionHook saveQuestionHook_;
    bool fittedOnce_ = false;
    std::unique_ptr<StudyWindow> study_;  // a window of its own, not a child: see showStudy()
    std::unique_ptr<FitWindow> fit_;      // likewise
    RunDiagrams* diagrams_ = nullptr;     // a child QObject
};

// The first file among dropped or opened URLs that the program opens (a case, study or fit file,
// by its suffix); empty if none.
QString openableFileAmong(const QList<QUrl>& urls);

}  // namespace tesmo::qt
