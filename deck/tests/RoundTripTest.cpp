#include "ConsoleUi.h"
#include "DeckBuilder.h"
#include "DeckReader.h"
#include "DeckWriter.h"
#include "ScriptedUi.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace rillo;
using namespace rillo::testdata;
using rillo::testing::ScriptedUi;

namespace {
/// Reads a deck and returns what the save would write (empty when refused).
std::string readThenWrite(const std::string& contents, std::vector<std::string>* dialogue = nullptr) {
    TempDir dir;
    writeFile(dir.file("d.sin"), contents);
    ScriptedUi ui;
    HeadlessHost host;
    if (openDeck(ui, host, dir.file("d.sin")) != OpenResult::Opened) return {};
    auto text = DeckText(ui, host);
    if (dialogue) *dialogue = ui.dialogue();
    return text.value_or("");
}
}  // namespace

TEST(RoundTrip, RandomDecksWriteBackByteForByte) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        std::mt19937 rng(seed);
        const DeckShape shape = randomShape(rng);
        const std::string deck = generateDeck(shape, rng);
        std::vector<std::string> dialogue;
        const std::string back = readThenWrite(deck, &dialogue);
        ASSERT_EQ(back, deck) << "seed " << seed << "\n" << ::testing::PrintToString(dialogue);
    }
}

TEST(RoundTrip, ExampleDecksAndTheTemplateRoundTrip) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RILLO_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".sin") continue;
        ++examples;
        // Their outlets drain nowhere: the save asks, and is told to go on.
        std::ostringstream messages;
        ConsoleUi ui(messages);
        ui.setAnswerYes(true);
        HeadlessHost host;
        ASSERT_EQ(openDeck(ui, host, entry.path().string()), OpenResult::Opened) << messages.str();
        EXPECT_EQ(DeckText(ui, host).value_or(""), readFile(entry.path().string())) << entry.path();
    }
    EXPECT_GE(examples, 2);
    // The template's empty fields refuse a save; its tables still read back.
    std::vector<std::string> dialogue;
    EXPECT_EQ(readThenWrite(readFile(RILLO_TEMPLATE), &dialogue), "");
    EXPECT_EQ(dialogue.back(), "Rillo 2000|None|Check for input on card 1.2 to 1.3|OK");
}

TEST(RoundTrip, LooseDecksSettleAfterOneSave) {
    // Values written in other ways than the program writes them.
    const std::string loose = joinLines(
        {"   2   1   1   2", "   3   4", "WATERSHED   0", "t", "s", card12("100", "0", "0", "300", "1", "10", "0"),
         "    3    5", "1.500 2    .123", "  001  002  003 1.50.0125  100", "", "    0", "    0    0",
         "   -1    3    3  1 5     100", "                        20.00", " 12.500000       0.0", "", "    0", "    0    0",
         "ENDPROGRAM"});
    const std::string once = readThenWrite(loose);
    ASSERT_FALSE(once.empty());
    EXPECT_EQ(readThenWrite(once), once);
    EXPECT_NE(once.find("  0 0 30.0"), std::string::npos) << "implied point kept within five columns";
}
