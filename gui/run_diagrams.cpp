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

namespace {

const QStringList kMenuOrder = {QStringLiteral("Datei"),   QStringLiteral("Bearbeiten"),
                                QStringLiteral("Ansicht"), QStringLiteral("Berechnung"),
                                QStringLiteral("Studie"),  QStringLiteral("Hilfe")};

QString plainTitle(QString title) {
    return title.remove(QLatin1Char('&'));
}

}  // namespace

QMenu* menuInOrder(QMenuBar* bar, const QString& title) {
    const QString plain = plainTitle(title);
    const int rank = static_cast<int>(kMenuOrder.indexOf(plain));
    QAction* before = nullptr;
    for (QAction* a : bar->actions()) {
        QMenu* menu = a->menu();
        if (!menu) continue;
        const QString other = plainTitle(menu->title());
        if (other == plain) return menu;
        const int otherRank = static_cast<int>(kMenuOrder.indexOf(other));
        if (!before && rank >= 0 && otherRank > rank) before = a;
    }
    auto* menu = new QMenu(title, bar);
    bar->insertMenu(before, menu);
    return menu;
}

RunDiagrams::RunDiagrams(ProgramWindow& program) : QObject(&program), program_(program) {
    program_.client().setCapture(&capture_);
    addMenuEntries();
    runStateChanged();
}

// Destroyed with the program window, after its client area (created first), which is the only
// user of the capture.
RunDiagrams::~RunDiagrams() = default;

void RunDiagrams::addMenuEntries() {
    QMenu* bearbeiten = menuInOrder(program_.menuBar(), QStringLiteral("&Bearbeiten"));
    bearbeiten->menuAction()->setObjectName(QStringLiteral("bearbeiten"));
    copyResults_ = bearbeiten->addAction(QStringLiteral("&Ergebnisse kopieren"));
    copyResults_->setObjectName(QStringLiteral("ergebnisseKopieren"));
    // Ctrl+C stays with the fields, which copy their selected text with it.
    copyResults_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(copyResults_, &QAction::triggered, this, &RunDiagrams::copyResults);

    QMenu* ansicht = menuInOrder(program_.menuBar(), QStringLiteral("&Ansicht"));
    ansicht->menuAction()->setObjectName(QStringLiteral("ansicht"));
    QAction* diagrams = ansicht->addAction(QStringLiteral("&Diagramme…"));
    diagrams->setObjectName(QStringLiteral("diagramme"));
    diagrams->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(diagrams, &QAction::triggered, this, &RunDiagrams::showDiagrams);
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
