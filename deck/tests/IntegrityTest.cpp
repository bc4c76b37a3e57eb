// A deck that opens saves back with every value kept, or the save is refused
// with a message that names the card and the row. Grouped by what each
// case protects: no silent loss, values unchanged, a failed open leaves
// nothing behind, counts and grids in step.
#include "ConsoleUi.h"
#include "DeckBuilder.h"
#include "DeckCompare.h"
#include "DeckReader.h"
#include "DeckWriter.h"
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "TestSystem.h"
#include "TrickyDecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace rillo;
using namespace rillo::testdata;
using rillo::testing::ScriptedUi;

namespace {

namespace fs = std::filesystem;

constexpr const char* kUnsuccessful = "Rillo 2000|Exclamation|File Save was Unsuccessful|OK";

/// An IOPT 0 deck with the given card 1.5 and card 3.1 lines and no rainfall.
std::string iopt0(const std::vector<std::string>& card15, const std::vector<std::string>& card31,
                  const std::string& card19 = "    0    0", const std::vector<std::string>& card110 = {}) {
    std::vector<std::string> lines{"   2   1   1   2", "   3   4", "WATERSHED   0", "Title", "",
                                   card12("100", "0", "0", "5.0", "0", "10", "0"), "    0    5"};
    lines.insert(lines.end(), card15.begin(), card15.end());
    lines.insert(lines.end(), {"", "    0", card19});
    lines.insert(lines.end(), card110.begin(), card110.end());
    lines.insert(lines.end(), card31.begin(), card31.end());
    lines.insert(lines.end(), {"", "    0", "    0    0", "ENDPROGRAM"});
    return joinLines(lines);
}

std::string iopt1(const std::vector<std::string>& card23, const std::vector<std::string>& card31) {
    std::vector<std::string> lines{"   2   1   1   2", "   3   4", "WATERSHED   1", "K", "",
                                   card22("60", "1", "2", "30.0", "1")};
    lines.insert(lines.end(), card23.begin(), card23.end());
    lines.push_back("");
    lines.insert(lines.end(), card31.begin(), card31.end());
    lines.insert(lines.end(), {"", "    0", "    0    0", "ENDPROGRAM"});
    return joinLines(lines);
}

/// An element line: JK, number, downstream, NDP, type, then dimension fields as written.
std::string element(const std::string& jk, const std::string& number, const std::string& downstream,
                    const std::string& ndp, const std::string& type, const std::string& dimensions) {
    return rj(jk, 5) + rj(number, 5) + rj(downstream, 5) + " " + rj(ndp, 2) + " " + type + dimensions;
}

/// A deck opened in a headless host, to be edited and saved.
struct Open {
    TempDir dir;
    ScriptedUi ui;
    HeadlessHost host;
    explicit Open(const std::string& contents) {
        writeFile(dir.file("in.sin"), contents);
        std::ostringstream sink;
        ConsoleUi quiet(sink);
        EXPECT_EQ(openDeck(quiet, host, dir.file("in.sin")), OpenResult::Opened) << sink.str();
    }
    Deck& deck() { return host.deck(); }
    SaveResult save(std::initializer_list<bool> answers = {}) {
        for (bool yes : answers) yes ? ui.yes() : ui.no();
        SaveOptions options;
        options.path = dir.file("out.sin");
        options.askFinished = false;
        return saveDeck(ui, host, options);
    }
    /// The saved file read back and compared with the deck as it is now.
    std::string differenceAfterReading() {
        HeadlessHost back;
        std::ostringstream sink;
        ConsoleUi quiet(sink);
        if (openDeck(quiet, back, dir.file("out.sin")) != OpenResult::Opened) return "not read back: " + sink.str();
        return deckDifference(deck(), back.deck()).value_or("");
    }
};

const std::string kDims = "     10.    100.   0.005";

}  // namespace

// ---------------------------------------------------------------------------
// No silent loss

