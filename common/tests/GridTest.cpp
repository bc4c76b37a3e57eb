#include "AddGridRow.h"
#include "Grid.h"
#include "GridRecorder.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rillo;

namespace {

/// A card grid as the editor designs it: captions in row 1, the template
/// data row 2 and the "&Add Row" button row 3.
void makeCardGrid(Grid& g) {
    g.setColCount(4);
    g.setRowCount(3);
    for (int c = 1; c <= 4; ++c) g.setValue(c, 1, "Caption " + std::to_string(c));
    g.setFloat(1, 2, 4, 0, 100);
    g.setInteger(2, 2, 0, 1900);
    g.setCombo(3, 2, "Choose one\t1 = Channel\t2 = Pipe");
    g.setButton(4, 2, "Tabular");
    g.setButton(1, 3, "&Add Row");
}

using Recorder = rillo::testing::GridRecorder;

}  // namespace

TEST(GridValues, FloatIntegerComboAndEditCells) {
    Grid g("g", 4, 3);
    g.setFloat(1, 1, 4, 0, 10);
    g.setInteger(2, 1, 0, 10);
    g.setCombo(3, 1, "a\tb");
    g.setValue(1, 1, "2.5");
    EXPECT_EQ(g.value(1, 1), "2.5000");
    g.setValue(1, 1, "0");
    EXPECT_EQ(g.value(1, 1), "0.0000");
    g.setValue(1, 1, "     ");
    EXPECT_EQ(g.value(1, 1), "");
    g.setValue(1, 1, "abc");  // no number: the cell is empty
    EXPECT_EQ(g.value(1, 1), "");
    g.setValue(1, 1, "250");  // a program write outside the range is kept
    EXPECT_EQ(g.value(1, 1), "250.0000");
    g.setValue(2, 1, "  0012");
    EXPECT_EQ(g.value(2, 1), "12");
    g.setValue(2, 1, "-3");
    EXPECT_EQ(g.value(2, 1), "-3");
    g.setValue(3, 1, "1");
    EXPECT_EQ(g.comboText(3, 1), "b");
    g.setComboItem(3, 1, 3, "Diversion to Element  0012");
    g.setValue(3, 1, "3");
    EXPECT_EQ(g.comboItems(3, 1).size(), 4u);
    EXPECT_EQ(g.comboText(3, 1), "Diversion to Element  0012");
    g.setValue(4, 1, "  text kept ");
    EXPECT_EQ(g.value(4, 1), "  text kept ");
    EXPECT_FALSE(g.setValue(5, 1, "x"));
    EXPECT_EQ(g.value(0, 0), "");
}

TEST(GridValues, TypedTextIsCheckedAgainstTheCell) {
    Grid g("g", 2, 2);
    g.setFloat(1, 1, 4, 0, 10);
    g.setLocked(2, 1, true);
    g.setActiveCell(1, 1);
    EXPECT_FALSE(g.userEnterText("12"));   // above the maximum
    EXPECT_FALSE(g.userEnterText("1x"));   // not a number
    EXPECT_FALSE(g.userEnterText("1e0"));  // would read as its mantissa
    EXPECT_TRUE(g.userEnterText(" 9.5"));
    EXPECT_EQ(g.value(1, 1), "9.5000");
    EXPECT_TRUE(g.userEnterText(""));
    EXPECT_EQ(g.value(1, 1), "");
    g.setActiveCell(2, 1);
    EXPECT_FALSE(g.userEnterText("x"));  // locked
}

TEST(GridExtent, LastRowAndColumnHoldingData) {
    Grid g("g", 16, 10);
    EXPECT_EQ(g.lastDataRow(), 0);
    EXPECT_EQ(g.lastDataCol(), 0);
    g.setButton(1, 10, "&Add Row");  // a label is not data
    EXPECT_EQ(g.lastDataRow(), 0);
    g.setValue(3, 2, "5");
    g.setValue(12, 7, "1");
    EXPECT_EQ(g.lastDataRow(), 7);
    EXPECT_EQ(g.lastDataCol(), 12);
    g.clearCell(12, 7);
    EXPECT_EQ(g.lastDataRow(), 2);
    EXPECT_EQ(g.lastDataCol(), 3);
    g.setRowCount(12);
    EXPECT_EQ(g.rowCount(), 12);
    EXPECT_EQ(g.value(3, 12), "");
}

