#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "batch/batch_run.h"
#include "model/inputs.h"
#include "model/run_state.h"

namespace tesmo {

TEST(BatchRun, CsvRowsAreTheRecordsZeroToHistIndex) {
    const std::string csv = testing::TempDir() + "tesmo_batch_run.csv";
    std::ostringstream out, err;
    ASSERT_EQ(runBatch({"txt_Dicke=6", "--csv", csv}, out, err), kExitFinished) << err.str();
    std::ifstream in(csv);
    long lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    EXPECT_EQ(lines, kInputCount + 1 + programRunState().HistIndex + 1);
    EXPECT_EQ(err.str(), "");
}

TEST(BatchRun, AFileThatCannotBeWrittenIsReportedAfterTheOutput) {
    std::ostringstream out, err;
    EXPECT_EQ(runBatch({"txt_Dicke=4", "--csv=/nonexistent-dir/h.csv"}, out, err),
              kExitWriteFailed);
    EXPECT_NE(out.str().find("end\t"), std::string::npos);
    EXPECT_NE(err.str().find("/nonexistent-dir/h.csv"), std::string::npos);
}

}  // namespace tesmo
