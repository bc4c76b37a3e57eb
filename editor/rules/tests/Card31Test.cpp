// The conveyance element rules: NDP and the "Tabular" button, renumbering,
// overflow rows, the diversion prompt, the special-element limit, Delete.
#include "RulesFixture.h"

namespace rillo::testing {
namespace {

const std::string kNoId =
    "Rillo2000|Information|You must assign a conveyance ID before assigning the number of tabular values.|OK";
const std::string kPrompt = "input: What Conveyance Element Does the Diverted flow go to? -> ";

class Card31Test : public RulesTest {
protected:
    Grid& g = deck.card31();
    Grid& index = deck.card31aIndex();
};

TEST_F(Card31Test, NdpGivesTheTabularButtonAndTheReminderOnLeaving) {
    element(2, "10");
    typeAndTab(g, Card31::NDP, 2, "4");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{"Rillo2000|None|You Must Enter Tabular Values for row 2\n"
                                                      "Press the \"Tabular\" Button at the end of the row |OK"});
    EXPECT_TRUE(hasTabularButton(2));
    EXPECT_FALSE(rules.tabularPending());
    EXPECT_EQ(std::make_pair(g.activeCol(), g.activeRow()), std::make_pair(Card31::Tabular, 2));

    g.userClickButton(Card31::Tabular, 2);
    EXPECT_EQ(host.opened, std::vector<int>{2});
}

TEST_F(Card31Test, NdpOnAnElementWithoutANumberStaysAsTypedWithoutAButton) {
    dataRows(g, 2);
    typeAndTab(g, Card31::NDP, 2, "4");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{kNoId});
    EXPECT_EQ(g.value(Card31::NDP, 2), "4");
    EXPECT_FALSE(hasTabularButton(2));
    EXPECT_FALSE(rules.tabularPending());
    EXPECT_EQ(index.lastDataRow(), 0);
}

TEST_F(Card31Test, TabularButtonOfAnElementWithoutANumberOpensNothing) {
    element(2, "", "4");
    g.userClickButton(Card31::Tabular, 2);
    EXPECT_EQ(ui.dialogue(),
              std::vector<std::string>{"Rillo2000|None|You cannot change tabular values on an element with no ID|OK"});
    EXPECT_TRUE(host.opened.empty());
}

TEST_F(Card31Test, RenumberingKeepsThePairsBlankingIsRefused) {
    element(2, "10", "4", JkItem::Detention);
    indexRow(1, "10", 2, 1);
    typeAndTab(g, Card31::Element, 2, "11");
    EXPECT_EQ(index.value(1, 1), "11");
    EXPECT_EQ(index.value(2, 1), "2");

    click(g, Card31::Element, 2);
    type(g, "");
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(ui.dialogue(),
              std::vector<std::string>{"Rillo2000|Information|You cannot change this value to a blank if you have "
                                       "tabular data tied to this conveyance element.|OK"});
    EXPECT_EQ(g.value(Card31::Element, 2), "11");
    EXPECT_EQ(index.value(1, 1), "11");
}

TEST_F(Card31Test, ADuplicateIdIsRefusedAndTheOldNumberComesBack) {
    element(2, "10");
    element(3, "20", "4");
    indexRow(1, "20", 2, 1);
    typeAndTab(g, Card31::Element, 3, "10");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{"Rillo2000|None|You cannot have a duplicate ID.|OK"});
    EXPECT_EQ(g.value(Card31::Element, 3), "20");
    EXPECT_EQ(index.value(1, 1), "20");

    // Overflow rows and elements still without a number are no duplicates.
    dataRows(g, 5);
    typeAndTab(g, Card31::Element, 4, "30");
    EXPECT_EQ(ui.dialogue().size(), 1u);
}

