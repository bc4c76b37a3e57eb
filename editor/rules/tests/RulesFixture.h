#pragma once
// A deck with the editing rules attached, a scripted user and a host that
// records what the rules ask of the editor window.

#include "AddGridRow.h"
#include "ChangeSpread.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rillo::testing {

class RecordingHost : public RulesHost {
public:
    bool isEditorActive() override { return active; }
    void focusGrid(Grid& grid) override { focused.push_back(grid.name()); }
    void openPairsDialog(int row) override { opened.push_back(row); }

    bool active = true;
    std::vector<std::string> focused;
    std::vector<int> opened;
};

class RulesTest : public ::testing::Test {
protected:
    RulesTest();

    /// Gives a card grid data rows 2..last (the reader's way: addGridRow at the end).
    static void dataRows(Grid& grid, int last);
    /// The caret goes to a cell, as a click would.
    static void click(Grid& grid, int col, int row);
    /// The user types text into the active cell.
    static void type(Grid& grid, const std::string& text);
    /// Click, type, then Tab away.
    static void typeAndTab(Grid& grid, int col, int row, const std::string& text);

    /// A conveyance element row, written as the reader would.
    void element(int row, const std::string& number, const std::string& ndp = {}, int jkItem = -1);
    /// An index row of the tabular blocks.
    void indexRow(int at, const std::string& number, int first, int rows);
    bool hasTabularButton(int row) const;

    Deck deck;
    ScriptedUi ui;
    RecordingHost host;
    ChangeSpread rules{deck, ui, host};
};

}  // namespace rillo::testing
