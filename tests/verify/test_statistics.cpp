#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "verify/convergence.h"
#include "verify/statistics.h"

namespace tesmo {
namespace {

TEST(Statistics, QuantilesInterpolateBetweenOrderStatistics) {
    const std::vector<double> v = {7, 1, 3, 5};
    EXPECT_EQ(quantile(v, 0), 1);
    EXPECT_EQ(quantile(v, 1), 7);
    EXPECT_EQ(quantile(v, 0.5), 4);
    EXPECT_NEAR(quantile(v, 0.25), 2.5, 1e-12);
    EXPECT_EQ(quantile({42}, 0.9), 42);
    EXPECT_TRUE(std::isnan(quantile({}, 0.5)));
}

TEST(Statistics, RanksShareTiesAndSpearmanSeesMonotoneRelations) {
    EXPECT_EQ(ranks({10, 20, 20, 5}), (std::vector<double>{2, 3.5, 3.5, 1}));
    const std::vector<double> x = {1, 2, 3, 4, 5, 6};
    EXPECT_NEAR(spearman(x, {1, 4, 9, 16, 25, 36}), 1, 1e-12);  // any rising relation
    EXPECT_NEAR(spearman(x, {6, 5, 4, 3, 2, 1}), -1, 1e-12);
    EXPECT_NEAR(spearman({1, 2, 3, 4}, {1, 3, 2, 4}), 0.8, 1e-12);
    EXPECT_TRUE(std::isnan(spearman(x, {2, 2, 2, 2, 2, 2})));
    EXPECT_TRUE(std::isnan(spearman({1}, {1})));
}

TEST(Statistics, HistogramBinsAreHalfOpenExceptTheLast) {
    EXPECT_EQ(histogram({0, 0.49, 0.5, 1.0, 1.5, -0.1, 1.6}, 0, 0.5, 3),
              (std::vector<int>{2, 1, 2}));
}

TEST(Convergence, OrderAndRichardsonRecoverAKnownExpansion) {
    // f(h) = 3 + 0.7·h²: order 2, converged value 3.
    const auto f = [](double h) { return 3 + 0.7 * h * h; };
    EXPECT_NEAR(observedOrder(f(0.4) - 3, f(0.2) - 3, 2), 2, 1e-12);
    const RichardsonEstimate e = richardson(f(0.4), f(0.2), f(0.1), 2);
    EXPECT_TRUE(e.monotone);
    EXPECT_NEAR(e.order, 2, 1e-9);
    EXPECT_NEAR(e.value, 3, 1e-12);
    // Differences that do not shrink, or change sign, give no estimate.
    EXPECT_FALSE(richardson(1, 2, 3.5, 2).monotone);
    EXPECT_FALSE(richardson(1, 2, 1.5, 2).monotone);
    EXPECT_TRUE(std::isnan(richardson(1, 2, 1.5, 2).value));
    EXPECT_TRUE(std::isnan(observedOrder(0, 1e-3, 2)));
}

}  // namespace
}  // namespace tesmo
