#include "model/run_state.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace tesmo {

namespace {

// Memory for one T that reads 0 everywhere and of which no page has been touched: calloc hands
// a block of this size over straight from the operating system (an anonymous mapping), which
// is zero by its nature, so it neither clears nor writes it. The object is then constructed
// there without value-initialisation, which would write every byte again.
template <class T>
T* constructInZeroedBlock() {
    static_assert(alignof(T) <= alignof(std::max_align_t));
    void* block = std::calloc(1, sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return ::new (block) T;
}

template <class T>
void destroyZeroedBlock(T* object) {
    if (object == nullptr) return;
    object->~T();
    std::free(object);
}

}  // namespace

RunState& programRunState() {
    // Built on first use in memory that comes zeroed from the operating system, as by
    // newRunState(), and kept for the program's whole life; only the records a run writes are
    // touched. Not static storage: its 44 MB of histories would be reserved as the program
    // starts, also where nothing uses them (--version, a study whose workers have states of
    // their own), and under a limit of the address space below them the program could not even
    // start to say why. Throws std::bad_alloc, and tries again on the next call, when the memory
    // is not there.
    static RunState* const state = constructInZeroedBlock<RunState>();
    return *state;
}

void RunStateRelease::operator()(RunState* st) const {
    destroyZeroedBlock(st);
}

RunStateOwner newRunState() {
    return RunStateOwner(constructInZeroedBlock<RunState>());
}

void HistoryArrayRelease::operator()(HistoryArray* a) const {
    destroyZeroedBlock(a);
}

HistoryArrayOwner newHistoryArray() {
    return HistoryArrayOwner(constructInZeroedBlock<HistoryArray>());
}

void resetToFreshProgram(RunState& st) {
    // A run writes history records 0..HistIndex and nothing beyond. If the state was fresh (or
    // reset like this) before that run, those are the only records that are not 0.
    const auto written = static_cast<std::ptrdiff_t>(std::clamp(st.HistIndex, 0, kMaxHistoryIndex));
    static_cast<RunParameters&>(st) = RunParameters{};
    static_cast<RunVariables&>(st) = RunVariables{};
    static_cast<SolverScratch&>(st) = SolverScratch{};
    for (const HistoryColumn& column : kHistoryColumns) {
        HistoryArray& a = st.*column.array;
        std::fill(a.begin(), a.begin() + written + 1, 0.0);
    }
    std::fill(st.VerlaufXLuft.begin(), st.VerlaufXLuft.begin() + written + 1, 0.0);
}

}  // namespace tesmo
