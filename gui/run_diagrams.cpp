#include "gui/run_diagrams.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

#include "display/clipboard_text.h"
#include "display/run_record.h"
#include "gui/diagram_window.h"
#include "gui/program_window.h"

namespace tesmo::qt {

RunDiagrams::RunDiagrams(ProgramWindow& program) : QObject(&program), program_(program) {
    program_.client().setCapture(&capture_);
    addMenuEntries();
    runStateChanged();
}

// Destroyed with the program window, after its client area (created first), which is the only
// user of the capture.
RunDiagrams::~RunDiagrams() = default;

void RunDiagrams::addMenuEntries() {
    QMenu* bearbeiten = program_.menu(ProgramWindow::Menu::Bearbeiten);
    bearbeiten->menuAction()->setObjectName(QStringLiteral("bearbeiten"));
    // Ctrl+C stays with the fields, which copy their selected text with it.
    copyResults_ = program_.addEntry(
        bearbeiten, "ergebnisseKopieren", QStringLiteral("&Ergebnisse kopieren"),
        [this] { copyResults(); }, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});

    QMenu* ansicht = program_.menu(ProgramWindow::Menu::Ansicht);
    ansicht->menuAction()->setObjectName(QStringLiteral("ansicht"));
    program_.addEntry(ansicht, "diagramme", QStringLiteral("&Diagramme…"),
                      [this] { showDiagrams(); }, {QKeySequence(Qt::CTRL | Qt::Key_D)});
}

void RunDiagrams::runStateChanged() {
    const RunControl& run = program_.client().runControl();
    const bool running = run.running();
    if (wasRunning_ && !running && run.resultsShown()) {
        shelf_.add(recordOfRun(program_.client().state(), &capture_, run.startTexts()));
        if (window_) window_->runsChanged();
    }
    wasRunning_ = running;
    copyResults_->setEnabled(!running && run.resultsShown());
}

void RunDiagrams::showDiagrams() {
    if (!window_) window_ = std::make_unique<DiagramWindow>(shelf_);
    window_->showAndRaise();
}

void RunDiagrams::copyResults() {
    const std::string text = resultFieldsText(program_.client());
    if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace tesmo::qt
