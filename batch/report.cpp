#include "batch/report.h"

#include "display/control_table.h"
#include "model/drying_run.h"

namespace tesmo {

namespace {

void printFields(std::ostream& out, const HeadlessWindow& window, bool human) {
    for (int i = index(kFirstOutput); i < index(kFirstOutput) + kOutputCount; ++i) {
        const Control field = controlAt(i);
        if (!window.written(field)) continue;
        out << (human ? fieldCaption(field) : controlName(field)) << '\t' << window.text(field)
            << '\n';
    }
}

void printWarnings(std::ostream& out, const HeadlessWindow& window) {
    const auto line = [&](Control c) {
        out << controlName(c) << '\t' << (window.isVisible(c) ? "visible" : "hidden") << '\n';
    };
    for (Control c : kWarningLabels)
        line(c);
    line(Control::Image7);
}

}  // namespace

void printReport(std::ostream& out, const HeadlessWindow& window, bool human) {
    printFields(out, window, human);
    printWarnings(out, window);
    const Rgb c = window.colour(Control::txt_Wasserfehler);
    out << "txt_Wasserfehler.color\t" << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << '\n';
    out << "end\t" << laufendeName(window.state().Laufende) << '\n';
}

}  // namespace tesmo
