// Decks that run but are probably not what their author meant get a
// warning in the report and on standard error; a subcatchment draining to
// an element the deck lacks is refused with its line.
#include "RunHelpers.h"

#include <gtest/gtest.h>

using namespace rillo::model;
using namespace rillo::model::testdata;

namespace {

DeckSpec plainDeck() {
    DeckSpec s;
    s.stepMinutes = 5;
    s.steps = 36;
    SubSpec c;
    s.subcatchments = {c};
    s.elements = {ElementSpec{}};
    s.savedElements = {1};
    return s;
}

/// The warnings of a run that must succeed, as the report's table holds them.
std::vector<std::string> warningsOf(const DeckSpec& spec, std::string* err = nullptr) {
    TempFolder dir;
    const RunResult r = runDeck(dir, dir.write("deck.sin", deckText(spec)));
    EXPECT_EQ(r.status, 0) << r.err;
    if (err) *err = r.err;
    std::vector<std::string> out;
    const auto all = tables(r.paths.report);
    if (const ReportTable* t = table(all, "Warnings"))
        for (const auto& row : t->rows) out.push_back(row[1]);
    return out;
}

bool anyHas(const std::vector<std::string>& warnings, const std::string& text) {
    for (const auto& w : warnings)
        if (w.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(DoubtfulDeck, APlainDeckRunsWithoutWarnings) {
    std::string err;
    EXPECT_TRUE(warningsOf(plainDeck(), &err).empty());
    EXPECT_TRUE(err.empty()) << err;
}

TEST(DoubtfulDeck, MinimumInfiltrationAboveTheMaximumIsWarnedOfInTheReportAndOnStandardError) {
    DeckSpec s = plainDeck();
    s.subcatchments[0].maxInfiltration = 0.5;
    s.subcatchments[0].minInfiltration = 3;
    std::string err;
    const auto w = warningsOf(s, &err);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_NE(w[0].find("line 9"), std::string::npos) << w[0];
    EXPECT_NE(w[0].find("minimum infiltration rate (3.00 in/hr) is greater than its maximum (0.50 in/hr)"), std::string::npos) << w[0];
    EXPECT_NE(err.find("warning: " + w[0]), std::string::npos) << err;
}

TEST(DoubtfulDeck, APipeWhoseFullDepthIsNotItsDiameterIsWarnedOf) {
    DeckSpec s = plainDeck();
    s.elements[0].type = 2;
    s.elements[0].dims = {2, 400, 0.005, 0, 0, 0.013, 3};
    const auto w = warningsOf(s);
    EXPECT_TRUE(anyHas(w, "pipe 1 has a full depth of 3.000 ft and a diameter of 2.000 ft")) << (w.empty() ? "" : w[0]);
    // A pipe whose full depth is its diameter, or is left blank, is fine.
    s.elements[0].dims[6] = 2;
    EXPECT_FALSE(anyHas(warningsOf(s), "full depth"));
    s.elements[0].dims[6] = 0;
    EXPECT_FALSE(anyHas(warningsOf(s), "full depth"));
}

TEST(DoubtfulDeck, ALongReachRoutedAsOneReservoirIsWarnedOfWithItsAttenuation) {
    DeckSpec s = plainDeck();
    s.steps = 96;
    s.subcatchments[0].area = 60;
    s.subcatchments[0].width = 2000;
    s.hyetographs = {{1, 3, 2, 1}};
    s.elements[0].dims = {4, 15000, 0.002, 2, 2, 0.035, 5};
    const auto w = warningsOf(s);
    ASSERT_TRUE(anyHas(w, "Element 1: water takes ")) << (w.empty() ? "" : w[0]);
    EXPECT_TRUE(anyHas(w, "routed as one reservoir it lowers its peak by "));
    EXPECT_TRUE(anyHas(w, "Split it into about "));
    // A short reach passes its peak on without a word.
    s.elements[0].dims[1] = 300;
    EXPECT_FALSE(anyHas(warningsOf(s), "Split it"));
}

TEST(DoubtfulDeck, AStormResumingAfterADrySpellLongEnoughForTheSoilToRecoverIsWarnedOf) {
    DeckSpec s = plainDeck();
    s.hyetographInterval = 60;
    s.stepMinutes = 15;
    s.steps = 4 * 56;
    std::vector<double> rain(52, 0.0);
    rain[0] = rain[1] = 1;
    rain[50] = rain[51] = 1;  // 48 h later
    s.hyetographs = {rain};
    const auto w = warningsOf(s);
    EXPECT_TRUE(anyHas(w, "Hyetograph 1: the rain resumes after a dry spell of 48.0 hours")) << (w.empty() ? "" : w[0]);
    // Two hours apart the soil has not recovered: no warning.
    std::vector<double> close(6, 0.0);
    close[0] = close[1] = close[4] = close[5] = 1;
    s.hyetographs = {close};
    EXPECT_FALSE(anyHas(warningsOf(s), "dry spell"));
    // Nor on pavement, which infiltrates nothing.
    s.hyetographs = {rain};
    s.subcatchments[0].impervious = 100;
    EXPECT_FALSE(anyHas(warningsOf(s), "dry spell"));
}

TEST(DoubtfulDeck, ASubcatchmentDrainingToAnElementTheDeckLacksIsRefusedWithItsLine) {
    DeckSpec s = plainDeck();
    SubSpec second = s.subcatchments[0];
    second.number = 2;
    second.element = 7;
    s.subcatchments.push_back(second);
    TempFolder dir;
    const RunResult r = runDeck(dir, dir.write("deck.sin", deckText(s)));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Card 1.5, line 10 of the deck: subcatchment 2 drains to element 7, which the deck does not have."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(dir.names(), std::vector<std::string>{"deck.sin"});
    // Draining to no element (0) is allowed, with a warning.
    s.subcatchments[1].element = 0;
    EXPECT_TRUE(anyHas(warningsOf(s), "Subcatchment 2 drains to no element"));
}
