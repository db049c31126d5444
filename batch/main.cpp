// tesmo-gegen-batch: one run of the drying model without a window (see --help).
#include <iostream>
#include <string_view>
#include <vector>

#include "batch/batch_run.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const int status = tesmo::runBatch(args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : tesmo::kExitWriteFailed;
}
