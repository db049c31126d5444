// Drawing the sample with OpenTURNS: a design of points in the unit cube (Latin hypercube,
// Sobol' sequence or Monte Carlo), each coordinate then carried through its input's
// distribution.
#include <openturns/ComposedDistribution.hxx>
#include <openturns/DistFunc.hxx>
#include <openturns/DistributionFactory.hxx>
#include <openturns/LHSExperiment.hxx>
#include <openturns/LogNormalMuSigma.hxx>
#include <openturns/LowDiscrepancyExperiment.hxx>
#include <openturns/MonteCarloExperiment.hxx>
#include <openturns/Normal.hxx>
#include <openturns/RandomGenerator.hxx>
#include <openturns/SobolSequence.hxx>
#include <openturns/Triangular.hxx>
#include <openturns/Uniform.hxx>

#include <algorithm>
#include <cmath>
#include <limits>

#include "uq/ot_support.h"
#include "uq/sample.h"

namespace tesmo {

namespace {

std::recursive_mutex& generatorMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

// A unit-cube coordinate kept off 0 and 1, where a quantile function is infinite. A design
// reaches them only with probability 2^-53 per point, but then must not break the case.
double inside(double u) {
    constexpr double kEdge = 0x1p-53;
    return std::clamp(u, kEdge, 1.0 - kEdge);
}

OT::Sample unitDesign(SampleDesign design, std::size_t dimension, std::size_t size) {
    const OT::ComposedDistribution cube(
        OT::Collection<OT::Distribution>(dimension, OT::Uniform(0.0, 1.0)));
    switch (design) {
        case SampleDesign::Lhs:
            return OT::LHSExperiment(cube, size).generate();
        case SampleDesign::Sobol: {
            // A random shift of the sequence (by the seed) keeps its low discrepancy, makes the
            // seed count and moves the first point off the corner of the cube.
            OT::LowDiscrepancyExperiment experiment(OT::SobolSequence(dimension), cube, size);
            experiment.setRandomize(true);
            return experiment.generate();
        }
        case SampleDesign::MonteCarlo:
            return OT::MonteCarloExperiment(cube, size).generate();
    }
    return {};
}

std::string factoryName(const std::string& library) {
    return library + "Factory";
}

OT::Distribution libraryDistribution(const Marginal& m) {
    for (const OT::DistributionFactory& f : OT::DistributionFactory::GetUniVariateFactories())
        if (f.getImplementation()->getClassName() == factoryName(m.library))
            return f.build(OT::Point(m.parameters.begin(), m.parameters.end()));
    throw OT::InvalidArgumentException(HERE) << "unknown distribution";
}

// How one independent column turns into its standard variable.
enum class Standard : std::uint8_t { Itself, Logarithm, Gauss };

Standard standardOf(const Marginal& m) {
    if (!m.library.empty()) return Standard::Gauss;
    return m.spec.kind == DistributionKind::LogNormal ? Standard::Logarithm : Standard::Itself;
}

// One correlated block ready to carry standard normal variables to the inputs.
struct BlockMap {
    const CorrelatedNormal* block;
    std::vector<double> lower;  // Cholesky factor of the covariance
};

void fillBlock(const BlockMap& map, const double* unit, double* value, double* level,
               double* standard) {
    const CorrelatedNormal& b = *map.block;
    const std::size_t n = b.fields.size();
    for (std::size_t k = 0; k < n; ++k)
        standard[k] = OT::DistFunc::qNormal(inside(unit[k]));
    for (std::size_t i = 0; i < n; ++i) {
        double y = b.mean[i];
        for (std::size_t k = 0; k <= i; ++k)
            y += map.lower[i * n + k] * standard[k];
        level[i] = OT::DistFunc::pNormal((y - b.mean[i]) / std::sqrt(b.covariance[i * n + i]));
        value[i] = !b.scale.empty() && b.scale[i] == Scale::Log ? std::exp(y) : y;
    }
}

}  // namespace

OtSession::OtSession(std::uint64_t seed)
    : lock_(generatorMutex()), saved_(OT::RandomGenerator::GetState()) {
    OT::RandomGenerator::SetSeed(seed);
}

OtSession::~OtSession() {
    OT::RandomGenerator::SetState(saved_);
}

OT::Distribution marginalDistribution(const Marginal& m) {
    if (!m.library.empty()) return libraryDistribution(m);
    const auto& p = m.spec.p;
    switch (m.spec.kind) {
        case DistributionKind::LogNormal:
            return OT::LogNormalMuSigma(p[0], p[1]).getDistribution();
        case DistributionKind::Uniform:
            return OT::Uniform(p[0], p[1]);
        case DistributionKind::Normal:
            return OT::Normal(p[0], p[1]);
        case DistributionKind::Triangular:
            return OT::Triangular(p[0], p[1], p[2]);
    }
    return {};
}

OT::Distribution standardDistribution(const UncertaintyPlan& plan, std::size_t column) {
    if (column >= plan.marginals.size()) return OT::Normal(0.0, 1.0);
    const Marginal& m = plan.marginals[column];
    switch (standardOf(m)) {
        case Standard::Itself:
            return marginalDistribution(m);
        case Standard::Logarithm: {
            // ln x is normal with these parameters when x has mean p0 and deviation p1.
            const double s2 = std::log1p((m.spec.p[1] / m.spec.p[0]) * (m.spec.p[1] / m.spec.p[0]));
            return OT::Normal(std::log(m.spec.p[0]) - 0.5 * s2, std::sqrt(s2));
        }
        case Standard::Gauss:
            break;
    }
    return OT::Normal(0.0, 1.0);
}

std::string libraryDistributionProblem(const Marginal& m) {
    try {
        const OT::Distribution d = libraryDistribution(m);
        if (d.getDimension() != 1 || !d.isContinuous())
            return "die Verteilung „" + m.library + "“ ist nicht eindimensional und stetig";
        return {};
    } catch (const OT::Exception&) {
        return "OpenTURNS kann die Verteilung „" + m.library +
               "“ mit diesen Parametern nicht bilden (nur stetige eindimensionale Verteilungen "
               "mit einer eigenen Schätzung, z. B. Beta, Gamma, Weibull)";
    }
}

UncertaintySample drawSample(const UncertaintyPlan& plan) {
    UncertaintySample s;
    s.fields = sampledFields(plan);
    const std::vector<InputGroup> groups = inputGroups(plan);
    for (std::size_t g = 0; g < groups.size(); ++g)
        s.group.insert(s.group.end(), groups[g].fields.size(), g);
    const std::size_t d = s.fields.size();
    const std::size_t independentColumns = plan.marginals.size();

    OtSession session(plan.seed);
    std::vector<OT::Distribution> marginals;
    for (const Marginal& m : plan.marginals)
        marginals.push_back(marginalDistribution(m));
    std::vector<BlockMap> blocks;
    for (const CorrelatedNormal& b : plan.correlated) {
        blocks.push_back({&b, {}});
        choleskyLower(b.covariance, b.fields.size(), blocks.back().lower);
    }

    // The unit-cube points, row after row: a plain design, or the two halves A and B of a
    // design in twice the dimension and the rows of A with one group's columns from B.
    std::vector<double> unit;
    if (chosenIndexMethod(plan) == IndexMethod::PickFreeze) {
        const std::size_t n = pickFreezeBase(plan);
        const OT::Sample ab = unitDesign(plan.design, 2 * d, n);
        s.pickFreezeBase = n;
        s.rows = n * (groups.size() + 2);
        unit.resize(s.rows * d);
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < d; ++j) {
                unit[i * d + j] = ab(i, j);
                unit[(n + i) * d + j] = ab(i, d + j);
                for (std::size_t g = 0; g < groups.size(); ++g)
                    unit[((2 + g) * n + i) * d + j] = ab(i, s.group[j] == g ? d + j : j);
            }
    } else {
        const OT::Sample plain = unitDesign(plan.design, d, plan.samples);
        s.rows = plan.samples;
        unit.resize(s.rows * d);
        for (std::size_t i = 0; i < s.rows; ++i)
            for (std::size_t j = 0; j < d; ++j)
                unit[i * d + j] = plain(i, j);
    }

    s.values.resize(s.rows * d);
    s.levels.resize(s.rows * d);
    s.standard.resize(s.rows * d);
    for (std::size_t i = 0; i < s.rows; ++i) {
        const std::size_t row = i * d;
        for (std::size_t j = 0; j < independentColumns; ++j) {
            const double u = inside(unit[row + j]);
            const double x = marginals[j].computeQuantile(u)[0];
            s.values[row + j] = x;
            s.levels[row + j] = u;
            switch (standardOf(plan.marginals[j])) {
                case Standard::Itself:
                    s.standard[row + j] = x;
                    break;
                case Standard::Logarithm:
                    s.standard[row + j] = std::log(x);
                    break;
                case Standard::Gauss:
                    s.standard[row + j] = OT::DistFunc::qNormal(u);
                    break;
            }
        }
        std::size_t column = independentColumns;
        for (const BlockMap& b : blocks) {
            fillBlock(b, &unit[row + column], &s.values[row + column], &s.levels[row + column],
                      &s.standard[row + column]);
            column += b.block->fields.size();
        }
    }
    return s;
}

}  // namespace tesmo
