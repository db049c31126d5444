// The runner's progress on stderr: on a terminal one line that is rewritten in place, at most
// ten times a second; elsewhere (a log file, a pipe) one line per state shown.
#pragma once

#include <chrono>
#include <string>

namespace tesmo {

class ProgressLine {
  public:
    // Whether stderr is a terminal decides the form.
    ProgressLine();

    bool terminal() const { return terminal_; }
    // Shows `text` unless the last line is less than 100 ms old and `always` is false.
    void show(const std::string& text, bool always);
    // Ends a rewritten line, so that what follows starts on a line of its own.
    void finish();

  private:
    bool terminal_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace tesmo
