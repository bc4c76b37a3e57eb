#include "ChangeSpread.h"

#include "ElementKind.h"

#include "AddGridRow.h"
#include "IsBlankOrZero.h"
#include "NumberText.h"
#include "Ranges.h"

#include <algorithm>

namespace rillo {

namespace {

constexpr const char* kDeckTitle = "Rillo 2000";
constexpr const char* kNoId = "You must assign a conveyance ID before assigning the number of tabular values.";
constexpr int kTypeDirectFlow = 3;

/// The card grids the rules watch, and whose caret keeps out of locked cells.
constexpr GridId kCardGrids[] = {GridId::Card14, GridId::Card15, GridId::Card110, GridId::Card23,
                                 GridId::Card31, GridId::Card42,  GridId::Card44};

bool sameNumber(std::string_view a, std::string_view b) {
    if (trimmed(a).empty() || trimmed(b).empty()) return false;
    return readNumber(a) == readNumber(b);
}

/// The last column of a row the caret may rest on: a row ends there for the
/// wrap of Tab even while it holds no data that far yet, and a locked last
/// column (card 3.1's column 13 without a "Tabular" button) is never reached.
int lastOpenCol(const Grid& grid, int row) {
    for (int c = grid.colCount(); c >= 1; --c)
        if (!grid.format(c, row).locked) return c;
    return 0;
}

/// Whether a row of card 3.1 holds the element of this number.
bool hasElement(const Grid& card31, long long number) {
    for (int r = 2; r <= card31.lastDataRow(); ++r)
        if (!card31.isEmpty(Card31::Element, r) && readInteger(card31.value(Card31::Element, r)) == number) return true;
    return false;
}

}  // namespace

ChangeSpread::ChangeSpread(Deck& deck, UiServices& ui, RulesHost& host) : deck_(deck), ui_(ui), host_(host) {}

void ChangeSpread::attach() {
    // Rows read as lines of text, and the caret never enters a locked cell:
    // a key that would take it there leaves it where it is.
    CaretRule caret;
    caret.barred = &CaretRule::lockedCell;
    caret.lines = true;
    for (GridId id : kCardGrids) {
        deck_.grid(id).setListener(this);
        deck_.grid(id).setCaretRule(caret);
    }
}

// ---------------------------------------------------------------------------
// Duplicate numbers

bool ChangeSpread::checkDuplicateNumber(Grid& grid, int col, long long number, const std::string& kind, int row) {
    const bool card31 = isCard(grid, GridId::Card31);
    // A negative element number marks a change card, and a deck may hold many.
    if (card31 && number < 0) return false;
    const bool skipOwnRow = card31 || isCard(grid, GridId::Card23);
    const int last = grid.lastDataRow();
    for (int r = 2; r <= last; ++r) {
        // An empty cell holds no number, and an overflow row is no element:
        // neither makes -1 (a change card) a duplicate.
        if (grid.isEmpty(col, r) || (card31 && deck_.isOverflowRow(r))) continue;
        const long long v = readInteger(grid.value(col, r));
        if (v != number || (skipOwnRow && r == row)) continue;
        ui_.message("Duplicate " + kind + " number not allowed. " + std::to_string(number), "Warning",
                    Icon::Exclamation);
        ui_.setPointer(Pointer::Normal);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Events

void ChangeSpread::buttonClicked(Grid& grid, int col, int row, bool) {
    trapErrors(ui_, [&] {
        if (grid.format(col, row).type != CellButton) return;
        if (col == 1) {
            addGridRow(grid, 0);
            if (isCard(grid, GridId::Card31)) baseJkItems(grid.rowCount() - 1);
            return;
        }
        if (isCard(grid, GridId::Card31) && col == Card31::Tabular) {
            if (hasElementNumber(row))
                host_.openPairsDialog(row);
            else
                ui_.message("You cannot change tabular values on an element with no ID");
        }
    });
}

void ChangeSpread::editMode(Grid& grid, int col, int row, int mode, bool) {
    if (mode == 1 && isCard(grid, GridId::Card31)) {
        previousCellValue_ = grid.value(col, row);
        previousCell_ = {col, row};
    }
}

void ChangeSpread::change(Grid& grid, int col, int row) {
    trapErrors(ui_, [&] {
        if (isCard(grid, GridId::Card14))
            changeCard14(grid, col, row);
        else if (isCard(grid, GridId::Card23))
            changeCard23(grid, col, row);
        else if (isCard(grid, GridId::Card31))
            changeCard31(grid, col, row);
    });
}

void ChangeSpread::leaveCell(Grid& grid, int col, int row, int newCol, int newRow, bool& cancel) {
    trapErrors(ui_, [&] {
        if (isCard(grid, GridId::Card15)) {
            const NormalRange* range = findRange(GridId::Card15, col);
            if (row == 2 && range && (newCol == col + 1 || range->onAnyLeave) && !askRange(grid, GridId::Card15, col, row))
                cancel = true;
        } else if (isCard(grid, GridId::Card31)) {
            leaveCard31(grid, col, row, newCol, newRow, cancel);
        }
    });
}

void ChangeSpread::deleteKey(Grid& grid) {
    trapErrors(ui_, [&] {
        const int col = grid.activeCol(), row = grid.activeRow();
        if (row <= 1 || !grid.contains(col, row)) return;
        const bool card31 = isCard(grid, GridId::Card31);
        const std::string before = grid.value(col, row);
        grid.clearCell(col, row);
        if (card31 && col == Card31::NDP) {
            grid.setValue(col, row, "0");
            changeCard31(grid, col, row);
        } else if (card31 && col == Card31::Element && !before.empty()) {
            // Deleting an element number obeys the same rule as typing a blank
            // over it, so pairs are never cut off from their element.
            previousCellValue_ = before;
            changeCard31(grid, col, row);
        }
    });
}

// ---------------------------------------------------------------------------
// Card 1.4, 2.3 and 1.5

void ChangeSpread::changeCard14(Grid& grid, int col, int row) {
    if (col < 1 || col > 3) return;
    const std::string text = grid.value(col, row);
    // The cell keeps fixed-point text, so a typed "0" reads "0.0000" here.
    if (text.empty() || !isNumeric(text) || readNumber(text) != 0) return;
    if (++zeroRainfallCount_ == 3) {
        ui_.message(std::string("Problems occur if 0.0 rainfall occurs several time-steps before") +
                    " the actual start of the rainfall (the computer overflows).");
        zeroRainfallCount_ = 0;
    }
}

void ChangeSpread::changeCard23(Grid& grid, int col, int row) {
    // Only the sub-catchment numbers must be unique: many sub-catchments may
    // drain into the same conveyance element (column 2).
    if (col != 1 || grid.isEmpty(col, row)) return;
    if (checkDuplicateNumber(grid, col, readInteger(grid.value(col, row)), "sub-catchment", row)) {
        grid.clearCell(col, row);
        host_.focusGrid(grid);
    }
}

bool ChangeSpread::askRange(Grid& grid, GridId id, int col, int row) {
    const NormalRange* range = findRange(id, col);
    if (!range || grid.isEmpty(col, row) || range->accepts(grid.number(col, row))) return true;
    const bool keep = ui_.ask(rangeQuestion(*range), kDeckTitle);
    if (!keep) grid.clearCell(col, row);
    host_.focusGrid(grid);
    return keep;
}

// ---------------------------------------------------------------------------
// Card 3.1

void ChangeSpread::leaveCard31(Grid& grid, int col, int row, int newCol, int newRow, bool& cancel) {
    if (col == Card31::NDP && tabularPending_) {
        tabularPending_ = false;
        ui_.message("You Must Enter Tabular Values for row " + std::to_string(row) +
                    "\nPress the \"Tabular\" Button at the end of the row ");
        grid.setActiveCell(Card31::Tabular, row);
    }
    if (col == Card31::Type && newCol == Card31::FirstDimension && !grid.isEmpty(col, row) &&
        readInteger(grid.value(col, row)) == kTypeDirectFlow) {
        grid.setValue(Card31::Length, row, "1");
        grid.setValue(Card31::Depth, row, "20");
    }
    // Leaving for the next column, or past the row's last open column to the next row.
    const bool onward = (newCol == col + 1 && newRow == row) ||
                        (newCol == 1 && newRow == row + 1 && col == lastOpenCol(grid, row));
    if (row == 2 && onward && findRange(GridId::Card31, col) && !askRange(grid, GridId::Card31, col, row))
        cancel = true;
}

void ChangeSpread::changeCard31(Grid& grid, int col, int row) {
    // 1. The special type.
    if (col == Card31::JK) {
        if (host_.isEditorActive()) diversionPrompt(row);
        if (!hasElementNumber(row)) {
            showNoIdMessage();
            return;
        }
    }

    // 2 and 3. The number of pairs.
    if (col == Card31::NDP) {
        if (isBlankOrZero(grid.value(col, row))) {
            tabularPending_ = false;
            dropTabular(row);
            return;
        }
        if (!hasElementNumber(row)) {
            showNoIdMessage();
            return;
        }
        const bool alreadySpecial = grid.format(Card31::Tabular, row).type == CellButton ||
                                    indexRowOf(grid.value(Card31::Element, row)) != 0;
        if (!alreadySpecial && specialElementCount(row) >= SpecialElementLimit) {
            ui_.message("Limit the combined total of Detention, Diversion and Hydrograph Inflow Elements to " +
                            std::to_string(SpecialElementLimit),
                        "Caution- System Resources Exeeded", Icon::Exclamation);
            // The refused entry goes; the element stays an ordinary one.
            grid.clearCell(col, row);
            grid.setActiveCell(col, row);
            host_.focusGrid(grid);
            return;
        }
        tabularPending_ = true;
        setTabularButton(row, true);
    }

    // 4. The element number.
    if (col == Card31::Element) {
        const std::string number = grid.value(col, row);
        const int last = grid.lastDataRow();
        for (int r = 2; r <= last && readNumber(number) >= 0; ++r) {
            if (r != row && sameNumber(grid.value(col, r), number)) {
                ui_.message("You cannot have a duplicate ID.");
                grid.setValue(col, row, previousCellValue_);
                return;
            }
        }
        if (!isBlankOrZero(grid.value(Card31::NDP, row)) && isBlankOrZero(number)) {
            ui_.message(
                "You cannot change this value to a blank if you have tabular data tied to this conveyance element.",
                {}, Icon::Information);
            grid.setValue(col, row, previousCellValue_);
            return;
        }
        if (!trimmed(number).empty())
            if (const int at = indexRowOf(previousCellValue_)) deck_.card31aIndex().setValue(PairIndex::Element, at, number);
    }

    // 5. The element type and its overflow row.
    if (col == Card31::Type && !grid.isEmpty(col, row)) {
        const long long type = readInteger(grid.value(col, row));
        if (ElementKind::carriesOverflow(type)) {
            if (!deck_.isOverflowRow(row + 1)) {
                addGridRow(grid, row);
                ElementKind::markOverflowRow(grid, row + 1);
                ui_.message(std::string("With Options 4 or 5 chosen for the Conveyance Element ") +
                                "you must enter another card 3.1 with the first five columns " + "left blank.",
                            kDeckTitle);
                host_.focusGrid(grid);
            }
        } else if (!ElementKind::carriesOverflow(type) && deck_.isOverflowRow(row + 1)) {
            grid.deleteRow(row + 1);
            grid.setRowCount(grid.rowCount() - 1);
        }
    }

    // 6. The caret stays with the changed cell.
    grid.setActiveCell(col, row);

    // 7. No two elements share a number.
    if (col == Card31::Element && !grid.isEmpty(col, row) &&
        checkDuplicateNumber(grid, col, readInteger(grid.value(col, row)), "conveyance element", row)) {
        grid.clearCell(col, row);
        grid.setActiveCell(col, row);
        host_.focusGrid(grid);
    }
}

void ChangeSpread::diversionPrompt(int row) {
    Grid& grid = deck_.card31();
    if (grid.isEmpty(Card31::JK, row)) {
        grid.clearCell(Card31::NDP, row);
        // Without a special type the element has no pairs either.
        if (grid.format(Card31::Tabular, row).type == CellButton ||
            indexRowOf(grid.value(Card31::Element, row)) != 0) {
            tabularPending_ = false;
            dropTabular(row);
        }
        return;
    }
    if (readInteger(grid.value(Card31::JK, row)) == JkItem::Diversion) {
        std::string target;
        while (true) {
            const auto answer = ui_.input("What Conveyance Element Does the Diverted flow go to?");
            if (!answer) break;
            target = answer->substr(0, ElementKind::TargetDigits);
            // An element number: digits only, and not 0 (0 is the code of a
            // detention basin in the file).
            const bool digits = !target.empty() && std::all_of(target.begin(), target.end(), [](char c) {
                return c >= '0' && c <= '9';
            });
            if (digits && readInteger(target) > 0) {
                // The model sends the diverted flow out of the network when
                // no element takes it: say so while the target is typed.
                if (hasElement(grid, readInteger(target)) ||
                    ui_.ask("There is no conveyance element " + std::to_string(readInteger(target)) +
                                " on card 3.1 to take the diverted flow.\nDo you want to keep this value?",
                            "Rillo 2000"))
                    break;
                target.clear();
                continue;
            }
            target.clear();
            ui_.message("Must Enter Numeric Data");
        }
        if (target.empty()) {
            // Cancelled: the cell goes back to the special type it held, if
            // that is known; a diversion without a target is no choice.
            const bool known = previousCell_ == std::make_pair(static_cast<int>(Card31::JK), row) &&
                               !previousCellValue_.empty() &&
                               readInteger(previousCellValue_) != JkItem::Diversion &&
                               readInteger(previousCellValue_) <
                                   static_cast<long long>(grid.comboItems(Card31::JK, row).size());
            grid.setValue(Card31::JK, row, known ? previousCellValue_ : std::string());
        } else {
            ElementKind::diversionTo(static_cast<long>(readInteger(target))).showInCell(grid, row);
        }
    }
    host_.focusGrid(grid);
    grid.setActiveCell(Card31::NDP, row);
}

void ChangeSpread::dropTabular(int row) {
    Grid& grid = deck_.card31();
    setTabularButton(row, false);
    grid.clearCell(Card31::JK, row);
    grid.clearCell(Card31::NDP, row);
    const int at = indexRowOf(grid.value(Card31::Element, row));
    if (!at) return;
    Grid& index = deck_.card31aIndex();
    const int last = index.rowCount();
    if (at < last)
        index.moveBlock(PairIndex::Element, at + 1, PairIndex::Rows, last, PairIndex::Element, at);
    else
        index.clearBlock(PairIndex::Element, at, PairIndex::Rows, at);
}

int ChangeSpread::indexRowOf(std::string_view element) const {
    const Grid& index = deck_.card31aIndex();
    for (int r = 1; r <= index.rowCount(); ++r)
        if (sameNumber(index.value(PairIndex::Element, r), element)) return r;
    return 0;
}

int ChangeSpread::specialElementCount(int exceptRow) const {
    const Grid& index = deck_.card31aIndex();
    int indexed = 0;
    for (int r = 1; r <= index.rowCount(); ++r)
        if (!index.isEmpty(PairIndex::Element, r)) ++indexed;
    // Elements given pairs whose dialog has not been opened yet hold no index
    // row; they count as well, or the index would overflow later.
    const Grid& g = deck_.card31();
    int buttons = 0;
    for (int r = 2; r < g.rowCount(); ++r)
        if (r != exceptRow && g.format(Card31::Tabular, r).type == CellButton) ++buttons;
    return std::max(indexed, buttons);
}

bool ChangeSpread::hasElementNumber(int row) const {
    return !isBlankOrZero(deck_.card31().value(Card31::Element, row));
}

void ChangeSpread::showNoIdMessage() { ui_.message(kNoId, {}, Icon::Information); }

void ChangeSpread::baseJkItems(int row) {
    // The template row may carry its own diversion item; a new row offers only the three base items.
    Grid& grid = deck_.card31();
    if (grid.format(Card31::JK, row).type == CellCombo) grid.setCombo(Card31::JK, row, JkComboList);
}

void ChangeSpread::setTabularButton(int row, bool on) {
    Grid& grid = deck_.card31();
    CellFormat f = grid.format(Card31::Tabular, row);
    f.type = on ? CellButton : CellEdit;
    f.buttonText = on ? "Tabular" : "";
    f.locked = !on;
    f.backColor = on ? ColorWindow : ColorButtonFace;
    grid.setFormat(Card31::Tabular, row, f);
}

}  // namespace rillo
