#include "gui/study_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>

#include "display/number_format.h"
#include "gui/decorations.h"
#include "gui/main_window.h"
#include "gui/plot_widget.h"
#include "gui/screen_room.h"
#include "gui/standard_keys.h"
#include "gui/study_setup_panel.h"
#include "gui/study_table_model.h"
#include "gui/uncertainty_page.h"
#include "gui/uncertainty_results.h"
#include "gui/uncertainty_setup_panel.h"
#include "gui/work_window_parts.h"
#include "study/result_view.h"
#include "study/study_chart.h"

namespace tesmo::qt {

namespace {

const QString kTitle = QStringLiteral("Parameterstudie");
// While rows arrive the chart is redrawn at most this often (a redraw walks all rows).
constexpr int kChartRedrawMs = 200;
// The column of base case, varied inputs and run buttons; the results take the rest.
constexpr int kLeftWidth = 440;

QString timeText(std::chrono::steady_clock::duration d) {
    return QString::fromStdString(Zeitformat(std::chrono::duration<double>(d).count())).trimmed();
}

QString cases(std::size_t n) {
    return QString::fromStdString(caseCountText(n));
}

}  // namespace

StudyWindow::StudyWindow(frm_TesmoGegen& main, QWidget* parent)
    : QMainWindow(parent), main_(main), dialogs_(this, kTitle) {
    setObjectName(QStringLiteral("parameterstudie"));
    setWindowIcon(applicationIcon());
    // The program ends when its main window closes, whether this window is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    uncertainty_ = new UncertaintyPage;
    kinds_ = new QTabWidget;
    kinds_->setObjectName(QStringLiteral("studienart"));
    kinds_->setDocumentMode(true);
    kinds_->addTab(buildParameterPage(), QStringLiteral("&Parameterstudie"));
    kinds_->addTab(uncertainty_, QStringLiteral("&Unsicherheit"));
    kinds_->setTabToolTip(0, QStringLiteral("Eine oder zwei Eingaben über einen Bereich oder "
                                            "eine Liste von Werten variieren"));
    kinds_->setTabToolTip(1, QStringLiteral("Unsichere Eingaben aus Verteilungen ziehen: "
                                            "Streuung und Sensitivität der Ergebnisse"));
    setCentralWidget(kinds_);
    buildMenus();
    resize(1320, 860);

    connect(this, &StudyWindow::resultsWaiting, this, &StudyWindow::takeResults,
            Qt::QueuedConnection);
    connect(setup_, &StudySetupPanel::changed, this, &StudyWindow::updateState);
    connect(setup_, &StudySetupPanel::baseRequested, this, &StudyWindow::takeBaseFromMain);
    connect(kinds_, &QTabWidget::currentChanged, this, [this] {
        showTitle();
        updateState();
    });
    connect(uncertainty_, &UncertaintyPage::stateChanged, this, &StudyWindow::updateState);
    connect(&uncertainty_->setup(), &UncertaintySetupPanel::baseRequested, this,
            &StudyWindow::takeBaseFromMain);
    connect(&uncertainty_->setup(), &UncertaintySetupPanel::fitRequested, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Anpassung wählen"), folder_,
            QStringLiteral("Tesmo-Gegen-Anpassungen (*.tgfit);;Alle Dateien (*)"));
        if (!path.isEmpty()) uncertainty_->setup().setFitFile(path);
    });
    uncertainty_->setMessenger([this](const QString& m) { showMessage(m); });
    takeAsSaved({});
    updateState();
}

QWidget* StudyWindow::buildParameterPage() {
    setup_ = new StudySetupPanel;
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(setup_);
    leftLayout->addWidget(buildRunBox());
    leftLayout->addStretch(1);
    return formBesideResults(left, buildResults(), kLeftWidth);
}

StudyWindow::Kind StudyWindow::kind() const {
    return kinds_->currentIndex() == 1 ? Kind::Uncertainty : Kind::Parameter;
}

void StudyWindow::showKind(Kind kind) {
    kinds_->setCurrentIndex(kind == Kind::Uncertainty ? 1 : 0);
}

StudyWindow::~StudyWindow() {
    // Raises the cancel flag and waits for the workers before anything they could signal to
    // is taken down (the uncertainty page waits for its own as it goes).
    study_.reset();
}

QWidget* StudyWindow::buildRunBox() {
    const RunBox r = makeRunBox(QStringLiteral("Berechnen"), QStringLiteral("Abbrechen"));
    start_ = r.start;
    cancel_ = r.cancel;
    progress_ = r.progress;
    status_ = r.status;
    connect(start_, &QPushButton::clicked, this, &StudyWindow::startStudy);
    connect(cancel_, &QPushButton::clicked, this, &StudyWindow::cancelStudy);
    return r.box;
}

