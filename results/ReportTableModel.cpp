#include "ReportTableModel.h"

#include "CellOrder.h"

#include <algorithm>
#include <numeric>

namespace rillo::results {

namespace {
const std::string noText;
}

ReportTableModel::ReportTableModel(model::ReportTable table, QObject* parent)
    : QAbstractTableModel(parent), table_(std::move(table)), order_(table_.rows.size()) {
    std::iota(order_.begin(), order_.end(), 0);
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.headers.size());
}

const std::string& ReportTableModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0) return noText;
    const auto& cells = table_.rows[static_cast<std::size_t>(order_[static_cast<std::size_t>(row)])];
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : noText;
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::string& text = cell(index.row(), index.column());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return QString::fromStdString(text);
    if (role == Qt::TextAlignmentRole) {
        // Numbers and times line up on the right, as the report prints them.
        const bool numeric = !text.empty() && cellLess(text, "a");
        return QVariant::fromValue(Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    return QString::fromStdString(table_.headers[static_cast<std::size_t>(section)]);
}

void ReportTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> previous = order_;
    auto text = [&](int row) -> const std::string& {
        const auto& cells = table_.rows[static_cast<std::size_t>(row)];
        return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : noText;
    };
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? cellLess(text(a), text(b)) : cellLess(text(b), text(a));
    });
    // Selections and the current cell follow their rows.
    std::vector<int> shownAt(order_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) shownAt[static_cast<std::size_t>(order_[i])] = static_cast<int>(i);
    QModelIndexList after;
    for (const QModelIndex& i : before)
        after << index(shownAt[static_cast<std::size_t>(previous[static_cast<std::size_t>(i.row())])], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace rillo::results
