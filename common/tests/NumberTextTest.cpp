#include "NumberText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

using namespace rillo;

TEST(LenientReading, SkipsEveryBlankAndStopsAtOtherCharacters) {
    EXPECT_DOUBLE_EQ(readNumber("    0    5   10"), 510.0);  // blanks inside are skipped too
    EXPECT_DOUBLE_EQ(readNumber("  -1"), -1.0);
    EXPECT_DOUBLE_EQ(readNumber(" - 1 2"), -12.0);
    EXPECT_DOUBLE_EQ(readNumber("12.5.3"), 12.5);  // the second point ends it
    EXPECT_DOUBLE_EQ(readNumber("3abc4"), 3.0);
    EXPECT_DOUBLE_EQ(readNumber("3e"), 3.0);    // an "E" without digits is another character
    EXPECT_DOUBLE_EQ(readNumber("3e-x"), 3.0);
    EXPECT_DOUBLE_EQ(readNumber(".0125"), 0.0125);
    EXPECT_DOUBLE_EQ(readNumber("+7"), 7.0);
}

TEST(LenientReading, TheQuickReadingGivesTheVeryDoubleOfTheGeneralOne) {
    // readNumber takes a short way for short decimals; it must agree bit
    // for bit with the digits-and-exponent reading it stands in for.
    std::mt19937 rng(4);
    const auto same = [](std::string_view t) {
        const double quick = readNumber(t), general = readLenient(t).value();
        return std::memcmp(&quick, &general, sizeof quick) == 0;
    };
    for (const char* t : {"0.1", "-0.0", "-0", "  .000125", "9007199254740993", "123456789012345.6", "0.30000000000000004",
                          "1.7976931348623157", "4.9406564584124654", "12.5000000", "1e5", "1.5E-3", "- 1 2 . 5",
                          "00000000000000000000000012.25", "0.0000000000000000000001", "0.00000000000000000000001",
                          "1234567890123456789012345678901234567890123"})
        EXPECT_TRUE(same(t)) << t;
    for (int i = 0; i < 200000; ++i) {
        std::string t;
        if (rng() % 4 == 0) t += '-';
        const int whole = static_cast<int>(rng() % 12), decimals = static_cast<int>(rng() % 16);
        for (int k = 0; k < whole; ++k) t += static_cast<char>('0' + rng() % 10);
        if (decimals || rng() % 2) t += '.';
        for (int k = 0; k < decimals; ++k) t += static_cast<char>('0' + (rng() % 3 == 0 ? 0 : rng() % 10));
        ASSERT_TRUE(same(t)) << t;
    }
}

TEST(LenientReading, TextWithoutDigitsReadsZero) {
    for (const char* text : {"", "     ", "abc", "-", ".", "-.", "x12", "WATERSHED"}) {
        EXPECT_DOUBLE_EQ(readNumber(text), 0.0) << text;
        EXPECT_FALSE(readLenient(text).hasDigits()) << text;
    }
}

TEST(LenientReading, ZeroTestAgreesWithTheValue) {
    for (const char* text : {"", "    0", "  0.000", "-0", "    0    0    0", "0x5", "    0    5   10", " - 0 1", "1e0",
                             ".0001", "00012", "abc7"})
        EXPECT_EQ(readsAsZero(text), readNumber(text) == 0) << text;
}

