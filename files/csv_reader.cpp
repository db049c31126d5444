#include "files/csv_reader.h"

#include <algorithm>

#include "files/file_text.h"

namespace tesmo {

namespace {

constexpr char kQuote = '"';

// The line ends in part of a quoted cell, by the rule of files/file_text.h (a CR at the end of
// the part is followed by a quote, so it stands alone).
int lineEndsIn(std::string_view part) {
    int count = 0;
    for (std::size_t i = 0; i < part.size(); ++i)
        count +=
            part[i] == '\n' || (part[i] == '\r' && (i + 1 == part.size() || part[i + 1] != '\n'));
    return count;
}

}  // namespace

char csvSeparatorOf(std::string_view content) {
    const std::string_view header = content.substr(0, content.find_first_of("\r\n"));
    if (header.find(';') != std::string_view::npos) return ';';
    return header.find(',') != std::string_view::npos ? ',' : ';';
}

CsvReader::CsvReader(std::string_view content, char separator)
    : s_(content), separator_(separator), plainEnd_{separator, '\r', '\n'} {}

CsvReader::Result CsvReader::next(std::vector<CsvCell>& cells, std::size_t maxCells, int& rowLine,
                                  FileProblem& problem) {
    if (pos_ >= s_.size()) return Result::End;
    rowLine = line_;
    std::size_t n = 0;
    while (true) {
        if (n == cells.size()) cells.emplace_back();
        if (!readCell(cells[n++], problem)) return Result::Refused;
        if (pos_ >= s_.size()) break;
        const std::size_t lineEnd = lineEndAt(s_, pos_);
        if (lineEnd > 0) {
            pos_ += lineEnd;
            ++line_;
            break;
        }
        ++pos_;  // the separator
        if (n > maxCells) break;
    }
    cells.resize(n);
    return Result::Row;
}

bool CsvReader::readCell(CsvCell& cell, FileProblem& problem) {
    cell.text.clear();
    cell.line = line_;
    cell.quoted = pos_ < s_.size() && s_[pos_] == kQuote;
    if (!cell.quoted) {
        const std::size_t end =
            std::min(s_.find_first_of(std::string_view(plainEnd_, 3), pos_), s_.size());
        cell.text.assign(s_.substr(pos_, end - pos_));
        pos_ = end;
        return true;
    }
    ++pos_;
    while (true) {
        const std::size_t quote = s_.find(kQuote, pos_);
        if (quote == std::string_view::npos) {
            problem.line = cell.line;
            return refuse(problem, ProblemKind::UnterminatedQuote);
        }
        const std::string_view part = s_.substr(pos_, quote - pos_);
        cell.text.append(part);
        line_ += lineEndsIn(part);
        pos_ = quote + 1;
        if (pos_ >= s_.size() || s_[pos_] != kQuote) break;
        cell.text += kQuote;  // a doubled quote
        ++pos_;
    }
    if (pos_ < s_.size() && s_[pos_] != separator_ && lineEndAt(s_, pos_) == 0) {
        problem.line = line_;
        return refuse(problem, ProblemKind::StrayQuote);
    }
    return true;
}

bool isBlankRow(const std::vector<CsvCell>& cells) {
    return cells.size() == 1 && !cells.front().quoted && cells.front().text.empty();
}

}  // namespace tesmo
