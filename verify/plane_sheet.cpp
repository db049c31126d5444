#include "verify/plane_sheet.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "model/controls.h"
#include "model/inputs.h"
#include "model/null_window_port.h"
#include "model/setup.h"
#include "model/transport.h"
#include "verify/convergence.h"

namespace tesmo {

namespace {

constexpr double kPi = std::numbers::pi;
// Series terms are summed until the exponent has damped them below 1e-26.
constexpr double kLastExponent = 60;
constexpr int kMostTerms = 1000000;

// The runs for the figures: F over τ at the default resolution, every `every`-th step up to
// `tauEnd`, and a coarse profile at `tauEnd`.
struct FigureRun {
    int nodes;
    double dtau, tauEnd;
    long every;
};
constexpr FigureRun kCurve{100, 1e-4, 1.0, 500};
constexpr long kErrorEvery = 10;  // steps between the points of the error over √τ
constexpr FigureRun kProfile{4, 1e-3, 0.1, 0};

// The default plate, with a constant conductivity below the limit moisture.
void setUp(RunState& st) {
    InputTexts texts = defaultInputTexts();
    texts[Control::txt_KappaSteig] =
        std::string(1, '0');  // no slope: κ constant below the limit moisture
    NullWindowPort port;
    Einrichtung(st, texts, port);
}

}  // namespace

Sheet constantConductivitySheet(RunState& st) {
    setUp(st);
    const double k1 = Feuchteleitwert(st, kSheetXStart, kSheetTemperature);
    const double k2 = Feuchteleitwert(st, kSheetXFace, kSheetTemperature);
    if (!(kSheetXStart < st.XSchwEnde) || k1 != k2)
        throw std::logic_error("the test sheet's conductivity is not constant");
    return {st.Dicke / 2, k1};
}

void prepareSheet(RunState& st, const Sheet& sheet, int nOrt, double dtau) {
    setUp(st);
    st.nOrt = nOrt;
    st.Ortsschritt = st.Dicke / (st.nOrt * 2);
    st.deltaT = dtau * sheet.a * sheet.a / sheet.kappa;
    for (int i = 0; i <= nOrt + 1; ++i)
        st.XKnoten[static_cast<std::size_t>(i)] = kSheetXStart;
    st.XKnoten[0] = kSheetXFace;
}

namespace {

template <class Profile>
SheetFractions fractionsOf(const Profile& X, int n) {
    double inner = 0;
    for (int i = 1; i < n; ++i)
        inner += X[static_cast<std::size_t>(i)];
    const double x0 = X[0], xn = X[static_cast<std::size_t>(n)];
    const double nominalMean = (x0 / 2 + inner + xn / 2) / n;
    const double effectiveMean = (x0 / 2 + inner + xn) / (n + 0.5);
    const auto removed = [](double mean) {
        return (kSheetXStart - mean) / (kSheetXStart - kSheetXFace);
    };
    return {removed(nominalMean), removed(effectiveMean)};
}

// The model's own step, as the first period calls it: the mirror node takes the value of node
// nOrt, then the implicit step at the sheet's temperature.
void step(RunState& st) {
    const int n = knoten(st);
    st.XKnoten[static_cast<std::size_t>(n) + 1] = st.XKnoten[static_cast<std::size_t>(n)];
    Transportschritt(st, st.XKnoten, st, 0, kSheetTemperature);
}

// The same discrete equations with a double-precision Thomas solver:
// (1 + 2r)·X(i) − r·X(i−1) − r·X(i+1) = X_old(i), X(0) held, X(n+1) = X_old(n).
SheetFractions doublePrecisionRun(int n, double r, long steps) {
    std::vector<double> X(static_cast<std::size_t>(n) + 2, kSheetXStart), c(X.size()), d(X.size());
    X[0] = kSheetXFace;
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    for (long k = 0; k < steps; ++k) {
        X[at(n + 1)] = X[at(n)];
        double pivot = 1 + 2 * r;
        c[1] = n > 1 ? -r / pivot : 0;
        d[1] = (X[1] + r * X[0] + (n == 1 ? r * X[at(n + 1)] : 0)) / pivot;
        for (int i = 2; i <= n; ++i) {
            pivot = 1 + 2 * r + r * c[at(i - 1)];
            const double rhs = X[at(i)] + (i == n ? r * X[at(n + 1)] : 0);
            c[at(i)] = i < n ? -r / pivot : 0;
            d[at(i)] = (rhs + r * d[at(i - 1)]) / pivot;
        }
        X[at(n)] = d[at(n)];
        for (int i = n - 1; i >= 1; --i)
            X[at(i)] = d[at(i)] - c[at(i)] * X[at(i + 1)];
    }
    return fractionsOf(X, n);
}

SheetFractions seriesAt(const Sheet& sheet, int n, double tSeconds) {
    const double tau = sheet.kappa * tSeconds / (sheet.a * sheet.a);
    const double widen = (n + 0.5) / n;
    return {removedFraction(tau), removedFraction(tau / (widen * widen))};
}

SheetPoint run(RunState& st, const Sheet& sheet, int nOrt, double dtau) {
    prepareSheet(st, sheet, nOrt, dtau);
    SheetPoint p;
    p.nOrt = nOrt;
    p.dtau = dtau;
    p.dtSeconds = st.deltaT;
    p.steps = std::lround(kSheetTauEnd / dtau);
    for (long k = 0; k < p.steps; ++k)
        step(st);
    p.model = fractionsOf(st.XKnoten, nOrt);
    const double r = st.deltaT / (st.Ortsschritt * st.Ortsschritt) * sheet.kappa;
    p.doublePrecision = doublePrecisionRun(nOrt, r, p.steps);
    p.series = seriesAt(sheet, nOrt, static_cast<double>(p.steps) * st.deltaT);
    return p;
}

SheetFractions extrapolated(const SheetFractions& coarse, const SheetFractions& fine) {
    return {2 * fine.nominal - coarse.nominal, 2 * fine.effective - coarse.effective};
}

// The space point of nOrt: the runs at Δτ and Δτ/2, extrapolated to Δτ → 0 (first order).
SheetPoint spacePoint(RunState& st, const Sheet& sheet, int nOrt) {
    SheetPoint coarse = run(st, sheet, nOrt, kSpaceStudyStep);
    const SheetPoint fine = run(st, sheet, nOrt, kSpaceStudyStep / 2);
    coarse.model = extrapolated(coarse.model, fine.model);
    coarse.doublePrecision = extrapolated(coarse.doublePrecision, fine.doublePrecision);
    return coarse;
}

void curve(RunState& st, const Sheet& sheet, SheetStudy& study) {
    prepareSheet(st, sheet, kCurve.nodes, kCurve.dtau);
    const long total = std::lround(kCurve.tauEnd / kCurve.dtau);
    study.curveTau.push_back(0);
    study.curveModel.push_back(0);
    const double widen = (kCurve.nodes + 0.5) / kCurve.nodes;
    for (long k = 1; k <= total; ++k) {
        step(st);
        if (k % kErrorEvery != 0) continue;
        const double tau = static_cast<double>(k) * kCurve.dtau;
        const SheetFractions f = fractionsOf(st.XKnoten, kCurve.nodes);
        study.errorRootTau.push_back(std::sqrt(tau));
        study.errorNominal.push_back(f.nominal - removedFraction(tau));
        study.errorEffective.push_back(f.effective - removedFraction(tau / (widen * widen)));
        if (k % kCurve.every != 0) continue;
        study.curveTau.push_back(tau);
        study.curveModel.push_back(f.nominal);
    }
}

void profile(RunState& st, const Sheet& sheet, SheetProfile& out) {
    prepareSheet(st, sheet, kProfile.nodes, kProfile.dtau);
    const long steps = std::lround(kProfile.tauEnd / kProfile.dtau);
    for (long k = 0; k < steps; ++k)
        step(st);
    out.tau = kProfile.tauEnd;
    out.nOrt = kProfile.nodes;
    for (int i = 0; i <= kProfile.nodes; ++i) {
        out.x.push_back(static_cast<double>(i) / kProfile.nodes);
        out.X.push_back(st.XKnoten[static_cast<std::size_t>(i)]);
    }
}

}  // namespace

double removedFraction(double tau) {
    if (!(tau > 0)) return 0;
    double sum = 0;
    for (int m = 0; m < kMostTerms; ++m) {
        const double k = (2 * m + 1) * kPi / 2;
        if (k * k * tau > kLastExponent) break;
        sum += 8 / ((2 * m + 1) * (2 * m + 1) * kPi * kPi) * std::exp(-k * k * tau);
    }
    return 1 - sum;
}

double relativeLoad(double xOverA, double tau) {
    double sum = 0;
    for (int m = 0; m < kMostTerms; ++m) {
        const double k = (2 * m + 1) * kPi / 2;
        if (k * k * tau > kLastExponent) break;
        sum += 4 / ((2 * m + 1) * kPi) * std::sin(k * xOverA) * std::exp(-k * k * tau);
    }
    return sum;
}

SheetFractions SheetPoint::error() const {
    return {model.nominal - series.nominal, model.effective - series.effective};
}

double SheetPoint::roundingFloor() const {
    return std::max(std::abs(model.nominal - doublePrecision.nominal),
                    std::abs(model.effective - doublePrecision.effective));
}

std::vector<double> observedOrders(const std::vector<SheetPoint>& points, bool effective,
                                   bool bySpace) {
    std::vector<double> orders;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const SheetPoint& a = points[i - 1];
        const SheetPoint& b = points[i];
        const double ea = effective ? a.error().effective : a.error().nominal;
        const double eb = effective ? b.error().effective : b.error().nominal;
        const bool aboveFloor = std::abs(ea) > kFloorMargin * a.roundingFloor() &&
                                std::abs(eb) > kFloorMargin * b.roundingFloor();
        const double ratio = bySpace ? static_cast<double>(b.nOrt) / a.nOrt : a.dtau / b.dtau;
        orders.push_back(aboveFloor ? observedOrder(ea, eb, ratio) : std::nan(""));
    }
    return orders;
}

double finestOrder(const std::vector<double>& orders) {
    for (auto it = orders.rbegin(); it != orders.rend(); ++it)
        if (std::isfinite(*it)) return *it;
    return std::nan("");
}

SheetStudy runSheetStudy(RunState& st) {
    SheetStudy study;
    study.sheet = constantConductivitySheet(st);
    for (double dtau : kTimeStudySteps)
        study.time.push_back(run(st, study.sheet, kTimeStudyNodes, dtau));
    study.coarserGrid = run(st, study.sheet, kCoarserGridNodes, kTimeStudySteps[2]);
    for (int n : kSpaceStudyNodes)
        study.space.push_back(spacePoint(st, study.sheet, n));
    curve(st, study.sheet, study);
    profile(st, study.sheet, study.coarseProfile);
    return study;
}

}  // namespace tesmo
