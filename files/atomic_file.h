// Writing a file so that nobody ever sees half of it.
//
// The content goes into a temporary file in the target's own folder, is flushed to the disk
// and then renamed over the target in one step. A reader (or a second writer) sees either the
// old file or the whole new one; a write that fails leaves the old file as it was and removes
// its temporary file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace tesmo {

struct WriteFailure {
    int errnum = 0;    // errno of the step that failed (0: none)
    std::string path;  // the target
    std::string step;  // what was being done: "create", "write", "sync", "rename"
};

// Writes `produce`'s output into `path` atomically. `produce` writes to the FILE it is given and
// returns false if it could not produce the whole content. Returns true on success; otherwise
// fills `failure` (when given) and leaves the target untouched.
bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& produce,
                         WriteFailure* failure = nullptr);
bool writeFileAtomically(const std::string& path, std::string_view content,
                         WriteFailure* failure = nullptr);

// The reason of a failure in German words, for the window and the runner's messages, e.g.
// "keine Schreibberechtigung" or "der Ordner existiert nicht".
std::string reasonText(const WriteFailure& failure);

}  // namespace tesmo
