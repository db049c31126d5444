// Capillary moisture transport inside the plate: the moisture conductivity, the tridiagonal
// solver and one fully implicit (backward Euler) step of the water-load profile.
#pragma once

#include <array>

#include "model/run_state.h"

namespace tesmo {

// Moisture conductivity in m²/s at water load X (kg/kg) and temperature theta (°C). It grows
// with the square of the water volume fraction above the open porosity, falls off
// exponentially (slope KappaSteig per unit volume fraction, base 10) below it, is constant for
// a dry mass, and rises by 2.25 % per kelvin above 25 °C.
double Feuchteleitwert(const RunParameters& p, double X, double theta);

// Solves a(j)·x(j−1) + b(j)·x(j) + c(j)·x(j+1) = d(j), j = 1..n (arrays indexed from 1, n at
// most 501). TriFaktor = 0 factorises first (TriFehler = 1 on a zero pivot, TriX untouched);
// any other value reuses TriGamma and TriBeta. The forward-substitution values are kept in
// single precision in TriY, so for n > 1 the solution carries single-precision accuracy.
void TridiagLoeser(int n, const NodeArray& TriD, const NodeArray& TriA, const NodeArray& TriC,
                   const NodeArray& TriB, int TriFaktor, NodeArray& TriX, int& TriFehler,
                   NodeArray& TriGamma, NodeArray& TriBeta,
                   std::array<float, kNodeArraySize>& TriY);

// One implicit step of the profile XKnoten on the wet zone, nodes f+1 to nOrt, with X(f) as
// the prescribed boundary value and the mirror node X(nOrt+1) closing the mid-plane (both set
// by the caller). f = 0 is the whole half thickness. All conductivities are taken at theta from
// the profile as it stands. The assembled system and its solution stay in the scratch arrays.
void Transportschritt(const RunParameters& p, NodeArray& XKnoten, SolverScratch& s, int f,
                      double theta);

}  // namespace tesmo
