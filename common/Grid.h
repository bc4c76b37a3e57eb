#pragma once
// The spreadsheet grid that holds every table of the card editor. It is a
// headless model: a view presents it and forwards what the user does through
// the user* calls, which raise the GridListener events. Writes made by
// program code raise no events.
//
// Cells are addressed by column and row from 1. Every value is text:
//  - edit and button cells keep the text as given;
//  - float cells keep fixed-point text with at least their decimal places
//    ("2.5" in a 4-place cell reads "2.5000"); a program write with more
//    places keeps them all ("0.0000125" stays so), and exponent notation
//    becomes fixed-point ("1.2E-3" reads "0.0012000" in 7 places); what a
//    user types is rounded to the cell's places;
//  - integer cells keep plain digits with an optional minus sign;
//  - combo cells keep the 0-based index of the chosen item ("" for none).
// Text that holds no number (no digit where the lenient reading looks) makes
// a float or integer cell empty. A program write outside a cell's minimum or
// maximum is kept as written, so reading a file never alters its numbers;
// what a user types is refused when it is not a number or is out of range.

#include "Clipboard.h"
#include "GridTypes.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace rillo {

/// How the keys move a grid's caret: the grid's one rule, under the limits an
/// editing rule sets with Grid::setCaretRule. Tab goes one cell on along the
/// rows and Shift+Tab one back (Tab with another modifier goes nowhere); the
/// arrows go one cell their way and Enter one down, whatever the modifiers.
/// A move past a row's end goes on in the next row; a move off the grid
/// leaves the caret where it is. The default rule bars no cell.
struct CaretRule {
    /// Cells the caret must not land on (none when unset).
    bool (*barred)(const Grid&, int col, int row) = nullptr;
    /// A move that meets a barred cell goes on past it to the next cell the
    /// caret may land on (true), or leaves the caret where it is (false).
    bool passBarred = false;
    /// Rows read as lines: Left and Right go on across rows as Shift+Tab and
    /// Tab do, and a row ends at its last column holding data or its last
    /// column the caret may land on, whichever is further (going back into
    /// a row, at the last holding data, or the last open one when none does).
    bool lines = false;
    /// Tab past the last cell comes round to the first, Shift+Tab back.
    bool tabCircles = false;

    /// The usual barred cells: the locked ones.
    static bool lockedCell(const Grid& grid, int col, int row);
};

class Grid {
public:
    using Array = std::vector<std::vector<std::string>>;

    explicit Grid(std::string name = {}, int cols = 0, int rows = 0);
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    const std::string& name() const { return name_; }