TEST_F(Card31Test, TypeFiveTwiceAddsOneOverflowRowTypeTwoRemovesIt) {
    element(2, "10");
    element(3, "20");
    const int rows = g.rowCount();
    const std::string note = "Rillo 2000|None|With Options 4 or 5 chosen for the Conveyance Element you must enter "
                             "another card 3.1 with the first five columns left blank.|OK";
    typeAndTab(g, Card31::Type, 2, "5");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{note});
    ASSERT_EQ(g.rowCount(), rows + 1);
    EXPECT_TRUE(deck.isOverflowRow(3));
    EXPECT_TRUE(g.format(1, 3).locked);
    EXPECT_EQ(g.value(Card31::Element, 4), "20");
    EXPECT_EQ(host.focused, std::vector<std::string>{"card 3.1"});

    typeAndTab(g, Card31::Type, 2, "4");
    typeAndTab(g, Card31::Type, 2, "5");
    EXPECT_EQ(ui.dialogue().size(), 1u);
    EXPECT_EQ(g.rowCount(), rows + 1);

    typeAndTab(g, Card31::Type, 2, "2");
    EXPECT_EQ(g.rowCount(), rows);
    EXPECT_FALSE(deck.isOverflowRow(3));
    EXPECT_EQ(g.value(Card31::Element, 3), "20");
    EXPECT_EQ(g.format(1, g.rowCount()).buttonText, "&Add Row");
}

TEST_F(Card31Test, DiversionPromptPadsTakesFourCharactersAndInsistsOnANumber) {
    element(2, "10");
    element(3, "20");
    element(4, "30");
    // The receiving elements.
    element(5, "12");
    element(6, "1234");
    element(7, "7");
    ui.inputText("12");
    typeAndTab(g, Card31::JK, 2, "0");
    EXPECT_EQ(g.value(Card31::JK, 2), "3");
    EXPECT_EQ(g.comboText(Card31::JK, 2), "Diversion to Element  0012");

    ui.inputText("12345");
    typeAndTab(g, Card31::JK, 3, "0");
    EXPECT_EQ(g.comboText(Card31::JK, 3), "Diversion to Element  1234");

    ui.inputText("abc").inputText("").inputText("-5").inputText("7");
    typeAndTab(g, Card31::JK, 4, "0");
    EXPECT_EQ(g.comboText(Card31::JK, 4), "Diversion to Element  0007");

    const std::string again = "Rillo2000|None|Must Enter Numeric Data|OK";
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{kPrompt + "12", kPrompt + "12345", kPrompt + "abc", again,
                                                        kPrompt, again, kPrompt + "-5", again, kPrompt + "7"}));
}

TEST_F(Card31Test, DiversionPromptCancelledLeavesTheTypeAsItWas) {
    element(2, "10", "", JkItem::Detention);
    ui.inputCancel();
    typeAndTab(g, Card31::JK, 2, "0");
    EXPECT_EQ(g.value(Card31::JK, 2), "1");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{kPrompt + "(cancel)"});
}

TEST_F(Card31Test, EmptyingTheSpecialTypeEndsTheElementsPairs) {
    element(2, "10", "4", JkItem::Detention);
    indexRow(1, "10", 2, 1);
    typeAndTab(g, Card31::JK, 2, "");
    EXPECT_TRUE(g.isEmpty(Card31::NDP, 2));
    EXPECT_FALSE(hasTabularButton(2));
    EXPECT_EQ(index.lastDataRow(), 0);
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(Card31Test, SpecialTypeOnAnElementWithoutANumber) {
    dataRows(g, 2);
    typeAndTab(g, Card31::JK, 2, "2");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{kNoId});
    EXPECT_EQ(std::make_pair(g.activeCol(), g.activeRow()), std::make_pair(Card31::NDP, 2));

    // Only while the editor is the active window is the target asked for.
    host.active = false;
    typeAndTab(g, Card31::JK, 2, "0");
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{kNoId, kNoId}));
}

