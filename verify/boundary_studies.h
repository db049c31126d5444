// The model's moisture step where the plane-sheet test cannot reach: a prescribed surface flux
// (the first drying period), a conductivity that changes with the water load, and a drying
// front that recedes into the plate (the second period). Each against a reference solution
// that does not come from the model's scheme.
#pragma once

#include <array>
#include <vector>

#include "model/run_state.h"
#include "verify/plane_sheet.h"

namespace tesmo {

// --- a constant surface flux ----------------------------------------------------------------
//
// The test sheet of plane_sheet.h (constant κ, 25 °C), uniform at kSheetXStart, loses water
// through its faces at the constant flux F from t = 0, as in the first drying period. The
// classical solution for a sheet of half thickness a (Crank, The Mathematics of Diffusion,
// 2nd ed., § 4.3.3) gives the water load at the surface as
//   X_s = X_A − F·a/(ρ·κ)·b(τ),  b(τ) = τ + 1/3 − (2/π²)·Σ_{n≥1} exp(−n²π²τ)/n²,  τ = κ·t/a²,
// and the mean as X_A − F·t/(ρ·a). F is chosen so that the surface reaches kSheetXFace at
// b(τ) = 1/kFluxNumber.
//
// The model sets the helper node 0 outside the plate so that the flux between it and node 1
// carries F for the profile before the step (the surface lies between the two) and closes the
// mid-plane with the symmetry node. Measured: when the surface value (X0 + X1)/2 and the helper
// node X0 itself (the model's test for the end of the first period) reach the critical value,
// and the mean loss at that time.
inline constexpr double kFluxNumber = 4;  // F·a/(ρ·κ·(X_A − X_crit))
inline constexpr std::array<int, 4> kFluxNodes = {25, 50, 100, 200};
// κ·Δt/Δx², kept while both steps shrink: a small one, where the time step hardly matters,
// and one like the default case's at its start (about 2,5 at the initial water load).
inline constexpr std::array<double, 2> kFluxFouriers = {0.05, 2};

double fluxSurfaceDrop(double tau);  // b(τ)
// τ at which the surface reaches the critical value, b(τ) = 1/kFluxNumber.
double fluxCriticalTau();

struct FluxPoint {
    int nOrt = 0;
    double dtau = 0;
    double tauSurface = 0;  // the surface value (X0 + X1)/2 reaches X_crit
    double tauHelper = 0;   // the helper node X0 reaches X_crit
    // At the exact critical time: the mean's error relative to the water removed by then.
    double meanError = 0;
};
struct FluxSeries {
    double fourier = 0;
    std::vector<FluxPoint> points;  // kFluxNodes
};
struct FluxStudy {
    Sheet sheet;
    double tauExact = 0;
    std::vector<FluxSeries> series;  // kFluxFouriers
};
FluxStudy runFluxStudy(RunState& st);

// --- a conductivity that changes with the water load -----------------------------------------
//
// The default plate below its shrinkage limit at 25 °C, with its real conductivity law: κ falls
// by KappaSteig decades per unit water volume fraction, from kSheetXStart down to kSheetXFace
// by a factor of about 17. Held at kSheetXFace from t = 0, the plate dries at first like a
// half-space, whose profile depends on x/√t alone (Boltzmann): with η = x/√t,
//   (κ(X)·X′)′ + (η/2)·X′ = 0,  X(0) = X_face,  X(∞) = X_A,
// solved here by shooting on the surface flux with a fourth-order Runge–Kutta march in η. The
// water removed per m² is then ρ·√t·∫(X_A − X) dη. The model runs until κ_max·t/a² =
// kSimilarityTau, well before the drying reaches the mid-plane.
inline constexpr double kSimilarityTau = 0.02;
inline constexpr std::array<int, 4> kSimilarityNodes = {25, 50, 100, 200};
inline constexpr double kSimilarityFourier = 0.5;  // κ_max·Δt/Δx²

struct SimilarityProfile {
    std::vector<double> eta, X;  // η in m/√s
    double removedIntegral = 0;  // ∫(X_A − X) dη, kg/kg·m/√s
};
SimilarityProfile similarityProfile(const RunParameters& p);

struct SimilarityPoint {
    int nOrt = 0;
    double dt = 0;            // s
    double removedError = 0;  // relative to the reference's removed water
    double profileError = 0;  // largest |X − X_ref| over the nodes, kg/kg
};
struct SimilarityStudy {
    double kappaMax = 0, kappaMin = 0;  // m²/s at X_A and at X_face
    double tEnd = 0;                    // s
    double a = 0;                       // m
    SimilarityProfile reference;
    std::vector<SimilarityPoint> points;
    std::vector<double> coarseX, coarseLoad;  // the coarsest grid's profile at tEnd (x in m)
};
SimilarityStudy runSimilarityStudy(RunState& st);

// --- the receding drying front --------------------------------------------------------------
//
// The second period's front mechanics on their own: the default plate, uniform at kFrontLoad
// and with a conductivity so small that the wet zone keeps its water where it is, loses water
// at the front at the rate K/s of a diffusion-controlled front at depth s (the vapour crosses a
// dry layer of thickness s against a fixed pressure difference). Mass conservation,
// ρ·X_w·ds/dt = K/s, gives the parabolic law s(t) = √(2·K·t/(ρ·X_w)) and the arrival at the
// mid-plane at t = ρ·X_w·a²/(2·K). The model's own front search, front depth, front value and
// implicit step on the wet zone carry it, with the model's depth in the rate.
inline constexpr double kFrontLoad = 0.12;      // kg/kg
inline constexpr double kFrontArrival = 10000;  // s, the reference's arrival at the mid-plane
inline constexpr double kFrontStep = 0.1;       // s
inline constexpr std::array<int, 4> kFrontNodes = {25, 50, 100, 200};

struct FrontPoint {
    int nOrt = 0;
    double arrival = 0;  // s, the model's front search finds the mid-plane
    // The model's front depth (Spiegeltiefe) against the depth that the water removed so far
    // says, (water removed per m²)/(ρ·X_w), in node spacings: mean and extremes over the run.
    double offsetMean = 0, offsetMin = 0, offsetMax = 0;
};
struct FrontStudy {
    double a = 0;           // m
    double K = 0;           // kg/(m s)
    double arrivalRef = 0;  // s
    std::vector<FrontPoint> points;
    // For the figure, of the coarsest grid: √t in √s and the depths in mm.
    std::vector<double> rootT, depthModel, depthWater, depthRef;
};
FrontStudy runFrontStudy(RunState& st);

}  // namespace tesmo
