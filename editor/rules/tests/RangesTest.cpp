// Normal-range questions on cards 1.5 and 3.1, and the direct-flow defaults.
#include "Ranges.h"
#include "RulesFixture.h"

namespace rillo::testing {
namespace {

std::string question(const std::string& message, const char* answer) {
    return "Rillo 2000|None|" + message + "\nDo you want to keep this value?|YesNo -> " + answer;
}

using RangeTest = RulesTest;

TEST_F(RangeTest, AskedInTheFirstDataRowOnly) {
    Grid& g = deck.card15();
    dataRows(g, 3);
    ui.yes();
    typeAndTab(g, 8, 2, "0.005");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{question("Normal ranges are 0.008 to 0.03 ", "Yes")});
    EXPECT_EQ(g.value(8, 2), "0.0050");
    EXPECT_EQ(g.activeCol(), 9);
    EXPECT_EQ(host.focused, std::vector<std::string>{"card 1.5"});

    typeAndTab(g, 8, 3, "0.005");
    EXPECT_EQ(ui.dialogue().size(), 1u);
    EXPECT_EQ(g.value(8, 3), "0.0050");
}

TEST_F(RangeTest, BoundsAreAcceptedAndJustOutsideIsQuestioned) {
    Grid& g = deck.card15();
    for (const char* v : {"0.008", "0.03"}) typeAndTab(g, 8, 2, v);
    typeAndTab(g, 7, 2, "1.0");
    EXPECT_TRUE(ui.dialogue().empty());

    ui.yes().yes().yes();
    typeAndTab(g, 8, 2, "0.0079");
    typeAndTab(g, 8, 2, "0.031");
    typeAndTab(g, 7, 2, "1.01");
    EXPECT_EQ(ui.dialogue(), (std::vector<std::string>{question("Normal ranges are 0.008 to 0.03 ", "Yes"),
                                                        question("Normal ranges are 0.008 to 0.03 ", "Yes"),
                                                        question("This value maybe too large.", "Yes")}));
}

TEST_F(RangeTest, TheElevenNormalRangesAtTheirBoundsAndOneStepPast) {
    // Written out here, not taken from the program's table: the card, the
    // column, each bound with the value one step (in the cell's places) past it.
    struct Bound {
        GridId grid;
        int col;
        const char* at;
        const char* past;
        const char* message;
    };
    const Bound bounds[] = {
        {GridId::Card15, 7, "1.0", "1.0001", "This value maybe too large."},
        {GridId::Card15, 8, "0.008", "0.0079", "Normal ranges are 0.008 to 0.03 "},
        {GridId::Card15, 8, "0.03", "0.0301", "Normal ranges are 0.008 to 0.03 "},
        {GridId::Card15, 9, "0.01", "0.0099", "Normal ranges are 0.01 to 0.99 "},
        {GridId::Card15, 9, "0.99", "0.9901", "Normal ranges are 0.01 to 0.99 "},
        {GridId::Card15, 10, "0.04", "0.0399", "Normal ranges are 0.04 to 0.25 "},
        {GridId::Card15, 10, "0.25", "0.2501", "Normal ranges are 0.04 to 0.25 "},
        {GridId::Card15, 11, "0.1", "0.0999", "Normal ranges are 0.1 to 1.0 "},
        {GridId::Card15, 11, "1.0", "1.0001", "Normal ranges are 0.1 to 1.0 "},
        {GridId::Card15, 12, "0.05", "0.0499", "Normal ranges are 0.05 to 25 "},
        {GridId::Card15, 12, "25", "25.0001", "Normal ranges are 0.05 to 25 "},
        {GridId::Card15, 13, "0", "-0.0001", "Normal ranges are 0 to 25 "},
        {GridId::Card15, 13, "25", "25.0001", "Normal ranges are 0 to 25 "},
        {GridId::Card15, 14, "0", "-0.000000001", "Normal ranges are 0 to 1 "},
        {GridId::Card15, 14, "1", "1.000000001", "Normal ranges are 0 to 1 "},
        {GridId::Card31, 8, "0.00001", "0.0000099", "Normal ranges are 0.00001 to 0.25 "},
        {GridId::Card31, 8, "0.25", "0.2500001", "Normal ranges are 0.00001 to 0.25 "},
        {GridId::Card31, 11, "0.001", "0.0009999", "Normal ranges are 0.001 to 0.99 "},
        {GridId::Card31, 11, "0.99", "0.9900001", "Normal ranges are 0.001 to 0.99 "},
        {GridId::Card31, 12, "0.1", "0.0999999", "Normal ranges are 0.1 to 100 "},
        {GridId::Card31, 12, "100", "100.0000001", "Normal ranges are 0.1 to 100 "},
    };
    for (const Bound& b : bounds) {
        Deck d;
        ScriptedUi u;
        RecordingHost h;
        ChangeSpread r(d, u, h);
        r.attach();
        Grid& g = d.grid(b.grid);
        typeAndTab(g, b.col, 2, b.at);
        EXPECT_TRUE(u.dialogue().empty()) << g.name() << " column " << b.col << " at " << b.at;
        u.yes();
        typeAndTab(g, b.col, 2, b.past);
        EXPECT_EQ(u.dialogue(), std::vector<std::string>{question(b.message, "Yes")})
            << g.name() << " column " << b.col << " past " << b.past;
    }
}

TEST_F(RangeTest, NoEmptiesTheCellAndKeepsTheCaretThere) {
    Grid& g = deck.card15();
    ui.no();
    typeAndTab(g, 9, 2, "1.5");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{question("Normal ranges are 0.01 to 0.99 ", "No")});
    EXPECT_TRUE(g.isEmpty(9, 2));
    EXPECT_EQ(std::make_pair(g.activeCol(), g.activeRow()), std::make_pair(9, 2));
}

