// Key navigation with the locked-cell rule, and the "&Add Row" buttons.
#include "AddGridRow.h"
#include "RulesFixture.h"

namespace rillo::testing {
namespace {

class NavigationTest : public RulesTest {
protected:
    /// Row 2 an element of type 5 with data up to column 12, row 3 its
    /// overflow row (columns 1 to 5 locked and grey).
    void elementWithOverflow() {
        Grid& g = deck.card31();
        element(2, "10");
        g.setValue(Card31::Type, 2, "5");
        g.setValue(12, 2, "1.5");
        dataRows(g, 3);
        for (int c = 1; c <= Card31::Type; ++c) {
            g.setLocked(c, 3, true);
            g.setBackColor(c, 3, ColorButtonFace);
        }
        g.setValue(12, 3, "2");
    }
    static std::pair<int, int> caret(const Grid& g) { return {g.activeCol(), g.activeRow()}; }
};

TEST_F(NavigationTest, TabAtTheEndOfARowOntoALockedOverflowCellKeepsTheCaret) {
    elementWithOverflow();
    Grid& g = deck.card31();
    g.setActiveCell(12, 2);
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(12, 2));
    g.userKeyDown(KeyRight, 0);
    EXPECT_EQ(caret(g), std::make_pair(12, 2));

    // Without the overflow row below, Tab wraps to the next row: the locked
    // column 13 of an element without pairs is never a resting place.
    for (int c = 1; c <= Card31::Type; ++c) g.setLocked(c, 3, false);
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(1, 3));
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(NavigationTest, TheLockedColumn13OfCard31IsNeverARestingPlace) {
    Grid& g = deck.card31();
    element(2, "10");
    element(3, "20");
    g.setValue(12, 2, "1.5");
    g.setValue(12, 3, "2");
    ASSERT_TRUE(g.format(Card31::Tabular, 2).locked);
    // Tab from column 12 goes on to the next row, Shift+Tab from column 1 back to column 12.
    g.setActiveCell(12, 2);
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(1, 3));
    g.userKeyDown(KeyTab, ShiftMask);
    EXPECT_EQ(caret(g), std::make_pair(12, 2));
    // Even when the row above holds nothing yet.
    dataRows(g, 4);
    g.setActiveCell(1, 5);
    g.userKeyDown(KeyTab, ShiftMask);
    EXPECT_EQ(caret(g), std::make_pair(12, 4));
    g.setActiveCell(12, 3);
    g.userKeyDown(KeyRight, 0);
    EXPECT_NE(caret(g), std::make_pair(13, 3));

    // An element with pairs has its "Tabular" button there, and Tab reaches it.
    element(3, "20", "4");
    g.setActiveCell(12, 3);
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(Card31::Tabular, 3));
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(1, 4));
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(NavigationTest, TabOutOfTheDepthOfTheFirstElementStillQuestionsItsRange) {
    Grid& g = deck.card31();
    element(2, "10");
    element(3, "20");
    click(g, 12, 2);
    type(g, "150");
    ui.no();
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{"Rillo 2000|None|Normal ranges are 0.1 to 100 \n"
                                                      "Do you want to keep this value?|YesNo -> No"});
    EXPECT_EQ(caret(g), std::make_pair(12, 2));
    EXPECT_TRUE(g.isEmpty(12, 2));
}

TEST_F(NavigationTest, ArrowsAndShiftTabNeverEnterALockedCell) {
    elementWithOverflow();
    Grid& g = deck.card31();
    g.setActiveCell(3, 2);
    g.userKeyDown(KeyDown, 0);  // onto the overflow row's locked element number
    EXPECT_EQ(caret(g), std::make_pair(3, 2));
    g.userKeyDown(KeyUp, 0);  // onto the caption row
    EXPECT_EQ(caret(g), std::make_pair(3, 2));

    g.setActiveCell(6, 3);
    g.userKeyDown(KeyLeft, 0);
    EXPECT_EQ(caret(g), std::make_pair(6, 3));
    g.userKeyDown(KeyTab, ShiftMask);
    EXPECT_EQ(caret(g), std::make_pair(6, 3));
    g.userKeyDown(KeyTab, 0);  // open cells are reached as usual
    EXPECT_EQ(caret(g), std::make_pair(7, 3));
    g.userKeyDown(KeyDown, 0);  // the "&Add Row" line beside its button holds no data
    EXPECT_EQ(caret(g), std::make_pair(7, 3));
}

