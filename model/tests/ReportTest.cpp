// The report's times and numbers, and its design tables on runs made for them.
#include "HydrographFile.h"
#include "Report.h"
#include "RunHelpers.h"

#include <gtest/gtest.h>

using namespace rillo::model;
using namespace rillo::model::testdata;

TEST(Report, TimesCarryTheDayWhenTheRunPassesMidnightAndSecondsWhenNotWholeMinutes) {
    ModelInput in;
    in.startHour = 23;
    in.startMinute = 30;
    in.stepMinutes = 15;
    const ReportClock sameDay(in, 2);  // ends at 24:00 sharp: the next day begins
    EXPECT_EQ(sameDay.at(-1), "1 23:30");
    EXPECT_EQ(sameDay.at(1), "2 00:00");
    const ReportClock short1(in, 1);  // ends 23:45
    EXPECT_EQ(short1.at(-1), "23:30");
    EXPECT_EQ(short1.at(0), "23:45");
    const ReportClock twoDays(in, 200);
    EXPECT_EQ(twoDays.at(4), "2 00:45");
    EXPECT_EQ(twoDays.at(100), "3 00:45");
    in.startHour = 6;
    in.startMinute = 0;
    in.stepMinutes = 0.5;
    const ReportClock half(in, 10);
    EXPECT_EQ(half.at(0), "06:00:30");
    EXPECT_EQ(half.at(1), "06:01");
}

TEST(Report, ANonZeroValueNeverShowsAsZero) {
    EXPECT_EQ(significant(12.34567, 3), "12.346");
    EXPECT_EQ(significant(0.5, 3), "0.500");
    EXPECT_EQ(significant(0.000412, 3), "0.000412");
    EXPECT_EQ(significant(3.2e-9, 3), "0.00000000320");
    EXPECT_EQ(significant(0, 3), "0.000");
}

TEST(Report, APeakPastMidnightAndATinyPeakReadAsWhatTheyAre) {
    TempFolder dir;
    DeckSpec s;
    s.hour = 23;
    s.minute = 0;
    s.stepMinutes = 5;
    s.steps = 36;
    s.hyetographInterval = 5;
    s.hyetographs = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3}};  // rain from 00:00
    SubSpec big;
    SubSpec tiny = big;
    tiny.number = 2;
    tiny.area = 0.01;
    tiny.width = 5;
    tiny.impervious = 0;
    tiny.maxInfiltration = 2.9;
    tiny.minInfiltration = 2.9;
    tiny.decay = 0;
    tiny.perviousStorage = 0;
    s.subcatchments = {big, tiny};
    s.elements = {ElementSpec{}};
    const RunResult r = runDeck(dir, dir.write("night.sin", deckText(s)));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = tables(r.paths.report);
    const ReportTable* peaks = table(all, "Peak flows and depths");
    ASSERT_NE(peaks, nullptr);
    ASSERT_GE(peaks->rows.size(), 2u);
    EXPECT_EQ(peaks->rows[0][3].substr(0, 4), "2 00") << peaks->rows[0][3];
    // 0.1 in/hr over a hundredth of an acre: about 0.001 cfs at most.
    const std::string small = peaks->rows[1][2];
    EXPECT_GT(std::stod(small), 0) << small;
    EXPECT_LT(std::stod(small), 0.0015) << small;
    EXPECT_EQ(peaks->rows[1][3].substr(0, 2), "2 ") << peaks->rows[1][3];
}

TEST(Report, DesignTablesGiveEverySubcatchmentAndElementItsFiguresAndNoDepthOverATokenArea) {
    TempFolder dir;
    const RunResult r = runDeck(dir, dir.write("basin.sin", readText(RILLO_EXAMPLES_DIR "/basin.sin")));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = tables(r.paths.report);
    const ReportTable* subs = table(all, "Subcatchment design");
    ASSERT_NE(subs, nullptr);
    ASSERT_EQ(subs->rows.size(), 5u);
    for (const auto& row : subs->rows) {
        const double rain = std::stod(row[2]), infiltration = std::stod(row[3]), runoff = std::stod(row[4]);
        EXPECT_NEAR(rain, row[0] <= "3" ? 1.1667 : 1.0125, 1e-4) << row[0];  // each hyetograph's depth
        EXPECT_LE(infiltration + runoff, rain + 1e-4) << row[0];
        EXPECT_NEAR(std::stod(row[6]), runoff / rain, 2e-3) << row[0];
        EXPECT_NEAR(std::stod(row[5]), runoff / 12 * std::stod(row[1]), 1e-4) << row[0];
    }
    const ReportTable* elements = table(all, "Element design");
    ASSERT_NE(elements, nullptr);
    ASSERT_EQ(elements->rows.size(), 5u);
    // 101, a 2-ft pipe at 0.5 %: 16.04 cfs full; it ran full, peaking above that.
    const auto& pipe = elements->rows[0];
    EXPECT_EQ(pipe[0], "101");
    EXPECT_NEAR(std::stod(pipe[2]), 1.49 / 0.013 * 3.14159265 * std::pow(0.5, 2.0 / 3.0) * std::sqrt(0.005), 0.01);
    EXPECT_GT(std::stod(pipe[5]), 1.0);
    EXPECT_GT(std::stod(pipe[8]), 0);      // surcharge volume
    EXPECT_GT(std::stod(pipe[9]), 0);      // and duration
    EXPECT_FALSE(pipe[10].empty());        // and start
    EXPECT_LT(std::stod(pipe[6]), 17.3 / 3.14159265 * 1.2);  // velocity of a full pipe, not of a trickle
    EXPECT_EQ(table(all, "Detention basins")->rows.at(0)[0], "102");
    EXPECT_EQ(table(all, "Diversions")->rows.at(0)[1], "105");

    // With an inflow hydrograph in the network, only the runoff has a depth.
    const ReportTable* routing = table(all, "Routing continuity");
    ASSERT_NE(routing, nullptr);
    for (const auto& row : routing->rows) EXPECT_EQ(row[2].empty(), row[0] != "Subcatchment runoff inflow") << row[0];
}
