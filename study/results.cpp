#include "study/results.h"

#include <cmath>

#include "display/headless_window.h"
#include "files/csv_writer.h"
#include "model/drying_run.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

using C = Control;

double luftWasserVerh(const RunState& st) {
    // As the window shows it: air per kg of dry product over the water removed per kg.
    return st.LuftRohlingVerh / (st.XAnf - static_cast<double>(st.XZiel));
}

// The air demand and the energy demand count as reached when their fields are written: a run
// in a constant climate has neither (no air is passed along the plates), so its cells stay
// empty rather than showing a number that does not apply.
// clang-format off
const std::array<ResultColumn, kResultCount> kColumns = {{
    {"LuftRohlingVerh", [](const RunState& s) { return s.LuftRohlingVerh; }, Reached::FieldWritten, C::txt_LuftRohlingVerh, Shown::Number, Pattern::F2, 1, ""},
    {"LuftWasserVerh", luftWasserVerh, Reached::FieldWritten, C::txt_LuftWasserVerh, Shown::Number, Pattern::F2, 1, ""},
    {"XSchwEnde", [](const RunState& s) { return s.XSchwEnde; }, Reached::Started, C::txt_XSchwEnde, Shown::Number, Pattern::F3, 1, ""},
    {"offPoren", [](const RunState& s) { return s.offPoren; }, Reached::Started, C::txt_offPoren, Shown::Number, Pattern::F1, 100, ""},
    {"Laufzeit", [](const RunState& s) { return s.Laufzeit; }, Reached::Started, C::txt_Zeit, Shown::Time, Pattern::F1, 1, ""},
    {"t1TA", [](const RunState& s) { return s.t1TA; }, Reached::FieldWritten, C::txt_Dauer1TA, Shown::Time, Pattern::F1, 1, ""},
    {"X1TA", [](const RunState& s) { return s.X1TA; }, Reached::FieldWritten, C::txt_X1TA, Shown::Number, Pattern::F4, 1, ""},
    {"Anfangsrate", [](const RunState& s) { return s.Anfangsrate; }, Reached::Started, C::txt_Anfangsrate, Shown::Number, Pattern::F3, 1, ""},
    {"t1xse", [](const RunState& s) { return s.t1xse; }, Reached::FieldWritten, C::txt_t1xse, Shown::Time, Pattern::F1, 1, ""},
    {"t2xse", [](const RunState& s) { return s.t2xse; }, Reached::FieldWritten, C::txt_t2xse, Shown::Time, Pattern::F1, 1, ""},
    {"SchwindDiffMax", [](const RunState& s) { return s.SchwindDiffMax; }, Reached::FieldWritten, C::txt_schwinddiff, Shown::Number, Pattern::F2, 1, ""},
    {"SchwindGradMax", [](const RunState& s) { return s.SchwindGradMax; }, Reached::FieldWritten, C::txt_schwindgrad, Shown::Number, Pattern::F2, 0.1, ""},
    {"thetaLuftMom", [](const RunState& s) { return s.thetaLuftMom; }, Reached::Started, C::txt_momLuftTemp, Shown::Number, Pattern::F1, 1, ""},
    {"thetaKern", [](const RunState& s) { return s.thetaKern; }, Reached::Started, C::txt_thetaK, Shown::Number, Pattern::F1, 1, ""},
    {"Xmom", [](const RunState& s) { return s.Xmom; }, Reached::Started, C::txt_xmom, Shown::Number, Pattern::F2, 1, ""},
    {"spezEnergie", [](const RunState& s) { return s.spezEnergie; }, Reached::FieldWritten, C::txt_spezEnergie, Shown::Number, Pattern::F1, 1, ""},
    {"relEnergie", [](const RunState& s) { return s.relEnergie; }, Reached::FieldWritten, C::txt_relEnergie, Shown::Number, Pattern::F3, 1, ""},
    {"Wasserfehler", [](const RunState& s) { return s.Wasserfehler; }, Reached::Evaluated, C::txt_Wasserfehler, Shown::Number, Pattern::F1, 1, ""},
    {"HistIndex", [](const RunState& s) { return double(s.HistIndex); }, Reached::Started, C::Count, Shown::Count, Pattern::F1, 1, "gespeicherte Zeitschritte"},
    {"lbl_Achtung", nullptr, Reached::Started, C::Count, Shown::Flag, Pattern::F1, 1, "„!“: lange Suche der Spiegeltemperatur"},
    {"lbl_ungenau", nullptr, Reached::Started, C::Count, Shown::Flag, Pattern::F1, 1, "„evtl. sehr ungenau !“"},
}};
// clang-format on

