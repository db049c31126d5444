#include "uq/statistics_csv.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "files/csv_writer.h"
#include "study/result_view.h"
#include "uq/report.h"

namespace tesmo {

namespace {

class Rows {
  public:
    explicit Rows(TableFormat format) : format_(format), text_(tableStart(format)) {
        row({"result", "unit", "statistic", "input", "limit", "value", "low", "high", "cases"});
    }

    void add(std::size_t column, const char* statistic, const std::string& input,
             const std::string& limit, const Estimate& e, std::size_t cases) {
        const std::string count = std::to_string(cases);
        row({resultColumns()[column].name, tableUnit(column), statistic, input, limit,
             number(e.value), number(e.low), number(e.high), count});
    }

    std::string number(double v) const {
        std::string text;
        if (!std::isnan(v)) appendTableNumber(text, v, format_);
        return text;
    }

    std::string take() { return std::move(text_); }

  private:
    void row(const std::vector<std::string>& cells) {
        appendCsvRow(text_, std::vector<std::string_view>(cells.begin(), cells.end()),
                     tableSeparator(format_));
    }

    TableFormat format_;
    std::string text_;
};

}  // namespace

std::string statisticsCsv(const UncertaintyAnalysis& a, TableFormat format) {
    Rows rows(format);
    for (const ResultStatistics& s : a.statistics) {
        rows.add(s.column, "mean", "", "", s.mean, s.count);
        rows.add(s.column, "sd", "", "", {s.sd}, s.count);
        rows.add(s.column, "q05", "", "", s.q05, s.count);
        rows.add(s.column, "q50", "", "", s.q50, s.count);
        rows.add(s.column, "q95", "", "", s.q95, s.count);
    }
    for (const LimitStatistics& l : a.limits)
        rows.add(l.limit.column, "probability", "",
                 std::string(l.limit.side == LimitSide::Above ? "> " : "< ") +
                     rows.number(l.limit.value),
                 l.probability, l.count);
    for (const ResultIndices& r : a.indices) {
        if (!r.reported) continue;
        for (const SobolIndex& s : r.indices) {
            rows.add(r.column, "first", a.groups[s.group].name, "", s.first, r.used);
            rows.add(r.column, "total", a.groups[s.group].name, "", s.total, r.used);
        }
    }
    return rows.take();
}

}  // namespace tesmo
