#include "AddGridRow.h"

namespace rillo {

namespace {

/// The format a cell of an added row takes from the template row's cell.
CellFormat addedRowFormat(const CellFormat& t) {
    CellFormat f;
    f.type = t.type;
    f.hAlign = t.hAlign;
    f.vAlign = t.vAlign;
    f.locked = t.locked;
    switch (t.type) {
    case CellFloat:
        f.floatMax = t.floatMax;
        f.floatMin = t.floatMin;
        f.decimals = t.decimals;
        break;
    case CellInteger:
        f.intMin = t.intMin;
        f.intMax = t.intMax;
        break;
    case CellCombo:
        f.comboList = t.comboList;
        f.comboEditable = t.comboEditable;
        f.comboMaxDrop = t.comboMaxDrop;
        break;
    case CellButton:
        // The "Tabular" button is never copied.
        f.type = CellEdit;
        f.backColor = ColorButtonFace;
        break;
    case CellEdit:
        if (t.locked) f.backColor = ColorButtonFace;
        break;
    default:
        break;
    }
    return f;
}

}  // namespace

void AddGridRow(Grid& grid, int afterRow) {
    const int remembered = grid.row();
    const int newRow = afterRow == 0 ? grid.rowCount() : afterRow + 1;
    grid.setRow(newRow);
    grid.setRowCount(grid.rowCount() + 1);
    grid.action(Grid::ActionInsertRow);
    for (int col = 1; col <= grid.colCount(); ++col) grid.setDerivedFormat(col, newRow, 2, &addedRowFormat);
    grid.setRow(remembered);
}

}  // namespace rillo
