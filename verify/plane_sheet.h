// The model's implicit moisture step against the classical solution for a plane sheet.
//
// With KappaSteig = 0 and water loads below XSchwEnde the moisture conductivity is the constant
// FeuchteleitGrenz (at 25 °C the temperature factor is 1), and the step solves the linear
// diffusion equation. A sheet that starts at the uniform load XStart and has both faces held
// at XFace then loses the mean fraction F(τ) of its removable water, τ = κ·t/a² with the half
// thickness a, as the Fourier series gives it.
//
// The step's grid closes the mid-plane with the mirror node nOrt+1 = nOrt, i.e. halfway
// between node nOrt and the mirror: a profile computed with nOrt intervals of Δx belongs to a
// sheet of half thickness (nOrt + ½)·Δx, not nOrt·Δx. Both are compared here, the "nominal"
// sheet of the inputs and this "effective" one.
#pragma once

#include <array>
#include <vector>

#include "model/run_state.h"

namespace tesmo {

// F(τ) = 1 − Σ_{m≥0} 8/((2m+1)²π²)·exp(−(2m+1)²π²τ/4).
double removedFraction(double tau);
// (X − XFace)/(XStart − XFace) at depth x (x/a from 0 at the face to 1 at the mid-plane):
// Σ_{m≥0} 4/((2m+1)π)·sin((2m+1)πx/(2a))·exp(−(2m+1)²π²τ/4), for τ > 0.
double relativeLoad(double xOverA, double tau);

// The test: the default plate set up with KappaSteig 0, held at 25 °C.
inline constexpr double kSheetTemperature = 25;  // °C
inline constexpr double kSheetXStart = 0.12;     // kg/kg
inline constexpr double kSheetXFace = 0.02;      // kg/kg
inline constexpr double kSheetTauEnd = 0.2;      // where the orders are measured

// Refinement in time on a fine grid, and in space with the time error removed by Richardson
// extrapolation from the steps Δτ and Δτ/2 (both the model's own steps).
inline constexpr int kTimeStudyNodes = 100;
inline constexpr int kCoarserGridNodes = 50;
inline constexpr std::array<double, 4> kTimeStudySteps = {4e-4, 2e-4, 1e-4, 5e-5};
inline constexpr std::array<int, 5> kSpaceStudyNodes = {4, 8, 16, 32, 64};
inline constexpr double kSpaceStudyStep = 1e-4;
// An order is reported only where both errors exceed the rounding floor this many times.
inline constexpr double kFloorMargin = 10;

struct Sheet {
    double a = 0;      // half thickness of the dried plate, m
    double kappa = 0;  // moisture conductivity, m²/s, the same at XStart and XFace
};

// Mean removed fractions of a profile: over the nominal sheet [0, nOrt·Δx] and over the
// effective sheet [0, (nOrt + ½)·Δx], both by the trapezoidal rule through the nodes (the last
// half step at the value of node nOrt, where the profile is flat).
struct SheetFractions {
    double nominal = 0, effective = 0;
};

struct SheetPoint {
    int nOrt = 0;
    double dtau = 0;       // time step as κ·Δt/a² (space study: the coarser of the two)
    double dtSeconds = 0;  // the same in s for the test sheet
    long steps = 0;
    SheetFractions model;            // the model's step
    SheetFractions doublePrecision;  // the same scheme with a double-precision solver
    SheetFractions series;           // the Fourier series at the same time

    SheetFractions error() const;
    // How far the single-precision forward values of the solver move the result.
    double roundingFloor() const;
};

struct SheetProfile {
    double tau = 0;
    int nOrt = 0;
    std::vector<double> x, X;  // node depth / a and water load, nodes 0..nOrt
};

struct SheetStudy {
    Sheet sheet;
    std::vector<SheetPoint> time;   // kTimeStudyNodes, kTimeStudySteps
    std::vector<SheetPoint> space;  // kSpaceStudyNodes at kSpaceStudyStep, extrapolated in time
    // Half the nodes of the time study at one of its steps: how the time error depends on Δx.
    SheetPoint coarserGrid;
    // F over τ at the default resolution (nOrt = 100, Δτ = 1e-4), for a figure.
    std::vector<double> curveTau, curveModel;
    // The same run's error against the series, more densely sampled, over √τ: against the
    // nominal sheet and against the sheet a + Δx/2.
    std::vector<double> errorRootTau, errorNominal, errorEffective;
    SheetProfile coarseProfile;  // nOrt = 4 at τ = 0.1
};

// Runs the whole study on `st` (it is set up anew for every run).
SheetStudy runSheetStudy(RunState& st);

// The test sheet: `st` set up as the default plate with KappaSteig 0, its half thickness and
// its constant conductivity at kSheetTemperature.
Sheet constantConductivitySheet(RunState& st);
// Grid and step as the first period sets them (nOrt intervals, Δt from Δτ), the uniform start
// kSheetXStart with node 0 at kSheetXFace.
void prepareSheet(RunState& st, const Sheet& sheet, int nOrt, double dtau);

// The observed orders between neighbouring points of a study, by the nominal or the effective
// error; not a number where an error is within kFloorMargin of its rounding floor.
std::vector<double> observedOrders(const std::vector<SheetPoint>& points, bool effective,
                                   bool bySpace);
// The last of them that could be measured (not a number if none).
double finestOrder(const std::vector<double>& orders);

// The bands that the finest measured orders must stay in (a test holds them there): first
// order in time, second in space against the sheet a + Δx/2, first against the nominal sheet.
struct OrderBand {
    double lo, hi;
    bool holds(double p) const { return p >= lo && p <= hi; }
};
inline constexpr OrderBand kTimeOrderBand{0.9, 1.1};
inline constexpr OrderBand kSpaceOrderBand{1.8, 2.2};
inline constexpr OrderBand kNominalSpaceOrderBand{0.8, 1.2};

}  // namespace tesmo
