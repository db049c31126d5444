// Sobol' indices from a polynomial-chaos surrogate fitted with OpenTURNS.
//
// The surrogate is a sum of polynomials orthonormal under the inputs' (independent, standard)
// distribution, all of total degree up to p, fitted by least squares. The degree is the one
// whose surrogate best predicts each case from a fit without it (leave-one-out, from the hat
// matrix: the residual of case i divided by 1 - h_ii), as Q² = 1 - Σ e_i² / Σ (y_i - ȳ)².
// OpenTURNS gives the indices of the chosen surrogate. Their intervals come from the scatter of
// its coefficients (normal with the least-squares covariance σ²(ΨᵀΨ)⁻¹), widened by what the
// surrogate misses: if its error e = f - f̂ carries the share ε = 1 - Q² of the variance V, a
// group's conditional variance Var E[f | x_G] differs from the surrogate's by at most
// εV + 2·√(S·εV·V) (Cauchy–Schwarz on the covariance of the two conditional means), so an
// index S moves by at most ε + 2·√(ε·S).
#include <openturns/ComposedDistribution.hxx>
#include <openturns/DesignProxy.hxx>
#include <openturns/FixedStrategy.hxx>
#include <openturns/FunctionalChaosAlgorithm.hxx>
#include <openturns/FunctionalChaosSobolIndices.hxx>
#include <openturns/LeastSquaresStrategy.hxx>
#include <openturns/LinearEnumerateFunction.hxx>
#include <openturns/OrthogonalProductPolynomialFactory.hxx>
#include <openturns/StandardDistributionPolynomialFactory.hxx>

#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/number_text.h"
#include "uq/ot_support.h"
#include "uq/random_stream.h"
#include "uq/sensitivity.h"

