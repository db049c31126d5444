// The program window: the menu bar above the unchanged client area, case files opened, saved,
// remembered and dropped, and what a run disables.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <set>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>

#include "files/case_file.h"
#include "gui/program_window.h"
#include "gui/study_window.h"
#include "tests/child_process.h"
#include "tests/gui/qt_support.h"
#include "tests/test_files.h"

namespace tesmo::test {
namespace {

class ProgramWindowTest : public ::testing::Test {
  protected:
    ProgramWindowTest() { window = openProgramWindow(*st, messages); }

    InputTexts fields() const {
        InputTexts t;
        for (int i = 0; i < kInputCount; ++i)
            t[controlAt(i)] = window->client().text(controlAt(i));
        return t;
    }
    void type(const InputTexts& texts) {
        for (int i = 0; i < kInputCount; ++i)
            window->client().setText(controlAt(i), texts[controlAt(i)]);
    }
    static QString file(const std::string& name) { return QString::fromStdString(testFile(name)); }

    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::ProgramWindow> window;
    std::vector<std::string> messages;
};

TEST_F(ProgramWindowTest, TheBarsSitAboveAndBelowAnUnchangedClientArea) {
    const int bar = window->menuBar()->height();
    const int status = window->statusBar()->height();
    EXPECT_GT(bar, 0);
    EXPECT_GT(status, 0);
    EXPECT_FALSE(window->scrolls());
    EXPECT_EQ(window->client().size(), QSize(1020, 739));
    EXPECT_EQ(window->client().pos(), QPoint(0, bar));
    EXPECT_EQ(window->statusBar()->geometry().top(), bar + 739);
    EXPECT_EQ(window->size(), QSize(1020, 739 + bar + status));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Tesmo-Gegen v.1.20  -  13.08.2007  -  Symmetrische Trocknung einer Platte aus "
              "Ziegelton");
    for (const char* name : {"neu", "oeffnen", "zuletzt", "speichern", "speichernUnter",
                             "exportieren", "beenden", "handbuch", "ueber"})
        EXPECT_NE(window->action(QString::fromLatin1(name)), nullptr) << name;
    // The desktop's standard shortcuts.
    const std::pair<const char*, const char*> shortcuts[] = {{"neu", "Ctrl+N"},
                                                             {"oeffnen", "Ctrl+O"},
                                                             {"speichern", "Ctrl+S"},
                                                             {"speichernUnter", "Ctrl+Shift+S"},
                                                             {"beenden", "Ctrl+Q"},
                                                             {"handbuch", "F1"},
                                                             {"parameterstudie", "Ctrl+T"}};
    for (const auto& [name, keys] : shortcuts)
        EXPECT_EQ(window->action(QString::fromLatin1(name))->shortcut(),
                  QKeySequence(QString::fromLatin1(keys)))
            << name;
    // The menus in the order the menu bar keeps for all of them.
    QStringList titles;
    for (QAction* menu : window->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "Be&rechnung", "&Studie",
                                   "&Hilfe"}));
}

TEST_F(ProgramWindowTest, EveryMenuEntryHasAMnemonicOfItsOwnInItsMenu) {
    ASSERT_TRUE(window->saveCaseAs(file("zuletzt.tgcase")));  // an entry in "Zuletzt geöffnet"
    window->showStudy();
    std::vector<QMenu*> menus;
    const auto check = [](const QList<QAction*>& entries, std::vector<QMenu*>& submenus) {
        std::set<int> keys;
        for (QAction* a : entries) {
            if (a->isSeparator()) continue;
            const QKeySequence key = QKeySequence::mnemonic(a->text());
            EXPECT_FALSE(key.isEmpty()) << a->text().toStdString();
            EXPECT_TRUE(keys.insert(key[0].toCombined()).second) << a->text().toStdString();
            if (a->menu()) submenus.push_back(a->menu());
        }
    };
    check(window->menuBar()->actions(), menus);
    check(window->studyWindow()->menuBar()->actions(), menus);
    ASSERT_GE(menus.size(), 4u);
    while (!menus.empty()) {
        QMenu* menu = menus.back();
        menus.pop_back();
        emit menu->aboutToShow();  // the recent files are listed when the menu opens
        check(menu->actions(), menus);
    }
}

TEST_F(ProgramWindowTest, F1OpensTheManual) {
    QTest::keyClick(window.get(), Qt::Key_F1);
    QWidget* manual = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle().contains(QStringLiteral("Handbuch"))) manual = w;
    ASSERT_NE(manual, nullptr);
    manual->close();
}

