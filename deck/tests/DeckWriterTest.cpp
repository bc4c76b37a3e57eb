#include "AddGridRow.h"
#include "DeckBuilder.h"
#include "DeckReader.h"
#include "DeckWriter.h"
#include "NumberText.h"
#include "ScriptedUi.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace rillo;
using namespace rillo::testdata;
using rillo::testing::ScriptedUi;

namespace {

constexpr const char* kUnsuccessful = "Rillo 2000|Exclamation|File Save was Unsuccessful|OK";
constexpr const char* kUnsuccessfulPlain = "Rillo 2000|None|File Save was Unsuccessful|OK";
constexpr const char* kComplete = "Rillo 2000|None|Save Complete!|OK";
constexpr const char* kFinishedNo = "Rillo 2000|None|Finished with this File?|YesNo -> No";

/// A deck opened from lines, saved to a file in a temporary folder.
struct Saving {
    TempDir dir;
    ScriptedUi ui;
    HeadlessHost host;
    std::string target = dir.file("out.sin");

    explicit Saving(const std::string& contents) {
        writeFile(dir.file("in.sin"), contents);
        ScriptedUi quiet;
        EXPECT_EQ(openDeck(quiet, host, dir.file("in.sin")), OpenResult::Opened) << ::testing::PrintToString(quiet.dialogue());
    }
    Deck& deck() { return host.deck(); }
    /// Saves through the dialog, then answers the questions in order (true: Yes).
    SaveResult save(std::initializer_list<bool> answers = {}) {
        ui.fileName(target);
        for (bool yes : answers) yes ? ui.yes() : ui.no();
        return saveDeck(ui, host);
    }
    std::vector<std::string> messages() const { return ui.messages(); }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
    }
};

/// Written the way the program writes it, so that a save gives back the same bytes.
std::string smallIopt0Deck() {
    const auto pad = [](std::string s, std::size_t n) { return s.append(n - s.size(), ' '); };
    return joinLines({"   2   1   1   2", "   3   4", "WATERSHED   0", "Basin", "",
                      card12("100", "0", "0", "5.0", "1", "10", "0"), "    2    5", pad("  1.5   2.", 50),
                      pad("    1    1    7  2.5", 75), pad("    1    2    7", 75), "", "    0", "    0    0",
                      pad("    0    7    7  1 1     10.", 76), pad("        1.        2.", 80), "", "    0",
                      "    0    0", "ENDPROGRAM"});
}

std::string smallIopt1Deck() {
    return joinLines({"   2   1   1   2", "   3   4", "WATERSHED   1", "K", "", card22("60", "1", "2", "30.0", "1"),
                      "        4    7", "", "    0    7    7    1" + std::string(56, ' '), "", "    0", "    0    0",
                      "ENDPROGRAM"});
}

}  // namespace

TEST(SaveDeck, WritesTheDeckAndAsksWhetherFinished) {
    Saving s(smallIopt0Deck());
    s.deck().setText(Field::Title, "Basin 1");
    s.deck().setText(Field::Title, "Basin");  // changed back: still an edit to offer saving
    ASSERT_TRUE(s.deck().modified());
    const SaveResult saved = s.save({false});
    ASSERT_EQ(saved, SaveResult::Saved) << ::testing::PrintToString(s.ui.dialogue());
    EXPECT_EQ(readFile(s.target), smallIopt0Deck());
    EXPECT_EQ(s.messages(), (std::vector<std::string>{kComplete, kFinishedNo}));
    EXPECT_FALSE(s.deck().modified()) << "the file holds the deck: closing has nothing to ask";
    EXPECT_FALSE(saved.finished);
    EXPECT_EQ(s.ui.lastFileRequest().title, "Save Rillo File");
    EXPECT_EQ(s.ui.lastFileRequest().filter, "Rillo Files (*.sin)|*.sin|All Files (*.*)|*.*");
    EXPECT_EQ(s.ui.lastFileRequest().flags, unsigned(OverwritePrompt | NoChangeDir));
    EXPECT_EQ((s.ui.settings[{"Rillo 2000", "CommonDialog", "DirectorySave"}]), s.dir.folder());
    EXPECT_FALSE(s.ui.progressVisible);
    EXPECT_EQ(s.ui.pointer, Pointer::Normal);

    Saving again(smallIopt0Deck());
    again.deck().setText(Field::Title, "Basin 2");
    EXPECT_TRUE(again.save({true}).finished);
    EXPECT_EQ(again.host.unloaded(), 1);
}

