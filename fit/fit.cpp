#include "fit/fit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>

#include "files/decimal_number.h"
#include "fit/latin_hypercube.h"
#include "fit/least_squares.h"
#include "fit/model_runs.h"
#include "fit/uncertainty.h"
#include "study/study_engine.h"

namespace tesmo {

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kInf = std::numeric_limits<double>::infinity();

// The noise estimate is repeated until it changes by less than this share, at most this often:
// with one quantity the weights do not move the optimum and one round suffices; with several,
// their ratio does, and two or three rounds settle it.
constexpr double kSigmaSettled = 0.05;
constexpr int kMaxSigmaRounds = 5;

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Progress from the starts' threads, one report at a time.
class Reporter {
  public:
    Reporter(const FitControl& control, std::size_t starts, const std::atomic<std::size_t>& runs)
        : control_(control), starts_(starts), runs_(runs), begin_(Clock::now()) {}

    bool report(std::size_t start, int iteration, double cost) {
        const std::lock_guard lock(mutex_);
        best_ = std::min(best_, cost);
        if (control_.progress)
            control_.progress(
                {start + 1, starts_, iteration, cost, best_, runs_.load(), seconds(begin_)});
        return !(control_.cancel && control_.cancel->load());
    }
    Clock::time_point begin() const { return begin_; }

  private:
    const FitControl& control_;
    std::size_t starts_;
    const std::atomic<std::size_t>& runs_;
    Clock::time_point begin_;
    std::mutex mutex_;
    double best_ = kInf;
};

// The starting points in the fitted coordinates: the given start, then a Latin hypercube.
std::vector<std::vector<double>> startingPoints(const FitSetup& setup) {
    std::vector<double> start, lower, upper;
    for (const FitParameterEntry& p : setup.parameters) {
        const FitScale s = scaleOf(p);
        start.push_back(toFitted(s, p.start));
        lower.push_back(toFitted(s, p.lower));
        upper.push_back(toFitted(s, p.upper));
    }
    std::vector<std::vector<double>> points{start};
    const auto spread = latinHypercube(static_cast<std::size_t>(std::max(0, setup.starts - 1)),
                                       lower, upper, setup.seed);
    points.insert(points.end(), spread.begin(), spread.end());
    return points;
}

std::vector<double> valuesOf(const FitSetup& setup, const std::vector<double>& u) {
    std::vector<double> x(u.size());
    for (std::size_t j = 0; j < u.size(); ++j)
        x[j] = fromFitted(scaleOf(setup.parameters[j]), u[j]);
    return x;
}

// One starting point's optimiser with the model runs it owns.
struct StartRun {
    std::unique_ptr<ModelRuns> runs;
    std::unique_ptr<LeastSquares> problem;
    LeastSquares::Solution solution;
};

// The noise of each quantity whose noise is estimated: the root mean square of its residuals
// with the degrees of freedom of the fit shared out by the quantities' numbers of points.
// A quantity with too few points keeps what it had.
std::array<double, kMessgroessenCount> estimatedSigma(
    const MeasuredPoints& points, const Trial& trial, std::size_t parameters,
    const std::array<bool, kMessgroessenCount>& estimate,
    std::array<double, kMessgroessenCount> sigma) {
    std::array<double, kMessgroessenCount> sum{};
    std::array<std::size_t, kMessgroessenCount> count{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::size_t g = slot(points.points[i].groesse);
        const double r = trial.simulated[i] - points.points[i].gemessen;
        sum[g] += r * r;
        ++count[g];
    }
    const double n = static_cast<double>(points.size());
    for (std::size_t g = 0; g < kMessgroessenCount; ++g) {
        const double dof = count[g] - static_cast<double>(parameters) * count[g] / n;
        if (estimate[g] && count[g] > 0 && dof > 0 && sum[g] > 0)
            sigma[g] = std::sqrt(sum[g] / dof);
    }
    return sigma;
}

double largestChange(const std::array<double, kMessgroessenCount>& a,
                     const std::array<double, kMessgroessenCount>& b) {
    double change = 0;
    for (std::size_t g = 0; g < a.size(); ++g)
        change = std::max(change, std::fabs(a[g] - b[g]) / a[g]);
    return change;
}

}  // namespace

