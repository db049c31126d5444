// Files and texts in tests: reading and writing whole files, a file name of the running
// test's own, and the lines of a text.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tesmo::test {

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
