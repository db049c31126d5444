#include "fit/fit_texts.h"

#include <algorithm>
#include <cmath>

#include "display/number_format.h"
#include "plot/number_text.h"

namespace tesmo {

namespace {

constexpr int kMaxDecimals = 12;
constexpr const char* kInfinity = "∞";

// The decimals that show a standard error with two significant digits; -1 where it has none.
int decimalsOf(double standardError) {
    if (!(std::isfinite(standardError) && standardError > 0)) return -1;
    const int d = 1 - static_cast<int>(std::floor(std::log10(standardError)));
    return std::clamp(d, 0, kMaxDecimals);
}

std::string boundText(double v, int decimals) {
    if (std::isinf(v)) return v > 0 ? kInfinity : std::string("−") + kInfinity;
    return decimals >= 0 ? decimalText(v, decimals) : significantText(v, 4);
}

// The unit of a difference of the quantity: temperatures differ in K.
std::string differenceUnit(Messgroesse g) {
    return g == Messgroesse::thetaOb ? "K" : std::string(messgroesseSpec(g).einheit);
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.front() == ' ')
        s.erase(s.begin());
    return s;
}

}  // namespace

std::string inputLabel(Control field) {
    std::string_view c = inputCaption(field);
    while (!c.empty() && c.back() == ' ')
        c.remove_suffix(1);
    return std::string(c);
}

std::string estimateText(const ParameterEstimate& p) {
    const int d = decimalsOf(p.standardError);
    return d >= 0 ? decimalText(p.value, d) : significantText(p.value, 6);
}

std::string errorText(const ParameterEstimate& p) {
    if (std::isinf(p.standardError)) return std::string("± ") + kInfinity;
    const int d = decimalsOf(p.standardError);
    if (std::isnan(p.standardError)) return kKeineZahl;
    return "± " + (d >= 0 ? decimalText(p.standardError, d) : decimalText(p.standardError, 0));
}

std::string intervalText(const ParameterEstimate& p) {
    if (std::isnan(p.low) || std::isnan(p.high)) return kKeineZahl;
    const int d = decimalsOf(p.standardError);
    return boundText(p.low, d) + " … " + boundText(p.high, d);
}

std::string determinedText(const ParameterEstimate& p) {
    return p.determined ? "bestimmt" : "nicht bestimmt";
}

std::string correlationText(double c) {
    return std::isfinite(c) ? decimalText(c, 2) : kKeineZahl;
}

std::string rmsText(double rms, Messgroesse g) {
    return significantText(rms, 3) + " " + differenceUnit(g);
}

std::string sigmaText(const FitResult& result, Messgroesse g) {
    const double s = result.sigma[slot(g)];
    if (!std::isfinite(s)) return kKeineZahl;
    return significantText(s, 3) + " " + differenceUnit(g) +
           (result.sigmaEstimated[slot(g)] ? " (geschätzt)" : " (vorgegeben)");
}

std::string endText(const FitResult& r) {
    const std::string iterations =
        std::to_string(r.iterations) + (r.iterations == 1 ? " Iteration" : " Iterationen");
    switch (r.end) {
        case FitEnd::Converged:
            return "konvergiert nach " + iterations;
        case FitEnd::MaxIterations:
            return "Iterationsgrenze erreicht nach " + iterations + ", nicht konvergiert";
        case FitEnd::Failed:
            return "fehlgeschlagen";
        case FitEnd::Cancelled:
            return "abgebrochen";
    }
    return "fehlgeschlagen";
}

std::string effortText(const FitResult& r) {
    std::string text = std::to_string(r.modelRuns) +
                       (r.modelRuns == 1 ? " Modelllauf in " : " Modellläufe in ") +
                       trimmed(Zeitformat(r.seconds));
    if (r.starts.size() > 1)
        text += ", bester von " + std::to_string(r.starts.size()) + " Startpunkten: Start " +
                std::to_string(r.bestStart + 1);
    return text;
}

}  // namespace tesmo
