#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "files/case_table.h"
#include "model/text_to_number.h"
#include "tests/uq/analytic.h"
#include "uq/sample.h"

namespace tesmo {

namespace {

using test::marginal;
using K = DistributionKind;

UncertaintyPlan fourInputs(SampleDesign design, std::size_t samples, std::uint64_t seed = 12) {
    UncertaintyPlan plan =
        test::analyticPlan({marginal(Control::txt_Feuchteleit, K::LogNormal, {40, 8}),
                            marginal(Control::txt_mue, K::Uniform, {15, 25}),
                            marginal(Control::txt_AbluftFeuchte, K::Normal, {70, 3}),
                            marginal(Control::txt_KappaSteig, K::Triangular, {5, 6.7, 8})},
                           samples, seed);
    plan.design = design;
    plan.indices = IndexMethod::Chaos;
    return plan;
}

std::vector<double> column(const UncertaintySample& s, std::size_t j) {
    std::vector<double> c;
    for (std::size_t i = 0; i < s.rows; ++i)
        c.push_back(s.value(i, j));
    return c;
}

double mean(const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

double sd(const std::vector<double>& v) {
    const double m = mean(v);
    double s = 0;
    for (double x : v)
        s += (x - m) * (x - m);
    return std::sqrt(s / static_cast<double>(v.size() - 1));
}

}  // namespace

// Each design carries its points through the inputs' distributions: a Latin hypercube uses
// every one of its N strata of each input exactly once, and the moments match the
// distributions'. With 2000 points the Monte Carlo standard error of a mean is 2,2 % of a
// standard deviation and of a standard deviation 1,6 %: a tolerance of 10 % is over four of
// them. A Latin hypercube and a Sobol' sequence stratify each input, their errors stay far
// below 1 %.
TEST(UqSampling, DesignsFollowTheDistributions) {
    for (SampleDesign design : {SampleDesign::Lhs, SampleDesign::Sobol, SampleDesign::MonteCarlo}) {
        const std::size_t n = 2000;
        const UncertaintySample s = drawSample(fourInputs(design, n));
        ASSERT_EQ(s.rows, n);
        ASSERT_EQ(s.columns(), 4u);
        const double sdTriangular =
            std::sqrt((25 + 6.7 * 6.7 + 64 - 5 * 6.7 - 5 * 8 - 6.7 * 8) / 18);
        const double expectedMean[] = {40, 20, 70, (5 + 6.7 + 8) / 3};
        const double expectedSd[] = {8, 10 / std::sqrt(12.0), 3, sdTriangular};
        const double tolerance = design == SampleDesign::MonteCarlo ? 0.1 : 0.01;
        for (std::size_t j = 0; j < 4; ++j) {
            const std::vector<double> c = column(s, j);
            EXPECT_NEAR(mean(c), expectedMean[j], tolerance * expectedSd[j]) << j;
            EXPECT_NEAR(sd(c), expectedSd[j], tolerance * expectedSd[j]) << j;
        }
        EXPECT_GE(*std::min_element(s.values.begin() + 1, s.values.end()), 0.0);
        if (design != SampleDesign::Lhs) continue;
        for (std::size_t j = 0; j < 4; ++j) {
            std::vector<bool> used(n, false);
            for (std::size_t i = 0; i < n; ++i)
                used[static_cast<std::size_t>(s.levels[i * 4 + j] * n)] = true;
            EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](bool u) { return u; })) << j;
        }
    }
}

TEST(UqSampling, TheSeedAloneDecides) {
    const UncertaintySample a = drawSample(fourInputs(SampleDesign::Lhs, 50, 7));
    const UncertaintySample b = drawSample(fourInputs(SampleDesign::Lhs, 50, 7));
    const UncertaintySample c = drawSample(fourInputs(SampleDesign::Lhs, 50, 8));
    EXPECT_EQ(a.values, b.values);
    EXPECT_NE(a.values, c.values);
    const UncertaintySample s1 = drawSample(fourInputs(SampleDesign::Sobol, 50, 7));
    const UncertaintySample s2 = drawSample(fourInputs(SampleDesign::Sobol, 50, 8));
    EXPECT_NE(s1.values, s2.values);
}

// A pick-freeze design: rows A, B, then A with one group's columns from B; a correlated block
// is one group and moves as a whole.
TEST(UqSampling, PickFreezeRowsMixOneGroupAtATime) {
    UncertaintyPlan plan = fourInputs(SampleDesign::Lhs, 1000);
    plan.marginals.resize(2);
    plan.correlated.push_back(
        {{Control::txt_Dicke, Control::txt_rhos}, {20, 1850}, {4, 30, 30, 2500}, {}, "test"});
    plan.indices = IndexMethod::PickFreeze;
    const UncertaintySample s = drawSample(plan);
    const std::size_t n = 1000 / 5;
    ASSERT_EQ(s.pickFreezeBase, n);
    ASSERT_EQ(s.rows, 5 * n);
    EXPECT_EQ(s.group, (std::vector<std::size_t>{0, 1, 2, 2}));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t g = 0; g < 3; ++g)
            for (std::size_t j = 0; j < 4; ++j) {
                const double expected = s.group[j] == g ? s.value(n + i, j) : s.value(i, j);
                ASSERT_EQ(s.value((2 + g) * n + i, j), expected) << i << " " << g << " " << j;
            }
    EXPECT_EQ(independentRows(s), 2 * n);
}