TEST(SaveDeck, CancelledDialogSavesNothingSilently) {
    Saving s(smallIopt0Deck());
    s.ui.fileCancel();
    EXPECT_EQ(saveDeck(s.ui, s.host), SaveResult::Cancelled);
    EXPECT_TRUE(s.messages().empty());
    EXPECT_EQ(s.filesInFolder(), 1u);
}

TEST(SaveDeck, Card12And22ChecksRefuseEmptyControls) {
    Saving s(smallIopt0Deck());
    s.deck().setText(Field::TimeStep, "");
    EXPECT_EQ(s.save(), SaveResult::Refused);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{kUnsuccessful, "Rillo 2000|None|Check for input on card 1.2 to 1.3|OK"}));

    Saving t(smallIopt0Deck());
    t.deck().setText(Field::HyetographInterval, "");
    EXPECT_EQ(t.save(), SaveResult::Refused);
    EXPECT_EQ(t.messages()[1], "Rillo 2000|None|Check for input on card 1.2 to 1.3|OK");

    Saving u(smallIopt1Deck());
    u.deck().setText(Field::RoutingSteps, "");
    EXPECT_EQ(u.save(), SaveResult::Refused);
    EXPECT_EQ(u.messages(), (std::vector<std::string>{kUnsuccessful, "Rillo 2000|None|Check for input on card 2.2 to 2.3|OK"}));
}

TEST(SaveDeck, ASaveThatWritesNothingLeavesTheDeckToBeSavedOnClose) {
    // A save that is refused or fails leaves the edited deck modified, or
    // closing the editor would drop the edits without a word.
    Saving refused(smallIopt0Deck());
    refused.deck().setText(Field::Steps, "");
    EXPECT_EQ(refused.save(), SaveResult::Refused);
    EXPECT_TRUE(refused.deck().modified());

    Saving declined(smallIopt0Deck());
    declined.deck().card31().setValue(Card31::Downstream, 2, "8");
    EXPECT_EQ(declined.save({false}), SaveResult::Refused);
    EXPECT_TRUE(declined.deck().modified());

    Saving tooLong(smallIopt0Deck());
    tooLong.deck().setText(Field::HyetographPoints, "123456");
    EXPECT_EQ(tooLong.save(), SaveResult::Failed);
    EXPECT_TRUE(tooLong.deck().modified());

    Saving unwritable(smallIopt0Deck());
    unwritable.deck().setText(Field::Title, "Edited");
    unwritable.target = unwritable.dir.file("missing-folder/out.sin");
    EXPECT_EQ(unwritable.save(), SaveResult::Failed);
    EXPECT_TRUE(unwritable.deck().modified());

    Saving cancelled(smallIopt0Deck());
    cancelled.deck().setText(Field::Title, "Edited");
    cancelled.ui.fileCancel();
    EXPECT_EQ(saveDeck(cancelled.ui, cancelled.host), SaveResult::Cancelled);
    EXPECT_TRUE(cancelled.deck().modified());
}

// ---------------------------------------------------------------------------
// The deck's own modified flag: what closing the editor and the title read.

