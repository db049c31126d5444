#include "python/binding.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

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

void runWatched(const std::function<void()>& work, std::atomic<bool>& cancel,
                const std::function<void()>& tick) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr workError, pythonError;
    {
        py::gil_scoped_release release;
        std::thread worker([&] {
            try {
                work();
            } catch (...) {
                workError = std::current_exception();
            }
            const std::lock_guard lock(mutex);
            done = true;
            finished.notify_all();
        });
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, kWatchInterval, [&] { return done; })) {
            if (pythonError) continue;  // cancelled: only wait for the work to stop
            lock.unlock();
            {
                py::gil_scoped_acquire gil;
                try {
                    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
                    tick();
                } catch (...) {
                    pythonError = std::current_exception();
                    cancel.store(true);
                }
            }
            lock.lock();
        }
        lock.unlock();
        worker.join();
    }
    if (pythonError) std::rethrow_exception(pythonError);
    if (workError) std::rethrow_exception(workError);
}

}  // namespace tesmo
