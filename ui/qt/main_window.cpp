#include "ui/qt/main_window.h"

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "model/inputs.h"
#include "ui/control_table.h"
#include "ui/qt/chart_surface.h"
#include "ui/qt/decorations.h"
#include "ui/qt/qt_look.h"
#include "ui/qt/text_field.h"
#include "ui/vector_state.h"

namespace tesmo::qt {

namespace {

const char* const kCaption =
    "Tesmo-Gegen v.1.20  -  13.08.2007  -  Symmetrische Trocknung einer Platte aus Ziegelton";

// The fixed texts: titles, chart legends, the temperature-scale symbols and the credit lines.
struct FixedText {
    const char* name;
    const char* text;
    Rgb colour;
    double points;
    Twips geometry;
    Rgb background;
    bool opaque;
};

constexpr Rgb kPurple{192, 0, 192};
constexpr Rgb kOchre{192, 64, 0};
constexpr Rgb kLightYellow{255, 255, 192};
constexpr Rgb kCreditBlue{0, 0, 160};

// U+03D1, the Greek theta symbol that marks the temperature scale of the time chart.
#define THETA "\u03d1"

// clang-format off
constexpr FixedText kFixedTexts[] = {
    {"Label7", "Kinetik und Energetik der Konvektionstrocknung von schwindenden,", kRed, 15.75,
     {4770, 0, 10515, 435}, kWhite, false},
    {"Label6", "kapillarporösen Rohlingsplatten im Gegenstrom", kRed, 15.75,
     {6390, 315, 7275, 435}, kWhite, false},
    {"Label8", "im zeitlichen Ablauf der Trocknung - aus Sicht des durchfahrenden Trockengutes",
     kBlack, 12, {5310, 675, 9300, 300}, kWhite, false},
    {"Label10", "Orts- und zeitabhängige Wasserbeladung,", kBlack, 11.25, {4770, 5850, 4515, 255},
     kWhite, false},
    {"Label11", "Schwindungsende,", kBlue, 11.25, {9315, 5850, 2085, 255}, kWhite, false},
    {"Label12", "Ende des 1. Trocknungsabschnittes", kRed, 11.25, {11430, 5850, 3885, 255},
     kWhite, false},
    {"Label13", "Wasserbeladung,", kBlack, 11.25, {5625, 10575, 1860, 255}, kWhite, false},
    {"Label14", "Verdunstungsrate,", kGreen, 11.25, {7515, 10575, 2040, 255}, kWhite, false},
    {"Label15", "Oberflächen- und Kernschwindung,", kBlue, 11.25, {9540, 10575, 3840, 255},
     kWhite, false},
    {"Label9", "Luft-,", kRed, 11.25, {13365, 10575, 600, 255}, kWhite, false},
    {"Label17", "Kern- und", kPurple, 11.25, {6570, 10800, 1140, 255}, kWhite, false},
    {"Label19", "Oberflächentemperatur,", kOchre, 11.25, {7740, 10800, 2625, 255}, kWhite, false},
    {"Label20", "Trocknungsspiegel", kBlack, 11.25, {10350, 10800, 2130, 255}, kLightYellow,
     true},
    {"Label18", THETA, kRed, 18, {14760, 6120, 240, 375}, kWhite, false},
    {"Label2", "zu", kRed, 9.75, {14985, 6390, 330, 240}, kWhite, false},
    {"Label16", THETA, kRed, 18, {14760, 10035, 240, 420}, kWhite, false},
    {"Label1", "min", kRed, 9.75, {14940, 10350, 420, 240}, kWhite, false},
    // Credit lines beside the upper logo.
    {"Label3", "Tesmo-Gegen", kCreditBlue, 17.25, {1080, 0, 3480, 435}, kWhite, false},
    {"Label4", "Trocknungslauf", kCreditBlue, 17.25, {1080, 315, 3255, 435}, kWhite, false},
    {"Label5", "Plattentrocknung im Gegenstromtrockner", kBlack, 9, {405, 720, 4200, 255},
     kWhite, false},
};
// clang-format on

#undef THETA

struct FixedLine {
    const char* name;
    int x1, y1, x2, y2, width;
};

struct FixedPicture {
    const char* name;
    Twips geometry;
    const char* text;
    Rgb colour;
    bool upwards;
    PictureControl::Arrow arrow;
};

using Arrow = PictureControl::Arrow;

// clang-format off
constexpr FixedPicture kPictures[] = {
    {"Image4", {4770, 5610, 120, 180}, "0", kBlack, false, Arrow::None},
    {"Image5", {8940, 5610, 3015, 225}, "Rohlingsdicke", kBlack, false, Arrow::AfterText},
    {"Image6", {14805, 5580, 330, 180}, "s/2", kBlack, false, Arrow::None},
    {"Image13", {4770, 10305, 120, 180}, "0", kBlack, false, Arrow::None},
    {"Image10", {8775, 10305, 2550, 180}, "laufende Zeit", kBlack, false, Arrow::AfterText},
    {"Image14", {14895, 7110, 225, 2475}, "Temperaturen", kRed, true, Arrow::AfterText},
};

constexpr FixedLine kLines[] = {
    {"Line10", 15210, 990, 90, 990, 3},
    {"Line5", 4680, 45, 4680, 11025, 3},
    {"Line6", 4725, 6180, 15255, 6180, 3},
    {"Line1", 90, 4860, 4680, 4860, 1},
    {"Line9", 90, 5130, 4680, 5130, 1},
    {"Line7", 90, 5625, 4680, 5625, 1},
    {"Line2", 90, 6345, 4680, 6345, 1},
    {"Line3", 90, 7290, 4680, 7290, 1},
    {"Line4", 90, 8010, 4680, 8010, 1},
    {"Line11", 90, 8955, 4680, 8955, 1},
    {"Line8", 90, 9495, 4680, 9495, 3},
};
// clang-format on

void applyTextColour(QWidget* w, Rgb colour) {
    QPalette pal = w->palette();
    const QColor c = toQColor(colour);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
    w->setPalette(pal);
}

// Places a label for its rectangle in the layout. The captions beside the 13-pixel fields are as
// tall as the rectangle itself, less than the line height of their font, so a transparent
// label is given the full line height instead and placed by its baseline: on the baseline of
// its field's digits (fieldBaseline, from the rectangle's top) or else where the ink is
// centred in the rectangle. The descenders stay whole. A caption a little wider than its place
// is set closer to fit.
void placeLabel(QLabel* label, const QRect& place, bool opaque, int fieldBaseline = -1) {
    QFont font = label->font();
    const QFontMetricsF wide(font);
    const double room = place.width() - 1.0;
    const double needed = wide.horizontalAdvance(label->text());
    if (needed > room && label->text().size() > 1) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, (room - needed) / (label->text().size() - 1));
        label->setFont(font);
    }
    if (opaque) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setGeometry(place);
        return;
    }
    const QFontMetrics fm(font);
    const double ink = fm.capHeight() + fm.descent();
    const int baseline =
        fieldBaseline >= 0
            ? fieldBaseline
            : static_cast<int>(std::lround((place.height() - ink) / 2.0 + fm.capHeight()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place.left(), place.top() + baseline - fm.ascent(), place.width(),
                       std::max(place.height(), fm.height() + 1));
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font,
                  Rgb colour, const QRect& place, bool opaque = false, int fieldBaseline = -1) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    applyTextColour(label, colour);
    placeLabel(label, place, opaque, fieldBaseline);
    return label;
}

