// What the main window offers for reading numbers off its runs, beside the run itself: the
// runs of this session kept for the diagram window ("Ansicht → Diagramme…", Ctrl+D) and the
// result fields copied for a spreadsheet ("Bearbeiten → Ergebnisse kopieren").
//
// A run is kept when it has ended (finished, stopped or cut short), whether the diagram window
// is open or not; the window keeps the last eight.
#pragma once

#include <memory>

#include <QObject>

#include "display/run_capture.h"
#include "display/run_shelf.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tesmo::qt {

class DiagramWindow;
class ProgramWindow;

class RunDiagrams : public QObject {
    Q_OBJECT
  public:
    // Adds the menu entries to the program window's menu bar and keeps its runs from now on.
    explicit RunDiagrams(ProgramWindow& program);
    ~RunDiagrams() override;

    // The run control's state has changed: a run that has just ended is kept.
    void runStateChanged();

    // "Ansicht → Diagramme…": the one diagram window, created on first use, shown and raised.
    void showDiagrams();
    DiagramWindow* diagramWindow() const { return window_.get(); }
    RunShelf& shelf() { return shelf_; }
    // "Bearbeiten → Ergebnisse kopieren": the shown result fields onto the clipboard.
    void copyResults();

  private:
    void addMenuEntries();

    ProgramWindow& program_;
    RunCapture capture_;
    RunShelf shelf_;
    std::unique_ptr<DiagramWindow> window_;  // a window of its own, like the study window
    QAction* copyResults_ = nullptr;
    bool wasRunning_ = false;
};

}  // namespace tesmo::qt
