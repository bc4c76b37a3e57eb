// The tabular pairs dialog: its grid's shape and captions, the element's
// block in the store and the index, OK and Cancel.
#include "PairsDialogLogic.h"
#include "RulesFixture.h"

namespace rillo::testing {
namespace {

class PairsDialogTest : public RulesTest {
protected:
    PairsDialogTest() {
        dialog.setCloseHandler([this](bool accepted) { closes.push_back(accepted); });
    }
    /// Store rows from `first`, 8 values each, as the reader leaves them.
    void storeRows(int first, const Grid::Array& rows) {
        Grid& store = deck.card31a();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            dataRows(store, first + static_cast<int>(i) + 1);
            store.setArray(1, first + static_cast<int>(i), {rows[i]});
        }
    }
    static Grid::Array row(double from) {
        std::vector<std::string> r;
        for (int i = 0; i < 8; ++i) r.push_back(std::to_string(from + i));
        return {r};
    }
    std::vector<int> lockedCols(int r) const {
        std::vector<int> cols;
        for (int c = 1; c <= 8; ++c)
            if (dialog.grid().format(c, r).locked) cols.push_back(c);
        return cols;
    }
    Grid::Array storeBlock(int first, int rows) { return deck.card31a().getArray(1, first, 8, rows); }

    PairsDialogLogic dialog{deck, ui};
    std::vector<bool> closes;
};

TEST_F(PairsDialogTest, ShapesForOneFourAndFivePairs) {
    const Grid& d = dialog.grid();
    element(2, "10", "1", JkItem::Detention);
    ASSERT_TRUE(dialog.load(2));
    ASSERT_EQ(d.rowCount(), 3);
    EXPECT_EQ(lockedCols(2), (std::vector<int>{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(d.format(3, 2).backColor, ColorButtonFace);
    EXPECT_EQ(d.value(1, 1), "Storage (acres/feet):");
    EXPECT_EQ(d.value(8, 1), "Discharge (cfs):");
    EXPECT_EQ(d.format(1, 3).buttonText, "&OK");
    EXPECT_EQ(d.format(2, 3).buttonText, "&Cancel");
    const CellFormat& value = d.format(1, 2);
    EXPECT_EQ(value.type, CellFloat);
    EXPECT_EQ(value.decimals, 6);
    EXPECT_EQ(value.floatMin, 0);
    EXPECT_EQ(value.floatMax, 99999);

    element(3, "20", "4", JkItem::Detention);
    ASSERT_TRUE(dialog.load(3));
    ASSERT_EQ(d.rowCount(), 3);
    EXPECT_TRUE(lockedCols(2).empty());

    element(4, "30", "5", JkItem::Detention);
    ASSERT_TRUE(dialog.load(4));
    ASSERT_EQ(d.rowCount(), 4);
    EXPECT_TRUE(lockedCols(2).empty());
    EXPECT_EQ(lockedCols(3), (std::vector<int>{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(d.format(1, 4).buttonText, "&OK");
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(PairsDialogTest, CaptionsFollowTheKindOfElement) {
    const auto captions = [&](int row) {
        EXPECT_TRUE(dialog.load(row));
        return std::make_pair(dialog.grid().value(3, 1), dialog.grid().value(4, 1));
    };
    element(2, "10", "1", JkItem::Detention);
    element(3, "20", "1", JkItem::Inflow);
    element(4, "30", "1");
    deck.card31().setComboItem(Card31::JK, 4, JkItem::DiversionTarget, "Diversion to Element  0012");
    deck.card31().setValue(Card31::JK, 4, "3");
    element(5, "40", "1", JkItem::Diversion);
    element(6, "50", "1");
    EXPECT_EQ(captions(2), std::make_pair(std::string("Storage (acres/feet):"), std::string("Discharge (cfs):")));
    EXPECT_EQ(captions(3), std::make_pair(std::string("Time (hours):"), std::string("Inflow (cfs):")));
    EXPECT_EQ(captions(4),
              std::make_pair(std::string("Total Flow in Element (cfs):"), std::string("Diverted Flow (cfs):")));
    EXPECT_EQ(captions(5), captions(2));
    EXPECT_EQ(captions(6), captions(2));
}

TEST_F(PairsDialogTest, ANewElementGetsABlockOfZerosAtTheEndOfTheStore) {
    storeRows(2, row(1));
    indexRow(1, "10", 2, 1);
    element(3, "20", "6", JkItem::Inflow);
    ASSERT_TRUE(dialog.load(3));
    EXPECT_EQ(dialog.indexRow(), 2);
    EXPECT_EQ(deck.card31aIndex().getArray(1, 2, 3, 1), (Grid::Array{{"20", "3", "2"}}));
    const std::string z = "0.000000";
    EXPECT_EQ(storeBlock(3, 2), (Grid::Array{{z, z, z, z, z, z, z, z}, {z, z, z, z, z, z, z, z}}));
    EXPECT_EQ(deck.card31a().format(1, deck.card31a().rowCount()).buttonText, "&Add Row");
    EXPECT_EQ(dialog.grid().getArray(1, 3, 4, 1), (Grid::Array{{z, z, z, z}}));
    EXPECT_TRUE(dialog.grid().isEmpty(5, 3));
}

TEST_F(PairsDialogTest, RaisingNdpFromFourToNineMovesTheBlockToTheEnd) {
    storeRows(2, row(1));   // element 10, 4 pairs
    storeRows(3, row(11));  // element 20
    indexRow(1, "10", 2, 1);
    indexRow(2, "20", 3, 1);
    element(2, "10", "9", JkItem::Detention);
    ASSERT_TRUE(dialog.load(2));

    EXPECT_EQ(deck.card31aIndex().getArray(1, 1, 3, 1), (Grid::Array{{"10", "4", "3"}}));
    const std::string z = "0.000000";
    const Grid::Array moved = storeBlock(4, 3);
    EXPECT_EQ(moved[0], storeBlock(2, 1)[0]);  // the old row stays, unreferenced
    EXPECT_EQ(moved[1], (std::vector<std::string>(8, z)));
    EXPECT_EQ(moved[2], (std::vector<std::string>(8, z)));
    EXPECT_EQ(storeBlock(3, 1)[0][0], "11.000000");  // the next block is untouched

    const Grid& d = dialog.grid();
    ASSERT_EQ(d.rowCount(), 5);
    EXPECT_EQ(d.value(1, 2), "1.000000");
    EXPECT_EQ(d.value(2, 4), z);
    EXPECT_TRUE(d.isEmpty(3, 4));
}

TEST_F(PairsDialogTest, LoweringNdpFromNineToFourKeepsTheBlockWithOneRow) {
    storeRows(2, {row(1)[0], row(9)[0], row(17)[0]});
    indexRow(1, "10", 2, 3);
    element(2, "10", "4", JkItem::Detention);
    ASSERT_TRUE(dialog.load(2));
    EXPECT_EQ(deck.card31aIndex().getArray(1, 1, 3, 1), (Grid::Array{{"10", "2", "1"}}));
    ASSERT_EQ(dialog.grid().rowCount(), 3);
    EXPECT_EQ(dialog.grid().getArray(1, 2, 8, 1), storeBlock(2, 1));
}

TEST_F(PairsDialogTest, OkWithAnEmptyCellReportsItAndCopiesNothing) {
    storeRows(2, {row(1)[0], row(9)[0]});
    indexRow(1, "10", 2, 2);
    element(2, "10", "8", JkItem::Detention);
    ASSERT_TRUE(dialog.load(2));
    const Grid::Array before = storeBlock(2, 2);
    Grid& d = dialog.grid();
    d.setValue(1, 2, "5");
    d.setValue(2, 3, "");
    d.userClickButton(1, 4);
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{"Rillo2000|None|There is an empty cell at column 2 and row 3|OK"});
    EXPECT_EQ(storeBlock(2, 2), before);
    EXPECT_TRUE(closes.empty());
    EXPECT_EQ(dialog.result(), PairsDialogLogic::Result::Open);
}

TEST_F(PairsDialogTest, OkCopiesTheTypedPairsCancelCopiesNothing) {
    element(2, "10", "3", JkItem::Detention);
    ASSERT_TRUE(dialog.load(2));
    Grid& d = dialog.grid();
    d.setActiveCell(1, 2);
    for (const char* v : {"1", "10", "2", "20", "3", "30"}) {
        d.userBeginEdit();
        ASSERT_TRUE(d.userEnterText(v));
        d.userKeyDown(KeyTab, 0);
    }
    d.userClickButton(2, 3);  // Cancel
    EXPECT_EQ(closes, std::vector<bool>{false});
    EXPECT_EQ(storeBlock(2, 1)[0][0], "0.000000");  // allocated on opening, left as zeros

    ASSERT_TRUE(dialog.load(2));
    d.setArray(1, 2, {{"1", "10", "2", "20", "3", "30"}});
    d.userClickButton(1, 3);
    EXPECT_EQ(closes, (std::vector<bool>{false, true}));
    EXPECT_EQ(dialog.result(), PairsDialogLogic::Result::Accepted);
    const Grid::Array stored = storeBlock(2, 1);
    EXPECT_EQ(stored[0][0], "1.000000");
    EXPECT_EQ(stored[0][5], "30.000000");
    EXPECT_EQ(stored[0][6], "");
    EXPECT_TRUE(ui.dialogue().empty());
    EXPECT_EQ(deck.card31aIndex().lastDataRow(), 1);
}

TEST_F(PairsDialogTest, FirstValuesThatFallAreAskedAboutAndNoEmptiesTheCell) {
    element(2, "10", "3", JkItem::Detention);
    ASSERT_TRUE(dialog.load(2));
    Grid& d = dialog.grid();
    d.setArray(1, 2, {{"6", "1", "0.5", "2", "7", "3"}});
    ui.no();
    d.userClickButton(1, 3);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Rillo 2000|None|Storage (acres/feet) falls from 6.000000 to 0.500000 at column 3 "
                                 "and row 2: the model needs each value at least the one before it.\nDo you want to "
                                 "keep this value?|YesNo -> No"}));
    EXPECT_TRUE(closes.empty()) << "the dialog stays open";
    EXPECT_TRUE(d.isEmpty(3, 2));
    EXPECT_EQ(std::make_pair(d.activeCol(), d.activeRow()), std::make_pair(3, 2));
    EXPECT_EQ(storeBlock(2, 1)[0][0], "0.000000") << "nothing copied";

    // Yes keeps it; equal values pass without a word.
    ui.clearDialogue();
    d.setValue(3, 2, "0.5");
    ui.yes();
    d.userClickButton(1, 3);
    EXPECT_EQ(closes, std::vector<bool>{true});
    EXPECT_EQ(storeBlock(2, 1)[0][2], "0.500000");
    ASSERT_TRUE(dialog.load(2));
    d.setArray(1, 2, {{"1", "1", "1", "2", "4", "3"}});
    d.userClickButton(1, 3);
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(closes, (std::vector<bool>{true, true}));
}

TEST_F(PairsDialogTest, AValueOutsideZeroTo99999IsRefused) {
    element(2, "10", "1", JkItem::Detention);
    ASSERT_TRUE(dialog.load(2));
    Grid& d = dialog.grid();
    d.setActiveCell(1, 2);
    EXPECT_FALSE(d.userEnterText("-1"));
    EXPECT_FALSE(d.userEnterText("100000"));
    EXPECT_TRUE(d.userEnterText("99999"));
    EXPECT_TRUE(d.userEnterText("0"));  // the minimum itself: a pair may start at zero
    EXPECT_EQ(d.value(1, 2), "0.000000");
    d.setActiveCell(3, 2);
    EXPECT_FALSE(d.userEnterText("1"));  // after the last value
}

TEST_F(PairsDialogTest, TheCaretSkipsTheLockedGreyCellsAndNeverRestsOnOne) {
    element(2, "10", "5", JkItem::Detention);  // a full pair row, then one with 2 values
    ASSERT_TRUE(dialog.load(2));
    Grid& d = dialog.grid();
    const auto at = [&] { return std::make_pair(d.activeCol(), d.activeRow()); };
    d.setActiveCell(2, 3);  // the last open value
    d.userKeyDown(KeyTab, 0);
    EXPECT_EQ(at(), std::make_pair(1, 4));  // "&OK", not the grey cell 3
    d.userKeyDown(KeyTab, 0);
    EXPECT_EQ(at(), std::make_pair(2, 4));  // "&Cancel"
    d.userKeyDown(KeyTab, 0);
    EXPECT_EQ(at(), std::make_pair(1, 2));  // round to the first value, past the captions
    d.userKeyDown(KeyTab, ShiftMask);
    EXPECT_EQ(at(), std::make_pair(2, 4));
    d.userKeyDown(KeyTab, ShiftMask);
    d.userKeyDown(KeyTab, ShiftMask);
    EXPECT_EQ(at(), std::make_pair(2, 3));

    // Arrows and Enter with nothing open that way leave the caret.
    d.userKeyDown(KeyRight, 0);
    EXPECT_EQ(at(), std::make_pair(2, 3));
    d.setActiveCell(5, 2);
    d.userKeyDown(KeyDown, 0);
    d.userKeyDown(KeyReturn, 0);
    EXPECT_EQ(at(), std::make_pair(5, 2));
    d.userKeyDown(KeyUp, 0);  // the captions are locked too
    EXPECT_EQ(at(), std::make_pair(5, 2));
    d.setActiveCell(2, 2);
    d.userKeyDown(KeyDown, 0);
    EXPECT_EQ(at(), std::make_pair(2, 3));
    d.userKeyDown(KeyDown, 0);
    EXPECT_EQ(at(), std::make_pair(2, 4));

    // A click on a grey cell leaves the caret where it was; an open cell takes it.
    EXPECT_FALSE(d.userMoveTo(6, 3));
    EXPECT_FALSE(d.userMoveTo(4, 1));
    EXPECT_EQ(at(), std::make_pair(2, 4));
    EXPECT_TRUE(d.userMoveTo(7, 2));
}

TEST_F(PairsDialogTest, AnElementWithoutPairsOrNumberIsNotOpened) {
    element(2, "", "4");
    element(3, "10", "-2");
    EXPECT_FALSE(dialog.load(2));
    EXPECT_FALSE(dialog.load(3));
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(deck.card31aIndex().lastDataRow(), 0);
    EXPECT_EQ(deck.card31a().rowCount(), 3);
}

}  // namespace
}  // namespace rillo::testing