TEST(NoSilentLoss, AChangeCardElementBehindABlankJkIsWrittenSoThatItReadsBack) {
    // Element -5 of type 4 with its overflow line: "    0" in front of it
    // would read as the end of card 3.1 and its overflow line as an element.
    TempDir dir;
    const std::string deck =
        iopt0({}, {element("12", "-5", "3", "", "4", kDims), std::string(20, ' ') + "     20.    200.   0.001",
                   element("", "3", "0", "", "1", kDims)});
    const RoundTrip rt = roundTrip(deck, dir.path().string());
    ASSERT_TRUE(rt.saved);
    EXPECT_EQ(rt.difference, "");
    EXPECT_NE(rt.text.find("\r\n        -5    3    4     10."), std::string::npos) << rt.text;

    // The same on an IOPT 1 deck.
    const RoundTrip one =
        roundTrip(iopt1({"        4    3"}, {element("12", "-5", "3", "", "5", kDims), std::string(20, ' ') + "     20.",
                                             element("", "3", "0", "", "1", kDims)}),
                  dir.path().string());
    ASSERT_TRUE(one.saved);
    EXPECT_EQ(one.difference, "");
}

TEST(NoSilentLoss, ChangeCardsMayRepeatWhereElementNumbersMayNot) {
    TempDir dir;
    const RoundTrip rt = roundTrip(iopt0({}, {element("", "-1", "", "", "1", "     1.5"), element("", "7", "7", "", "1", kDims),
                                              element("", "-1", "", "", "1", "      2."), element("", "8", "7", "", "1", kDims)}),
                                   dir.path().string());
    ASSERT_TRUE(rt.saved);
    EXPECT_EQ(rt.difference, "");
}

TEST(NoSilentLoss, ALineThatWouldStillReadAsTheCardsEndIsRefusedNamingItsRow) {
    // A detention basin (JK 0 is read for it) numbered -5 cannot be written so that it reads back.
    Open o(iopt0({}, {element("", "7", "0", "", "1", kDims), element("", "8", "0", "", "1", kDims)}));
    Grid& g = o.deck().card31();
    g.setValue(Card31::Element, 3, "-5");
    g.setValue(Card31::NDP, 3, "1");
    g.setValue(Card31::JK, 3, std::to_string(JkItem::Detention));
    EXPECT_EQ(o.save({true}), SaveResult::Refused);
    ASSERT_EQ(o.ui.messages().size(), 3u);
    EXPECT_EQ(o.ui.messages()[1], kUnsuccessful);
    EXPECT_EQ(o.ui.messages()[2],
              "Rillo 2000|None|Check card 3.1 row 3: element -5 would read as the end of card 3.1 and every element "
              "after it would be lost. Give it a number above 0.|OK");

    // Card 2.3: sub-catchment 0 draining into element -5.
    Open k(iopt1({"        4    7"}, {element("", "7", "7", "", "1", kDims), element("", "-5", "7", "", "1", kDims)}));
    k.deck().card23().setValue(1, 3, "0");
    k.deck().card23().setValue(2, 3, "-5");
    EXPECT_EQ(k.save(), SaveResult::Refused);
    EXPECT_EQ(k.ui.messages().back(),
              "Rillo 2000|None|Check card 2.3 row 3: sub-catchment 0 would read as the end of card 2.3 and every "
              "sub-catchment after it would be lost.|OK");
    EXPECT_FALSE(fs::exists(k.dir.file("out.sin")));
}

TEST(NoSilentLoss, ASubcatchmentChangeCardBehindHyetographZeroIsKept) {
    // Typed in the editor: hyetograph 0, subcatchment -1 (a change card), a ratio.
    Open o(iopt0({"    1    5    7"}, {element("", "7", "7", "", "1", kDims)}));
    Grid& g = o.deck().card15();
    g.setValue(1, 2, "0");
    g.setValue(2, 2, "-1");
    g.setValue(4, 2, "1.5");
    ASSERT_EQ(o.save(), SaveResult::Saved) << ::testing::PrintToString(o.ui.dialogue());
    // Hyetograph 0 reads back as an empty cell, as a 0 read from a file does.
    EXPECT_EQ(o.differenceAfterReading(), "");
    HeadlessHost back;
    ScriptedUi quiet;
    ASSERT_EQ(openDeck(quiet, back, o.dir.file("out.sin")), OpenResult::Opened);
    EXPECT_EQ(back.deck().card15().value(2, 2), "-1");
    EXPECT_EQ(back.deck().card15().value(4, 2), "1.5000");
    EXPECT_EQ(back.deck().card31().value(Card31::Element, 2), "7");
}

