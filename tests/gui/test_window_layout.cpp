// The freshly opened window: its controls, texts, fonts, geometry and tab order.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "display/control_table.h"
#include "display/field_help.h"
#include "gui/chart_surface.h"
#include "gui/decorations.h"
#include "tests/gui/qt_support.h"

namespace tesmo::test {
namespace {

class FreshWindow : public ::testing::Test, public WindowFixture {};

TEST_F(FreshWindow, CaptionSizeAndNames) {
    EXPECT_EQ(w->objectName(), "frm_TesmoGegen");
    EXPECT_EQ(w->windowTitle().toStdString(),
              "Tesmo-Gegen v.1.20  -  13.08.2007  -  Symmetrische Trocknung einer Platte aus "
              "Ziegelton");
    EXPECT_EQ(w->size(), QSize(1020, 739));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());  // the client area does not change
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_EQ(w->palette().color(QPalette::Window), QColor(Qt::white));
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        ASSERT_NE(w->widget(c), nullptr) << controlName(c);
        EXPECT_EQ(w->widget(c)->objectName().toStdString(), controlName(c));
        EXPECT_EQ(w->findChild<QWidget*>(QString::fromLatin1(controlName(c))), w->widget(c));
    }
    // The fixed texts, pictures, lines and logos exist under their own names.
    for (const char* name :
         {"Label1",  "Label2",  "Label3",   "Label4",   "Label5",  "Label6",  "Label7",  "Label8",
          "Label9",  "Label10", "Label11",  "Label12",  "Label13", "Label14", "Label15", "Label16",
          "Label17", "Label18", "Label19",  "Label20",  "Image4",  "Image5",  "Image6",  "Image10",
          "Image13", "Image14", "Picture1", "Picture2", "Line1",   "Line2",   "Line3",   "Line4",
          "Line5",   "Line6",   "Line7",    "Line8",    "Line9",   "Line10",  "Line11"})
        EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(FreshWindow, InputsHoldTheDefaultTextsAndNoOutputIsShown) {
    const InputTexts defaults = defaultInputTexts();
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        EXPECT_EQ(w->text(c), defaults[c]) << controlName(c);
        EXPECT_TRUE(shown(c));
        auto* label = w->findChild<QLabel*>(QString::fromLatin1(inputLabelName(c)));
        ASSERT_NE(label, nullptr) << inputLabelName(c);
        EXPECT_EQ(label->text().toStdString(), inputCaption(c));
        EXPECT_TRUE(label->isVisible());
    }
    EXPECT_EQ(w->text(Control::txt_XZiel), "0,00");
    for (int i = 0; i < kOutputCount; ++i) {
        const Control field = controlAt(index(kFirstOutput) + i);
        EXPECT_FALSE(shown(field)) << controlName(field);
        EXPECT_FALSE(shown(labelOf(field))) << controlName(labelOf(field));
        if (field != Control::txt_Wasserfehler) {
            EXPECT_EQ(w->text(field), "");
        }
    }
    EXPECT_EQ(w->text(Control::txt_Wasserfehler), " ");
    for (Control c :
         {Control::lbl_ungenau1, Control::lbl_ungenau2, Control::lbl_ungenau3, Control::lbl_Achtung,
          Control::cmd_Pause, Control::cmd_Weiter, Control::cmd_Stop, Control::cmd_Neustart})
        EXPECT_FALSE(shown(c)) << controlName(c);
    for (Control c : {Control::cmd_Start, Control::Image7, Control::pic_Ausgabe, Control::pic_Zeit,
                      Control::txt_parkfocus})
        EXPECT_TRUE(shown(c)) << controlName(c);
    EXPECT_EQ(w->text(Control::cmd_Neustart), "Nochmal !");
}

