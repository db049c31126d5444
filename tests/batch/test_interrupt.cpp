// The runner's signals, each tried in a child process of its own.
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "batch/interrupt.h"
#include "tests/child_process.h"

namespace tesmo {

using test::ChildEnd;
using test::inChild;

// The first Ctrl-C, SIGTERM or SIGHUP asks the run or the study to stop; a second one ends the
// process at once, as the signal does without a handler. SIGHUP stays ignored where nohup
// ignores it.
TEST(Interrupt, TheFirstSignalAsksToStopTheSecondEndsTheProcess) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const ChildEnd end = inChild([signal] {
            std::signal(SIGHUP, SIG_DFL);
            installInterruptHandler();
            ::raise(signal);
            if (!interruptRequested() || interruptSignal() != signal)
                return std::string("the first signal was not taken");
            ::raise(signal);
            return std::string("the second signal did not end the process");
        });
        EXPECT_EQ(end.signal, signal) << end.report;
    }
    const ChildEnd nohup = inChild([] {
        std::signal(SIGHUP, SIG_IGN);
        installInterruptHandler();
        ::raise(SIGHUP);
        ::raise(SIGHUP);
        return std::string(interruptRequested() ? "SIGHUP was taken under nohup" : "");
    });
    EXPECT_EQ(nohup.signal, 0);
    EXPECT_EQ(nohup.report, "");
}

}  // namespace tesmo
