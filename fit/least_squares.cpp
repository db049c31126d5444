#include "fit/least_squares.h"

#include <ceres/ceres.h>
#include <glog/logging.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

namespace tesmo {

namespace {

// A direction of the fitted coordinates counts as not determined when its singular value of
// the weighted Jacobian lies below this share of the largest: Ceres' covariance drops
// eigenvalues of JᵀJ below 1e-14 of the largest, its square.
constexpr double kNullSpaceShare = 1e-7;
// A coordinate whose share in such a direction exceeds this is not determined at all.
constexpr double kNullComponent = 0.1;

// Ceres reports through glog on the standard error, e.g. when a start cannot be computed. The
// fit says itself how it ended, in German; only a fatal error of the library may still speak.
void quietCeres() {
    static std::once_flag once;
    std::call_once(once, [] { FLAGS_minloglevel = google::GLOG_FATAL; });
}

}  // namespace

// Runs the model for Ceres and keeps the last base point and the last Jacobian, since Ceres
// asks for the residuals at a trial point and, when it accepts it, for residuals and Jacobian
// at the same point again; the covariance asks once more.
class LeastSquares::Evaluator {
  public:
    Evaluator(const FitSetup& setup, const MeasuredPoints& points, ModelRuns& runs)
        : setup_(setup), points_(points), runs_(runs), weights_(points.size(), 1) {
        for (const FitParameterEntry& p : setup.parameters) {
            const FitScale s = scaleOf(p);
            scales_.push_back(s);
            span_.push_back(toFitted(s, p.upper) - toFitted(s, p.lower));
        }
    }

    std::size_t parameterCount() const { return scales_.size(); }
    std::size_t residualCount() const { return points_.size(); }

    void setSigma(const std::array<double, kMessgroessenCount>& sigma) {
        for (std::size_t i = 0; i < points_.size(); ++i)
            weights_[i] = 1 / sigma[slot(points_.points[i].groesse)];
    }

    double step(const double* u, std::size_t j) const {
        if (scales_[j] == FitScale::Log) return kDifferenceStep;
        return kDifferenceStep * std::max(std::fabs(u[j]), 0.1 * span_[j]);
    }

    std::vector<double> values(const double* u) const {
        std::vector<double> x(parameterCount());
        for (std::size_t j = 0; j < x.size(); ++j)
            x[j] = fromFitted(scales_[j], u[j]);
        return x;
    }

    // Residuals (and, when `jacobian` is given, the Jacobian row after row) at u.
    bool evaluate(const double* u, double* residuals, double* jacobian) {
        const std::vector<double> at(u, u + parameterCount());
        const std::size_t n = residualCount(), m = parameterCount();
        const bool haveBase = baseValid_ && at == baseU_;
        const bool haveJacobian = jacobianValid_ && at == jacobianU_;
        if (!haveBase || (jacobian && !haveJacobian)) {
            std::vector<std::vector<double>> sets;
            if (!haveBase) sets.push_back(values(u));
            if (jacobian && !haveJacobian)
                for (std::size_t j = 0; j < m; ++j)
                    for (double sign : {+1.0, -1.0}) {
                        std::vector<double> v(at);
                        v[j] += sign * step(u, j);
                        sets.push_back(values(v.data()));
                    }
            std::vector<Trial> trials;
            runs_.run(sets, trials);
            std::size_t next = 0;
            if (!haveBase) {
                baseU_ = at;
                base_ = std::move(trials[next++]);
                baseValid_ = true;
            }
            if (!base_.ok) {
                message_ = base_.message;
                return false;
            }
            if (jacobian && !haveJacobian && !differences(u, trials, next)) return false;
        }
        if (!base_.ok) {
            message_ = base_.message;
            return false;
        }
        for (std::size_t i = 0; i < n; ++i)
            residuals[i] = weights_[i] * (base_.simulated[i] - points_.points[i].gemessen);
        if (jacobian)
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = 0; j < m; ++j)
                    jacobian[i * m + j] = weights_[i] * slopes_[i * m + j];
        return true;
    }

    const Trial* trialAt(const std::vector<double>& u) {
        std::vector<double> r(residualCount());
        if (!evaluate(u.data(), r.data(), nullptr)) return nullptr;
        return &base_;
    }

    const std::string& message() const { return message_; }

