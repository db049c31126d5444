#include "fit/uncertainty.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "display/number_format.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The regularised incomplete beta function I_x(a, b), by its continued fraction (modified
// Lentz), on the side where it converges fast.
double incompleteBeta(double a, double b, double x) {
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    if (x > (a + 1) / (a + b + 2)) return 1 - incompleteBeta(b, a, 1 - x);
    const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) +
                                  a * std::log(x) + b * std::log1p(-x)) /
                         a;
    constexpr double kTiny = 1e-300;
    double f = 1, c = 1, d = 0;
    for (int i = 0; i <= 400; ++i) {
        const int m = i / 2;
        double numerator = 1;
        if (i > 0)
            numerator = i % 2 == 0 ? m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
                                   : -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
        d = 1 + numerator * d;
        d = std::fabs(d) < kTiny ? kTiny : d;
        d = 1 / d;
        c = 1 + numerator / c;
        c = std::fabs(c) < kTiny ? kTiny : c;
        const double cd = c * d;
        f *= cd;
        if (std::fabs(1 - cd) < 1e-15) break;
    }
    return front * (f - 1);
}

double studentCdf(double t, double dof) {
    const double tail = 0.5 * incompleteBeta(dof / 2, 0.5, dof / (dof + t * t));
    return t >= 0 ? 1 - tail : tail;
}

double normalQuantile(double p) {
    // By bisection on the error function: exact to the last digits that matter here.
    double lo = -40, hi = 40;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (0.5 * std::erfc(-mid / std::sqrt(2.0)) < p ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

std::string percent(double share) {
    if (share >= 0.1 && share < 1e15) return std::to_string(std::llround(100 * share)) + " %";
    return formatNumber(100 * share, Pattern::F1) + " %";
}

// The input as the window names it: its label's caption (without the blanks some captions end
// in) and its control name.
std::string named(Control field) {
    std::string_view caption = inputCaption(field);
    while (!caption.empty() && caption.back() == ' ')
        caption.remove_suffix(1);
    std::string text = "„";
    text.append(caption).append("“ (").append(controlName(field)).append(")");
    return text;
}

// How many different air conditions (air temperature and humidity) the series were measured at.
std::size_t airConditions(const FitSetup& setup) {
    std::set<std::pair<double, double>> seen;
    for (const MeasuredSeries& s : setup.series)
        seen.emplace(TextZuZahl(s.texts[Control::txt_Lufttemp]),
                     TextZuZahl(s.texts[Control::txt_AbluftFeuchte]));
    return seen.size();
}

bool measuresSurfaceTemperature(const FitSetup& setup) {
    for (const MeasuredSeries& s : setup.series)
        if (s.measurement.misst(Messgroesse::thetaOb)) return true;
    return false;
}

// The sentence for parameter j, which is not determined.
std::string noteFor(const FitSetup& setup, const FitResult& r, std::size_t j) {
    const ParameterEstimate& p = r.parameters[j];
    const std::size_t m = r.parameters.size();
    std::string note = named(p.field) + " ist durch diese Messungen nicht bestimmt";
    if (std::isinf(p.standardError)) {
        note += ": sie hängen nicht von dieser Eingabe ab.";
    } else if (p.relativeError > kMaxRelativeError) {
        note += " (relative Standardabweichung " + percent(p.relativeError) + ").";
    } else {
        note += ".";
    }
    // The parameter it trades off against: the one it is most strongly correlated with.
    std::size_t partner = m;
    for (std::size_t k = 0; k < m; ++k) {
        const double c = r.correlationOf(j, k);
        if (k == j || std::isnan(c)) continue;
        if (partner == m || std::fabs(c) > std::fabs(r.correlationOf(j, partner))) partner = k;
    }
    if (partner < m && std::fabs(r.correlationOf(j, partner)) >= 0.5) {
        const double c = r.correlationOf(j, partner);
        note += " Diese Eingabe lässt sich kaum von " + named(r.parameters[partner].field) +
                " trennen (Korrelation " + formatNumber(c, Pattern::F2) + "): ein größerer Wert " +
                "des einen zusammen mit einem " + (c > 0 ? "größeren" : "kleineren") +
                " des anderen erklärt die Messungen fast ebenso gut.";
    }
    const bool oneClimate = airConditions(setup) < 2;
    const bool noSurface = !measuresSurfaceTemperature(setup);
    if (oneClimate && noSurface)
        note +=
            " Helfen würden eine weitere Versuchsreihe bei anderer Lufttemperatur oder "
            "Luftfeuchte und eine Messung der Oberflächentemperatur.";
    else if (oneClimate)
        note +=
            " Helfen würde eine weitere Versuchsreihe bei anderer Lufttemperatur oder "
            "Luftfeuchte.";
    else if (noSurface)
        note +=
            " Helfen würde eine Messung der Oberflächentemperatur (z. B. mit einem "
            "Infrarot-Thermometer).";
    else
        note +=
            " Helfen würden mehr Messpunkte im zweiten Trocknungsabschnitt oder eine "
            "Versuchsreihe bei deutlich anderem Klima.";
    return note;
}

}  // namespace

double studentQuantile(double p, double dof) {
    if (!(dof < kInf)) return normalQuantile(p);
    const bool upper = p >= 0.5;
    const double q = upper ? p : 1 - p;
    double lo = 0, hi = 1;
    while (studentCdf(hi, dof) < q && hi < 1e12)
        hi *= 2;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (studentCdf(mid, dof) < q ? lo : hi) = mid;
    }
    const double t = (lo + hi) / 2;
    return upper ? t : -t;
}

