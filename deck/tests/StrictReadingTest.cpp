// Every line of a deck file is taken by one card and every field's text is
// taken whole; what the reader cannot account for refuses the open, naming
// the line and columns. Grouped by what each case protects: lines accounted
// for, numbers read whole, encodings and line ends, saves that keep what
// was read.
#include "ConsoleUi.h"
#include "DeckBuilder.h"
#include "DeckCompare.h"
#include "DeckLayout.h"
#include "DeckReader.h"
#include "FaultPlanter.h"
#include "DeckWriter.h"
#include "NumberText.h"
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "TestSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace rillo;
using namespace rillo::testdata;
using rillo::testing::ScriptedUi;

namespace {

/// A small deck of both option blocks' worth of cards: two subcatchments,
/// a detention basin of 5 pairs, a type 4 element with its overflow line,
/// and a saved and a printed element. Line numbers in comments.
std::vector<std::string> goodLines() {
    return {
        "   2   1   1   2",                                           // 1
        "   3   4",                                                   // 2
        "WATERSHED   0",                                              // 3
        "Title",                                                      // 4
        "Sub-title",                                                  // 5
        card12("100", "0", "0", "5.0", "1", "10", "0"),               // 6
        "    3    5",                                                 // 7
        "  0.1  0.5  0.2",                                            // 8
        "    1    1   10 450. 12.5  35.0.0150.015 0.25 0.06 0.25   3.  0.5   0.00115",  // 9
        "    1    2   11 380.  9.8  42. 0.02.0125  0.3 0.06  0.3   3.  0.5   0.00115",  // 10
        "",                                                           // 11
        "    0",                                                      // 12
        "    0    0",                                                 // 13
        "    0   10   11  5 2      2.    450.   0.005                   0.013      2.",  // 14
        "        0.        0.       0.5        5.       1.2       12.        2.       20.",  // 15
        "       3.1       28.",                                       // 16
        "    0   11    0    4      6.    600.   0.003      3.      3.    0.03      4.",  // 17
        "                         20.    600.   0.003      4.      4.    0.04      2.",  // 18
        "",                                                           // 19
        "    1",                                                      // 20
        "   11",                                                      // 21
        "    1    6",                                                 // 22
        "   10",                                                      // 23
        "ENDPROGRAM",                                                 // 24
    };
}

std::string withLines(std::vector<std::string> lines) { return joinLines(lines); }

/// The deck with line `number` (1-based) replaced, or removed for nullopt.
std::string changed(int number, const std::optional<std::string>& text) {
    auto lines = goodLines();
    if (text)
        lines[static_cast<std::size_t>(number - 1)] = *text;
    else
        lines.erase(lines.begin() + (number - 1));
    return joinLines(lines);
}
/// The deck with `text` inserted before line `number`.
std::string inserted(int number, const std::string& text) {
    auto lines = goodLines();
    lines.insert(lines.begin() + (number - 1), text);
    return joinLines(lines);
}

::testing::AssertionResult refusedAt(const std::string& bytes, long long line, int firstColumn = -1) {
    const DeckRead r = readDeck(bytes);
    if (!r.error) return ::testing::AssertionFailure() << "the deck was read";
    if (r.error->line != line)
        return ::testing::AssertionFailure() << "refused at line " << r.error->line << ": " << r.error->describe();
    if (firstColumn >= 0 && r.error->firstColumn != firstColumn)
        return ::testing::AssertionFailure() << "refused at column " << r.error->firstColumn << ": "
                                             << r.error->describe();
    return ::testing::AssertionSuccess() << r.error->describe();
}

/// The deck read, saved and read again holds the same values.
::testing::AssertionResult readsBackValueForValue(const std::string& bytes) {
    TempDir dir;
    const RoundTrip rt = roundTrip(bytes, dir.path().string());
    if (!rt.opened) return ::testing::AssertionFailure() << "did not open: " << readDeck(bytes).error->describe();
    if (!rt.saved) return ::testing::AssertionFailure() << "was not saved";
    if (!rt.difference.empty()) return ::testing::AssertionFailure() << rt.difference;
    return ::testing::AssertionSuccess();
}

std::string savedText(Deck& deck) {
    std::ostringstream sink;
    ConsoleUi ui(sink);
    ui.setAnswerYes(true);
    struct Host : HeadlessHost {
        Deck* d;
        Deck& deck() override { return *d; }
    } host;
    host.d = &deck;
    return DeckText(ui, host).value_or("");
}

}  // namespace

