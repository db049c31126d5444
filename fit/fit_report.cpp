#include "fit/fit_report.h"

#include <charconv>
#include <cmath>

#include "display/number_format.h"
#include "files/csv_writer.h"

namespace tesmo {

namespace {

std::string number(double v) {
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    if (std::isnan(v)) return "nan";
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17);
    return std::string(buffer, r.ptr);
}

void line(std::string& out, std::initializer_list<std::string_view> cells) {
    bool first = true;
    for (std::string_view c : cells) {
        if (!first) out += '\t';
        out.append(c);
        first = false;
    }
    out += '\n';
}

std::string_view quantityName(Messgroesse g) {
    return messgroesseSpec(g).spalte;
}

}  // namespace

std::string fitReportText(const FitSetup& setup, const FitResult& r) {
    std::string out;
    for (const ParameterEstimate& p : r.parameters)
        line(out, {controlName(p.field), number(p.value), number(p.standardError), number(p.low),
                   number(p.high), p.determined ? "determined" : "undetermined"});
    for (const ParameterEstimate& p : r.parameters)
        if (!p.note.empty()) line(out, {"note", controlName(p.field), p.note});
    for (std::size_t i = 0; i < r.parameters.size(); ++i)
        for (std::size_t j = i + 1; j < r.parameters.size(); ++j)
            line(out, {"correlation", controlName(r.parameters[i].field),
                       controlName(r.parameters[j].field), number(r.correlationOf(i, j))});
    for (const ResidualSummary& s : r.residuals)
        line(out, {"rms", setup.series[s.series].name, quantityName(s.groesse), number(s.rms),
                   std::to_string(s.count)});
    std::array<bool, kMessgroessenCount> measured{};
    for (const ResidualSummary& s : r.residuals)
        measured[slot(s.groesse)] = true;
    for (const MessgroesseSpec& q : kMessgroessen)
        if (measured[slot(q.groesse)])
            line(out, {"sigma", q.spalte, number(r.sigma[slot(q.groesse)]),
                       r.sigmaEstimated[slot(q.groesse)] ? "estimated" : "given"});
    if (!r.parameters.empty()) {
        line(out, {"cost", number(r.cost)});
        line(out, {"points", std::to_string(r.points)});
    }
    line(out, {"runs", std::to_string(r.modelRuns)});
    line(out, {"seconds", number(r.seconds)});
    line(out, {"starts", std::to_string(r.starts.size())});
    if (!r.parameters.empty()) line(out, {"best-start", std::to_string(r.bestStart + 1)});
    line(out, {"end", fitEndName(r.end)});
    return out;
}

std::string fitTableText(const FitSetup& setup, const FitResult& r) {
    std::string out = "series,time,quantity,measured,simulated,residual\n";
    for (const ComparisonRow& row : r.comparison) {
        appendCsvField(out, setup.series[row.series].name, ',');
        out += ',' + number(row.zeit) + ',';
        out.append(quantityName(row.groesse));
        out += ',' + number(row.gemessen) + ',' + number(row.simuliert) + ',' +
               number(row.residual) + '\n';
    }
    return out;
}

std::string fitProgressText(const FitProgress& p) {
    return "Start " + std::to_string(p.start) + " von " + std::to_string(p.starts) +
           ", Iteration " + std::to_string(p.iteration) + ", Kosten " +
           formatNumber(p.bestCost, Pattern::F2) + ", " + std::to_string(p.runs) +
           " Modellläufe, Zeit" + Zeitformat(p.seconds);
}

}  // namespace tesmo
