#include "gui/program_status.h"

#include <QDir>
#include <QLabel>

#include "gui/save_question.h"

namespace tesmo::qt {

namespace {

QLabel* statusLabel(const QString& objectName, const QString& accessibleName) {
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setAccessibleName(accessibleName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

ProgramStatus::ProgramStatus(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusleiste"));
    // The window has a fixed size on a screen that holds it; a grip would promise otherwise.
    setSizeGripEnabled(false);
    document_ = statusLabel(QStringLiteral("dokument"), QStringLiteral("Falldatei"));
    run_ = statusLabel(QStringLiteral("laufzustand"), QStringLiteral("Rechenlauf"));
    // A long file name is cut at the bar's end (the tooltip has it whole): it must not widen
    // the window, whose width is the client area's.
    document_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(document_, 1);
    addPermanentWidget(run_);
}

void ProgramStatus::showDocument(const QString& path, bool modified) {
    const QString name = documentName(path);
    document_->setText(modified ? name + QStringLiteral(" *") : name);
    QString tip =
        path.isEmpty() ? QStringLiteral("Noch nicht gespeichert") : QDir::toNativeSeparators(path);
    if (modified) tip += QStringLiteral(" – ungespeicherte Änderungen");
    document_->setToolTip(tip);
    document_->setAccessibleDescription(tip);
}

void ProgramStatus::showRunPhase(RunPhase phase) {
    run_->setText(QString::fromUtf8(runPhaseWord(phase)));
}

QLabel* ProgramStatus::addIndicator(const QString& objectName, const QString& accessibleName) {
    QLabel* label = statusLabel(objectName, accessibleName);
    // Index 0 is the document; the indicators follow in the order added, then the run state.
    insertPermanentWidget(1 + indicators_, label);
    ++indicators_;
    return label;
}

}  // namespace tesmo::qt
