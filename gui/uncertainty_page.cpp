#include "gui/uncertainty_page.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>

#include "display/number_format.h"
#include "gui/study_table_model.h"
#include "gui/uncertainty_results.h"
#include "gui/uncertainty_setup_panel.h"
#include "gui/work_window_parts.h"
#include "plot/number_text.h"
#include "study/study_engine.h"
#include "study/study_form.h"
#include "uq/sample.h"

namespace tesmo::qt {

namespace {

// The column of the form and the run buttons; the results take the rest.
constexpr int kLeftWidth = 540;

QString timeText(std::chrono::steady_clock::duration d) {
    return QString::fromStdString(Zeitformat(std::chrono::duration<double>(d).count())).trimmed();
}

QString cases(std::size_t n) {
    return QString::fromStdString(caseCountText(n));
}

}  // namespace

UncertaintyPage::UncertaintyPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("unsicherheit"));
    setup_ = new UncertaintySetupPanel;
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(setup_);
    leftLayout->addWidget(buildRunBox());
    leftLayout->addStretch(1);
    results_ = new UncertaintyResults;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(formBesideResults(left, results_, kLeftWidth));

    connect(this, &UncertaintyPage::resultsWaiting, this, &UncertaintyPage::takeResults,
            Qt::QueuedConnection);
    connect(setup_, &UncertaintySetupPanel::changed, this, &UncertaintyPage::updateState);
    takeAsSaved({});
}

UncertaintyPage::~UncertaintyPage() {
    // The workers first (raises the cancel flag and waits), then the analysis (its future
    // waits for its thread); what they post to this page is dropped with it.
    study_.reset();
    if (analysis_.valid()) analysis_.wait();
}

QWidget* UncertaintyPage::buildRunBox() {
    const RunBox r =
        makeRunBox(QStringLiteral("Be&rechnen"), QStringLiteral("Abbre&chen"), QStringLiteral("uq"));
    start_ = r.start;
    cancel_ = r.cancel;
    progress_ = r.progress;
    status_ = r.status;
    connect(start_, &QPushButton::clicked, this, &UncertaintyPage::startStudy);
    connect(cancel_, &QPushButton::clicked, this, &UncertaintyPage::cancelStudy);
    return r.box;
}

void UncertaintyPage::setMessenger(std::function<void(const QString&)> show) {
    show_ = std::move(show);
}

void UncertaintyPage::setSaveQuestionHook(SaveQuestionHook hook) {
    saveQuestionHook_ = std::move(hook);
}

bool UncertaintyPage::hasAnalysis() const {
    return results_->analysis().has_value();
}

bool UncertaintyPage::startStudy() {
    const UncertaintyFormCheck& check = setup_->check();
    if (running() || !check.ok()) return false;
    UncertaintyPlan plan = check.plan;
    plan.name = studyFile_.toStdString();
    // Drawing a sample of the window's largest size takes a few tens of milliseconds.
    auto sample = std::make_shared<const UncertaintySample>(drawSample(plan));
    const CaseList cases = sampleCases(plan, *sample);
    const unsigned jobs = defaultJobs();
    try {
        study_ = std::make_unique<BackgroundStudy>(cases, jobs, [this] { emit resultsWaiting(); });
    } catch (const StudyFailure& failure) {
        if (show_) show_(QString::fromUtf8(failure.what()));
        return false;
    }
    plan_ = std::move(plan);
    sample_ = std::move(sample);
    results_->reset(cases);
    progress_->setRange(0, static_cast<int>(cases.size()));
    progress_->setValue(0);
    progress_->show();
    status_->setText(jobs == 1 ? QStringLiteral("Die Studie läuft …")
                               : QStringLiteral("Die Studie läuft auf %1 Kernen …").arg(jobs));
    updateState();
    return true;
}

void UncertaintyPage::cancelStudy() {
    if (study_) study_->cancel();
}

void UncertaintyPage::takeResults() {
    if (!study_) return;  // a wake of a study already taken in whole
    BackgroundStudy::Arrived arrived = study_->take();
    results_->append(std::move(arrived.outcomes));
    if (!arrived.ended) {
        progress_->setValue(static_cast<int>(arrived.progress.done));
        if (arrived.progress.done > 0)
            status_->setText(
                QStringLiteral("Zeit %1, noch etwa %2")
                    .arg(timeText(arrived.progress.elapsed), timeText(arrived.progress.remaining)));
        return;
    }
    const bool cancelled = study_->cancelled();
    study_.reset();  // the workers have returned: this only joins their thread
    casesEnded(arrived.progress, cancelled, arrived.failure);
}

void UncertaintyPage::casesEnded(const StudyProgress& p, bool cancelled,
                                 const std::string& failure) {
    const std::size_t done = results_->table().outcomes().size();
    progress_->setValue(static_cast<int>(done));
    if (cancelled || !failure.empty()) {
        status_->setText(QStringLiteral("Abgebrochen: %1 von %2 berechnet; die Auswertung "
                                        "braucht alle Fälle.")
                             .arg(done)
                             .arg(cases(sample_->rows)));
        results_->showNoAnalysis(
            QStringLiteral("Keine Auswertung: die Studie wurde abgebrochen, bevor alle Fälle "
                           "gerechnet waren."));
        updateState();
        emit studyEnded();
        emit analysisEnded();
        if (!failure.empty() && show_) show_(QString::fromStdString(failure));
        return;
    }
    status_->setText(QStringLiteral("%1 berechnet in %2; die Auswertung läuft …")
                         .arg(cases(done), timeText(p.elapsed)));
    startAnalysis();
    updateState();
    emit studyEnded();
}

void UncertaintyPage::startAnalysis() {
    // The analysis takes up to about a second for a thousand cases (the bootstrap and the
    // surrogate's fit): off the window's thread, so that the window stays responsive. It works
    // on copies; OpenTURNS' shared generator is guarded by the uncertainty library.
    analysisStart_ = std::chrono::steady_clock::now();
    analysis_ = std::async(std::launch::async, [this, plan = *plan_, sample = sample_,
                                                outcomes = results_->table().outcomes()] {
        UncertaintyAnalysis a = analyseUncertainty(plan, *sample, outcomes);
        QMetaObject::invokeMethod(
            this, [this] { takeAnalysis(); }, Qt::QueuedConnection);
        return a;
    });
}

void UncertaintyPage::takeAnalysis() {
    if (!analysis_.valid()) return;
    UncertaintyAnalysis a;
    QString problem;
    try {
        a = analysis_.get();
    } catch (const std::exception& e) {
        problem = QStringLiteral("Die Auswertung ist fehlgeschlagen: %1")
                      .arg(QString::fromUtf8(e.what()));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - analysisStart_).count();
    if (problem.isEmpty()) {
        results_->showAnalysis(*plan_, a);
        QString text = status_->text();
        text.replace(QStringLiteral("die Auswertung läuft …"),
                     QStringLiteral("ausgewertet in %1 s.")
                         .arg(QString::fromStdString(decimalText(seconds, 1))));
        if (a.unfinished.count > 0)
            text += QStringLiteral(" %1 nicht fertig gerechnet.").arg(cases(a.unfinished.count));
        status_->setText(text);
    } else {
        results_->showNoAnalysis(problem);
        status_->setText(problem);
    }
    updateState();
    emit analysisEnded();
}

void UncertaintyPage::updateState() {
    const bool run = running();
    start_->setEnabled(!run && setup_->check().ok());
    cancel_->setEnabled(study_ != nullptr);
    setup_->setEnabled(!run);
    emit stateChanged();
}

}  // namespace tesmo::qt
