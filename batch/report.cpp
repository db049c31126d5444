#include "batch/report.h"

#include "model/drying_run.h"
#include "ui/control_table.h"

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
    for (Control c : {Control::lbl_Achtung, Control::lbl_ungenau1, Control::lbl_ungenau2,
                      Control::lbl_ungenau3, Control::Image7})
        out << controlName(c) << '\t' << (window.isVisible(c) ? "visible" : "hidden") << '\n';
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