TEST_F(NavigationTest, EnterAndTheShiftedArrowsKeepOutOfLockedCellsAsTheArrowsDo) {
    // Enter is Down, and a modifier does not change where an arrow goes:
    // neither slips into a cell that Down keeps the caret out of.
    elementWithOverflow();
    Grid& g = deck.card31();
    g.setActiveCell(3, 2);
    g.userKeyDown(KeyReturn, 0);  // onto the overflow row's locked element number
    EXPECT_EQ(caret(g), std::make_pair(3, 2));
    g.userKeyDown(KeyDown, ShiftMask);
    EXPECT_EQ(caret(g), std::make_pair(3, 2));
    g.userKeyDown(KeyReturn, ShiftMask);
    EXPECT_EQ(caret(g), std::make_pair(3, 2));
    g.setActiveCell(7, 3);
    g.userKeyDown(KeyReturn, 0);  // the "&Add Row" line holds no data
    EXPECT_EQ(caret(g), std::make_pair(7, 3));
    g.setActiveCell(7, 2);
    g.userKeyDown(KeyReturn, 0);  // open cells are reached as usual
    EXPECT_EQ(caret(g), std::make_pair(7, 3));
    g.setActiveCell(6, 3);
    g.userKeyDown(KeyLeft, CtrlMask);
    EXPECT_EQ(caret(g), std::make_pair(6, 3));
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(NavigationTest, TabStillReachesTheDimensionsOfAFreshOverflowElement) {
    // Nothing typed beyond the type yet: Tab from the type must not wrap
    // onto the overflow row and stick.
    Grid& g = deck.card31();
    element(2, "10");
    g.setValue(Card31::Type, 2, "4");
    dataRows(g, 3);
    for (int c = 1; c <= Card31::Type; ++c) g.setLocked(c, 3, true);
    g.setActiveCell(Card31::Type, 2);
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(6, 2));
}

TEST_F(NavigationTest, AddRowOnAGridWithOneDataRowAddsARowLikeTheTemplate) {
    Grid& g = deck.card15();
    ASSERT_EQ(g.rowCount(), 3);
    g.setValue(2, 2, "5");
    g.userClickButton(1, 3);
    ASSERT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.format(1, 4).type, CellButton);
    EXPECT_EQ(g.format(1, 4).buttonText, "&Add Row");
    for (int c = 1; c <= g.colCount(); ++c) {
        EXPECT_EQ(g.format(c, 3).type, g.format(c, 2).type) << c;
        EXPECT_EQ(g.format(c, 3).decimals, g.format(c, 2).decimals) << c;
        EXPECT_TRUE(g.isEmpty(c, 3)) << c;
    }
    EXPECT_EQ(g.value(2, 2), "5");

    // The conveyance grid: the new row is an ordinary element row.
    Grid& c31 = deck.card31();
    element(2, "10", "4", JkItem::Detention);
    c31.userClickButton(1, c31.rowCount());
    ASSERT_EQ(c31.rowCount(), 4);
    EXPECT_EQ(c31.format(Card31::JK, 3).type, CellCombo);
    EXPECT_NE(c31.format(Card31::Tabular, 3).type, CellButton);
    EXPECT_FALSE(deck.isOverflowRow(3));
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(NavigationTest, TheAddRowLineTakesNoDataByTypingTabbingOrPasting) {
    Grid& g = deck.card15();
    dataRows(g, 2);
    const int button = g.rowCount();
    // Tab past the last column of the last data row lands on the button
    // and goes no further: the cells beside it are not for data.
    g.setActiveCell(g.colCount(), 2);
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(1, button));
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(caret(g), std::make_pair(1, button));
    for (int c = 1; c <= g.colCount(); ++c) EXPECT_FALSE(g.isEditable(c, button)) << c;
    g.setActiveCell(4, button);
    EXPECT_FALSE(g.userEnterText("350"));
    g.setActiveCell(4, 2);
    g.userKeyDown(KeyDown, 0);
    EXPECT_EQ(caret(g), std::make_pair(4, 2)) << "Down onto the button line keeps the caret";

    // Two lines pasted into the last data row: the second gets a row of its
    // own, added as the button adds one, and the button line stays empty.
    ui.clipboard = "1\t7\t101\t350\n1\t8\t102\t420\n";
    g.setActiveCell(1, 2);
    pasteBlock(g, ui);
    ASSERT_EQ(g.rowCount(), button + 1);
    EXPECT_EQ(g.value(4, 2), "350.0000");
    EXPECT_EQ(g.value(4, 3), "420.0000");
    EXPECT_EQ(g.value(1, 3), "1");
    EXPECT_EQ(g.format(1, g.rowCount()).buttonText, "&Add Row");
    for (int c = 1; c <= g.colCount(); ++c) EXPECT_TRUE(g.isEmpty(c, g.rowCount())) << c;

    // On card 3.1 an added row is an element row with its combo items.
    Grid& c31 = deck.card31();
    ui.clipboard = "\t\t10\t0\n\t\t20\t0\n\t\t30\t0";
    c31.setActiveCell(1, 2);
    pasteBlock(c31, ui);
    ASSERT_EQ(c31.rowCount(), 5);
    EXPECT_EQ(c31.value(Card31::Element, 4), "30");
    EXPECT_EQ(c31.comboItems(Card31::JK, 4), c31.comboItems(Card31::JK, 2));
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(NavigationTest, APasteTooTallForAButtonRowThatAddsNoRowsIsRefusedWhole) {
    Grid g("pairs", 8, 4);
    g.setButton(1, 4, "&OK");
    g.setButton(2, 4, "&Cancel");
    ui.clipboard = "1\t2\n3\t4\n5\t6\n";
    g.setActiveCell(1, 2);
    try {
        pasteBlock(g, ui);
        ADD_FAILURE() << "the paste went through";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.description(), "The pasted block has 3 rows; from the caret down this table has room for 2.");
    }
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_TRUE(g.isEmpty(1, 2)) << "nothing of it is pasted";
    ui.clipboard = "1\t2\n3\t4\n";
    pasteBlock(g, ui);
    EXPECT_EQ(g.value(2, 3), "4");
}

}  // namespace
}  // namespace rillo::testing