TEST_F(ProgramWindowTest, SavedAndReopenedCasesAreByteIdentical) {
    InputTexts texts = fastInputs();
    texts[Control::txt_mue] = " 25 ";  // blanks are part of a text as typed
    texts[Control::txt_XAnf] = "0,28";
    type(texts);
    const QString first = file("erster.tgcase"), second = file("zweiter.tgcase");
    ASSERT_TRUE(window->saveCaseAs(first));
    EXPECT_EQ(window->currentFile(), first);
    window->action("neu")->trigger();
    EXPECT_EQ(fields()[Control::txt_mue], "20");
    EXPECT_TRUE(window->currentFile().isEmpty());

    ASSERT_TRUE(window->openCase(first));
    for (int i = 0; i < kInputCount; ++i)
        EXPECT_EQ(fields()[controlAt(i)], texts[controlAt(i)]) << controlName(controlAt(i));
    ASSERT_TRUE(window->saveCaseAs(second));
    EXPECT_EQ(slurp(second.toStdString()), slurp(first.toStdString()));
    EXPECT_TRUE(messages.empty());

    // Speichern writes to the current file again; opening starts no run.
    type(defaultInputTexts());
    window->action("speichern")->trigger();
    InputTexts reread;
    FileProblem problem;
    ASSERT_TRUE(readCaseFile(second.toStdString(), defaultInputTexts(), reread, problem));
    EXPECT_EQ(reread[Control::txt_mue], "20");
    EXPECT_EQ(st->Laufende, RunEnd::None);
}

TEST_F(ProgramWindowTest, TheCorrectedAirBalanceIsChosenInTheMenuAndKeptWithTheCase) {
    QAction* korrigiert = window->action("korrigierteLuftbilanz");
    ASSERT_NE(korrigiert, nullptr);
    EXPECT_TRUE(korrigiert->isCheckable());
    EXPECT_FALSE(korrigiert->isChecked());
    // Between the file menus and the study.
    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text().remove('&');
    EXPECT_LT(menus.indexOf("Berechnung"), menus.indexOf("Studie"))
        << menus.join(' ').toStdString();
    EXPECT_GT(menus.indexOf("Berechnung"), menus.indexOf("Datei"));

    type(fastInputs());
    const QLabel* mode = window->statusBar()->findChild<QLabel*>("rechenart");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->text(), "");
    korrigiert->trigger();
    EXPECT_EQ(window->client().runControl().runOptions().luftbilanz, Luftbilanz::Korrigiert);
    EXPECT_EQ(mode->text(), "Luftbilanz korrigiert");  // the status bar names the mode
    EXPECT_TRUE(window->hasUnsavedChanges());
    QTest::mouseClick(static_cast<QAbstractButton*>(window->client().widget(Control::cmd_Start)),
                      Qt::LeftButton);
    EXPECT_EQ(st->optionen.luftbilanz, Luftbilanz::Korrigiert);  // the run computed with it

    const QString path = file("korrigiert.tgcase");
    ASSERT_TRUE(window->saveCaseAs(path));
    EXPECT_NE(slurp(path.toStdString()).find("\nluftbilanz = korrigiert\n"), std::string::npos);
    window->action("neu")->trigger();  // a new case computes as the dryer always has
    EXPECT_FALSE(korrigiert->isChecked());
    EXPECT_EQ(window->client().runControl().runOptions().luftbilanz, Luftbilanz::Standard);
    ASSERT_TRUE(window->openCase(path));
    EXPECT_TRUE(korrigiert->isChecked());
    EXPECT_EQ(window->client().runControl().runOptions().luftbilanz, Luftbilanz::Korrigiert);
    // A climate-chamber case has no control in the main window: the status bar says it.
    const QString chamber = file("kammer.tgcase");
    std::ofstream(chamber.toStdString()) << slurp(path.toStdString()) << "klima = konstant\n";
    ASSERT_TRUE(window->openCase(chamber));
    EXPECT_EQ(mode->text(), "Klima konstant, Luftbilanz korrigiert");
    window->action("neu")->trigger();
    EXPECT_EQ(mode->text(), "");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramWindowTest, ARefusedFileShowsTheReadersMessageAndLeavesTheFields) {
    const QString bad = file("kaputt.tgcase");
    spit(bad.toStdString(), "format = tesmo-gegen-case 1\ntxt_Dicke = 12\ntxt_Dicke = 13\n");
    type(fastInputs());
    EXPECT_FALSE(window->openCase(bad));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Zeile 3"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("txt_Dicke"), std::string::npos) << messages[0];
    EXPECT_EQ(fields()[Control::txt_Dicke], "4");
    EXPECT_TRUE(window->currentFile().isEmpty());
    EXPECT_TRUE(window->recentFiles().isEmpty());
}

TEST_F(ProgramWindowTest, TheLastEightFilesAreRememberedNewestFirst) {
    std::vector<QString> files;
    for (int i = 0; i < 10; ++i) {
        files.push_back(file("fall" + std::to_string(i) + ".tgcase"));
        ASSERT_TRUE(window->saveCaseAs(files.back()));
    }
    ASSERT_TRUE(window->openCase(files[4]));  // opened again: moves to the front, once
    const QStringList recent = window->recentFiles();
    ASSERT_EQ(recent.size(), 8);
    EXPECT_EQ(recent[0], files[4]);
    EXPECT_EQ(recent[1], files[9]);
    EXPECT_EQ(recent.count(files[4]), 1);
    EXPECT_FALSE(recent.contains(files[0]));
    // Another window of the program sees the same list.
    qt::ProgramWindow other(*st);
    EXPECT_EQ(other.recentFiles(), recent);
}

