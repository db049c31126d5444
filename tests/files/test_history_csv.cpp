#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "files/history_csv.h"
#include "files/table_format.h"
#include "temp_folder.h"

namespace tesmo {

namespace {

std::string written(const RunState& st, const InputTexts& texts, TableFormat format) {
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(f);
    EXPECT_TRUE(writeHistoriesCsv(f, st, texts, format));
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

// A plate of 6.2 % drying shrinkage whose surface has passed the end of shrinkage: the
// records grow on linearly (the model's rule), the file stops at 6.2 %.
std::unique_ptr<RunState> crossingRun() {
    auto st = std::make_unique<RunState>();
    st->linTrSchwind = 6.2;
    st->HistIndex = 2;
    st->VerlaufXmom = {};
    st->VerlaufXmom[0] = 0.25;
    st->VerlaufXmom[1] = 0.1 + 0.2;
    st->VerlaufRate[2] = -1e-300;
    st->VerlaufSchwindOb[1] = 6.2;
    st->VerlaufSchwindOb[2] = 13.5;  // the linear rule below XSchwEnde
    st->VerlaufSchwindK[2] = 3.1;
    st->VerlaufXmom[3] = 99;  // beyond HistIndex: not written
    return st;
}

InputTexts texts() {
    InputTexts t = defaultInputTexts();
    t[Control::txt_Dicke] = "15,0";
    t[Control::txt_mue] = " 20 ";  // blanks that belong to the text
    return t;
}

}  // namespace

TEST(HistoryCsv, InputLinesThenHeaderThenRecordsInTheShortestFormWithShrinkageCapped) {
    const auto st = crossingRun();
    const std::string text = written(*st, texts(), TableFormat::Csv);
    const std::string header =
        "VerlaufXmom,VerlaufXOb,VerlaufXK,VerlaufSpiegel,VerlaufThetaLuft,VerlaufThetaOb,"
        "VerlaufThetaK,VerlaufRate,VerlaufSchwindOb,VerlaufSchwindK\n";
    EXPECT_EQ(text.substr(0, 20), "# txt_Dicke = 15,0\n#");
    EXPECT_NE(text.find("# txt_mue = \" 20 \"\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.find("Verlauf")), header +
                                                     "0.25,0,0,0,0,0,0,0,0,0\n"
                                                     "0.30000000000000004,0,0,0,0,0,0,0,6.2,0\n"
                                                     "0,0,0,0,0,0,0,-1e-300,6.2,3.1\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '#'), kInputCount);

    // For a German spreadsheet: a byte-order mark, ';' and the decimal comma.
    const std::string german = written(*st, texts(), TableFormat::German);
    EXPECT_EQ(german.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(german.find("0,30000000000000004;0;0;0;0;0;0;0;6,2;0\n"), std::string::npos);
    EXPECT_NE(german.find("VerlaufXmom;VerlaufXOb;"), std::string::npos);
}

TEST(HistoryCsv, ATableReadsBackBitForBitWithItsInputsInEitherFormat) {
    auto st = std::make_unique<RunState>();
    st->linTrSchwind = std::numeric_limits<double>::infinity();  // nothing capped here
    st->HistIndex = 300;
    std::mt19937_64 random(12345);
    for (const HistoryColumn& c : kHistoryColumns)
        for (int j = 0; j <= st->HistIndex; ++j) {
            // Any finite double, from bit patterns: denormals, huge and tiny exponents.
            double v = 0;
            do {
                v = std::bit_cast<double>(random());
            } while (!std::isfinite(v));
            (st.get()->*c.array)[static_cast<std::size_t>(j)] = v;
        }
    for (TableFormat format : {TableFormat::Csv, TableFormat::German}) {
        HistoryTable table;
        FileProblem problem;
        ASSERT_TRUE(parseHistoryTable(written(*st, texts(), format), "h.csv", table, problem))
            << describe(problem);
        EXPECT_TRUE(table.hasInputs);
        EXPECT_EQ(table.format, format);
        EXPECT_EQ(table.inputs.text, texts().text);
        EXPECT_EQ(table.inputs.optionen, RunOptions{});
        ASSERT_EQ(table.records(), 301u);
        for (std::size_t c = 0; c < kHistoryColumns.size(); ++c)
            for (std::size_t j = 0; j < 301; ++j)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(table.columns[c][j]),
                          std::bit_cast<std::uint64_t>((st.get()->*kHistoryColumns[c].array)[j]))
                    << kHistoryColumns[c].name << " record " << j;
    }
}

// A run in another mode says so in its file, so that the file shown again is that run's.
TEST(HistoryCsv, AChosenRunModeIsAnInputLineAndReadsBack) {
    const auto st = crossingRun();
    InputTexts chosen = texts();
    chosen.optionen.klima = Klima::Konstant;
    const std::string text = written(*st, chosen, TableFormat::Csv);
    EXPECT_NE(text.find("# txt_KappaSteig = 6,7\n# klima = konstant\nVerlaufXmom,"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("luftbilanz"), std::string::npos);  // at its default: no line
    HistoryTable table;
    FileProblem problem;
    ASSERT_TRUE(parseHistoryTable(text, "h.csv", table, problem)) << describe(problem);
    EXPECT_EQ(table.inputs.optionen, chosen.optionen);
    EXPECT_EQ(table.inputs.text, chosen.text);
}

TEST(HistoryCsv, AFileOfTheEarlierFormatOpensWithoutInputs) {
    HistoryTable table;
    FileProblem problem;
    ASSERT_TRUE(parseHistoryTable(
        "VerlaufXmom,VerlaufXOb,VerlaufXK,VerlaufSpiegel,VerlaufThetaLuft,VerlaufThetaOb,"
        "VerlaufThetaK,VerlaufRate,VerlaufSchwindOb,VerlaufSchwindK\r\n"
        "0.25,0,0,0,35,30.037307739257812,30.037307739257812,0.36755942258695889,0,0\r\n"
        "0.24999834652447073,0.24985914895438721,0.25,0,35,30.037307739257812,"
        "30.037307739257812,0.36755942258695889,0.0076317365965544171,0\r\n\r\n",
        "alt.csv", table, problem))
        << describe(problem);
    EXPECT_FALSE(table.hasInputs);
    EXPECT_EQ(table.inputs.text, defaultInputTexts().text);
    ASSERT_EQ(table.records(), 2u);
    EXPECT_EQ(table.columns[8][1], 0.0076317365965544171);
}

TEST(HistoryCsv, WhatIsNotAHistoryTableIsRefusedWithItsLine) {
    const std::string header =
        "VerlaufXmom,VerlaufXOb,VerlaufXK,VerlaufSpiegel,VerlaufThetaLuft,VerlaufThetaOb,"
        "VerlaufThetaK,VerlaufRate,VerlaufSchwindOb,VerlaufSchwindK\n";
    const std::string row = "1,2,3,4,5,6,7,8,9,10\n";
    struct Case {
        std::string content;
        ProblemKind kind;
        int line;
    };
    const Case cases[] = {
        {"case,txt_Dicke\n1,20\n", ProblemKind::NotHistoryTable, 1},
        {"# txt_Dicke = 20\n# txt_Dicke = 21\n" + header + row, ProblemKind::DuplicateName, 2},
        {header + row + "1,2,3\n", ProblemKind::WrongCellCount, 3},
        {header + "1,2,3,4,5,6,7,8,9,zehn\n", ProblemKind::NotANumber, 2},
        {header + row + "\n" + row, ProblemKind::BlankLine, 3},
        {header, ProblemKind::NoDataRows, 0},
        {"# nur ein Kommentar\n", ProblemKind::NotHistoryTable, 0},
    };
    for (const Case& c : cases) {
        HistoryTable table;
        FileProblem problem;
        EXPECT_FALSE(parseHistoryTable(c.content, "h.csv", table, problem)) << c.content;
        EXPECT_EQ(problem.kind, c.kind) << c.content;
        EXPECT_EQ(problem.line, c.line) << c.content;
        EXPECT_FALSE(describe(problem).empty());
    }
}

TEST(TableFormat, EveryDoubleReadsBackFromItsShortestTextInBothFormats) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        double v = std::bit_cast<double>(random());
        if (!std::isfinite(v)) continue;
        for (TableFormat format : {TableFormat::Csv, TableFormat::German}) {
            std::string text;
            appendTableNumber(text, v, format);
            double back = 0;
            ASSERT_TRUE(readTableNumber(text, back)) << text;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v)) << text;
            EXPECT_EQ(text.find(format == TableFormat::Csv ? ',' : '.'), std::string::npos);
        }
    }
    std::string typed;
    appendTableNumber(typed, 0.05, TableFormat::Csv);
    appendTableNumber(typed += ' ', 0.05, TableFormat::German);
    EXPECT_EQ(typed, "0.05 0,05");
    double v = 0;
    EXPECT_FALSE(readTableNumber("", v));
    EXPECT_FALSE(readTableNumber("12 mm", v));
    EXPECT_FALSE(readTableNumber("1,2,3", v));
}

}  // namespace tesmo
