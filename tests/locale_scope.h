// The C library's locale of the program's users for the length of one test: with LC_NUMERIC
// de_DE printf writes a decimal comma and strtod reads one, which no text of the program may
// depend on. The window sets the locale from the environment as every Qt program does.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace tesmo::test {

inline constexpr const char* kGermanLocale = "de_DE.UTF-8";

class GermanLocale {
  public:
    GermanLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, kGermanLocale) != nullptr;
    }
    ~GermanLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    // False when the locale is not installed (scripts/install-deps generates it).
    bool active() const { return active_; }

  private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace tesmo::test
