#include "DeckBuilder.h"
#include "DeckReader.h"
#include "ScriptedUi.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace rillo;
using namespace rillo::testdata;
using rillo::testing::ScriptedUi;

namespace {

constexpr const char* kReadError = "Rillo2000|None|Error reading the file. Please check the file for data validity.|OK";

std::vector<std::string> iopt0Head(const std::string& nrgag = "    0", const std::string& nhisto = "    0") {
    return {"   2   1   1   2", "   3   4", "WATERSHED   0", "Title", "Sub-title",
            card12("100", "0", "0", "30.0", nrgag, "10", "1"), nhisto + "    5"};
}


struct Opened {
    ScriptedUi ui;
    HeadlessHost host;
    TempDir dir;
    OpenResult result{};
    Deck& deck() { return host.deck(); }
    OpenResult open(const std::string& contents) {
        const std::string path = dir.file("deck.sin");
        writeFile(path, contents);
        return result = openDeck(ui, host, path);
    }
    OpenResult open(std::vector<std::string> lines) { return open(joinLines(lines)); }
};

}  // namespace

TEST(OpenDeck, TemplateOpensWithEveryGridAtItsFirstDataRow) {
    ScriptedUi ui;
    HeadlessHost host;
    ASSERT_EQ(openDeck(ui, host, RILLO_TEMPLATE), OpenResult::Opened);
    EXPECT_TRUE(ui.dialogue().empty());
    Deck& d = host.deck();
    EXPECT_EQ(d.iopt(), 0);
    for (GridId id : {GridId::Card14, GridId::Card15, GridId::Card110, GridId::Card23, GridId::Card31,
                      GridId::Card31a, GridId::Card42, GridId::Card44}) {
        EXPECT_EQ(d.grid(id).rowCount(), 3) << d.grid(id).name();
        EXPECT_EQ(d.grid(id).lastDataRow(), 1) << d.grid(id).name();
    }
    EXPECT_EQ(d.card31aIndex().lastDataRow(), 0);
    EXPECT_EQ(host.shown(), 1);
    EXPECT_EQ(host.caption(), RILLO_TEMPLATE);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_EQ(ui.progress.back(), 0);
}

TEST(OpenDeck, AskingForAFileRemembersItsFolder) {
    Opened o;
    const std::string path = o.dir.file("basin.sin");
    writeFile(path, readFile(RILLO_TEMPLATE));
    o.ui.fileName(path);
    EXPECT_EQ(openDeck(o.ui, o.host, ""), OpenResult::Opened);
    EXPECT_EQ(o.ui.lastFileRequest().title, "Open Files");
    EXPECT_EQ(o.ui.lastFileRequest().filter, "Rillo 2000 Files (*.sin)|*.sin|All Files (*.*)|*.*");
    EXPECT_EQ(o.ui.lastFileRequest().flags, unsigned(FileMustExist | PathMustExist | HideReadOnly));
    EXPECT_EQ((o.ui.settings[{"Rillo 2000", "CommonDialog", "Directory"}]), o.dir.folder());
    EXPECT_EQ(o.ui.dialogFileName(), path);

    ScriptedUi again;
    again.fileCancel();
    HeadlessHost other;
    EXPECT_EQ(openDeck(again, other, ""), OpenResult::Cancelled);
    EXPECT_EQ(other.shown(), 0);
    EXPECT_EQ(again.messages().size(), 0u);
}