TEST(NoSilentLoss, OverflowRowsAreNeverElements) {
    // An overflow row left behind (its element's type pasted over) is refused, not written as an element.
    Open o(iopt0({}, {element("", "7", "7", "", "5", kDims), std::string(20, ' ') + "     20.",
                      element("", "8", "7", "", "1", kDims)}));
    o.deck().card31().setValue(Card31::Type, 2, "1");
    EXPECT_EQ(o.save(), SaveResult::Refused);
    EXPECT_EQ(o.ui.messages().back(),
              "Rillo 2000|None|Check card 3.1 row 3: it is an overflow row without an element of type 4 or 5 above it. "
              "Delete its values or give the element above type 4 or 5.|OK");

    // An element of type 5 whose overflow row is missing is refused too.
    Open p(iopt0({}, {element("", "7", "7", "", "1", kDims), element("", "8", "7", "", "1", kDims)}));
    p.deck().card31().setValue(Card31::Type, 2, "5");
    EXPECT_EQ(p.save(), SaveResult::Refused);
    EXPECT_EQ(p.ui.messages().back(),
              "Rillo 2000|None|Check card 3.1 row 2: element 7 is of type 5 but has no overflow row below it.|OK");
}

TEST(NoSilentLoss, SavingOntoASymbolicLinkWritesThroughIt) {
    Open o(iopt0({}, {element("", "7", "7", "", "1", kDims)}));
    if (!rillo::testing::symbolicLinksWork(o.dir.path())) GTEST_SKIP() << "this system makes no symbolic links for us";
    const std::string target = o.dir.file("real.sin"), link = o.dir.file("out.sin");
    writeFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.sin", link);
    ASSERT_EQ(o.save(), SaveResult::Saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), readFile(link));
    EXPECT_NE(readFile(target), "old");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(o.dir.path()), {}), 3);  // in, real, link: no temporary left

    // A link to a file in another folder (through a second link) replaces that file.
    fs::remove(link);
    fs::create_directory(o.dir.file("decks"));
    writeFile(o.dir.file("decks/far.sin"), "old");
    fs::create_symlink(o.dir.file("decks/far.sin"), o.dir.file("middle.sin"));
    fs::create_symlink("middle.sin", link);
    ASSERT_EQ(o.save(), SaveResult::Saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(o.dir.file("middle.sin")));
    EXPECT_EQ(readFile(o.dir.file("decks/far.sin")), readFile(target));
    EXPECT_EQ(std::distance(fs::directory_iterator(o.dir.file("decks")), {}), 1);
}

// ---------------------------------------------------------------------------
// Values unchanged

TEST(ValuesUnchanged, ANegativeDecimalThatFillsItsColumnsSavesBack) {
    TempDir dir;
    const RoundTrip rt = roundTrip(iopt0({}, {element("", "7", "7", "", "1", "     10.    100.-.000125")}),
                                   dir.path().string());
    ASSERT_TRUE(rt.saved);
    EXPECT_EQ(rt.difference, "");
    EXPECT_NE(rt.text.find("    100.-.000125"), std::string::npos);
}