    // Extent.
    int colCount() const { return cols_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    void setColCount(int cols);
    /// Raising the count adds empty rows at the bottom; lowering it drops rows.
    void setRowCount(int rows);
    /// The last column / row holding a value (0 when none). Button labels are
    /// formats, not values.
    int lastDataCol() const;
    int lastDataRow() const;
    int rowsFrozen() const { return rowsFrozen_; }
    void setRowsFrozen(int rows) { rowsFrozen_ = rows; }

    bool contains(int col, int row) const {
        return col >= 1 && col <= cols_ && row >= 1 && row <= static_cast<int>(rows_.size());
    }

    // Values.
    std::string value(int col, int row) const;
    /// The value without a copy; valid until the grid changes.
    std::string_view text(int col, int row) const;
    bool isEmpty(int col, int row) const { return text(col, row).empty(); }
    /// Program write (no events). Returns false outside the grid.
    bool setValue(int col, int row, std::string_view text);
    /// The lenient numeric value of a cell ("" reads 0).
    double number(int col, int row) const;

    // Formats.
    const CellFormat& format(int col, int row) const;
    void setFormat(int col, int row, const CellFormat& format);
    void setCellType(int col, int row, int type);
    void setLocked(int col, int row, bool locked);
    void setBackColor(int col, int row, std::uint32_t color);
    void setButton(int col, int row, std::string_view label);
    void setFloat(int col, int row, int decimals, double min, double max);
    void setInteger(int col, int row, long long min, long long max);
    void setCombo(int col, int row, std::string_view tabSeparatedItems);
    /// Every cell of a column takes the same format (rows from `fromRow`).
    void setColumnFormat(int col, const CellFormat& format, int fromRow = 1);
    /// A format made from another by a fixed rule.
    using FormatRule = CellFormat (*)(const CellFormat&);
    /// Cell (col, row) takes `rule` applied to the format of (col, fromRow).
    /// The result is remembered per source format and rule, so rows added
    /// one after another do not rebuild (and copy item lists for) it.
    void setDerivedFormat(int col, int row, int fromRow, FormatRule rule);
    /// The same for every cell of a row.
    void setDerivedRowFormat(int row, int fromRow, FormatRule rule);

    // Combo cells.
    std::vector<std::string> comboItems(int col, int row) const;
    /// Sets item `index` (0-based) to text, extending the list as needed.
    void setComboItem(int col, int row, int index, std::string_view text);
    /// The chosen item's text, "" when none.
    std::string comboText(int col, int row) const;

    // Caret and selection.
    int activeCol() const { return activeCol_; }
    int activeRow() const { return activeRow_; }
    /// Makes a cell the active cell (program call, no events). The selection
    /// becomes that cell.
    void setActiveCell(int col, int row);
    void setSelection(int col1, int row1, int col2, int row2);
    int selCol1() const { return sel_[0]; }
    int selRow1() const { return sel_[1]; }
    int selCol2() const { return sel_[2]; }
    int selRow2() const { return sel_[3]; }
    void setCaretRule(const CaretRule& rule) { caretRule_ = rule; }
    const CaretRule& caretRule() const { return caretRule_; }
    /// Where a key takes the caret from the active cell by the caret rule:
    /// the active cell itself when the move goes nowhere; nothing when the
    /// key is no move.
    std::optional<std::pair<int, int>> keyTarget(int keyCode, int shift) const;

    // Row and block operations.
    /// Inserts an empty row at `row`; rows from there move down one and the
    /// last row drops off, so the row count stays.
    void insertRow(int row);
    /// Deletes `row`; rows below move up one and an empty row comes in at the
    /// bottom, so the row count stays.
    void deleteRow(int row);
    void clearCell(int col, int row) { clearBlock(col, row, col, row); }
    void clearBlock(int col1, int row1, int col2, int row2);
    /// Moves the values of a block so that its top-left cell lands on
    /// (destCol, destRow); vacated cells become empty.
    void moveBlock(int col1, int row1, int col2, int row2, int destCol, int destRow);

    // Clipboard: tab-separated cells, newline-separated rows.
    std::string blockText(int col1, int row1, int col2, int row2) const;
    /// Writes text in block format with its top-left at (col, row); cells
    /// outside the grid, cells not open for typing and cells that would
    /// refuse their text if it were typed are left alone.
    void pasteText(int col, int row, std::string_view text);
    void copySelection(Clipboard& clipboard) const;
    void cutSelection(Clipboard& clipboard);

    // Two-dimensional arrays.
    Array getArray(int col, int row, int cols, int rows) const;
    void setArray(int col, int row, const Array& values);

    // What a user does through a view: these raise the events.
    void setListener(GridListener* listener) { listener_ = listener; }
    void addObserver(GridObserver* observer);
    void removeObserver(GridObserver* observer);
    /// Editing begins in the active cell (raises EditMode 1).
    void userBeginEdit();
    /// The user typed text into the active cell. Returns false (and changes
    /// nothing) when the cell refuses it. The change is raised when the
    /// cell is left.
    bool userEnterText(std::string_view text);
    /// Editing of the active cell ends with nothing entered (the user
    /// cancelled, or the view refused the entry): raises EditMode 0 with no
    /// change, so every EditMode 1 has its EditMode 0.
    void userCancelEdit();
    /// The caret is asked to move. Raises Change (for a changed cell) and
    /// then LeaveCell. Returns whether the caret is now at (col, row).
    bool userMoveTo(int col, int row);
    /// A key press: raises KeyDown, then moves the caret by the caret rule
    /// from wherever the caret then is. Returns the key code as the handler
    /// left it (0: swallowed).
    int userKeyDown(int keyCode, int shift);
    void userClickButton(int col, int row);
    /// A command presses a button cell for the user, the caret staying
    /// where it is (a paste that needs the rows "&Add Row" adds).
    void userPressButton(int col, int row);
    void userMouseUp(int button, int shift, int x, int y);
    /// Whether the user may type into a cell (inside, unlocked, not a button).
    bool isEditable(int col, int row) const;
    bool changePending() const { return changePending_; }

private:
    /// A cell names its format by its place in the grid's pool, so rows of
    /// the same formats share them instead of copying item lists per cell.
    struct Cell {
        std::uint32_t format = 0;
        std::string value;
    };
    std::uint32_t intern(const CellFormat& format);
    const CellFormat& formatOf(const Cell& cell) const { return formats_[cell.format]; }
    /// Gives the cell at (col, row) pooled format `id`; its value follows.
    void assignFormat(Cell& cell, int col, int row, std::uint32_t id);
    using Row = std::vector<Cell>;

    Cell* cell(int col, int row) {
        return contains(col, row) ? &rows_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)] : nullptr;
    }
    const Cell* cell(int col, int row) const {
        return contains(col, row) ? &rows_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)] : nullptr;
    }
    static std::string normalized(const CellFormat& format, std::string_view text);
    /// Text as a user's entry puts it into a cell of this format.
    static std::string typed(const CellFormat& format, std::string_view text);
    /// Whether a cell of this format takes text from the user: a number
    /// cell takes only a plain decimal number within its bounds (or "").
    static bool accepts(const CellFormat& format, std::string_view text);
    void notifyCells(int col1, int row1, int col2, int row2) {
        for (auto* o : observers_) o->cellsChanged(col1, row1, col2, row2);
    }
    Row emptyRow() const { return Row(static_cast<std::size_t>(cols_)); }
    void raiseChangeIfPending();

    std::string name_;
    struct FormatHash {
        std::size_t operator()(const CellFormat& f) const;
    };
    std::deque<CellFormat> formats_{CellFormat{}};  // stable references; 0 is the default
    std::unordered_map<CellFormat, std::uint32_t, FormatHash> formatIds_{{CellFormat{}, 0}};
    // (source format, rule) -> derived format; pool entries never go away.
    std::map<std::pair<std::uint32_t, FormatRule>, std::uint32_t> derivedFormats_;
    /// What each column of the last row given derived formats took.
    struct DerivedFormat {
        std::uint32_t from = 0;
        FormatRule rule = nullptr;
        std::uint32_t to = 0;
    };
    std::vector<DerivedFormat> lastDerivedRow_;
    int cols_ = 0;
    std::vector<Row> rows_;
    int rowsFrozen_ = 0;
    int activeCol_ = 1;
    int activeRow_ = 1;
    int sel_[4] = {1, 1, 1, 1};
    CaretRule caretRule_;
    bool changePending_ = false;
    int changeCol_ = 0, changeRow_ = 0;  // the cell whose change is pending
    GridListener* listener_ = nullptr;
    std::vector<GridObserver*> observers_;
};

}  // namespace rillo
