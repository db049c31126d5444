// Writes the desktop's descriptions of the programs' file kinds from the one table of them
// (files/file_kinds.h), at build time:
//   tesmo-gegen-file-types mime OUT.xml                the shared-mime-info file
//   tesmo-gegen-file-types desktop TEMPLATE OUT        the desktop entry, its @MIME_TYPES@
//                                                      replaced by every kind's MIME type
// Not installed.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "files/atomic_file.h"
#include "files/file_kinds.h"

namespace {

bool write(const char* path, const std::string& content) {
    tesmo::WriteFailure failure;
    if (tesmo::writeFileAtomically(path, content, &failure)) return true;
    std::fprintf(stderr, "tesmo-gegen-file-types: %s: %s\n", path,
                 tesmo::reasonText(failure).c_str());
    return false;
}

int usage() {
    std::fprintf(stderr, "usage: tesmo-gegen-file-types mime OUT | desktop TEMPLATE OUT\n");
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string what = argv[1];
    if (what == "mime" && argc == 3) return write(argv[2], tesmo::mimeInfoXml()) ? 0 : 74;
    if (what != "desktop" || argc != 4) return usage();
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tesmo-gegen-file-types: cannot read %s\n", argv[2]);
        return 66;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string key = "@MIME_TYPES@";
    const std::size_t at = text.find(key);
    if (at == std::string::npos) {
        std::fprintf(stderr, "tesmo-gegen-file-types: %s has no %s\n", argv[2], key.c_str());
        return 65;
    }
    text.replace(at, key.size(), tesmo::desktopMimeTypes());
    return write(argv[3], text) ? 0 : 74;
}
