// The dryer's balances closed by hand, against the model's supply-air temperature and energy.
//
// The steady counter-current dryer, per kg of dry product: outside air (θAußen, XAußen) is
// heated to the supply temperature θZu and leaves as the exhaust air (θAbluft, XAbluft), having
// taken up the water the plate gave off; the plate enters at the exhaust air's wet-bulb
// temperature θKG and leaves at its final temperature θEnde. The enthalpy balance
//
//   L·(cL + cD·XAußen)·θZu = L·(cL + cD·XAbluft)·θAbluft + r0·(XAnf − XZiel)
//                            + (cS + cW·XZiel)·θEnde − (cS + cW·XAnf)·θKG
//
// (L the air per kg of product, cL and cD the heat capacities of dry air and vapour, r0 the
// enthalpy of evaporation at 0 °C, cS and cW those of the dry mass and liquid water) gives the
// supply temperature the dryer needs, whatever path the plate takes through it. The model gets
// θZu by stepping the air along the plate's way; the differences are named and measured here.
#pragma once

#include <array>
#include <vector>

#include "model/inputs.h"
#include "verify/case_runs.h"

namespace tesmo {

struct HandBalance {
    double thetaZuluft = 0;  // °C
    double energie = 0;  // kJ per kg of water: L·(cL + cD·XAußen)·(θZu − θAußen)/(XAnf − XZiel)
};

// The balance above for the case's inputs and the plate's final temperature. cLuft is the heat
// capacity of dry air, 1,005 kJ/(kg K); the model's air advance takes 1.
HandBalance handBalance(const InputTexts& texts, double thetaEnde, double cLuft);

// What separates the model's supply temperature from the hand balance, in K, in the order in
// which the model departs from it: model = hand + cLuft + wasserFehlt + wasserTemperatur + rest.
struct BalanceSplit {
    double hand = 0;  // °C, the hand balance with θEnde = the model's front temperature at the end
    double cLuft = 0;        // the air's heat capacity taken as 1 kJ/(kg K) instead of 1,005
    double wasserFehlt = 0;  // the air ends drier than the outside air says: water the plate's
                             // flux balance did not book into the air (the water-balance error)
    double wasserTemperatur = 0;  // the water entering the air at θOb instead of at θKern
    double rest = 0;   // all else: the time step (and in the standard balance its factor Δt)
    double model = 0;  // °C
    // The energy with the heat capacity of the outside air, as the hand balance counts it.
    double heatRatio = 0;  // model's heat over the hand balance's, minus 1
};
BalanceSplit splitBalance(const InputTexts& texts, const CaseResult& r);

// The default case at four time steps, with both second-period air balances.
inline constexpr std::array<const char*, 4> kBalanceSteps = {"1", "0,5", "0,25", "0,1"};
struct BalanceLevel {
    const char* dtText;
    double dt;
    InputTexts texts;
    CaseResult result;
    BalanceSplit split;
};
struct BalanceStudy {
    std::vector<BalanceLevel> standard, korrigiert;
};
BalanceStudy runBalanceStudy(int threads);

}  // namespace tesmo