TEST(OpenDeck, Iopt0CardsGoIntoTheirFieldsAndGrids) {
    Opened o;
    auto lines = iopt0Head("    1", "   12");
    lines.insert(lines.end(), {"  1.5  2.0    0     ", "   .5   .6", "    1    5   10  2.5.0125    0  0.5",
                               "    0    7   10", "", "    2", "    5    7",
                               "   20    4"});
    lines.push_back("    1    2    3    4    5    6    7    8    9   10   11   12   13   14   15   16");
    lines.push_back("   17   18   19   20");
    lines.insert(lines.end(), {"", "    0", "    0    0", "ENDPROGRAM"});
    ASSERT_EQ(o.open(lines), OpenResult::Opened) << ::testing::PrintToString(o.ui.dialogue());
    Deck& d = o.deck();
    EXPECT_EQ(d.text(Field::Title), "Title");
    EXPECT_EQ(d.text(Field::Steps), "  100");
    EXPECT_EQ(d.text(Field::TimeStep), " 30.0");
    EXPECT_EQ(d.text(Field::StartHour), "  0");
    EXPECT_EQ(d.text(Field::Hyetographs), "1") << "trimmed";
    EXPECT_TRUE(d.checked(Field::PeakSummary));
    EXPECT_EQ(d.text(Field::HyetographPoints), "   12");
    EXPECT_EQ(d.card14().getArray(1, 2, 4, 1), (Grid::Array{{"1.5000", "2.0000", "0.0000", ""}}));
    EXPECT_EQ(d.card14().getArray(1, 3, 3, 1), (Grid::Array{{"0.5000", "0.6000", ""}}));
    EXPECT_EQ(d.card14().rowCount(), 5);
    const Grid& c15 = d.card15();
    EXPECT_EQ(c15.value(1, 2), "1");
    EXPECT_EQ(c15.value(4, 2), "2.5000");
    EXPECT_EQ(c15.value(5, 2), "0.0125");
    EXPECT_EQ(c15.value(6, 2), "0.0000");
    EXPECT_EQ(c15.value(1, 3), "") << "a cell reading back 0 is emptied";
    EXPECT_EQ(c15.value(2, 3), "7");
    EXPECT_EQ(c15.lastDataRow(), 3);
    EXPECT_TRUE(d.checked(Field::SaveHydrographs));
    EXPECT_EQ(d.text(Field::PrintedSubbasins), "20");
    EXPECT_EQ(d.card110().value(16, 2), "16");
    EXPECT_EQ(d.card110().value(4, 3), "20");
}

TEST(OpenDeck, Iopt1DeckHasNoCards1x) {
    Opened o;
    ASSERT_EQ(o.open(std::vector<std::string>{"   2   1   1   2", "   3   4", "WATERSHED   1", "T3", "T4",
                                              card22("60", "1", "2", "300", "").substr(0, 20), "        4    7", "       12    7", "",
                                              "    0    7    0  0 1", "", "    0", "    0    0", "ENDPROGRAM"}),
              OpenResult::Opened);
    Deck& d = o.deck();
    EXPECT_EQ(d.iopt(), 1);
    EXPECT_EQ(d.text(Field::RoutingTitle), "T3");
    EXPECT_EQ(d.text(Field::RoutingTimeStep), "30.0") << "implied point in the trimmed text";
    EXPECT_FALSE(d.checked(Field::RoutingPeakSummary)) << "a missing column 80 leaves the box clear";
    EXPECT_EQ(d.card23().getArray(1, 2, 2, 2), (Grid::Array{{"4", "7"}, {"12", "7"}}));
    EXPECT_EQ(d.card31().value(Card31::Element, 2), "7");
    EXPECT_EQ(d.text(Field::Title), "");
}

