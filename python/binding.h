// What the parts of the Python binding share: input texts across the language border, file
// problems as Python exceptions, and C++ work that leaves Python responsive to Ctrl+C.
//
// The binding is thin on purpose. The package's Python layer turns dicts, numbers and paths
// into the seventeen texts (a list in the window's order) and byte paths; everything that
// computes, checks or formats stays in the C++ code the window and the runner use.
#pragma once

#include <pybind11/pybind11.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "files/atomic_file.h"
#include "files/file_problem.h"
#include "model/inputs.h"

namespace tesmo {

namespace py = pybind11;

// The seventeen texts, in the window's order; ValueError for any other count.
InputTexts inputTexts(const std::vector<std::string>& texts);
std::vector<std::string> textList(const InputTexts& texts);

// OSError (with the errno, so that Python picks FileNotFoundError and the like) for what the
// system refused, ValueError for refused content; the message is the program's German one.
[[noreturn]] void raiseFileProblem(const FileProblem& problem);
[[noreturn]] void raiseWriteFailure(const WriteFailure& failure);

// Runs `work` on a thread of its own. The calling thread, which must hold the GIL, waits with
// the GIL released and wakes at least every 100 ms to take it, let Python run its signal
// handlers (Ctrl+C raises KeyboardInterrupt) and call `tick`. When a handler or `tick` raises,
// `cancel` is set, the work is waited for, and the exception is passed on; so is an exception
// from the work. The work's thread is joined on every path. When the interpreter ends, `cancel`
// is set too (see stopRunsAtExit).
void runWatched(const std::function<void()>& work, std::atomic<bool>& cancel,
                const std::function<void()>& tick);

// The latest progress of a study or a fit, handed from its threads to the Python thread: the
// workers post, the Python thread takes each state once (older ones nobody saw are dropped, as a
// progress display only needs the newest).
template <class Progress>
class LatestProgress {
  public:
    void post(const Progress& p) {
        const std::lock_guard lock(mutex_);
        latest_ = p;
    }
    std::optional<Progress> take() {
        const std::lock_guard lock(mutex_);
        std::optional<Progress> p;
        p.swap(latest_);
        return p;
    }

  private:
    std::mutex mutex_;
    std::optional<Progress> latest_;
};

struct StudyProgress;

// Calls the Python callable `show(done, total, elapsed_s, remaining_s)` with a study's progress,
// if there is any new.
void showStudyProgress(const std::optional<StudyProgress>& progress, const py::object& show);

// Runs `work` (which must not touch Python) with the GIL released, e.g. writing a file.
void withoutGil(const std::function<void()>& work);

// Called by Python's atexit: raises the cancel flag of every run and study still going in any
// thread, so that they stop at their next time step while the interpreter ends. A thread that
// would take the GIL once the interpreter is finalising waits instead until the process has
// ended, rather than be ended by the interpreter in the middle of C++ code.
void stopRunsAtExit();

// A path argument as the bytes the file functions open; ValueError for a NUL byte in it, which
// would otherwise cut the path short, as Python's open() refuses it.
std::string pathArgument(const std::string& path, const char* argument);

// The run modes from a dict name -> word (TypeError for a name that is no run mode, ValueError
// for a word it does not have; modes not named keep their defaults), and back: the modes that
// are not at their default.
RunOptions runOptionsOf(const std::map<std::string, std::string>& words);
std::map<std::string, std::string> chosenOptions(const RunOptions& options);

void registerRun(py::module_& m);
void registerStudy(py::module_& m);
void registerFiles(py::module_& m);
void registerUncertainty(py::module_& m);
void registerOptions(py::module_& m);
void registerFit(py::module_& m);

}  // namespace tesmo
