#include "PairsDialogLogic.h"

#include "AddGridRow.h"
#include "NumberText.h"

#include <algorithm>

namespace rillo {

namespace {

constexpr const char* kNoId = "You cannot change tabular values on an element with no ID";
constexpr const char* kNoPairs = "The number of pairs of tabular values (NDP) must be a whole number above 0.";
constexpr const char* kZero = "0";

/// A tabular value: six decimals, from 0 to 99999.
CellFormat pairCell() { return CellFormat::number(6, 0, 99999); }

CellFormat greyCell() {
    CellFormat f;
    f.locked = true;
    f.backColor = ColorButtonFace;
    return f;
}

bool sameNumber(std::string_view a, std::string_view b) {
    if (trimmed(a).empty() || trimmed(b).empty()) return false;
    return readNumber(a) == readNumber(b);
}

}  // namespace

PairsDialogLogic::Shape PairsDialogLogic::shapeFor(long long ndp) {
    if (ndp <= 0) return {};
    return {ElementKind::pairRows(ndp), ElementKind::valuesInLastRow(ndp)};
}

PairsDialogLogic::PairsDialogLogic(Deck& deck, UiServices& ui) : deck_(deck), ui_(ui), grid_("tabular values", ValueCols, 3) {
    shapeGrid(shapeFor(1));
    // The keys skip the locked grey cells: Tab goes on to the next open value
    // or button (round to the first after "&Cancel"); an arrow or Enter with
    // no open cell that way leaves the caret where it is.
    CaretRule caret;
    caret.barred = &CaretRule::lockedCell;
    caret.passBarred = true;
    caret.tabCircles = true;
    grid_.setCaretRule(caret);
    grid_.setListener(this);
}

void PairsDialogLogic::shapeGrid(const Shape& shape) {
    const int pairRows = std::max(shape.rows, 1);
    grid_.setRowCount(0);
    grid_.setRowCount(pairRows + 2);
    grid_.setRowsFrozen(1);
    for (int c = 1; c <= ValueCols; ++c) {
        grid_.setFormat(c, 1, CellFormat::caption());
        for (int r = 2; r <= pairRows + 1; ++r) grid_.setFormat(c, r, pairCell());
    }
    const int last = pairRows + 1;
    for (int c = shape.lastRowValues + 1; shape.rows > 0 && c <= ValueCols; ++c) grid_.setFormat(c, last, greyCell());

    const int buttons = pairRows + 2;
    for (int c = 1; c <= ValueCols; ++c) grid_.setFormat(c, buttons, greyCell());
    grid_.setButton(1, buttons, "&OK");
    grid_.setLocked(1, buttons, false);
    grid_.setButton(2, buttons, "&Cancel");
    grid_.setLocked(2, buttons, false);
    grid_.setActiveCell(1, 2);
}

void PairsDialogLogic::setPairCaptions(const ElementKind& kind) {
    for (int c = 1; c <= ValueCols; ++c) grid_.setValue(c, 1, c % 2 == 1 ? kind.xCaption() : kind.yCaption());
}

bool PairsDialogLogic::load(int row) {
    result_ = Result::Open;
    indexRow_ = 0;
    const Grid& card31 = deck_.card31();
    const std::string element(trimmed(card31.value(Card31::Element, row)));
    if (element.empty() || readNumber(element) == 0) {
        ui_.message(kNoId);
        return false;
    }
    const std::string ndpText = card31.value(Card31::NDP, row);
    const long long ndp = readInteger(ndpText);
    if (ndp <= 0 || !isNumeric(ndpText)) {
        ui_.message(kNoPairs, {}, Icon::Exclamation);
        return false;
    }
    const Shape shape = shapeFor(ndp);
    shapeGrid(shape);
    setPairCaptions(ElementKind::ofCell(card31, row));

    const int first = placeBlock(element, shape);
    const Grid& store = deck_.card31a();
    if (shape.rows > 1) grid_.setArray(1, 2, store.getArray(1, first, ValueCols, shape.rows - 1));
    grid_.setArray(1, shape.rows + 1, store.getArray(1, first + shape.rows - 1, shape.lastRowValues, 1));
    return true;
}

void PairsDialogLogic::ensureStoreRow(int row) {
    Grid& store = deck_.card31a();
    while (row >= store.rowCount()) addGridRow(store, 0);
}

int PairsDialogLogic::placeBlock(const std::string& element, const Shape& shape) {
    Grid& index = deck_.card31aIndex();
    Grid& store = deck_.card31a();

    int at = 0;
    for (int r = 1; r <= index.rowCount() && !at; ++r)
        if (sameNumber(index.value(PairIndex::Element, r), element)) at = r;

    const auto appendZeros = [&](int from, int count) {
        for (int i = 0; i < count; ++i) {
            addGridRow(store, 0);
            ensureStoreRow(from + i);
            for (int c = 1; c <= ValueCols; ++c) store.setValue(c, from + i, kZero);
        }
    };

    if (!at) {
        at = index.lastDataRow() + 1;
        // A full index grows rather than losing the new element's block.
        if (at > index.rowCount()) {
            index.setRowCount(at);
            for (int c = 1; c <= 3; ++c) index.setFormat(c, at, index.format(c, 1));
        }
        const int first = store.lastDataRow() + 1;
        index.setValue(PairIndex::Element, at, element);
        index.setValue(PairIndex::FirstRow, at, std::to_string(first));
        index.setValue(PairIndex::Rows, at, std::to_string(shape.rows));
        appendZeros(first, shape.rows);
        indexRow_ = at;
        return first;
    }

    indexRow_ = at;
    const int oldFirst = static_cast<int>(readInteger(index.value(PairIndex::FirstRow, at)));
    const int oldRows = static_cast<int>(readInteger(index.value(PairIndex::Rows, at)));
    if (shape.rows > oldRows) {
        // The block cannot grow in place: it moves to the end of the store.
        const int first = store.lastDataRow() + 1;
        for (int i = 0; i < oldRows; ++i) {
            addGridRow(store, 0);
            ensureStoreRow(first + i);
            store.setArray(1, first + i, store.getArray(1, oldFirst + i, ValueCols, 1));
        }
        appendZeros(first + oldRows, shape.rows - oldRows);
        index.setValue(PairIndex::FirstRow, at, std::to_string(first));
        index.setValue(PairIndex::Rows, at, std::to_string(shape.rows));
        return first;
    }
    if (shape.rows < oldRows) index.setValue(PairIndex::Rows, at, std::to_string(shape.rows));
    return oldFirst;
}

bool PairsDialogLogic::ok() {
    const int buttonRow = grid_.rowCount();
    for (int r = 2; r < buttonRow; ++r) {
        for (int c = 1; c <= ValueCols; ++c) {
            if (grid_.format(c, r).locked) break;
            if (grid_.isEmpty(c, r)) {
                ui_.message("There is an empty cell at column " + std::to_string(c) + " and row " + std::to_string(r));
                return false;
            }
        }
    }
    if (!firstValuesRise()) return false;
    const Grid& index = deck_.card31aIndex();
    if (indexRow_ == 0 || index.isEmpty(PairIndex::Element, indexRow_))
        throw RuntimeError("The tabular values have no block to go to: open the dialog from the element's row.");
    Grid& store = deck_.card31a();
    const int first = static_cast<int>(readInteger(index.value(PairIndex::FirstRow, indexRow_)));
    const int rows = std::min(static_cast<int>(readInteger(index.value(PairIndex::Rows, indexRow_))), buttonRow - 2);
    for (int i = 0; i < rows; ++i) {
        ensureStoreRow(first + i);
        store.setArray(1, first + i, grid_.getArray(1, 2 + i, ValueCols, 1));
    }
    close(true);
    return true;
}

bool PairsDialogLogic::firstValuesRise() {
    // The model reads a table along its first values (storage, time or total
    // flow), so they must not fall; a fall is asked about where it is typed.
    std::string caption(trimmed(grid_.value(1, 1)));
    if (!caption.empty() && caption.back() == ':') caption.pop_back();
    const int buttonRow = grid_.rowCount();
    bool seen = false;
    double previous = 0;
    std::string previousText;
    for (int r = 2; r < buttonRow; ++r) {
        for (int c = 1; c < ValueCols; c += 2) {
            if (grid_.format(c, r).locked) break;
            const std::string text(trimmed(grid_.value(c, r)));
            const double value = readNumber(text);
            if (seen && value < previous) {
                const std::string question = caption + " falls from " + previousText + " to " + text +
                                             " at column " + std::to_string(c) + " and row " + std::to_string(r) +
                                             ": the model needs each value at least the one before it.\n"
                                             "Do you want to keep this value?";
                if (!ui_.ask(question, "Rillo 2000")) {
                    grid_.clearCell(c, r);
                    grid_.setActiveCell(c, r);
                    return false;
                }
            }
            seen = true;
            previous = value;
            previousText = text;
        }
    }
    return true;
}

void PairsDialogLogic::cancel() { close(false); }

void PairsDialogLogic::close(bool accepted) {
    result_ = accepted ? Result::Accepted : Result::Cancelled;
    if (onClose_) onClose_(accepted);
}

void PairsDialogLogic::buttonClicked(Grid& grid, int col, int row, bool) {
    if (row != grid.rowCount()) return;
    trapErrors(ui_, [&] {
        if (col == 1)
            ok();
        else if (col == 2)
            cancel();
    });
}

void PairsDialogLogic::leaveCell(Grid& grid, int, int, int newCol, int newRow, bool& cancel) {
    if (grid.contains(newCol, newRow) && grid.format(newCol, newRow).locked) cancel = true;
}

void PairsDialogLogic::mouseUp(Grid&, int button, int, int x, int y) {
    if (button == 2 && onContextMenu_) onContextMenu_(x, y);
}

}  // namespace rillo