TEST(OpenDeck, SpecialElementWithOverflowRowAndTabularBlock) {
    Opened o;
    auto lines = iopt0Head();
    lines.insert(lines.end(), {"", "    0", "    0    0"});
    lines.push_back("   12    3    0  6 4    10.0   100.0 0.005" + std::string(34, ' '));
    lines.push_back(std::string(20, ' ') + "    20.0");
    lines.push_back("       1.0       2.0       3.0       4.0       5.0       6.0       7.0       8.0");
    lines.push_back("       9.0      10.0      11.0      12.0");
    lines.push_back("    0    4    3    1     1.0");
    lines.insert(lines.end(), {"", "    0", "    0    0", "ENDPROGRAM"});
    ASSERT_EQ(o.open(lines), OpenResult::Opened) << ::testing::PrintToString(o.ui.dialogue());
    Deck& d = o.deck();
    Grid& g = d.card31();
    EXPECT_EQ(g.value(Card31::JK, 2), "3");
    EXPECT_EQ(g.comboText(Card31::JK, 2), "Diversion to Element  0012") << "as the editor shows a target it was given";
    EXPECT_EQ(g.value(Card31::NDP, 2), "6");
    EXPECT_EQ(g.value(Card31::Type, 2), "4");
    EXPECT_EQ(g.comboText(Card31::Type, 2), "4 = Channel with overflow channel");
    EXPECT_EQ(g.format(Card31::Tabular, 2).type, CellButton);
    EXPECT_EQ(g.format(Card31::Tabular, 2).buttonText, "Tabular");
    EXPECT_FALSE(g.format(Card31::Tabular, 2).locked);
    EXPECT_TRUE(d.isOverflowRow(3));
    EXPECT_TRUE(g.format(1, 3).locked);
    EXPECT_EQ(g.value(Card31::FirstDimension, 3), "20.0000000");
    EXPECT_EQ(g.value(Card31::Element, 4), "4");
    EXPECT_EQ(g.value(Card31::NDP, 4), "") << "NDP 0 is emptied";
    EXPECT_EQ(g.value(Card31::JK, 4), "") << "JK is not looked at without NDP";
    EXPECT_EQ(g.format(Card31::Tabular, 4).type, CellEdit);
    EXPECT_FALSE(d.isOverflowRow(4));

    EXPECT_EQ(d.card31a().value(1, 2), "1.000000");
    EXPECT_EQ(d.card31a().getArray(1, 3, 8, 1),
              (Grid::Array{{"9.000000", "10.000000", "11.000000", "12.000000", "0.000000", "0.000000", "0.000000",
                            "0.000000"}}));
    EXPECT_EQ(d.card31aIndex().getArray(1, 1, 3, 2), (Grid::Array{{"3", "2", "2"}, {"", "", ""}}));
}

TEST(OpenDeck, DiversionOrInflowCodesSelectTheirItems) {
    Opened o;
    auto lines = iopt0Head();
    lines.insert(lines.end(), {"", "    0", "    0    0"});
    lines.push_back("   -1    1    0  1 1");
    lines.push_back("       1.0       2.0");
    lines.push_back("         2    0  1 1");
    lines.push_back("       1.0       2.0");
    lines.insert(lines.end(), {"", "    0", "    0    0", "ENDPROGRAM"});
    ASSERT_EQ(o.open(lines), OpenResult::Opened);
    Grid& g = o.deck().card31();
    EXPECT_EQ(g.value(Card31::JK, 2), std::to_string(JkItem::Inflow));
    EXPECT_EQ(g.value(Card31::JK, 3), std::to_string(JkItem::Detention)) << "a blank code is a detention basin";
    EXPECT_EQ(o.deck().card31aIndex().lastDataRow(), 2);
    // Other negative codes are refused when opening (see the integrity tests).
}

TEST(OpenDeck, MoreThan100SpecialElementsWarnOnceAndKeepEveryBlock) {
    Opened o;
    auto lines = iopt0Head();
    lines.insert(lines.end(), {"", "    0", "    0    0"});
    for (int e = 1; e <= 103; ++e) {
        lines.push_back(rj("0", 5) + rj(std::to_string(e), 5) + "    0  1 1");
        lines.push_back("       1.0       2.0");
    }
    lines.insert(lines.end(), {"", "    0", "    0    0", "ENDPROGRAM"});
    ASSERT_EQ(o.open(lines), OpenResult::Opened);
    EXPECT_EQ(o.ui.messages(), (std::vector<std::string>{
                                   "Caution System Resources Exceeded|Exclamation|Limit the combined total of "
                                   "Detention, Diversion and Hydrograph Inflow Elements to 100|OK"}));
    EXPECT_EQ(o.deck().card31aIndex().lastDataRow(), 103);
    EXPECT_EQ(o.deck().card31aIndex().value(1, 103), "103");
}