TEST(DeckModified, EveryChangeThroughTheDeckCountsAndOnlyAReadOrASaveClearsIt) {
    Saving s(smallIopt0Deck());
    Deck& d = s.deck();
    EXPECT_FALSE(d.modified()) << "a deck just read holds what its file holds";
    int told = 0;
    d.setModifiedObserver([&told](bool) { ++told; });

    d.setText(Field::Title, d.text(Field::Title));  // the same text again is no change
    d.setIopt(0);
    d.card15().setValue(Card15::Area, 2, d.card15().value(Card15::Area, 2));
    EXPECT_FALSE(d.modified());
    EXPECT_EQ(told, 0);

    const auto changes = std::vector<std::function<void(Deck&)>>{
        [](Deck& x) { x.setText(Field::Steps, "200"); },
        [](Deck& x) { x.setChecked(Field::PeakSummary, true); },
        [](Deck& x) { x.setIopt(1); },
        [](Deck& x) { x.card15().setValue(Card15::Area, 2, "9.5"); },
        [](Deck& x) { x.card31a().clearCell(1, 2); },
        [](Deck& x) { addGridRow(x.card42(), 0); },
        [](Deck& x) { x.card31().deleteRow(2); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        Saving t(smallIopt0Deck());
        changes[i](t.deck());
        EXPECT_TRUE(t.deck().modified()) << "change " << i;
    }

    // Changed and changed back: still an edit, as the user made two.
    const std::string before = d.text(Field::Steps);
    d.setText(Field::Steps, "999");
    d.setText(Field::Steps, before);
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(told, 1) << "told once, when it became modified";
    d.markSaved();
    EXPECT_FALSE(d.modified());
    EXPECT_EQ(told, 2);
}

TEST(DeckModified, ASuccessfulSaveToANewFileClearsItAndOpeningAnotherDeckStartsClean) {
    Saving s(smallIopt0Deck());
    s.deck().card15().setValue(Card15::Area, 2, "3.25");
    s.target = s.dir.file("renamed.sin");  // saved under a name of its own
    ASSERT_EQ(s.save({false}), SaveResult::Saved) << ::testing::PrintToString(s.ui.dialogue());
    EXPECT_FALSE(s.deck().modified());
    EXPECT_NE(readFile(s.target).find("3.25"), std::string::npos);

    // A check-only run writes nothing, so the edits stay to be saved.
    s.deck().setText(Field::Steps, "150");
    SaveOptions check;
    check.checkOnly = true;
    check.askFinished = false;
    EXPECT_EQ(saveDeck(s.ui, s.host, check), SaveResult::Saved);
    EXPECT_TRUE(s.deck().modified());

    // The next deck the host opens is clean, whatever the last one was.
    writeFile(s.dir.file("other.sin"), smallIopt1Deck());
    ScriptedUi quiet;
    s.host.unloadEditor();
    ASSERT_EQ(openDeck(quiet, s.host, s.dir.file("other.sin")), OpenResult::Opened);
    EXPECT_FALSE(s.host.deck().modified());
    EXPECT_EQ(s.host.deck().iopt(), 1);
}

TEST(SaveResults, SayWhatHappenedAndWhere) {
    Saving cancelled(smallIopt0Deck());
    cancelled.ui.fileCancel();
    const SaveResult c = saveDeck(cancelled.ui, cancelled.host);
    EXPECT_EQ(c, SaveResult::Cancelled);
    EXPECT_EQ(c.describe(), "Cancelled");

    // Refused by a check: the card, the line it would have taken, the message shown.
    Saving refused(smallIopt0Deck());
    refused.deck().setText(Field::TimeStep, "");
    const SaveResult r = refused.save();
    EXPECT_EQ(r, SaveResult::Refused);
    EXPECT_EQ(r.card, "1.2");
    EXPECT_EQ(r.line, 6);
    EXPECT_EQ(r.message, "Check for input on card 1.2 to 1.3");
    EXPECT_EQ(r.describe(), "Refused at line 6 (card 1.2): Check for input on card 1.2 to 1.3");

    Saving empty(smallIopt0Deck());
    empty.deck().setText(Field::SavedElements, "20");
    for (int c = 1; c <= 4; ++c) empty.deck().card42().setValue(c, 3, "7");
    addGridRow(empty.deck().card42(), 0);
    const SaveResult e = empty.save();
    EXPECT_EQ(e, SaveResult::Refused);
    EXPECT_EQ(e.card, "4.2");
    EXPECT_NE(e.message.find("Check Card 4.2 for Empty Cells."), std::string::npos) << e.describe();

    // A value too long for its columns: the save failed there.
    Saving tooLong(smallIopt0Deck());
    tooLong.deck().setText(Field::HyetographPoints, "123456");
    const SaveResult t = tooLong.save();
    EXPECT_EQ(t, SaveResult::Failed);
    EXPECT_EQ(t.card, "1.3");
    EXPECT_EQ(t.line, 7);
    EXPECT_EQ(t.firstColumn, 1);
    EXPECT_EQ(t.lastColumn, 5);

    // The write failed: the system's words.
    Saving unwritable(smallIopt0Deck());
    unwritable.target = unwritable.dir.file("missing-folder/out.sin");
    const SaveResult u = unwritable.save();
    EXPECT_EQ(u, SaveResult::Failed);
    EXPECT_EQ(u.message.rfind("Was unable to write to " + unwritable.target, 0), 0u) << u.message;

    Saving saved(smallIopt0Deck());
    EXPECT_EQ(saved.save({true}).describe(), "Saved (finished with the file)");
}

TEST(SaveDeck, Card23Refusals) {
    Saving s(smallIopt1Deck());
    s.deck().card23().setValue(2, 2, "9");
    EXPECT_EQ(s.save(), SaveResult::Refused);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{
                                "Fatal Error|Critical|Tributary sub-catchment element# 9 is not connected to the "
                                "flow element.  Each tributary sub-catchment element must have a down stream "
                                "conveyance element to connect to.|OK",
                                "Rillo 2000|None|Save Canceled!|OK"}));
    EXPECT_EQ(s.host.page(), Page::Card23);

    Saving t(smallIopt1Deck());
    t.deck().card23().clearCell(1, 2);
    EXPECT_EQ(t.save(), SaveResult::Refused);
    EXPECT_EQ(t.messages(), (std::vector<std::string>{kUnsuccessfulPlain, "Rillo 2000|None|Check card 2.3 for errors|OK"}));

    Saving u(smallIopt1Deck());
    u.deck().card31().setValue(Card31::Element, 2, "0");  // an element numbered 0 matches an empty cell
    u.deck().card23().clearCell(2, 2);
    EXPECT_EQ(u.save(), SaveResult::Refused);
    EXPECT_EQ(u.messages(), (std::vector<std::string>{kUnsuccessfulPlain, "Rillo 2000|None|Check on card 2.3 for errors|OK"}));
}

