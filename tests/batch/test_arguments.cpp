#include <gtest/gtest.h>

#include <string>

#include "batch/arguments.h"

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

TEST(Arguments, ExportOptionsBelongToASingleRun) {
    const ParsedArguments p =
        parseArguments({"--report", "b.pdf", "--svg=out dir", "--png", "png", "txt_mue=30"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.reportPath, "b.pdf");
    EXPECT_EQ(p.options.svgFolder, "out dir");
    EXPECT_EQ(p.options.pngFolder, "png");
    EXPECT_TRUE(p.options.wantsExports());
    EXPECT_FALSE(parseArguments({"txt_mue=30"}).options.wantsExports());
    for (const char* option : {"--report=b.pdf", "--svg=d", "--png=d", "--plot=d"})
        EXPECT_NE(parseArguments({option, "--vary", "txt_mue=20:30:5"}).error, "") << option;
    EXPECT_EQ(parseArguments({"--plot", "diagramme"}).options.plotFolder, "diagramme");
}

TEST(Arguments, TheTableFormatGoesWithATable) {
    EXPECT_EQ(parseArguments({"--vary", "txt_mue=20:30:5"}).options.tableFormat, TableFormat::Csv);
    EXPECT_EQ(
        parseArguments({"--table-format", "de", "--vary", "txt_mue=20:30:5"}).options.tableFormat,
        TableFormat::German);
    EXPECT_EQ(parseArguments({"--table-format=de", "--csv", "h.csv"}).options.tableFormat,
              TableFormat::German);
    EXPECT_NE(parseArguments({"--table-format", "xlsx", "--csv", "h.csv"}).error, "");
    EXPECT_NE(parseArguments({"--table-format", "de"}).error, "");  // no table written
}

}  // namespace tesmo