TEST(ValuesUnchanged, ExponentsAreReadAsTheirNumbers) {
    const std::string sub = "    1    5    7" + std::string(50, ' ') + "  1.15E-03";
    Open o(iopt0({sub}, {element("", "7", "7", "", "1", "     10.    100.  1.2E-3")}));
    EXPECT_EQ(o.deck().card15().value(14, 2), "0.001150000");
    EXPECT_EQ(o.deck().card31().value(8, 2), "0.0012000");
    ASSERT_EQ(o.save(), SaveResult::Saved);
    EXPECT_EQ(o.differenceAfterReading(), "");
    const std::string saved = readFile(o.dir.file("out.sin"));
    EXPECT_NE(saved.find("   0.00115\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("    100.  0.0012"), std::string::npos) << saved;
}

TEST(ValuesUnchanged, AnExponentThatNoPlainNumberInItsColumnsCanHoldIsARefusedOpenNamingTheLine) {
    TempDir dir;
    writeFile(dir.file("d.sin"), iopt0({}, {element("", "7", "7", "", "1", "     10.    100.  1.2E-9")}));
    ScriptedUi ui;
    HeadlessHost host;
    EXPECT_EQ(openDeck(ui, host, dir.file("d.sin")), OpenResult::ReadError);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Rillo2000|None|Error reading the file. Please check the file for data validity.\n"
                                 "Line 11 (card 3.1), columns 37-44: \"1.2E-9\" cannot be held as a plain number in 8 "
                                 "columns.|OK"}));
}

TEST(ValuesUnchanged, AFractionInAWholeNumberFieldIsARefusedOpenNamingTheLine) {
    TempDir dir;
    writeFile(dir.file("d.sin"), iopt0({}, {element("", "7.5", "7", "", "1", kDims)}));
    ScriptedUi ui;
    HeadlessHost host;
    EXPECT_EQ(openDeck(ui, host, dir.file("d.sin")), OpenResult::ReadError);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Rillo2000|None|Error reading the file. Please check the file for data validity.\n"
                                 "Line 11 (card 3.1), columns 6-10: \"7.5\" is not a whole number.|OK"}));
    // "7." and "7.0" are whole numbers.
    writeFile(dir.file("d.sin"), iopt0({}, {element("", "7.0", "7.", "", "1", kDims)}));
    EXPECT_EQ(openDeck(ui, host, dir.file("d.sin")), OpenResult::Opened);
}

TEST(ValuesUnchanged, ASpecialElementCodeTheEditorCannotHoldIsARefusedOpen) {
    // -3 would otherwise be saved as 0, a detention basin.
    TempDir dir;
    writeFile(dir.file("d.sin"), iopt0({}, {element("-3", "7", "7", " 1", "1", kDims), "        1.        2."}));
    ScriptedUi ui;
    HeadlessHost host;
    EXPECT_EQ(openDeck(ui, host, dir.file("d.sin")), OpenResult::ReadError);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Rillo2000|None|Error reading the file. Please check the file for data validity.\n"
                                 "Line 11 (card 3.1), columns 1-5: \"-3\" is no special-element code (0, -1 or the "
                                 "number of an element).|OK"}));
}

TEST(ValuesUnchanged, DecimalsBeyondTheCellsPlacesAreKept) {
    Open o(iopt0({}, {element("", "7", "7", " 1", "1", kDims), " 0.0000125 0.1234567"}));
    Grid& store = o.deck().card31a();
    EXPECT_EQ(store.value(1, 2), "0.0000125");
    EXPECT_EQ(store.value(2, 2), "0.1234567");
    ASSERT_EQ(o.save(), SaveResult::Saved);
    EXPECT_NE(readFile(o.dir.file("out.sin")).find(" 0.0000125 0.1234567"), std::string::npos);
    EXPECT_EQ(o.differenceAfterReading(), "");
}

TEST(ValuesUnchanged, DecksWrittenTheWaysOtherToolsWriteThemReadBackValueForValue) {
    TempDir dir;
    int saved = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        RandomChoices choices(seed);
        const std::string deck = trickyDeck(choices);
        const RoundTrip rt = roundTrip(deck, dir.path().string());
        ASSERT_EQ(rt.difference, "") << "seed " << seed << "\n" << deck << "\n---\n" << rt.text;
        saved += rt.saved;
    }
    EXPECT_GT(saved, 100);  // most of them are saved, not refused
}

// ---------------------------------------------------------------------------
// A failed open leaves nothing