// The baseline of the digits in a field, for the label that names it.
int fieldBaseline(Control field) {
    const ControlSpec& f = controlSpec(field);
    return TextField::baseline(arialFont(f.font), pxRect(f.geometry).height());
}

}  // namespace

frm_TesmoGegen::frm_TesmoGegen(RunState& state, QWidget* parent)
    : QWidget(parent), WindowBase(state), run_(*this) {
    setObjectName(QStringLiteral("frm_TesmoGegen"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(applicationIcon());
    setFixedSize(kClientWidth, kClientHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    buildDecorations();
    buildControls();
    connectButtons();
}

frm_TesmoGegen::~frm_TesmoGegen() = default;

void frm_TesmoGegen::buildDecorations() {
    for (const FixedLine& l : kLines) {
        auto* line = new LineControl(l.x1, l.y1, l.x2, l.y2, l.width, this);
        line->setObjectName(QString::fromLatin1(l.name));
    }
    for (const FixedText& t : kFixedTexts) {
        QLabel* label =
            makeLabel(this, t.name, QString::fromUtf8(t.text), arialFont(t.points, true), t.colour,
                      pxRect(t.geometry), t.opaque);
        if (t.opaque) {
            QPalette pal = label->palette();
            pal.setColor(QPalette::Window, toQColor(t.background));
            label->setPalette(pal);
            label->setAutoFillBackground(true);
        }
    }
    for (const FixedPicture& p : kPictures) {
        auto* pic = new PictureControl(QString::fromUtf8(p.text), toQColor(p.colour),
                                       arialFont(9, true), p.upwards, p.arrow, this);
        pic->setObjectName(QString::fromLatin1(p.name));
        pic->setGeometry(pxRect(p.geometry));
    }
    auto* logo = new LogoControl(false, this);
    logo->setObjectName(QStringLiteral("Picture2"));
    logo->setGeometry(pxRect({90, 45, 885, 660}));
    auto* logo2 = new LogoControl(true, this);
    logo2->setObjectName(QStringLiteral("Picture1"));
    logo2->setGeometry(pxRect({90, 10620, 1050, 390}));
}

void frm_TesmoGegen::buildControls() {
    // The labels of the input fields stand at their field's height, left of it.
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        const ControlSpec& field = controlSpec(c);
        const bool lower = !field.font.bold;
        const Twips place = lower ? Twips{1275, field.geometry.top, 2820, field.geometry.height}
                                  : Twips{120, field.geometry.top, 3750, field.geometry.height};
        makeLabel(this, inputLabelName(c), QString::fromUtf8(inputCaption(c)),
                  arialFont(field.font), kBlack, pxRect(place), false, fieldBaseline(c));
    }

    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        const ControlSpec& entry = controlSpec(c);
        const QString text = QString::fromUtf8(entry.text);
        QWidget* w = nullptr;
        switch (entry.kind) {
            case ControlKind::TextField: {
                auto* field = new TextField(this);
                field->setText(text);
                field->setAlignment(Qt::AlignCenter);
                if (!isInput(c)) {
                    // Output boxes show results; they take the focus only when clicked, so the
                    // Tab key walks through the inputs alone.
                    field->setReadOnly(true);
                    field->setFocusPolicy(Qt::ClickFocus);
                }
                w = field;
                break;
            }
            case ControlKind::Label: {
                // An output label stands on the baseline of its field.
                const int baseline =
                    c >= kFirstOutputLabel && index(c) < index(kFirstOutputLabel) + kOutputCount
                        ? fieldBaseline(
                              controlAt(index(c) - index(kFirstOutputLabel) + index(kFirstOutput)))
                        : -1;
                w = makeLabel(this, controlName(c), text, arialFont(entry.font), entry.colour,
                              pxRect(entry.geometry), false, baseline);
                break;
            }
            case ControlKind::Button:
                w = new QPushButton(text, this);
                break;
            case ControlKind::Image:
                w = new PictureControl(text, toQColor(entry.colour), arialFont(entry.font), true,
                                       PictureControl::Arrow::BeforeText, this);
                break;
            case ControlKind::Surface: {
                const QRect r = pxRect(entry.geometry);
                const bool profile = c == Control::pic_Ausgabe;
                auto* s = new ChartSurface(r.size(), 10500.0, profile ? 6000.0 : 4300.0, this);
                (profile ? ausgabe_ : zeit_) = s;
                w = s;
                break;
            }
        }
        w->setObjectName(QString::fromLatin1(controlName(c)));
        if (entry.kind != ControlKind::Label) {
            w->setFont(arialFont(entry.font));
            applyTextColour(w, entry.colour);
            w->setGeometry(pxRect(entry.geometry));
        }
        w->setVisible(entry.visibleAtStart);
        controls_[static_cast<std::size_t>(i)] = w;
    }
    // The parking field only holds the focus during a run; it is not meant to be seen.
    auto* park = static_cast<TextField*>(widget(Control::txt_parkfocus));
    park->setFocusPolicy(Qt::ClickFocus);
    park->setBorderVisible(false);

    // "!" sits inside the time chart, placed in the chart's own units.
    QWidget* achtung = widget(Control::lbl_Achtung);
    const Twips& a = controlSpec(Control::lbl_Achtung).geometry;
    achtung->setParent(zeit_);
    achtung->setGeometry(zeit_->toWidget(a.left, a.top, a.width, a.height));
    achtung->setAutoFillBackground(true);
    achtung->setVisible(false);
    static_cast<QLabel*>(achtung)->setAlignment(Qt::AlignCenter);

    // Tab order: the inputs top to bottom, then Start and the other run buttons.
    QWidget* previous = widget(Control::txt_Dicke);
    for (int i = 1; i < kInputCount; ++i) {
        QWidget::setTabOrder(previous, widget(controlAt(i)));
        previous = widget(controlAt(i));
    }
    for (Control b : {Control::cmd_Start, Control::cmd_Neustart, Control::cmd_Pause,
                      Control::cmd_Weiter, Control::cmd_Stop}) {
        QWidget::setTabOrder(previous, widget(b));
        previous = widget(b);
    }
}

void frm_TesmoGegen::connectButtons() {
    auto button = [this](Control c) { return static_cast<QAbstractButton*>(widget(c)); };
    connect(button(Control::cmd_Start), &QAbstractButton::clicked, this, [this] {
        run_.cmd_Start_Click();
        afterHandler();
    });
    connect(button(Control::cmd_Pause), &QAbstractButton::clicked, this, [this] {
        run_.cmd_Pause_Click();
        afterHandler();
    });
    connect(button(Control::cmd_Weiter), &QAbstractButton::clicked, this,
            [this] { run_.cmd_Weiter_Click(); });
    connect(button(Control::cmd_Stop), &QAbstractButton::clicked, this,
            [this] { run_.cmd_Stop_Click(); });
    connect(button(Control::cmd_Neustart), &QAbstractButton::clicked, this, [this] {
        run_.cmd_Neustart_Click();
        afterHandler();
    });
}

// A handler has returned: what it wrote and drew goes to the screen, and if the closing window
// cut a run or a pause short, the program can end now.
void frm_TesmoGegen::afterHandler() {
    present();
    if (run_.quitRequested()) QCoreApplication::quit();
}

void frm_TesmoGegen::closeEvent(QCloseEvent* event) {
    endRunForClose();
    event->accept();
}

void frm_TesmoGegen::endRunForClose() {
    // A run or a pause holds the program inside a button handler; ask it to end at its next
    // poll. The handler returns at once, and the program ends with it.
    if (run_.running() || state().PauseFlag != 0) run_.requestQuit();
}

QWidget* frm_TesmoGegen::widget(Control control) const {
    return controls_[static_cast<std::size_t>(index(control))];
}

ChartSurface& frm_TesmoGegen::surface(Chart chart) const {
    return chart == Chart::Ausgabe ? *ausgabe_ : *zeit_;
}

void frm_TesmoGegen::setMessageHook(std::function<void(const std::vector<std::string>&)> hook) {
    messageHook_ = std::move(hook);
}

void frm_TesmoGegen::setPainting(Painting painting) {
    present();
    painting_ = painting;
    const bool immediate = painting == Painting::Immediate;
    ausgabe_->setImmediateRefresh(immediate);
    zeit_->setImmediateRefresh(immediate);
}

// --- primitives ------------------------------------------------------------------------------

void frm_TesmoGegen::setVisible(Control control, bool visible) {
    PendingText& p = pending_[static_cast<std::size_t>(index(control))];
    if (visible && p.dirty) {  // a control appears with its latest text
        applyText(control, p.text);
        p.dirty = false;
    }
    widget(control)->setVisible(visible);
}

void frm_TesmoGegen::repaint(Control control) {
    if (control == Control::pic_Ausgabe || control == Control::pic_Zeit) {
        surface(control == Control::pic_Ausgabe ? Chart::Ausgabe : Chart::Zeit).refresh();
        return;
    }
    // Batched: handing a text over or showing a control schedules its painting already, and
    // the next event processing, within kPresentInterval, paints it.
    if (painting_ == Painting::Immediate) widget(control)->repaint();
}

void frm_TesmoGegen::applyText(Control control, std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QWidget* w = widget(control);
    if (auto* field = qobject_cast<QLineEdit*>(w)) {
        field->setText(s);
        field->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(s);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(s);
    }
}

void frm_TesmoGegen::present() {
    ausgabe_->present();
    zeit_->present();
    if (!anyPending_) return;
    anyPending_ = false;
    for (int i = 0; i < kControlCount; ++i) {
        PendingText& p = pending_[static_cast<std::size_t>(i)];
        if (!p.dirty) continue;
        p.dirty = false;
        applyText(controlAt(i), p.text);
    }
}

void frm_TesmoGegen::setText(Control control, std::string_view text) {
    // A run writes its boxes thousands of times a second, far more often than a screen can
    // show; during a run the text is kept and handed to the control with the next batch.
    if (painting_ == Painting::Immediate || !run_.running()) {
        pending_[static_cast<std::size_t>(index(control))].dirty = false;
        applyText(control, text);
        return;
    }
    PendingText& p = pending_[static_cast<std::size_t>(index(control))];
    p.text.assign(text.data(), text.size());
    p.dirty = true;
    anyPending_ = true;
}

std::string frm_TesmoGegen::text(Control control) const {
    const PendingText& p = pending_[static_cast<std::size_t>(index(control))];
    if (p.dirty) return p.text;
    QWidget* w = widget(control);
    if (auto* field = qobject_cast<QLineEdit*>(w)) return field->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
    return {};
}

bool frm_TesmoGegen::isVisible(Control control) const {
    return !widget(control)->isHidden();
}

void frm_TesmoGegen::setColor(Control control, Rgb colour) {
    applyTextColour(widget(control), colour);
}

void frm_TesmoGegen::setFocus(Control control) {
    widget(control)->setFocus(Qt::OtherFocusReason);
}

ChartCanvas& frm_TesmoGegen::canvas(Chart chart) {
    return surface(chart);
}

// The model polls at the top of every time step, up to several hundred thousand times a
// second, and processing the pending events costs well under a microsecond when there are
// none. Painting costs far more, so what the run has written and drawn is presented (and then
// painted at this event processing) at most every kPresentInterval: the screen shows the run
// as it goes, clicks are taken at the very next poll, and the run is not slowed down by its
// own display.
void frm_TesmoGegen::processEvents() {
    if (painting_ == Painting::Batched) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPresent_ >= kPresentInterval) {
            lastPresent_ = now;
            present();
        }
    } else {
        present();
    }
    QCoreApplication::processEvents();
    clearUpperVectorState();
}

void frm_TesmoGegen::waitForEvents() {
    present();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    clearUpperVectorState();
}

void frm_TesmoGegen::draw(ChartDrawing drawing) {
    WindowBase::draw(drawing);
    clearUpperVectorState();
}

void frm_TesmoGegen::showMessages(const std::vector<std::string>& messages) {
    if (messages.empty()) return;
    present();
    if (messageHook_) {
        messageHook_(messages);
        return;
    }
    QString text;
    for (const std::string& m : messages) {
        if (!text.isEmpty()) text += QStringLiteral("\n\n");
        text += QString::fromStdString(m);
    }
    QMessageBox::warning(this, QStringLiteral("Tesmo-Gegen"), text);
}

}  // namespace tesmo::qt
