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

namespace rillo {

class ChangeSpread : public GridListener {
public:
    ChangeSpread(Deck& deck, UiServices& ui, RulesHost& host);
    /// Becomes the listener of every card grid of the deck.
    void attach();
    /// The Delete key released on a grid (the editor form's key preview).
    void deleteKey(Grid& grid);

    // GridListener
    void buttonClicked(Grid&, int col, int row, bool down) override;
    void change(Grid&, int col, int row) override;
    void editMode(Grid&, int col, int row, int mode, bool changeMade) override;
    void leaveCell(Grid&, int col, int row, int newCol, int newRow, bool& cancel) override;
    void keyDown(Grid&, int& keyCode, int shift) override;

private:
    Deck& deck_;
    UiServices& ui_;
    RulesHost& host_;
};

}  // namespace rillo
