#include "files/fit_series.h"

#include <cmath>

#include "files/case_file.h"
#include "files/decimal_number.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

// A measured water load counts as above the initial one when it exceeds it by more than this
// many standard deviations of its noise: one in a thousand honest measurements would.
constexpr double kNoiseMultiple = 3;

double noiseOf(const std::array<double, kMessgroessenCount>& sigma, Messgroesse g) {
    const double s = sigma[slot(g)];
    return std::isnan(s) ? messgroesseSpec(g).typischesRauschen : s;
}

}  // namespace

double waterLoadOf(const MeasuredSeries& series, Messgroesse g, double value) {
    return g == Messgroesse::Masse ? value / series.trockenmasse_g - 1 : value;
}

bool checkSeries(const MeasuredSeries& series, const std::array<double, kMessgroessenCount>& sigma,
                 const FileProblem& where, FileProblem& problem) {
    const Measurement& m = series.measurement;
    if (m.misst(Messgroesse::Masse) && !(series.trockenmasse_g > 0)) {
        problem = where;
        return refuse(problem, ProblemKind::MassWithoutDryMass);
    }
    const double xAnf = TextZuZahl(series.texts[Control::txt_XAnf]);
    for (Messgroesse g : {Messgroesse::X, Messgroesse::Masse}) {
        if (!m.misst(g)) continue;
        double tolerance = kNoiseMultiple * noiseOf(sigma, g);
        if (g == Messgroesse::Masse) tolerance /= series.trockenmasse_g;
        for (std::size_t i = 0; i < m.size(); ++i) {
            const double x = waterLoadOf(series, g, m.werte[slot(g)][i]);
            if (!(x > xAnf + tolerance)) continue;
            problem = FileProblem{.path = series.path, .line = m.zeile[i]};
            problem.context = exactDecimal(xAnf);
            return refuse(problem, ProblemKind::WaterLoadAboveStart, exactDecimal(x));
        }
    }
    return true;
}

bool loadSeries(const FitFile& file, const SeriesEntry& entry, const std::string& fitFileName,
                MeasuredSeries& out, FileProblem& problem) {
    MeasuredSeries s;
    s.name = entry.measurement;
    s.path = resolvedPath(file, entry.measurement);
    s.trockenmasse_g = entry.trockenmasse_g;
    if (!readMeasurementFile(s.path, s.measurement, problem) ||
        !readCaseFile(resolvedPath(file, entry.caseFile), defaultInputTexts(), s.texts, problem))
        return false;
    for (const RunOptionSpec& spec : kRunOptions)
        if (entry.optionSet[static_cast<std::size_t>(spec.option)])
            setOptionWord(s.texts.optionen, spec.option, optionWord(entry.optionen, spec.option));
    FileProblem where{.path = fitFileName, .line = entry.line};
    if (!checkSeries(s, file.sigma, where, problem)) return false;
    out = std::move(s);
    return true;
}

bool loadAllSeries(const FitFile& file, const std::string& fitFileName,
                   std::vector<MeasuredSeries>& out, FileProblem& problem) {
    std::vector<MeasuredSeries> all(file.series.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        if (!loadSeries(file, file.series[i], fitFileName, all[i], problem)) return false;
    out = std::move(all);
    return true;
}

}  // namespace tesmo
