#include "display/headless_window.h"

#include "display/control_table.h"
#include "display/number_format.h"

namespace tesmo {

namespace {
// Room reserved in every control's text so that writing a number during the run never
// allocates.
constexpr std::size_t kReservedText = kNumberTextCapacity;
}  // namespace

HeadlessWindow::HeadlessWindow(RunState& st) : WindowBase(st) {
    for (ControlState& c : controls_)
        c.text.reserve(kReservedText);
    reopen();
}

void HeadlessWindow::reopen() {
    for (int i = 0; i < kControlCount; ++i) {
        const ControlSpec& initial = controlSpec(controlAt(i));
        ControlState& c = controls_[static_cast<std::size_t>(i)];
        c.text = initial.text;
        c.visible = initial.visibleAtStart;
        c.written = false;
        c.colour = initial.colour;
    }
    counters_ = {};
    for (auto& recording : recordings_)
        recording.reset();
    messages_.clear();
    polls_ = 0;
    progressOut_ = nullptr;
    stopRequest_ = nullptr;
    progressEvery_ = 0;
    setCapture(nullptr);
}

void HeadlessWindow::setInputTexts(const InputTexts& texts) {
    for (int i = 0; i < kInputCount; ++i)
        at(controlAt(i)).text = texts[controlAt(i)];
}

void HeadlessWindow::reportProgress(std::FILE* out, long polls) {
    progressOut_ = out;
    progressEvery_ = polls;
}

void HeadlessWindow::setVisible(Control control, bool visible) {
    at(control).visible = visible;
}

void HeadlessWindow::setText(Control control, std::string_view text) {
    ControlState& c = at(control);
    c.text.assign(text.data(), text.size());  // within the reserved room: no allocation
    c.written = true;
}

std::string HeadlessWindow::text(Control control) const {
    return at(control).text;
}

bool HeadlessWindow::isVisible(Control control) const {
    return at(control).visible;
}

void HeadlessWindow::setColor(Control control, Rgb colour) {
    at(control).colour = colour;
}

void HeadlessWindow::recordCharts(std::size_t maxPoints) {
    for (Chart chart : {Chart::Ausgabe, Chart::Zeit}) {
        auto& recording = recordings_[slot(chart)];
        if (!recording)
            recording = std::make_unique<RecordingCanvas>(counters_[slot(chart)],
                                                          chartExtent(chart), maxPoints);
    }
}

ChartCanvas& HeadlessWindow::canvas(Chart chart) {
    if (const auto& recording = recordings_[slot(chart)]) return *recording;
    return counters_[slot(chart)];
}

const DisplayList* HeadlessWindow::recording(Chart chart) const {
    const auto& recording = recordings_[slot(chart)];
    return recording ? &recording->displayList() : nullptr;
}

void HeadlessWindow::processEvents() {
    ++polls_;
    // The only event a headless run can receive: a request from outside (an interrupt of the
    // runner, a study being cancelled) to stop, which acts as the Stop button.
    if (stopRequest_ != nullptr && stopRequest_->load(std::memory_order_relaxed))
        state().StopFlag = 1;
    if (progressEvery_ > 0 && polls_ % progressEvery_ == 0) printProgress();
}

void HeadlessWindow::waitForEvents() {
    // No click can ever end a pause here, so a pause ends at once, as if Weiter followed.
    processEvents();
    state().PauseFlag = 0;
}

void HeadlessWindow::showMessages(const std::vector<std::string>& messages) {
    messages_.insert(messages_.end(), messages.begin(), messages.end());
}

bool HeadlessWindow::written(Control control) const {
    return at(control).written;
}

Rgb HeadlessWindow::colour(Control control) const {
    return at(control).colour;
}

void HeadlessWindow::printProgress() {
    const RunState& st = state();
    const double toRemove = st.XAnf - static_cast<double>(st.XZiel);
    NumberBuffer time, share;
    const std::string_view t = Zeitformat(st.Laufzeit, time);
    const std::string_view p =
        formatNumber(100.0 * (st.XAnf - st.Xmom) / toRemove, Pattern::F1, share);
    std::fprintf(progressOut_, "Zeit%.*s  %.*s %% des Wassers entfernt\n",
                 static_cast<int>(t.size()), t.data(), static_cast<int>(p.size()), p.data());
}

}  // namespace tesmo