TEST(FailedOpenLeavesNothing, TheNextDeckStartsFresh) {
    TempDir dir;
    std::vector<std::string> five;
    for (int i = 1; i <= 5; ++i) five.push_back("    1" + rj(std::to_string(i), 5) + "    7");
    // Ends inside card 1.5.
    writeFile(dir.file("bad.sin"), joinLines({"   2   1   1   2", "   3   4", "WATERSHED   0", "T", "",
                                              card12("100", "0", "0", "5.0", "0", "10", "0"), "    0    5"}) +
                                       joinLines(five));
    writeFile(dir.file("good.sin"), iopt0({"    1    9    7"}, {element("", "7", "7", "", "1", kDims)}));
    ScriptedUi ui;
    HeadlessHost host;
    EXPECT_EQ(openDeck(ui, host, dir.file("bad.sin")), OpenResult::ReadError);
    EXPECT_FALSE(host.hasDeck());
    EXPECT_EQ(ui.messages().back(),
              "Rillo2000|None|Error reading the file. Please check the file for data validity.\n"
              "Line 13 (card 1.5): the file ends where this line should be.|OK");
    ASSERT_EQ(openDeck(ui, host, dir.file("good.sin")), OpenResult::Opened);
    EXPECT_EQ(host.deck().card15().lastDataRow(), 2);
    EXPECT_EQ(host.deck().card15().value(2, 2), "9");

    // A bad header leaves nothing either.
    HeadlessHost other;
    writeFile(dir.file("header.sin"), "not a deck\r\n");
    host.deck();
    EXPECT_EQ(openDeck(ui, other, dir.file("header.sin")), OpenResult::BadHeader);
    EXPECT_FALSE(other.hasDeck());
}

// ---------------------------------------------------------------------------
// Counts and grids in step

TEST(CountsAndGrids, ACountOf20HeldInOneRowSavesTwoLinesAndLaterCardsReadBack) {
    for (Field count : {Field::PrintedSubbasins, Field::SavedElements, Field::PrintedElements}) {
        Open o(iopt0({"    1    9    7"}, {element("", "7", "7", "", "1", kDims)}));
        Grid& g = count == Field::PrintedSubbasins ? o.deck().card110()
                  : count == Field::SavedElements ? o.deck().card42()
                                              : o.deck().card44();
        o.deck().setText(count, "20");
        for (int c = 1; c <= 16; ++c) g.setValue(c, 2, std::to_string(c));
        ASSERT_EQ(o.save(), SaveResult::Saved) << fieldInfo(count).name;
        const std::string saved = readFile(o.dir.file("out.sin"));
        EXPECT_NE(saved.find("   16\r\n" + std::string(80, ' ') + "\r\n"), std::string::npos) << saved;
        EXPECT_EQ(o.differenceAfterReading(), "") << fieldInfo(count).name;
    }
}

TEST(CountsAndGrids, RowsBeyondALoweredCountAreRefusedNotWrittenIntoTheNextCard) {
    std::vector<std::string> twenty{"", ""};
    for (int i = 1; i <= 16; ++i) twenty[0] += rj(std::to_string(i), 5);
    for (int i = 17; i <= 20; ++i) twenty[1] += rj(std::to_string(i), 5);
    Open o(iopt0({"    1    9    7"}, {element("", "7", "7", "", "1", kDims)}, "   20    1", twenty));
    o.deck().setText(Field::PrintedSubbasins, "16");
    EXPECT_EQ(o.save(), SaveResult::Refused);
    EXPECT_EQ(o.ui.messages().back(),
              "Rillo 2000|None|Check card 1.10: Number of subbasins for which hydrographs are to be printed: is 16, "
              "which takes 1 row(s), but row 3 hold numbers too. Raise the count or delete those numbers.|OK");
    EXPECT_FALSE(fs::exists(o.dir.file("out.sin")));

    // Fewer hyetographs than card 1.4 holds.
    Open r(joinLines({"   2   1   1   2", "   3   4", "WATERSHED   0", "T", "", card12("100", "0", "0", "5.0", "2", "10", "0"),
                      "    3    5", "   1.   2.   3.", "   4.   5.   6.", "    1    9    7", "", "    0", "    0    0",
                      element("", "7", "7", "", "1", kDims), "", "    0", "    0    0", "ENDPROGRAM"}));
    r.deck().setText(Field::Hyetographs, "1");
    EXPECT_EQ(r.save(), SaveResult::Refused);
    EXPECT_EQ(r.ui.messages().back(),
              "Rillo 2000|None|Check card 1.4: rows 3 to 3 hold rainfall values that the Number of Hyetographs (1) and "
              "of data points (3) do not cover. Raise the counts or delete those values.|OK");
    // Fewer data points than a hyetograph holds.
    r.deck().setText(Field::Hyetographs, "2");
    r.deck().setText(Field::HyetographPoints, "    2");
    r.ui.clearDialogue();
    EXPECT_EQ(r.save(), SaveResult::Refused);
    EXPECT_EQ(r.ui.messages().back(),
              "Rillo 2000|None|Check card 1.4 row 2: hyetograph 1 holds more than its 2 data points there.|OK");
}