// ---------------------------------------------------------------------------
// Lines accounted for

TEST(LinesAccountedFor, TheGoodDeckIsTakenLineByLine) {
    const DeckRead r = readDeck(withLines(goodLines()));
    ASSERT_FALSE(r.error) << r.error->describe();
    EXPECT_EQ(r.lineCards, (std::vector<std::string>{"header", "header", "WATERSHED", "1.1", "1.1", "1.2", "1.3",
                                                     "1.4", "1.5", "1.5", "1.5", "1.7", "1.9", "3.1", "3.1A", "3.1A",
                                                     "3.1", "3.1", "3.1", "4.1", "4.2", "4.3", "4.4", "end"}));
    EXPECT_TRUE(readsBackValueForValue(withLines(goodLines())));
}

TEST(LinesAccountedFor, LinesNoCardTakesRefuseTheOpenNamingTheLine) {
    // A stray blank line inside card 3.1 ends the card: the next element is no card 4.1 line.
    EXPECT_TRUE(refusedAt(inserted(17, ""), 18));
    // An extra blank line before card 4.1 shifts every card after it.
    EXPECT_TRUE(refusedAt(inserted(20, ""), 23));
    // An element line after card 4.4 is read by nothing.
    const std::string late = changed(24, "    0   12   10    1      2.    450.   0.005");
    EXPECT_TRUE(refusedAt(late, 24));
    EXPECT_NE(readDeck(late).error->describe().find("after the last card"), std::string::npos);
    // A blank line inside card 1.5 leaves the next subcatchment to card 1.7.
    EXPECT_TRUE(refusedAt(inserted(10, ""), 11));
}

TEST(LinesAccountedFor, WhatMayFollowTheLastCard) {
    auto lines = goodLines();
    lines.insert(lines.end(), {"", "   ", std::string("\x1A"), std::string(3, '\0'), "ENDPROGRAM  "});
    const DeckRead r = readDeck(joinLines(lines) + std::string(7, '\0'));
    ASSERT_FALSE(r.error) << r.error->describe();
    EXPECT_EQ(r.lineCards.size(), lines.size() + 1);
    // A deck may also end right after card 4.4.
    lines = goodLines();
    lines.pop_back();
    EXPECT_FALSE(readDeck(joinLines(lines)).error);
}

TEST(LinesAccountedFor, AChangeCardThatReadsAsZeroIsARecordNotTheCardsEnd) {
    // Hyetograph 0 in front of subcatchment -1: the line's first number is 0.
    const std::string deck = inserted(10, "    0   -1             1.2");
    const DeckRead r = readDeck(deck);
    ASSERT_FALSE(r.error) << r.error->describe();
    EXPECT_EQ(r.deck->card15().value(Card15::Subcatchment, 3), "-1");
    EXPECT_EQ(r.deck->card15().value(Card15::Subcatchment, 4), "2");
    EXPECT_TRUE(readsBackValueForValue(deck));
}

TEST(LinesAccountedFor, AnOverflowOr31ALineNeverSwallowsTheNextElement) {
    // Element 11 is of type 4, but its overflow line is gone: the next element has data in columns 1-20.
    auto lines = goodLines();
    lines.erase(lines.begin() + 17);
    lines.insert(lines.begin() + 17, "    0   12    0    2      2.    450.   0.005                   0.013      2.");
    EXPECT_TRUE(refusedAt(joinLines(lines), 18, 1));
    // NDP 5 takes two 3.1A lines; with one of them deleted, the pairs run into the next element.
    EXPECT_TRUE(refusedAt(changed(16, std::nullopt), 16));
    // NDP 9 asks for a third line that is the next element's.
    EXPECT_TRUE(refusedAt(changed(14, "    0   10   11  9 2      2.    450.   0.005                   0.013      2."), 17));
    // Values beyond NDP in the last 3.1A line would be dropped by the save.
    EXPECT_TRUE(refusedAt(changed(16, "       3.1       28.       4.5"), 16, 21));
}