TEST_F(Card31Test, TheHundredAndFirstSpecialElementIsRefusedWithNothingCreated) {
    for (int i = 1; i <= 100; ++i) indexRow(i, std::to_string(i), i + 1, 1);
    element(2, "500");
    typeAndTab(g, Card31::NDP, 2, "3");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{"Caution- System Resources Exeeded|Exclamation|Limit the "
                                                      "combined total of Detention, Diversion and Hydrograph Inflow "
                                                      "Elements to 100|OK"});
    EXPECT_TRUE(g.isEmpty(Card31::NDP, 2));
    EXPECT_FALSE(hasTabularButton(2));
    EXPECT_FALSE(rules.tabularPending());
    EXPECT_EQ(index.lastDataRow(), 100);
    EXPECT_EQ(host.focused, std::vector<std::string>{"card 3.1"});

    // One of the hundred may still change its number of pairs.
    element(3, "7", "4");
    typeAndTab(g, Card31::NDP, 3, "9");
    EXPECT_EQ(ui.dialogue().size(), 2u);
    EXPECT_TRUE(hasTabularButton(3));
}

TEST_F(Card31Test, ElementsAwaitingTheirPairsCountTowardsTheLimit) {
    for (int r = 2; r <= 101; ++r) element(r, std::to_string(r), "1");
    element(102, "999");
    typeAndTab(g, Card31::NDP, 102, "2");
    EXPECT_FALSE(hasTabularButton(102));
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST_F(Card31Test, NdpBackToZeroOrDeletedDropsTheButtonAndTheIndexRow) {
    element(2, "10", "4", JkItem::Detention);
    element(3, "20", "4", JkItem::Inflow);
    element(4, "30", "4", JkItem::Detention);
    indexRow(1, "10", 2, 1);
    indexRow(2, "20", 3, 1);
    indexRow(3, "30", 4, 1);

    typeAndTab(g, Card31::NDP, 3, "0");
    EXPECT_TRUE(g.isEmpty(Card31::JK, 3));
    EXPECT_TRUE(g.isEmpty(Card31::NDP, 3));
    EXPECT_FALSE(hasTabularButton(3));
    EXPECT_TRUE(g.format(Card31::Tabular, 3).locked);
    EXPECT_EQ(index.getArray(1, 1, 3, 3), (Grid::Array{{"10", "2", "1"}, {"30", "4", "1"}, {"", "", ""}}));

    g.setActiveCell(Card31::NDP, 4);
    rules.deleteKey(g);
    EXPECT_TRUE(g.isEmpty(Card31::NDP, 4));
    EXPECT_TRUE(g.isEmpty(Card31::JK, 4));
    EXPECT_FALSE(hasTabularButton(4));
    EXPECT_EQ(index.getArray(1, 1, 3, 2), (Grid::Array{{"10", "2", "1"}, {"", "", ""}}));
    EXPECT_EQ(deck.card31a().rowCount(), 3);  // the store is left alone
    EXPECT_TRUE(ui.dialogue().empty());
}

TEST_F(Card31Test, DeleteKeyLeavesCaptionsAndKeepsAnElementWithPairsNumbered) {
    element(2, "10", "4", JkItem::Detention);
    indexRow(1, "10", 2, 1);
    g.setActiveCell(Card31::Element, 1);
    rules.deleteKey(g);
    EXPECT_EQ(g.value(Card31::Element, 1), "Conveyance Element Number:");

    g.setActiveCell(Card31::Element, 2);
    rules.deleteKey(g);
    EXPECT_EQ(g.value(Card31::Element, 2), "10");
    EXPECT_EQ(ui.messages().size(), 1u);

    g.setActiveCell(Card31::Downstream, 2);
    g.setValue(Card31::Downstream, 2, "11");
    rules.deleteKey(g);
    EXPECT_TRUE(g.isEmpty(Card31::Downstream, 2));
}

}  // namespace
}  // namespace rillo::testing

