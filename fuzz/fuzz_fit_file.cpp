// Fit files: a refusal names the file and a line of it; an accepted file has series, parameters
// whose bounds enclose their starts and, where it holds an outcome, a symmetric covariance; and
// what the writer makes of it reads back the same (unless the written lines outgrow the limits).
#include <cmath>

#include "files/fit_file.h"
#include "fuzz_properties.h"

using namespace tesmo;

namespace {

bool sameNumber(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

void requireSame(const FitFile& a, const FitFile& b) {
    FUZZ_REQUIRE(a.series.size() == b.series.size());
    for (std::size_t i = 0; i < a.series.size(); ++i) {
        FUZZ_REQUIRE(a.series[i].measurement == b.series[i].measurement);
        FUZZ_REQUIRE(a.series[i].caseFile == b.series[i].caseFile);
        FUZZ_REQUIRE(sameNumber(a.series[i].trockenmasse_g, b.series[i].trockenmasse_g));
        FUZZ_REQUIRE(a.series[i].optionSet == b.series[i].optionSet);
        FUZZ_REQUIRE(a.series[i].optionen == b.series[i].optionen);
    }
    FUZZ_REQUIRE(a.parameters.size() == b.parameters.size());
    for (std::size_t i = 0; i < a.parameters.size(); ++i) {
        FUZZ_REQUIRE(a.parameters[i].field == b.parameters[i].field);
        FUZZ_REQUIRE(a.parameters[i].start == b.parameters[i].start);
        FUZZ_REQUIRE(a.parameters[i].lower == b.parameters[i].lower);
        FUZZ_REQUIRE(a.parameters[i].upper == b.parameters[i].upper);
    }
    FUZZ_REQUIRE(a.starts == b.starts && a.seed == b.seed && a.iterations == b.iterations);
    for (std::size_t g = 0; g < a.sigma.size(); ++g)
        FUZZ_REQUIRE(sameNumber(a.sigma[g], b.sigma[g]));
    FUZZ_REQUIRE(a.outcome.has_value() == b.outcome.has_value());
    if (!a.outcome) return;
    FUZZ_REQUIRE(a.outcome->fields == b.outcome->fields);
    FUZZ_REQUIRE(a.outcome->values == b.outcome->values);
    FUZZ_REQUIRE(a.outcome->scales == b.outcome->scales);
    FUZZ_REQUIRE(a.outcome->covariance == b.outcome->covariance);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view content = fuzzInput(data, size);
    const std::string name = "fuzz.tgfit";
    FitFile file;
    FileProblem problem;
    if (!parseFitFile(content, name, file, problem)) {
        requireGoodRefusal(problem, content, name);
        FUZZ_REQUIRE(file.series.empty() && file.parameters.empty());
        return 0;
    }
    FUZZ_REQUIRE(!file.series.empty() && !file.parameters.empty());
    for (const SeriesEntry& s : file.series) {
        FUZZ_REQUIRE(!s.measurement.empty() && !s.caseFile.empty());
        FUZZ_REQUIRE(std::isnan(s.trockenmasse_g) || s.trockenmasse_g > 0);
    }
    for (const FitParameterEntry& p : file.parameters) {
        FUZZ_REQUIRE(isInput(p.field));
        FUZZ_REQUIRE(p.lower < p.upper && p.lower <= p.start && p.start <= p.upper);
    }
    FUZZ_REQUIRE(file.starts >= 1 && file.starts <= kMaxStarts);
    if (file.outcome) {
        const FitOutcome& r = *file.outcome;
        FUZZ_REQUIRE(r.values.size() == r.size() && r.scales.size() == r.size());
        FUZZ_REQUIRE(!r.hasCovariance() || r.covariance.size() == r.size() * r.size());
        for (std::size_t i = 0; r.hasCovariance() && i < r.size(); ++i)
            FUZZ_REQUIRE(r.cov(i, i) >= 0);
    }

    std::string written;
    if (!fitFileText(file, written, problem)) {
        // Only a line or a file that the writer's blanks and comments made too long.
        FUZZ_REQUIRE(problem.kind == ProblemKind::TextTooLong ||
                     problem.kind == ProblemKind::TooLarge);
        return 0;
    }
    FitFile again;
    FUZZ_REQUIRE(parseFitFile(written, name, again, problem));
    requireSame(file, again);
    return 0;
}