QWidget* StudyWindow::buildResults() {
    model_ = new StudyTableModel(this);
    sorted_ = new StudySortModel(this);
    sorted_->setSourceModel(model_);
    view_ = caseTableView(sorted_, QStringLiteral("ergebnisse"));
    connect(view_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { applyCase(sorted_->mapToSource(index).row()); });

    result_ = new QComboBox;
    result_->setObjectName(QStringLiteral("ergebnis"));
    for (const ResultColumn& c : resultColumns())
        result_->addItem(QString::fromStdString(chartCaption(c)));
    result_->setCurrentIndex(static_cast<int>(resultIndex("Laufzeit")));
    connect(result_, &QComboBox::currentIndexChanged, this, &StudyWindow::redrawChart);
    chart_ = new PlotWidget;
    chart_->setObjectName(QStringLiteral("diagramm"));
    chartTimer_ = new QTimer(this);
    chartTimer_->setSingleShot(true);
    chartTimer_->setInterval(kChartRedrawMs);
    connect(chartTimer_, &QTimer::timeout, this, &StudyWindow::redrawChart);

    auto* chartBox = new QWidget;
    auto* choice = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Diagramm:"));
    label->setBuddy(result_);
    choice->addWidget(label);
    choice->addWidget(result_, 1);
    auto* chartLayout = new QVBoxLayout(chartBox);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addLayout(choice);
    chartLayout->addWidget(chart_, 1);

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(view_);
    split->addWidget(chartBox);
    split->setChildrenCollapsible(false);
    split->setSizes({360, 440});
    return split;
}

void StudyWindow::setMessageHook(std::function<void(const QString&)> hook) {
    dialogs_.setMessageHook(std::move(hook));
}

void StudyWindow::setQuestionHook(std::function<bool(const QString&)> hook) {
    dialogs_.setQuestionHook(std::move(hook));
}

void StudyWindow::setSaveQuestionHook(SaveQuestionHook hook) {
    uncertainty_->setSaveQuestionHook(hook);
    saveQuestionHook_ = std::move(hook);
}

void StudyWindow::showAndRaise() {
    if (!shownBefore_) {
        takeBaseFromMain();
        shownBefore_ = true;
        shrinkToScreen(*this);
    }
    show();
    raise();
    activateWindow();
}

void StudyWindow::takeBaseFromMain() {
    InputTexts base;
    for (int i = 0; i < kInputCount; ++i)
        base[controlAt(i)] = main_.text(controlAt(i));
    base.optionen = main_.runControl().runOptions();
    // The first time both kinds start from the main window; later the kind shown asks.
    if (!shownBefore_ || kind() == Kind::Parameter) setup_->setBase(base);
    if (!shownBefore_ || kind() == Kind::Uncertainty) uncertainty_->setup().setBase(base);
}

bool StudyWindow::startStudy() {
    const FormCheck& check = setup_->check();
    if (running() || !check.ok()) return false;
    CaseList cases(setup_->form().base, check.variations);
    const std::size_t count = cases.size();
    const unsigned jobs = defaultJobs();
    // The study's thread first: if the system refuses it, the rows of the last study stay.
    try {
        study_ = std::make_unique<BackgroundStudy>(cases, jobs, [this] { emit resultsWaiting(); });
    } catch (const StudyFailure& failure) {
        showMessage(QString::fromUtf8(failure.what()));
        return false;
    }
    variations_ = check.variations;
    view_->sortByColumn(0, Qt::AscendingOrder);
    model_->reset(cases);
    progress_->setRange(0, static_cast<int>(count));
    progress_->setValue(0);
    progress_->show();
    status_->setText(jobs == 1 ? QStringLiteral("Die Studie läuft …")
                               : QStringLiteral("Die Studie läuft auf %1 Kernen …").arg(jobs));
    redrawChart();
    updateState();
    return true;
}

void StudyWindow::cancelStudy() {
    if (study_) study_->cancel();
}

void StudyWindow::closeEvent(QCloseEvent* event) {
    // The rows stay; the workers end at their next time step and the end arrives as usual.
    cancelStudy();
    uncertainty_->cancelStudy();
    event->accept();
}

void StudyWindow::takeResults() {
    if (!study_) return;  // a wake of a study already taken in whole
    BackgroundStudy::Arrived arrived = study_->take();
    const bool first = model_->rowCount() == 0 && !arrived.outcomes.empty();
    model_->append(std::move(arrived.outcomes));
    if (first) fitColumns();
    if (!arrived.ended) {
        showProgress(arrived.progress);
        if (!chartTimer_->isActive()) chartTimer_->start();
        return;
    }
    const bool cancelled = study_->cancelled();
    study_.reset();  // the workers have returned: this only joins their thread
    studyFinished(arrived.progress, cancelled);
    // The system stopped the study: the rows computed so far stay, the reason is shown.
    if (!arrived.failure.empty()) showMessage(QString::fromStdString(arrived.failure));
}

