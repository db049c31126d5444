// How the study window shows what a study keeps of a case: a German word for how it ended, each
// result column's caption with its unit and each value in the window's own format (the output
// field's pattern and scale, times as h:mm:ss), and the values a chart plots.
#pragma once

#include <cstddef>
#include <string>

#include "study/results.h"

namespace tesmo {

// "Ziel erreicht", "Mittelebene erreicht", "abgelehnt", "gestoppt", …
const char* endWord(const CaseOutcome& outcome);

// The caption of the output field that shows the column's value, or the column's own caption;
// with its unit, without trailing blanks: "laufende Zeit in hh : mm : ss".
std::string resultCaption(const ResultColumn& column);

// The value of result `column` (index into resultColumns()) as the window shows it; empty where
// the case did not get there.
std::string resultText(const CaseOutcome& outcome, std::size_t column);

// The value in the unit of its caption (times in seconds); only where the case reached it.
double shownValue(const CaseOutcome& outcome, std::size_t column);

// A chart's axis shows times in hours: the caption for the axis ("laufende Zeit in h") and the
// value in that unit.
std::string chartCaption(const ResultColumn& column);
double chartValue(const CaseOutcome& outcome, std::size_t column);

// The index of the column named `name` in resultColumns() (kResultCount if none).
std::size_t resultIndex(const char* name);

// An input field's caption without its trailing blanks, split at its unit: for
// "Ablufttemperatur in °C " name "Ablufttemperatur" and unit "°C" (unit empty for a caption
// without " in ").
struct CaptionParts {
    std::string name, unit;
};
CaptionParts captionParts(const std::string& caption);
std::string trimmedCaption(const char* caption);

}  // namespace tesmo
