// The model's values at measured times, and the setup's measured points.
#include <gtest/gtest.h>

#include <cmath>

#include "fit/model_runs.h"
#include "model/evaluation.h"
#include "tests/fit/synthetic.h"

namespace tesmo {

namespace {

using namespace test;

struct FinishedRun {
    std::unique_ptr<CaseRunner> runner = std::make_unique<CaseRunner>();
    std::unique_ptr<RunCapture> capture = std::make_unique<RunCapture>();
    explicit FinishedRun(const InputTexts& texts) { runner->run(1, texts, nullptr, capture.get()); }
    const RunState& st() const { return runner->state(); }
};

// A series measuring every quantity at the given times.
MeasuredSeries seriesAt(const InputTexts& texts, std::vector<double> times) {
    MeasuredSeries s;
    s.name = "probe.csv";
    s.texts = texts;
    s.trockenmasse_g = 100;
    s.measurement.zeit = std::move(times);
    s.measurement.zeile.assign(s.measurement.zeit.size(), 0);
    for (auto& w : s.measurement.werte)
        w.assign(s.measurement.zeit.size(), 0);
    return s;
}

}  // namespace

TEST(Sampling, InterpolatesTheRecordsAsTheRunComputedThemAndHoldsTheEndState) {
    const InputTexts texts = labCase(kMittel);
    const FinishedRun run(texts);
    const RunState& st = run.st();
    const HistoryArray& t = run.capture->recordTimes();
    const int j = st.HistIndex - 100;  // a record in the second period (smoothed for the chart)
    const auto at = [&](int k) { return t[static_cast<std::size_t>(k)]; };
    const double between = (at(j) + 3 * at(j + 1)) / 4;
    const MeasuredSeries s =
        seriesAt(texts, {0, at(j), between, st.Laufzeit - st.deltaT / 2, st.Laufzeit + 600});
    const MeasuredPoints points = measuredPoints({s});
    ASSERT_EQ(points.size(), 5 * kMessgroessenCount);
    std::vector<double> v(points.size());
    // One time after the end, four measured values there.
    EXPECT_EQ(simulatedValues(s, points.points.data(), points.size(), st, t, v.data()), 4u);
    const auto value = [&](std::size_t record, Messgroesse g) {
        return v[record * kMessgroessenCount + slot(g)];
    };
    // The start: the initial water load, the mass of that water and no shrinkage.
    EXPECT_EQ(value(0, Messgroesse::X), st.XAnf);
    EXPECT_DOUBLE_EQ(value(0, Messgroesse::Masse), 100 * (1 + st.XAnf));
    EXPECT_EQ(value(0, Messgroesse::schwind), 0);
    // At a record: its values before the evaluation re-mapped and smoothed them.
    const double xj = beladungVorAbbildung(st, st, st.VerlaufXmom[static_cast<std::size_t>(j)]);
    const double thetaJ = vorGlaettung(st, st.VerlaufThetaOb, j);
    EXPECT_EQ(value(1, Messgroesse::X), xj);
    EXPECT_EQ(value(1, Messgroesse::thetaOb), thetaJ);
    EXPECT_NE(thetaJ, st.VerlaufThetaOb[static_cast<std::size_t>(j)]);
    // Between two records: linear in time.
    const double xj1 =
        beladungVorAbbildung(st, st, st.VerlaufXmom[static_cast<std::size_t>(j + 1)]);
    EXPECT_NEAR(value(2, Messgroesse::X), (xj + 3 * xj1) / 4, 1e-15);
    // Between the last record and the end: towards the end state; after the end: the end state.
    EXPECT_LT(value(3, Messgroesse::X), beladungVorAbbildung(st, st, st.VerlaufXmom[st.HistIndex]));
    EXPECT_GT(value(3, Messgroesse::X), st.XEnde);
    EXPECT_EQ(value(4, Messgroesse::X), st.XEnde);
    EXPECT_DOUBLE_EQ(value(4, Messgroesse::Masse), 100 * (1 + st.XEnde));
    // The sample has stopped shrinking at the end: its shrinkage is the whole linear shrinkage.
    EXPECT_EQ(value(4, Messgroesse::schwind), st.linTrSchwind);
    EXPECT_GT(value(2, Messgroesse::schwind), 0);
}

TEST(Sampling, ShrinkageFollowsTheMeanWaterLoadUpToTheDryShrinkage) {
    RunParameters p;
    p.XAnf = 0.25;
    p.XSchwEnde = 0.13;
    p.linTrSchwind = 6;
    EXPECT_EQ(probenSchwindung(p, 0.25), 0);
    EXPECT_DOUBLE_EQ(probenSchwindung(p, 0.19), 3);
    EXPECT_EQ(probenSchwindung(p, 0.05), 6);
    EXPECT_EQ(probenSchwindung(p, 0.26), 0);  // noise above the start does not swell it
    p.linTrSchwind = 0;
    EXPECT_EQ(probenSchwindung(p, 0.1), 0);
}

TEST(ModelRuns, TheRunsOfOneEvaluationGiveTheSameNumbersOnOneWorkerOrTwo) {
    FitSetup setup;
    setup.series = {seriesAt(labCase(kWarmFeucht), {0, 600, 1200, 5000}),
                    seriesAt(labCase(kHeissTrocken), {0, 300, 900, 2000})};
    setup.parameters = {parameter(Control::txt_Feuchteleit, 40, 5, 200)};
    const MeasuredPoints points = measuredPoints(setup.series);
    std::vector<Trial> one, two;
    ModelRuns serial(setup, points, 1, nullptr), parallel(setup, points, 2, nullptr);
    const std::vector<std::vector<double>> sets{{40}, {30}, {-1}};  // the last is refused
    serial.run(sets, one);
    parallel.run(sets, two);
    parallel.run(sets, two);  // again, on the run states the workers kept
    ASSERT_EQ(one.size(), 3u);
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_TRUE(one[k].ok) << one[k].message;
        EXPECT_EQ(one[k].simulated, two[k].simulated);
    }
    EXPECT_NE(one[0].simulated, one[1].simulated);
    EXPECT_FALSE(two[2].ok);
    EXPECT_NE(two[2].message.find("probe.csv: „Feuchteleitk."), std::string::npos)
        << two[2].message;
    EXPECT_EQ(serial.runs(), 6u);
    EXPECT_EQ(parallel.runs(), 12u);
}

}  // namespace tesmo