TEST_F(FreshWindow, GeometryInPixelsFollowsTheTwipsLayout) {
    auto geometry = [this](Control c) { return w->widget(c)->geometry(); };
    EXPECT_EQ(geometry(Control::txt_Dicke), QRect(258, 68, 52, 13));
    EXPECT_EQ(geometry(Control::txt_rhos), QRect(258, 83, 52, 15));
    EXPECT_EQ(geometry(Control::txt_KappaSteig), QRect(273, 672, 34, 13));
    EXPECT_EQ(geometry(Control::txt_Zeit), QRect(250, 327, 60, 13));
    EXPECT_EQ(geometry(Control::txt_Wasserfehler), QRect(273, 684, 34, 13));
    EXPECT_EQ(geometry(Control::cmd_Start), QRect(252, 709, 52, 25));
    EXPECT_EQ(geometry(Control::cmd_Neustart), QRect(208, 709, 97, 25));
    EXPECT_EQ(geometry(Control::cmd_Weiter), QRect(6, 654, 67, 25));
    EXPECT_EQ(geometry(Control::pic_Ausgabe), QRect(324, 78, 661, 293));
    EXPECT_EQ(geometry(Control::pic_Zeit), QRect(324, 422, 661, 263));
    EXPECT_EQ(geometry(Control::Image7), QRect(993, 78, 15, 133));
    // The parking field lies almost wholly left of the client area.
    EXPECT_EQ(geometry(Control::txt_parkfocus), QRect(-8, 675, 15, 24));
    // "!" is a child of the time chart at (7020, 540) of its 10500 x 4300 units.
    QWidget* achtung = w->widget(Control::lbl_Achtung);
    EXPECT_EQ(achtung->parentWidget(), w->widget(Control::pic_Zeit));
    EXPECT_NEAR(achtung->x(), 1 + 7020.0 * 659 / 10500, 1.0);
    EXPECT_NEAR(achtung->y(), 1 + 540.0 * 261 / 4300, 1.0);
    EXPECT_NEAR(achtung->width(), 195.0 * 659 / 10500, 1.0);
    EXPECT_NEAR(achtung->height(), 510.0 * 261 / 4300, 1.0);
    // Thick lines are three pixels wide around their twips position.
    EXPECT_EQ(w->findChild<QWidget*>("Line5")->geometry(), QRect(311, 3, 3, 733));
    EXPECT_EQ(w->findChild<QWidget*>("Line9")->geometry(), QRect(6, 342, 307, 1));
}