TEST(CountsAndGrids, CountsBeyondTheModelsLimitsAreRefusedWithoutWritingTheirLines) {
    Open o(iopt0({"    1    9    7"}, {element("", "7", "7", "", "1", kDims)}));
    o.deck().setText(Field::Hyetographs, "99999");
    o.deck().setText(Field::HyetographPoints, "99999");
    EXPECT_EQ(o.save(), SaveResult::Refused);
    EXPECT_EQ(o.ui.messages().back(), "Rillo 2000|None|Check card 1.2: Number of Hyetographs for this Run: is 99999; "
                                      "the model takes at most 10.|OK");
    o.deck().setText(Field::Hyetographs, "10");
    EXPECT_EQ(o.save(), SaveResult::Refused);
    EXPECT_EQ(o.ui.messages().back(), "Rillo 2000|None|Check card 1.3: Number of data points for each hyetograph: is "
                                      "99999; the model takes at most 399.|OK");
    o.deck().setText(Field::HyetographPoints, "5");
    o.deck().setText(Field::SavedElements, "99999");
    EXPECT_EQ(o.save(), SaveResult::Refused);
    EXPECT_EQ(o.ui.messages().back(), "Rillo 2000|None|Check card 4.1: Number of Conveyance Elements for Which "
                                      "Hydrographs are to be saved: is 99999; the model takes at most 1900.|OK");
}

TEST(CountsAndGrids, AnEmptyHyetographCountIsRefused) {
    Open o(iopt0({"    1    9    7"}, {element("", "7", "7", "", "1", kDims)}));
    o.deck().setText(Field::Hyetographs, "");
    EXPECT_EQ(o.save(), SaveResult::Refused);
    EXPECT_EQ(o.ui.messages(),
              (std::vector<std::string>{kUnsuccessful, "Rillo 2000|None|Check for input on card 1.2 to 1.3|OK"}));
}

TEST(CountsAndGrids, ExactlyAHundredSpecialElementsOpenWithoutAWarning) {
    const auto deckWith = [](int specials) {
        std::vector<std::string> card31;
        for (int i = 1; i <= specials; ++i) {
            card31.push_back(element("0", std::to_string(i), std::to_string(i), "1", "1", kDims));
            card31.push_back("        1.        2.");
        }
        return iopt0({}, card31);
    };
    TempDir dir;
    for (int specials : {100, 101}) {
        writeFile(dir.file("d.sin"), deckWith(specials));
        ScriptedUi ui;
        HeadlessHost host;
        ASSERT_EQ(openDeck(ui, host, dir.file("d.sin")), OpenResult::Opened);
        if (specials == 100)
            EXPECT_TRUE(ui.messages().empty()) << ::testing::PrintToString(ui.messages());
        else
            EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                         "Caution System Resources Exceeded|Exclamation|Limit the combined total of "
                                         "Detention, Diversion and Hydrograph Inflow Elements to 100|OK"}));
    }
}
