#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "files/case_table.h"
#include "files/csv_writer.h"
#include "files/file_text.h"
#include "temp_folder.h"

namespace tesmo {

namespace {

using Cells = std::vector<std::optional<std::string>>;

struct Row {
    int line;
    Cells cells;
};

std::vector<Row> rowsOf(const CaseTable& table) {
    std::vector<Row> rows;
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        Row row{table.line(r), {}};
        for (std::size_t c = 0; c < table.columns().size(); ++c) {
            const auto cell = table.cell(r, c);
            row.cells.push_back(cell ? std::optional<std::string>(*cell) : std::nullopt);
        }
        rows.push_back(row);
    }
    return rows;
}

struct Dialect {
    const char* what;
    std::string content;
    std::vector<Control> columns;
    std::vector<Row> rows;
};

std::string parseMessage(const std::string& content) {
    CaseTable table;
    FileProblem problem;
    if (parseCaseTable(content, "faelle.csv", table, problem)) return "accepted";
    EXPECT_EQ(table.rowCount(), 0u) << "a refusal leaves the table as it was";
    return describe(problem);
}

const auto D = Control::txt_Dicke;
const auto X = Control::txt_XAnf;

}  // namespace

TEST(CaseTable, ReadsTheDialectsSpreadsheetsWrite) {
    const std::optional<std::string> none;
    const Dialect dialects[] = {
        {"semicolons, decimal commas unquoted, empty cell",
         "txt_Dicke;txt_XAnf\n12,5;0,30\n15;\n",
         {D, X},
         {{2, {"12,5", "0,30"}}, {3, {"15", none}}}},
        {"commas, decimal commas quoted, CR LF, no line end at the end",
         "txt_Dicke,txt_XAnf\r\n\"12,5\",\"0,30\"\r\n15,\"\"",
         {D, X},
         {{2, {"12,5", "0,30"}}, {3, {"15", none}}}},
        {"byte-order mark, quoted header, blanks around names, cells keep blanks",
         "\xEF\xBB\xBF\"txt_XAnf\"; txt_Dicke \n 0,3 ;\"a;b\"\n",
         {X, D},
         {{2, {" 0,3 ", "a;b"}}}},
        {"quotes with line breaks and doubled quotes; the next row's line follows",
         "txt_Dicke;txt_XAnf\n\"1\n2\r\n3\";\"x\"\"y\"\"\"\n4;5\r6;7\n",
         {D, X},
         {{2, {"1\n2\r\n3", "x\"y\""}}, {5, {"4", "5"}}, {6, {"6", "7"}}}},
        {"one column: an empty line between rows is a row, at the end it is ignored",
         "txt_Dicke\n1\n\n\"\"\n2\n\n\r\n\n",
         {D},
         {{2, {"1"}}, {3, {none}}, {4, {none}}, {5, {"2"}}}},
        {"one column: a comma belongs to the text", "txt_Dicke\n12,5\n", {D}, {{2, {"12,5"}}}},
        {"stray quote inside an unquoted cell is text",
         "txt_Dicke\n12\"5\n",
         {D},
         {{2, {"12\"5"}}}},
    };
    for (const Dialect& d : dialects) {
        CaseTable table;
        FileProblem problem;
        ASSERT_TRUE(parseCaseTable(d.content, "faelle.csv", table, problem))
            << d.what << ": " << describe(problem);
        EXPECT_EQ(table.columns(), d.columns) << d.what;
        const std::vector<Row> rows = rowsOf(table);
        ASSERT_EQ(rows.size(), d.rows.size()) << d.what;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(rows[r].line, d.rows[r].line) << d.what << ", row " << r;
            EXPECT_EQ(rows[r].cells, d.rows[r].cells) << d.what << ", row " << r;
        }
    }
}

TEST(CaseTable, RowsFillTheBaseTexts) {
    CaseTable table;
    FileProblem problem;
    ASSERT_TRUE(parseCaseTable("txt_mue;txt_Dicke\n;7\n", "t.csv", table, problem));
    InputTexts base = defaultInputTexts();
    base[Control::txt_mue] = "base";
    const InputTexts texts = table.texts(0, base);
    EXPECT_EQ(texts[Control::txt_mue], "base");
    EXPECT_EQ(texts[Control::txt_Dicke], "7");
    EXPECT_EQ(texts[Control::txt_rhos], "1850");
}

