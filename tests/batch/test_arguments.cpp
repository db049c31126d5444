#include <gtest/gtest.h>

#include <string>

#include "batch/arguments.h"

namespace tesmo {

TEST(Arguments, FieldsOptionsAndDefaults) {
    const ParsedArguments p = parseArguments(
        {"txt_Dicke=12,5", "--human", "--csv", "out.csv", "txt_XZiel=", "--progress"});
    ASSERT_EQ(p.error, "");
    const InputTexts texts = applyOverrides(defaultInputTexts(), p.options);
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
    for (const char* option : {"--report=b.pdf", "--svg=d", "--png=d"})
        EXPECT_NE(parseArguments({option, "--vary", "txt_mue=20:30:5"}).error, "") << option;
}

TEST(Arguments, RunModesOverrideTheCaseAndRefuseUnknownWords) {
    InputTexts base = defaultInputTexts();
    base.optionen.luftbilanz = Luftbilanz::Korrigiert;  // as from a case file
    const ParsedArguments p = parseArguments({"--klima", "konstant", "--luftbilanz=standard"});
    ASSERT_EQ(p.error, "");
    const InputTexts texts = applyOverrides(base, p.options);
    EXPECT_EQ(texts.optionen.klima, Klima::Konstant);
    EXPECT_EQ(texts.optionen.luftbilanz, Luftbilanz::Standard);
    // Without the options the case's modes stay.
    EXPECT_EQ(applyOverrides(base, parseArguments({}).options).optionen, base.optionen);

    EXPECT_EQ(parseArguments({"--klima", "kammer"}).error,
              "--klima kennt „kammer“ nicht, möglich ist gegenstrom oder konstant");
    EXPECT_NE(parseArguments({"--klima"}).error, "");
    EXPECT_NE(parseArguments({"--klima=konstant", "--klima=gegenstrom"}).error, "");
}

}  // namespace tesmo