namespace tesmo {

TEST(FitThreads, SeveralStartsAtOnceGiveWhatOneAtATimeGives) {
    // Three starts on two jobs run two at a time, each on one worker; on one job one after
    // the other. Each start computes the same runs either way, so every number is the same.
    FitSetup setup;
    setup.series = {test::exactSeries("duenn.csv", test::labCase(test::kHeissTrocken), 12, 0.9)};
    setup.parameters = {test::parameter(Control::txt_Feuchteleit, 60, 5, 200)};
    setup.starts = 3;
    FitControl one, two;
    one.jobs = 1;
    two.jobs = 2;
    const FitResult a = runFit(setup, one), b = runFit(setup, two);
    ASSERT_EQ(a.end, FitEnd::Converged) << a.message;
    EXPECT_EQ(a.parameters[0].value, b.parameters[0].value);
    EXPECT_EQ(a.covariance, b.covariance);
    EXPECT_EQ(a.modelRuns, b.modelRuns);
    EXPECT_EQ(a.bestStart, b.bestStart);
    ASSERT_EQ(b.starts.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(a.starts[k].values, b.starts[k].values) << k;
    // Noise-free measurements: the fit lands on the value that made them.
    EXPECT_NEAR(b.parameters[0].value, 40, 0.01);
}

}  // namespace tesmo
