#include "fit/fitted_runs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "fit/sampling.h"
#include "fit/uncertainty.h"
#include "study/study_engine.h"

namespace tesmo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The times a curve is drawn at: every record (or every k-th, so that there are at most
// kMaxCurvePoints), the last one, the run's end, and the last measured time after it.
std::vector<double> curveTimes(const MeasuredSeries& series, const RunState& st,
                               const HistoryArray& times) {
    const auto records = static_cast<std::size_t>(std::max(0, st.HistIndex) + 1);
    const std::size_t stride = (records + kMaxCurvePoints - 1) / kMaxCurvePoints;
    std::vector<double> t;
    for (std::size_t j = 0; j < records; j += stride)
        t.push_back(times[j]);
    if (t.back() < times[records - 1]) t.push_back(times[records - 1]);
    if (st.Laufzeit > t.back()) t.push_back(st.Laufzeit);
    const Measurement& m = series.measurement;
    if (m.size() > 0 && m.zeit.back() > t.back()) t.push_back(m.zeit.back());
    return t;
}

SeriesCurve curveOf(const MeasuredSeries& series, const RunState& st, const HistoryArray& times) {
    SeriesCurve c;
    c.laufzeit = st.Laufzeit;
    c.zeit = curveTimes(series, st, times);
    std::vector<MeasuredPoint> at(c.zeit.size());
    for (const MessgroesseSpec& q : kMessgroessen) {
        if (q.groesse == Messgroesse::Masse && !(series.trockenmasse_g > 0)) continue;
        for (std::size_t i = 0; i < at.size(); ++i)
            at[i] = {0, 0, q.groesse, c.zeit[i], 0};
        std::vector<double>& values = c.werte[slot(q.groesse)];
        values.assign(at.size(), 0);
        simulatedValues(series, at.data(), at.size(), st, times, values.data());
    }
    return c;
}

}  // namespace

FittedRuns runAtValues(const FitSetup& setup, const std::vector<double>& values, unsigned jobs,
                       std::atomic<bool>& cancel) {
    const std::size_t n = setup.series.size();
    const MeasuredPoints points = measuredPoints(setup.series);
    FittedRuns out;
    out.curves.resize(n);
    out.simulated.assign(points.size(), kNaN);
    out.afterEnd.assign(n, 0);
    std::vector<InputTexts> cases;
    for (std::size_t s = 0; s < n; ++s)
        cases.push_back(trialTexts(setup, s, values));
    // Each case writes only its own series' slots.
    std::vector<std::string> failed(n);
    std::vector<char> done(n, 0);
    StudyCallbacks callbacks;
    callbacks.sink = [](const CaseOutcome&) { return true; };
    callbacks.inspect = [&](std::size_t s, const CaseOutcome& o, const RunState& st,
                            const HistoryArray& times) {
        if (!finished(o)) {
            failed[s] = o.message.empty() ? std::string(caseEndName(o)) : o.message;
            return;
        }
        const std::size_t first = points.first[s];
        out.afterEnd[s] =
            simulatedValues(setup.series[s], points.points.data() + first,
                            points.first[s + 1] - first, st, times, out.simulated.data() + first);
        out.curves[s] = curveOf(setup.series[s], st, times);
        done[s] = 1;
    };
    const CaseList list(setup.series.front().texts, std::move(cases));
    runStudy(list, {0, 1, list.size()}, jobs, callbacks, cancel);
    out.ok = true;
    for (std::size_t s = 0; s < n && out.ok; ++s) {
        if (done[s]) continue;
        out.ok = false;
        out.message = setup.series[s].name + ": " +
                      (failed[s].empty() ? "die Rechnung wurde abgebrochen" : failed[s]);
    }
    return out;
}

std::vector<double> fittedValues(const FitResult& result) {
    std::vector<double> values;
    for (const ParameterEstimate& p : result.parameters)
        values.push_back(p.value);
    return values;
}

bool resultOfOutcome(const FitSetup& setup, const FitOutcome& outcome, FitResult& result,
                     std::string& problem) {
    const std::size_t m = setup.parameters.size();
    // Where each of the setup's parameters stands in the outcome.
    std::vector<std::size_t> from(m, outcome.size());
    for (std::size_t j = 0; j < m; ++j)
        for (std::size_t i = 0; i < outcome.size(); ++i)
            if (outcome.fields[i] == setup.parameters[j].field) from[j] = i;
    for (std::size_t j = 0; j < m; ++j) {
        const char* name = controlName(setup.parameters[j].field);
        if (from[j] == outcome.size() || outcome.size() != m) {
            problem = std::string("Das Ergebnis in der Datei gehört nicht zu ihren fit-Zeilen: ") +
                      "es fehlt eines für " + name + " oder es sind mehr.";
            return false;
        }
        if (outcome.scales[from[j]] != scaleOf(setup.parameters[j])) {
            problem = std::string("Das Ergebnis für ") + name +
                      " gilt für eine andere Skala, als die Grenzen der fit-Zeile ergeben; die " +
                      "Grenzen wurden nach der Anpassung geändert.";
            return false;
        }
    }
    FitResult r;
    r.end = FitEnd::Converged;
    r.points = measuredPoints(setup.series).size();
    r.sigma = setup.sigma;
    if (!outcome.hasCovariance()) {
        r.covariance.assign(m * m, kNaN);
        r.correlation.assign(m * m, kNaN);
        for (std::size_t j = 0; j < m; ++j) {
            ParameterEstimate& p = r.parameters.emplace_back();
            p.field = setup.parameters[j].field;
            p.scale = scaleOf(setup.parameters[j]);
            p.value = outcome.values[from[j]];
            p.standardError = p.low = p.high = p.relativeError = kNaN;
            p.determined = true;
        }
        result = std::move(r);
        return true;
    }
    std::vector<double> u(m), cov(m * m);
    for (std::size_t j = 0; j < m; ++j) {
        u[j] = toFitted(outcome.scales[from[j]], outcome.values[from[j]]);
        for (std::size_t k = 0; k < m; ++k)
            cov[j * m + k] = outcome.cov(from[j], from[k]);
    }
    // As the fit: the t distribution where a noise was estimated from the residuals.
    bool estimated = false;
    for (const MeasuredPoint& p : measuredPoints(setup.series).points)
        estimated = estimated || std::isnan(setup.sigma[slot(p.groesse)]);
    for (std::size_t g = 0; g < kMessgroessenCount; ++g)
        r.sigmaEstimated[g] = std::isnan(setup.sigma[g]);
    r.degreesOfFreedom = estimated ? static_cast<double>(r.points) - static_cast<double>(m) : kInf;
    if (!(r.degreesOfFreedom > 0)) r.degreesOfFreedom = 1;
    describeUncertainty(setup, u, cov, r.degreesOfFreedom, r);
    // The values as the file holds them, not their round trip through the logarithm.
    for (std::size_t j = 0; j < m; ++j)
        r.parameters[j].value = outcome.values[from[j]];
    result = std::move(r);
    return true;
}

}  // namespace tesmo
