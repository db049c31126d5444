#include <gtest/gtest.h>

#include <string>

#include "batch/arguments.h"

namespace tesmo {

TEST(Arguments, FieldsOptionsAndDefaults) {
    const ParsedArguments p = parseArguments(
        {"txt_Dicke=12,5", "--human", "--csv", "out.csv", "txt_XZiel=", "--progress"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.texts[Control::txt_Dicke], "12,5");
    EXPECT_EQ(p.options.texts[Control::txt_XZiel], "");  // an empty text is a text
    EXPECT_EQ(p.options.texts[Control::txt_rhos], "1850");
    EXPECT_TRUE(p.options.human);
    EXPECT_TRUE(p.options.progress);
    EXPECT_EQ(p.options.csvPath, "out.csv");
    EXPECT_EQ(parseArguments({"--csv=a=b.csv"}).options.csvPath, "a=b.csv");
    EXPECT_EQ(parseArguments({"txt_mue=1=2"}).options.texts[Control::txt_mue], "1=2");
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

TEST(Arguments, ExportOptionsTakeTheirValueAfterABlankOrAnEqualsSign) {
    const ParsedArguments p = parseArguments(
        {"--report", "b.pdf", "--svg=out dir", "txt_mue=30", "--png", "--png-dir", "--version"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.reportPath, "b.pdf");
    EXPECT_EQ(p.options.svgFolder, "out dir");
    EXPECT_EQ(p.options.pngFolder, "--png-dir");  // the next argument is the value, whatever it is
    EXPECT_EQ(p.options.texts[Control::txt_mue], "30");
    EXPECT_TRUE(p.options.version);
    for (auto args : std::initializer_list<std::vector<std::string_view>>{
             {"--report"}, {"--svg="}, {"--png", ""}, {"--reports=x"}, {"--svgx"}})
        EXPECT_NE(parseArguments(args).error, "") << args.front();
}

}  // namespace tesmo
