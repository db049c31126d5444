// tesmo-gegen-batch: one run of the drying model without a window (see --help).
#include <iostream>
#include <string_view>
#include <vector>

#include "batch/batch_run.h"
#include "files/atomic_file.h"

int main(int argc, char** argv) {
    // A signal that ends the runner (before its own handlers take Ctrl-C, SIGTERM and SIGHUP,
    // or on a second one) leaves no temporary file of a file being written.
    tesmo::removeTemporaryFilesOnFatalSignals();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const int status = tesmo::runBatch(args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : tesmo::kExitWriteFailed;
}
