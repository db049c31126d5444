// The second drying period: a drying front recedes into the plate. Heat crosses the air film
// and the dry layer to the front, the water evaporates there and the vapour diffuses out
// through the open pores; behind the front the wet zone keeps its moisture conduction.
#pragma once

#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

// Once, when the first period has ended: its duration and water load are kept and shown, the
// shrinkage scale is drawn again and the smoothing weight of the rate is fixed.
void uebergang(RunState& st, WindowPort& window);

// One time step. False when the run is over (reason in st.Laufende): the target water load
// reached, the front at the mid-plane, a Stop, full histories or a value that is not a number.
bool zweiterAbschnittSchritt(RunState& st, WindowPort& window);

// Steps until the run is over; the reason is left in st.Laufende.
void zweiterTrocknungsabschnitt(RunState& st, WindowPort& window);

// The corrected air balance counts the plate's warming from the temperature it had at the end
// of the first period (its wet-bulb temperature there); the standard balance starts from
// thetaKernVorher = 0, so that its first second-period step charges the air with warming the
// plate from 0 °C. Called once by uebergang; changes nothing in the standard balance.
void luftbilanzKorrigiertStart(const RunParameters& p, RunVariables& v);

// The front temperature may come out of its search up to half a kelvin above boiling; the
// second-period displays never show more than 100 °C, and the lowered value stays in the run
// state, where the next air-state advance uses it. The display groups lower it as they show
// it; the period lowers it before it calls them too, so the run state is right whatever
// window is attached.
void kernHoechstens100(RunVariables& v);

// --- the parts of one step ------------------------------------------------------------------

// Node f of the drying front: the last node below zero before the first one that is not. -1
// when the front has reached the mid-plane (a centre node below 0.001 kg/kg counts as dry).
int frontSuche(const RunParameters& p, const RunVariables& v);

// Depth of the front below the surface in m: the zero crossing of the line through nodes f
// and f+1, plus half a node.
double spiegeltiefe(const RunParameters& p, const RunVariables& v, int f);

// Front temperature thetaKern with qRand, thetaOberfl and mDiffusion: wet-bulb evaporation
// when the front stands at the surface, otherwise a bisection that balances the heat reaching
// the front against the vapour that can diffuse out through the dry layer.
void frontTemperatur(const RunParameters& p, RunVariables& v);

}  // namespace tesmo
