// The table of file kinds: one row per kind, recognised by suffix whatever its case, and the
// desktop's descriptions written from it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "files/case_file.h"
#include "files/file_kinds.h"
#include "files/study_file.h"

namespace tesmo::test {
namespace {

TEST(FileKinds, EachKindHasItsOwnRowSuffixAndTypeAndIsFoundByItsSuffix) {
    std::set<std::string> suffixes, types;
    for (const FileKindSpec& k : fileKinds()) {
        EXPECT_TRUE(suffixes.insert(k.suffix).second) << k.suffix;
        EXPECT_TRUE(types.insert(k.mimeType).second) << k.mimeType;
        EXPECT_EQ(&fileKindSpec(k.kind), &k) << k.suffix;
        EXPECT_EQ(std::string(k.mimeType).rfind("application/x-tesmo-gegen-", 0), 0u);
    }
    EXPECT_EQ(fileKindSpec(FileKind::Case).suffix, std::string(kCaseFileSuffix));
    EXPECT_EQ(fileKindSpec(FileKind::Study).suffix, std::string(kStudyFileSuffix));

    EXPECT_EQ(fileKindOf("/home/a/versuch.tgcase")->kind, FileKind::Case);
    EXPECT_EQ(fileKindOf("VERSUCH.TGCASE")->kind, FileKind::Case);
    EXPECT_EQ(fileKindOf("luft.tgstudy")->kind, FileKind::Study);
    EXPECT_EQ(fileKindOf("labor/Ton-A.TgFit")->kind, FileKind::Fit);
    for (const char* other : {"", ".tg", "tgcase", "fall.tgcase.bak", "fall.csv", "study"})
        EXPECT_EQ(fileKindOf(other), nullptr) << other;
    EXPECT_EQ(dialogFilter(fileKindSpec(FileKind::Study)), "Tesmo-Gegen-Studien (*.tgstudy)");
}

TEST(FileKinds, TheDesktopFilesNameEveryKind) {
    const std::string xml = mimeInfoXml();
    const std::string types = desktopMimeTypes();
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0), 0u);
    for (const FileKindSpec& k : fileKinds()) {
        const std::string type = std::string("<mime-type type=\"") + k.mimeType + "\">";
        const std::size_t at = xml.find(type);
        ASSERT_NE(at, std::string::npos) << k.mimeType;
        const std::size_t end = xml.find("</mime-type>", at);
        const std::string entry = xml.substr(at, end - at);
        EXPECT_NE(entry.find(std::string("<glob pattern=\"*") + k.suffix + "\"/>"),
                  std::string::npos);
        EXPECT_NE(entry.find(std::string("<comment xml:lang=\"de\">") + k.kommentar),
                  std::string::npos);
        EXPECT_NE(types.find(std::string(k.mimeType) + ";"), std::string::npos);
    }
    EXPECT_EQ(types.back(), ';');
}

}  // namespace
}  // namespace tesmo::test
