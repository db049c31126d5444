// What a window keeps of a run beside the run state while the run goes, for the numeric
// diagrams: the time at which each history record was stored, and the water-load profiles
// the run draws.
//
// A record is not always taken at j·deltaT (the step in which the surface dries out stores
// none), and the profiles exist only at the moment they are drawn; both are noted here as the
// run passes them. The storage is fixed and allocated with the capture, before any run:
// nothing is allocated while a run steps.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "model/run_state.h"

namespace tesmo {

// A profile as drawn: nodes 0 (surface) to nOrt (mid-plane) at the time of drawing.
struct StoredProfile {
    double time = 0;         // Laufzeit in s
    int nodes = 0;           // nOrt + 1 values
    bool periodEnd = false;  // the curve that ends the first drying period (drawn red)
    bool secondPeriod = false;
    NodeArray X{};
};

// The profiles of one run within a fixed budget. While there is room every drawn profile is
// kept; when the store is full every second one is given up and from then on only every second
// drawn one is taken (then every fourth, …), so that the kept profiles stay spread evenly over
// the whole run however many it draws. The profile that ends the first period and the latest
// one are kept besides.
class ProfileStore {
  public:
    static constexpr std::size_t kCapacity = 40;

    void clear();
    // The profile st.XKnoten as the run draws it now.
    void add(const RunState& st, bool secondPeriod);

    // The kept profiles in the order of their times, each once (at most kCapacity + 2).
    std::size_t count() const;
    const StoredProfile& at(std::size_t i) const;
    // How many profiles the run has drawn.
    std::size_t drawn() const { return drawn_; }

  private:
    void rebuildOrder();

    std::array<StoredProfile, kCapacity> kept_{};
    std::size_t keptCount_ = 0;
    std::size_t stride_ = 1;  // of the drawn profiles every stride-th is kept
    std::size_t drawn_ = 0;
    StoredProfile periodEnd_{}, latest_{};
    bool hasPeriodEnd_ = false, hasLatest_ = false;
    std::array<const StoredProfile*, kCapacity + 2> order_{};
    std::size_t orderCount_ = 0;
};

class RunCapture {
  public:
    RunCapture();

    // A run starts: forget the one before.
    void beginRun();
    // At every poll: a record the run has stored since the last poll belongs to the Laufzeit
    // the run has reached (the model stores at most one record per step, before its next poll).
    void notePoll(const RunState& st);
    // The run draws a profile.
    void noteProfile(const RunState& st, bool secondPeriod) { profiles_->add(st, secondPeriod); }

    // The times of records 0..HistIndex of the last run, in s.
    const HistoryArray& recordTimes() const { return *times_; }
    const ProfileStore& profiles() const { return *profiles_; }

  private:
    HistoryArrayOwner times_;  // touched only as far as the runs write it
    std::unique_ptr<ProfileStore> profiles_;
    int lastRecord_ = -1;
};

}  // namespace tesmo
