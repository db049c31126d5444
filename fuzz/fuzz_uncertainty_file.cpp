// Uncertainty study files: a refusal names file and line; what is accepted is a study that can
// run (an uncertain input, distributions with valid parameters, known result names) and writes
// and reads back unchanged.
#include <cmath>

#include "files/uncertainty_file.h"
#include "fuzz_properties.h"
#include "study/results.h"

using namespace tesmo;

namespace {

UncertaintyFileRules fuzzRules() {
    UncertaintyFileRules rules;
    for (const ResultColumn& c : resultColumns())
        rules.resultNames.emplace_back(c.name);
    // A case line reads a fixed case: the fuzzer must not open files of its choosing.
    rules.readCase = [](const std::string&, InputTexts& texts, FileProblem&) {
        texts[Control::txt_Dicke] = "12,5";
        return true;
    };
    return rules;
}

void requireSame(const UncertaintyFile& a, const UncertaintyFile& b) {
    FUZZ_REQUIRE(a.base.text == b.base.text);
    FUZZ_REQUIRE(a.base.optionen == b.base.optionen);
    FUZZ_REQUIRE(a.uncertain.size() == b.uncertain.size());
    for (std::size_t i = 0; i < a.uncertain.size(); ++i) {
        FUZZ_REQUIRE(a.uncertain[i].field == b.uncertain[i].field);
        FUZZ_REQUIRE(a.uncertain[i].distribution == b.uncertain[i].distribution);
    }
    FUZZ_REQUIRE(a.fitPath == b.fitPath);
    FUZZ_REQUIRE(a.samples == b.samples && a.design == b.design && a.seed == b.seed);
    FUZZ_REQUIRE(a.indices == b.indices && a.results == b.results);
    FUZZ_REQUIRE(a.limits.size() == b.limits.size());
    for (std::size_t i = 0; i < a.limits.size(); ++i) {
        FUZZ_REQUIRE(a.limits[i].result == b.limits[i].result);
        FUZZ_REQUIRE(a.limits[i].side == b.limits[i].side);
        FUZZ_REQUIRE(a.limits[i].value == b.limits[i].value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static const UncertaintyFileRules rules = fuzzRules();
    const std::string_view content = fuzzInput(data, size);
    const std::string name = "fuzz.tguq";
    UncertaintyFile study;
    FileProblem problem;
    if (!parseUncertaintyFile(content, name, rules, study, problem)) {
        requireGoodRefusal(problem, content, name);
        FUZZ_REQUIRE(study.uncertain.empty());
        return 0;
    }
    FUZZ_REQUIRE(!study.uncertain.empty() || !study.fitPath.empty());
    for (const std::string& text : study.base.text)
        requireGoodText(text, "\t");
    int previousLine = 0;
    for (const UncertainLine& u : study.uncertain) {
        FUZZ_REQUIRE(isInput(u.field));
        FUZZ_REQUIRE(u.line > previousLine);
        previousLine = u.line;
        FUZZ_REQUIRE(checkDistribution(u.distribution, problem));
    }
    FUZZ_REQUIRE(study.samples >= kMinSamples && study.samples <= kMaxSamples);
    FUZZ_REQUIRE(!study.results.empty());
    for (const ResultLimit& l : study.limits)
        FUZZ_REQUIRE(std::isfinite(l.value));

    std::string written;
    FUZZ_REQUIRE(uncertaintyFileText(study, written, problem));
    UncertaintyFile again;
    FUZZ_REQUIRE(parseUncertaintyFile(written, name, rules, again, problem));
    requireSame(study, again);
    return 0;
}