TEST_F(RangeTest, DecayRateIsQuestionedOnLeavingToTheLeftOthersOnlyToTheRight) {
    Grid& g = deck.card15();
    click(g, 8, 2);
    type(g, "0.005");
    g.userKeyDown(KeyLeft, 0);
    EXPECT_TRUE(ui.dialogue().empty());
    EXPECT_EQ(g.activeCol(), 7);

    ui.yes();
    click(g, 14, 2);
    type(g, "2");
    g.userKeyDown(KeyLeft, 0);
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{question("Normal ranges are 0 to 1 ", "Yes")});
    EXPECT_EQ(g.activeCol(), 13);
}

TEST_F(RangeTest, ConveyanceRangesInRowTwoOnly) {
    Grid& g = deck.card31();
    element(2, "10");
    element(3, "20");
    ui.no();
    typeAndTab(g, 12, 2, "150");
    EXPECT_EQ(ui.dialogue(), std::vector<std::string>{question("Normal ranges are 0.1 to 100 ", "No")});
    EXPECT_TRUE(g.isEmpty(12, 2));
    EXPECT_EQ(g.activeCol(), 12);

    typeAndTab(g, 12, 3, "150");
    typeAndTab(g, 8, 3, "0.5");
    EXPECT_EQ(ui.dialogue().size(), 1u);
}

TEST_F(RangeTest, DirectFlowFillsLengthAndDepthWhenTheCaretMovesOnToTheWidth) {
    Grid& g = deck.card31();
    element(2, "10");
    element(3, "20");
    click(g, Card31::Type, 2);
    type(g, "3");
    g.userKeyDown(KeyLeft, 0);  // leaving to the left: no defaults
    EXPECT_TRUE(g.isEmpty(7, 2));

    click(g, Card31::Type, 3);
    type(g, "3");
    g.userKeyDown(KeyTab, 0);
    EXPECT_EQ(g.value(7, 3), "1.0000000");
    EXPECT_EQ(g.value(12, 3), "20.0000000");
    EXPECT_EQ(g.activeCol(), 6);

    click(g, Card31::Type, 2);
    g.userKeyDown(KeyTab, 0);  // any row, also without a change
    EXPECT_EQ(g.value(7, 2), "1.0000000");
    EXPECT_TRUE(ui.dialogue().empty());
}

}  // namespace
}  // namespace rillo::testing