TEST(CaseTable, RefusesWithFileLineAndReason) {
    const std::string header = "txt_Dicke;txt_XAnf\n";
    const std::pair<std::string, std::string> refusals[] = {
        {"", "faelle.csv: die Kopfzeile mit den Namen der Eingabefelder fehlt"},
        {"\xEF\xBB\xBF", "faelle.csv: die Kopfzeile mit den Namen der Eingabefelder fehlt"},
        {"\ntxt_Dicke\n1\n",
         "faelle.csv, Zeile 1: die Kopfzeile mit den Namen der Eingabefelder fehlt"},
        {"txt_Dicke;txt_Dike\n1;2\n", "faelle.csv, Zeile 1: unbekannter Name „txt_Dike“"},
        {"txt_Dicke;txt_Dicke\n1;2\n",
         "faelle.csv, Zeile 1: „txt_Dicke“ ist schon einmal angegeben"},
        {"txt_Dicke;;txt_XAnf\n1;2;3\n",
         "faelle.csv, Zeile 1: die 2. Spalte der Kopfzeile hat keinen Namen"},
        {"txt_Dicke;txt_XAnf;\n1;2;\n",
         "faelle.csv, Zeile 1: die 3. Spalte der Kopfzeile hat keinen Namen"},
        {header, "faelle.csv: die Tabelle enthält keinen Fall, nur die Kopfzeile"},
        {header + "\n\r\n", "faelle.csv: die Tabelle enthält keinen Fall, nur die Kopfzeile"},
        {header + "1;2\n3;4;5\n",
         "faelle.csv, Zeile 3: die Zeile hat nicht 2 Zellen wie die Kopfzeile"},
        {header + "1\n", "faelle.csv, Zeile 2: die Zeile hat nicht 2 Zellen wie die Kopfzeile"},
        {header + std::string(100000, ';') + "\n",
         "faelle.csv, Zeile 2: die Zeile hat nicht 2 Zellen wie die Kopfzeile"},
        {"txt_Dicke,txt_XAnf\n12,5,0,3\n",
         "faelle.csv, Zeile 2: die Zeile hat nicht 2 Zellen wie die Kopfzeile; wenn Kommas die "
         "Zellen trennen, muss ein Text mit Dezimalkomma in Anführungszeichen stehen"},
        {header + "1;2\n\n3;4\n", "faelle.csv, Zeile 3: leere Zeile zwischen den Fällen"},
        {header + "1;\"2\n3;4\n",
         "faelle.csv, Zeile 2: das Anführungszeichen wird bis zum Ende der Datei nicht "
         "geschlossen"},
        {header + "\"a\nb\";\"1\"x\n",
         "faelle.csv, Zeile 3: nach einem schließenden Anführungszeichen muss ein Trennzeichen "
         "oder das Zeilenende folgen"},
        {header + "1;2\n\"x\n\";" + std::string(201, '9') + "\n",
         "faelle.csv, Zeile 4: der Text für „txt_XAnf“ ist länger als 200 Zeichen"},
        {header + "1;2\x01\n",
         "faelle.csv, Zeile 2: der Text für „txt_XAnf“ enthält einen Zeilenumbruch oder ein "
         "anderes Steuerzeichen"},
        {header + "1;2\n3;\xFF\n",
         "faelle.csv, Zeile 3: ungültige Zeichenkodierung, die Datei muss in UTF-8 gespeichert "
         "sein"},
    };
    for (const auto& [content, message] : refusals)
        EXPECT_EQ(parseMessage(content), message) << content.substr(0, 200);
}

TEST(CaseTable, LimitsAreInclusive) {
    std::string row = std::string(200, '9') + ";";
    for (int i = 0; i < 200; ++i)
        row += "ß";
    EXPECT_EQ(parseMessage("txt_Dicke;txt_XAnf\n" + row), "accepted");
    // Blanks around a header name are dropped: they pad the file to its largest size.
    std::string content = "txt_Dicke;";
    content += std::string(kMaxCaseTableBytes - content.size() - row.size() - 9, ' ');
    content += "txt_XAnf\n" + row;
    ASSERT_EQ(content.size(), kMaxCaseTableBytes);
    EXPECT_EQ(parseMessage(content), "accepted");
    EXPECT_EQ(parseMessage(content + "\n"), "faelle.csv: die Datei ist größer als 64 MiB");
}

TEST(CsvWriter, QuotesWhatWouldOtherwiseBeMisreadAndReadsBackTheSame) {
    const std::pair<std::string, std::string> fields[] = {
        {"12,5", "12,5"},
        {"a;b", "\"a;b\""},
        {"x\"y", "\"x\"\"y\""},
        {"1\n2", "\"1\n2\""},
        {"1\r2", "\"1\r2\""},
        {" 3 ", " 3 "},
        {"", ""},
    };
    for (const auto& [field, written] : fields) {
        std::string out;
        appendCsvField(out, field, ';');
        EXPECT_EQ(out, written) << field;
    }
    std::string comma;
    appendCsvField(comma, "12,5", ',');
    EXPECT_EQ(comma, "\"12,5\"");

    for (const char separator : {';', ','}) {
        std::string csv;
        appendCsvRow(csv, {"txt_Dicke", "txt_XAnf"}, separator);
        appendCsvRow(csv, {"12,5", "a;b,\"c\"\r\nd"}, separator);
        appendCsvRow(csv, {"", "x"}, separator);
        CaseTable table;
        FileProblem problem;
        ASSERT_TRUE(parseCaseTable(csv, "t.csv", table, problem)) << describe(problem);
        EXPECT_EQ(table.separator(), separator);
        const std::vector<Row> rows = rowsOf(table);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].cells, (Cells{"12,5", "a;b,\"c\"\r\nd"}));
        EXPECT_EQ(rows[1].cells, (Cells{std::nullopt, "x"}));
        EXPECT_EQ(rows[1].line, 4);
    }
    std::string single;
    appendCsvRow(single, {""}, ';');
    EXPECT_EQ(single, "\"\"\n");  // not a blank line
}

class CaseTableOnDisk : public TempFolder {};

TEST_F(CaseTableOnDisk, ReadsAFileAndNamesItInProblems) {
    put("f.csv", "txt_Dicke\n20\n");
    CaseTable table;
    FileProblem problem;
    ASSERT_TRUE(readCaseTable(path("f.csv"), table, problem)) << describe(problem);
    EXPECT_EQ(table.rowCount(), 1u);
    put("g.csv", "txt_Dicke\n\"20\n");
    EXPECT_FALSE(readCaseTable(path("g.csv"), table, problem));
    EXPECT_EQ(describe(problem),
              path("g.csv") +
                  ", Zeile 2: das Anführungszeichen wird bis zum Ende der Datei nicht geschlossen");
    EXPECT_EQ(table.rowCount(), 1u);
}

}  // namespace tesmo
