#pragma once
// One table of a run's report as a Qt table model. Sorting reorders the
// rows by the cells' own order (numbers as numbers, clock times as times).

#include "ReportTable.h"

#include <QAbstractTableModel>

#include <vector>

namespace rillo::results {

class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportTableModel(model::ReportTable table, QObject* parent = nullptr);

    const model::ReportTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    /// The cell shown at a row (after sorting) and column.
    const std::string& cell(int row, int column) const;

private:
    model::ReportTable table_;
    std::vector<int> order_;  ///< shown row -> row of the table
};

}  // namespace rillo::results
