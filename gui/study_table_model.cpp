#include "gui/study_table_model.h"

#include "files/file_text.h"
#include "study/result_view.h"
#include "uq/result_texts.h"

namespace tesmo::qt {

namespace {

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

// A caption in two lines, the unit below: "laufende Zeit\nin hh : mm : ss".
QString header(const std::string& caption) {
    const CaptionParts parts = captionParts(caption);
    return qtext(parts.unit.empty() ? parts.name : parts.name + "\nin " + parts.unit);
}

}  // namespace

StudyTableModel::StudyTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void StudyTableModel::reset(const CaseList& cases, bool drawn) {
    beginResetModel();
    cases_.emplace(cases);
    drawn_ = drawn;
    outcomes_.clear();
    columns_.clear();
    columns_.push_back({Kind::Number, 0});
    for (Control field : cases.variedFields())
        columns_.push_back({Kind::Input, static_cast<std::size_t>(tesmo::index(field))});
    columns_.push_back({Kind::End, 0});
    for (std::size_t c = 0; c < kResultCount; ++c)
        columns_.push_back({Kind::Result, c});
    columns_.push_back({Kind::Message, 0});
    endResetModel();
}

void StudyTableModel::append(std::vector<CaseOutcome> outcomes) {
    if (outcomes.empty()) return;
    const int first = static_cast<int>(outcomes_.size());
    beginInsertRows({}, first, first + static_cast<int>(outcomes.size()) - 1);
    for (CaseOutcome& o : outcomes)
        outcomes_.push_back(std::move(o));
    endInsertRows();
}

InputTexts StudyTableModel::caseTexts(int row) const {
    return cases_->texts(outcomes_[static_cast<std::size_t>(row)].number - 1);
}

int StudyTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(outcomes_.size());
}

int StudyTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int StudyTableModel::resultColumn(std::size_t c) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].kind == Kind::Result && columns_[i].item == c) return static_cast<int>(i);
    return -1;
}

QVariant StudyTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const CaseOutcome& o = outcomes_[static_cast<std::size_t>(index.row())];
    const Column& column = columns_[static_cast<std::size_t>(index.column())];
    const bool numeric =
        column.kind == Kind::Number || column.kind == Kind::Input || column.kind == Kind::Result;
    switch (role) {
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (numeric ? Qt::AlignRight : Qt::AlignLeft));
        case Qt::ToolTipRole:
            if (column.kind == Kind::Input && drawn_)
                return qtext(caseTexts(index.row())[controlAt(static_cast<int>(column.item))]);
            if (column.kind == Kind::End)
                return qtext(std::string("Ergebnistabelle: end = ") + caseEndName(o) +
                             (o.message.empty() ? "" : "\n" + o.message));
            return o.message.empty() ? QVariant() : QVariant(qtext(o.message));
        case Qt::DisplayRole:
        case kSortRole:
            break;
        default:
            return {};
    }
    const bool sort = role == kSortRole;
    switch (column.kind) {
        case Kind::Number:
            return sort ? QVariant(static_cast<double>(o.number)) : QVariant(qulonglong(o.number));
        case Kind::Input:
            if (!sort && drawn_ && o.inputRead[column.item])
                return qtext(readableNumber(o.inputs[column.item]));
            if (!sort)
                return qtext(caseTexts(index.row())[controlAt(static_cast<int>(column.item))]);
            return o.inputRead[column.item] ? QVariant(o.inputs[column.item]) : QVariant();
        case Kind::End:
            return QString::fromUtf8(endWord(o));
        case Kind::Result:
            if (!sort) return qtext(resultText(o, column.item));
            return o.reached[column.item] ? QVariant(shownValue(o, column.item)) : QVariant();
        case Kind::Message:
            return o.message.empty() && sort ? QVariant() : QVariant(qtext(o.message));
    }
    return {};
}

QVariant StudyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& column = columns_[static_cast<std::size_t>(section)];
    const ResultColumn* result =
        column.kind == Kind::Result ? &resultColumns()[column.item] : nullptr;
    const Control input = controlAt(static_cast<int>(column.item));
    if (role == Qt::ToolTipRole) {
        if (result) return QString::fromLatin1(result->name);
        if (column.kind == Kind::Input) return QString::fromLatin1(controlName(input));
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    switch (column.kind) {
        case Kind::Number:
            return QStringLiteral("Fall");
        case Kind::Input:
            return header(std::string(trimBlanks(inputCaption(input))));
        case Kind::End:
            return QStringLiteral("Ende");
        case Kind::Result:
            return header(resultCaption(*result));
        case Kind::Message:
            return QStringLiteral("Meldung");
    }
    return {};
}

StudySortModel::StudySortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(StudyTableModel::kSortRole);
}

bool StudySortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(sortRole()), b = right.data(sortRole());
    const bool descending = sortOrder() == Qt::DescendingOrder;
    // Equal keys keep the case order, in either direction; empty cells go last in both.
    const bool caseOrder = (left.row() < right.row()) != descending;
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid() ? caseOrder : a.isValid() != descending;
    int order = 0;
    if (a.typeId() == QMetaType::Double && b.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        order = x < y ? -1 : (y < x ? 1 : 0);
    } else {
        order = QString::localeAwareCompare(a.toString(), b.toString());
    }
    return order != 0 ? order < 0 : caseOrder;
}

}  // namespace tesmo::qt
