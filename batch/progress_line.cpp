#include "batch/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace tesmo {

ProgressLine::ProgressLine() : terminal_(::isatty(STDERR_FILENO) != 0) {}

void ProgressLine::show(const std::string& text, bool always) {
    const auto now = std::chrono::steady_clock::now();
    if (!always && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    std::fprintf(stderr, "%s%s%s", terminal_ ? "\r" : "", text.c_str(), terminal_ ? "   " : "\n");
    std::fflush(stderr);
    shown_ = true;
}

void ProgressLine::finish() {
    if (terminal_ && shown_) std::fputc('\n', stderr);
}

}  // namespace tesmo
