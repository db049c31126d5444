// The program's main window: the menu bar above the client area frm_TesmoGegen.
//
// The client area keeps its size and every control its place; the window grows by the height
// of the menu bar. "Datei" opens and saves case files (.tgcase), remembers the last eight and
// offers the exports; a case file dropped on the window opens as well. While a run is going
// (also paused) nothing may replace the inputs or export half a run: Neu, Öffnen, Zuletzt
// geöffnet and Exportieren are disabled; saving stays possible (the texts now in the fields).
// "Studie" opens the parameter study window (study_window.h), which never touches the run.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "gui/main_window.h"
#include "model/inputs.h"

class QAction;
class QMenu;

namespace tesmo::qt {

class RunDiagrams;
class StudyWindow;

class ProgramWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kRecentCount = 8;

    explicit ProgramWindow(RunState& state, QWidget* parent = nullptr);
    ~ProgramWindow() override;

    frm_TesmoGegen& client() { return *client_; }

    // --- files, without dialogs (the menu's dialogs end here; tests call them directly) -------
    // Fills the seventeen fields with the file's texts and starts nothing. A refused file
    // leaves the fields as they were and shows the reader's message. False if refused.
    bool openCase(const QString& path);
    // Saves the texts now in the fields, atomically; the message on failure. The file becomes
    // the current one (Speichern writes to it again).
    bool saveCaseAs(const QString& path);
    // The file the fields came from or were last saved to (empty: none).
    const QString& currentFile() const { return currentFile_; }
    // The recently opened or saved files, newest first (kept with QSettings).
    QStringList recentFiles() const;

    // An entry of "Datei → Exportieren": its caption and what it does with the chosen path.
    struct Export {
        const char* name;    // the action's object name
        QString caption;     // e.g. "Diagramme als SVG…"
        QString fileFilter;  // for the file dialog; empty: a folder is chosen
        QString suffix;      // appended when the user typed none
        std::function<bool(const QString& path, QString& message)> write;
    };
    // Carries out the export whose action has that object name into `path`, without a dialog;
    // the message on failure. False also when there is no such export.
    bool exportTo(const QString& actionName, const QString& path);

    // "Studie → Parameterstudie…": the one study window, created on first use, shown and raised.
    void showStudy();
    StudyWindow* studyWindow() const { return study_.get(); }

    // The runs kept for the diagram window, its menu entries and the copy of the results.
    RunDiagrams& diagrams() const { return *diagrams_; }

    QAction* action(const QString& objectName) const;
    // Instead of a message box, hand messages to this function (tests).
    void setMessageHook(std::function<void(const QString&)> hook);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenus();
    void newCase();
    void openWithDialog();
    void save();
    void saveWithDialog();
    void addExport(Export e);
    void addRunExports();
    void runExport(const Export& e);
    void manual();
    void about();
    void rememberFile(const QString& path);
    void fillRecentMenu();
    void runningChanged(bool running);
    void showMessage(const QString& text);
    InputTexts fieldTexts() const;

    frm_TesmoGegen* client_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* exportMenu_ = nullptr;
    std::vector<QAction*> disabledWhileRunning_;
    QString currentFile_;
    std::vector<Export> exports_;
    std::function<void(const QString&)> messageHook_;
    std::unique_ptr<StudyWindow> study_;  // a window of its own, not a child: see showStudy()
    RunDiagrams* diagrams_ = nullptr;     // a child QObject
};

// A case file (.tgcase) among dropped or opened URLs; empty if none.
QString caseFileAmong(const QList<QUrl>& urls);

}  // namespace tesmo::qt
