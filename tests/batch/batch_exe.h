// Running the built tesmo-gegen-batch from a test, as a user runs it from a shell.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tesmo::test {

struct ExeResult {
    int status = -1;
    std::string out, err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A file name of the running test's own, so that tests may run side by side.
inline std::string testFile(const std::string& name) {
    return testing::TempDir() + "tesmo_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
}

// `then` is shell text that runs after the runner has been started (in the background, when
// `then` begins with "&").
inline ExeResult runBatchExe(const std::string& args, const std::string& then = "") {
    const std::string out = testFile("stdout"), err = testFile("stderr");
    const std::string command =
        std::string("'") + TESMO_BATCH_EXE + "' " + args + " >'" + out + "' 2>'" + err + "'" + then;
    const int raw = std::system(command.c_str());
    ExeResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

inline bool hasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace tesmo::test
