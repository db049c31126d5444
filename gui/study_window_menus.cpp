// The study window's Datei menu: open and save a study of the kind shown, and the exports, each
// acting on the kind shown (the parameter study's table and chart, or the uncertainty study's
// cases, statistics, charts and report).
#include <QAction>
#include <QMenuBar>

#include "files/table_format.h"
#include "gui/standard_keys.h"
#include "gui/study_window.h"
#include "gui/uncertainty_page.h"

namespace tesmo::qt {

void StudyWindow::buildMenus() {
    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    const auto add = [this, datei](const char* name, const QString& text,
                                   QKeySequence::StandardKey keys,
                                   const std::function<void()>& what) {
        QAction* a = datei->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(standardKeys(keys));
        connect(a, &QAction::triggered, this, what);
        return a;
    };
    constexpr QKeySequence::StandardKey none = QKeySequence::UnknownKey;
    disabledWhileRunning_.push_back(add("studieOeffnen", QStringLiteral("Studie ö&ffnen…"),
                                        QKeySequence::Open, [this] { openWithDialog(); }));
    save_ = add("studieSpeichern", QStringLiteral("Studie &speichern…"), QKeySequence::Save,
                [this] { saveWithDialog(); });
    datei->addSeparator();
    // Each export acts on the kind shown: the parameter study's table and chart, or the
    // uncertainty study's cases, statistics and the chart of the result tab shown.
    const auto exporter = [this](const QString& caption, const QString& filter,
                                 const QString& suffix,
                                 bool (StudyWindow::*parameter)(const QString&),
                                 std::function<bool(UncertaintyPage&, const QString&)> uq) {
        return [=, this] {
            if (kind() == Kind::Uncertainty)
                exportWithDialog(caption, filter, suffix, [this, uq](const QString& path) {
                    return uq(*uncertainty_, path);
                });
            else
                exportWithDialog(caption, filter, suffix, parameter);
        };
    };
    const QString csv = QStringLiteral("CSV-Tabellen (*.csv)");
    needRows_.push_back(
        add("tabelleCsv", QStringLiteral("&Tabelle als CSV exportieren…"), none,
            exporter(QStringLiteral("Tabelle als CSV exportieren"), csv, QStringLiteral("csv"),
                     &StudyWindow::exportTable, [](UncertaintyPage& u, const QString& path) {
                         return u.exportTable(path, TableFormat::Csv);
                     })));
    needRows_.push_back(add("tabelleCsvDeutsch",
                            QStringLiteral("Tabelle als CSV für Tabellenkalkulation (&deutsch)…"),
                            none,
                            exporter(QStringLiteral("CSV für Tabellenkalkulation (deutsch)"), csv,
                                     QStringLiteral("csv"), &StudyWindow::exportTableGerman,
                                     [](UncertaintyPage& u, const QString& path) {
                                         return u.exportTable(path, TableFormat::German);
                                     })));
    chartActions_.push_back(add(
        "diagrammPng", QStringLiteral("Diagramm als &PNG exportieren…"), none,
        exporter(QStringLiteral("Diagramm als PNG exportieren"),
                 QStringLiteral("PNG-Bilder (*.png)"), QStringLiteral("png"),
                 &StudyWindow::exportChartPng,
                 [](UncertaintyPage& u, const QString& path) { return u.exportChartPng(path); })));
    chartActions_.push_back(add(
        "diagrammSvg", QStringLiteral("Diagramm als S&VG exportieren…"), none,
        exporter(QStringLiteral("Diagramm als SVG exportieren"),
                 QStringLiteral("SVG-Grafiken (*.svg)"), QStringLiteral("svg"),
                 &StudyWindow::exportChartSvg,
                 [](UncertaintyPage& u, const QString& path) { return u.exportChartSvg(path); })));
    // Only the uncertainty study has statistics and a report of them.
    const auto uqExport = [this](const QString& caption, const QString& filter,
                                 const QString& suffix,
                                 std::function<bool(UncertaintyPage&, const QString&)> write) {
        return [=, this] {
            exportWithDialog(caption, filter, suffix, [this, write](const QString& path) {
                return write(*uncertainty_, path);
            });
        };
    };
    needAnalysis_.push_back(
        add("kennwerteCsv", QStringLiteral("&Kennwerte als CSV exportieren…"), none,
            uqExport(QStringLiteral("Kennwerte als CSV exportieren"), csv, QStringLiteral("csv"),
                     [](UncertaintyPage& u, const QString& path) {
                         return u.exportStatistics(path, TableFormat::Csv);
                     })));
    needAnalysis_.push_back(
        add("kennwerteCsvDeutsch",
            QStringLiteral("Kennwerte als CSV für Tabellenkalkulation (deutsc&h)…"), none,
            uqExport(QStringLiteral("Kennwerte als CSV für Tabellenkalkulation (deutsch)"), csv,
                     QStringLiteral("csv"), [](UncertaintyPage& u, const QString& path) {
                         return u.exportStatistics(path, TableFormat::German);
                     })));
    needAnalysis_.push_back(add(
        "berichtPdf", QStringLiteral("&Bericht als PDF exportieren…"), none,
        uqExport(QStringLiteral("Bericht als PDF exportieren"),
                 QStringLiteral("PDF-Dokumente (*.pdf)"), QStringLiteral("pdf"),
                 [](UncertaintyPage& u, const QString& path) { return u.exportReportPdf(path); })));
    datei->addSeparator();
    add("schliessen", QStringLiteral("S&chließen"), QKeySequence::Close, [this] { close(); });
    buildEditMenu();
}

QAction* StudyWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

}  // namespace tesmo::qt
