// The diagram window: numeric diagrams of the runs of this session, to read values off them
// and to lay runs over each other.
//
// On the left the diagrams (one shown at a time, at the window's full size, so that values can
// be read off closely) and the kept runs, each with a tick that lays it into the diagram; on
// the right the diagram, which follows the mouse with a crosshair and a read-out. History
// files (the runner's --csv, "Verläufe als CSV…") open as runs of their own. The shown diagram
// goes to PNG (twice the size on screen), SVG, PDF or the clipboard. The window is not modal,
// can be resized and remembers its place and size.
#pragma once

#include <functional>

#include <QMainWindow>

#include "display/run_shelf.h"
#include "plot/run_charts.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tesmo::qt {

class PlotWidget;

class DiagramWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit DiagramWindow(RunShelf& shelf, QWidget* parent = nullptr);
    ~DiagramWindow() override;

    // Shown where it was last, and raised.
    void showAndRaise();
    // The kept runs have changed (a run was kept, one was dropped): list and diagram anew.
    void runsChanged();

    void setChart(RunChart chart);
    RunChart chart() const { return chart_; }
    void setRunShown(int number, bool shown);
    void removeRun(int number);
    void removeAllRuns();
    // Reads a history table and keeps it as a run; the reader's message when refused.
    bool openHistory(const QString& path);

    // The shown diagram into a file, or onto the clipboard as an image (at twice the size on
    // the screen). The message on failure.
    bool exportPng(const QString& path);
    bool exportSvg(const QString& path);
    bool exportPdf(const QString& path);
    void copyChart();

    // What the diagram shows now, and the widget that shows it.
    PlotSpec currentSpec() const;
    PlotWidget& plot() const { return *plot_; }
    QListWidget& runList() const { return *runs_; }
    QAction* action(const QString& objectName) const;
    // Instead of a message box, hand messages to this function (tests).
    void setMessageHook(std::function<void(const QString&)> hook);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildMenus();
    QWidget* buildSide();
    void fillRunList();
    void redraw();
    void runItemChanged(QListWidgetItem* item);
    void removeSelectedRun();
    void openWithDialog();
    void exportWithDialog(const QString& caption, const QString& filter, const QString& suffix,
                          bool (DiagramWindow::*write)(const QString&));
    std::vector<ChartRun> shownRuns() const;
    QSize fileSize() const;
    void rememberGeometry();
    void showMessage(const QString& text);

    RunShelf& shelf_;
    RunChart chart_ = RunChart::Wasserbeladung;
    QListWidget* charts_ = nullptr;
    QListWidget* runs_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* removeAll_ = nullptr;
    PlotWidget* plot_ = nullptr;
    QLabel* readout_ = nullptr;
    QString folder_;
    bool placed_ = false;
    bool filling_ = false;
    std::function<void(const QString&)> messageHook_;
};

}  // namespace tesmo::qt