namespace rillo::testing {
namespace {

// Counts and grids in step: what the card 3.1 rules must keep consistent.
using Card31InStepTest = RulesTest;

TEST_F(Card31InStepTest, OverflowRowsAndEmptyCellsAreNoElementNumbers) {
    Grid& g = deck.card31();
    element(2, "10");
    typeAndTab(g, Card31::Type, 2, "5");  // row 3 becomes its overflow row
    ui.clearDialogue();
    dataRows(g, 5);
    typeAndTab(g, Card31::Element, 4, "-1");  // a change card
    EXPECT_TRUE(ui.dialogue().empty()) << ::testing::PrintToString(ui.dialogue());
    EXPECT_EQ(g.value(Card31::Element, 4), "-1");
    EXPECT_FALSE(rules.checkDuplicateNumber(g, Card31::Element, -1, "conveyance element", 4));
    // Change cards may repeat: a second -1 is no duplicate either.
    typeAndTab(g, Card31::Element, 5, "-1");
    EXPECT_TRUE(ui.dialogue().empty()) << ::testing::PrintToString(ui.dialogue());
    EXPECT_EQ(g.value(Card31::Element, 5), "-1");
}

TEST_F(Card31InStepTest, AddedRowsOfferOnlyTheThreeBaseSpecialTypes) {
    Grid& g = deck.card31();
    element(2, "10");
    element(3, "12");
    ui.inputText("12");
    typeAndTab(g, Card31::JK, 2, "0");
    ASSERT_EQ(g.comboItems(Card31::JK, 2).size(), 4u);
    g.userClickButton(1, g.rowCount());
    const int added = g.rowCount() - 1;
    EXPECT_EQ(g.comboItems(Card31::JK, added),
              (std::vector<std::string>{"Diversion to Other Conveyance Element", "Detention Basin", "Inflow Hydrograph"}));
    // The overflow row added for type 4 does not carry it either.
    typeAndTab(g, Card31::Type, 2, "4");
    EXPECT_EQ(g.comboItems(Card31::JK, 3).size(), 3u);
}

TEST_F(Card31InStepTest, TypeFiveChangedToThreeRemovesTheOverflowRow) {
    Grid& g = deck.card31();
    element(2, "10");
    element(3, "20");
    typeAndTab(g, Card31::Type, 2, "5");
    ASSERT_TRUE(deck.isOverflowRow(3));
    typeAndTab(g, Card31::Type, 2, "3");
    EXPECT_FALSE(deck.isOverflowRow(3));
    EXPECT_EQ(g.value(Card31::Element, 3), "20");
}

TEST_F(Card31InStepTest, TheDiversionPromptComesBeforeTheNoNumberMessage) {
    Grid& g = deck.card31();
    dataRows(g, 2);
    ui.inputText("12").yes();
    typeAndTab(g, Card31::JK, 2, "0");
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{kPrompt + "12",
                                                       "Rillo 2000|None|There is no conveyance element 12 on card "
                                                       "3.1 to take the diverted flow.\nDo you want to keep this "
                                                       "value?|YesNo -> Yes",
                                                       kNoId}));
}

TEST_F(Card31InStepTest, ADiversionToAnElementNotOnTheCardIsAskedAbout) {
    Grid& g = deck.card31();
    element(2, "10");
    element(3, "20");
    const std::string question = "Rillo 2000|None|There is no conveyance element 999 on card 3.1 to take the "
                                 "diverted flow.\nDo you want to keep this value?|YesNo -> ";
    // No asks for the target again.
    ui.inputText("999").no().inputText("20");
    typeAndTab(g, Card31::JK, 2, "0");
    EXPECT_EQ(g.comboText(Card31::JK, 2), "Diversion to Element  0020");
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{kPrompt + "999", question + "No", kPrompt + "20"}));
    // Yes keeps it: the element may come later.
    ui.clearDialogue();
    ui.inputText("999").yes();
    typeAndTab(g, Card31::JK, 3, "0");
    EXPECT_EQ(g.comboText(Card31::JK, 3), "Diversion to Element  0999");
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{kPrompt + "999", question + "Yes"}));
}

}  // namespace
}  // namespace rillo::testing
