#pragma once
// The Qt item model over one rillo::Grid. Grid row N is model row N-1 and
// grid column N model column N-1; row 1, the caption row, is an ordinary
// row. While the grid keeps it frozen, its texts are also the horizontal
// header, which is how the view keeps them in view. The model follows the grid through
// GridObserver, so program writes to the grid show at once. The grid must
// outlive the model.

#include "Grid.h"

#include <QAbstractTableModel>

namespace rillo {

class GridTableModel : public QAbstractTableModel, private GridObserver {
    Q_OBJECT
public:
    enum Role {
        /// The cell type as the grid numbers it (CellEdit, CellFloat, ...).
        CellTypeRole = Qt::UserRole + 1,
    };

    explicit GridTableModel(Grid& grid, QObject* parent = nullptr);
    ~GridTableModel() override;

    Grid& grid() const { return grid_; }
    /// The grid cell of an index, and the index of a grid cell.
    static int gridCol(const QModelIndex& index) { return index.column() + 1; }
    static int gridRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex cellIndex(int col, int row) const { return index(row - 1, col - 1); }
    QModelIndex activeIndex() const { return cellIndex(grid_.activeCol(), grid_.activeRow()); }
    const CellFormat& format(const QModelIndex& index) const;
    /// The rows the view keeps in view at the top (the grid's RowsFrozen).
    int frozenRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    /// Enters the text (a combo cell: the item index) as the user's typing
    /// into the grid's active cell; any other cell refuses. False when the
    /// grid refuses the entry.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Column header text: A, B, ..., Z, AA, AB, ...
    static QString columnLetters(int col);

signals:
    /// The grid's caret moved (to a grid column and row, from 1).
    void caretMoved(int col, int row);

private:
    void rowsAboutToBeInserted(int row, int count) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(int row, int count) override;
    void rowsRemoved() override;
    void aboutToReset() override;
    void reset() override;
    void cellsChanged(int col1, int row1, int col2, int row2) override;
    void activeCellChanged(int col, int row) override;

    bool valid(const QModelIndex& index) const;

    Grid& grid_;
};

}  // namespace rillo
