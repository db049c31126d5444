// The runs of a session kept side by side for the diagrams: at most kMaxRuns, the oldest
// giving way to a new one. Each keeps the number it got when it arrived ("Lauf 3") and whether
// the diagrams show it, and is labelled by the inputs in which it differs from the first run
// kept: "Lauf 3: Ablufttemperatur 40 °C, Dicke 15,0 mm".
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "display/run_record.h"

namespace tesmo {

// The inputs of `run` that differ from those of `reference` (compared as the numbers the model
// reads from them, or as texts where a text holds none), each as short name, text and unit,
// in the window's order: "Ablufttemperatur 40 °C, Dicke 15,0 mm". Empty when none differs.
std::string differingInputs(const InputTexts& reference, const InputTexts& run);

// "Dicke 15,0 mm": the short name of an input field with its text and unit.
std::string inputWithUnit(Control field, const std::string& text);

class RunShelf {
  public:
    static constexpr std::size_t kMaxRuns = 8;

    struct Entry {
        int number = 0;     // from 1, in the order of arrival in this session
        bool shown = true;  // drawn in the diagrams
        std::shared_ptr<const RunRecord> record;
    };

    // Keeps the run, shown; the oldest run goes when kMaxRuns are kept. Returns its number.
    int add(RunRecord record);
    bool remove(int number);
    void clear();
    void setShown(int number, bool shown);

    // Oldest first.
    const std::vector<Entry>& entries() const { return entries_; }
    const Entry* find(int number) const;
    // The entries that are shown, oldest first.
    std::vector<const Entry*> shownEntries() const;

    // "Lauf 3: Ablufttemperatur 40 °C": the number, then what tells the run apart: for the
    // first run kept with inputs nothing (or its file), for others the inputs differing from
    // it ("gleiche Eingaben" when none does); a file without inputs is "…, ohne Eingaben".
    std::string label(const Entry& entry) const;
    // The part after "Lauf N": ": …", or empty.
    std::string distinction(const Entry& entry) const;

  private:
    const Entry* reference() const;

    std::vector<Entry> entries_;
    int next_ = 1;
};

}  // namespace tesmo
