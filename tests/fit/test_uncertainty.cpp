// Standard errors, intervals, correlations and the marks of parameters that are not determined,
// from a given covariance; the starting points; the runner's lines and the fit table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <sstream>

#include "fit/fit_report.h"
#include "fit/latin_hypercube.h"
#include "fit/uncertainty.h"
#include "tests/fit/synthetic.h"

namespace tesmo {

namespace {

using namespace test;

constexpr double kInf = std::numeric_limits<double>::infinity();

// Two series at one climate measuring the water load only.
FitSetup setupOf(std::vector<FitParameterEntry> parameters, bool twoClimates, bool surface) {
    FitSetup setup;
    setup.parameters = std::move(parameters);
    for (Klimakammer k : {kWarmFeucht, twoClimates ? kHeissTrocken : kWarmFeucht}) {
        MeasuredSeries s;
        s.name = "v.csv";
        s.texts = labCase(k);
        s.measurement.zeit = {0};
        s.measurement.werte[slot(Messgroesse::X)] = {0.25};
        if (surface) s.measurement.werte[slot(Messgroesse::thetaOb)] = {30};
        setup.series.push_back(s);
    }
    return setup;
}

}  // namespace

TEST(Uncertainty, StudentQuantilesAreTheTablesOnes) {
    EXPECT_NEAR(studentQuantile(0.975, 1), 12.7062, 1e-4);
    EXPECT_NEAR(studentQuantile(0.975, 10), 2.2281, 1e-4);
    EXPECT_NEAR(studentQuantile(0.975, 177), 1.9735, 1e-4);
    EXPECT_NEAR(studentQuantile(0.975, kInf), 1.959964, 1e-6);
    EXPECT_NEAR(studentQuantile(0.025, 10), -2.2281, 1e-4);
}

TEST(Uncertainty, IntervalsOnEachScaleAndTheMarksOfWhatIsNotDetermined) {
    const FitSetup setup = setupOf(
        {parameter(Control::txt_Feuchteleit, 40, 5, 200),
         parameter(Control::txt_KappaSteig, 6.7, -1, 15), parameter(Control::txt_mue, 20, 2, 200)},
        false, false);
    const std::vector<double> u{std::log(40.0), 6.7, std::log(20.0)};
    // ln Feuchteleit ± 0,02; KappaSteig ± 0,1, correlated 0,97 with ln mue ± 0,6.
    const std::vector<double> cov{4e-4, 0, 0, 0, 0.01, 0.97 * 0.1 * 0.6, 0, 0.97 * 0.1 * 0.6, 0.36};
    FitResult r;
    describeUncertainty(setup, u, cov, kInf, r);
    ASSERT_EQ(r.parameters.size(), 3u);
    const ParameterEstimate& f = r.parameters[0];
    EXPECT_DOUBLE_EQ(f.value, 40);
    EXPECT_DOUBLE_EQ(f.standardError, 0.8);  // the value times the error of its logarithm
    EXPECT_NEAR(f.low, 40 * std::exp(-1.959964 * 0.02), 1e-6);
    EXPECT_NEAR(f.high, 40 * std::exp(1.959964 * 0.02), 1e-6);
    EXPECT_TRUE(f.determined);
    EXPECT_TRUE(f.note.empty());
    const ParameterEstimate& k = r.parameters[1];
    EXPECT_EQ(k.scale, FitScale::Linear);
    EXPECT_NEAR(k.high - k.value, k.value - k.low, 1e-12);
    EXPECT_FALSE(k.determined);  // its relative error is small, its correlation too high
    EXPECT_NEAR(r.correlationOf(1, 2), 0.97, 1e-12);
    EXPECT_NE(k.note.find("„Kappa-Steigung unter Grenzfeuchte“ (txt_KappaSteig) ist durch diese "
                          "Messungen nicht bestimmt. Diese Eingabe lässt sich kaum von "
                          "„Diff.-Widerstandszahl der trockenen Masse“ (txt_mue) trennen "
                          "(Korrelation 0,97): ein größerer Wert des einen zusammen mit einem "
                          "größeren des anderen"),
              std::string::npos)
        << k.note;
    const ParameterEstimate& m = r.parameters[2];
    EXPECT_FALSE(m.determined);
    EXPECT_NE(m.note.find("(relative Standardabweichung 60 %)"), std::string::npos) << m.note;
    // One climate, no surface temperature: both would help.
    EXPECT_NE(m.note.find("bei anderer Lufttemperatur oder Luftfeuchte und eine Messung der "
                          "Oberflächentemperatur"),
              std::string::npos)
        << m.note;

    // With the noise estimated from few points the intervals widen with Student's t.
    FitResult fewPoints;
    describeUncertainty(setup, u, cov, 10, fewPoints);
    EXPECT_NEAR(fewPoints.parameters[1].high - 6.7, 2.2281 * 0.1, 1e-4);
}

TEST(Uncertainty, AParameterTheMeasurementsDoNotDependOnHasNoFiniteInterval) {
    const FitSetup setup = setupOf({parameter(Control::txt_Feuchteleit, 40, 5, 200),
                                    parameter(Control::txt_AussenluftTemp, 15, -10, 30)},
                                   true, true);
    const std::vector<double> cov{4e-4, 0, 0, kInf};
    FitResult r;
    describeUncertainty(setup, {std::log(40.0), 15}, cov, kInf, r);
    EXPECT_TRUE(r.parameters[0].determined);
    EXPECT_FALSE(r.parameters[1].determined);
    EXPECT_TRUE(std::isinf(r.parameters[1].standardError));
    EXPECT_EQ(r.parameters[1].high, kInf);
    EXPECT_TRUE(std::isnan(r.correlationOf(0, 1)));
    EXPECT_EQ(r.correlationOf(0, 0), 1);
    // Two climates and a surface temperature measured already: more points would help.
    EXPECT_NE(r.parameters[1].note.find("sie hängen nicht von dieser Eingabe ab. Helfen würden "
                                        "mehr Messpunkte"),
              std::string::npos)
        << r.parameters[1].note;
}

TEST(LatinHypercube, EveryStratumOfEveryCoordinateHoldsOnePointTheSameForTheSameSeed) {
    const std::vector<double> lower{0, -5, 1}, upper{1, 5, 2};
    const auto points = latinHypercube(8, lower, upper, 42);
    ASSERT_EQ(points.size(), 8u);
    for (std::size_t d = 0; d < 3; ++d) {
        std::set<int> strata;
        for (const auto& p : points) {
            const double share = (p[d] - lower[d]) / (upper[d] - lower[d]);
            ASSERT_GT(share, 0);
            ASSERT_LT(share, 1);
            strata.insert(static_cast<int>(share * 8));
        }
        EXPECT_EQ(strata.size(), 8u) << d;
    }
    EXPECT_EQ(latinHypercube(8, lower, upper, 42), points);
    EXPECT_NE(latinHypercube(8, lower, upper, 43), points);
    EXPECT_TRUE(latinHypercube(0, lower, upper, 1).empty());
}

TEST(FitReport, TheRunnersLinesAndTheTable) {
    const FitSetup setup = setupOf(
        {parameter(Control::txt_Feuchteleit, 40, 5, 200), parameter(Control::txt_mue, 20, 2, 200)},
        true, false);
    FitResult r;
    describeUncertainty(setup, {std::log(41.5), std::log(20.0)}, {4e-4, 0, 0, 0.36}, kInf, r);
    r.end = FitEnd::Converged;
    r.residuals = {{0, Messgroesse::X, 60, 0.0021}};
    r.sigma[slot(Messgroesse::X)] = 0.002;
    r.sigmaEstimated[slot(Messgroesse::X)] = true;
    r.comparison = {{1, 600, Messgroesse::X, 0.2, 0.201, 0.001}};
    r.starts.resize(2);
    r.modelRuns = 93;
    const std::string text = fitReportText(setup, r);
    // NAME, value, standard error, low, high, mark; every number to the last bit.
    std::vector<std::string> cells;
    std::istringstream first(text.substr(0, text.find('\n')));
    for (std::string cell; std::getline(first, cell, '\t');)
        cells.push_back(cell);
    ASSERT_EQ(cells.size(), 6u) << text;
    const ParameterEstimate& f = r.parameters[0];
    EXPECT_EQ(cells[0], "txt_Feuchteleit");
    EXPECT_EQ(std::stod(cells[1]), f.value);
    EXPECT_EQ(std::stod(cells[2]), f.standardError);
    EXPECT_EQ(std::stod(cells[3]), f.low);
    EXPECT_EQ(std::stod(cells[4]), f.high);
    EXPECT_EQ(cells[5], "determined");
    EXPECT_NE(text.find("\ntxt_mue\t"), std::string::npos) << text;
    EXPECT_NE(text.find("\tundetermined\nnote\ttxt_mue\t„Diff.-Widerstandszahl"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\ncorrelation\ttxt_Feuchteleit\ttxt_mue\t0\n"), std::string::npos);
    EXPECT_NE(text.find("\nrms\tv.csv\tX\t0.0020999999999999999\t60\n"), std::string::npos);
    EXPECT_NE(text.find("\nsigma\tX\t0.002\testimated\n"), std::string::npos);
    EXPECT_NE(text.find("\nruns\t93\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 14), "end\tconverged\n");
    EXPECT_EQ(fitTableText(setup, r),
              "series,time,quantity,measured,simulated,residual\n"
              "v.csv,600,X,0.20000000000000001,0.20100000000000001,0.001\n");
    EXPECT_EQ(fitProgressText({2, 4, 3, 205.684, 205.681, 84, 62}),
              "Start 2 von 4, Iteration 3, Kosten 205,68, 84 Modellläufe, Zeit 0:01:02");
}

}  // namespace tesmo
