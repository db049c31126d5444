// Moist air and water vapour at a total pressure of 1 bar.
//
// Temperatures in °C, water loads in kg water per kg dry air, pressures in bar. A vapour
// partial pressure p gives the water load 0.622·p/(1 − p); the enthalpy of moist air per kg of
// dry air is 1.005·θ + X·(2500 + 1.86·θ) kJ/kg.
#pragma once

namespace tesmo {

double Saettigungsdruck(double theta);
// Water load of air whose vapour has the partial pressure p (bar) at the total pressure of 1 bar.
double wasserbeladungAusDampfdruck(double p);
double Verdampfungswaerme(double theta);
// Relative humidity as a fraction; note the argument order: water load first.
double relFeuchte(double X, double theta);
// Water load of air at theta whose adiabatic saturation ends at the wet-bulb temperature thetaKG.
double XausKuehlgrenze(double theta, double thetaKG);
// Vapour partial pressure of that air (the same balance with c_w = 4.19 kJ/(kg K)).
double pDampfAusKuehlgrenze(double theta, double thetaKG);
// Wet-bulb temperature by bisection between 0 and 100 °C; temperature first. When `halvings`
// is given it receives the number of midpoints evaluated.
double Kuehlgrenztemperatur(double theta, double X, int* halvings = nullptr);

}  // namespace tesmo
