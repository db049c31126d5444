#include "fit/fit_setup.h"

#include <cmath>

#include "files/decimal_number.h"

namespace tesmo {

FitSetup fitSetupOf(const FitFile& file, std::vector<MeasuredSeries> series) {
    FitSetup setup;
    setup.series = std::move(series);
    setup.parameters = file.parameters;
    setup.starts = file.starts;
    setup.seed = file.seed;
    setup.iterations = file.iterations;
    setup.sigma = file.sigma;
    return setup;
}

FitScale scaleOf(const FitParameterEntry& p) {
    return p.lower > 0 ? FitScale::Log : FitScale::Linear;
}

double toFitted(FitScale scale, double value) {
    return scale == FitScale::Log ? std::log(value) : value;
}

double fromFitted(FitScale scale, double u) {
    return scale == FitScale::Log ? std::exp(u) : u;
}

MeasuredPoints measuredPoints(const std::vector<MeasuredSeries>& series) {
    MeasuredPoints mp;
    for (std::size_t s = 0; s < series.size(); ++s) {
        mp.first.push_back(mp.points.size());
        const Measurement& m = series[s].measurement;
        for (std::size_t i = 0; i < m.size(); ++i)
            for (const MessgroesseSpec& q : kMessgroessen) {
                if (!m.misst(q.groesse)) continue;
                const double v = m.werte[slot(q.groesse)][i];
                if (std::isnan(v)) continue;
                mp.points.push_back({static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(i),
                                     q.groesse, m.zeit[i], v});
            }
    }
    mp.first.push_back(mp.points.size());
    return mp;
}

InputTexts trialTexts(const FitSetup& setup, std::size_t s, const std::vector<double>& values) {
    InputTexts texts = setup.series[s].texts;
    for (std::size_t k = 0; k < setup.parameters.size(); ++k)
        texts[setup.parameters[k].field] = exactDecimal(values[k]);
    return texts;
}

}  // namespace tesmo
