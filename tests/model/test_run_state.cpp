// The run state's storage: a new one costs no memory until a run writes it, and a reset clears
// only what the run before wrote.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "model/run_state.h"

namespace tesmo {
namespace {

// How many pages of [begin, begin + bytes) the process holds in memory.
std::size_t residentPages(const void* begin, std::size_t bytes) {
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(begin) / page * page;
    const auto end = reinterpret_cast<std::uintptr_t>(begin) + bytes;
    std::vector<unsigned char> in((end - first + page - 1) / page);
    if (::mincore(reinterpret_cast<void*>(first), end - first, in.data()) != 0) return SIZE_MAX;
    std::size_t n = 0;
    for (unsigned char c : in)
        n += c & 1;
    return n;
}

std::size_t residentPages(const RunState& st) {
    return residentPages(&st, sizeof st);
}

// The parameters, variables and solver arrays: what may be touched before any record is.
constexpr std::size_t kSmallPages =
    (sizeof(RunParameters) + sizeof(RunVariables) + sizeof(SolverScratch) + 4095) / 4096 + 2;

}  // namespace

TEST(RunState, ANewRunStateHoldsZerosWithoutTouchingItsHistories) {
    const RunStateOwner st = newRunState();
    EXPECT_LE(residentPages(*st), kSmallPages);  // of about 9800
    // Every record reads 0, and reading does not bring the pages in for good: they are the
    // system's shared zero page until written.
    for (const HistoryColumn& h : kHistoryColumns)
        EXPECT_EQ((st.get()->*h.array)[kMaxHistoryIndex / 2], 0.0);
    EXPECT_EQ(st->Laeuft, 1);
    EXPECT_EQ(st->Zustand1, 1);
    EXPECT_EQ(st->Laufende, RunEnd::None);

    // The program's own state likewise.
    const RunState& program = programRunState();
    EXPECT_LE(residentPages(program), kSmallPages);

    const HistoryArrayOwner times = newHistoryArray();
    EXPECT_LE(residentPages(times.get(), sizeof *times), 2u);
}

TEST(RunState, AResetClearsWhatTheRunWroteAndTouchesNothingBeyond) {
    const RunStateOwner st = newRunState();
    constexpr int kWritten = 3000;  // about six pages of each history
    // A run writes the same records of every history, the air's water load beside the ten.
    for (const HistoryColumn& h : kHistoryColumns)
        for (int j = 0; j <= kWritten; ++j)
            (st.get()->*h.array)[j] = j + 0.5;
    for (int j = 0; j <= kWritten; ++j)
        st->VerlaufXLuft[j] = 0.01;
    st->HistIndex = kWritten;
    st->nIterKern = 77;
    st->Laeuft = 5;
    const std::size_t written = residentPages(*st);

    resetToFreshProgram(*st);
    EXPECT_EQ(residentPages(*st), written);
    for (const HistoryColumn& h : kHistoryColumns)
        for (int j = 0; j <= kWritten + 1; ++j)
            ASSERT_EQ((st.get()->*h.array)[j], 0.0) << h.name << " " << j;
    for (int j = 0; j <= kWritten + 1; ++j)
        ASSERT_EQ(st->VerlaufXLuft[j], 0.0) << j;
    EXPECT_EQ(st->HistIndex, 0);
    EXPECT_EQ(st->nIterKern, 0);
    EXPECT_EQ(st->Laeuft, 1);
    // The last history lies far beyond what was written: none of its later pages was touched.
    EXPECT_EQ(residentPages(&st->VerlaufXLuft[kWritten + 1024],
                            sizeof(double) * (kHistorySize - kWritten - 1024)),
              0u);
}

}  // namespace tesmo
