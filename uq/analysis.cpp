#include "uq/analysis.h"

#include <algorithm>
#include <cmath>

#include "model/text_to_number.h"
#include "study/result_view.h"

namespace tesmo {

namespace {

constexpr const char* kMissing = "missing";
constexpr const char* kMissingWord = "nicht gerechnet";

// Each result's bootstrap draws a stream of its own, fixed by the study's seed.
std::uint64_t streamSeed(std::uint64_t seed, std::size_t column) {
    return seed * 0x100000001B3ull + column + 1;
}

// The outcome of each row of the sample, or null where the case was not run.
std::vector<const CaseOutcome*> byRow(const UncertaintySample& sample,
                                      const std::vector<CaseOutcome>& outcomes) {
    std::vector<const CaseOutcome*> rows(sample.rows, nullptr);
    for (const CaseOutcome& o : outcomes)
        if (o.number >= 1 && o.number <= sample.rows) rows[o.number - 1] = &o;
    return rows;
}

double valueOf(const CaseOutcome* o, std::size_t column) {
    if (!o || !finished(*o) || !o->reached[column] || !std::isfinite(o->results[column]))
        return kNotComputed;
    return o->results[column];
}

Unfinished unfinishedCases(const UncertaintySample& sample,
                           const std::vector<const CaseOutcome*>& rows) {
    Unfinished u;
    u.total = sample.rows;
    const auto count = [&u](const std::string& end, const char* word) {
        for (EndCount& e : u.ends)
            if (e.end == end) return void(++e.count);
        u.ends.push_back({end, word, 1});
    };
    std::vector<InputRegion> regions;
    for (Control f : sample.fields)
        regions.push_back({f});
    bool anyRun = false;
    for (std::size_t i = 0; i < sample.rows; ++i) {
        const CaseOutcome* o = rows[i];
        if (o && finished(*o)) continue;
        ++u.count;
        count(o ? caseEndName(*o) : kMissing, o ? endWord(*o) : kMissingWord);
        if (!o) continue;
        anyRun = true;
        for (std::size_t j = 0; j < sample.columns(); ++j) {
            InputRegion& r = regions[j];
            const double v = sample.value(i, j), level = sample.levels[i * sample.columns() + j];
            r.lowest = std::isnan(r.lowest) ? v : std::min(r.lowest, v);
            r.highest = std::isnan(r.highest) ? v : std::max(r.highest, v);
            r.lowestLevel = std::isnan(r.lowestLevel) ? level : std::min(r.lowestLevel, level);
            r.highestLevel = std::isnan(r.highestLevel) ? level : std::max(r.highestLevel, level);
        }
    }
    if (anyRun) u.regions = std::move(regions);
    return u;
}

// Why no indices can be estimated for these outputs at all (German), or empty.
std::string noSpread(const std::vector<double>& outputs) {
    double low = INFINITY, high = -INFINITY;
    for (double v : outputs)
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    if (low > high) return "kein fertig gerechneter Fall hat dieses Ergebnis";
    return high > low ? "" : "das Ergebnis streut in den gerechneten Fällen nicht";
}

}  // namespace

UncertaintyAnalysis analyseUncertainty(const UncertaintyPlan& plan, const UncertaintySample& sample,
                                       const std::vector<CaseOutcome>& outcomes) {
    UncertaintyAnalysis a;
    a.groups = inputGroups(plan);
    a.method = sample.pickFreezeBase > 0 ? IndexMethod::PickFreeze : IndexMethod::Chaos;
    a.cases = sample.rows;
    a.independentCases = independentRows(sample);
    const std::vector<const CaseOutcome*> rows = byRow(sample, outcomes);
    for (const CaseOutcome* o : rows)
        a.finishedCases += o && finished(*o);
    a.unfinished = unfinishedCases(sample, rows);

    const std::size_t independent = independentRows(sample);
    const auto independentValues = [&](std::size_t column) {
        std::vector<double> values;
        for (std::size_t i = 0; i < independent; ++i)
            if (const double v = valueOf(rows[i], column); std::isfinite(v)) values.push_back(v);
        return values;
    };
    for (std::size_t column : plan.results) {
        a.statistics.push_back(
            resultStatistics(column, independentValues(column), streamSeed(plan.seed, column)));
        std::vector<double> outputs(sample.rows);
        for (std::size_t i = 0; i < sample.rows; ++i)
            outputs[i] = valueOf(rows[i], column);
        if (std::string reason = noSpread(outputs); !reason.empty()) {
            ResultIndices none;
            none.column = column;
            none.method = a.method;
            none.reason = std::move(reason);
            a.indices.push_back(std::move(none));
        } else {
            a.indices.push_back(a.method == IndexMethod::PickFreeze
                                    ? pickFreezeIndices(plan, sample, outputs, column)
                                    : chaosIndices(plan, sample, outputs, column));
        }
    }
    for (const Limit& limit : plan.limits) {
        const std::vector<double> values = independentValues(limit.column);
        a.limits.push_back(limitStatistics(limit, values, independent - values.size()));
    }
    return a;
}

std::string outcomesProblem(const UncertaintySample& sample,
                            const std::vector<CaseOutcome>& outcomes) {
    std::vector<bool> seen(sample.rows, false);
    for (const CaseOutcome& o : outcomes) {
        const std::string which = "Fall " + std::to_string(o.number);
        if (o.number < 1 || o.number > sample.rows)
            return which + " gehört nicht zur Stichprobe, sie hat " + std::to_string(sample.rows) +
                   " Fälle";
        if (seen[o.number - 1]) return which + " steht mehr als einmal in den Tabellen";
        seen[o.number - 1] = true;
        for (std::size_t j = 0; j < sample.columns(); ++j) {
            const auto field = static_cast<std::size_t>(index(sample.fields[j]));
            const double drawn = sample.value(o.number - 1, j);
            if (!o.inputRead[field] || o.inputs[field] != drawn)
                return which + ": " + controlName(sample.fields[j]) + " ist " +
                       (o.inputRead[field] ? ZahlZuTextExakt(o.inputs[field]) : "leer") +
                       ", gezogen wurde " + ZahlZuTextExakt(drawn) +
                       " – die Tabelle gehört zu einer anderen Studie oder einem anderen "
                       "Startwert";
        }
    }
    return {};
}

}  // namespace tesmo
