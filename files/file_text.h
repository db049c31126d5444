// What all readers of the program's text files share: reading a whole file up to a size
// limit, and the checks every file passes before its lines are looked at.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/file_problem.h"

namespace tesmo {

// Limits of every text a file holds for an input field (or a study's range), counted in
// characters (see files/utf8.h), and of the files themselves.
inline constexpr std::size_t kMaxTextCharacters = 200;
inline constexpr std::size_t kMaxLineFileBytes = 64 * 1024;          // case and study files
inline constexpr std::size_t kMaxCaseTableBytes = 64 * 1024 * 1024;  // case tables

// Reads the whole file at `path` into `content`. A file larger than `limit` bytes is refused
// without reading more than one byte beyond the limit.
bool readFileUpTo(const std::string& path, std::size_t limit, std::string& content,
                  FileProblem& problem);

// Refuses content over `limit` bytes and bytes that are not UTF-8 (naming the line of the first
// one), then drops a leading byte-order mark from `content`.
bool checkFileText(std::string_view& content, std::size_t limit, FileProblem& problem);

// Lines end at LF, at CR LF or at a CR alone (as older Mac programs write them).
// The line that starts at content[pos], without its end; `pos` moves to the next line.
std::string_view nextLine(std::string_view content, std::size_t& pos);
// The length of the line end at content[pos]: 2 for CR LF, 1 for LF or CR, 0 for none.
std::size_t lineEndAt(std::string_view content, std::size_t pos);
// The line (from 1) that holds content[offset].
int lineAt(std::string_view content, std::size_t offset);

// `text` without leading and trailing blanks and tabs.
std::string_view trimBlanks(std::string_view text);

}  // namespace tesmo
