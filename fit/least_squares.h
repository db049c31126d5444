// The weighted least-squares problem of a fit, solved with Ceres Solver.
//
// Ceres sees one block of fitted coordinates u (the logarithm of a positive input, the input
// itself otherwise) and one residual per measured point, (simulated − measured) / sigma. Its
// derivatives come from central differences: for each coordinate the model runs once a step
// above and once a step below, all these runs of one evaluation side by side on every core.
//
// The step. The model's outputs are smooth in its inputs only between discrete events: the
// time step at which the first drying period ends (the kink of the drying curve, where the rate
// drops) moves by whole steps, the drying front moves from node to node, and the search for the
// front temperature stops at 2 % agreement. A measured point near the kink therefore sees a
// staircase with steps of about 1e-6 kg/kg for changes of an input of 0.1 %, and a point just
// before the kink changes its slope abruptly when the kink passes it. A difference quotient
// over a tiny step would measure the staircase, not the slope; one over a large step would blur
// the curvature. A step of 2 % (0.02 in the logarithm; 2 % of the value or of a tenth of the
// bounds' span on the linear scale) spans some ten of the kink's time steps, so the staircase
// averages out to a few per mille of the derivative, while the error of the quotient itself
// stays near (0.02)²/6 of the derivative. Where the kink lies between the two runs, the central
// quotient is the mean of the slopes on both sides, which keeps Levenberg–Marquardt from
// zigzagging across it. Where one of the two runs cannot be computed (the input check refuses
// it, or it ends unstable) the one-sided quotient with the base point is used.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fit/fit.h"
#include "fit/model_runs.h"

namespace tesmo {

// The difference step on the fitted coordinates (see above).
inline constexpr double kDifferenceStep = 0.02;

class LeastSquares {
  public:
    LeastSquares(const FitSetup& setup, const MeasuredPoints& points, ModelRuns& runs);
    ~LeastSquares();
    LeastSquares(const LeastSquares&) = delete;
    LeastSquares& operator=(const LeastSquares&) = delete;

    // The noise each quantity is weighted with (all finite and positive).
    void setSigma(const std::array<double, kMessgroessenCount>& sigma);

    struct Solution {
        std::vector<double> u;  // where the start ended (the start itself when it failed)
        double cost = 0;        // weighted sum of squares there
        int iterations = 0;
        FitEnd end = FitEnd::Failed;
        std::string message;  // why it failed
    };
    // Levenberg–Marquardt from u0 within the bounds, at most `iterations` iterations.
    // `onIteration` is told the iteration and the cost after each one; returning false aborts.
    Solution solve(std::vector<double> u0, int iterations,
                   const std::function<bool(int, double)>& onIteration);

    // The covariance of the fitted coordinates at u (row after row) from Ceres' covariance
    // estimation on the weighted Jacobian; a coordinate the points do not depend on gets an
    // infinite variance and no covariance with the others. False when the model cannot be
    // computed at u.
    bool covariance(const std::vector<double>& u, std::vector<double>& cov);

    // The model at u (computed when it is not the last point evaluated); null when it cannot be
    // computed there, then message() says why.
    const Trial* trialAt(const std::vector<double>& u);
    const std::string& message() const;

    // The step of coordinate j at u.
    double step(const std::vector<double>& u, std::size_t j) const;

    class Evaluator;  // what Ceres' cost function asks

  private:
    std::unique_ptr<Evaluator> evaluator_;
    std::vector<double> lower_, upper_;
};

}  // namespace tesmo
