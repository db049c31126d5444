#include "model/run_state.h"

namespace tesmo {

RunState& programRunState() {
    // Static storage: the 40 MB of histories live for the whole program and never on a stack.
    static RunState state;
    return state;
}

}  // namespace tesmo