TEST_F(FreshWindow, FontsResolveToArialMetricsWithTheirSizesAndColours) {
    auto font = [this](Control c) { return w->widget(c)->font(); };
    for (Control c : {Control::txt_Dicke, Control::txt_Zeit, Control::cmd_Start,
                      Control::lbl_ungenau2, Control::txt_rund}) {
        EXPECT_EQ(font(c).family(), "Arial");
        EXPECT_EQ(QFontInfo(font(c)).family(), "Liberation Sans") << controlName(c);
    }
    EXPECT_EQ(font(Control::txt_Dicke).pixelSize(), 12);  // 9 pt
    EXPECT_TRUE(font(Control::txt_Dicke).bold());
    EXPECT_EQ(font(Control::txt_rund).pixelSize(), 11);  // 8.25 pt
    EXPECT_FALSE(font(Control::txt_rund).bold());
    EXPECT_EQ(font(Control::lbl_Wasserfehler).pixelSize(), 11);
    EXPECT_EQ(font(Control::cmd_Start).pixelSize(), 16);      // 12 pt
    EXPECT_EQ(font(Control::lbl_Achtung).pixelSize(), 32);    // 24 pt
    EXPECT_EQ(font(Control::lbl_ungenau3).pixelSize(), 9);    // 6.75 pt
    EXPECT_EQ(font(Control::txt_parkfocus).pixelSize(), 13);  // 9.75 pt

    auto colour = [this](Control c, QPalette::ColorRole role) {
        return w->widget(c)->palette().color(role);
    };
    EXPECT_EQ(colour(Control::txt_Zeit, QPalette::Text), QColor(0, 192, 0));
    EXPECT_EQ(colour(Control::lbl_Zeit, QPalette::WindowText), QColor(0, 192, 0));
    EXPECT_EQ(colour(Control::txt_spezEnergie, QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(colour(Control::txt_qrand, QPalette::Text), QColor(0, 0, 192));
    EXPECT_EQ(colour(Control::txt_parkfocus, QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(static_cast<QLineEdit*>(w->widget(Control::txt_Dicke))->alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);

    // The temperature-scale symbols are the Greek theta symbol in a font that has it.
    for (const char* name : {"Label16", "Label18"}) {
        auto* theta = w->findChild<QLabel*>(name);
        ASSERT_NE(theta, nullptr);
        EXPECT_EQ(theta->text(), QString(QChar(0x03D1)));
        EXPECT_TRUE(QFontMetrics(theta->font()).inFont(QChar(0x03D1)));
        EXPECT_EQ(theta->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    EXPECT_EQ(w->findChild<QLabel*>("Label2")->text(), "zu");
    EXPECT_EQ(w->findChild<QLabel*>("Label1")->text(), "min");
}

TEST_F(FreshWindow, EveryCaptionFitsItsPlace) {
    // Clipped captions would lose their units; each label is as wide as its text needs.
    for (QLabel* label : w->findChildren<QLabel*>()) {
        const QFontMetrics fm(label->font());
        EXPECT_LE(fm.horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString();
        const int needed =
            label->text() == "!" ? fm.tightBoundingRect(label->text()).height() : fm.height() - 1;
        EXPECT_GE(label->height(), needed) << label->objectName().toStdString();
    }
}

TEST_F(FreshWindow, TabWalksTheInputsTopToBottomThenStart) {
    std::vector<QWidget*> chain;
    QWidget* at = w->widget(Control::txt_Dicke);
    for (int guard = 0; guard < 500 && chain.size() < kInputCount + 1; ++guard) {
        if ((at->focusPolicy() & Qt::TabFocus) && !at->isHidden()) chain.push_back(at);
        at = at->nextInFocusChain();
    }
    ASSERT_EQ(chain.size(), std::size_t{kInputCount + 1});
    for (int i = 0; i < kInputCount; ++i)
        EXPECT_EQ(chain[static_cast<std::size_t>(i)], w->widget(controlAt(i))) << i;
    EXPECT_EQ(chain.back(), w->widget(Control::cmd_Start));
}

TEST_F(FreshWindow, ScreenReadersHearEveryFieldByItsCaptionAndValue) {
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        if (!isInput(c) && !isOutputField(c)) continue;
        QWidget* field = w->widget(c);
        const QString caption = QString::fromUtf8(fieldCaption(c)).trimmed();
        EXPECT_EQ(field->accessibleName(), caption) << controlName(c);
        EXPECT_EQ(field->accessibleDescription().toStdString(), fieldHelp(c)) << controlName(c);
        const QLabel* label = isInput(c)
                                  ? w->findChild<QLabel*>(QString::fromLatin1(inputLabelName(c)))
                                  : static_cast<QLabel*>(w->widget(labelOf(c)));
        ASSERT_NE(label, nullptr) << controlName(c);
        EXPECT_EQ(label->buddy(), field) << controlName(c);
        EXPECT_EQ(label->text().toStdString(), fieldCaption(c));  // no mnemonic taken from it
    }
    // What assistive technology reads: "Anfangsdicke der Platte in mm, 20,0".
    QAccessibleInterface* dicke =
        QAccessible::queryAccessibleInterface(w->widget(Control::txt_Dicke));
    ASSERT_NE(dicke, nullptr);
    EXPECT_EQ(dicke->text(QAccessible::Name), "Anfangsdicke der Platte in mm");
    EXPECT_EQ(dicke->text(QAccessible::Value), "20,0");
    EXPECT_EQ(dicke->role(), QAccessible::EditableText);
}

// Rows of dark ink in an image, from the first to the last, inside the given columns.
std::pair<int, int> inkRows(const QImage& img, int left, int right) {
    int top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = left; x < right; ++x)
            if (qGray(img.pixel(x, y)) < 100) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return {top, bottom};
}

TEST_F(FreshWindow, TextFieldsShowTheirDigitsWhole) {
    // The digits and the comma's tail of a 13-pixel field have the same height of ink as the
    // same text drawn without any clipping, and they stay off the border lines.
    for (Control c : {Control::txt_Dicke, Control::txt_rhos, Control::txt_deltaT}) {
        w->setText(c, "0,25");
        QWidget* field = w->widget(c);
        QImage free(60, 40, QImage::Format_RGB32);
        free.fill(Qt::white);
        {
            QPainter p(&free);
            p.setFont(field->font());
            p.setPen(Qt::black);
            p.drawText(5, 25, QStringLiteral("0,25"));
        }
        const auto [freeTop, freeBottom] = inkRows(free, 0, free.width());
        const QImage shown = field->grab().toImage();
        const auto [top, bottom] = inkRows(shown, 3, shown.width() - 3);
        EXPECT_EQ(bottom - top, freeBottom - freeTop) << controlName(c);
        EXPECT_GE(top, 1) << controlName(c);
        EXPECT_LE(bottom, shown.height() - 2) << controlName(c);
    }
}

}  // namespace
}  // namespace tesmo::test
