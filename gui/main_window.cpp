#include "gui/main_window.h"

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "display/control_table.h"
#include "display/decoration_table.h"
#include "display/vector_state.h"
#include "export/label_layout.h"
#include "export/qt_look.h"
#include "gui/chart_surface.h"
#include "gui/decorations.h"
#include "gui/field_access.h"
#include "gui/help_window.h"
#include "gui/text_field.h"
#include "model/inputs.h"

namespace tesmo::qt {

namespace {

const char* const kCaption =
    "Tesmo-Gegen v.1.20  -  13.08.2007  -  Symmetrische Trocknung einer Platte aus Ziegelton";

void applyTextColour(QWidget* w, Rgb colour) {
    QPalette pal = w->palette();
    const QColor c = toQColor(colour);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
    w->setPalette(pal);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font,
                  Rgb colour, const QRect& place, bool opaque = false, int fieldBaseline = -1) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    applyTextColour(label, colour);
    const LabelLayout layout = layoutLabel(text, font, place, opaque, fieldBaseline);
    label->setFont(layout.font);
    label->setAlignment(layout.alignment);
    label->setGeometry(layout.geometry);
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
    describeFields(*this);
}

frm_TesmoGegen::~frm_TesmoGegen() = default;

void frm_TesmoGegen::buildDecorations() {
    for (const FixedLine& l : fixedLines()) {
        auto* line = new LineControl(l.x1, l.y1, l.x2, l.y2, l.width, this);
        line->setObjectName(QString::fromLatin1(l.name));
    }
    for (const FixedText& t : fixedTexts()) {
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
    for (const FixedPicture& p : fixedPictures()) {
        auto* pic = new PictureControl(QString::fromUtf8(p.text), toQColor(p.colour),
                                       arialFont(kPictureFont), p.style, this);
        pic->setObjectName(QString::fromLatin1(p.name));
        pic->setGeometry(pxRect(p.geometry));
    }
    for (const FixedLogo& l : fixedLogos()) {
        auto* logo = new LogoControl(l.counterCurrent, this);
        logo->setObjectName(QString::fromLatin1(l.name));
        logo->setGeometry(pxRect(l.geometry));
    }
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
                  arialFont(field.font), kBlack, pxRect(place), false, fieldBaseline(c))
            ->setToolTip(fieldToolTip(c));
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
                w = new PictureControl(text, toQColor(entry.colour), arialFont(entry.font),
                                       kImage7Style, this);
                break;
            case ControlKind::Surface: {
                const Chart chart = c == Control::pic_Ausgabe ? Chart::Ausgabe : Chart::Zeit;
                const ChartExtent extent = chartExtent(chart);
                auto* s = new ChartSurface(pxRect(entry.geometry).size(), extent.width,
                                           extent.height, this);
                (chart == Chart::Ausgabe ? ausgabe_ : zeit_) = s;
                // Everything drawn on a chart is also kept, to be drawn again for an export.
                recordings_[chart == Chart::Ausgabe ? 0 : 1] =
                    std::make_unique<RecordingCanvas>(*s, extent);
                w = s;
                break;
            }
        }
        w->setObjectName(QString::fromLatin1(controlName(c)));
        w->setToolTip(fieldToolTip(c));
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

Rgb frm_TesmoGegen::colour(Control control) const {
    const QColor c = widget(control)->palette().color(QPalette::WindowText);
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

void frm_TesmoGegen::setFocus(Control control) {
    widget(control)->setFocus(Qt::OtherFocusReason);
}

ChartCanvas& frm_TesmoGegen::canvas(Chart chart) {
    return *recordings_[chart == Chart::Ausgabe ? 0 : 1];
}

const DisplayList* frm_TesmoGegen::recording(Chart chart) const {
    return &recordings_[chart == Chart::Ausgabe ? 0 : 1]->displayList();
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