TEST(OpenDeck, BadHeaderIsRefusedAndTheEditorNotShown) {
    Opened o;
    EXPECT_EQ(o.open("RILLO DECK\r\n   3   4\r\n"), OpenResult::BadHeader);
    EXPECT_EQ(o.ui.messages(),
              (std::vector<std::string>{"Error|Exclamation|Error on File, Check file for correct format\n"
                                        "Line 1, columns 1-20: the first line holds \"RILLO DECK\"; a deck begins "
                                        "with four numbers in columns 1-20.|OK"}));
    EXPECT_EQ(o.host.shown(), 0);
    EXPECT_FALSE(o.ui.progressVisible);
    EXPECT_EQ(o.ui.pointer, Pointer::Normal);
}

TEST(OpenDeck, ShortCard12LineFailsBecauseTheCheckBoxHasNoDigit) {
    Opened o;
    auto lines = iopt0Head();
    lines[5] = card12("100", "0", "0", "30.0", "0", "10", "").substr(0, 30);
    lines.insert(lines.end(), {"", "    0", "    0    0", "", "    0", "    0    0", "ENDPROGRAM"});
    EXPECT_EQ(o.open(lines), OpenResult::ReadError);
    EXPECT_EQ(o.ui.messages(), (std::vector<std::string>{
                                   "Rillo2000|None|Error reading the file. Please check the file for data validity.\n"
                                   "Line 6 (card 1.2), column 80: no 0 or 1 for the peak flow summary.|OK"}));
    EXPECT_EQ(o.host.shown(), 0);
}

TEST(OpenDeck, DamagedFilesAreReportedAndNeverCrash) {
    std::mt19937 rng(7);
    const std::string good = generateDeck(DeckShape{}, rng);
    std::vector<std::string> bad = {
        "",
        good.substr(0, good.size() / 2),                                // ends in the middle of a card
        std::string("\0\1\2\3   2   1   1   2", 20) + std::string(5000, '\xff'),  // binary
        "   2   1   1   2\r\n" + std::string(1 << 20, '7') + "\r\nWATERSHED   0\r\n",  // a megabyte line
    };
    // Counts far beyond the lines that follow.
    bad.push_back(joinLines(iopt0Head("99999", "99999")));
    auto ndp99 = iopt0Head();
    ndp99.insert(ndp99.end(), {"", "    0", "    0    0", "    0    1    0 99 1"});
    bad.push_back(joinLines(ndp99));
    auto many = iopt0Head("99999", "    0");
    for (int i = 0; i < 30000; ++i) many.push_back("");
    bad.push_back(joinLines(many));
    for (const auto& contents : bad) {
        Opened o;
        EXPECT_NE(o.open(contents), OpenResult::Opened);
        ASSERT_EQ(o.ui.messages().size(), 1u);
        EXPECT_TRUE(o.ui.messages()[0].rfind(std::string(kReadError).substr(0, 79), 0) == 0 ||
                    o.ui.messages()[0].rfind("Error|Exclamation|Error on File, Check file for correct format\n", 0) == 0)
            << o.ui.messages()[0];
        EXPECT_EQ(o.host.shown(), 0);
    }
}

TEST(OpenDeck, MissingFileIsAReadError) {
    ScriptedUi ui;
    HeadlessHost host;
    EXPECT_EQ(openDeck(ui, host, "/nonexistent/deck.sin"), OpenResult::ReadError);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{std::string(kReadError).substr(0, std::string(kReadError).size() - 3) +
                                                       "\nThe file /nonexistent/deck.sin does not exist.|OK"}));
}