TEST(SaveDeck, DuplicateElementNumbersNameBothRows) {
    Saving s(smallIopt0Deck());
    Grid& g = s.deck().card31();
    g.setValue(Card31::Element, 3, "7");
    g.setValue(Card31::Downstream, 3, "7");
    EXPECT_EQ(s.save(), SaveResult::Refused);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{
                                kUnsuccessfulPlain,
                                "Rillo 2000|None|Check on card 3.1 for duplicate IDs. ID #7 is shared by rows 2 and 3|OK"}));
}

TEST(SaveDeck, DownstreamWarningYesWritesNoKeepsThePreviousFile) {
    const std::string warning =
        "Warning|None|This conveyance element 7 is not connected to a  down stream element.  If this is okay then "
        "press \"Yes\" to finish saving, or press no to change the data.|YesNo -> ";
    Saving s(smallIopt0Deck());
    writeFile(s.target, "previous contents\r\n");
    s.deck().card31().setValue(Card31::Downstream, 2, "8");
    EXPECT_EQ(s.save({false}), SaveResult::Refused);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{warning + "No"}));
    EXPECT_EQ(s.host.page(), Page::Card31);
    EXPECT_EQ(readFile(s.target), "previous contents\r\n") << "a refused save leaves the file as it was";
    EXPECT_EQ(s.filesInFolder(), 2u) << "and no partial file behind";

    s.ui.clearDialogue();
    EXPECT_EQ(s.save({true, false}), SaveResult::Saved);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{warning + "Yes", kComplete, kFinishedNo}));
    EXPECT_NE(readFile(s.target).find("    0    7    8  1 1"), std::string::npos);
}