// A correlated normal block keeps its means, variances and correlation; on a log scale the
// input is exp of the normal variable.
TEST(UqSampling, CorrelatedBlockKeepsItsCovariance) {
    UncertaintyPlan plan;
    plan.samples = 4000;
    plan.results = {test::kLaufzeit};
    const double rho = 0.8;
    plan.correlated.push_back({{Control::txt_Feuchteleit, Control::txt_KappaSteig},
                               {std::log(40.0), 6.7},
                               {0.04, rho * 0.2 * 0.5, rho * 0.2 * 0.5, 0.25},
                               {Scale::Log, Scale::Linear},
                               "fit"});
    ASSERT_EQ(checkPlan(plan), "");
    const UncertaintySample s = drawSample(plan);
    std::vector<double> a, b;
    for (std::size_t i = 0; i < s.rows; ++i) {
        a.push_back(std::log(s.value(i, 0)));
        b.push_back(s.value(i, 1));
    }
    EXPECT_NEAR(mean(a), std::log(40.0), 0.01);
    EXPECT_NEAR(sd(a), 0.2, 0.01);
    EXPECT_NEAR(sd(b), 0.5, 0.02);
    double cov = 0;
    for (std::size_t i = 0; i < s.rows; ++i)
        cov += (a[i] - mean(a)) * (b[i] - mean(b));
    cov /= static_cast<double>(s.rows - 1);
    // 4000 points estimate a correlation of 0.8 within about 0.01 (standard error (1-ρ²)/√n).
    EXPECT_NEAR(cov / (sd(a) * sd(b)), rho, 0.03);
    // The standard variables of the block are independent standard normal ones.
    std::vector<double> z0, z1;
    for (std::size_t i = 0; i < s.rows; ++i) {
        z0.push_back(s.standard[2 * i]);
        z1.push_back(s.standard[2 * i + 1]);
    }
    double c01 = 0;
    for (std::size_t i = 0; i < s.rows; ++i)
        c01 += z0[i] * z1[i];
    EXPECT_NEAR(c01 / static_cast<double>(s.rows), 0.0, 0.06);
    EXPECT_NEAR(sd(z1), 1.0, 0.05);

    plan.correlated[0].covariance = {0.04, 0.3, 0.3, 0.25};  // correlation above 1
    EXPECT_EQ(checkPlan(plan),
              "die korrelierten Eingaben txt_Feuchteleit, txt_KappaSteig: die Kovarianzmatrix "
              "ist nicht positiv definit");
}

// The cases carry each drawn value as a text that reads back to the value itself, and a case
// table of those texts gives the same cases.
TEST(UqSampling, CasesCarryTheDrawnValuesExactly) {
    UncertaintyPlan plan = fourInputs(SampleDesign::MonteCarlo, 40);
    plan.base[Control::txt_Dicke] = "12,5";
    const UncertaintySample s = drawSample(plan);
    const CaseList cases = sampleCases(plan, s);
    CaseTable table;
    FileProblem problem;
    ASSERT_TRUE(parseCaseTable(sampleCaseTable(s), "proben.csv", table, problem))
        << describe(problem);
    const CaseList fromTable(plan.base, std::move(table));
    ASSERT_EQ(cases.size(), 40u);
    ASSERT_EQ(fromTable.size(), 40u);
    EXPECT_EQ(cases.variedFields(), fromTable.variedFields());
    for (std::size_t i = 0; i < 40; ++i) {
        const InputTexts t = cases.texts(i);
        EXPECT_EQ(t.text, fromTable.texts(i).text);
        EXPECT_EQ(t[Control::txt_Dicke], "12,5");
        for (std::size_t j = 0; j < 4; ++j)
            EXPECT_EQ(TextZuZahl(t[s.fields[j]]), s.value(i, j));
    }
}

TEST(UqSampling, LibraryDistributionsByName) {
    UncertaintyPlan plan = test::analyticPlan({}, 2000);
    plan.marginals.push_back({Control::txt_mue, {}, "Beta", {2, 3, 10, 30}});
    ASSERT_EQ(checkPlan(plan), "");
    const std::vector<double> c = column(drawSample(plan), 0);
    EXPECT_NEAR(mean(c), 10 + 20 * 2.0 / 5.0, 0.1);  // a Beta(2, 3) on 10..30
    EXPECT_GE(*std::min_element(c.begin(), c.end()), 10.0);
    plan.marginals[0].library = "Nonsense";
    EXPECT_NE(checkPlan(plan).find("OpenTURNS kann die Verteilung „Nonsense“"), std::string::npos)
        << checkPlan(plan);
}

}  // namespace tesmo