TEST(LinesAccountedFor, ColumnsOutsideEveryFieldMustBeBlank) {
    EXPECT_TRUE(refusedAt(changed(7, "    3    5    7"), 7, 11));      // after card 1.3's last field
    EXPECT_TRUE(refusedAt(changed(6, "xx" + card12("100", "0", "0", "5.0", "1", "10", "0").substr(2)), 6, 1));
    EXPECT_TRUE(refusedAt(changed(8, "  0.1  0.5  0.2  0.3"), 8, 16));  // a fourth value for NHISTO 3
    EXPECT_TRUE(refusedAt(changed(4, std::string(80, 'T') + "more"), 4, 81));  // a title longer than 80
}

TEST(LinesAccountedFor, HeaderLine1HoldsTheNumbersTheSaveWritesThere) {
    // Four numbers in 5-column fields, read as 2, 1, 1 and 2 in any spelling.
    for (const char* line1 : {"   2   1   1   2", "    2    1    1    2", "2    1    1    2", "  +2  1.   1   2  "}) {
        EXPECT_FALSE(readDeck(changed(1, line1)).error) << line1;
        EXPECT_TRUE(readsBackValueForValue(changed(1, line1))) << line1;
    }
    // Other numbers would be saved as 2 1 1 2 without a word: refuse, naming the field.
    EXPECT_TRUE(refusedAt(changed(1, "   5   1   1   2"), 1, 1));
    EXPECT_TRUE(refusedAt(changed(1, "   2   1   1   3"), 1, 16));
    EXPECT_TRUE(refusedAt(changed(1, "    2    1    1    2    7"), 1, 21));  // something after the last field
    const DeckRead r = readDeck(changed(1, "   2   1   9   2"));
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->describe(), "Line 1, columns 11-15: \"9\" stands where a deck has 1; the save would write 1 there.");
    EXPECT_FALSE(r.error->badHeader) << "the line holds four numbers, as a deck's header does";
    // Text that is no number is still the header failure.
    const DeckRead text = readDeck(changed(1, "RAIN   1   1   2"));
    ASSERT_TRUE(text.error);
    EXPECT_TRUE(text.error->badHeader);
}

TEST(LinesAccountedFor, HeaderLines2And3HoldExactlyWhatTheSaveWritesThere) {
    // Their fields read as what the save writes (3 and 4; the WATERSHED
    // label, blanks, the option), in any spelling of those numbers.
    for (const char* line2 : {"   3   4", "   3   4    ", "  +3 4.0", "3   4   "}) {
        EXPECT_FALSE(readDeck(changed(2, line2)).error) << line2;
        EXPECT_TRUE(readsBackValueForValue(changed(2, line2))) << line2;
    }
    EXPECT_FALSE(readDeck(changed(3, "WATERSHED   0   ")).error);

    // Anything else refuses, naming the line and the columns.
    EXPECT_TRUE(refusedAt(changed(2, "   3   5"), 2, 5));     // another number
    EXPECT_TRUE(refusedAt(changed(2, "   3"), 2, 5));         // a number missing
    EXPECT_TRUE(refusedAt(changed(2, ""), 2, 1));             // both missing
    EXPECT_TRUE(refusedAt(changed(2, " 3.5   4"), 2, 1));     // no whole number
    EXPECT_TRUE(refusedAt(changed(2, "   3   4 5"), 2, 9));   // something after the last field
    EXPECT_TRUE(refusedAt(changed(2, "   3\t  4"), 2, 5));   // a tab
    EXPECT_TRUE(refusedAt(changed(2, "   3   4O"), 2, 9));    // a letter after the digits
    EXPECT_TRUE(refusedAt(changed(3, "Watershed   0"), 3, 1));
    EXPECT_TRUE(refusedAt(changed(3, "BASIN 12    0"), 3, 1));
    EXPECT_TRUE(refusedAt(changed(3, "WATERSHED 1 0"), 3, 10));
    EXPECT_TRUE(refusedAt(changed(3, "WATERSHED   0 x"), 3, 14));
    EXPECT_TRUE(refusedAt(changed(3, "WATERSHED   01"), 3, 14));
    EXPECT_TRUE(refusedAt(changed(3, "WATERSH\xC3\x89" "D   0"), 3, 8));  // a letter outside ASCII
    const DeckRead r = readDeck(changed(2, "   3   5"));
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->describe(), "Line 2, columns 5-8: \"5\" stands where a deck has 4; the save would write 4 there.");
    EXPECT_FALSE(r.error->badHeader) << "line 1 was a deck's header";
}

