#include "fit/model_runs.h"

#include <algorithm>
#include <numeric>

#include "fit/sampling.h"

namespace tesmo {

ModelRuns::ModelRuns(const FitSetup& setup, const MeasuredPoints& points, unsigned jobs,
                     std::atomic<bool>* cancel, std::atomic<std::size_t>* counter)
    : setup_(setup),
      points_(points),
      jobs_(jobs),
      cancel_(cancel ? cancel : &never_),
      counter_(counter) {}

void ModelRuns::run(const std::vector<std::vector<double>>& sets, std::vector<Trial>& out) {
    const std::size_t seriesCount = setup_.series.size();
    // The longest runs first (by the time steps each series took last), so that the workers
    // end together instead of one finishing a long run while the others wait.
    std::vector<std::size_t> order(sets.size() * seriesCount);
    std::iota(order.begin(), order.end(), std::size_t{0});
    steps_.resize(seriesCount, 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return steps_[a % seriesCount] > steps_[b % seriesCount];
    });
    std::vector<InputTexts> cases;
    cases.reserve(order.size());
    for (std::size_t i : order)
        cases.push_back(trialTexts(setup_, i % seriesCount, sets[i / seriesCount]));
    out.resize(sets.size());
    for (Trial& t : out) {
        t.simulated.assign(points_.size(), 0);
        t.afterEnd.assign(seriesCount, 0);
        t.ok = false;
        t.message.clear();
    }
    // Per case: whether it finished and, if not, why (each case's own slot, as the workers
    // inspect their cases at the same time).
    std::vector<char> finishedCase(cases.size(), 0);
    std::vector<std::string> messages(cases.size());
    std::vector<int> stepsOf(cases.size(), 0);

    StudyCallbacks callbacks;
    callbacks.sink = [](const CaseOutcome&) { return true; };
    callbacks.inspect = [&](std::size_t k, const CaseOutcome& o, const RunState& st,
                            const HistoryArray& times) {
        const std::size_t i = order[k], set = i / seriesCount, s = i % seriesCount;
        if (!finished(o)) {
            messages[i] = o.message.empty() ? std::string(caseEndName(o)) : o.message;
            return;
        }
        const std::size_t first = points_.first[s];
        out[set].afterEnd[s] = simulatedValues(setup_.series[s], points_.points.data() + first,
                                               points_.first[s + 1] - first, st, times,
                                               out[set].simulated.data() + first);
        finishedCase[i] = 1;
        stepsOf[i] = st.HistIndex;
    };
    const CaseList list(setup_.series.front().texts, std::move(cases));
    const std::size_t done =
        runStudy(list, {0, 1, list.size()}, jobs_, callbacks, *cancel_, workers_.get());
    runs_ += done;
    if (counter_) counter_->fetch_add(done);

    for (std::size_t set = 0; set < sets.size(); ++set) {
        Trial& t = out[set];
        t.ok = true;
        for (std::size_t s = 0; s < seriesCount && t.ok; ++s) {
            const std::size_t i = set * seriesCount + s;
            if (finishedCase[i]) {
                steps_[s] = stepsOf[i];
                continue;
            }
            t.ok = false;
            t.message = setup_.series[s].name + ": " +
                        (messages[i].empty() ? "die Rechnung wurde abgebrochen" : messages[i]);
        }
    }
}

}  // namespace tesmo
