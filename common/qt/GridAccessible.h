#pragma once
// What assistive technology sees of a GridView: a table named and described
// by the view (the description lists the column captions unless the view
// sets its own), with header cells and one cell per grid cell. Cells are
// numbered as the item view numbers them in its focus and selection
// notices: row by row, the column headers first, each row led by its row
// header. A button cell ("&Add Row", "Tabular", "&OK") is a button named
// without its access-key marker and is pressed through the press action;
// every other cell is a table cell whose set-focus action moves the grid's
// caret there, so the grid's rules run as for a click.

#include <QAccessibleWidget>
#include <QHash>

namespace rillo {

class GridView;

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(GridView* view);
    ~GridAccessible() override;

    /// The accessibility factory for grid views (installed by the view).
    static QAccessibleInterface* create(const QString& className, QObject* object);

    GridView* view() const;
    /// The child number of a model index, of a column header (row -1) and
    /// of a row header (column -1).
    int childIndex(int row, int column) const;

    // QAccessibleInterface
    QAccessible::Role role() const override { return QAccessible::Table; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The selection follows the grid's caret; it is not changed from outside.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    void forgetChildren() const;

    mutable QHash<int, QAccessible::Id> children_;
};

}  // namespace rillo