void describeUncertainty(const FitSetup& setup, const std::vector<double>& u,
                         const std::vector<double>& covariance, double dof, FitResult& result) {
    const std::size_t m = setup.parameters.size();
    const double t = studentQuantile(0.975, dof);
    result.covariance = covariance;
    result.correlation.assign(m * m, std::numeric_limits<double>::quiet_NaN());
    result.parameters.assign(m, {});
    for (std::size_t j = 0; j < m; ++j)
        for (std::size_t k = 0; k < m; ++k) {
            const double cjj = covariance[j * m + j], ckk = covariance[k * m + k];
            if (std::isinf(cjj) || std::isinf(ckk)) continue;
            result.correlation[j * m + k] =
                j == k ? 1 : covariance[j * m + k] / std::sqrt(cjj * ckk);
        }
    for (std::size_t j = 0; j < m; ++j) {
        ParameterEstimate& p = result.parameters[j];
        p.field = setup.parameters[j].field;
        p.scale = scaleOf(setup.parameters[j]);
        p.value = fromFitted(p.scale, u[j]);
        const double se = std::sqrt(std::max(0.0, covariance[j * m + j]));
        const bool log = p.scale == FitScale::Log;
        p.standardError = log ? p.value * se : se;
        p.relativeError = log ? se : se / std::fabs(p.value);
        p.low = fromFitted(p.scale, u[j] - t * se);
        p.high = fromFitted(p.scale, u[j] + t * se);
        if (std::isinf(se)) {
            p.low = log ? 0 : -kInf;
            p.high = kInf;
        }
        double strongest = 0;
        for (std::size_t k = 0; k < m; ++k)
            if (k != j && !std::isnan(result.correlationOf(j, k)))
                strongest = std::max(strongest, std::fabs(result.correlationOf(j, k)));
        p.determined = std::isfinite(p.relativeError) && p.relativeError <= kMaxRelativeError &&
                       strongest <= kMaxCorrelation;
    }
    for (std::size_t j = 0; j < m; ++j)
        if (!result.parameters[j].determined) result.parameters[j].note = noteFor(setup, result, j);
}

}  // namespace tesmo
