// The study window as the program opens it: a program window on its own run state, its fields
// holding fast texts, "Studie → Parameterstudie…" triggered. Varied inputs are typed into the
// window's own fields.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "gui/program_window.h"
#include "gui/study_setup_panel.h"
#include "gui/study_table_model.h"
#include "gui/study_window.h"
#include "gui/vary_editor.h"
#include "tests/gui/qt_support.h"

namespace tesmo::test {

class StudyFixture : public ::testing::Test {
  protected:
    StudyFixture() {
        program = openProgramWindow(*st, messages);
        typeIntoMain(fastInputs());
        program->action(QStringLiteral("parameterstudie"))->trigger();
        study = program->studyWindow();
        study->setMessageHook([this](const QString& m) { messages.push_back(m.toStdString()); });
        study->setQuestionHook([this](const QString& q) {
            questions.push_back(q.toStdString());
            return answer;
        });
    }

    void typeIntoMain(const InputTexts& texts) {
        for (int i = 0; i < kInputCount; ++i)
            program->client().setText(controlAt(i), texts[controlAt(i)]);
    }
    InputTexts mainTexts() const {
        InputTexts t;
        for (int i = 0; i < kInputCount; ++i)
            t[controlAt(i)] = program->client().text(controlAt(i));
        return t;
    }

    qt::VaryEditor* editor(int which) const {
        return study->findChild<qt::VaryEditor*>(QStringLiteral("variation%1").arg(which));
    }
    template <class W>
    W* in(int which, const char* name) const {
        return editor(which)->findChild<W*>(QString::fromLatin1(name));
    }
    // Chooses the field in the editor's list by its caption, as a user does.
    void choose(int which, Control field) const {
        auto* box = in<QComboBox>(which, "feld");
        box->setCurrentIndex(box->findText(QString::fromUtf8(inputCaption(field)).trimmed()));
    }
    void range(int which, Control field, const char* from, const char* to, const char* step) {
        choose(which, field);
        in<QRadioButton>(which, "bereich")->setChecked(true);
        in<QLineEdit>(which, "von")->setText(QString::fromUtf8(from));
        in<QLineEdit>(which, "bis")->setText(QString::fromUtf8(to));
        in<QLineEdit>(which, "schritt")->setText(QString::fromUtf8(step));
    }
    void list(int which, Control field, const char* values) {
        choose(which, field);
        in<QRadioButton>(which, "liste")->setChecked(true);
        in<QLineEdit>(which, "werte")->setText(QString::fromUtf8(values));
    }
    std::string shownError(int which) const {
        auto* label = in<QLabel>(which, "meldung");
        return label->isVisibleTo(study) ? label->text().toStdString() : "";
    }
    std::string countText() const {
        return study->findChild<QLabel*>(QStringLiteral("faelle"))->text().toStdString();
    }
    QPushButton* button(const char* name) const {
        return study->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    // Berechnen, then waits until the study has ended; false if it did not within the time.
    bool computeAndWait(int milliseconds = 60000) {
        QSignalSpy ended(study, &qt::StudyWindow::studyEnded);
        QTest::mouseClick(button("berechnen"), Qt::LeftButton);
        if (!study->running()) return false;
        return ended.wait(milliseconds);
    }
    // Waits until at least `rows` rows are in the table.
    bool waitForRows(int rows, int milliseconds = 30000) {
        return QTest::qWaitFor([&] { return study->table().rowCount() >= rows; }, milliseconds);
    }

    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::ProgramWindow> program;
    qt::StudyWindow* study = nullptr;
    std::vector<std::string> messages, questions;
    bool answer = true;
};

}  // namespace tesmo::test
