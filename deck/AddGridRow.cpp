#include "AddGridRow.h"

#include "UiServices.h"

#include <algorithm>

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

void makeAddRowLine(Grid& grid) {
    const int row = grid.rowCount();
    grid.setButton(1, row, kAddRowLabel);
    for (int col = 2; col <= grid.colCount(); ++col) {
        grid.setLocked(col, row, true);
        grid.setBackColor(col, row, ColorButtonFace);
    }
}

void addGridRow(Grid& grid, int afterRow) {
    const int newRow = afterRow == 0 ? grid.rowCount() : afterRow + 1;
    grid.setRowCount(grid.rowCount() + 1);
    grid.insertRow(newRow);
    grid.setDerivedRowFormat(newRow, 2, &addedRowFormat);
}

namespace {

/// The rows of block text as the grid's paste reads them.
int blockRows(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

}  // namespace

void pasteBlock(Grid& grid, Clipboard& clipboard) {
    const std::string text = clipboard.clipboardText();
    const int last = grid.rowCount();
    const bool buttonRow = last >= 1 && grid.format(1, last).type == CellButton;
    if (buttonRow && !text.empty()) {
        const int lastNeeded = grid.activeRow() + blockRows(text) - 1;
        if (grid.format(1, last).buttonText == kAddRowLabel) {
            while (grid.rowCount() <= lastNeeded) {
                const int before = grid.rowCount();
                grid.userPressButton(1, grid.rowCount());
                if (grid.rowCount() == before) addGridRow(grid, 0);  // a grid without the rules
            }
        } else if (lastNeeded >= last) {
            throw RuntimeError("The pasted block has " + std::to_string(blockRows(text)) +
                               " rows; from the caret down this table has room for " +
                               std::to_string(std::max(last - grid.activeRow(), 0)) + ".");
        }
    }
    grid.pasteText(grid.activeCol(), grid.activeRow(), text);
}

}  // namespace rillo