// ---------------------------------------------------------------------------
// Numbers read whole

TEST(NumbersReadWhole, EveryFortranSpellingIsReadAsItsNumber) {
    auto lines = goodLines();
    lines[13] = "    0  +10   11  5 2" + rj("1.15D-03", 8) + rj("1.15d-3", 8) + rj("1.2-3", 8) + rj("5.", 8) +
                rj(".25", 8) + rj("0.013", 8) + rj("2.", 8);
    lines[8] = "   +1    1   10 450. 12.5  35.0.0150.015 0.25 0.06 0.25   3.  0.5  1.15D-03";
    const std::string deck = joinLines(lines);
    const DeckRead r = readDeck(deck);
    ASSERT_FALSE(r.error) << r.error->describe();
    const Grid& g = r.deck->card31();
    EXPECT_EQ(g.value(Card31::Element, 2), "10") << "a leading +";
    EXPECT_EQ(g.value(Card31::FirstDimension, 2), "0.0011500");
    EXPECT_EQ(g.value(Card31::FirstDimension + 1, 2), "0.0011500");
    EXPECT_EQ(g.value(Card31::FirstDimension + 2, 2), "0.0012000") << "an exponent without its letter";
    EXPECT_EQ(g.value(Card31::FirstDimension + 3, 2), "5.0000000");
    EXPECT_EQ(g.value(Card31::FirstDimension + 4, 2), "0.2500000");
    EXPECT_EQ(r.deck->card15().value(Card15::Hyetograph, 2), "1");
    EXPECT_EQ(r.deck->card15().value(Card15::Decay, 2), "0.001150000");
    EXPECT_TRUE(readsBackValueForValue(deck));
    // In a field of the deck's own: kept in its columns as a plain number.
    const DeckRead delt = readDeck(changed(6, card12("1D2", "0", "0", "5.0", "1", "10", "0")));
    ASSERT_FALSE(delt.error) << delt.error->describe();
    EXPECT_EQ(delt.deck->text(Field::Steps), "  100");
}

TEST(NumbersReadWhole, TextThatIsNoNumberRefusesNamingTheColumns) {
    const std::string base = "    0   10   11  5 2      2.    450.   0.005                   0.013      2.";
    for (const char* bad : {"    45O.", "    12,5", "   1.25E", "   1 2.5", "  1.2.3.", "    1e2x"}) {
        std::string l = base;
        l.replace(20, 8, bad);
        EXPECT_TRUE(refusedAt(changed(14, l), 14, 21)) << bad;
    }
    const DeckRead blanks = readDeck(changed(14, base.substr(0, 20) + "   1 2.5" + base.substr(28)));
    ASSERT_TRUE(blanks.error);
    EXPECT_EQ(blanks.error->describe(), "Line 14 (card 3.1), columns 21-28: \"1 2.5\" has blanks inside a number.");
    // A whole-number field takes no fraction.
    EXPECT_TRUE(refusedAt(changed(7, "  3.5    5"), 7, 1));
}

TEST(NumbersReadWhole, ATabRefusesTheOpenNamingItsColumn) {
    const DeckRead r = readDeck(changed(9, "    1\t   1   10 450. 12.5  35.0.0150.015 0.25 0.06 0.25   3.  0.5   0.00115"));
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->line, 9);
    EXPECT_EQ(r.error->firstColumn, 6);
    EXPECT_NE(r.error->what.find("tab"), std::string::npos);
    // Inside a special-element code it would corrupt the item list.
    EXPECT_TRUE(refusedAt(changed(14, "\t   0   10   11  5 2      2."), 14, 1));
}

