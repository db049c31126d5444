#include "verify/boundary_studies.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/inputs.h"
#include "model/null_window_port.h"
#include "model/second_period.h"
#include "model/setup.h"
#include "model/transport.h"

namespace tesmo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kLastExponent = 60;  // series terms below exp(−60) are left out
constexpr int kBisections = 200;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// A root of an increasing function between lo and hi, to the last bit.
template <class F>
double increasingRoot(F f, double target, double lo, double hi) {
    for (int k = 0; k < kBisections; ++k) {
        const double mid = (lo + hi) / 2;
        if (mid == lo || mid == hi) break;
        (f(mid) < target ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

// Where a sampled quantity crossed `level` downwards between (t0, v0) and (t1, v1), or -1.
double crossing(double t0, double v0, double t1, double v1, double level) {
    if (!(v0 >= level && v1 < level)) return -1;
    return t0 + (t1 - t0) * (v0 - level) / (v0 - v1);
}

// The default plate after the set-up, grid and step as the first period sets them.
void defaultPlate(RunState& st, const InputTexts& texts, int nOrt, double deltaT) {
    NullWindowPort port;
    Einrichtung(st, texts, port);
    st.nOrt = nOrt;
    st.Ortsschritt = st.Dicke / (st.nOrt * 2);
    st.deltaT = deltaT;
}

// --- constant flux ------------------------------------------------------------------------

FluxPoint fluxRun(RunState& st, const Sheet& sheet, int n, double fourier, double tauExact) {
    const double dtau = fourier / (static_cast<double>(n) * n);
    prepareSheet(st, sheet, n, dtau);
    auto& X = st.XKnoten;
    for (int i = 0; i <= n + 1; ++i)
        X[at(i)] = kSheetXStart;
    const double rho = st.rhos;
    // mPunkt as the first period has it: negative while water leaves.
    const double F = -kFluxNumber * rho * sheet.kappa * (kSheetXStart - kSheetXFace) / sheet.a;
    const double tauScale = sheet.a * F / (rho * sheet.kappa);  // mean load per unit τ
    FluxPoint p;
    p.nOrt = n;
    p.dtau = dtau;
    p.tauSurface = p.tauHelper = -1;
    double tauOld = 0, surfaceOld = kSheetXStart, helperOld = kSheetXStart, meanOld = kSheetXStart;
    for (long k = 1; p.tauSurface < 0 || p.tauHelper < 0 || tauOld < tauExact; ++k) {
        // The helper node carries the flux F for the profile before the step, with the
        // conductivity at the surface value, as the first period sets it.
        const double kappa = Feuchteleitwert(st, (X[0] + X[1]) / 2, kSheetTemperature);
        X[0] = X[1] + F * st.Ortsschritt / (rho * kappa);
        X[at(n) + 1] = X[at(n)];
        Transportschritt(st, X, st, 0, kSheetTemperature);
        const double tau = static_cast<double>(k) * dtau;
        // The helper node as the next step sets it, and the surface halfway to it.
        const double gradient = F * st.Ortsschritt / (rho * sheet.kappa);
        const double helper = X[1] + gradient;
        const double surface = X[1] + gradient / 2;
        double mean = 0;
        for (int i = 1; i <= n; ++i)
            mean += X[at(i)] / n;
        if (p.tauSurface < 0)
            p.tauSurface = crossing(tauOld, surfaceOld, tau, surface, kSheetXFace);
        if (p.tauHelper < 0) p.tauHelper = crossing(tauOld, helperOld, tau, helper, kSheetXFace);
        if (tauOld < tauExact && tau >= tauExact) {
            const double m = meanOld + (mean - meanOld) * (tauExact - tauOld) / (tau - tauOld);
            const double exact = kSheetXStart + tauScale * tauExact;
            p.meanError = (m - exact) / (kSheetXStart - exact);
        }
        tauOld = tau;
        surfaceOld = surface;
        helperOld = helper;
        meanOld = mean;
    }
    return p;
}

// --- similarity -----------------------------------------------------------------------------

constexpr int kShootingSteps = 20000;
constexpr int kProfileEvery = 1;  // every so many Runge–Kutta steps a profile point
constexpr double kEtaReach = 20;  // η_max in units of √κ_max

struct Shot {
    double XEnd = 0;
    SimilarityProfile profile;
};

// X′ = u/κ(X), u′ = −(η/2)·u/κ(X), from X(0) = X_face, u(0) = u0.
Shot shoot(const RunParameters& p, double u0, double etaMax, bool keep) {
    const auto kappa = [&p](double X) { return Feuchteleitwert(p, X, kSheetTemperature); };
    const auto rhs = [&](double eta, double X, double u, double& dX, double& du) {
        const double k = kappa(X);
        dX = u / k;
        du = -eta / 2 * u / k;
    };
    const double h = etaMax / kShootingSteps;
    double X = kSheetXFace, u = u0;
    Shot s;
    double integral = 0;
    for (int j = 0; j < kShootingSteps; ++j) {
        const double eta = j * h;
        if (keep && j % kProfileEvery == 0) {
            s.profile.eta.push_back(eta);
            s.profile.X.push_back(X);
        }
        double a1, b1, a2, b2, a3, b3, a4, b4;
        rhs(eta, X, u, a1, b1);
        rhs(eta + h / 2, X + h / 2 * a1, u + h / 2 * b1, a2, b2);
        rhs(eta + h / 2, X + h / 2 * a2, u + h / 2 * b2, a3, b3);
        rhs(eta + h, X + h * a3, u + h * b3, a4, b4);
        const double XNext = X + h / 6 * (a1 + 2 * a2 + 2 * a3 + a4);
        integral += h / 2 * ((kSheetXStart - X) + (kSheetXStart - XNext));
        X = XNext;
        u += h / 6 * (b1 + 2 * b2 + 2 * b3 + b4);
        if (!(X < 2 * kSheetXStart)) break;  // far too steep a start: this shot is over
    }
    if (keep) {
        s.profile.eta.push_back(etaMax);
        s.profile.X.push_back(X);
        s.profile.removedIntegral = integral;
    }
    s.XEnd = X;
    return s;
}

double interpolate(const std::vector<double>& x, const std::vector<double>& y, double at) {
    if (at >= x.back()) return y.back();
    const auto it = std::upper_bound(x.begin(), x.end(), at);
    const std::size_t j = static_cast<std::size_t>(it - x.begin());
    const double w = (at - x[j - 1]) / (x[j] - x[j - 1]);
    return y[j - 1] + w * (y[j] - y[j - 1]);
}

// --- receding front -------------------------------------------------------------------------

constexpr long kFigureEvery = 500;  // steps between the figure's points

// A conductivity so small that the wet zone keeps its water where it is.
constexpr const char* kFrontConductivity = "0,00001";  // 10⁻¹⁴ m²/s at 0,25 kg/kg

FrontPoint frontRun(RunState& st, FrontStudy& study, int n, bool keepCurve) {
    InputTexts texts = defaultInputTexts();
    texts[Control::txt_Feuchteleit] = kFrontConductivity;
    defaultPlate(st, texts, n, kFrontStep);
    auto& X = st.XKnoten;
    for (int i = 1; i <= n + 1; ++i)
        X[at(i)] = kFrontLoad;
    X[0] = -kFrontLoad;  // the surface has just dried out, as when the first period ends
    st.thetaKern = kSheetTemperature;
    const double dx = st.Ortsschritt;
    const double kappaDry = Feuchteleitwert(st, 0, st.thetaKern);
    FrontPoint p;
    p.nOrt = n;
    p.offsetMin = INFINITY;
    p.offsetMax = -INFINITY;
    double sum = 0;
    long counted = 0;
    for (long k = 0;; ++k) {
        const double t = static_cast<double>(k) * kFrontStep;
        const int f = frontSuche(st, st);
        if (f < 0) {
            p.arrival = t;
            break;
        }
        const double s = spiegeltiefe(st, st, f);
        // Nodes below zero count as dry, as in the model's mean water load.
        double removed = 0;
        for (int i = 1; i <= n; ++i)
            removed += (kFrontLoad - std::max(X[at(i)], 0.0)) * dx;
        const double water = removed / kFrontLoad;
        const double d = (s - water) / dx;
        sum += d;
        ++counted;
        p.offsetMin = std::min(p.offsetMin, d);
        p.offsetMax = std::max(p.offsetMax, d);
        if (keepCurve && k % kFigureEvery == 0) {
            study.rootT.push_back(std::sqrt(t));
            study.depthModel.push_back(1000 * s);
            study.depthWater.push_back(1000 * water);
            study.depthRef.push_back(1000 * std::sqrt(2 * study.K * t / (st.rhos * kFrontLoad)));
        }
        // The rate of the diffusion-controlled front at the model's depth, and the front value
        // that carries it with the conductivity of the dry mass, as the second period sets it.
        st.mPunkt = -study.K / s;
        X[at(f)] = X[at(f) + 1] + st.mPunkt * dx / (kappaDry * st.rhos);
        X[at(n) + 1] = X[at(n)];
        Transportschritt(st, X, st, f, st.thetaKern);
    }
    p.offsetMean = sum / static_cast<double>(counted);
    return p;
}

}  // namespace

double fluxSurfaceDrop(double tau) {
    if (!(tau > 0)) return 0;
    double sum = 0;
    for (int n = 1;; ++n) {
        const double e = n * n * kPi * kPi * tau;
        if (e > kLastExponent) break;
        sum += std::exp(-e) / (static_cast<double>(n) * n);
    }
    return tau + 1.0 / 3 - 2 / (kPi * kPi) * sum;
}

double fluxCriticalTau() {
    return increasingRoot(fluxSurfaceDrop, 1 / kFluxNumber, 0, 1);
}

FluxStudy runFluxStudy(RunState& st) {
    FluxStudy s;
    s.sheet = constantConductivitySheet(st);
    s.tauExact = fluxCriticalTau();
    for (double fourier : kFluxFouriers) {
        FluxSeries series{fourier, {}};
        for (int n : kFluxNodes)
            series.points.push_back(fluxRun(st, s.sheet, n, fourier, s.tauExact));
        s.series.push_back(std::move(series));
    }
    return s;
}

SimilarityProfile similarityProfile(const RunParameters& p) {
    const double kappaMax = Feuchteleitwert(p, kSheetXStart, kSheetTemperature);
    const double etaMax = kEtaReach * std::sqrt(kappaMax);
    // A surface flux that overshoots X_A bounds the search from above.
    double hi = kappaMax * (kSheetXStart - kSheetXFace) / std::sqrt(kappaMax);
    while (shoot(p, hi, etaMax, false).XEnd < kSheetXStart)
        hi *= 2;
    const double u0 = increasingRoot([&](double u) { return shoot(p, u, etaMax, false).XEnd; },
                                     kSheetXStart, 0, hi);
    return shoot(p, u0, etaMax, true).profile;
}

SimilarityStudy runSimilarityStudy(RunState& st) {
    SimilarityStudy s;
    defaultPlate(st, defaultInputTexts(), kSimilarityNodes[0], 1);
    if (!(kSheetXStart < st.XSchwEnde)) return s;  // the test needs the plate shrunk
    s.a = st.Dicke / 2;
    s.kappaMax = Feuchteleitwert(st, kSheetXStart, kSheetTemperature);
    s.kappaMin = Feuchteleitwert(st, kSheetXFace, kSheetTemperature);
    s.tEnd = kSimilarityTau * s.a * s.a / s.kappaMax;
    s.reference = similarityProfile(st);
    const double root = std::sqrt(s.tEnd);
    const double removedRef = root * s.reference.removedIntegral;
    for (int n : kSimilarityNodes) {
        const double dx = s.a / n;
        const long steps =
            std::lround(std::ceil(s.tEnd / (kSimilarityFourier * dx * dx / s.kappaMax)));
        defaultPlate(st, defaultInputTexts(), n, s.tEnd / static_cast<double>(steps));
        auto& X = st.XKnoten;
        for (int i = 0; i <= n + 1; ++i)
            X[at(i)] = kSheetXStart;
        X[0] = kSheetXFace;
        for (long k = 0; k < steps; ++k) {
            X[at(n) + 1] = X[at(n)];
            Transportschritt(st, X, st, 0, kSheetTemperature);
        }
        SimilarityPoint p;
        p.nOrt = n;
        p.dt = st.deltaT;
        double removed = 0;
        for (int i = 0; i <= n; ++i) {
            const double x = i * dx;
            const double ref = interpolate(s.reference.eta, s.reference.X, x / root);
            p.profileError = std::max(p.profileError, std::abs(X[at(i)] - ref));
            const double weight = (i == 0 || i == n) ? dx / 2 : dx;
            removed += weight * (kSheetXStart - X[at(i)]);
        }
        p.removedError = removed / removedRef - 1;
        s.points.push_back(p);
        if (n == kSimilarityNodes[0]) {
            for (int i = 0; i <= n; ++i) {
                s.coarseX.push_back(i * dx);
                s.coarseLoad.push_back(X[at(i)]);
            }
        }
    }
    return s;
}

FrontStudy runFrontStudy(RunState& st) {
    FrontStudy s;
    defaultPlate(st, defaultInputTexts(), kFrontNodes[0], kFrontStep);
    s.a = st.Dicke / 2;
    s.K = st.rhos * kFrontLoad * s.a * s.a / (2 * kFrontArrival);
    s.arrivalRef = kFrontArrival;
    for (int n : kFrontNodes)
        s.points.push_back(frontRun(st, s, n, n == kFrontNodes[0]));
    return s;
}

}  // namespace tesmo
