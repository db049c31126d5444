// How long a run takes in the window compared with the headless runner.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "batch/headless_window.h"
#include "tests/qt/qt_support.h"

namespace tesmo::test {
namespace {

double headlessSeconds(const InputTexts& texts) {
    auto st = std::make_unique<RunState>();
    HeadlessWindow hw(*st);
    hw.setInputTexts(texts);
    RunControl control(hw);
    const auto t0 = Clock::now();
    control.cmd_Start_Click();
    return secondsSince(t0);
}

double windowSeconds(const InputTexts& texts, bool immediate) {
    WindowFixture f;
    f.w->setPainting(immediate ? qt::frm_TesmoGegen::Painting::Immediate
                               : qt::frm_TesmoGegen::Painting::Batched);
    f.type(texts);
    const auto t0 = Clock::now();
    f.click(Control::cmd_Start);
    return secondsSince(t0);
}

// The better of two runs: the machine may be busy with other work now and then.
template <class Run>
double best(Run run) {
    const double a = run();
    return std::min(a, run());
}

// The window presents its texts and charts in batches; the whole run, display included, must
// not take more than three times as long as the same run without a screen. Painting every
// write at once is measured alongside for comparison. A run of a few hundredths of a second is
// dominated by painting the window once at its start and end, so only the default run is held
// to the limit.
void compare(const char* name, const InputTexts& texts, bool held) {
    const double headless = best([&] { return headlessSeconds(texts); });
    const double batched = best([&] { return windowSeconds(texts, false); });
    const double immediate = windowSeconds(texts, true);
    std::printf(
        "%s: headless %.3f s, window batched %.3f s (%.1f x), painted at once %.3f s "
        "(%.1f x)\n",
        name, headless, batched, batched / headless, immediate, immediate / headless);
    if (held) {
        EXPECT_LE(batched, 3.0 * headless) << name;
    }
}

TEST(Timing, WindowRunTakesAtMostThreeTimesTheHeadlessRun) {
    compare("default inputs", defaultInputTexts(), true);
    compare("fast inputs", fastInputs(), false);
}

}  // namespace
}  // namespace tesmo::test