void StudyWindow::showProgress(const StudyProgress& p) {
    progress_->setValue(static_cast<int>(p.done));
    if (p.done > 0)
        status_->setText(QStringLiteral("Zeit %1, noch etwa %2")
                             .arg(timeText(p.elapsed), timeText(p.remaining)));
}

void StudyWindow::studyFinished(const StudyProgress& p, bool cancelled) {
    chartTimer_->stop();
    const std::size_t done = model_->outcomes().size();
    progress_->setValue(static_cast<int>(done));
    std::size_t refused = 0, cutShort = 0;
    for (const CaseOutcome& o : model_->outcomes()) {
        refused += o.refused ? 1 : 0;
        cutShort += !o.refused && !finished(o) ? 1 : 0;
    }
    QString text =
        cancelled ? QStringLiteral("Abgebrochen: %1 von %2 berechnet.")
                        .arg(done)
                        .arg(cases(static_cast<std::size_t>(progress_->maximum())))
                  : QStringLiteral("%1 berechnet in %2.").arg(cases(done), timeText(p.elapsed));
    if (refused > 0) text += QStringLiteral(" %1 abgelehnt.").arg(cases(refused));
    if (cutShort > 0) text += QStringLiteral(" %1 vorzeitig beendet.").arg(cases(cutShort));
    status_->setText(text);
    fitColumns();
    redrawChart();
    updateState();
    emit studyEnded();
}

void StudyWindow::fitColumns() {
    // Wide enough for the header with its sort mark, and for the cells seen so far.
    view_->resizeColumnsToContents();
    const int mark = view_->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, view_);
    for (int c = 0; c < model_->columnCount(); ++c)
        view_->setColumnWidth(c, view_->columnWidth(c) + mark);
}

void StudyWindow::updateState() {
    const bool run = running();
    start_->setEnabled(!run && setup_->check().ok());
    cancel_->setEnabled(run);
    setup_->setEnabled(!run);
    // The menus act on the kind shown.
    const bool uq = kind() == Kind::Uncertainty;
    const UncertaintyPage& u = *uncertainty_;
    const bool shownRuns = uq ? u.running() : run;
    for (QAction* a : disabledWhileRunning_)
        a->setEnabled(!shownRuns);
    const int rows = uq ? u.results().table().rowCount() : model_->rowCount();
    for (QAction* a : needRows_)
        a->setEnabled(!shownRuns && rows > 0);
    const bool analysed = uq && !u.running() && u.hasAnalysis();
    for (QAction* a : needAnalysis_)
        a->setEnabled(analysed);
    for (QAction* a : chartActions_)
        a->setEnabled(uq ? analysed : !run && rows > 0);
    save_->setEnabled(uq ? u.setup().check().ok() : setup_->check().ok());
    showTitle();
    setWindowModified(uq ? u.hasUnsavedChanges() : hasUnsavedChanges());
}

void StudyWindow::setChartResult(std::size_t column) {
    result_->setCurrentIndex(static_cast<int>(column));
}

void StudyWindow::redrawChart() {
    const auto column = static_cast<std::size_t>(std::max(0, result_->currentIndex()));
    chart_->setSpec(studyChart(variations_, model_->outcomes(), column));
}

bool StudyWindow::applyCase(int row) {
    if (row < 0 || row >= model_->rowCount()) return false;
    const std::size_t number = model_->outcomes()[static_cast<std::size_t>(row)].number;
    const InputTexts texts = model_->caseTexts(row);
    const auto put = [this, texts] {
        for (int i = 0; i < kInputCount; ++i)
            main_.setText(controlAt(i), texts[controlAt(i)]);
        main_.window()->raise();
        main_.window()->activateWindow();
    };
    if (!main_.runControl().running()) {
        put();
        return true;
    }
    return ask(
        QStringLiteral("Im Hauptfenster läuft gerade eine Rechnung. Sollen die Eingaben von "
                       "Fall %1 trotzdem in seine Felder? Die laufende Rechnung bleibt davon "
                       "unberührt.")
            .arg(number),
        put);
}

void StudyWindow::showMessage(const QString& text) {
    dialogs_.message(text);
}

bool StudyWindow::ask(const QString& question, const std::function<void()>& yes) {
    return dialogs_.ask(question, yes);
}

}  // namespace tesmo::qt
