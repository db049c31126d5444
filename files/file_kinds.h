// The kinds of file the programs open, one row each: how a file manager recognises them (the
// suffix and the MIME type the package registers), what a file dialog and the desktop call
// them, and which window opens them. The desktop entry's MimeType line, the shared-mime-info
// file of the package, the file dialogs' filters and the dispatch of a file named on the
// command line or dropped on the window all come from this table: a new kind of file is one
// row here and one case where the window opens it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tesmo {

// Which window a file opens in.
enum class FileKind : std::uint8_t {
    Case,         // the seventeen input texts: the main window's fields
    Study,        // base case and varied inputs: the window "Parameterstudie"
    Fit,          // measured series and fitted inputs: the window "Anpassung an Messungen"
    Uncertainty,  // base case and uncertain inputs: the study window's kind "Unsicherheit"
};

struct FileKindSpec {
    FileKind kind;
    const char* suffix;      // with the dot, lower case: ".tgcase"
    const char* mimeType;    // "application/x-tesmo-gegen-case"
    const char* comment;     // what the desktop calls one such file, in English (the default)
    const char* kommentar;   // the same in German
    const char* filterName;  // a file dialog's filter, German plural: "Tesmo-Gegen-Fälle"
    const char* opensIn;     // where the window program opens one, German (for --help)
};

std::span<const FileKindSpec> fileKinds();
const FileKindSpec& fileKindSpec(FileKind kind);

// The kind a path names by its suffix (compared without regard to case); nullptr for none.
const FileKindSpec* fileKindOf(std::string_view path);

// A file dialog's filter for one kind: "Tesmo-Gegen-Fälle (*.tgcase)".
std::string dialogFilter(const FileKindSpec& kind);

// The shared-mime-info description of every kind (/usr/share/mime/packages/…).
std::string mimeInfoXml();

// The desktop entry's MimeType value: every kind's type, each followed by ';'.
std::string desktopMimeTypes();

}  // namespace tesmo
