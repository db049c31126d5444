// The first drying period: capillary flow keeps the surface wet, the surface sits at the
// wet-bulb temperature of the passing air and the evaporation rate follows from the heat
// transfer alone.
#pragma once

#include <cstdint>

#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

enum class Schrittausgang : std::uint8_t {
    Weiter,         // the period goes on
    AbschnittEnde,  // the surface water load has turned negative: the second period follows
    LaufEnde,       // the run is over (the reason is in st.Laufende)
};

// Before the first step: node spacing, start rate (shown), the uniform initial profile,
// counters, the stop flag and history record 0.
void ersterAbschnittVorbereiten(RunState& st, WindowPort& window);

// One time step, from the poll to the profile curve.
Schrittausgang ersterAbschnittSchritt(RunState& st, WindowPort& window);

// Steps until the period ends. False when the run ended inside it (reason in st.Laufende).
bool ersterTrocknungsabschnitt(RunState& st, WindowPort& window);

}  // namespace tesmo
