// Uncertainty studies of the model itself, small and on thin plates so that each case takes a
// few milliseconds: the drawn cases run on the study engine exactly as a case table would, the
// same on any number of threads and in any shards, and refused cases stay in the account.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "files/case_table.h"
#include "study/result_view.h"
#include "study/study_engine.h"
#include "uq/analysis.h"
#include "uq/report.h"

namespace tesmo {

namespace {

UncertaintyPlan thinPlates(std::size_t samples, double meanHumidity) {
    UncertaintyPlan plan;
    for (const auto& [field, text] : {std::pair{Control::txt_Dicke, "4"},
                                      {Control::txt_Ortsschrittweite, "0,25"},
                                      {Control::txt_deltaT, "2,0"}})
        plan.base[field] = std::string(text);
    plan.marginals = {
        {Control::txt_Feuchteleit, {DistributionKind::LogNormal, {40, 8}}, {}, {}},
        {Control::txt_AbluftFeuchte, {DistributionKind::Normal, {meanHumidity, 3}}, {}, {}}};
    plan.samples = samples;
    plan.seed = 12;
    plan.results = {resultIndex("Laufzeit"), resultIndex("SchwindGradMax")};
    return plan;
}

// The table of the selected cases run with `jobs` threads, and their outcomes.
std::string table(const CaseList& cases, const CaseSelection& selection, unsigned jobs,
                  std::vector<CaseOutcome>* outcomes = nullptr) {
    std::string text;
    StudyCallbacks callbacks;
    callbacks.sink = [&](const CaseOutcome& o) {
        text += tableRow(o);
        if (outcomes) outcomes->push_back(o);
        return true;
    };
    std::atomic<bool> cancel{false};
    runStudy(cases, selection, jobs, callbacks, cancel);
    return text;
}

}  // namespace

TEST(UqStudy, TheSameSeedGivesTheSameTableOnAnyThreadsAndShardsAsACaseTable) {
    const UncertaintyPlan plan = thinPlates(12, 70);
    const UncertaintySample sample = drawSample(plan);
    const CaseList cases = sampleCases(plan, sample);
    const std::string whole = table(cases, {0, 1, cases.size()}, 1);
    EXPECT_EQ(table(cases, {0, 1, cases.size()}, 2), whole);
    // Drawn again (as another shard's machine does), in two shards joined in case order.
    const CaseList again = sampleCases(plan, drawSample(plan));
    const std::string first = table(again, selectShard(12, {1, 2}), 2);
    const std::string second = table(again, selectShard(12, {2, 2}), 1);
    const auto rows = [](const std::string& t) {
        std::vector<std::string> r;
        for (std::size_t pos = 0, end; (end = t.find('\n', pos)) != std::string::npos;
             pos = end + 1)
            r.push_back(t.substr(pos, end - pos + 1));
        return r;
    };
    const auto a = rows(first), b = rows(second);
    std::string joined;
    for (std::size_t i = 0; i < a.size() + b.size(); ++i)
        joined += i % 2 == 0 ? a[i / 2] : b[i / 2];
    EXPECT_EQ(joined, whole);
    // The drawn cases as a case table (as the runner's --cases reads it) compute the same.
    CaseTable caseTable;
    FileProblem problem;
    ASSERT_TRUE(parseCaseTable(sampleCaseTable(sample), "proben.csv", caseTable, problem));
    const CaseList fromTable(plan.base, std::move(caseTable));
    EXPECT_EQ(table(fromTable, {0, 1, fromTable.size()}, 2), whole);
}

// Exhaust air drawn around 99 % is often saturated or above 100 %: those cases are refused
// with the input check's message, kept in the table, and accounted for in the analysis; so is
// one that nearly saturated air lets end early (its air would take a water load below zero).
TEST(UqStudy, RefusedCasesAreDataAndAccountedFor) {
    const UncertaintyPlan plan = thinPlates(16, 99);
    const UncertaintySample sample = drawSample(plan);
    std::vector<CaseOutcome> outcomes;
    const std::string text = table(sampleCases(plan, sample), {0, 1, 16}, 2, &outcomes);
    std::size_t refused = 0, early = 0;
    for (const CaseOutcome& o : outcomes) {
        if (!o.refused) {
            if (!finished(o)) ++early;
            continue;
        }
        ++refused;
        EXPECT_NE(o.message.find("Abluftfeuchtigkeit"), std::string::npos) << o.message;
        EXPECT_GE(o.inputs[static_cast<std::size_t>(index(Control::txt_AbluftFeuchte))], 99.5);
    }
    ASSERT_GT(refused, 0u);
    ASSERT_LT(refused, 16u);
    EXPECT_NE(text.find(",refused,"), std::string::npos);

    const UncertaintyAnalysis a = analyseUncertainty(plan, sample, outcomes);
    EXPECT_EQ(a.unfinished.count, refused + early);
    EXPECT_EQ(a.statistics[0].count, 16 - refused - early);
    ASSERT_EQ(a.unfinished.regions.size(), 2u);
    // The humid end of the distribution (the early end at about 97 %, the refusals above 99,5 %).
    EXPECT_GE(a.unfinished.regions[1].lowest, early > 0 ? 95.0 : 99.5);
    const std::string report = uncertaintyReport(plan, a);
    EXPECT_NE(report.find("| abgelehnt (`refused`) | " + std::to_string(refused) + " |"),
              std::string::npos)
        << report;
}

}  // namespace tesmo
