#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "study/result_table.h"
#include "study/study_engine.h"

namespace tesmo {

namespace {

// Cases of every kind of row: finished, refused (a message with a comma and quotes), and cut
// short (cells left empty).
std::vector<CaseOutcome> sampleOutcomes() {
    CaseOutcome finishedCase;
    finishedCase.number = 7;
    finishedCase.refused = false;
    finishedCase.end = RunEnd::Midplane;
    for (std::size_t i = 0; i < kInputCount; ++i) {
        finishedCase.inputs[i] = 0.1 * static_cast<double>(i + 1) + 1e-17;
        finishedCase.inputRead[i] = true;
    }
    for (std::size_t c = 0; c < kResultCount; ++c) {
        finishedCase.results[c] = c == kResultCount - 1 ? 1.0 : 12345.678901234567 / (c + 1);
        finishedCase.reached[c] = true;
    }
    CaseOutcome refused = finishedCase;
    refused.number = 8;
    refused.refused = true;
    refused.end = RunEnd::None;
    refused.message = "Die Platte ist zu dünn, \"Dicke\" prüfen.";
    refused.reached = {};
    refused.inputRead[3] = false;
    CaseOutcome early = finishedCase;
    early.number = 9;
    early.end = RunEnd::Unstable;
    early.message = "instabil";
    early.reached[15] = false;
    return {finishedCase, refused, early};
}

}  // namespace

TEST(ResultTable, ReadsBackWhatTheTableWrote) {
    std::string table = tableHeader();
    for (const CaseOutcome& o : sampleOutcomes())
        table += tableRow(o);
    std::vector<CaseOutcome> read;
    FileProblem problem;
    ASSERT_TRUE(parseResultTable(table, "t.csv", read, problem)) << describe(problem);
    ASSERT_EQ(read.size(), 3u);
    std::string again = tableHeader();
    for (const CaseOutcome& o : read)
        again += tableRow(o);
    EXPECT_EQ(again, table);
    EXPECT_TRUE(read[1].refused);
    EXPECT_EQ(read[2].end, RunEnd::Unstable);
    EXPECT_EQ(read[0].inputs[2], sampleOutcomes()[0].inputs[2]);  // every bit
}

TEST(ResultTable, RefusesWhatIsNotARunnersTable) {
    const std::string row = tableRow(sampleOutcomes()[0]);
    std::string badEnd = row;
    badEnd.replace(badEnd.find("midplane"), 8, "fertig");
    std::string badNumber = row;
    const std::size_t cell = badNumber.find(',') + 1;
    badNumber.replace(cell, badNumber.find(',', cell) - cell, "x.1");
    const std::pair<std::string, std::string> refusals[] = {
        {"case,txt_Dicke\n1,2\n",
         "t.csv, Zeile 1: die erste Zeile ist nicht die Kopfzeile einer Ergebnistabelle von "
         "tesmo-gegen-batch"},
        {tableHeader() + badEnd,
         "t.csv, Zeile 2: „fertig“ ist hier nicht möglich, erwartet wird refused, target, "
         "midplane, stopped, history-full, non-finite oder unstable"},
        {tableHeader() + badNumber,
         "t.csv, Zeile 2: „x.1“ ist nicht eine Zahl in der Spalte „txt_Dicke“"},
        {tableHeader() + "0" + row.substr(1),
         "t.csv, Zeile 2: „0“ ist nicht eine Fallnummer ab 1 in der Spalte „case“"},
        {tableHeader() + "1,2,3\n",
         "t.csv, Zeile 2: die Zeile hat nicht 41 Zellen wie die Kopfzeile"},
    };
    for (const auto& [content, message] : refusals) {
        std::vector<CaseOutcome> read;
        FileProblem problem;
        EXPECT_FALSE(parseResultTable(content, "t.csv", read, problem));
        EXPECT_EQ(describe(problem), message);
        EXPECT_TRUE(read.empty());
    }
}

}  // namespace tesmo
