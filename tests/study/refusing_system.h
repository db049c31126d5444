// Stands in for a system that refuses a study a thread or memory, for the length of one test.
#pragma once

#include "study/study_engine.h"

namespace tesmo::test {

struct RefusingSystem {
    explicit RefusingSystem(StudyResourceHook hook) { setStudyResourceHook(std::move(hook)); }
    ~RefusingSystem() { setStudyResourceHook({}); }
    RefusingSystem(const RefusingSystem&) = delete;
    RefusingSystem& operator=(const RefusingSystem&) = delete;
};

}  // namespace tesmo::test
