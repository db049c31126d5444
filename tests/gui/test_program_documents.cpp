// The main window as a document window: unsaved changes known, shown and asked about before
// anything discards them (also when the window closes during a run), the status bar, the list
// of recent files, the files of other kinds, and Qt's own dialogs in German.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>

#include "files/case_file.h"
#include "files/study_file.h"
#include "gui/help_window.h"
#include "gui/program_status.h"
#include "gui/program_window.h"
#include "gui/save_question.h"
#include "gui/study_setup_panel.h"
#include "gui/study_window.h"
#include "tests/gui/qt_support.h"
#include "tests/test_files.h"

namespace tesmo::test {
namespace {

class ProgramDocuments : public ::testing::Test {
  protected:
    ProgramDocuments() {
        window = openProgramWindow(*st, messages);
        window->setSaveQuestionHook([this](const QString& q) {
            questions.push_back(q.toStdString());
            return answer;
        });
    }

    std::string shownDocument() const {
        return window->status().documentLabel()->text().toStdString();
    }
    std::string shownRun() const { return window->status().runLabel()->text().toStdString(); }
    std::string field(Control c) const { return window->client().text(c); }
    void type(Control c, const char* text) { window->client().setText(c, text); }
    QString caseFile(const char* name, const char* dicke) const {
        InputTexts texts = defaultInputTexts();
        texts[Control::txt_Dicke] = dicke;
        FileProblem problem;
        const std::string path = testFile(name);
        EXPECT_TRUE(writeCaseFile(path, texts, problem));
        return QString::fromStdString(path);
    }
    void drop(const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        ASSERT_TRUE(enter.isAccepted()) << path.toStdString();
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
        QCoreApplication::processEvents();  // the file opens once the drop has ended
    }
    QAbstractButton* button(Control c) const {
        return static_cast<QAbstractButton*>(window->client().widget(c));
    }
    QMenu* recentMenu() const { return window->action("zuletzt")->menu(); }
    QStringList recentEntries() const {
        emit recentMenu()->aboutToShow();
        QStringList texts;
        for (QAction* a : recentMenu()->actions())
            if (!a->isSeparator()) texts << a->text();
        return texts;
    }

    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::ProgramWindow> window;
    std::vector<std::string> messages, questions;
    qt::SaveChoice answer = qt::SaveChoice::Cancel;
};

TEST_F(ProgramDocuments, TextsThatDifferFromTheLastSavedOnesAreUnsavedAndMarked) {
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(shownDocument(), "unbenannt");
    type(Control::txt_Dicke, "12");
    EXPECT_TRUE(window->hasUnsavedChanges());
    EXPECT_EQ(shownDocument(), "unbenannt *");
    type(Control::txt_Dicke, "20,0");  // the default again: nothing to save
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(shownDocument(), "unbenannt");

    type(Control::txt_Dicke, "12");
    const QString path = QString::fromStdString(testFile("platte.tgcase"));
    ASSERT_TRUE(window->saveCaseAs(path));
    EXPECT_FALSE(window->hasUnsavedChanges());
    const std::string name = QFileInfo(path).fileName().toStdString();  // without the folder
    EXPECT_EQ(shownDocument(), name);
    EXPECT_TRUE(window->status().documentLabel()->toolTip().contains(path));
    type(Control::txt_Lufttemp, "40");
    EXPECT_EQ(shownDocument(), name + " *");

    answer = qt::SaveChoice::Discard;
    window->action("neu")->trigger();
    EXPECT_EQ(questions, std::vector<std::string>{"Änderungen an „" + name + "“ speichern?"});
    EXPECT_EQ(field(Control::txt_Lufttemp), "35");
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(shownDocument(), "unbenannt");
    ASSERT_TRUE(window->openCase(path));
    EXPECT_EQ(field(Control::txt_Dicke), "12");
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(questions.size(), 1u);  // nothing unsaved, nothing asked

    // However long the file's name, the window keeps the client area's width.
    const QSize before = window->size();
    ASSERT_TRUE(
        window->saveCaseAs(QString::fromStdString(testFile(std::string(150, 'x') + ".tgcase"))));
    // The label, the status bar and the window lay themselves out one after the other.
    for (int pass = 0; pass < 4; ++pass)
        QCoreApplication::processEvents();
    EXPECT_EQ(window->minimumSize(), before);
    EXPECT_EQ(window->maximumSize(), before);
}

TEST_F(ProgramDocuments, EveryWayOfReplacingUnsavedTextsAsksFirst) {
    const QString saved = QString::fromStdString(testFile("erster.tgcase"));
    ASSERT_TRUE(window->saveCaseAs(saved));
    const QString other = caseFile("zweiter.tgcase", "8");
    type(Control::txt_Lufttemp, "40");

    // Abbrechen: Neu, Öffnen, a recent file, a dropped file and closing change nothing.
    answer = qt::SaveChoice::Cancel;
    window->action("neu")->trigger();
    EXPECT_FALSE(window->openFile(other));
    recentEntries();
    recentMenu()->actions().front()->trigger();
    drop(other);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(questions.size(), 5u);
    for (const std::string& q : questions)
        EXPECT_EQ(q,
                  "Änderungen an „" + QFileInfo(saved).fileName().toStdString() + "“ speichern?");
    EXPECT_EQ(field(Control::txt_Lufttemp), "40");
    EXPECT_EQ(field(Control::txt_Dicke), "20,0");

    // Speichern writes the current file, then the other one opens.
    answer = qt::SaveChoice::Save;
    ASSERT_TRUE(window->openFile(other));
    EXPECT_EQ(field(Control::txt_Dicke), "8");
    EXPECT_EQ(window->currentFile(), other);
    InputTexts reread;
    FileProblem problem;
    ASSERT_TRUE(readCaseFile(saved.toStdString(), defaultInputTexts(), reread, problem));
    EXPECT_EQ(reread[Control::txt_Lufttemp], "40");

    // Verwerfen: the window closes and the file stays as it was.
    type(Control::txt_Lufttemp, "45");
    answer = qt::SaveChoice::Discard;
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(readCaseFile(other.toStdString(), defaultInputTexts(), reread, problem));
    EXPECT_EQ(reread[Control::txt_Lufttemp], "35");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramDocuments, ClosingDuringARunAsksFirstThenEndsTheRunAtOnce) {
    // The default run takes far longer than the time allowed after the close.
    bool keptRunning = false;
    Clock::time_point closed{};
    WhenDuringRun first([this] { return st->Laufzeit > 60; },
                        [&] {
                            type(Control::txt_mue, "33");  // unsaved, typed during the run
                            answer = qt::SaveChoice::Cancel;
                            keptRunning = !window->close();
                        });
    WhenDuringRun second([this] { return st->Laufzeit > 600; },
                         [&] {
                             answer = qt::SaveChoice::Discard;
                             closed = Clock::now();
                             window->close();
                         });
    button(Control::cmd_Start)->click();
    ASSERT_TRUE(first.done());
    ASSERT_TRUE(second.done());  // the run went on after Abbrechen
    EXPECT_TRUE(keptRunning);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_LT(secondsSince(closed), 0.2);
    EXPECT_EQ(st->Laufende, RunEnd::Stopped);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ProgramDocuments, TheStatusBarSaysWhereTheRunStands) {
    InputTexts texts = fastInputs();
    for (int i = 0; i < kInputCount; ++i)
        window->client().setText(controlAt(i), texts[controlAt(i)]);
    EXPECT_EQ(shownRun(), "bereit");
    std::vector<std::string> seen;
    QTimer resume;
    resume.setSingleShot(true);
    QObject::connect(&resume, &QTimer::timeout, [&] {
        seen.push_back(shownRun());
        button(Control::cmd_Weiter)->click();
        seen.push_back(shownRun());
    });
    WhenDuringRun pause([this] { return st->Laufzeit > 60; },
                        [&] {
                            seen.push_back(shownRun());
                            resume.start(20);
                            button(Control::cmd_Pause)->click();
                        });
    button(Control::cmd_Start)->click();
    ASSERT_TRUE(pause.done());
    EXPECT_EQ(seen, (std::vector<std::string>{"läuft", "angehalten", "läuft"}));
    EXPECT_EQ(shownRun(), "beendet");
    button(Control::cmd_Neustart)->click();
    EXPECT_EQ(shownRun(), "bereit");
    // A place for further permanent indicators, between the file and the run state.
    QLabel* mode = window->status().addIndicator(QStringLiteral("modus"), QStringLiteral("Modus"));
    mode->setText(QStringLiteral("Modus"));
    EXPECT_LT(window->status().documentLabel()->x(), mode->x());
    EXPECT_LT(mode->x(), window->status().runLabel()->x());
}

TEST_F(ProgramDocuments, TheRecentListDropsVanishedFilesAndCanBeCleared) {
    const QString a = caseFile("a.tgcase", "5"), b = caseFile("b.tgcase", "6"),
                  c = caseFile("c.tgcase", "7");
    answer = qt::SaveChoice::Discard;
    for (const QString& path : {a, b, c})
        ASSERT_TRUE(window->openFile(path));
    std::filesystem::remove(b.toStdString());
    EXPECT_EQ(recentEntries(), QStringList({"&1  " + c, "&2  " + a, "&Liste leeren"}));
    EXPECT_EQ(window->recentFiles(), QStringList({c, a}));  // gone for good
    window->action("listeLeeren")->trigger();
    EXPECT_TRUE(window->recentFiles().isEmpty());
    EXPECT_EQ(recentEntries(), QStringList({"(keine)", "&Liste leeren"}));
    EXPECT_FALSE(window->action("listeLeeren")->isEnabled());
}

TEST_F(ProgramDocuments, AStudyFileOpensInTheStudyWindowAndLeavesTheFields) {
    SavedStudy study;
    study.base = defaultInputTexts();
    study.base[Control::txt_Dicke] = "6";
    study.varied.push_back({Control::txt_Lufttemp, "30:40:5", 0});
    FileProblem problem;
    const QString path = QString::fromStdString(testFile("luft.tgstudy"));
    ASSERT_TRUE(writeStudyFile(path.toStdString(), study, problem));
    type(Control::txt_Dicke, "12");
    drop(path);
    ASSERT_NE(window->studyWindow(), nullptr);
    EXPECT_TRUE(window->studyWindow()->isVisible());
    EXPECT_EQ(window->studyWindow()->studyFile(), path);
    EXPECT_EQ(window->studyWindow()->setup().form().base[Control::txt_Dicke], "6");
    EXPECT_EQ(field(Control::txt_Dicke), "12");
    EXPECT_TRUE(questions.empty());  // the fields were not replaced
}

TEST_F(ProgramDocuments, ReturnInAnInputFieldStartsARunWhileStartIsShown) {
    InputTexts texts = fastInputs();
    for (int i = 0; i < kInputCount; ++i)
        window->client().setText(controlAt(i), texts[controlAt(i)]);
    QSignalSpy starts(button(Control::cmd_Start), &QAbstractButton::clicked);
    QWidget* field = window->client().widget(Control::txt_Lufttemp);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(starts.count(), 1);
    EXPECT_EQ(st->Laufende, RunEnd::Midplane);
    ASSERT_TRUE(window->client().isVisible(Control::cmd_Neustart));
    QTest::keyClick(field, Qt::Key_Return);  // Start is hidden: "Nochmal !" comes first
    EXPECT_EQ(starts.count(), 1);
}

TEST_F(ProgramDocuments, F1InAFieldOpensTheManualWhereTheFieldIsExplained) {
    QWidget* field = window->client().widget(Control::txt_Lufttemp);
    QTest::keyClick(field, Qt::Key_F1);
    qt::HelpWindow* help = window->findChild<qt::HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->textCursor().selectedText(), "Ablufttemperatur in °C");
    help->close();
}

TEST_F(ProgramDocuments, QtsOwnDialogsAndTheQuestionSpeakGerman) {
    // Qt's translations are installed as in the program (tests/gui/qt_support.h).
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto* lookIn = files.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(lookIn, nullptr);
    EXPECT_EQ(lookIn->text(), "Suchen in:");

    // The question itself, answered by a click on each of its buttons in turn.
    QStringList buttons;
    for (const QMessageBox::StandardButton which :
         {QMessageBox::Cancel, QMessageBox::Discard, QMessageBox::Save}) {
        QTimer::singleShot(0, [&buttons, which] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            buttons.clear();
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            EXPECT_EQ(box->text(), "Änderungen an „fall.tgcase“ speichern?");
            box->button(which)->click();
        });
        const qt::SaveChoice choice =
            qt::askToSaveChanges(window.get(), "Tesmo-Gegen", "fall.tgcase", {});
        EXPECT_EQ(choice, which == QMessageBox::Cancel    ? qt::SaveChoice::Cancel
                          : which == QMessageBox::Discard ? qt::SaveChoice::Discard
                                                          : qt::SaveChoice::Save);
    }
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"&Speichern", "&Verwerfen", "Abbrechen"}));
}

}  // namespace
}  // namespace tesmo::test