TEST(AddGridRow, NewRowTakesTheTemplateFormatsInFrontOfTheButtonRow) {
    Grid g("empty", 0, 0);
    makeCardGrid(g);
    g.setValue(2, 2, "7");
    addGridRow(g, 0);
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.format(1, 4).buttonText, "&Add Row");
    EXPECT_EQ(g.format(1, 4).type, CellButton);
    const CellFormat& f = g.format(1, 3);
    EXPECT_EQ(f.type, CellFloat);
    EXPECT_EQ(f.decimals, 4);
    EXPECT_EQ(f.floatMax, 100);
    EXPECT_EQ(g.format(2, 3).type, CellInteger);
    EXPECT_EQ(g.format(2, 3).intMax, 1900);
    EXPECT_EQ(g.comboItems(3, 3).size(), 3u);
    EXPECT_EQ(g.format(4, 3).type, CellEdit) << "the Tabular button is never copied";
    EXPECT_EQ(g.format(4, 3).backColor, ColorButtonFace);
    EXPECT_EQ(g.value(2, 3), "");
    EXPECT_EQ(g.value(2, 2), "7");

    // After a row: rows below move down, the button row stays last.
    g.setValue(2, 3, "8");
    addGridRow(g, 2);
    EXPECT_EQ(g.rowCount(), 5);
    EXPECT_EQ(g.value(2, 3), "");
    EXPECT_EQ(g.value(2, 4), "8");
    EXPECT_EQ(g.format(1, 5).buttonText, "&Add Row");
}

TEST(AddGridRow, LockedTemplateLocksAndGreysTheNewCell) {
    Grid g("g", 2, 3);
    g.setLocked(1, 2, true);
    addGridRow(g, 0);
    EXPECT_TRUE(g.format(1, 3).locked);
    EXPECT_EQ(g.format(1, 3).backColor, ColorButtonFace);
    EXPECT_FALSE(g.format(2, 3).locked);
    EXPECT_EQ(g.format(2, 3).backColor, ColorWindow);
}

TEST(AddGridRow, RowsFollowTheTemplateAsItIsNowNotTheRowAbove) {
    Grid g("g", 2, 3);
    g.setFloat(1, 2, 3, 0, 10);
    addGridRow(g, 0);
    // The added row is changed (an overflow row is locked, say): the next
    // added row still comes from the template.
    g.setLocked(1, 3, true);
    addGridRow(g, 0);
    EXPECT_FALSE(g.format(1, 4).locked);
    EXPECT_EQ(g.format(1, 4).decimals, 3);
    // The template changes: rows added from now on follow it, earlier ones keep theirs.
    g.setFloat(1, 2, 5, 0, 10);
    g.setButton(2, 2, "Tabular");
    addGridRow(g, 0);
    EXPECT_EQ(g.format(1, 5).decimals, 5);
    EXPECT_EQ(g.format(2, 5).type, CellEdit) << "a template button is never copied";
    EXPECT_EQ(g.format(2, 5).backColor, ColorButtonFace);
    EXPECT_EQ(g.format(1, 4).decimals, 3);
    EXPECT_EQ(g.format(2, 4).backColor, ColorWindow);
    g.setValue(1, 5, "2");
    EXPECT_EQ(g.value(1, 5), "2.00000");
}

TEST(GridRows, InsertDeleteClearAndMoveKeepTheRowCount) {
    Grid g("g", 3, 5);
    for (int r = 1; r <= 5; ++r) g.setValue(1, r, "r" + std::to_string(r));

    g.setActiveCell(2, 3);
    EXPECT_EQ(g.activeCol(), 2);
    EXPECT_EQ(g.activeRow(), 3);

    g.insertRow(2);
    EXPECT_EQ(g.rowCount(), 5);
    EXPECT_EQ(g.value(1, 2), "");
    EXPECT_EQ(g.value(1, 3), "r2");
    EXPECT_EQ(g.value(1, 5), "r4") << "the last row drops off";

    g.deleteRow(2);
    EXPECT_EQ(g.value(1, 2), "r2");
    EXPECT_EQ(g.value(1, 4), "r4");
    EXPECT_EQ(g.value(1, 5), "");
    EXPECT_EQ(g.rowCount(), 5);

    g.clearCell(1, 1);
    EXPECT_EQ(g.value(1, 1), "");
    g.clearBlock(1, 2, 1, 3);
    EXPECT_EQ(g.value(1, 2), "");
    EXPECT_EQ(g.value(1, 3), "");
    EXPECT_EQ(g.value(1, 4), "r4");

    // Move rows 4..5 up to row 2 (an index block closing a gap).
    g.setValue(2, 4, "x4"), g.setValue(2, 5, "x5");
    g.moveBlock(1, 4, 2, 5, 1, 2);
    EXPECT_EQ(g.getArray(1, 2, 2, 4), (Grid::Array{{"r4", "x4"}, {"", "x5"}, {"", ""}, {"", ""}}));
}

