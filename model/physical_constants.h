// The properties of moist air, water, water vapour and the dry clay that the model uses, each
// written once. The values are those the model has always computed with; where two rounded
// values of one property are in use (the specific heat of liquid water), both are named.
#pragma once

namespace tesmo {

// --- moist air at a total pressure of 1 bar -----------------------------------------------------
// A vapour partial pressure p (bar) gives the water load kMolmassenverhaeltnis·p/(1 − p).
inline constexpr double kMolmassenverhaeltnis = 0.622;  // molar mass of water over that of air
inline constexpr double kGesamtdruckKPa = 100;          // the air's total pressure, in kPa
inline constexpr double kPascalProBar = 100000;
inline constexpr double kCpLuft = 1.005;  // kJ/(kg K), dry air
inline constexpr double kCpDampf = 1.86;  // kJ/(kg K), water vapour
inline constexpr double kRDampf = 0.461;  // kJ/(kg K), gas constant of water vapour
inline constexpr double kKelvin = 273;    // °C to K, as the model adds it
// Saturation pressure p_s = kMagnusP0·exp(kMagnusA·θ/(kMagnusB + θ)) in Pa.
inline constexpr double kMagnusP0 = 610.78;   // Pa
inline constexpr double kMagnusA = 17.08085;  // –
inline constexpr double kMagnusB = 234.175;   // °C; the formula has its pole at −kMagnusB

// --- water
// -----------------------------------------------------------------------------------------
inline constexpr double kVerdampfungswaerme0 = 2500;  // kJ/kg, enthalpy of evaporation at 0 °C
inline constexpr double kVerdampfungswaermeAbfall = 2.32;  // kJ/(kg K), its fall per kelvin
inline constexpr double kCwWasser = 4.1868;                // kJ/(kg K), liquid water
// The rounded value of the same property that the vapour-pressure form of the wet-bulb balance
// and the counter-current air advance use.
inline constexpr double kCwWasserGerundet = 4.19;  // kJ/(kg K)
inline constexpr double kDichteWasser = 1000;      // kg/m³
// Density of saturated-free water vapour at atmospheric pressure: kDampfdichteFaktor/T kg/m³.
inline constexpr double kDampfdichteFaktor = 219.492;  // kg K/m³

// --- vapour diffusion in the pores of the dry layer -------------------------------------------
inline constexpr double kDiffusionskoeffizient273 = 2.23e-5;  // m²/s of vapour in air at 273 K
inline constexpr double kDiffusionsexponent = 1.74;           // its growth with (T/273 K)^1.74

// --- the dry clay
// ----------------------------------------------------------------------------------
inline constexpr double kCpTrockenmasse = 0.9;  // kJ/(kg K)

}  // namespace tesmo