constexpr std::size_t kAchtung = kResultCount - 2;
constexpr std::size_t kUngenau = kResultCount - 1;

}  // namespace

const char* caseEndName(const CaseOutcome& outcome) {
    return outcome.refused ? "refused" : laufendeName(outcome.end);
}

bool finished(const CaseOutcome& outcome) {
    return !outcome.refused && (outcome.end == RunEnd::Target || outcome.end == RunEnd::Midplane);
}

const std::array<ResultColumn, kResultCount>& resultColumns() {
    return kColumns;
}

CaseOutcome outcomeOf(std::size_t number, const InputTexts& texts, const HeadlessWindow& window,
                      bool refused) {
    CaseOutcome o;
    o.number = number;
    for (int i = 0; i < kInputCount; ++i) {
        bool found = false;
        o.inputs[static_cast<std::size_t>(i)] = TextZuZahl(texts[controlAt(i)], &found);
        o.inputRead[static_cast<std::size_t>(i)] = found;
    }
    o.refused = refused;
    if (refused) {
        for (const std::string& m : window.messages())
            o.message += (o.message.empty() ? "" : " ") + m;
        return o;
    }
    const RunState& st = window.state();
    o.end = st.Laufende;
    if (const char* m = laufendeMeldung(st.Laufende)) o.message = m;
    for (std::size_t c = 0; c < kResultCount; ++c) {
        const ResultColumn& col = kColumns[c];
        switch (col.reached) {
            case Reached::Started:
                o.reached[c] = true;
                break;
            case Reached::FieldWritten:
                o.reached[c] = window.written(col.field);
                break;
            case Reached::Evaluated:
                o.reached[c] = finished(o);
                break;
        }
        if (col.value) o.results[c] = col.value(st);
    }
    o.results[kAchtung] = window.isVisible(Control::lbl_Achtung) ? 1 : 0;
    o.results[kUngenau] = window.isVisible(Control::lbl_ungenau1) ||
                                  window.isVisible(Control::lbl_ungenau2) ||
                                  window.isVisible(Control::lbl_ungenau3)
                              ? 1
                              : 0;
    return o;
}

std::vector<std::string> tableColumnNames() {
    std::vector<std::string> names{"case"};
    for (int i = 0; i < kInputCount; ++i)
        names.emplace_back(controlName(controlAt(i)));
    names.emplace_back("end");
    names.emplace_back("message");
    for (const ResultColumn& c : kColumns)
        names.emplace_back(c.name);
    return names;
}

std::string tableHeader(TableFormat format) {
    std::string h(tableStart(format));
    for (const std::string& name : tableColumnNames()) {
        if (name != "case") h += tableSeparator(format);
        h += name;
    }
    h += '\n';
    return h;
}

std::vector<std::string_view> nonInputColumns() {
    std::vector<std::string_view> names = {"case", "end", "message"};
    for (const ResultColumn& c : kColumns)
        names.emplace_back(c.name);
    return names;
}

std::string tableRow(const CaseOutcome& o, TableFormat format) {
    const char sep = tableSeparator(format);
    std::string row = std::to_string(o.number);
    for (std::size_t i = 0; i < o.inputs.size(); ++i) {
        row += sep;
        if (o.inputRead[i]) appendTableNumber(row, o.inputs[i], format);
    }
    row += sep;
    row += caseEndName(o);
    row += sep;
    appendCsvField(row, o.message, sep);
    for (std::size_t c = 0; c < kResultCount; ++c) {
        row += sep;
        if (!o.reached[c]) continue;
        if (kColumns[c].shown == Shown::Count || kColumns[c].shown == Shown::Flag)
            row += std::to_string(static_cast<long long>(o.results[c]));
        else
            appendTableNumber(row, o.results[c], format);
    }
    row += '\n';
    return row;
}

}  // namespace tesmo