  private:
    // The unweighted slopes d(simulated)/du from the runs a step above and below the base.
    bool differences(const double* u, const std::vector<Trial>& trials, std::size_t next) {
        const std::size_t n = residualCount(), m = parameterCount();
        slopes_.assign(n * m, 0);
        for (std::size_t j = 0; j < m; ++j) {
            const Trial& up = trials[next + 2 * j];
            const Trial& down = trials[next + 2 * j + 1];
            const double h = step(u, j);
            if (!up.ok && !down.ok) {
                message_ = up.message;
                return false;
            }
            const std::vector<double>& a = up.ok ? up.simulated : base_.simulated;
            const std::vector<double>& b = down.ok ? down.simulated : base_.simulated;
            const double width = (up.ok ? h : 0) + (down.ok ? h : 0);
            for (std::size_t i = 0; i < n; ++i)
                slopes_[i * m + j] = (a[i] - b[i]) / width;
        }
        jacobianU_.assign(u, u + m);
        jacobianValid_ = true;
        return true;
    }

    const FitSetup& setup_;
    const MeasuredPoints& points_;
    ModelRuns& runs_;
    std::vector<FitScale> scales_;
    std::vector<double> span_;
    std::vector<double> weights_;
    std::vector<double> baseU_, jacobianU_;
    Trial base_;
    bool baseValid_ = false, jacobianValid_ = false;
    std::vector<double> slopes_;  // n × m, row after row
    std::string message_;
};

namespace {

class FitCost : public ceres::CostFunction {
  public:
    explicit FitCost(LeastSquares::Evaluator& e) : e_(e) {
        set_num_residuals(static_cast<int>(e.residualCount()));
        mutable_parameter_block_sizes()->push_back(static_cast<int>(e.parameterCount()));
    }
    bool Evaluate(double const* const* parameters, double* residuals,
                  double** jacobians) const override {
        return e_.evaluate(parameters[0], residuals, jacobians ? jacobians[0] : nullptr);
    }

  private:
    LeastSquares::Evaluator& e_;
};

class Progress : public ceres::IterationCallback {
  public:
    explicit Progress(const std::function<bool(int, double)>& onIteration)
        : onIteration_(onIteration) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        if (!onIteration_ || onIteration_(s.iteration, 2 * s.cost)) return ceres::SOLVER_CONTINUE;
        return ceres::SOLVER_ABORT;
    }

  private:
    const std::function<bool(int, double)>& onIteration_;
};

// One problem over the block `u`, the cost function owned by the caller.
struct Problem {
    FitCost cost;  // outlives the problem that refers to it
    ceres::Problem problem;
    Problem(LeastSquares::Evaluator& e, double* u, const std::vector<double>& lower,
            const std::vector<double>& upper)
        : cost(e), problem(options()) {
        problem.AddResidualBlock(&cost, nullptr, u);
        for (std::size_t j = 0; j < lower.size(); ++j) {
            problem.SetParameterLowerBound(u, static_cast<int>(j), lower[j]);
            problem.SetParameterUpperBound(u, static_cast<int>(j), upper[j]);
        }
    }
    static ceres::Problem::Options options() {
        ceres::Problem::Options o;
        o.cost_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
        return o;
    }
};

FitEnd endOf(const ceres::Solver::Summary& s) {
    switch (s.termination_type) {
        case ceres::CONVERGENCE:
            return FitEnd::Converged;
        case ceres::NO_CONVERGENCE:
            return FitEnd::MaxIterations;
        case ceres::USER_FAILURE:
            return FitEnd::Cancelled;
        default:
            return FitEnd::Failed;
    }
}

}  // namespace

LeastSquares::LeastSquares(const FitSetup& setup, const MeasuredPoints& points, ModelRuns& runs)
    : evaluator_(std::make_unique<Evaluator>(setup, points, runs)) {
    quietCeres();
    for (const FitParameterEntry& p : setup.parameters) {
        lower_.push_back(toFitted(scaleOf(p), p.lower));
        upper_.push_back(toFitted(scaleOf(p), p.upper));
    }
}

LeastSquares::~LeastSquares() = default;

void LeastSquares::setSigma(const std::array<double, kMessgroessenCount>& sigma) {
    evaluator_->setSigma(sigma);
}

double LeastSquares::step(const std::vector<double>& u, std::size_t j) const {
    return evaluator_->step(u.data(), j);
}

const Trial* LeastSquares::trialAt(const std::vector<double>& u) {
    return evaluator_->trialAt(u);
}

const std::string& LeastSquares::message() const {
    return evaluator_->message();
}