namespace tesmo {

namespace {

// Degrees are tried up to this; beyond it the number of terms outgrows any sample here.
constexpr std::size_t kMaxDegree = 12;
// Least squares need clearly more cases than terms for the leave-one-out error to mean much.
constexpr std::size_t kCasesPerTerm = 2;
// The number of terms is bounded so that fitting stays well under a second.
constexpr std::size_t kMaxTerms = 600;
// A surrogate this good needs no higher degree.
constexpr double kEnoughQ2 = 0.9999;

struct Fit {
    std::size_t degree = 0;
    double q2 = -std::numeric_limits<double>::infinity();
    OT::FunctionalChaosResult result;
    std::vector<double> coefficients;  // least squares in the result's reduced basis
    std::vector<double> r;             // its upper triangular factor R, P × P row after row
    double sigma = 0;                  // residual standard deviation, RSS / (n - P)
};

Fit fitDegree(const OT::Sample& x, const OT::Sample& y, const OT::Distribution& distribution,
              const OT::OrthogonalProductPolynomialFactory& basis, std::size_t degree) {
    const OT::EnumerateFunction enumerate = basis.getEnumerateFunction();
    const std::size_t terms = enumerate.getStrataCumulatedCardinal(degree);
    OT::FunctionalChaosAlgorithm algorithm(x, y, distribution, OT::FixedStrategy(basis, terms),
                                           OT::LeastSquaresStrategy());
    algorithm.run();
    Fit fit;
    fit.degree = degree;
    fit.result = algorithm.getResult();

    // The design matrix Ψ of the fitted terms and its thin QR factorisation.
    const auto reduced = fit.result.getReducedBasis();
    const std::size_t n = x.getSize(), p = reduced.getSize();
    OT::Indices all(p);
    all.fill();
    OT::Matrix psi(OT::DesignProxy(fit.result.getTransformation()(x), reduced).computeDesign(all));
    OT::Matrix rFactor;
    const OT::Matrix q = psi.computeQR(rFactor, false, true);

    // Coefficients c = R⁻¹ Qᵀ y, residuals and hat diagonal h_ii = |row i of Q|².
    std::vector<double> qty(p, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < p; ++k)
            qty[k] += q(i, k) * y(i, 0);
    fit.r.assign(p * p, 0.0);
    for (std::size_t i = 0; i < p; ++i)
        for (std::size_t j = i; j < p; ++j)
            fit.r[i * p + j] = rFactor(i, j);
    fit.coefficients.assign(p, 0.0);
    for (std::size_t k = p; k-- > 0;) {
        double s = qty[k];
        for (std::size_t j = k + 1; j < p; ++j)
            s -= fit.r[k * p + j] * fit.coefficients[j];
        fit.coefficients[k] = s / fit.r[k * p + k];
    }
    double mean = 0;
    for (std::size_t i = 0; i < n; ++i)
        mean += y(i, 0) / static_cast<double>(n);
    double looSquares = 0, spread = 0, rss = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double fitted = 0, h = 0;
        for (std::size_t k = 0; k < p; ++k) {
            fitted += psi(i, k) * fit.coefficients[k];
            h += q(i, k) * q(i, k);
        }
        const double residual = y(i, 0) - fitted;
        rss += residual * residual;
        spread += (y(i, 0) - mean) * (y(i, 0) - mean);
        if (1 - h < 1e-10) return fit;  // a case the surrogate passes through whatever it is
        looSquares += (residual / (1 - h)) * (residual / (1 - h));
    }
    fit.q2 = spread > 0 ? 1 - looSquares / spread : -std::numeric_limits<double>::infinity();
    fit.sigma = n > p ? std::sqrt(rss / static_cast<double>(n - p)) : 0;
    return fit;
}

// For each term of the surrogate the groups whose inputs its polynomial involves (a bit each).
std::vector<std::uint32_t> termGroups(const Fit& fit, const OT::EnumerateFunction& enumerate,
                                      const UncertaintySample& sample) {
    std::vector<std::uint32_t> masks;
    const OT::Indices terms = fit.result.getIndices();
    for (std::size_t k = 0; k < terms.getSize(); ++k) {
        const OT::Indices alpha = enumerate(terms[k]);
        std::uint32_t mask = 0;
        for (std::size_t j = 0; j < alpha.getSize(); ++j)
            if (alpha[j] > 0) mask |= 1u << sample.group[j];
        masks.push_back(mask);
    }
    return masks;
}

// First-order and total index of each group from coefficients of orthonormal polynomials:
// the variance is the sum of the squares of all but the constant term's.
void indicesOf(const std::vector<double>& c, const std::vector<std::uint32_t>& masks,
               std::size_t groups, std::vector<double>& first, std::vector<double>& total) {
    double variance = 0;
    first.assign(groups, 0.0);
    total.assign(groups, 0.0);
    for (std::size_t k = 0; k < c.size(); ++k) {
        if (masks[k] == 0) continue;
        const double part = c[k] * c[k];
        variance += part;
        for (std::size_t g = 0; g < groups; ++g) {
            if (!(masks[k] & (1u << g))) continue;
            total[g] += part;
            if (masks[k] == (1u << g)) first[g] += part;
        }
    }
    for (std::size_t g = 0; g < groups; ++g) {
        first[g] = variance > 0 ? first[g] / variance : 0;
        total[g] = variance > 0 ? total[g] / variance : 0;
    }
}

// Intervals from coefficients drawn around the fitted ones with their least-squares covariance
// σ² R⁻¹ R⁻ᵀ (c* = c + σ R⁻¹ z), widened by the unexplained share 1 - Q².
void coefficientIntervals(const Fit& fit, const std::vector<std::uint32_t>& masks,
                          std::uint64_t seed, std::vector<SobolIndex>& indices) {
    const std::size_t p = fit.coefficients.size(), groups = indices.size();
    RandomStream random(seed);
    std::vector<std::vector<double>> firsts(groups), totals(groups);
    std::vector<double> z(p), c(p), first, total;
    for (std::size_t b = 0; b < kBootstrapResamples; ++b) {
        for (double& v : z)
            v = random.normal();
        for (std::size_t k = p; k-- > 0;) {
            double s = z[k];
            for (std::size_t j = k + 1; j < p; ++j)
                s -= fit.r[k * p + j] * z[j];
            z[k] = s / fit.r[k * p + k];
            c[k] = fit.coefficients[k] + fit.sigma * z[k];
        }
        indicesOf(c, masks, groups, first, total);
        for (std::size_t g = 0; g < groups; ++g) {
            firsts[g].push_back(first[g]);
            totals[g].push_back(total[g]);
        }
    }
    const double unexplained = std::max(0.0, 1 - fit.q2);
    const double tail = (1 - kConfidence) / 2;
    const auto interval = [&](Estimate& e, std::vector<double>& drawn) {
        std::sort(drawn.begin(), drawn.end());
        const double high = std::max(quantile(drawn, 1 - tail), e.value);
        const double missed = unexplained + 2 * std::sqrt(unexplained * std::clamp(high, 0.0, 1.0));
        e.low = std::clamp(std::min(quantile(drawn, tail), e.value) - missed, 0.0, 1.0);
        e.high = std::clamp(high + missed, 0.0, 1.0);
    };
    for (std::size_t g = 0; g < groups; ++g) {
        interval(indices[g].first, firsts[g]);
        interval(indices[g].total, totals[g]);
    }
}

}  // namespace

