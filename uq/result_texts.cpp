#include "uq/result_texts.h"

#include <algorithm>
#include <cmath>

#include "model/text_to_number.h"
#include "plot/number_text.h"
#include "study/result_view.h"
#include "uq/report.h"

namespace tesmo {

namespace {

constexpr int kSignificant = 4;

std::string columnName(std::size_t column) {
    return resultColumns()[column].name;
}

}  // namespace

std::string readableNumber(double v) {
    if (!std::isfinite(v)) return kKeineZahl;
    if (v == 0) return "0";
    const int whole = static_cast<int>(std::floor(std::log10(std::abs(v)))) + 1;
    if (whole < -2 || whole > 12) return powerText(v, kSignificant);
    return decimalText(v, std::max(0, kSignificant - whole));
}

std::string percentText(double share) {
    return std::isfinite(share) ? decimalText(100 * share, 2) + " %" : kKeineZahl;
}

std::string indexText(double v) {
    return std::isfinite(v) ? decimalText(v, 3) : kKeineZahl;
}

std::string q2Text(double q2) {
    if (q2 >= 0.99995) return "> 0,9999";
    return "= " + decimalText(q2, 4);
}

std::string withInterval(const Estimate& e, std::string (*format)(double)) {
    if (std::isnan(e.low)) return format(e.value);
    return format(e.value) + " [" + format(e.low) + "; " + format(e.high) + "]";
}

std::string tableCaption(std::size_t column) {
    const std::string unit = tableUnit(column);
    const std::string name = captionParts(resultCaption(resultColumns()[column])).name;
    return unit.empty() ? name : name + " in " + unit;
}

std::string distributionWords(const Marginal& m) {
    const auto exact = [](double v) { return ZahlZuTextExakt(v); };
    if (!m.library.empty()) {
        std::string text = "OpenTURNS-Verteilung " + m.library + " (Parameter";
        for (std::size_t i = 0; i < m.parameters.size(); ++i)
            text += (i == 0 ? " " : "; ") + exact(m.parameters[i]);
        return text + ")";
    }
    const auto& p = m.spec.p;
    switch (m.spec.kind) {
        case DistributionKind::LogNormal:
            return "lognormal, Mittelwert " + exact(p[0]) + ", Standardabweichung " + exact(p[1]);
        case DistributionKind::Uniform:
            return "gleichverteilt von " + exact(p[0]) + " bis " + exact(p[1]);
        case DistributionKind::Normal:
            return "normal, Mittelwert " + exact(p[0]) + ", Standardabweichung " + exact(p[1]);
        case DistributionKind::Triangular:
            return "dreieckig von " + exact(p[0]) + " über " + exact(p[1]) + " bis " + exact(p[2]);
    }
    return {};
}

std::string correlatedWords(const CorrelatedNormal& b, std::size_t i) {
    const std::size_t n = b.fields.size();
    const bool log = !b.scale.empty() && b.scale[i] == Scale::Log;
    const std::string sd = readableNumber(std::sqrt(b.covariance[i * n + i]));
    // On a log scale the mean of the logarithm says little at a glance; its exponential is the
    // input's median.
    return (log ? "lognormal, korreliert, Median " + readableNumber(std::exp(b.mean[i])) +
                      ", Standardabweichung des Logarithmus " + sd
                : "normal, korreliert, Mittelwert " + readableNumber(b.mean[i]) +
                      ", Standardabweichung " + sd) +
           (b.source.empty() ? "" : " (aus " + b.source + ")");
}

double correlation(const CorrelatedNormal& b, std::size_t i, std::size_t j) {
    const std::size_t n = b.fields.size();
    return b.covariance[i * n + j] / std::sqrt(b.covariance[i * n + i] * b.covariance[j * n + j]);
}

TextTable inputsTable(const UncertaintyPlan& plan) {
    TextTable t;
    t.header = {"Eingabe", "Bedeutung", "Verteilung"};
    const auto caption = [](Control f) { return trimmedCaption(inputCaption(f)); };
    for (const Marginal& m : plan.marginals)
        t.rows.push_back({controlName(m.field), caption(m.field), distributionWords(m)});
    for (const CorrelatedNormal& b : plan.correlated)
        for (std::size_t i = 0; i < b.fields.size(); ++i)
            t.rows.push_back(
                {controlName(b.fields[i]), caption(b.fields[i]), correlatedWords(b, i)});
    return t;
}

TextTable correlationTable(const CorrelatedNormal& b) {
    TextTable t;
    t.header = {"Korrelation"};
    for (Control f : b.fields)
        t.header.emplace_back(controlName(f));
    for (std::size_t i = 0; i < b.fields.size(); ++i) {
        std::vector<std::string> row = {controlName(b.fields[i])};
        for (std::size_t j = 0; j < b.fields.size(); ++j)
            row.push_back(decimalText(correlation(b, i, j), 3));
        t.rows.push_back(std::move(row));
    }
    return t;
}

TextTable regionsTable(const UncertaintyAnalysis& a) {
    TextTable t;
    t.header = {"Eingabe", "Werte", "Lage in der Verteilung"};
    for (const InputRegion& r : a.unfinished.regions)
        t.rows.push_back({controlName(r.field),
                          readableNumber(r.lowest) + " bis " + readableNumber(r.highest),
                          percentText(r.lowestLevel) + " bis " + percentText(r.highestLevel)});
    return t;
}

TextTable statisticsTable(const UncertaintyAnalysis& a) {
    TextTable t;
    t.header = {"Ergebnis",  "Einheit",     "Fälle",  "Mittelwert",
                "Std.-Abw.", "5-%-Quantil", "Median", "95-%-Quantil"};
    for (const ResultStatistics& s : a.statistics)
        t.rows.push_back({columnName(s.column), tableUnit(s.column), std::to_string(s.count),
                          withInterval(s.mean, readableNumber), readableNumber(s.sd),
                          withInterval(s.q05, readableNumber), withInterval(s.q50, readableNumber),
                          withInterval(s.q95, readableNumber)});
    return t;
}

TextTable limitsTable(const UncertaintyAnalysis& a) {
    TextTable t;
    t.header = {"Grenze", "Fälle jenseits", "Wahrscheinlichkeit", "über alle Fälle"};
    for (const LimitStatistics& l : a.limits) {
        const std::string unit = tableUnit(l.limit.column);
        t.rows.push_back({columnName(l.limit.column) +
                              (l.limit.side == LimitSide::Above ? " > " : " < ") +
                              ZahlZuTextExakt(l.limit.value) + (unit.empty() ? "" : " " + unit),
                          std::to_string(l.beyond) + " von " + std::to_string(l.count),
                          withInterval(l.probability, percentText),
                          percentText(l.lowest) + " bis " + percentText(l.highest)});
    }
    return t;
}

TextTable indicesTable(const UncertaintyAnalysis& a, std::size_t result) {
    TextTable t;
    t.header = {"Eingabe", "erster Ordnung", "total"};
    if (result >= a.indices.size() || !a.indices[result].reported) return t;
    for (const SobolIndex& s : a.indices[result].indices)
        t.rows.push_back({groupLabel(a.groups[s.group]), withInterval(s.first, indexText),
                          withInterval(s.total, indexText)});
    return t;
}

std::string indicesNote(const UncertaintyAnalysis& a, std::size_t result) {
    if (result >= a.indices.size()) return {};
    const ResultIndices& r = a.indices[result];
    if (!r.reported) return "Keine Indizes: " + r.reason + ".";
    if (r.method == IndexMethod::PickFreeze)
        return "Pick-Freeze-Schätzung aus " + std::to_string(r.used) +
               " vollständigen Zeilen des Plans, Intervalle aus dem Bootstrap.";
    return "Polynomchaos-Ersatzmodell bis Grad " + std::to_string(r.degree) + ", " +
           std::to_string(r.terms) + " Terme, angepasst an " + std::to_string(r.used) +
           " Fälle, Q² " + q2Text(r.q2) + ".";
}

std::string casesNote(const UncertaintyAnalysis& a) {
    std::string text = "Fertig gerechnet: " + std::to_string(a.finishedCases) + " von " +
                       std::to_string(a.cases) + " Fällen.";
    if (a.unfinished.count == 0) return text;
    text += " Nicht fertig: ";
    for (std::size_t i = 0; i < a.unfinished.ends.size(); ++i) {
        const EndCount& e = a.unfinished.ends[i];
        text += (i == 0 ? "" : ", ") + std::to_string(e.count) + " " + e.word;
    }
    return text +
           ". Die Kennwerte beruhen nur auf den fertigen Fällen; liegen die übrigen in einem "
           "Bereich der Eingaben, fehlt dieser Bereich darin (der Bericht nennt ihn).";
}

std::string groupLabel(const InputGroup& group) {
    std::string label;
    for (Control f : group.fields) {
        std::string name = controlName(f);
        if (name.rfind("txt_", 0) == 0) name.erase(0, 4);
        label += (label.empty() ? "" : " + ") + name;
    }
    return label;
}

}  // namespace tesmo