TEST(SaveDeck, FallingStorageAndADiversionToNoElementAreAskedAbout) {
    std::string deck = smallIopt0Deck();
    const auto replace = [&deck](const std::string& from, const std::string& to) {
        const auto at = deck.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        deck.replace(at, from.size(), to);
    };
    replace("    0    7    7  1 1", "    0    7    7  2 1");
    replace("        1.        2.", "        6.        2.       0.5        3.");
    const std::string falls = "Warning|None|The tabular values of conveyance element 7 fall from 6.000000 to "
                              "0.500000 in their first values (storage, time or total flow), which must not fall.  "
                              "If this is okay then press \"Yes\" to finish saving, or press no to change the "
                              "data.|YesNo -> ";
    Saving s(deck);
    EXPECT_EQ(s.save({false}), SaveResult::Refused);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{falls + "No"}));
    EXPECT_EQ(s.host.page(), Page::Card31);
    s.ui.clearDialogue();
    EXPECT_EQ(s.save({true, false}), SaveResult::Saved);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{falls + "Yes", kComplete, kFinishedNo}));

    // A diversion to element 999, which the deck does not have.
    replace("    0    7    7  2 1", "  999    7    7  2 1");
    replace("        6.        2.       0.5        3.", "        1.        2.        5.        3.");
    const std::string nowhere = "Warning|None|This conveyance element 7 diverts flow to element 999, which is not "
                                "on card 3.1.  If this is okay then press \"Yes\" to finish saving, or press no to "
                                "change the data.|YesNo -> ";
    Saving t(deck);
    EXPECT_EQ(t.save({false}), SaveResult::Refused);
    EXPECT_EQ(t.messages(), (std::vector<std::string>{nowhere + "No"}));
    t.ui.clearDialogue();
    EXPECT_EQ(t.save({true, false}), SaveResult::Saved);
    EXPECT_EQ(t.messages(), (std::vector<std::string>{nowhere + "Yes", kComplete, kFinishedNo}));
}

TEST(SaveDeck, SpecialElementNeedsItsTabularBlock) {
    Saving s(smallIopt0Deck());
    s.deck().card31aIndex().clearBlock(1, 1, 3, 1);
    EXPECT_EQ(s.save(), SaveResult::Refused);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{"Rillo 2000|Exclamation|There is no tabular data for conveyance "
                                                      "element 7. There must be tabular data for ALL special elements.|OK"}));
    EXPECT_EQ(s.host.page(), Page::Card31);

    Saving t(smallIopt0Deck());
    t.deck().card31().setValue(Card31::NDP, 2, "5");  // raised without a bigger block
    EXPECT_EQ(t.save(), SaveResult::Refused);
    EXPECT_EQ(t.messages().size(), 1u);
}

TEST(SaveDeck, EmptyCellCheckStopsBeforeTheLastDataRow) {
    auto deckWithPrintList = [](const std::string& secondRow) {
        return joinLines({"   2   1   1   2", "   3   4", "WATERSHED   0", "", "",
                          card12("100", "0", "0", "5.0", "0", "10", "0"), "    2    5", "",
                          "    0", "   20    1",
                          "    1    2    3    4    5    6    7    8    9   10   11   12   13   14   15   16",
                          secondRow, "", "    0", "    0    0", "ENDPROGRAM"});
    };
    Saving s(deckWithPrintList("   17   18   19   20"));
    EXPECT_EQ(s.save({false}), SaveResult::Saved) << ::testing::PrintToString(s.ui.dialogue());

    Saving t(deckWithPrintList("   17   18   19   20"));
    t.deck().card110().clearCell(5, 2);
    EXPECT_EQ(t.save(), SaveResult::Refused);
    EXPECT_EQ(t.messages(), (std::vector<std::string>{kUnsuccessful, "Rillo 2000|None|Check Card 1.10 for Empty Cells.|OK"}));
    EXPECT_TRUE(t.deck().modified());
}

