#include "python/binding.h"

#include <cxxabi.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "study/study_engine.h"

namespace tesmo {

namespace {
// How long Python waits at most before it looks at its signals again.
constexpr std::chrono::milliseconds kWatchInterval{100};

// OSError with the errno, so that Python picks FileNotFoundError and the like; the program's
// own findings (a path that is no ordinary file, …) have no errno and raise a plain OSError.
[[noreturn]] void raiseOsError(long long errnum, const std::string& message) {
    if (errnum > 0)
        PyErr_SetObject(PyExc_OSError, py::make_tuple(errnum, message).ptr());
    else
        PyErr_SetString(PyExc_OSError, message.c_str());
    throw py::error_already_set();
}
}  // namespace

InputTexts inputTexts(const std::vector<std::string>& texts) {
    if (texts.size() != static_cast<std::size_t>(kInputCount))
        throw py::value_error("expected " + std::to_string(kInputCount) + " input texts, got " +
                              std::to_string(texts.size()));
    InputTexts t;
    for (int i = 0; i < kInputCount; ++i)
        t[controlAt(i)] = texts[static_cast<std::size_t>(i)];
    return t;
}

std::vector<std::string> textList(const InputTexts& texts) {
    return {texts.text.begin(), texts.text.end()};
}

void raiseFileProblem(const FileProblem& problem) {
    const std::string message = describe(problem);
    if (problem.kind != ProblemKind::SystemError) throw py::value_error(message);
    raiseOsError(problem.number, message);
}

void raiseWriteFailure(const WriteFailure& failure) {
    raiseOsError(failure.errnum,
                 failure.path + " konnte nicht geschrieben werden: " + reasonText(failure));
}

namespace {

// The cancel flags of the runs and studies going on in any thread, and whether the interpreter
// is ending. Never destroyed: threads may look at it while the process ends.
class RunningWork {
  public:
    void add(std::atomic<bool>* cancel) {
        const std::lock_guard lock(mutex_);
        flags_.insert(cancel);
        if (ending_) cancel->store(true);
    }
    void remove(std::atomic<bool>* cancel) {
        const std::lock_guard lock(mutex_);
        flags_.erase(cancel);
    }
    void endAll() {
        const std::lock_guard lock(mutex_);
        ending_ = true;
        finalizing_ = std::this_thread::get_id();  // atexit runs on the thread that finalises
        for (std::atomic<bool>* flag : flags_)
            flag->store(true);
    }
    // Whether taking the GIL would end the calling thread: the interpreter is finalising on
    // another thread.
    bool gilWouldEndThisThread() const {
        {
            const std::lock_guard lock(mutex_);
            if (!ending_ || finalizing_ == std::this_thread::get_id()) return false;
        }
        return _Py_IsFinalizing() != 0;
    }

  private:
    mutable std::mutex mutex_;
    std::set<std::atomic<bool>*> flags_;
    bool ending_ = false;
    std::thread::id finalizing_;
};

RunningWork& runningWork() {
    static auto* const work = new RunningWork;
    return *work;
}

// One run or study in the registry for as long as it goes on.
class Registered {
  public:
    explicit Registered(std::atomic<bool>& cancel) : cancel_(cancel) { runningWork().add(&cancel); }
    ~Registered() { runningWork().remove(&cancel_); }
    Registered(const Registered&) = delete;
    Registered& operator=(const Registered&) = delete;

  private:
    std::atomic<bool>& cancel_;
};

// Takes the GIL back. While the interpreter finalises, taking it ends the thread with
// pthread_exit, whose unwinding aborts the process in C++ frames; the thread stays here
// instead, its work stopped, until the process is gone.
void takeGil(PyThreadState* saved) {
    while (runningWork().gilWouldEndThisThread())
        std::this_thread::sleep_for(std::chrono::hours(1));
    PyEval_RestoreThread(saved);
}

// The work's thread; it is joined whichever way the waiting ends, after raising `cancel` if the
// work has not finished.
class WorkThread {
  public:
    WorkThread(const std::function<void()>& work, std::atomic<bool>& cancel)
        : cancel_(cancel), thread_([this, &work] {
              try {
                  work();
              } catch (...) {
                  error_ = std::current_exception();
              }
              const std::lock_guard lock(mutex_);
              done_ = true;
              finished_.notify_all();
          }) {}
    ~WorkThread() {
        if (!done()) cancel_.store(true);
        thread_.join();
    }
    WorkThread(const WorkThread&) = delete;
    WorkThread& operator=(const WorkThread&) = delete;

    // Waits until the work is done or `interval` has passed; true when done.
    bool waitFor(std::chrono::milliseconds interval) {
        std::unique_lock lock(mutex_);
        return finished_.wait_for(lock, interval, [this] { return done_; });
    }
    bool done() {
        const std::lock_guard lock(mutex_);
        return done_;
    }
    std::exception_ptr error() const { return error_; }  // once done

  private:
    std::atomic<bool>& cancel_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;  // guarded by mutex_
    std::exception_ptr error_;
    std::thread thread_;  // last: starts once everything above is there
};

}  // namespace

void runWatched(const std::function<void()>& work, std::atomic<bool>& cancel,
                const std::function<void()>& tick) {
    const Registered registered(cancel);
    std::exception_ptr workError, pythonError;
    {
        std::unique_ptr<WorkThread> worker;
        try {
            worker = std::make_unique<WorkThread>(work, cancel);
        } catch (const std::system_error&) {
            throw std::runtime_error("Das System hat keinen Thread für die Rechnung gestartet.");
        }
        PyThreadState* saved = PyEval_SaveThread();
        while (!worker->waitFor(kWatchInterval)) {
            if (pythonError) continue;  // cancelled: only wait for the work to stop
            takeGil(saved);
            try {
                if (PyErr_CheckSignals() != 0) throw py::error_already_set();
                tick();
            } catch (abi::__forced_unwind&) {
                throw;  // the thread is being ended: let it go, the worker is joined on the way
            } catch (...) {
                pythonError = std::current_exception();
                cancel.store(true);
            }
            saved = PyEval_SaveThread();
        }
        workError = worker->error();
        worker.reset();
        takeGil(saved);
    }
    if (pythonError) std::rethrow_exception(pythonError);
    if (workError) std::rethrow_exception(workError);
}

void withoutGil(const std::function<void()>& work) {
    PyThreadState* saved = PyEval_SaveThread();
    try {
        work();
    } catch (...) {
        takeGil(saved);
        throw;
    }
    takeGil(saved);
}

void stopRunsAtExit() {
    runningWork().endAll();
}

std::string pathArgument(const std::string& path, const char* argument) {
    if (path.find('\0') != std::string::npos)
        throw py::value_error(std::string(argument) + ": embedded null byte");
    return path;
}

void showStudyProgress(const std::optional<StudyProgress>& progress, const py::object& show) {
    if (!progress) return;
    const auto seconds = [](std::chrono::steady_clock::duration d) {
        return std::chrono::duration<double>(d).count();
    };
    show(progress->done, progress->total, seconds(progress->elapsed), seconds(progress->remaining));
}

}  // namespace tesmo