// ---------------------------------------------------------------------------
// Encodings and line ends

TEST(Encodings, EveryKindOfLineEndReadsTheSameDeck) {
    const auto lines = goodLines();
    const auto joined = [&](const std::string& end) {
        std::string s;
        for (const auto& l : lines) s += l + end;
        return s;
    };
    const DeckRead crlf = readDeck(joined("\r\n"));
    ASSERT_FALSE(crlf.error);
    for (const char* end : {"\n", "\r", "\r\r\n"}) {
        const DeckRead r = readDeck(joined(end));
        ASSERT_FALSE(r.error) << r.error->describe();
        EXPECT_EQ(deckDifference(*crlf.deck, *r.deck).value_or(""), "");
        EXPECT_EQ(r.lineCards.size(), lines.size());
    }
    const DeckRead bom = readDeck("\xEF\xBB\xBF" + joined("\r\n"));
    ASSERT_FALSE(bom.error) << bom.error->describe();
    EXPECT_EQ(deckDifference(*crlf.deck, *bom.deck).value_or(""), "");
}

TEST(Encodings, Utf16IsRefusedSayingSo) {
    std::string utf16 = "\xFF\xFE";
    for (char c : joinLines(goodLines())) utf16 += std::string{c, '\0'};
    for (const std::string& bytes : {utf16, utf16.substr(2)}) {
        const DeckRead r = readDeck(bytes);
        ASSERT_TRUE(r.error);
        EXPECT_TRUE(r.error->badHeader);
        EXPECT_NE(r.error->what.find("UTF-16"), std::string::npos);
    }
    // The editor's message says it too.
    TempDir dir;
    writeFile(dir.file("u.sin"), utf16);
    ScriptedUi ui;
    HeadlessHost host;
    EXPECT_EQ(openDeck(ui, host, dir.file("u.sin")), OpenResult::BadHeader);
    EXPECT_NE(ui.messages().at(0).find("Error on File, Check file for correct format\nLine 1: the file is in UTF-16"),
              std::string::npos);
}