TEST(GridClipboard, BlockRoundTripThroughSpreadsheetText) {
    Grid a("a", 3, 3), b("b", 3, 3);
    a.setFloat(2, 2, 2, 0, 100);
    a.setValue(1, 1, "1"), a.setValue(2, 1, "2"), a.setValue(1, 2, "3"), a.setValue(2, 2, "4.5");
    rillo::testing::ScriptedUi clip;
    a.setSelection(1, 1, 2, 2);
    a.copySelection(clip);
    EXPECT_EQ(clip.clipboard, "1\t2\n3\t4.50\n");
    b.setActiveCell(2, 3);
    b.pasteText(b.activeCol(), b.activeRow(), clip.clipboard);
    EXPECT_EQ(b.getArray(1, 1, 3, 3), (Grid::Array{{"", "", ""}, {"", "", ""}, {"", "1", "2"}}))
        << "cells beyond the grid are dropped";

    // Text from a spreadsheet program, with CR LF line ends.
    clip.clipboard = "7\t8\r\n9\t10\r\n";
    b.setLocked(2, 2, true);
    b.setActiveCell(1, 1);
    b.pasteText(b.activeCol(), b.activeRow(), clip.clipboard);
    EXPECT_EQ(b.getArray(1, 1, 3, 3), (Grid::Array{{"7", "8", ""}, {"9", "", ""}, {"", "1", "2"}}))
        << "a locked cell keeps its value";

    // A pasted value passes the checks of a typed one: text that is no
    // plain number, or a number beyond the cell's bounds, leaves it as it was.
    Grid pairs("pairs", 4, 2);
    for (int c = 1; c <= 4; ++c) pairs.setFloat(c, 2, 6, 0, 99999);
    pairs.setArray(1, 2, {{"1", "2", "3", "4"}});
    clip.clipboard = "-5\t1e5\tabc\t12.5\n";
    pairs.setActiveCell(1, 2);
    pairs.pasteText(pairs.activeCol(), pairs.activeRow(), clip.clipboard);
    EXPECT_EQ(pairs.getArray(1, 2, 4, 1),
              (Grid::Array{{"1.000000", "2.000000", "3.000000", "12.500000"}}));
    clip.clipboard = "\t100000\n";
    pairs.pasteText(pairs.activeCol(), pairs.activeRow(), clip.clipboard);
    EXPECT_EQ(pairs.getArray(1, 2, 2, 1), (Grid::Array{{"", "2.000000"}})) << "an empty value empties its cell";

    b.setSelection(1, 1, 2, 1);
    b.cutSelection(clip);
    EXPECT_EQ(clip.clipboard, "7\t8\n");
    EXPECT_EQ(b.value(1, 1), "");
    EXPECT_EQ(b.value(2, 1), "");
}

TEST(GridArrays, BlockInAndOut) {
    Grid g("g", 8, 4);
    g.setArray(2, 2, {{"1", "2"}, {"3"}});
    EXPECT_EQ(g.getArray(2, 2, 2, 2), (Grid::Array{{"1", "2"}, {"3", ""}}));
}

TEST(GridEvents, ChangeComesBeforeLeaveAndACancelKeepsTheCaret) {
    Grid g("g", 3, 3);
    Recorder rec;
    g.setListener(&rec);
    g.setActiveCell(1, 2);
    g.userBeginEdit();
    g.userEnterText("5");
    rec.cancelLeave = true;
    EXPECT_FALSE(g.userMoveTo(2, 2));
    EXPECT_EQ(g.activeCol(), 1);
    EXPECT_EQ(g.activeRow(), 2);
    rec.cancelLeave = false;
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(g.activeCol(), 2);
    EXPECT_EQ(rec.events, (std::vector<std::string>{
                              "EditMode 1,2 1",
                              "EditMode 1,2 0 changed",
                              "Change 1,2",
                              "Leave 1,2->2,2",
                              "Key 9/0",
                              "Leave 1,2->2,2",
                          }));
}

TEST(GridEvents, ProgramWritesRaiseNoEvents) {
    Grid g("g", 3, 3);
    Recorder rec;
    g.setListener(&rec);
    g.setValue(1, 1, "x");
    g.setActiveCell(2, 2);
    g.insertRow(1);
    addGridRow(g, 0);
    EXPECT_TRUE(rec.events.empty());
}

