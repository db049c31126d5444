// Study files: as case files, and the vary lines keep their fields, ranges and order.
#include "files/study_file.h"
#include "fuzz_properties.h"

using namespace tesmo;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view content = fuzzInput(data, size);
    const std::string name = "fuzz.tgstudy";
    SavedStudy study;
    FileProblem problem;
    if (!parseStudyFile(content, name, defaultInputTexts(), study, problem)) {
        requireGoodRefusal(problem, content, name);
        FUZZ_REQUIRE(study.varied.empty());
        return 0;
    }
    FUZZ_REQUIRE(!study.varied.empty());
    for (const std::string& text : study.base.text)
        requireGoodText(text, "\t");
    int previousLine = 0;
    for (const VariedInput& v : study.varied) {
        requireGoodText(v.range, "\t");
        FUZZ_REQUIRE(isInput(v.field));
        FUZZ_REQUIRE(v.line > previousLine);
        previousLine = v.line;
    }

    std::string written;
    FUZZ_REQUIRE(studyFileText(study, written, problem));
    SavedStudy again;
    FUZZ_REQUIRE(parseStudyFile(written, name, InputTexts{}, again, problem));
    FUZZ_REQUIRE(again.base.text == study.base.text);
    FUZZ_REQUIRE(again.varied.size() == study.varied.size());
    for (std::size_t i = 0; i < study.varied.size(); ++i) {
        FUZZ_REQUIRE(again.varied[i].field == study.varied[i].field);
        FUZZ_REQUIRE(again.varied[i].range == study.varied[i].range);
    }
    return 0;
}
