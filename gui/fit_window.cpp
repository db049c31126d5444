#include "gui/fit_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "files/case_file.h"
#include "files/decimal_number.h"
#include "fit/fit_report.h"
#include "fit/fit_texts.h"
#include "gui/decorations.h"
#include "gui/fit_result_view.h"
#include "gui/fit_setup_panel.h"
#include "gui/main_window.h"
#include "gui/screen_room.h"
#include "gui/standard_keys.h"
#include "gui/work_window_parts.h"
#include "study/study_engine.h"

namespace tesmo::qt {

namespace {

const QString kTitle = QStringLiteral("Anpassung an Messungen");
const QString kGeometryKey = QStringLiteral("anpassung/geometrie");
// The column of series, inputs and run buttons; the result takes the rest.
constexpr int kLeftWidth = 570;

QString str(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

FitWindow::FitWindow(frm_TesmoGegen& main, QWidget* parent)
    : QMainWindow(parent), main_(main), dialogs_(this, kTitle) {
    setObjectName(QStringLiteral("anpassung"));
    setWindowIcon(applicationIcon());
    // The program ends when its main window closes, whether this window is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    setup_ = new FitSetupPanel;
    setup_->setMainTexts([this] {
        InputTexts texts;
        for (int i = 0; i < kInputCount; ++i)
            texts[controlAt(i)] = main_.text(controlAt(i));
        texts.optionen = main_.runControl().runOptions();
        return texts;
    });
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(setup_, 1);
    leftLayout->addWidget(buildRunBox());
    results_ = new FitResultView;
    setCentralWidget(formBesideResults(left, results_, kLeftWidth));
    buildMenus();
    resize(1360, 900);

    connect(this, &FitWindow::fitWaiting, this, &FitWindow::takeArrived, Qt::QueuedConnection);
    connect(setup_, &FitSetupPanel::changed, this, &FitWindow::formChanged);
    connect(setup_, &FitSetupPanel::addSeriesRequested, this, &FitWindow::addSeriesWithDialog);
    connect(setup_, &FitSetupPanel::caseFileRequested, this, &FitWindow::caseFileWithDialog);
    connect(setup_, &FitSetupPanel::caseFromMainRequested, this, &FitWindow::takeCaseFromMain);
    connect(results_, &FitResultView::applyRequested, this, &FitWindow::applyToMain);
    // The two material values a drying curve determines best, to begin with.
    setup_->addParameter(Control::txt_Feuchteleit);
    setup_->addParameter(Control::txt_KappaSteig);
    takeAsSaved({});
    formChanged();
}

FitWindow::~FitWindow() {
    // Raises the cancel flag and waits for the fit's threads before anything they could signal
    // to is taken down.
    job_.reset();
}

QWidget* FitWindow::buildRunBox() {
    auto* box = new QWidget;
    start_ = new QPushButton(QStringLiteral("&Berechnen"), box);
    start_->setObjectName(QStringLiteral("berechnen"));
    start_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Abbrechen"), box);
    cancel_->setObjectName(QStringLiteral("abbrechen"));
    busy_ = new QProgressBar(box);
    busy_->setObjectName(QStringLiteral("laeuft"));
    busy_->setRange(0, 0);  // how long a fit takes is not known beforehand
    busy_->setTextVisible(false);
    busy_->hide();
    progress_ = new QLabel(box);
    progress_->setObjectName(QStringLiteral("fortschritt"));
    progress_->setWordWrap(true);
    progress_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(busy_, 1);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    connect(start_, &QPushButton::clicked, this, &FitWindow::startFit);
    connect(cancel_, &QPushButton::clicked, this, &FitWindow::cancelFit);
    return box;
}

void FitWindow::buildMenus() {
    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    const auto add = [this](QMenu* menu, const char* name, const QString& text,
                            QKeySequence::StandardKey keys, const std::function<void()>& what) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(standardKeys(keys));
        connect(a, &QAction::triggered, this, what);
        return a;
    };
    constexpr QKeySequence::StandardKey none = QKeySequence::UnknownKey;
    disabledWhileRunning_.push_back(add(datei, "anpassungOeffnen",
                                        QStringLiteral("Anpassung ö&ffnen…"), QKeySequence::Open,
                                        [this] { openWithDialog(); }));
    save_ = add(datei, "anpassungSpeichern", QStringLiteral("&Speichern"), QKeySequence::Save,
                [this] { save(); });
    saveAs_ = add(datei, "anpassungSpeichernUnter", QStringLiteral("Speichern &unter…"),
                  QKeySequence::SaveAs, [this] { saveWithDialog(); });
    datei->addSeparator();
    disabledWhileRunning_.push_back(add(datei, "messreiheHinzufuegen",
                                        QStringLiteral("Messreihe &hinzufügen…"), none,
                                        [this] { addSeriesWithDialog(); }));
    datei->addSeparator();
    needResult_.push_back(
        add(datei, "diagrammePng", QStringLiteral("Diagramme als &PNG…"), none, [this] {
            exportFolderWithDialog(QStringLiteral("Diagramme als PNG in einen Ordner"),
                                   &FitWindow::exportChartsPng);
        }));
    needResult_.push_back(
        add(datei, "diagrammeSvg", QStringLiteral("Diagramme als S&VG…"), none, [this] {
            exportFolderWithDialog(QStringLiteral("Diagramme als SVG in einen Ordner"),
                                   &FitWindow::exportChartsSvg);
        }));
    needResult_.push_back(
        add(datei, "vergleichCsv", QStringLiteral("Vergleichs&tabelle als CSV…"), none, [this] {
            exportWithDialog(QStringLiteral("Vergleichstabelle als CSV exportieren"),
                             QStringLiteral("CSV-Tabellen (*.csv)"), QStringLiteral("csv"),
                             &FitWindow::exportTable);
        }));
    needResult_.push_back(
        add(datei, "berichtPdf", QStringLiteral("&Bericht als PDF…"), none, [this] {
            exportWithDialog(QStringLiteral("Bericht als PDF exportieren"),
                             QStringLiteral("PDF-Dokumente (*.pdf)"), QStringLiteral("pdf"),
                             &FitWindow::exportReport);
        }));
    datei->addSeparator();
    add(datei, "schliessen", QStringLiteral("S&chließen"), QKeySequence::Close,
        [this] { close(); });

    QMenu* bearbeiten = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    apply_ = add(bearbeiten, "inHauptfensterUebernehmen",
                 QStringLiteral("In &Hauptfenster übernehmen"), none, [this] { applyToMain(); });
}

QAction* FitWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void FitWindow::setMessageHook(std::function<void(const QString&)> hook) {
    dialogs_.setMessageHook(std::move(hook));
}

void FitWindow::setQuestionHook(std::function<bool(const QString&)> hook) {
    dialogs_.setQuestionHook(std::move(hook));
}

void FitWindow::setSaveQuestionHook(SaveQuestionHook hook) {
    saveQuestionHook_ = std::move(hook);
}

void FitWindow::showAndRaise() {
    if (!shownBefore_) {
        shownBefore_ = true;
        // Where the user left it last time; the screen may have changed since.
        restoreGeometry(QSettings().value(kGeometryKey).toByteArray());
        shrinkToScreen(*this);
    }
    show();
    raise();
    activateWindow();
}

void FitWindow::closeEvent(QCloseEvent* event) {
    // The form and the result stay; a running fit stops and its end arrives as usual.
    cancelFit();
    QSettings().setValue(kGeometryKey, saveGeometry());
    event->accept();
}

// --- the form --------------------------------------------------------------------------------

bool FitWindow::addSeries(const QString& measurementPath) {
    if (running()) return false;
    SeriesForm series;
    FileProblem problem;
    const std::string path =
        QFile::encodeName(QFileInfo(measurementPath).absoluteFilePath()).toStdString();
    InputTexts texts;
    for (int i = 0; i < kInputCount; ++i)
        texts[controlAt(i)] = main_.text(controlAt(i));
    texts.optionen = main_.runControl().runOptions();
    if (!seriesOfFile(path, texts, {}, series, problem)) {
        showMessage(str(describe(problem)));
        return false;
    }
    setup_->addSeries(std::move(series));
    folder_ = QFileInfo(measurementPath).path();
    return true;
}

bool FitWindow::setCaseFile(int row, const QString& casePath) {
    if (running() || row < 0) return false;
    InputTexts texts;
    FileProblem problem;
    const std::string path =
        QFile::encodeName(QFileInfo(casePath).absoluteFilePath()).toStdString();
    if (!readCaseFile(path, defaultInputTexts(), texts, problem)) {
        showMessage(str(describe(problem)));
        return false;
    }
    setup_->setSeriesCase(row, texts, path);
    return true;
}

void FitWindow::takeCaseFromMain(int row) {
    if (running() || row < 0) return;
    InputTexts texts;
    for (int i = 0; i < kInputCount; ++i)
        texts[controlAt(i)] = main_.text(controlAt(i));
    texts.optionen = main_.runControl().runOptions();
    setup_->setSeriesCase(row, texts, {});
}

std::vector<std::string> FitWindow::caseNames() const {
    std::vector<std::string> names;
    for (const SeriesForm& s : setup_->form().series)
        names.push_back(s.casePath.empty() ? std::string("Hauptfenster")
                                           : QFileInfo(str(s.casePath)).fileName().toStdString());
    return names;
}

bool FitWindow::resultIsCurrent() const {
    return shown_ && shown_->formKey == formKey(setup_->form());
}

void FitWindow::formChanged() {
    if (!shown_)
        results_->showMeasurements(setupOf(setup_->form()), {});
    else
        results_->setSummary(summaryText());
    updateState();
}

// --- the fit ---------------------------------------------------------------------------------

bool FitWindow::startFit() {
    if (running() || !setup_->check().ok()) return false;
    const FitForm& form = setup_->form();
    Shown pending;
    pending.setup = setupOf(form);
    pending.caseNames = caseNames();
    pending.formKey = formKey(form);
    // The fit's thread first: if the system refuses it, the last result stays.
    try {
        startJob(std::make_unique<BackgroundFit>(pending.setup, defaultJobs(),
                                                 [this] { emit fitWaiting(); }));
    } catch (const StudyFailure& failure) {
        showMessage(QString::fromUtf8(failure.what()));
        return false;
    }
    pending_ = std::move(pending);
    progress_->setText(QStringLiteral("Die Anpassung beginnt …"));
    updateState();
    return true;
}

void FitWindow::startJob(std::unique_ptr<BackgroundFit> job) {
    job_ = std::move(job);
    busy_->show();
}

void FitWindow::cancelFit() {
    if (job_) job_->cancel();
}

void FitWindow::takeArrived() {
    if (!job_) return;  // a wake of a fit already taken in whole
    BackgroundFit::Arrived arrived = job_->take();
    if (arrived.ended) {
        finishJob(std::move(arrived));
        return;
    }
    if (arrived.fitDone)
        progress_->setText(
            QStringLiteral("Die Verläufe mit den angepassten Werten werden gerechnet …"));
    else if (arrived.progress)
        progress_->setText(str(fitProgressText(*arrived.progress)));
}

void FitWindow::finishJob(BackgroundFit::Arrived arrived) {
    const bool fits = job_->fits();
    const bool cancelled = job_->cancelled();
    job_.reset();  // the fit has returned: this only joins its thread
    busy_->hide();
    Shown done = std::move(*pending_);
    pending_.reset();
    done.result = std::move(arrived.result);
    if (arrived.runs.ok) done.curves = std::move(arrived.runs.curves);
    const FitEnd end = done.result.end;
    QString status;
    if (!arrived.failure.empty()) {
        status = str(arrived.failure);
        showMessage(status);
    } else if (!fits) {
        // The runs of a result read from a file: its charts and residuals now, if it is still
        // the one on view.
        if (shown_ && shown_->fromFile && shown_->formKey == done.formKey) {
            shown_->result = std::move(done.result);
            shown_->curves = std::move(done.curves);
            showResult();
        }
        status = arrived.runs.ok ? QStringLiteral(
                                       "Ergebnis aus der Anpassungsdatei; Verläufe und "
                                       "Abweichungen mit den gespeicherten Werten gerechnet.")
                 : cancelled ? QStringLiteral(
                                   "Die Verläufe mit den gespeicherten Werten "
                                   "wurden nicht gerechnet (abgebrochen).")
                             : QStringLiteral(
                                   "Die Verläufe mit den gespeicherten Werten "
                                   "ließen sich nicht rechnen: ") +
                                   str(arrived.runs.message);
    } else if (end == FitEnd::Failed) {
        status = str(done.result.message.empty() ? "Die Anpassung ist fehlgeschlagen."
                                                 : done.result.message);
    } else if (end == FitEnd::Cancelled) {
        status = QStringLiteral("Abgebrochen nach %1 Modellläufen.").arg(done.result.modelRuns);
    } else {
        done.outcome = done.result.outcome();
        shown_ = std::move(done);
        resultSaved_ = false;
        showResult();
        status = QStringLiteral("Fertig: %1.").arg(str(endText(shown_->result)));
        if (!arrived.runs.ok)
            status += QStringLiteral(
                          " Die Verläufe mit den angepassten Werten ließen sich nicht "
                          "rechnen: ") +
                      str(arrived.runs.message);
    }
    progress_->setText(status);
    updateState();
    emit fitEnded();
}

void FitWindow::showResult() {
    results_->showResult(shown_->setup, shown_->result, shown_->curves, summaryText());
}

QString FitWindow::summaryText() const {
    if (!shown_) return {};
    QString text;
    if (shown_->fromFile)
        text = QStringLiteral(
                   "Ergebnis aus %1: die gespeicherten Werte und ihre Kovarianz "
                   "(Kosten, Iterationen und Modellläufe der Anpassung stehen nicht "
                   "in der Datei).")
                   .arg(QFileInfo(fitFile_).fileName());
    else
        text = QStringLiteral("Anpassung %1; %2.")
                   .arg(str(endText(shown_->result)), str(effortText(shown_->result)));
    if (!shown_->result.message.empty()) text += QLatin1Char(' ') + str(shown_->result.message);
    if (!resultIsCurrent())
        text += QStringLiteral(
            "\nDie Messreihen oder Eingaben wurden seither geändert: Das "
            "Ergebnis gehört zur früheren Anpassung und wird nicht mit "
            "gespeichert; Berechnen passt neu an.");
    return text;
}

void FitWindow::updateState() {
    const bool run = running();
    const bool ok = setup_->check().ok();
    start_->setEnabled(!run && ok);
    cancel_->setEnabled(run);
    setup_->setEnabled(!run);
    for (QAction* a : disabledWhileRunning_)
        a->setEnabled(!run);
    const bool charts = !results_->chartQuantities().empty();
    for (QAction* a : needResult_)
        a->setEnabled(!run && (a->objectName().startsWith(QLatin1String("diagramme"))
                                   ? charts
                                   : shown_ && !shown_->result.comparison.empty()));
    save_->setEnabled(!run && ok);
    saveAs_->setEnabled(!run && ok);
    const bool values = shown_ && !shown_->result.parameters.empty();
    apply_->setEnabled(values);
    results_->setApplyEnabled(values);
    setWindowModified(hasUnsavedChanges());
}

bool FitWindow::applyToMain() {
    if (!shown_ || shown_->result.parameters.empty()) return false;
    std::vector<std::pair<Control, std::string>> values;
    for (const ParameterEstimate& p : shown_->result.parameters)
        values.emplace_back(p.field, exactDecimal(p.value));
    const auto put = [this, values] {
        for (const auto& [field, text] : values)
            main_.setText(field, text);
        main_.window()->raise();
        main_.window()->activateWindow();
    };
    if (!main_.runControl().running()) {
        put();
        return true;
    }
    return ask(QStringLiteral("Im Hauptfenster läuft gerade eine Rechnung. Sollen die angepassten "
                              "Werte trotzdem in seine Felder? Die laufende Rechnung bleibt davon "
                              "unberührt."),
               put);
}

void FitWindow::showMessage(const QString& text) {
    dialogs_.message(text);
}

bool FitWindow::ask(const QString& question, const std::function<void()>& yes) {
    return dialogs_.ask(question, yes);
}

}  // namespace tesmo::qt