TEST(LenientReading, IntegersTruncateAndSaturate) {
    EXPECT_EQ(readInteger("12.9"), 12);
    EXPECT_EQ(readInteger("-3.7"), -3);
    EXPECT_EQ(readInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(readInteger("-99999999999999999999"), -2147483648LL);
}

TEST(IsNumeric, WholeTextMustBeOneNumber) {
    for (const char* yes : {"0", " 12 ", "-1", "+2.5", ".5", "5.", "1e3", "2.5E-2"}) EXPECT_TRUE(isNumeric(yes)) << yes;
    for (const char* no : {"", "   ", "1 2", "12a", "-", ".", "1e", "1.2.3", "0x10"}) EXPECT_FALSE(isNumeric(no)) << no;
}

TEST(FormatFixed, PlainDigitsAndLenientTextGiveTheSameText) {
    for (const char* text : {"2.5", "  12.5", "007.10", "0", ".5", "5.", "123", "0.12345", "1 2.5", "-1.5", "-0",
                             "12.5x", "", "   ", "abc", ".", "99.99999", "1234567890123456789.1"})
        for (int places : {0, 2, 4, 6}) {
            const LenientNumber n = readLenient(text);
            EXPECT_EQ(roundedText(text, places), n.hasDigits() ? formatFixed(n, places) : std::string())
                << text << " / " << places;
        }
}

// Values as other programs write them are read as the numbers they are, and
// a program write (what the deck reader does) never rounds a digit away.
TEST(ValuesUnchanged, ExponentsAreReadAsTheNumbersTheyAre) {
    EXPECT_DOUBLE_EQ(readNumber("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(readNumber("1.15E-03"), 0.00115);
    EXPECT_DOUBLE_EQ(readNumber("  1.2E-3"), 0.0012);
    EXPECT_DOUBLE_EQ(readNumber("-2.5e+2"), -250.0);
    EXPECT_EQ(fixedText("1.15E-03", 9), "0.001150000");
    EXPECT_EQ(fixedText("  1.2E-3", 7), "0.0012000");
    EXPECT_EQ(fixedText("-1.2E-3", 7), "-0.0012000");
    EXPECT_EQ(fixedText("1.5E2", 4), "150.0000");
    EXPECT_EQ(fixedText("1.2E-9", 7), "0.0000000012");
    EXPECT_EQ(wholeText("1E3"), "1000");
    EXPECT_EQ(wholeText("  2.5E1"), "25");
    EXPECT_EQ(readInteger("1E3"), 1000);
    // Huge exponents are held within bounds instead of growing without end.
    EXPECT_LE(fixedText("1E999999999", 0).size(), static_cast<std::size_t>(LenientNumber::MaxExponent) + 1);
}

TEST(ValuesUnchanged, AProgramWriteKeepsEveryDigitTypingRoundsToThePlaces) {
    EXPECT_EQ(fixedText("0.0000125", 6), "0.0000125");
    EXPECT_EQ(fixedText("0.1234567", 6), "0.1234567");
    EXPECT_EQ(fixedText("-.000125", 7), "-0.0001250");
    EXPECT_EQ(fixedText("0.10000000", 6), "0.100000");  // only zeros beyond the places go
    EXPECT_EQ(fixedText("12.5", 4), "12.5000");
    EXPECT_EQ(roundedText("0.0000125", 6), "0.000013");
    EXPECT_EQ(roundedText("0.1234567", 6), "0.123457");
}

TEST(WholeText, KeepsTheWholePartAsPlainDigits) {
    EXPECT_EQ(wholeText("  0012"), "12");
    EXPECT_EQ(wholeText("    0"), "0");
    EXPECT_EQ(wholeText("-3.7"), "-3");
    EXPECT_EQ(wholeText(" 1 2"), "12");
    EXPECT_EQ(wholeText(".5"), "0");
    EXPECT_EQ(wholeText("-0"), "0");
    EXPECT_EQ(wholeText("x1"), "");
    EXPECT_EQ(wholeText(""), "");
}

TEST(FormatFixed, PadsAndRoundsOnTheDigits) {
    EXPECT_EQ(formatFixed(readLenient("2.5"), 4), "2.5000");
    EXPECT_EQ(formatFixed(readLenient("0"), 4), "0.0000");
    EXPECT_EQ(formatFixed(readLenient(".0125"), 4), "0.0125");
    EXPECT_EQ(formatFixed(readLenient("  300"), 0), "300");
    EXPECT_EQ(formatFixed(readLenient("0.123456789"), 6), "0.123457");
    EXPECT_EQ(formatFixed(readLenient("9.99995"), 4), "10.0000");
    EXPECT_EQ(formatFixed(readLenient("-0.00001"), 4), "0.0000");
    EXPECT_EQ(formatFixed(readLenient("-1.25"), 1), "-1.3");
    EXPECT_EQ(formatFixed(readLenient("007.10"), 2), "7.10");
    // 0.1 + 0.2 style binary artefacts cannot appear: the digits are kept.
    EXPECT_EQ(formatFixed(readLenient("0.3"), 9), "0.300000000");
}
