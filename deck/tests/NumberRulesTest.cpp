#include "DeckLayout.h"
#include "DeckReader.h"
#include "Grid.h"

#include <gtest/gtest.h>

using namespace rillo;
using namespace rillo::layout;

namespace {
/// A value as the grid keeps it and then as the writer puts it in its columns.
std::string written(const std::string& typed, int decimals, Rule rule, int width) {
    Grid g("g", 1, 1);
    g.setFloat(1, 1, decimals, -1e9, 1e9);
    g.setValue(1, 1, typed);
    return formatField(g.value(1, 1), {width, rule});
}
}  // namespace

TEST(WriteRules, SubcatchmentDecimalsShortenToFiveColumns) {
    EXPECT_EQ(written("2.5", 4, Rule::R2, 5), "  2.5");
    EXPECT_EQ(written("0.015", 4, Rule::R2, 5), "0.015");
    EXPECT_EQ(written("0.0125", 4, Rule::R2, 5), ".0125");
    EXPECT_EQ(written("123.4", 4, Rule::R2, 5), "123.4");
    EXPECT_EQ(written("12345", 4, Rule::R2, 5), "12345");
    EXPECT_EQ(written("0", 4, Rule::R2, 5), "     ");
    EXPECT_THROW(written("1234.5", 4, Rule::R2, 5), FieldTooLong);
}

TEST(WriteRules, EachRuleHasItsEmptyValueAndZeros) {
    EXPECT_EQ(written("0", 4, Rule::R1, 5), "     ");
    EXPECT_EQ(written("1.5", 4, Rule::R1, 5), "  1.5");
    EXPECT_EQ(written("0", 9, Rule::R3, 10), "          ");
    EXPECT_EQ(written("0.00012", 9, Rule::R3, 10), "   0.00012");
    EXPECT_EQ(written("0", 7, Rule::R4, 8), "        ");
    EXPECT_EQ(written("100", 7, Rule::R4, 8), "    100.");
    EXPECT_EQ(written("12.5", 6, Rule::R5, 10), "      12.5");
    EXPECT_EQ(written("0", 6, Rule::R5, 10), "        0.") << "card 3.1A writes its zeros";
}

TEST(WriteRules, AValueReadFromItsColumnsAlwaysFitsThemAgain) {
    // ".1234" read into a 4-place rainfall cell becomes 0.1234; it must go back as .1234.
    EXPECT_EQ(written(".1234", 4, Rule::R1, 5), ".1234");
    EXPECT_EQ(written(".1234567", 7, Rule::R4, 8), ".1234567");
    EXPECT_EQ(written(".123456789", 9, Rule::R3, 10), ".123456789");
    // A whole number filling its columns loses the point the grid gave it.
    EXPECT_EQ(written("12345678", 7, Rule::R4, 8), "12345678");
    EXPECT_EQ(written("99999", 4, Rule::R1, 5), "99999");
    EXPECT_EQ(written("1234567890", 6, Rule::R5, 10), "1234567890");
}

TEST(WriteRules, TextFieldsAreRightJustifiedAsTheyStand) {
    EXPECT_EQ(formatField("12", {5, Rule::Text}), "   12");
    EXPECT_EQ(formatField("  300", {5, Rule::Text}), "  300");
    EXPECT_EQ(formatField("", {5, Rule::Text}), "     ");
    EXPECT_THROW(formatField("123456", {5, Rule::Text}), FieldTooLong);
    EXPECT_EQ(formatField("1", {1, Rule::Check}), "1");
    EXPECT_EQ(formatField("", {1, Rule::Check}), "0");
}

TEST(ImpliedPoint, GoesIntoTheTrimmedText) {
    EXPECT_EQ(withImpliedPoint("  300"), "30.0");
    EXPECT_EQ(withImpliedPoint("    5"), ".5");
    EXPECT_EQ(withImpliedPoint("  5.0"), "  5.0") << "a text with a point is kept as cut";
    EXPECT_EQ(withImpliedPoint("     "), "");
    EXPECT_EQ(formatField(withImpliedPoint("  300"), {5, Rule::Text}), " 30.0");
}

TEST(Layout, RecordsCutAndWriteTheSameColumns) {
    const std::string line = "    5  100 12 5 30.0    1   10";
    const auto v = readRecord(Card12, line + std::string(49, ' ') + "1");
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v[0], "  100");
    EXPECT_EQ(v[1], " 12");
    EXPECT_EQ(v[2], " 5");
    EXPECT_EQ(v[3], " 30.0");
    EXPECT_EQ(v[4], "    1");
    EXPECT_EQ(v[6], "1");
    EXPECT_EQ(writeRecord(Card12, std::vector<std::string_view>(v.begin(), v.end())), "     " + line.substr(5) + std::string(49, ' ') + "1");
    EXPECT_EQ(readRecord(Card12, "    5").back(), "") << "a short line gives empty fields";
    EXPECT_EQ(writeRecord(layout::Card31, {}).size(), 76u);
    EXPECT_EQ(writeRecord(Card31A, {}).size(), 80u);
    EXPECT_EQ(writeRecord(layout::Card15, {}).size(), 75u);
}
