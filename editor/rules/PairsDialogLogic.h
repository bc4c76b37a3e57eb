#pragma once
// The tabular pairs dialog without its window: it shapes the dialog's own
// grid for one special element, finds or makes room for the element's block
// in the store grid (card 3.1a) and its index row (its index), and copies
// the pairs in and, on OK, back out. The window shows grid() and forwards
// its events here.

#include "Deck.h"
#include "ElementKind.h"
#include "UiServices.h"

#include <functional>
#include <string>

namespace rillo {

class PairsDialogLogic : public GridListener {
public:
    static constexpr const char* Instruction = "Enter Tabular Values in Pairs.  Press \"OK\" button to return ";
    static constexpr int ValueCols = 8;

    enum class Result { Open, Accepted, Cancelled };

    /// Store rows an element with `ndp` pairs needs, and how many values its
    /// last row holds.
    struct Shape {
        int rows = 0;
        int lastRowValues = 0;
    };
    static Shape shapeFor(long long ndp);

    PairsDialogLogic(Deck& deck, UiServices& ui);

    /// The dialog's grid: captions, pair rows and the "&OK"/"&Cancel" row.
    Grid& grid() { return grid_; }
    const Grid& grid() const { return grid_; }

    /// Prepares the dialog for the element in card 3.1 `row`: shapes the grid,
    /// finds, allocates, grows or shrinks the element's block and copies it
    /// in. Returns false, after telling the user, when the row cannot have
    /// pairs (no element number, no positive NDP).
    bool load(int row);

    /// Row 1 of the grid: the kind's x captions in odd columns, its y
    /// captions in even ones.
    void setPairCaptions(const ElementKind& kind);

    /// Checks every value is there, copies them to the store and closes.
    /// Returns false (the dialog stays open) at the first empty cell.
    bool ok();
    /// Closes without copying; the block made on loading stays.
    void cancel();

    /// The index-grid row of the element being edited (0 before load).
    int indexRow() const { return indexRow_; }
    Result result() const { return result_; }

    /// Told when the dialog is to close: true after OK.
    void setCloseHandler(std::function<void(bool accepted)> handler) { onClose_ = std::move(handler); }
    /// Told about a right click on the grid (to pop up the Edit menu).
    void setContextMenuHandler(std::function<void(int x, int y)> handler) { onContextMenu_ = std::move(handler); }

    // GridListener
    void buttonClicked(Grid&, int col, int row, bool down) override;
    /// The caret never rests on a locked cell (a click there leaves it).
    void leaveCell(Grid& grid, int col, int row, int newCol, int newRow, bool& cancel) override;
    void mouseUp(Grid&, int button, int shift, int x, int y) override;

private:
    /// Asks about each first value of a pair below the one before it; false
    /// when the user empties one (the dialog stays open on it).
    bool firstValuesRise();
    void shapeGrid(const Shape& shape);
    /// Finds or makes the element's block; returns its first store row.
    int placeBlock(const std::string& element, const Shape& shape);
    /// Adds store rows in front of the button row until `row` is a data row,
    /// so that the button row stays last.
    void ensureStoreRow(int row);
    void close(bool accepted);

    Deck& deck_;
    UiServices& ui_;
    Grid grid_;
    int indexRow_ = 0;
    Result result_ = Result::Open;
    std::function<void(bool)> onClose_;
    std::function<void(int, int)> onContextMenu_;
};

}  // namespace rillo
