#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "batch/arguments.h"
#include "batch/csv.h"

namespace tesmo {

TEST(Arguments, FieldsOptionsAndDefaults) {
    const ParsedArguments p = parseArguments(
        {"txt_Dicke=12,5", "--human", "--csv", "out.csv", "txt_XZiel=", "--progress"});
    ASSERT_EQ(p.error, "");
    const InputTexts texts = applyOverrides(defaultInputTexts(), p.options.overrides);
    EXPECT_EQ(texts[Control::txt_Dicke], "12,5");
    EXPECT_EQ(texts[Control::txt_XZiel], "");  // an empty text is a text
    EXPECT_EQ(texts[Control::txt_rhos], "1850");
    EXPECT_TRUE(p.options.human);
    EXPECT_TRUE(p.options.progress);
    EXPECT_EQ(p.options.csvPath, "out.csv");
    EXPECT_EQ(parseArguments({"--csv=a=b.csv"}).options.csvPath, "a=b.csv");
    EXPECT_EQ(parseArguments({"txt_mue=1=2"}).options.overrides.at(0).text, "1=2");
    EXPECT_TRUE(parseArguments({"--help"}).options.help);
}

TEST(Arguments, RefusesWhatIsNotAnInputFieldOrOption) {
    for (auto args : std::initializer_list<std::vector<std::string_view>>{
             {"txt_Zeit=5"},   // an output field
             {"txt_dicke=5"},  // names are case-sensitive
             {"txt_Dicke"},    // no text
             {"=5"},
             {"--csv"},
             {"--csv="},
             {"--verbose"},
             {"-x"}}) {
        EXPECT_NE(parseArguments(args).error, "") << args.front();
    }
}

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
