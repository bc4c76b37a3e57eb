#include "ReportTable.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace rillo::model;

TEST(ReportTable, TablesAreFoundAmongTheReportsTextAndCutByTheirDashes) {
    ReportTable peaks{"Peak flows and depths", {"Element", "Peak flow (cfs)", "Time"}, {{"101", "12.5", "01:35"}, {"7", "", "00:05"}}};
    ReportTable empty{"Warnings", {"Message"}, {}};
    std::ostringstream out;
    out << "A report line\nTABLE TEST BASIN (a job title)\n\n";
    writeReportTable(out, peaks);
    out << "more text\n";
    writeReportTable(out, empty);

    std::istringstream in(out.str());
    const auto tables = readReportTables(in, "r.sot");
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].title, "Peak flows and depths");
    EXPECT_EQ(tables[0].headers, peaks.headers);
    EXPECT_EQ(tables[0].rows, peaks.rows);
    EXPECT_EQ(tables[1].title, "Warnings");
    EXPECT_TRUE(tables[1].rows.empty());
}

TEST(ReportTable, AnUnfinishedOrMisshapenTableIsRefusedAtItsLine) {
    std::ostringstream out;
    writeReportTable(out, {"Runoff continuity", {"Quantity", "Inches"}, {{"Rain", "1.000"}}});
    const std::string good = "head\n" + out.str();
    auto lineOf = [](const std::string& text) -> long {
        std::istringstream in(text);
        try {
            readReportTables(in, "r.sot");
        } catch (const ReportFileError& e) {
            return e.line();
        }
        return -1;
    };
    EXPECT_EQ(lineOf(good), -1);
    EXPECT_EQ(lineOf(good.substr(0, good.find("END TABLE"))), 2);
    EXPECT_EQ(lineOf("head\nTABLE Runoff continuity\n  Quantity\n"), -1);  // prose, not a table
    EXPECT_EQ(lineOf("TABLE T\nA  B\n-  -\n"), 1);
    EXPECT_EQ(lineOf("TABLE T\nA  B\n-  -\n1  2  3\nEND TABLE\n"), 4);
}
