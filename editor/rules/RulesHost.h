#pragma once
// What the grid editing rules need of the card editor window.

namespace rillo {

class Grid;

class RulesHost {
public:
    virtual ~RulesHost() = default;
    /// Whether the card editor is the main window's active child.
    virtual bool isEditorActive() = 0;
    /// Gives a grid the input focus.
    virtual void focusGrid(Grid& grid) = 0;
    /// Opens the tabular pairs dialog modally for a card 3.1 row.
    virtual void openPairsDialog(int row) = 0;
};

}  // namespace rillo
