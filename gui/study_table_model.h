// The study window's result table: one row per case in case order, as the cases arrive.
//
// Columns: case number, the varied inputs (their texts, or of drawn inputs their numbers),
// how the case ended, the result columns
// in the window's formats with their captions and units, and the message of a refused or
// cut-short case (also the tooltip of its row). Each cell also holds a sort key (kSortRole):
// the number behind it, so that StudySortModel sorts numerically. The model keeps each row's
// outcome whole: the runner's table is written from it.
#pragma once

#include <optional>
#include <vector>

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include "study/case_list.h"
#include "study/results.h"

namespace tesmo::qt {

class StudyTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kSortRole = Qt::UserRole;

    explicit StudyTableModel(QObject* parent = nullptr);

    // A new study: no rows, the columns of its varied inputs. `drawn`: the inputs were drawn
    // from distributions; their texts are the shortest that give each number exactly, and the
    // table shows them in the window's way instead, with four significant digits (the exact
    // text in the cell's tooltip).
    void reset(const CaseList& cases, bool drawn = false);
    // Cases that have arrived, continuing in case order.
    void append(std::vector<CaseOutcome> outcomes);

    const std::vector<CaseOutcome>& outcomes() const { return outcomes_; }
    // The seventeen texts of the case in `row`.
    InputTexts caseTexts(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The column of result `c` of resultColumns().
    int resultColumn(std::size_t c) const;

  private:
    enum class Kind { Number, Input, End, Result, Message };
    struct Column {
        Kind kind;
        std::size_t item;  // the input's index (Input) or the result's (Result)
    };
    std::vector<Column> columns_;
    std::optional<CaseList> cases_;
    bool drawn_ = false;
    std::vector<CaseOutcome> outcomes_;
};

// Sorts by kSortRole: numbers as numbers, empty cells after all others, equal keys in case
// order.
class StudySortModel : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit StudySortModel(QObject* parent = nullptr);

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

}  // namespace tesmo::qt