TEST(SaveDeck, ListsAndSaveListTakeTheirLines) {
    Saving s(smallIopt0Deck());
    Grid& c15 = s.deck().card15();
    for (int i = 0; i < 17; ++i) {
        const int row = c15.rowCount() - 1;
        c15.setValue(1, row, "1");
        c15.setValue(2, row, std::to_string(100 + i));
        addGridRow(c15, 0);
    }
    s.deck().setChecked(Field::SaveHydrographs, true);
    s.deck().setText(Field::SavedElements, "32");
    for (int r = 2; r <= 3; ++r) {
        for (int c = 1; c <= 16; ++c) s.deck().card42().setValue(c, r, "7");
        addGridRow(s.deck().card42(), 0);
    }
    ASSERT_EQ(s.save({false}), SaveResult::Saved);
    const std::string text = readFile(s.target);
    EXPECT_NE(text.find("\r\n   19\r\n    1    2  100  101"), std::string::npos) << text;
    EXPECT_NE(text.find("  116\r\n    0    0\r\n"), std::string::npos) << "a 17th number on a line of its own";
    std::string sevens;
    for (int i = 0; i < 16; ++i) sevens += "    7";
    EXPECT_NE(text.find("\r\n   32\r\n" + sevens + "\r\n" + sevens + "\r\n    0    0\r\n"), std::string::npos) << text;
}

TEST(SaveDeck, ReadOnlyTargetAndUnwritableFolderAreReported) {
    Saving s(smallIopt0Deck());
    writeFile(s.target, "keep me");
    std::filesystem::permissions(s.target, std::filesystem::perms::owner_read);
    EXPECT_EQ(s.save(), SaveResult::Failed);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{"Rillo2000|Exclamation|" + s.target +
                                                      " is marked as system or readonly and cannot be written to.|OK"}));
    EXPECT_EQ(readFile(s.target), "keep me");
}

TEST(SaveDeck, FieldTooLongForItsColumnsFailsAndKeepsThePreviousFile) {
    Saving s(smallIopt0Deck());
    writeFile(s.target, "previous");
    s.deck().setText(Field::Steps, "123456");
    EXPECT_EQ(s.save(), SaveResult::Failed);
    EXPECT_EQ(s.messages(), (std::vector<std::string>{"Rillo2000|Exclamation|Was unable to save to file.\n"
                                                      "Card 1.2, columns 6-10: \"123456\" is longer than its 5 "
                                                      "columns.|OK"}));
    EXPECT_EQ(readFile(s.target), "previous");
    EXPECT_EQ(s.filesInFolder(), 2u);
}

// The template's fields hold blanks; a value typed after them must still save.
TEST(SaveDeck, ValuesTypedAfterAFieldsBlanksSaveAsTheValues) {
    Saving s(smallIopt0Deck());
    s.deck().setText(Field::Steps, "    48");
    s.deck().setText(Field::TimeStep, "    5");
    EXPECT_EQ(s.save({false}), SaveResult::Saved) << ::testing::PrintToString(s.messages());
    Saving back(readFile(s.target));
    EXPECT_EQ(readNumber(back.deck().text(Field::Steps)), 48.0);
    EXPECT_EQ(readNumber(back.deck().text(Field::TimeStep)), 5.0);
    // A value that overruns its columns by more than blanks is still refused.
    s.deck().setText(Field::Steps, "  123456");
    EXPECT_EQ(s.save(), SaveResult::Failed);
}

TEST(SaveDeck, WriteFailureIsReportedWithTheSystemsWords) {
    Saving s(smallIopt0Deck());
    s.target = s.dir.file("missing-folder/out.sin");
    EXPECT_EQ(s.save(), SaveResult::Failed);
    ASSERT_EQ(s.messages().size(), 1u);
    EXPECT_EQ(s.messages()[0].rfind("Rillo2000|Exclamation|Was unable to write to " + s.target +
                                        ". Operating system reports:\n",
                                    0),
              0u);
}
