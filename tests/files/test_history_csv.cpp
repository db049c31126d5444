#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "files/history_csv.h"

namespace tesmo {

TEST(Csv, HeaderThenOneRowPerRecordInFullPrecision) {
    auto st = std::make_unique<RunState>();
    st->HistIndex = 2;
    st->VerlaufXmom[0] = 0.25;
    st->VerlaufXmom[1] = 0.1 + 0.2;
    st->VerlaufRate[2] = -1e-300;
    st->VerlaufXmom[3] = 99;  // beyond HistIndex: not written
    std::FILE* f = std::tmpfile();
    ASSERT_TRUE(f);
    ASSERT_TRUE(writeHistoriesCsv(f, *st));
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(f);
    EXPECT_EQ(text,
              "VerlaufXmom,VerlaufXOb,VerlaufXK,VerlaufSpiegel,VerlaufThetaLuft,VerlaufThetaOb,"
              "VerlaufThetaK,VerlaufRate,VerlaufSchwindOb,VerlaufSchwindK\n"
              "0.25,0,0,0,0,0,0,0,0,0\n"
              "0.30000000000000004,0,0,0,0,0,0,0,0,0\n"
              "0,0,0,0,0,0,0,-1e-300,0,0\n");
    EXPECT_FALSE(writeHistoriesCsv("/nonexistent-dir/x.csv", *st));
}

}  // namespace tesmo