const char* fitEndName(FitEnd end) {
    switch (end) {
        case FitEnd::Converged:
            return "converged";
        case FitEnd::MaxIterations:
            return "max-iterations";
        case FitEnd::Failed:
            return "failed";
        case FitEnd::Cancelled:
            return "cancelled";
    }
    return "failed";
}

FitOutcome FitResult::outcome() const {
    FitOutcome o;
    for (const ParameterEstimate& p : parameters) {
        o.fields.push_back(p.field);
        o.values.push_back(p.value);
        o.scales.push_back(p.scale);
    }
    o.covariance = covariance;
    return o;
}

FitResult runFit(const FitSetup& setup, const FitControl& control) {
    FitResult result;
    const MeasuredPoints points = measuredPoints(setup.series);
    result.points = points.size();
    const std::size_t m = setup.parameters.size();
    const unsigned jobs = control.jobs ? control.jobs : defaultJobs();

    // The weights to start from: the noise given, else the quantity's typical noise.
    std::array<double, kMessgroessenCount> sigma{};
    std::array<bool, kMessgroessenCount> estimate{};
    for (const MessgroesseSpec& q : kMessgroessen) {
        const std::size_t g = slot(q.groesse);
        estimate[g] = std::isnan(setup.sigma[g]);
        sigma[g] = estimate[g] ? q.typischesRauschen : setup.sigma[g];
    }

    // The starts, as many at a time as there are jobs, the jobs shared out among them.
    const std::vector<std::vector<double>> starts = startingPoints(setup);
    const std::size_t together = std::min<std::size_t>(starts.size(), jobs);
    const unsigned jobsEach = std::max(1u, static_cast<unsigned>(jobs / together));
    std::atomic<std::size_t> runCount{0};
    Reporter reporter(control, starts.size(), runCount);
    std::vector<StartRun> runs(starts.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t k; (k = next.fetch_add(1)) < starts.size();) {
            if (control.cancel && control.cancel->load()) return;
            StartRun& r = runs[k];
            r.runs =
                std::make_unique<ModelRuns>(setup, points, jobsEach, control.cancel, &runCount);
            r.problem = std::make_unique<LeastSquares>(setup, points, *r.runs);
            r.problem->setSigma(sigma);
            r.solution = r.problem->solve(starts[k], setup.iterations, [&, k](int i, double cost) {
                return reporter.report(k, i, cost);
            });
            // A start that has ended keeps what its optimiser knows in case it is the best, but
            // gives its run states back: only the starts that run hold them.
            r.runs->releaseRunStates();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < together; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();

    const auto finish = [&](FitEnd end) {
        result.end = end;
        result.modelRuns = runCount.load();
        result.seconds = seconds(reporter.begin());
        return result;
    };
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const LeastSquares::Solution& s = runs[k].solution;
        result.starts.push_back({valuesOf(setup, starts[k]), valuesOf(setup, s.u), s.cost,
                                 s.iterations, runs[k].problem ? s.end : FitEnd::Cancelled});
    }
    if (control.cancel && control.cancel->load()) return finish(FitEnd::Cancelled);

    // The best start: the lowest cost among those that gave a result.
    std::size_t best = starts.size();
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const StartSummary& s = result.starts[k];
        if (s.end == FitEnd::Failed || s.end == FitEnd::Cancelled) continue;
        if (best == starts.size() || s.cost < result.starts[best].cost) best = k;
    }
    if (best == starts.size()) {
        result.message = "Die Anpassung ist fehlgeschlagen: " + runs[0].solution.message;
        return finish(FitEnd::Failed);
    }
    result.bestStart = best;
    StartRun& chosen = runs[best];
    for (std::size_t k = 0; k < runs.size(); ++k)
        if (k != best) runs[k] = StartRun{};  // their run states are not needed any more
    chosen.runs->setJobs(jobs);
    std::vector<double> u = chosen.solution.u;
    FitEnd end = chosen.solution.end;
    int iterations = chosen.solution.iterations;

    // Where the noise is estimated: from the residuals, and the fit repeated with it. With one
    // measured quantity its weight scales every residual alike and cannot move the optimum.
    bool anyEstimated = false;
    std::array<bool, kMessgroessenCount> measured{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        anyEstimated = anyEstimated || estimate[slot(points.points[i].groesse)];
        measured[slot(points.points[i].groesse)] = true;
    }
    const bool weightsMatter = std::count(measured.begin(), measured.end(), true) > 1;
    for (int round = 0; anyEstimated && round < kMaxSigmaRounds; ++round) {
        const Trial* trial = chosen.problem->trialAt(u);
        if (!trial) break;
        const auto updated = estimatedSigma(points, *trial, m, estimate, sigma);
        const double change = largestChange(sigma, updated);
        sigma = updated;
        chosen.problem->setSigma(sigma);
        if (change < kSigmaSettled || !weightsMatter) break;
        const LeastSquares::Solution again = chosen.problem->solve(
            u, setup.iterations, [&](int i, double c) { return reporter.report(best, i, c); });
        if (again.end == FitEnd::Cancelled) return finish(FitEnd::Cancelled);
        if (again.end == FitEnd::Failed) break;
        u = again.u;
        end = again.end;
        iterations += again.iterations;
    }

    // The covariance first: its Jacobian at u comes with the model at u, which trialAt then
    // hands out without running it again.
    std::vector<double> cov;
    const bool covered = chosen.problem->covariance(u, cov);
    const Trial* trial = covered ? chosen.problem->trialAt(u) : nullptr;
    if (!trial) {
        result.message = "Die Anpassung ist fehlgeschlagen: " + chosen.problem->message();
        return finish(control.cancel && control.cancel->load() ? FitEnd::Cancelled
                                                               : FitEnd::Failed);
    }
    double cost = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double r = (trial->simulated[i] - points.points[i].gemessen) /
                         sigma[slot(points.points[i].groesse)];
        cost += r * r;
    }
    result.cost = cost;
    result.iterations = iterations;
    result.sigma = sigma;
    for (std::size_t g = 0; g < kMessgroessenCount; ++g)
        result.sigmaEstimated[g] = estimate[g];
    result.degreesOfFreedom =
        anyEstimated ? static_cast<double>(points.size()) - static_cast<double>(m) : kInf;
    if (!(result.degreesOfFreedom > 0)) result.degreesOfFreedom = 1;
    describeUncertainty(setup, u, cov, result.degreesOfFreedom, result);
    compareWithMeasurements(setup, points, trial->simulated, trial->afterEnd, result);
    return finish(end);
}

