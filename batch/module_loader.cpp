// The runner's side of its modules (batch/modules.h).
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <filesystem>
#include <string>

#include "batch/batch_run.h"
#include "batch/modules.h"

namespace tesmo {

namespace {

struct Module {
    const char* file;     // its file name
    const char* entry;    // the name of its entry point
    const char* subject;  // what it holds, for the message when it cannot be loaded
};

constexpr Module kExports{TESMO_EXPORTS_MODULE, kExportsEntry,
                          "die Exporte (--report, --svg, --png) lassen sich"};
constexpr Module kUncertainty{TESMO_UQ_MODULE, kUncertaintyEntry,
                              "die Unsicherheitsstudien (--uq) lassen sich"};
constexpr Module kFit{TESMO_FIT_MODULE, kFitEntry, "die Anpassung (--fit) lässt sich"};

// The folder of the running program file ("" if the system does not say).
std::string programFolder() {
    std::array<char, PATH_MAX> path{};
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    const std::string program(path.data(), static_cast<std::size_t>(n));
    return program.substr(0, program.rfind('/'));
}

// The entry point of `module`, or nullptr after saying on `err` why it cannot be had: the file
// is in neither place, or it is there but does not load (the system's words then name what is
// missing, e.g. a library it needs).
void* entryOf(const Module& module, std::ostream& err) {
    const std::string beside = programFolder();
    const std::string installed =
        (std::filesystem::path(beside) / TESMO_MODULES_FROM_BINDIR).lexically_normal().string();
    std::string problem =
        std::string(module.file) + " fehlt (weder in " + beside + " noch in " + installed + ")";
    void* entry = nullptr;
    for (const std::string& folder : {beside, installed}) {
        const std::string path = folder + "/" + module.file;
        if (::access(path.c_str(), F_OK) != 0) continue;
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            problem = ::dlerror();
            continue;
        }
        entry = ::dlsym(handle, module.entry);
        if (entry) break;
        problem = std::string(module.entry) + " fehlt in " + path;
    }
    if (!entry)
        err << "tesmo-gegen-batch: " << module.subject << " nicht laden: " << problem << '\n';
    return entry;
}

RunnerShares runnerShares() {
    return {&temporaryFileTable(), &interruptState(), &runStudyCases};
}

int runCommand(const Module& module, const BatchOptions& options, std::ostream& out,
               std::ostream& err) {
    const auto entry = reinterpret_cast<CommandEntry>(entryOf(module, err));
    return entry ? entry(runnerShares(), options, out, err) : kExitWriteFailed;
}

}  // namespace

bool writeExportsInModule(const BatchOptions& options, const HeadlessWindow& window,
                          const RunControl& control, std::ostream& err) {
    if (!options.wantsExports()) return true;
    const auto entry = reinterpret_cast<ExportsEntry>(entryOf(kExports, err));
    return entry && entry(runnerShares(), options, window, control, err);
}

int runUncertaintyInModule(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    return runCommand(kUncertainty, options, out, err);
}

int runFitInModule(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    return runCommand(kFit, options, out, err);
}

}  // namespace tesmo