TEST_F(ProgramWindowTest, ADroppedCaseFileOpensAndOtherFilesAreIgnored) {
    InputTexts texts = defaultInputTexts();
    texts[Control::txt_Lufttemp] = "55";
    FileProblem problem;
    const QString path = file("gezogen.tgcase");
    ASSERT_TRUE(writeCaseFile(path.toStdString(), texts, problem));
    const auto drop = [this](const QString& p) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(p)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
        return true;
    };
    EXPECT_FALSE(drop(file("bild.png")));
    EXPECT_EQ(fields()[Control::txt_Lufttemp], "35");
    EXPECT_TRUE(drop(path));
    QCoreApplication::processEvents();  // the file opens once the drop has ended
    EXPECT_EQ(fields()[Control::txt_Lufttemp], "55");
    EXPECT_EQ(window->currentFile(), path);

    // A named pipe under a case file's name is refused at once with the usual message, where
    // reading it would block the window until some other program wrote to it.
    const QString pipe = file("pipe.tgcase");
    std::remove(pipe.toStdString().c_str());
    ASSERT_TRUE(makeFifo(pipe.toStdString()));
    EXPECT_TRUE(drop(pipe));
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("keine gewöhnliche Datei, sondern eine benannte Pipe"),
              std::string::npos)
        << messages[0];
    EXPECT_EQ(fields()[Control::txt_Lufttemp], "55");
    EXPECT_EQ(window->currentFile(), path);
    std::remove(pipe.toStdString().c_str());
}

TEST_F(ProgramWindowTest, DuringARunFilesCannotReplaceTheInputsButCanBeSaved) {
    type(fastInputs());
    const QString saved = file("waehrend.tgcase");
    std::map<std::string, bool> enabled;
    bool openedDuringRun = true;
    WhenDuringRun during([this] { return st->Laufzeit > 100; },
                         [&] {
                             for (const char* a : {"neu", "oeffnen", "zuletzt", "exportieren",
                                                   "speichern", "speichernUnter"})
                                 enabled[a] = window->action(QString::fromLatin1(a))->isEnabled();
                             window->client().setText(Control::txt_mue, "33");
                             window->saveCaseAs(saved);
                             openedDuringRun = window->openCase(saved);
                         });
    QTest::mouseClick(static_cast<QAbstractButton*>(window->client().widget(Control::cmd_Start)),
                      Qt::LeftButton);
    ASSERT_TRUE(during.done());
    EXPECT_FALSE(enabled["neu"]);
    EXPECT_FALSE(enabled["oeffnen"]);
    EXPECT_FALSE(enabled["zuletzt"]);
    EXPECT_FALSE(enabled["exportieren"]);
    EXPECT_TRUE(enabled["speichern"]);
    EXPECT_TRUE(enabled["speichernUnter"]);
    EXPECT_FALSE(openedDuringRun);
    // The file holds the texts that were in the fields when it was saved.
    InputTexts reread;
    FileProblem problem;
    ASSERT_TRUE(readCaseFile(saved.toStdString(), defaultInputTexts(), reread, problem));
    EXPECT_EQ(reread[Control::txt_mue], "33");
    EXPECT_EQ(st->mue, 20);  // the run kept what it read at Start
    // After the run the actions are back.
    EXPECT_TRUE(window->action("neu")->isEnabled());
    EXPECT_TRUE(window->action("oeffnen")->isEnabled());
}

TEST_F(ProgramWindowTest, ExportsAreOfferedForWhatARunLeftOnTheScreen) {
    QAction* exports = window->action("exportieren");
    EXPECT_FALSE(exports->isEnabled());  // nothing computed yet
    for (const char* name : {"exportPng", "exportSvg", "exportCsv", "exportPdf"})
        EXPECT_NE(window->action(QString::fromLatin1(name)), nullptr) << name;
    type(fastInputs());
    QTest::mouseClick(static_cast<QAbstractButton*>(window->client().widget(Control::cmd_Start)),
                      Qt::LeftButton);
    ASSERT_TRUE(exports->isEnabled());

    const QString pdf = file("bericht.pdf"), folder = file("diagramme");
    ASSERT_TRUE(window->exportTo("exportPdf", pdf));
    EXPECT_EQ(slurp(pdf.toStdString()).rfind("%PDF", 0), 0u);
    ASSERT_TRUE(window->exportTo("exportSvg", folder));
    EXPECT_NE(slurp((folder + "/profil.svg").toStdString()).find("<svg"), std::string::npos);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(window->exportTo("exportCsv", file("fehlt") + "/verlauf.csv"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("existiert nicht"), std::string::npos) << messages[0];

    // "Nochmal !" clears the charts: nothing left to export.
    QTest::mouseClick(static_cast<QAbstractButton*>(window->client().widget(Control::cmd_Neustart)),
                      Qt::LeftButton);
    EXPECT_FALSE(exports->isEnabled());
}

}  // namespace
}  // namespace tesmo::test
