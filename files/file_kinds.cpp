#include "files/file_kinds.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "files/case_file.h"
#include "files/fit_file.h"
#include "files/study_file.h"
#include "files/uncertainty_file.h"

namespace tesmo {

namespace {

// clang-format off
constexpr std::array kKinds = std::to_array<FileKindSpec>({
    {FileKind::Case, kCaseFileSuffix, "application/x-tesmo-gegen-case",
     "Tesmo-Gegen case", "Tesmo-Gegen-Fall", "Tesmo-Gegen-Fälle",
     "ein Fall: seine siebzehn Texte kommen in die Eingabefelder"},
    {FileKind::Study, kStudyFileSuffix, "application/x-tesmo-gegen-study",
     "Tesmo-Gegen parameter study", "Tesmo-Gegen-Parameterstudie", "Tesmo-Gegen-Studien",
     "eine Parameterstudie: öffnet im Fenster „Parameterstudie“"},
    {FileKind::Fit, kFitFileSuffix, "application/x-tesmo-gegen-fit",
     "Tesmo-Gegen fit to measurements", "Tesmo-Gegen-Anpassung", "Tesmo-Gegen-Anpassungen",
     "eine Anpassung an Messungen: öffnet im Fenster „Anpassung an Messungen“"},
    {FileKind::Uncertainty, kUncertaintyFileSuffix, "application/x-tesmo-gegen-uncertainty",
     "Tesmo-Gegen uncertainty study", "Tesmo-Gegen-Unsicherheitsstudie",
     "Tesmo-Gegen-Unsicherheitsstudien",
     "eine Unsicherheitsstudie: öffnet im Studienfenster unter „Unsicherheit“"},
});
// clang-format on

bool endsWithIgnoringCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace

std::span<const FileKindSpec> fileKinds() {
    return kKinds;
}

const FileKindSpec& fileKindSpec(FileKind kind) {
    for (const FileKindSpec& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds.front();  // every kind has its row; see the test of this table
}

const FileKindSpec* fileKindOf(std::string_view path) {
    for (const FileKindSpec& k : kKinds)
        if (endsWithIgnoringCase(path, k.suffix)) return &k;
    return nullptr;
}

std::string dialogFilter(const FileKindSpec& kind) {
    return std::string(kind.filterName) + " (*" + kind.suffix + ")";
}

std::string mimeInfoXml() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- The files of Tesmo-Gegen, for the desktop's file manager (shared-mime-info). -->\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (const FileKindSpec& k : kKinds) {
        xml += std::string("  <mime-type type=\"") + k.mimeType + "\">\n";
        xml += std::string("    <comment>") + k.comment + "</comment>\n";
        xml += std::string("    <comment xml:lang=\"de\">") + k.kommentar + "</comment>\n";
        // The files are UTF-8 text: a viewer that does not know the type may still show them.
        xml += "    <sub-class-of type=\"text/plain\"/>\n";
        xml += std::string("    <glob pattern=\"*") + k.suffix + "\"/>\n";
        xml += "    <icon name=\"tesmo-gegen\"/>\n";
        xml += "  </mime-type>\n";
    }
    xml += "</mime-info>\n";
    return xml;
}

std::string desktopMimeTypes() {
    std::string types;
    for (const FileKindSpec& k : kKinds)
        types += std::string(k.mimeType) + ";";
    return types;
}

}  // namespace tesmo
