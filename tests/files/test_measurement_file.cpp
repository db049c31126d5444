#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "files/decimal_number.h"
#include "files/measurement_file.h"
#include "temp_folder.h"

namespace tesmo {

namespace {

std::string refusal(const std::string& content) {
    Measurement m;
    FileProblem problem;
    if (parseMeasurementFile(content, "versuch.csv", m, problem)) return "accepted";
    EXPECT_EQ(m.size(), 0u) << "a refusal leaves the measurement as it was";
    return describe(problem);
}

Measurement parsed(const std::string& content) {
    Measurement m;
    FileProblem problem;
    EXPECT_TRUE(parseMeasurementFile(content, "versuch.csv", m, problem)) << describe(problem);
    return m;
}

}  // namespace

TEST(DecimalNumber, ReadsPlainNumbersWithCommaOrPointAndNothingElse) {
    const std::pair<const char*, double> good[] = {
        {"12,5", 12.5}, {" 0.25 ", 0.25},   {"-3", -3},   {"+4,", 4},
        {",5", 0.5},    {"1,5e-3", 1.5e-3}, {"2E4", 2e4}, {"0", 0}};
    for (const auto& [text, value] : good) {
        double v = -99;
        EXPECT_TRUE(readDecimal(text, v)) << text;
        EXPECT_EQ(v, value) << text;
    }
    for (const char* bad : {"", " ", "1.000,5", "12a", "inf", "nan", "1e", "e5", "--1", "1e999",
                            ",", "1 2", "0x10"}) {
        double v = 0;
        EXPECT_FALSE(readDecimal(bad, v)) << bad;
    }
    // The shortest exact text reads back to every bit, with a decimal comma.
    for (double v : {40.0, 0.004, 4.123456789012345e-05, -1.0 / 3, 1e300}) {
        double back = 0;
        ASSERT_TRUE(readDecimal(exactDecimal(v), back)) << exactDecimal(v);
        EXPECT_EQ(back, v);
        EXPECT_EQ(exactDecimal(v).find('.'), std::string::npos);
    }
    EXPECT_EQ(exactDecimal(40), "40");
}

TEST(MeasurementFile, ReadsTheTimeColumnsAndTheQuantitiesSpreadsheetsWrite) {
    // Semicolons and decimal commas, minutes, an empty cell, a byte-order mark, CR LF.
    Measurement m = parsed("\xEF\xBB\xBFt_min;X;thetaOb\r\n0;0,250;\r\n10;0,238;31,2\r\n\r\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m.zeit[1], 600);
    EXPECT_EQ(m.zeile[1], 3);
    EXPECT_TRUE(m.misst(Messgroesse::X));
    EXPECT_TRUE(m.misst(Messgroesse::thetaOb));
    EXPECT_FALSE(m.misst(Messgroesse::Masse));
    EXPECT_TRUE(std::isnan(m.werte[slot(Messgroesse::thetaOb)][0]));
    EXPECT_EQ(m.werte[slot(Messgroesse::thetaOb)][1], 31.2);

    // Commas between cells and decimal points; hours; masses and shrinkage.
    m = parsed("t_h,m_g,schwind\n0,160.5,0\n0.5,158,0.4\n");
    EXPECT_EQ(m.zeit[1], 1800);
    EXPECT_EQ(m.werte[slot(Messgroesse::Masse)][1], 158);
    EXPECT_EQ(m.werte[slot(Messgroesse::schwind)][1], 0.4);

    // Clock times h:mm:ss with decimal seconds; a row that measures nothing is dropped.
    m = parsed("Zeit;X\n0:00:00;0,25\n0:30:00;\n1:02:03,5;0,2\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m.zeit[1], 3723.5);
    EXPECT_EQ(parsed("t_s;X\n0;0,25\n").zeit[0], 0);
}

TEST(MeasurementFile, RefusalsNameTheLineAndTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "versuch.csv: die Kopfzeile mit den Spaltennamen fehlt"},
        {"X;thetaOb\n0,2;30\n", "Zeile 1: die Kopfzeile nennt keine Zeitspalte"},
        {"t_s;t_min;X\n", "Zeile 1: „t_min“ ist eine zweite Zeitspalte"},
        {"t_s\n0\n", "Zeile 1: die Kopfzeile nennt keine Messgröße"},
        {"t_s;x\n", "Zeile 1: unbekannte Spalte „x“, möglich sind t_s"},
        {"t_s;X;X\n", "Zeile 1: „X“ ist schon einmal angegeben"},
        {"t_s;X\n", "versuch.csv: die Datei enthält keine Messung, nur die Kopfzeile"},
        {"t_s;X\n0;0,2\n10;abc\n", "Zeile 3: „abc“ in „X“ ist keine Zahl"},
        {"t_s;X\n0;0,2\n10;0,1;5\n", "Zeile 3: die Zeile hat nicht 2 Zellen wie die Kopfzeile"},
        {"t_s;X\n10;0,2\n10;0,1\n", "Zeile 3: die Zeit „10“ ist nicht größer als die der Messung"},
        {"t_s;X\n10;0,2\n5;0,1\n", "Zeile 3: die Zeit „5“ ist nicht größer"},
        {"t_s;X\n-1;0,2\n", "Zeile 2: die Zeit „-1“ liegt vor dem Beginn der Trocknung"},
        {"t_s;X\n;0,2\n", "Zeile 2: die Zeile hat Messwerte, aber keine Zeit"},
        {"Zeit;X\n1:75:00;0,2\n", "Zeile 2: „1:75:00“ ist keine Zeit der Form h:mm:ss"},
        {"Zeit;X\n90;0,2\n", "„90“ ist keine Zeit der Form h:mm:ss"},
        {"t_s;m_g\n0;-3\n", "Zeile 2: die Masse „-3“ ist negativ"},
        {"t_s;thetaOb\n0;-300\n", "Zeile 2: die Temperatur „-300“ liegt unter dem absoluten"},
        {"t_s;X\n0;\"0,2\n", "Zeile 2: das Anführungszeichen wird bis zum Ende der Datei nicht"},
        {"t_s;X\n0;0,2\n\xFF", "Zeile 3: ungültige Zeichenkodierung"},
    };
    for (const auto& [content, expected] : cases)
        EXPECT_NE(refusal(content).find(expected), std::string::npos) << content << "\n"
                                                                      << refusal(content);
}

using MeasurementFileOnDisk = TempFolder;

TEST_F(MeasurementFileOnDisk, ReadsAFileAndNamesAMissingOne) {
    put("kurve.csv", "t_min;X\n0;0,25\n");
    Measurement m;
    FileProblem problem;
    ASSERT_TRUE(readMeasurementFile(path("kurve.csv"), m, problem)) << describe(problem);
    EXPECT_EQ(m.size(), 1u);
    EXPECT_FALSE(readMeasurementFile(path("fehlt.csv"), m, problem));
    EXPECT_NE(describe(problem).find("fehlt.csv: kann nicht gelesen werden – die Datei existiert "
                                     "nicht"),
              std::string::npos)
        << describe(problem);
}

}  // namespace tesmo
