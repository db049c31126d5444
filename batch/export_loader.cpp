// The runner's side of the exports: loads the exports module (batch/CMakeLists.txt) when an
// export is asked for and hands the run to it. A run without exports never loads it, nor Qt.
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <string>

#include "batch/export_module.h"
#include "batch/exports.h"

namespace tesmo {

namespace {

// The folder of the running program file ("" if the system does not say).
std::string programFolder() {
    std::array<char, PATH_MAX> path{};
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    const std::string program(path.data(), static_cast<std::size_t>(n));
    return program.substr(0, program.rfind('/'));
}

// The module's entry point: beside the program (a build folder), else where it is installed
// relative to the program. Loaded once, kept for the program's life (Qt's state lives in it).
ExportsEntry loadExports(std::string& problem) {
    static ExportsEntry entry = nullptr;
    if (entry) return entry;
    const std::string folder = programFolder();
    void* module = nullptr;
    for (const std::string& path :
         {folder + "/" + TESMO_EXPORTS_MODULE, folder + "/" + TESMO_EXPORTS_FROM_BINDIR}) {
        module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module) break;
        problem = ::dlerror();  // the last place's reason
    }
    if (!module) return nullptr;
    entry = reinterpret_cast<ExportsEntry>(::dlsym(module, kExportsEntry));
    if (!entry) problem = std::string(kExportsEntry) + " fehlt darin";
    return entry;
}

}  // namespace

bool writeExports(const BatchOptions& options, const HeadlessWindow& window,
                  const RunControl& control, std::ostream& err) {
    if (!options.wantsExports()) return true;
    std::string problem;
    const ExportsEntry entry = loadExports(problem);
    if (!entry) {
        err << "tesmo-gegen-batch: die Exporte (--report, --svg, --png) lassen sich nicht laden: "
            << problem << '\n';
        return false;
    }
    return entry(options, window, control, err);
}

}  // namespace tesmo