ResultIndices chaosIndices(const UncertaintyPlan& plan, const UncertaintySample& sample,
                           const std::vector<double>& outputs, std::size_t column) {
    ResultIndices r;
    r.column = column;
    r.method = IndexMethod::Chaos;
    const std::size_t d = sample.columns();
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < sample.rows; ++i)
        if (std::isfinite(outputs[i])) rows.push_back(i);
    r.used = rows.size();
    OT::Sample x(rows.size(), d), y(rows.size(), 1);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        for (std::size_t j = 0; j < d; ++j)
            x(k, j) = sample.standard[rows[k] * d + j];
        y(k, 0) = outputs[rows[k]];
    }
    const std::vector<InputGroup> groups = inputGroups(plan);

    try {
        OtSession session(plan.seed);
        OT::Collection<OT::Distribution> marginals;
        OT::Collection<OT::OrthogonalUniVariatePolynomialFamily> families;
        for (std::size_t j = 0; j < d; ++j) {
            marginals.add(standardDistribution(plan, j));
            families.add(OT::StandardDistributionPolynomialFactory(marginals[j]));
        }
        const OT::ComposedDistribution distribution(marginals);
        const OT::OrthogonalProductPolynomialFactory basis(families,
                                                           OT::LinearEnumerateFunction(d));
        const OT::EnumerateFunction enumerate = basis.getEnumerateFunction();

        Fit best;
        std::size_t worse = 0;
        for (std::size_t degree = 1; degree <= kMaxDegree; ++degree) {
            const std::size_t terms = enumerate.getStrataCumulatedCardinal(degree);
            if (terms * kCasesPerTerm > rows.size() || terms > kMaxTerms) break;
            Fit fit = fitDegree(x, y, distribution, basis, degree);
            if (fit.q2 > best.q2) {
                best = std::move(fit);
                worse = 0;
            } else if (++worse == 2) {
                break;
            }
            if (best.q2 >= kEnoughQ2) break;
        }
        if (best.degree == 0) {
            r.reason = "zu wenige gerechnete Fälle (" + std::to_string(rows.size()) +
                       ") für ein Ersatzmodell auch nur ersten Grades";
            return r;
        }
        r.degree = best.degree;
        r.terms = best.coefficients.size();
        r.q2 = best.q2;
        if (!(best.q2 >= kMinQ2)) {
            r.reason = "das Ersatzmodell (Polynomchaos bis Grad " + std::to_string(best.degree) +
                       ") sagt weggelassene Fälle nur mit Q² = " + decimalText(best.q2, 3) +
                       " voraus, nötig sind mindestens 0,9: keine Indizes. Mehr Proben oder "
                       "„indices = pickfreeze“ helfen";
            return r;
        }
        const OT::FunctionalChaosSobolIndices sobol(best.result);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            OT::Indices members;
            for (std::size_t j = 0; j < d; ++j)
                if (sample.group[j] == g) members.add(j);
            r.indices.push_back({g,
                                 {sobol.getSobolGroupedIndex(members), 0, 0},
                                 {sobol.getSobolGroupedTotalIndex(members), 0, 0}});
        }
        coefficientIntervals(best, termGroups(best, enumerate, sample), plan.seed, r.indices);
    } catch (const OT::Exception& e) {
        r.indices.clear();
        r.reason = "OpenTURNS konnte das Ersatzmodell nicht bilden: " + std::string(e.what());
        return r;
    }
    r.reported = true;
    return r;
}

}  // namespace tesmo