TEST(GridEvents, KeysNavigateAndWrapAndAHandlerCanTurnTheCaretBack) {
    Grid g("g", 3, 3);
    struct Back : Recorder {
        void keyDown(Grid& grid, int& key, int shift) override {
            Recorder::keyDown(grid, key, shift);
            if (key == KeyTab) grid.setActiveCell(grid.activeCol() - 1, grid.activeRow());
        }
    } rec;
    g.setActiveCell(3, 1);
    g.userKeyDown(KeyTab, 0);  // wraps to the next row without a handler
    EXPECT_EQ(g.activeCol(), 1);
    EXPECT_EQ(g.activeRow(), 2);
    g.userKeyDown(KeyTab, ShiftMask);
    EXPECT_EQ(g.activeCol(), 3);
    EXPECT_EQ(g.activeRow(), 1);
    g.userKeyDown(KeyTab, CtrlMask);  // other modifiers do nothing
    EXPECT_EQ(g.activeCol(), 3);

    g.setListener(&rec);
    g.setActiveCell(2, 2);
    g.userEnterText("x");
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(g.activeCol(), 2);
    EXPECT_EQ(g.activeRow(), 2);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"EditMode 2,2 0 changed", "Key 9/0", "Change 2,2"}));
}

TEST(GridEvents, ButtonClickMovesTheCaretFirst) {
    Grid g("g", 0, 0);
    makeCardGrid(g);
    Recorder rec;
    g.setListener(&rec);
    g.setActiveCell(2, 2);
    g.userClickButton(1, 3);
    g.userClickButton(2, 2);  // not a button
    EXPECT_EQ(rec.events, (std::vector<std::string>{"Leave 2,2->1,3", "Button 1,3"}));
}

// Values unchanged: what a cell keeps and what a Change means.
TEST(GridValuesUnchanged, AProgramWriteKeepsEveryDigitTypingAndPastingRoundToThePlaces) {
    Grid g("g", 2, 2);
    g.setFloat(1, 1, 6, 0, 99999);
    g.setFloat(2, 1, 7, -99999999, 99999999);
    g.setValue(1, 1, "0.0000125");  // as read from a deck file
    EXPECT_EQ(g.value(1, 1), "0.0000125");
    g.setValue(2, 1, "  1.2E-3");
    EXPECT_EQ(g.value(2, 1), "0.0012000");
    g.setActiveCell(1, 1);
    ASSERT_TRUE(g.userEnterText("0.1234567"));
    EXPECT_EQ(g.value(1, 1), "0.123457");
    g.pasteText(2, 1, "0.123456789");
    EXPECT_EQ(g.value(2, 1), "0.1234568");
}

TEST(GridValuesUnchanged, AFloatCellTakesBothOfItsBoundsAndNothingBeyond) {
    Grid g("g", 1, 1);
    g.setFloat(1, 1, 6, 0, 99999);  // the pairs dialog's cells
    g.setActiveCell(1, 1);
    EXPECT_TRUE(g.userEnterText("0"));
    EXPECT_EQ(g.value(1, 1), "0.000000");
    EXPECT_TRUE(g.userEnterText("99999"));
    EXPECT_FALSE(g.userEnterText("-0.000001"));
    EXPECT_FALSE(g.userEnterText("99999.000001"));
    EXPECT_EQ(g.value(1, 1), "99999.000000");
}

TEST(GridValuesUnchanged, RetypingTheSameValueRaisesNoChange) {
    Grid g("g", 2, 2);
    g.setFloat(1, 1, 4, 0, 10);
    g.setValue(1, 1, "2.5");
    Recorder rec;
    g.setListener(&rec);
    g.setActiveCell(1, 1);
    g.userBeginEdit();
    ASSERT_TRUE(g.userEnterText("2.50"));  // the same number, as the cell shows it
    g.userMoveTo(2, 1);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"EditMode 1,1 1", "EditMode 1,1 0", "Leave 1,1->2,1"}));
    rec.events.clear();
    g.userMoveTo(1, 1);
    g.userBeginEdit();
    ASSERT_TRUE(g.userEnterText("2.6"));
    g.userMoveTo(2, 1);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"Leave 2,1->1,1", "EditMode 1,1 1", "EditMode 1,1 0 changed",
                                                    "Change 1,1", "Leave 1,1->2,1"}));
}
