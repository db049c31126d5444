// Running the built tesmo-gegen-batch from a test, as a user runs it from a shell.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/test_files.h"

namespace tesmo::test {

struct ExeResult {
    int status = -1;
    std::string out, err;
};

// `then` is shell text that runs after the runner has been started (in the background, when
// `then` begins with "&"); `before` comes before the runner's path (e.g. "timeout 10").
inline ExeResult runBatchExe(const std::string& args, const std::string& then = "",
                             const std::string& before = "") {
    const std::string out = testFile("stdout"), err = testFile("stderr");
    const std::string command =
        before + " '" + TESMO_BATCH_EXE + "' " + args + " >'" + out + "' 2>'" + err + "'" + then;
    const int raw = std::system(command.c_str());
    ExeResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

}  // namespace tesmo::test
