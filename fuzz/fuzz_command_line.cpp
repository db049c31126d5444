// The runner's command line: arguments separated by NUL bytes. Whatever they are, parsing
// ends with options or a usage error, and the study they describe (variations, shard) is
// either refused with a German message or has cases whose texts can be built.
#include <string>
#include <vector>

#include "batch/arguments.h"
#include "fuzz_properties.h"
#include "model/text_to_number.h"
#include "study/case_list.h"
#include "study/variation.h"

using namespace tesmo;

namespace {

std::vector<std::string_view> splitArguments(std::string_view input) {
    std::vector<std::string_view> args;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= input.size(); ++i) {
        if (i == input.size() || input[i] == '\0') {
            args.push_back(input.substr(start, i - start));
            start = i + 1;
        }
    }
    return args;
}

void requireMessage(const std::string& message) {
    FUZZ_REQUIRE(!message.empty());
    FUZZ_REQUIRE(message.size() < 100000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const ParsedArguments parsed = parseArguments(splitArguments(fuzzInput(data, size)));
    if (!parsed.error.empty()) return 0;
    const BatchOptions& o = parsed.options;
    if (o.help || o.version) return 0;  // the texts are printed, nothing else is looked at
    FUZZ_REQUIRE(o.isStudy() == (!o.varies.empty() || !o.casesPath.empty() ||
                                 !o.studyPath.empty() || !o.uqPath.empty()));
    // The analysis of an uncertainty study belongs to one; a summary runs nothing.
    if (!o.isUncertainty()) FUZZ_REQUIRE(o.uqReportPath.empty() && o.uqSummaryTables.empty());
    if (!o.uqSummaryTables.empty()) FUZZ_REQUIRE(o.tablePath.empty() && o.shard.empty());
    if (!o.isStudy()) {
        // A fit spreads its model runs over --jobs threads too; table, shard and yes stay a
        // study's.
        FUZZ_REQUIRE(o.tablePath.empty() && o.shard.empty() && !o.yes);
        FUZZ_REQUIRE(o.jobs == 0 || o.isFit());
        return 0;
    }
    std::vector<Variation> variations;
    for (const std::string& spec : o.varies) {
        VariationResult r = parseVariation(spec);
        if (!r.ok) {
            requireMessage(r.error);
            return 0;
        }
        FUZZ_REQUIRE(!r.variation.texts.empty());
        FUZZ_REQUIRE(r.variation.texts.size() <= kMaxVariationValues);
        // A range's values are texts the input fields read as numbers.
        if (spec.find(';') == std::string::npos && spec.find(':') != std::string::npos) {
            for (const std::string& t : r.variation.texts) {
                bool found = false;
                TextZuZahl(t, &found);
                FUZZ_REQUIRE(found);
            }
        }
        variations.push_back(std::move(r.variation));
    }
    if (!o.shard.empty()) {
        const ShardResult s = parseShard(o.shard);
        if (!s.ok) {
            requireMessage(s.error);
            return 0;
        }
        FUZZ_REQUIRE(s.shard.k >= 1 && s.shard.k <= s.shard.n);
    }
    const CaseList cases(applyOverrides(defaultInputTexts(), o), std::move(variations));
    if (cases.tooLarge() || cases.size() == 0) return 0;
    // The first and the last case: every varied field holds one of its texts.
    for (std::size_t i : {std::size_t{0}, cases.size() - 1}) {
        const InputTexts t = cases.texts(i);
        for (Control field : cases.variedFields())
            FUZZ_REQUIRE(!t[field].empty());
    }
    return 0;
}
