#include "HydrographFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <fstream>
#include <sstream>

using namespace rillo::model;

namespace {

Hydrographs sample() {
    Hydrographs h;
    h.title1 = "Basin  with  blanks";
    h.title2 = "";
    h.kind = "subcatchments";
    h.startHour = 7;
    h.startMinute = 5;
    h.stepMinutes = 5;
    h.series = {{SeriesKind::Flow, 101, "cfs"}, {SeriesKind::Flow, -3, "cfs"}, {SeriesKind::Rain, 1, "in/hr"}};
    h.values = {0, 1.5, 0.25, 12.345678, 1e-9, 0.5, 1234567, 0, 0};
    return h;
}

std::string written(const Hydrographs& h) {
    std::ostringstream out;
    writeHydrographs(out, h);
    return out.str();
}

long errorLine(const std::string& text) {
    std::istringstream in(text);
    try {
        readHydrographs(in, "x.ssb");
    } catch (const HydrographFileError& e) {
        EXPECT_NE(std::string(e.what()).find("x.ssb, line "), std::string::npos) << e.what();
        return e.line();
    }
    ADD_FAILURE() << "read without error";
    return -1;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

}  // namespace

TEST(HydrographFile, ReadsBackWhatItWrote) {
    const Hydrographs h = sample();
    std::istringstream in(written(h));
    const Hydrographs back = readHydrographs(in, "x.ssb");
    EXPECT_EQ(back.title1, h.title1);
    EXPECT_EQ(back.title2, "");
    EXPECT_EQ(back.kind, "subcatchments");
    EXPECT_EQ(back.startHour, 7);
    EXPECT_EQ(back.startMinute, 5);
    EXPECT_DOUBLE_EQ(back.stepMinutes, 5);
    ASSERT_EQ(back.series.size(), 3u);
    EXPECT_EQ(back.series[1].number, -3);
    EXPECT_EQ(back.series[2].kind, SeriesKind::Rain);
    EXPECT_EQ(back.series[2].unit, "in/hr");
    ASSERT_EQ(back.steps(), 3u);
    for (std::size_t i = 0; i < h.values.size(); ++i)
        EXPECT_NEAR(back.values[i], h.values[i], 1e-6 * std::max(1.0, std::abs(h.values[i]))) << i;
    EXPECT_EQ(back.flowColumn(-3), 1);
    EXPECT_EQ(back.flowColumn(1), -1);  // a rain column is not a flow
}

TEST(HydrographFile, DepthsAndDivertedFlowsMakeAVersion2FileAndOnlyThey) {
    Hydrographs h = sample();
    h.kind = "elements";
    EXPECT_EQ(written(h).rfind("RILLO-HYDROGRAPHS 1\n", 0), 0u);  // flows and rain only: version 1 as before
    h.series = {{SeriesKind::Flow, 101, "cfs"}, {SeriesKind::Depth, 101, "ft"}, {SeriesKind::Diverted, 105, "cfs"}};
    const std::string text = written(h);
    EXPECT_EQ(text.rfind("RILLO-HYDROGRAPHS 2\n", 0), 0u);
    EXPECT_NE(text.find("column depth 101 ft\ncolumn diverted 105 cfs\n"), std::string::npos);
    std::istringstream in(text);
    const Hydrographs back = readHydrographs(in, "x.ssb");
    ASSERT_EQ(back.series.size(), 3u);
    EXPECT_EQ(back.series[1].kind, SeriesKind::Depth);
    EXPECT_EQ(back.series[1].unit, "ft");
    EXPECT_EQ(back.series[2].kind, SeriesKind::Diverted);
    EXPECT_EQ(back.flowColumn(101), 0);  // the depth of 101 is not its flow
    EXPECT_EQ(back.flowColumn(105), -1);
    EXPECT_EQ(errorLine(replaced(text, "column depth", "column width")), 10);
    // A negative depth is refused as a negative flow is, by what it is.
    h.values[1] = -0.5;
    try {
        checkFlows(h, "x.ssb");
        ADD_FAILURE() << "a negative depth passed";
    } catch (const HydrographFileError& e) {
        EXPECT_NE(std::string(e.what()).find("(the depth of 101)"), std::string::npos) << e.what();
    }
}

TEST(HydrographFile, TheFileAtItsPathIsReplacedWhole) {
    const std::string path = ::testing::TempDir() + "hydrographs.ssb";
    { std::ofstream(path) << "an older file\n"; }
    writeHydrographsFile(path, sample());
    EXPECT_EQ(readHydrographsFile(path).steps(), 3u);
    EXPECT_FALSE(std::ifstream(path + ".part").good());

    // A file of the user's that happens to have the temporary's name stays.
    { std::ofstream(path + ".part") << "keep me\n"; }
    writeHydrographsFile(path, sample());
    std::string kept;
    std::getline(std::ifstream(path + ".part"), kept);
    EXPECT_EQ(kept, "keep me");
    EXPECT_FALSE(std::ifstream(path + ".part2").good());
    std::remove((path + ".part").c_str());
    std::remove(path.c_str());
    try {
        readHydrographsFile(path);
        FAIL() << "a missing file was read";
    } catch (const HydrographFileError& e) {
        EXPECT_EQ(e.path(), path);
    }
}

TEST(HydrographFile, AnIncompleteOrForeignFileIsRefusedAtItsLine) {
    const std::string good = written(sample());
    // 8 header lines, 3 column lines and "data": rows are lines 13 to 15, "end" is 16.
    EXPECT_EQ(errorLine("Title of some other file\n" + good), 1);
    EXPECT_EQ(errorLine(replaced(good, "RILLO-HYDROGRAPHS 1", "RILLO-HYDROGRAPHS 3")), 1);
    EXPECT_EQ(errorLine(replaced(good, "RILLO-HYDROGRAPHS 1", "RILLO-HYDROGRAPHS 0")), 1);
    // Depth columns came with version 2: a version 1 file has none.
    EXPECT_EQ(errorLine(replaced(good, "column rain 1 in/hr", "column depth 1 ft")), 11);
    EXPECT_EQ(errorLine(good.substr(0, good.rfind("end\n"))), 16);      // cut before "end"
    EXPECT_EQ(errorLine(good.substr(0, good.find("0.25\n") + 5)), 14);  // cut after the first row
    EXPECT_EQ(errorLine(replaced(good, "steps 3", "steps 4")), 16);     // "end" where a row should be
    EXPECT_EQ(errorLine(replaced(good, "steps 3", "steps 2")), 15);     // a row where "end" should be
    EXPECT_EQ(errorLine(replaced(good, " 0.25\n", "\n")), 13);          // a short row
    EXPECT_EQ(errorLine(replaced(good, " 0.25\n", " 0.25 7\n")), 13);   // a long row
    EXPECT_EQ(errorLine(replaced(good, "1.5", "1.5x")), 13);
    EXPECT_EQ(errorLine(replaced(good, "start 07:05", "start 7:5")), 5);
    EXPECT_EQ(errorLine(replaced(good, "step 5", "step 0")), 6);
    EXPECT_EQ(errorLine(replaced(good, "column rain", "column snow")), 11);
    EXPECT_EQ(errorLine(good + "more\n"), 17);
}

TEST(HydrographFile, HugeCountsAreRefusedBeforeMemoryIsTaken) {
    const std::string good = written(sample());
    EXPECT_EQ(errorLine(replaced(good, "steps 3", "steps 99999999999")), 8);
    EXPECT_EQ(errorLine(replaced(good, "series 3", "series 4000000000")), 8);
}

TEST(HydrographFile, ValuesAreWrittenAsSevenSignificantDigitsWouldBe) {
    // Every magnitude, the carries (9999999.5 units of the last digit) and signs.
    std::vector<double> values{0, -0.0, 1, -1, 0.1, 0.0001, 0.00012345678, 999999.96, 99999.996, 0.99999996,
                               123456.75, 1e-5, 1e6, 1e7, 2.5e-9, 0.30000000000000004,
                               // the small flows of long recessions, and the carry across e-05
                               9.99999996e-5, 9.99999996e-10, 1.5e-12, 1e-15, 9.9e-16, -3.25e-7};
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const double mantissa = std::uniform_real_distribution<double>(1, 10)(rng);
        const int exponent = std::uniform_int_distribution<int>(-17, 7)(rng);
        values.push_back(mantissa * std::pow(10.0, exponent) * (i % 5 == 0 ? -1 : 1));
    }
    Hydrographs h;
    h.series = {{SeriesKind::Flow, 1, "cfs"}};
    h.values = values;
    std::istringstream in(written(h));
    std::string line;
    while (std::getline(in, line) && line != "data") {
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(std::getline(in, line));
        const std::string value = line.substr(line.find(' ') + 1);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.7g", values[i]);
        if (value != expected) {
            // Only a tie decided the other way in the last digit may differ.
            EXPECT_NEAR(std::stod(value), values[i], 1e-7 * std::abs(values[i])) << value << " vs " << expected;
        }
        EXPECT_EQ(value.find('e') == std::string::npos, std::string(expected).find('e') == std::string::npos) << value;
    }
}
