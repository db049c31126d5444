#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

// An option that would replace an earlier one or do nothing is a usage error, never dropped
// without a word: a second --case, a run's output with --save-case (which runs nothing), two
// outputs into one file, an output over an input of another kind.
TEST(Arguments, RefusesWhatWouldBeDroppedWithoutAWord) {
    const std::pair<std::vector<std::string_view>, std::string> refused[] = {
        {{"--case", "a.tgcase", "--case=b.tgcase"}, "--case darf nur einmal angegeben werden"},
        {{"--study", "a", "--vary", "txt_mue=1:2:1", "--study", "b"},
         "--study darf nur einmal angegeben werden"},
        {{"--csv", "a.csv", "--csv", "a.csv"}, "--csv darf nur einmal angegeben werden"},
        {{"--save-case", "s.tgcase", "--report", "r.pdf"},
         "--save-case rechnet nichts; --report braucht einen Lauf"},
        {{"--save-case", "s.tgcase", "--png", "d"},
         "--save-case rechnet nichts; --png braucht einen Lauf"},
        {{"--progress", "--save-case", "s.tgcase"},
         "--save-case rechnet nichts; --progress braucht einen Lauf"},
        {{"--csv", "out/a.pdf", "--report", "out/./a.pdf"},
         "--csv und --report schreiben beide in out/a.pdf"},
        {{"--case", "f.tgcase", "--csv", "f.tgcase"},
         "--csv würde die Datei von --case überschreiben: f.tgcase"},
        {{"--cases", "f.csv", "--table", "f.csv"},
         "--table würde die Datei von --cases überschreiben: f.csv"},
    };
    for (const auto& [args, message] : refused)
        EXPECT_EQ(parseArguments(args).error, message) << args.front();

    // Still allowed: several --vary, and a case file saved over the one it was read from.
    EXPECT_EQ(parseArguments({"--vary", "txt_mue=20:30:5", "--vary", "txt_Dicke=10;20"}).error, "");
    EXPECT_EQ(
        parseArguments({"--case", "f.tgcase", "txt_Dicke=30", "--save-case", "./f.tgcase"}).error,
        "");
}

}  // namespace tesmo
