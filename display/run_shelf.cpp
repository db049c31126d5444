#include "display/run_shelf.h"

#include <algorithm>
#include <array>

#include "model/text_to_number.h"

namespace tesmo {

namespace {

// Short German names of the inputs for labels, with the unit written after the text.
struct ShortName {
    const char* name;
    const char* unit;  // with its leading blank; empty for a pure number
};
// In the order of the input controls txt_Dicke … txt_KappaSteig.
constexpr std::array<ShortName, kInputCount> kShortNames = {{
    {"Dicke", " mm"},
    {"Trockendichte", " kg/m³"},
    {"Anfangsbeladung", " kg/kg"},
    {"Endbeladung", " kg/kg"},
    {"Trockenschwindung", " %"},
    {"Feuchteleitfähigkeit", "·10⁻⁹ m²/s"},
    {"Wärmeleitfähigkeit λ", " W/(m K)"},
    {"Wasserdampf-Diffusionswiderstandszahl µ", ""},
    {"Wärmeübergangskoeff.", " W/(m² K)"},
    {"Außenlufttemperatur", " °C"},
    {"Außenluftfeuchte", " %"},
    {"Ablufttemperatur", " °C"},
    {"Abluftfeuchte", " %"},
    {"Ortsschritt", " mm"},
    {"Zeitschritt", " s"},
    {"Schritte pro Kurve", ""},
    {"Kappa-Steigung", ""},
}};

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameInput(const std::string& a, const std::string& b) {
    bool foundA = false, foundB = false;
    const double x = TextZuZahl(a, &foundA);
    const double y = TextZuZahl(b, &foundB);
    if (foundA != foundB) return false;
    return foundA ? x == y : trimmed(a) == trimmed(b);
}

}  // namespace

std::string inputWithUnit(Control field, const std::string& text) {
    const ShortName& n = kShortNames[static_cast<std::size_t>(index(field))];
    const std::string shown = trimmed(text);
    return std::string(n.name) + " " + (shown.empty() ? "(leer)" : shown) + n.unit;
}

std::string differingInputs(const InputTexts& reference, const InputTexts& run) {
    std::string out;
    for (int i = 0; i < kInputCount; ++i) {
        const Control field = controlAt(i);
        if (sameInput(reference[field], run[field])) continue;
        if (!out.empty()) out += ", ";
        out += inputWithUnit(field, run[field]);
    }
    // A run in another mode differs as much as one with another input: "Klima konstant".
    const std::string modes = optionsText(run.optionen, reference.optionen);
    if (!out.empty() && !modes.empty()) out += ", ";
    out += modes;
    return out;
}

int RunShelf::add(RunRecord record) {
    if (entries_.size() == kMaxRuns) entries_.erase(entries_.begin());
    Entry e;
    e.number = next_++;
    e.record = std::make_shared<const RunRecord>(std::move(record));
    entries_.push_back(std::move(e));
    return entries_.back().number;
}

bool RunShelf::remove(int number) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [number](const Entry& e) { return e.number == number; });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

void RunShelf::clear() {
    entries_.clear();
}

void RunShelf::setShown(int number, bool shown) {
    for (Entry& e : entries_)
        if (e.number == number) e.shown = shown;
}

const RunShelf::Entry* RunShelf::find(int number) const {
    for (const Entry& e : entries_)
        if (e.number == number) return &e;
    return nullptr;
}

std::vector<const RunShelf::Entry*> RunShelf::shownEntries() const {
    std::vector<const Entry*> shown;
    for (const Entry& e : entries_)
        if (e.shown) shown.push_back(&e);
    return shown;
}

const RunShelf::Entry* RunShelf::reference() const {
    for (const Entry& e : entries_)
        if (e.record->hasInputs) return &e;
    return nullptr;
}

std::string RunShelf::distinction(const Entry& entry) const {
    const RunRecord& r = *entry.record;
    std::string words = r.source;
    const auto add = [&words](const std::string& part) {
        if (part.empty()) return;
        words += (words.empty() ? "" : ", ") + part;
    };
    if (!r.hasInputs) {
        add("ohne Eingaben");
    } else if (const Entry* ref = reference(); ref != &entry) {
        const std::string differing = differingInputs(ref->record->inputs, r.inputs);
        add(differing.empty() ? "gleiche Eingaben" : differing);
    }
    return words.empty() ? std::string() : ": " + words;
}

std::string RunShelf::label(const Entry& entry) const {
    return "Lauf " + std::to_string(entry.number) + distinction(entry);
}

}  // namespace tesmo