LeastSquares::Solution LeastSquares::solve(std::vector<double> u0, int iterations,
                                           const std::function<bool(int, double)>& onIteration) {
    Solution out;
    out.u = u0;
    Problem p(*evaluator_, out.u.data(), lower_, upper_);
    ceres::Solver::Options options;
    options.minimizer_type = ceres::TRUST_REGION;
    options.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
    options.linear_solver_type = ceres::DENSE_QR;
    options.max_num_iterations = iterations;
    options.num_threads = 1;  // the model runs of one evaluation are parallel already
    options.logging_type = ceres::SILENT;
    options.minimizer_progress_to_stdout = false;
    // Converged once a step changes the weighted sum of squares by less than a millionth (some
    // 1e-4 for a few hundred points, where a change of 1 is what moves a parameter by one
    // standard error) or the coordinates by less than 1e-4 of their size: the model's staircase
    // (see the step above) makes finer steps meaningless anyway.
    options.function_tolerance = 1e-6;
    options.parameter_tolerance = 1e-4;
    options.gradient_tolerance = 1e-10;
    // A trial step whose runs cannot be computed is rejected and the trust region shrinks.
    options.max_num_consecutive_invalid_steps = 10;
    // With bounds, each step is followed by a line search along it; interpolating without
    // derivatives spares it the Jacobian (all the perturbed runs) at every trial point.
    options.line_search_interpolation_type = ceres::QUADRATIC;
    Progress progress(onIteration);
    options.callbacks.push_back(&progress);
    ceres::Solver::Summary summary;
    ceres::Solve(options, &p.problem, &summary);
    out.end = endOf(summary);
    out.iterations = static_cast<int>(summary.iterations.size()) - 1;
    out.cost = 2 * summary.final_cost;
    if (out.end == FitEnd::Failed) {
        out.message = evaluator_->message().empty() ? summary.message : evaluator_->message();
        out.u = u0;
    }
    return out;
}

bool LeastSquares::covariance(const std::vector<double>& u, std::vector<double>& cov) {
    const std::size_t n = evaluator_->residualCount(), m = evaluator_->parameterCount();
    std::vector<double> r(n), jac(n * m);
    if (!evaluator_->evaluate(u.data(), r.data(), jac.data())) return false;

    // Which coordinates the points do not depend on: the right singular vectors of the weighted
    // Jacobian whose singular values vanish against the largest.
    const Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>
        J(jac.data(), static_cast<Eigen::Index>(n), static_cast<Eigen::Index>(m));
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(J, Eigen::ComputeFullV);
    const Eigen::VectorXd& s = svd.singularValues();
    std::vector<bool> undetermined(m, false);
    bool deficient = false;
    for (Eigen::Index k = 0; k < s.size(); ++k) {
        if (s(k) > kNullSpaceShare * s(0) && s(0) > 0) continue;
        deficient = true;
        for (std::size_t j = 0; j < m; ++j)
            if (std::fabs(svd.matrixV()(static_cast<Eigen::Index>(j), k)) > kNullComponent)
                undetermined[j] = true;
    }

    cov.assign(m * m, 0);
    const bool anyDetermined =
        std::find(undetermined.begin(), undetermined.end(), false) != undetermined.end();
    if (anyDetermined) {
        std::vector<double> at(u);
        Problem p(*evaluator_, at.data(), lower_, upper_);
        ceres::Covariance::Options options;
        options.algorithm_type = ceres::DENSE_SVD;
        // Where the Jacobian has lost rank, the pseudo-inverse for the directions it keeps.
        options.null_space_rank = deficient ? -1 : 0;
        options.apply_loss_function = false;
        ceres::Covariance covariance(options);
        const std::vector<std::pair<const double*, const double*>> blocks{{at.data(), at.data()}};
        if (!covariance.Compute(blocks, &p.problem) ||
            !covariance.GetCovarianceBlock(at.data(), at.data(), cov.data()))
            return false;
    }
    for (std::size_t j = 0; j < m; ++j) {
        if (!undetermined[j]) continue;
        for (std::size_t k = 0; k < m; ++k)
            cov[j * m + k] = cov[k * m + j] = 0;
        cov[j * m + j] = std::numeric_limits<double>::infinity();
    }
    // Symmetric to the last bit, as a fit file keeps it.
    for (std::size_t j = 0; j < m; ++j)
        for (std::size_t k = j + 1; k < m; ++k)
            cov[j * m + k] = cov[k * m + j] = (cov[j * m + k] + cov[k * m + j]) / 2;
    return true;
}

}  // namespace tesmo
