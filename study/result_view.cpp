#include "study/result_view.h"

#include <cstring>

#include "display/control_table.h"
#include "display/run_end.h"
#include "files/file_text.h"

namespace tesmo {

namespace {

constexpr double kSecondsPerHour = 3600;

const ResultColumn& column(std::size_t c) {
    return resultColumns()[c];
}

}  // namespace

const char* endWord(const CaseOutcome& outcome) {
    return outcome.refused ? "abgelehnt" : runEndWord(outcome.end);
}

std::string trimmedCaption(const char* caption) {
    return std::string(trimBlanks(caption));
}

CaptionParts captionParts(const std::string& caption) {
    static constexpr const char* kIn = " in ";
    const std::size_t at = caption.rfind(kIn);
    if (at == std::string::npos) return {caption, ""};
    return {caption.substr(0, at), caption.substr(at + std::strlen(kIn))};
}

std::string resultCaption(const ResultColumn& c) {
    return trimmedCaption(c.field == Control::Count ? c.caption : fieldCaption(c.field));
}

double shownValue(const CaseOutcome& outcome, std::size_t c) {
    const double v = outcome.results[c];
    return column(c).shown == Shown::Number ? v * column(c).scale : v;
}

std::string resultText(const CaseOutcome& outcome, std::size_t c) {
    if (!outcome.reached[c]) return {};
    const double v = shownValue(outcome, c);
    switch (column(c).shown) {
        case Shown::Number:
            return formatNumber(v, column(c).pattern);
        case Shown::Time:
            return Zeitformat(v);
        case Shown::Count:
            return std::to_string(static_cast<long long>(v));
        case Shown::Flag:
            return v != 0 ? "ja" : "nein";
    }
    return {};
}

std::string chartCaption(const ResultColumn& c) {
    const std::string caption = resultCaption(c);
    if (c.shown != Shown::Time) return caption;
    return captionParts(caption).name + " in h";
}

double chartValue(const CaseOutcome& outcome, std::size_t c) {
    const double v = shownValue(outcome, c);
    return column(c).shown == Shown::Time ? v / kSecondsPerHour : v;
}

std::size_t resultIndex(const char* name) {
    for (std::size_t c = 0; c < kResultCount; ++c)
        if (std::strcmp(column(c).name, name) == 0) return c;
    return kResultCount;
}

}  // namespace tesmo