void compareWithMeasurements(const FitSetup& setup, const MeasuredPoints& points,
                             const std::vector<double>& simulated,
                             const std::vector<std::size_t>& afterEnd, FitResult& result) {
    result.comparison.clear();
    std::vector<ResidualSummary> sums;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const MeasuredPoint& p = points.points[i];
        const double r = simulated[i] - p.gemessen;
        result.comparison.push_back({p.series, p.zeit, p.groesse, p.gemessen, simulated[i], r});
        auto it = std::find_if(sums.begin(), sums.end(), [&](const ResidualSummary& s) {
            return s.series == p.series && s.groesse == p.groesse;
        });
        if (it == sums.end()) it = sums.insert(sums.end(), {p.series, p.groesse, 0, 0});
        ++it->count;
        it->rms += r * r;
    }
    for (ResidualSummary& s : sums)
        s.rms = std::sqrt(s.rms / static_cast<double>(s.count));
    std::sort(sums.begin(), sums.end(), [](const ResidualSummary& a, const ResidualSummary& b) {
        return a.series != b.series ? a.series < b.series : a.groesse < b.groesse;
    });
    result.residuals = std::move(sums);
    result.afterEnd = afterEnd;
    for (std::size_t s = 0; s < afterEnd.size(); ++s)
        if (afterEnd[s] > 0)
            result.message += setup.series[s].name + ": " + std::to_string(afterEnd[s]) +
                              " Messungen liegen nach dem Ende der Rechnung und werden mit ihrem "
                              "Endzustand verglichen; eine kleinere Endwasserbeladung "
                              "(txt_XZiel) rechnet weiter. ";
    while (!result.message.empty() && result.message.back() == ' ')
        result.message.pop_back();
}

InputTexts fittedCase(const FitSetup& setup, const FitResult& result) {
    InputTexts texts = setup.series.front().texts;
    for (const ParameterEstimate& p : result.parameters)
        texts[p.field] = exactDecimal(p.value);
    return texts;
}

}  // namespace tesmo
