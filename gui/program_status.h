// The status bar under the main window's client area: on the left the case file's name (or
// "unbenannt") with a mark for unsaved changes, on the right the run state (bereit, läuft,
// angehalten, beendet). Between them stand permanent indicators that other parts of the
// program add with addIndicator(), e.g. a calculation mode.
#pragma once

#include <QStatusBar>

#include "display/run_phase.h"

class QLabel;

namespace tesmo::qt {

class ProgramStatus : public QStatusBar {
    Q_OBJECT
  public:
    explicit ProgramStatus(QWidget* parent = nullptr);

    // `path` empty: a case never saved. `modified`: the fields differ from the file (or from
    // the defaults after Neu).
    void showDocument(const QString& path, bool modified);
    void showRunPhase(RunPhase phase);

    // A permanent indicator, left of the run state, in the order added; empty until set.
    QLabel* addIndicator(const QString& objectName, const QString& accessibleName);

    QLabel* documentLabel() const { return document_; }
    QLabel* runLabel() const { return run_; }

  private:
    QLabel* document_ = nullptr;
    QLabel* run_ = nullptr;
    int indicators_ = 0;
};

}  // namespace tesmo::qt
