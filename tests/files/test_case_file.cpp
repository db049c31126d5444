#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include <filesystem>

#include "files/case_file.h"
#include "files/case_table.h"
#include "files/file_text.h"
#include "files/study_file.h"
#include "temp_folder.h"
#include "tests/child_process.h"

namespace tesmo {

namespace {

const std::string kHead = "format = tesmo-gegen-case 1\n";

// Texts that only survive a round trip if the writer quotes and the reader unquotes exactly.
InputTexts awkwardTexts() {
    InputTexts t = defaultInputTexts();
    const std::vector<std::string> texts = {
        "",
        " 20,0",
        "20,0\t",
        "\t ",
        "\"",
        "\"\"",
        "\"12,5\"",
        "\" a \"",
        "\"x",
        "y\"",
        "a = b # c",
        "# kein Kommentar",
        "Wärme in W/(m² K) – äöüß €",
        std::string(200, 'x'),
        [] {
            std::string s;
            for (int i = 0; i < 200; ++i)
                s += "ä";
            return s;
        }(),
        "0,1\tmm",
        "\xF0\x9D\x84\x9E",
    };
    for (std::size_t i = 0; i < texts.size(); ++i)
        t.text[i] = texts[i];
    return t;
}

class CaseFileOnDisk : public TempFolder {};

struct Refusal {
    std::string content;
    std::string message;
};

std::string parseMessage(const std::string& content) {
    InputTexts out = defaultInputTexts();
    FileProblem problem;
    const bool ok = parseCaseFile(content, "fall.tgcase", defaultInputTexts(), out, problem);
    if (ok) return "accepted";
    EXPECT_EQ(out.text, defaultInputTexts().text) << "a refusal leaves the texts as they were";
    return describe(problem);
}

}  // namespace

TEST_F(CaseFileOnDisk, RoundTripKeepsEveryTextByteForByte) {
    const InputTexts texts = awkwardTexts();
    FileProblem problem;
    ASSERT_TRUE(writeCaseFile(path("fall.tgcase"), texts, problem)) << describe(problem);
    InputTexts back;
    ASSERT_TRUE(readCaseFile(path("fall.tgcase"), InputTexts{}, back, problem))
        << describe(problem);
    for (int i = 0; i < kInputCount; ++i)
        EXPECT_EQ(back.text[i], texts.text[i]) << controlName(controlAt(i));

    // Written again, the file is the same: the format is stable.
    const std::string first = get("fall.tgcase");
    ASSERT_TRUE(writeCaseFile(path("fall.tgcase"), back, problem));
    EXPECT_EQ(get("fall.tgcase"), first);
}

TEST(CaseFile, WritesFormatLineCaptionsAndAllFieldsInTheWindowsOrder) {
    std::string content;
    FileProblem problem;
    ASSERT_TRUE(caseFileText(defaultInputTexts(), content, problem));
    EXPECT_EQ(content.rfind(kHead + "# ", 0), 0u) << content;
    EXPECT_NE(content.find("\n# Anfangsdicke der Platte in mm\ntxt_Dicke = 20,0\n"
                           "# Dichte der getrockneten Masse in kg/m³\ntxt_rhos = 1850\n"),
              std::string::npos);
    EXPECT_NE(content.find("# Außenlufttemperatur in °C\ntxt_AussenluftTemp = 15\n"),
              std::string::npos);  // the caption's trailing blank is not written
    EXPECT_TRUE(content.ends_with("\ntxt_KappaSteig = 6,7\n"));
}

TEST(CaseFile, RunModesAreWrittenOnlyWhenChosenAndReadBack) {
    std::string plain, chosen;
    FileProblem problem;
    ASSERT_TRUE(caseFileText(defaultInputTexts(), plain, problem));
    EXPECT_EQ(plain.find("klima"), std::string::npos) << "a plain case reads as it always did";

    InputTexts texts = defaultInputTexts();
    texts.optionen = {Klima::Konstant, Luftbilanz::Korrigiert};
    ASSERT_TRUE(caseFileText(texts, chosen, problem));
    EXPECT_TRUE(chosen.ends_with("\nklima = konstant\n# Luftbilanz\nluftbilanz = korrigiert\n"))
        << chosen;
    InputTexts back;
    ASSERT_TRUE(parseCaseFile(chosen, "fall.tgcase", defaultInputTexts(), back, problem))
        << describe(problem);
    EXPECT_EQ(back.optionen, texts.optionen);
    EXPECT_EQ(back.text, texts.text);

    EXPECT_EQ(parseMessage(kHead + "klima = kammer\n"),
              "fall.tgcase, Zeile 2: „kammer“ ist kein Wert für „klima“, möglich ist gegenstrom "
              "oder konstant");
    EXPECT_EQ(parseMessage(kHead + "klima = konstant\nklima = konstant\n"),
              "fall.tgcase, Zeile 3: „klima“ ist schon einmal angegeben");
}

TEST(CaseFile, ReadsTheSyntaxAHandEditedFileUses) {
    InputTexts base = defaultInputTexts();
    base[Control::txt_mue] = "base";
    const std::string content =
        "\xEF\xBB\xBF"  // byte-order mark
        "# Kommentar vor dem Format\r\n"
        "\r\n"
        "  format\t=   tesmo-gegen-case 1  \r\n"
        "txt_XAnf=0,30\r\n"             // no blanks around '='
        "\t txt_Dicke  =  12,5 mm  \r"  // CR alone ends a line
        "  # eingerückter Kommentar\n"
        "txt_XZiel = \"\"\n"
        "txt_rhos = \"  1800 \"\n"
        "txt_lambda = 1=2\n"
        "txt_deltaT =\n"
        "txt_rund = #1200";  // no line end at the end
    InputTexts out;
    FileProblem problem;
    ASSERT_TRUE(parseCaseFile(content, "fall.tgcase", base, out, problem)) << describe(problem);
    EXPECT_EQ(out[Control::txt_XAnf], "0,30");
    EXPECT_EQ(out[Control::txt_Dicke], "12,5 mm");
    EXPECT_EQ(out[Control::txt_XZiel], "");
    EXPECT_EQ(out[Control::txt_rhos], "  1800 ");
    EXPECT_EQ(out[Control::txt_lambda], "1=2");
    EXPECT_EQ(out[Control::txt_deltaT], "");
    EXPECT_EQ(out[Control::txt_rund], "#1200");
    EXPECT_EQ(out[Control::txt_mue], "base");  // not named: keeps the base text
}

TEST(CaseFile, RefusesWithFileLineAndReason) {
    const std::string longComment = "#" + std::string(kMaxLineFileBytes, 'x') + "\n";
    const Refusal refusals[] = {
        {"", "fall.tgcase: die Zeile „format = tesmo-gegen-case 1“ fehlt"},
        {"# nur ein Kommentar\n\n", "fall.tgcase: die Zeile „format = tesmo-gegen-case 1“ fehlt"},
        {"txt_Dicke = 5\n" + kHead,
         "fall.tgcase, Zeile 1: die erste Zeile muss „format = tesmo-gegen-case 1“ lauten"},
        {"# Kopf\nformat tesmo-gegen-case 1\n",
         "fall.tgcase, Zeile 2: die erste Zeile muss „format = tesmo-gegen-case 1“ lauten"},
        {"format = tesmo-gegen-case 2\n",
         "fall.tgcase, Zeile 1: unbekanntes Format oder unbekannte Version, erwartet wird "
         "„format = tesmo-gegen-case 1“"},
        {"format = tesmo-gegen-study 1\n",
         "fall.tgcase, Zeile 1: unbekanntes Format oder unbekannte Version, erwartet wird "
         "„format = tesmo-gegen-case 1“"},
        {kHead + "# Kommentar\ntxt_Dike = 20,0\n",
         "fall.tgcase, Zeile 3: unbekannter Name „txt_Dike“"},
        {kHead + "txt_Zeit = 5\n", "fall.tgcase, Zeile 2: unbekannter Name „txt_Zeit“"},
        {kHead + "TXT_DICKE = 5\n", "fall.tgcase, Zeile 2: unbekannter Name „TXT_DICKE“"},
        {kHead + "txt_Dicke = 5\n\ntxt_Dicke = 6\n",
         "fall.tgcase, Zeile 4: „txt_Dicke“ ist schon einmal angegeben"},
        {kHead + kHead, "fall.tgcase, Zeile 2: „format“ ist schon einmal angegeben"},
        {kHead + "txt_Dicke 20,0\n",
         "fall.tgcase, Zeile 2: das Gleichheitszeichen fehlt, erwartet wird NAME = TEXT"},
        {kHead + " = 20,0\n",
         "fall.tgcase, Zeile 2: vor dem Gleichheitszeichen fehlt der Name eines Eingabefelds"},
        {kHead + "txt_Dicke = " + std::string(201, '1') + "\n",
         "fall.tgcase, Zeile 2: der Text für „txt_Dicke“ ist länger als 200 Zeichen"},
        {kHead + "txt_Dicke = \"" + std::string(201, ' ') + "\"\n",
         "fall.tgcase, Zeile 2: der Text für „txt_Dicke“ ist länger als 200 Zeichen"},
        {kHead + "txt_Dicke = 20\x01\n",
         "fall.tgcase, Zeile 2: der Text für „txt_Dicke“ enthält einen Zeilenumbruch oder ein "
         "anderes Steuerzeichen"},
        {kHead + "txt_Dicke = 20\xC2\x85\n",
         "fall.tgcase, Zeile 2: der Text für „txt_Dicke“ enthält einen Zeilenumbruch oder ein "
         "anderes Steuerzeichen"},
        {kHead + "\n\ntxt_Dicke = W\xE4rme\n",
         "fall.tgcase, Zeile 4: ungültige Zeichenkodierung, die Datei muss in UTF-8 gespeichert "
         "sein"},
        {kHead + "# \xC0\xAF\n",
         "fall.tgcase, Zeile 2: ungültige Zeichenkodierung, die Datei muss "
         "in UTF-8 gespeichert sein"},
        {kHead + longComment, "fall.tgcase: die Datei ist größer als 64 KiB"},
        // What the file says is quoted harmlessly: no terminal escape, no endless name.
        {kHead + "txt_\x1B[2J = 1\n",
         "fall.tgcase, Zeile 2: unbekannter Name „txt_\xEF\xBF\xBD[2J“"},
        {kHead + std::string(100, 'n') + " = 1\n",
         "fall.tgcase, Zeile 2: unbekannter Name „" + std::string(60, 'n') + "…“"},
    };
    for (const Refusal& r : refusals)
        EXPECT_EQ(parseMessage(r.content), r.message) << r.content;
}

TEST(CaseFile, LimitsAreInclusive) {
    std::string texts = kHead + "txt_Dicke = " + std::string(200, '1') + "\n";
    texts += "txt_mue = ";
    for (int i = 0; i < 200; ++i)
        texts += "€";
    EXPECT_EQ(parseMessage(texts + "\n"), "accepted");
    std::string content = kHead + "#";
    content += std::string(kMaxLineFileBytes - content.size(), 'x');
    ASSERT_EQ(content.size(), 65536u);
    EXPECT_EQ(parseMessage(content), "accepted");
}

TEST_F(CaseFileOnDisk, RefusesWhatItCannotReadOrSave) {
    InputTexts out;
    FileProblem problem;
    EXPECT_FALSE(readCaseFile(path("fehlt.tgcase"), defaultInputTexts(), out, problem));
    EXPECT_EQ(describe(problem),
              path("fehlt.tgcase") + ": kann nicht gelesen werden – die Datei existiert nicht");
    EXPECT_FALSE(readCaseFile(dir_.string(), defaultInputTexts(), out, problem));
    EXPECT_EQ(describe(problem),
              dir_.string() + ": kann nicht gelesen werden – der Pfad ist ein Ordner");
    put("gross.tgcase", kHead + std::string(1 << 20, '#'));
    EXPECT_FALSE(readCaseFile(path("gross.tgcase"), defaultInputTexts(), out, problem));
    EXPECT_EQ(describe(problem), path("gross.tgcase") + ": die Datei ist größer als 64 KiB");

    // A text the format cannot hold is refused and an earlier file stays as it was.
    const std::string target = path("fall.tgcase");
    ASSERT_TRUE(writeCaseFile(target, defaultInputTexts(), problem));
    const std::string before = get("fall.tgcase");
    const std::pair<std::string, std::string> unsavable[] = {
        {"20\n5", "enthält einen Zeilenumbruch oder ein anderes Steuerzeichen"},
        {"20\r", "enthält einen Zeilenumbruch oder ein anderes Steuerzeichen"},
        {std::string(201, '2'), "ist länger als 200 Zeichen"},
        {"W\xE4rme", "ist kein gültiges UTF-8"},
    };
    for (const auto& [text, reason] : unsavable) {
        InputTexts texts = defaultInputTexts();
        texts[Control::txt_XZiel] = text;
        EXPECT_FALSE(writeCaseFile(target, texts, problem));
        EXPECT_EQ(describe(problem),
                  target + ": kann nicht gespeichert werden – der Text für „txt_XZiel“ " + reason);
        std::string content;
        EXPECT_FALSE(caseFileText(texts, content, problem));
        EXPECT_EQ(describe(problem),
                  "kann nicht gespeichert werden – der Text für „txt_XZiel“ " + reason);
    }
    EXPECT_EQ(get("fall.tgcase"), before);
    EXPECT_FALSE(writeCaseFile(path("fehlt/fall.tgcase"), defaultInputTexts(), problem));
    EXPECT_EQ(
        describe(problem),
        path("fehlt/fall.tgcase") + ": kann nicht gespeichert werden – der Ordner existiert nicht");
}

// Only an ordinary file is read: a named pipe would block the reader until some other program
// writes to it, and a device may never end. Each reader refuses them at once, also through a
// link (the child process is ended after ten seconds, should a reader wait).
TEST_F(CaseFileOnDisk, ReadsOnlyOrdinaryFiles) {
    std::vector<std::pair<std::string, std::string>> nodes;  // name, what it is
    ASSERT_TRUE(test::makeFifo(path("pipe")));
    nodes.emplace_back("pipe", "eine benannte Pipe (FIFO)");
    std::filesystem::create_symlink("pipe", path("zeiger"));
    nodes.emplace_back("zeiger", "eine benannte Pipe (FIFO)");
    if (test::makeNullDevice(path("nul"))) nodes.emplace_back("nul", "ein Gerät");

    const test::ChildEnd end = test::inChild([&] {
        std::string report;
        for (const auto& [name, kind] : nodes) {
            const std::string expected =
                path(name) +
                ": kann nicht gelesen werden – der Pfad ist keine gewöhnliche Datei, sondern " +
                kind;
            FileProblem problem;
            InputTexts texts;
            SavedStudy study;
            CaseTable table;
            if (readCaseFile(path(name), defaultInputTexts(), texts, problem) ||
                describe(problem) != expected)
                report += "case file " + describe(problem) + "; ";
            if (readStudyFile(path(name), defaultInputTexts(), study, problem) ||
                describe(problem) != expected)
                report += "study file " + describe(problem) + "; ";
            if (readCaseTable(path(name), table, problem) || describe(problem) != expected)
                report += "case table " + describe(problem) + "; ";
        }
        return report;
    });
    EXPECT_EQ(end.report, "");
}

// What the system answers, in German words, for reading and for saving alike.
TEST_F(CaseFileOnDisk, SaysTheSystemsReasonInGerman) {
    std::filesystem::create_symlink("schleife", path("schleife"));
    put("datei", "");
    const std::pair<std::string, std::string> cases[] = {
        {path("schleife"),
         "zu viele symbolische Verknüpfungen hintereinander, vermutlich eine "
         "Schleife"},
        {path(std::string(256, 'x')), "der Pfad ist zu lang"},
        {path("datei/fall.tgcase"), "ein Teil des Pfades ist kein Ordner"},
    };
    for (const auto& [file, reason] : cases) {
        InputTexts texts;
        FileProblem problem;
        EXPECT_FALSE(readCaseFile(file, defaultInputTexts(), texts, problem));
        EXPECT_EQ(describe(problem), file + ": kann nicht gelesen werden – " + reason);
        EXPECT_FALSE(writeCaseFile(file, defaultInputTexts(), problem));
        EXPECT_EQ(describe(problem), file + ": kann nicht gespeichert werden – " + reason);
    }
}

}  // namespace tesmo