TEST(Encodings, TitlesAreCharactersAndComeBackAsTheirBytes) {
    // 80 letters of two bytes each: read whole and written whole.
    std::string accents;
    for (int i = 0; i < 80; ++i) accents += "\xC3\xA9";
    const DeckRead utf8 = readDeck(changed(4, accents));
    ASSERT_FALSE(utf8.error) << utf8.error->describe();
    EXPECT_EQ(utf8.deck->text(Field::Title), accents);
    EXPECT_NE(savedText(*utf8.deck).find("\r\n" + accents + "\r\n"), std::string::npos);
    // Written by a DOS or Windows tool: Windows-1252 shows its accents and saves the same bytes.
    const std::string latin = "Rivi\xE8re du Nord \x96 \xE9tude \x80 80 chars max \x81\x8D";
    const DeckRead cp1252 = readDeck(changed(4, latin));
    ASSERT_FALSE(cp1252.error) << cp1252.error->describe();
    EXPECT_EQ(cp1252.deck->text(Field::Title).substr(0, 8), "Rivi\xC3\xA8re");
    EXPECT_EQ(cp1252.deck->encoding(), TextEncoding::Windows1252);
    const std::string saved = savedText(*cp1252.deck);
    EXPECT_NE(saved.find("\r\n" + latin + "\r\n"), std::string::npos);
    // A title the user did not touch comes back byte for byte, trailing blanks too.
    const std::string padded = "Title with blanks after it      ";
    const DeckRead kept = readDeck(changed(4, padded));
    ASSERT_FALSE(kept.error);
    EXPECT_NE(savedText(*kept.deck).find("\r\n" + padded + "\r\n"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Saves that keep what was read

TEST(SavesKeepWhatWasRead, AnImpliedDecimalThatNoExplicitDecimalFitsIsWrittenImplied) {
    const DeckRead r = readDeck(changed(6, card12("100", "0", "0", "10000", "1", "10", "0")));
    ASSERT_FALSE(r.error) << r.error->describe();
    EXPECT_EQ(r.deck->text(Field::TimeStep), "1000.0");
    const std::string saved = savedText(*r.deck);
    EXPECT_NE(saved.find(card12("100", "0", "0", "10000", "1", "10", "0")), std::string::npos) << saved;
    EXPECT_TRUE(readsBackValueForValue(changed(6, card12("100", "0", "0", "10000", "1", "10", "0"))));
}

TEST(SavesKeepWhatWasRead, EveryFieldOfCards12_13And22ReadsBackAsTyped) {
    // What a user types into the fields: whole numbers, as in "Integration period (min.)" 5.
    for (const layout::Record* record : {&layout::Card12, &layout::Card13, &layout::Card22}) {
        for (const auto& place : layout::valueColumns(*record)) {
            if (place.column.target < 0 || place.column.kind == layout::Kind::Check) continue;
            const auto field = static_cast<Field>(place.column.target);
            for (const std::string typed : {"5", "12", "0.5"}) {
                if (place.column.kind == layout::Kind::Whole && typed == "0.5") continue;
                // The number of hyetographs sizes card 1.4: at most ten.
                if (field == Field::Hyetographs && typed != "5") continue;
                if (place.column.width < static_cast<int>(typed.size()) + (place.column.kind == layout::Kind::Implied ? 2 : 0))
                    continue;
                DeckRead r = readDeck(withLines(goodLines()));
                ASSERT_FALSE(r.error);
                Deck& d = *r.deck;
                if (record == &layout::Card22) {
                    d.setIopt(1);
                    for (Field f : {Field::RoutingSteps, Field::RoutingTimeStep}) d.setText(f, "10");
                }
                d.setText(field, typed);
                const std::string saved = savedText(d);
                ASSERT_FALSE(saved.empty()) << fieldInfo(field).name;
                const DeckRead back = readDeck(saved);
                ASSERT_FALSE(back.error) << back.error->describe();
                EXPECT_EQ(readNumber(back.deck->text(field)), readNumber(typed))
                    << fieldInfo(field).name << " typed as " << typed << " came back as \"" << back.deck->text(field)
                    << "\"";
            }
        }
    }
    // The integration period typed as 5 is written with its point.
    DeckRead r = readDeck(withLines(goodLines()));
    r.deck->setText(Field::TimeStep, "5");
    EXPECT_NE(savedText(*r.deck).find(card12("100", "0", "0", "5.0", "1", "10", "0")), std::string::npos);
}

TEST(SavesKeepWhatWasRead, AChangeCardWithPairsKeepsItsBlankCode) {
    auto lines = goodLines();
    lines.insert(lines.begin() + 13, {"        -1    0  1 3" + std::string(48, ' ') + "      2.",
                                      "        1.        2."});
    const DeckRead r = readDeck(joinLines(lines));
    ASSERT_FALSE(r.error) << r.error->describe();
    EXPECT_EQ(r.deck->card31().value(Card31::JK, 2), "");
    const std::string saved = savedText(*r.deck);
    EXPECT_NE(saved.find("\r\n        -1    0  1 3"), std::string::npos) << saved;
    EXPECT_TRUE(readsBackValueForValue(joinLines(lines)));
}

TEST(SavesKeepWhatWasRead, ADiversionShowsOneTextWhetherReadOrEntered) {
    const DeckRead r = readDeck(changed(14, "   12   10   11  5 2      2.    450.   0.005                   0.013      2."));
    ASSERT_FALSE(r.error) << r.error->describe();
    EXPECT_EQ(r.deck->card31().comboText(Card31::JK, 2), "Diversion to Element  0012");
    EXPECT_NE(savedText(*r.deck).find("\r\n   12   10   11  5 2"), std::string::npos);
}

TEST(SavesKeepWhatWasRead, AnIoptDigitOtherThan0Or1LeavesTheOptionUnsetAndTheSaveAsksForOne) {
    for (const char* line3 : {"WATERSHED   2", "WATERSHED    ", "WATERSHED", "WATERSHED   x"}) {
        const DeckRead r = readDeck(changed(3, line3));
        ASSERT_FALSE(r.error) << line3 << ": " << r.error->describe();
        EXPECT_EQ(r.deck->iopt(), -1) << line3;
        EXPECT_EQ(savedText(*r.deck), "") << "the file would say 0 where it said " << line3;
    }
    EXPECT_EQ(readDeck(changed(3, "WATERSHED   1")).error->line, 6) << "IOPT 1 reads cards 2.x";
    EXPECT_EQ(readDeck(withLines(goodLines())).deck->iopt(), 0);
}

TEST(SavesKeepWhatWasRead, ASaveOntoSomethingThatIsNoRegularFileIsRefused) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.sin");
    if (!rillo::testing::makeFifo(fifo)) GTEST_SKIP() << "FIFOs and devices as files are POSIX's";
    EXPECT_THROW(writeFileAtomically(fifo, "x"), RuntimeError);
    EXPECT_TRUE(rillo::testing::isFifo(fifo)) << "the FIFO stays a FIFO";
    try {
        writeFileAtomically(fifo, "x");
    } catch (const RuntimeError& e) {
        EXPECT_NE(e.description().find("FIFO"), std::string::npos);
    }
    EXPECT_THROW(writeFileAtomically(rillo::testing::deviceFile(), "x"), RuntimeError);
    std::filesystem::create_symlink("b.sin", dir.file("a.sin"));
    std::filesystem::create_symlink("a.sin", dir.file("b.sin"));
    EXPECT_THROW(writeFileAtomically(dir.file("a.sin"), "x"), RuntimeError);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("a.sin")));
    // Opening a FIFO does not wait for a writer that never comes.
    EXPECT_THROW(readDeckFile(fifo), RuntimeError);
}

