// Writing a file so that nobody ever sees half of it.
//
// The content goes into a temporary file in the target's own folder, is flushed to the disk
// and then renamed over the target in one step; the folder is flushed too, so that a save
// reported as done survives a power failure. A reader (or a second writer) sees either the old
// file or the whole new one; a write that fails leaves the old file as it was and removes its
// temporary file.
//
// What may be replaced: a target that does not exist yet or an ordinary file the user may
// write. A link is followed to the file it names (a link to nothing yet creates that file). A
// folder, a device, a named pipe or a socket at the path is refused and left as it is, and so is
// a file the user may not write (as an editor refuses it), even where the folder would let the
// rename through.
//
// A replaced file keeps its permission bits, its extended attributes (access control lists
// among them) and, where the system lets the user give it, its owner and group; otherwise the
// new file belongs to the user who saved it, as after any editor that saves by renaming. Other
// hard links of a replaced file keep the old content: the new file is a new one. That keeps the
// write whole-or-nothing and leaves untouched the snapshots of backup tools that share unchanged
// files by hard links.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace tesmo {

struct WriteFailure {
    int errnum = 0;    // errno of the step that failed (0: none), or a code of file_problem.h
    std::string path;  // the target as given
    std::string step;  // what was being done: "check", "create", "write", "sync", "rename"
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

// Removes the temporary files of the writes in progress. Safe to call from a signal handler:
// a process that ends on a signal calls it first, so that it leaves no temporary file behind.
void removeTemporaryFiles();

// The table of the writes in progress that removeTemporaryFiles() empties. A program that loads
// parts of itself as modules (shared objects linked with their own copy of this code) has one
// such table for all of them: the program's, which each module is handed and shares before it
// writes anything, so that whichever signal handler runs finds every temporary file.
struct TemporaryFileTable;
TemporaryFileTable& temporaryFileTable();
void shareTemporaryFileTable(TemporaryFileTable& table);

// For every signal that would end the process without a handler of its own (SIGHUP, SIGINT,
// SIGTERM, SIGQUIT, SIGPIPE, SIGALRM, …) and is not ignored: a handler that removes the
// temporary files and then ends the process by the same signal, as before. A file grown beyond
// the process's size limit fails its write (and is reported) instead of ending the process.
void removeTemporaryFilesOnFatalSignals();

}  // namespace tesmo
