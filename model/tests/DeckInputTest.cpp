// What the model takes from a deck: change cards, special elements, and the
// values it refuses with the card and line named.
#include "Deck.h"
#include "DeckHost.h"
#include "DeckInput.h"
#include "ConsoleUi.h"
#include "DeckReader.h"
#include "ElementKind.h"
#include "ModelError.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace rillo::model;
using namespace rillo::model::testdata;

namespace {

DeckSpec smallDeck() {
    DeckSpec s;
    s.hyetographs = {{1, 2, 3}, {0.5}};
    SubSpec a;
    a.number = 1;
    a.element = 1;
    SubSpec b = a;
    b.number = 2;
    b.hyetograph = 2;
    s.subcatchments = {a, b};
    ElementSpec e;
    e.number = 1;
    s.elements = {e};
    return s;
}

std::string errorOf(const TempFolder& dir, const DeckSpec& s) {
    try {
        loadDeck(dir.write("deck.sin", deckText(s)));
    } catch (const ModelError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

TEST(DeckInput, ChangeCardsMultiplyTheFieldsTheyFillUntilTheNextChangeCard) {
    TempFolder dir;
    DeckSpec s = smallDeck();
    // A change card leaves its hyetograph field blank: a line reading 0 would end the card.
    const SubSpec change{0, -1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0.5, 0, 0};  // width x2, max infiltration x0.5
    SubSpec c = s.subcatchments[0];
    c.number = 3;
    SubSpec reset{0, -1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // width back to x1, the rest kept
    SubSpec d = c;
    d.number = 4;
    s.subcatchments = {s.subcatchments[0], change, c, reset, d};
    ElementSpec echange;
    echange.number = -1;
    echange.jk = "";
    echange.type = 1;
    echange.dims = {0, 3, 0, 0, 0, 0, 0};  // length x3
    ElementSpec e2;
    e2.number = 2;
    e2.downstream = 1;
    s.elements = {s.elements[0], echange, e2};
    const ModelInput in = loadDeck(dir.write("deck.sin", deckText(s)));
    ASSERT_EQ(in.subcatchments.size(), 3u);
    EXPECT_DOUBLE_EQ(in.subcatchments[0].width, 400);
    EXPECT_DOUBLE_EQ(in.subcatchments[1].width, 800);
    EXPECT_DOUBLE_EQ(in.subcatchments[1].maxInfiltration, 1.5);
    EXPECT_DOUBLE_EQ(in.subcatchments[1].area, 10);
    EXPECT_DOUBLE_EQ(in.subcatchments[2].width, 400);
    EXPECT_DOUBLE_EQ(in.subcatchments[2].maxInfiltration, 1.5);
    ASSERT_EQ(in.elements.size(), 2u);
    EXPECT_DOUBLE_EQ(in.elements[0].main.length, 500);
    EXPECT_DOUBLE_EQ(in.elements[1].main.length, 1500);
    EXPECT_DOUBLE_EQ(in.elements[1].main.width, 4);
}

TEST(DeckInput, SpecialElementsTakeTheirKindTargetAndPairs) {
    TempFolder dir;
    DeckSpec s = smallDeck();
    ElementSpec pond, split, inflow, direct;
    pond.number = 2;
    pond.downstream = 1;
    pond.pairs = {{0, 0}, {1, 5}, {2, 12}, {3, 20}, {4.5, 35}};
    split.number = 3;
    split.downstream = 2;
    split.jk = "1";
    split.type = 2;
    split.dims = {2, 300, 0.005, 0, 0, 0.013, 0};
    split.pairs = {{0, 0}, {10, 5}};
    inflow = inflowHydrograph(4, 3, {{0, 0}, {0.5, 12}, {1, 4}});
    s.elements.push_back(pond);
    s.elements.push_back(split);
    s.elements.push_back(inflow);
    const ModelInput in = loadDeck(dir.write("deck.sin", deckText(s)));
    ASSERT_EQ(in.elements.size(), 4u);
    EXPECT_EQ(in.elements[0].special, SpecialKind::None);
    EXPECT_EQ(in.elements[1].special, SpecialKind::Detention);
    ASSERT_EQ(in.elements[1].table.size(), 5u);
    EXPECT_DOUBLE_EQ(in.elements[1].table.x(4), 4.5);
    EXPECT_DOUBLE_EQ(in.elements[1].table.y(4), 35);
    EXPECT_EQ(in.elements[2].special, SpecialKind::Diversion);
    EXPECT_EQ(in.elements[2].divertTo, 1);
    EXPECT_EQ(in.elements[3].special, SpecialKind::Inflow);
    EXPECT_DOUBLE_EQ(in.elements[3].table.y(1), 12);
}

TEST(DeckInput, ADiversionEnteredInTheEditorIsTheSameDiversionAsOneRead) {
    // The editor shows a target it was given as "Diversion to Element  0001";
    // the model takes it from the deck through the one special-kind type.
    DeckSpec s = smallDeck();
    ElementSpec split;
    split.number = 3;
    split.downstream = 1;
    split.jk = "1";
    split.pairs = {{0, 0}, {10, 5}};
    s.elements.push_back(split);
    rillo::DeckRead read = rillo::readDeck(deckText(s));
    ASSERT_FALSE(read.error) << read.error->describe();
    rillo::Grid& g = read.deck->card31();
    EXPECT_EQ(g.comboText(rillo::Card31::JK, 3), "Diversion to Element  0001");
    rillo::ElementKind::diversionTo(12).showInCell(g, 3);  // as the diversion prompt does for 12
    const ModelInput edited = readModelInput(*read.deck);
    ASSERT_EQ(edited.elements.size(), 2u);
    EXPECT_EQ(edited.elements[1].special, SpecialKind::Diversion);
    EXPECT_EQ(edited.elements[1].divertTo, 12);
    // Card 1.5's lines are named as the reader found them.
    DeckSpec bad = smallDeck();
    bad.subcatchments[1].area = 0;
    TempFolder dir;
    const std::string error = errorOf(dir, bad);
    EXPECT_NE(error.find("Card 1.5, line 11 of the deck"), std::string::npos) << error;
}

TEST(DeckInput, ValuesTheModelCannotUseAreRefusedWithTheirPlaceNamed) {
    TempFolder dir;
    struct Case {
        const char* name;
        void (*mend)(DeckSpec&);
        const char* expected;
    };
    const Case cases[] = {
        {"undefined negative subcatchment", [](DeckSpec& s) { s.subcatchments[1].number = -2; }, "line 11 of the deck"},
        {"zero ground slope", [](DeckSpec& s) { s.subcatchments[0].slope = 0; }, "subcatchment 1 has a ground slope of zero"},
        {"zero impervious n", [](DeckSpec& s) { s.subcatchments[1].imperviousN = 0; }, "impervious Manning's n of zero"},
        {"unknown hyetograph", [](DeckSpec& s) { s.subcatchments[1].hyetograph = 3; }, "uses hyetograph 3"},
        {"zero element slope", [](DeckSpec& s) { s.elements[0].dims[2] = 0; }, "element 1 has an invert slope of zero"},
        {"zero element n", [](DeckSpec& s) { s.elements[0].dims[5] = 0; }, "element 1 has a Manning's n of zero"},
        {"unknown type", [](DeckSpec& s) { s.elements[0].type = 7; }, "type 7"},
        {"duplicate element", [](DeckSpec& s) { s.elements.push_back(s.elements[0]); }, "given twice"},
        {"falling table", [](DeckSpec& s) { s.elements[0].pairs = {{2, 1}, {1, 2}}; }, "must not decrease"},
        {"undefined negative element", [](DeckSpec& s) {
             ElementSpec e = s.elements[0];
             e.number = -3;
             e.jk = "";  // with JK 0 the line would read as 0 and end the card
             s.elements.push_back(e);
         }, "Card 3.1, element line 2"},
    };
    for (const Case& c : cases) {
        DeckSpec s = smallDeck();
        c.mend(s);
        const std::string what = errorOf(dir, s);
        EXPECT_NE(what.find(c.expected), std::string::npos) << c.name << ": " << what;
    }
}

TEST(DeckInput, ASpecialElementWhoseTabularBlockIsMissingIsRefused) {
    TempFolder dir;
    DeckSpec s = smallDeck();
    ElementSpec pond;
    pond.number = 2;
    pond.downstream = 1;
    pond.pairs = {{0, 0}, {1, 5}};
    s.elements.push_back(pond);
    std::ostringstream sink;
    rillo::ConsoleUi ui(sink);
    rillo::HeadlessHost host;
    ASSERT_EQ(rillo::openDeck(ui, host, dir.write("deck.sin", deckText(s))), rillo::OpenResult::Opened);
    EXPECT_NO_THROW(readModelInput(host.deck()));
    host.deck().card31aIndex().clearBlock(1, 1, 3, 1);
    try {
        readModelInput(host.deck());
        FAIL() << "accepted";
    } catch (const ModelError& e) {
        EXPECT_NE(std::string(e.what()).find("element 2 has 2 tabular pairs, but its card 3.1A lines are missing"), std::string::npos) << e.what();
    }
}
