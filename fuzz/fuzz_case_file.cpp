// Case files: whatever the content, a refusal is well described, and a file that is read
// can be written and read back to the same texts.
#include "files/case_file.h"
#include "fuzz_properties.h"

using namespace tesmo;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view content = fuzzInput(data, size);
    const InputTexts base = defaultInputTexts();
    const std::string name = "fuzz.tgcase";
    InputTexts texts = base;
    FileProblem problem;
    if (!parseCaseFile(content, name, base, texts, problem)) {
        requireGoodRefusal(problem, content, name);
        FUZZ_REQUIRE(texts.text == base.text);
        return 0;
    }
    FUZZ_REQUIRE(problem.kind == ProblemKind::None);
    for (const std::string& text : texts.text)
        requireGoodText(text, "\t");

    std::string written;
    FUZZ_REQUIRE(caseFileText(texts, written, problem));
    InputTexts again;
    FUZZ_REQUIRE(parseCaseFile(written, name, InputTexts{}, again, problem));
    FUZZ_REQUIRE(again.text == texts.text);
    return 0;
}
