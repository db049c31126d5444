#include "files/file_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/utf8.h"

namespace tesmo {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool systemError(FileProblem& problem, int errnum) {
    problem.kind = ProblemKind::SystemError;
    problem.number = errnum;
    return false;
}

bool tooLarge(FileProblem& problem, std::size_t limit) {
    problem.kind = ProblemKind::TooLarge;
    problem.number = static_cast<long long>(limit);
    return false;
}

}  // namespace

bool readFileUpTo(const std::string& path, std::size_t limit, std::string& content,
                  FileProblem& problem) {
    problem = FileProblem{.path = path};
    // Only an ordinary file is read. A named pipe would block the reader until some other
    // program writes to it (forever, if none does), and a device may never end. The type is
    // looked at before the file is opened, and once more on what was opened: a name that
    // changes in between is opened without waiting (O_NONBLOCK) and refused all the same.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return systemError(problem, errno);
    if (const int notAFile = fileTypeProblem(info.st_mode)) return systemError(problem, notAFile);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return systemError(problem, errno);
    if (const int opened = ::fstat(fd, &info) != 0 ? errno : fileTypeProblem(info.st_mode)) {
        ::close(fd);
        return systemError(problem, opened);
    }
    content.clear();
    char buffer[65536];
    while (content.size() <= limit) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit + 1 - content.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            return systemError(problem, e);
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (content.size() > limit) return tooLarge(problem, limit);
    return true;
}

bool checkFileText(std::string_view& content, std::size_t limit, FileProblem& problem) {
    if (content.size() > limit) return tooLarge(problem, limit);
    const std::size_t bad = firstInvalidUtf8(content);
    if (bad != kNoInvalidByte) {
        problem.kind = ProblemKind::NotUtf8;
        problem.line = lineAt(content, bad);
        return false;
    }
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        content.remove_prefix(kByteOrderMark.size());
    return true;
}

std::size_t lineEndAt(std::string_view content, std::size_t pos) {
    if (pos >= content.size()) return 0;
    if (content[pos] == '\n') return 1;
    if (content[pos] != '\r') return 0;
    return pos + 1 < content.size() && content[pos + 1] == '\n' ? 2 : 1;
}

std::string_view nextLine(std::string_view content, std::size_t& pos) {
    const std::size_t start = pos;
    const std::size_t end = std::min(content.find_first_of("\r\n", start), content.size());
    pos = end + lineEndAt(content, end);
    return content.substr(start, end - start);
}

int lineAt(std::string_view content, std::size_t offset) {
    int line = 1;
    for (std::size_t pos = 0; pos < content.size();) {
        nextLine(content, pos);
        if (pos > offset || pos >= content.size()) break;
        ++line;
    }
    return line;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace tesmo
