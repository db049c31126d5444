#include "display/run_capture.h"

#include <algorithm>

namespace tesmo {

void ProfileStore::clear() {
    keptCount_ = 0;
    stride_ = 1;
    drawn_ = 0;
    hasPeriodEnd_ = hasLatest_ = false;
    orderCount_ = 0;
}

void ProfileStore::add(const RunState& st, bool secondPeriod) {
    StoredProfile* target = nullptr;
    const std::size_t number = drawn_++;
    const bool periodEnd = !secondPeriod && st.Zustand1 == st.Beendet;
    if (periodEnd) {  // the last one drawn red is where the period ended
        target = &periodEnd_;
        hasPeriodEnd_ = true;
    } else if (number % stride_ == 0) {
        if (keptCount_ == kCapacity) {
            // Full: keep every second one (those at even multiples of the stride) and take only
            // every second one from now on.
            std::size_t k = 0;
            for (std::size_t i = 0; i < keptCount_; i += 2)
                kept_[k++] = kept_[i];
            keptCount_ = k;
            stride_ *= 2;
        }
        if (number % stride_ == 0) target = &kept_[keptCount_++];
    }
    StoredProfile& p = target ? *target : latest_;
    p.time = st.Laufzeit;
    p.nodes = std::clamp(knoten(st), 0, kMaxNodes) + 1;
    p.periodEnd = periodEnd;
    p.secondPeriod = secondPeriod;
    std::copy(st.XKnoten.begin(), st.XKnoten.begin() + p.nodes, p.X.begin());
    hasLatest_ = target == nullptr;  // else the latest one is kept already
    rebuildOrder();
}

void ProfileStore::rebuildOrder() {
    // The kept ones are in the order drawn, and the latest was drawn after all of them; only the
    // end of the first period has to be put in its place. No sorting: nothing is allocated.
    orderCount_ = 0;
    bool endPlaced = !hasPeriodEnd_;
    for (std::size_t i = 0; i < keptCount_; ++i) {
        if (!endPlaced && periodEnd_.time < kept_[i].time) {
            order_[orderCount_++] = &periodEnd_;
            endPlaced = true;
        }
        order_[orderCount_++] = &kept_[i];
    }
    if (!endPlaced) order_[orderCount_++] = &periodEnd_;
    if (hasLatest_) order_[orderCount_++] = &latest_;
}

std::size_t ProfileStore::count() const {
    return orderCount_;
}

const StoredProfile& ProfileStore::at(std::size_t i) const {
    return *order_[i];
}

RunCapture::RunCapture() : times_(newHistoryArray()), profiles_(std::make_unique<ProfileStore>()) {}

void RunCapture::beginRun() {
    lastRecord_ = -1;
    profiles_->clear();
}

void RunCapture::notePoll(const RunState& st) {
    if (st.HistIndex == lastRecord_ || st.HistIndex < 0 || st.HistIndex > kMaxHistoryIndex) return;
    (*times_)[static_cast<std::size_t>(st.HistIndex)] = st.Laufzeit;
    lastRecord_ = st.HistIndex;
}

}  // namespace tesmo
