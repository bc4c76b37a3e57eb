#pragma once
// The editing rules of the card grids: rows that appear when they must,
// numbers that may not repeat, values questioned outside their normal
// ranges, overflow rows and "Tabular" buttons that follow an element's type
// and NDP. Plain C++ over the deck and the user-interface services; the
// editor window only forwards the grid events (it sets this object as the
// listener of every card grid with attach()).

#include "Deck.h"
#include "RulesHost.h"
#include "UiServices.h"

#include <string>
#include <string_view>
#include <utility>

namespace rillo {

class ChangeSpread : public GridListener {
public:
    ChangeSpread(Deck& deck, UiServices& ui, RulesHost& host);
    /// Becomes the listener of every card grid of the deck and sets where
    /// their caret may go.
    void attach();
    /// The Delete key released on a grid (the editor form's key preview).
    void deleteKey(Grid& grid);

    // GridListener
    void buttonClicked(Grid&, int col, int row, bool down) override;
    void change(Grid&, int col, int row) override;
    void editMode(Grid&, int col, int row, int mode, bool changeMade) override;
    void leaveCell(Grid&, int col, int row, int newCol, int newRow, bool& cancel) override;

    /// Shows the duplicate warning and returns true when `number` is found in
    /// `col` of another data row (of any data row, for grids other than
    /// cards 3.1 and 2.3). Empty cells and overflow rows hold no number.
    bool checkDuplicateNumber(Grid& grid, int col, long long number, const std::string& kind, int row);

    /// Zero rainfall entries counted while the program runs, shared by every
    /// editor: a warning comes on every third.
    static int zeroRainfallCount() { return zeroRainfallCount_; }
    static void setZeroRainfallCount(int count) { zeroRainfallCount_ = count; }

    /// Set when an element has just been given a non-zero NDP, until the
    /// user is told to enter its pairs.
    bool tabularPending() const { return tabularPending_; }
    /// The value a card 3.1 cell had when editing of it began.
    const std::string& previousCellValue() const { return previousCellValue_; }

    /// Most special elements: the limit the editor enforces.
    static constexpr int SpecialElementLimit = MaxSpecialElements;

private:
    bool isCard(const Grid& grid, GridId id) const { return &grid == &deck_.grid(id); }

    void changeCard14(Grid& grid, int col, int row);
    void changeCard23(Grid& grid, int col, int row);
    void changeCard31(Grid& grid, int col, int row);
    bool askRange(Grid& grid, GridId id, int col, int row);
    void leaveCard31(Grid& grid, int col, int row, int newCol, int newRow, bool& cancel);

    void diversionPrompt(int row);
    /// NDP became blank or 0: no button, no JK, no index row.
    void dropTabular(int row);
    /// The index row (from 1) whose element number equals `element`; 0 if none.
    int indexRowOf(std::string_view element) const;
    int specialElementCount(int exceptRow) const;
    bool hasElementNumber(int row) const;
    void showNoIdMessage();
    void setTabularButton(int row, bool on);
    /// A card 3.1 row's JK list back to its three base items.
    void baseJkItems(int row);

    Deck& deck_;
    UiServices& ui_;
    RulesHost& host_;
    bool tabularPending_ = false;
    std::string previousCellValue_;
    std::pair<int, int> previousCell_{0, 0};  ///< the cell PreviousCellValue came from

    static inline int zeroRainfallCount_ = 0;
};

}  // namespace rillo
