// Zero rainfall entries on card 1.4 and duplicate numbers.
#include "RulesFixture.h"

namespace rillo::testing {
namespace {

const std::string kZeroWarning =
    "Rillo2000|None|Problems occur if 0.0 rainfall occurs several time-steps before the actual start of the "
    "rainfall (the computer overflows).|OK";

using ZeroRainfallTest = RulesTest;

TEST_F(ZeroRainfallTest, EveryThirdZeroInTheFirstThreeColumnsWarns) {
    Grid& g = deck.card14();
    dataRows(g, 3);
    typeAndTab(g, 1, 2, "0");
    typeAndTab(g, 2, 2, "0.5");  // not a zero
    typeAndTab(g, 4, 2, "0");    // column 4 is not counted
    typeAndTab(g, 2, 3, "0");
    EXPECT_EQ(ChangeSpread::zeroRainfallCount(), 2);
    EXPECT_TRUE(ui.dialogue().empty());

    typeAndTab(g, 3, 3, "0");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{kZeroWarning});
    EXPECT_EQ(ChangeSpread::zeroRainfallCount(), 0);
}

TEST_F(ZeroRainfallTest, TheCountIsSharedByEveryEditorOfTheProgram) {
    typeAndTab(deck.card14(), 1, 2, "0");
    typeAndTab(deck.card14(), 2, 2, "0");

    Deck other;
    ChangeSpread otherRules(other, ui, host);
    otherRules.attach();
    typeAndTab(other.card14(), 1, 2, "0");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{kZeroWarning});
}

using DuplicateTest = RulesTest;

TEST_F(DuplicateTest, ARepeatedSubCatchmentNumberIsEmptied) {
    Grid& g = deck.card23();
    dataRows(g, 3);
    g.setValue(1, 2, "7");
    ui.pointer = Pointer::Hourglass;
    typeAndTab(g, 1, 3, "7");
    EXPECT_EQ(ui.dialogue(),
              std::vector<std::string>{"Warning|Exclamation|Duplicate sub-catchment number not allowed. 7|OK"});
    EXPECT_TRUE(g.isEmpty(1, 3));
    EXPECT_EQ(g.value(1, 2), "7");
    EXPECT_EQ(ui.pointer, Pointer::Normal);
    EXPECT_EQ(host.focused, std::vector<std::string>{"card 2.3"});

    typeAndTab(g, 1, 3, "8");
    EXPECT_EQ(ui.dialogue().size(), 1u);
}

TEST_F(DuplicateTest, SubCatchmentsMayDrainIntoTheSameElement) {
    Grid& g = deck.card23();
    dataRows(g, 3);
    g.setValue(1, 2, "1");
    g.setValue(2, 2, "40");
    typeAndTab(g, 1, 3, "2");
    typeAndTab(g, 2, 3, "40");
    EXPECT_TRUE(ui.dialogue().empty());
    EXPECT_EQ(g.value(2, 3), "40");
}

TEST_F(DuplicateTest, OnlyCards31And23ExemptTheCheckedRow) {
    Grid& list = deck.card42();
    list.setValue(1, 2, "5");
    EXPECT_TRUE(rules.checkDuplicateNumber(list, 1, 5, "conveyance element", 2));
    EXPECT_FALSE(rules.checkDuplicateNumber(list, 2, -1, "conveyance element", 2));  // an empty cell holds no number

    element(2, "5");
    EXPECT_FALSE(rules.checkDuplicateNumber(deck.card31(), Card31::Element, 5, "conveyance element", 2));
    element(3, "5");
    EXPECT_TRUE(rules.checkDuplicateNumber(deck.card31(), Card31::Element, 5, "conveyance element", 2));
    EXPECT_EQ(ui.messages().back(), "Warning|Exclamation|Duplicate conveyance element number not allowed. 5|OK");
    EXPECT_EQ(ui.messages().size(), 2u);
}

}  // namespace
}  // namespace rillo::testing