TEST(SavesKeepWhatWasRead, TheReplacedFileKeepsItsOwnerAndGroup) {
    if (!rillo::testing::mayGiveFilesAway())
        GTEST_SKIP() << "only an administrator may give a file another owner (Windows keeps a replaced file's owner by itself)";
    TempDir dir;
    const std::string path = dir.file("owned.sin");
    writeFile(path, "old");
    ASSERT_TRUE(rillo::testing::giveFile(path, 4321, 4322));
    writeFileAtomically(path, "new");
    EXPECT_EQ(rillo::testing::ownerOf(path), (std::pair<unsigned, unsigned>{4321u, 4322u}));
    EXPECT_EQ(readFile(path), "new");
}

// ---------------------------------------------------------------------------
// Planted faults: refused naming a line, or read back value for value

TEST(PlantedFaults, EachIsRefusedNamingALineOrReadsBackValueForValue) {
    TempDir dir;
    for (int f = 0; f < static_cast<int>(Fault::Count); ++f) {
        const auto fault = static_cast<Fault>(f);
        int planted = 0, refused = 0;
        for (unsigned seed = 1; seed <= 60; ++seed) {
            RandomChoices choices(seed * 7919u + static_cast<unsigned>(f));
            const std::string deck = trickyDeck(choices);
            ASSERT_EQ(checkStrictRead(deck, dir.path().string()), "") << deck;
            const auto bad = plantFault(deck, fault, choices);
            if (!bad) continue;
            ++planted;
            refused += readDeck(*bad).error.has_value();
            ASSERT_EQ(checkStrictRead(*bad, dir.path().string()), "") << faultName(fault) << ", seed " << seed << "\n" << *bad;
        }
        EXPECT_GT(planted, 10) << faultName(fault);
        // A tab, a letter and a deleted line are never legal; a + and a D exponent are.
        if (fault == Fault::Tab || fault == Fault::Letter || fault == Fault::DeletedLine) {
            EXPECT_EQ(refused, planted) << faultName(fault);
        }
        if (fault == Fault::DExponent) {
            EXPECT_EQ(refused, 0) << faultName(fault);
        }
    }
}
