#include "CellOrder.h"
#include "RunFixture.h"
#include "RunResults.h"
#include "SeriesCsv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <sstream>

namespace rillo::results {
namespace {

using testing::cutAfterLines;
using testing::flowValue;
using testing::rainValue;
using testing::makeHydrographs;
using testing::reportTables;
using testing::RunShape;
using testing::TempFolder;
using testing::writeRun;
using testing::writeText;

RunResults loadAll(const ResultsFiles& files) {
    RunResults r(files);
    r.setReport(loadReport(files.sot));
    r.setHydrographs(SeriesFile::Sub, loadHydrographFile(files.sub));
    r.setHydrographs(SeriesFile::Gut, loadHydrographFile(files.gut));
    return r;
}

bool mentions(const std::string& message, const std::string& path, long line) {
    return message.find(path + ", line " + std::to_string(line) + ":") != std::string::npos;
}

TEST(ResultsFiles, HydrographFilesAreFoundBesideTheReportByTheRunFormsNaming) {
    const ResultsFiles f = resultsFilesFor("/runs/basin.sot");
    EXPECT_EQ(f.sot, "/runs/basin.sot");
    EXPECT_EQ(f.sub, "/runs/basinsub.ssb");
    EXPECT_EQ(f.gut, "/runs/basingut.ssb");
    EXPECT_EQ(resultsFilesFor("/runs/BASIN.SOT").sub, "/runs/BASINsub.ssb");
    // A typed extension stays in front of the appended one, as the run form names it.
    EXPECT_EQ(resultsFilesFor("out.txt.sot").gut, "out.txtgut.ssb");
    EXPECT_EQ(resultsFilesFor("report").sub, "reportsub.ssb");
}

TEST(ResultsFiles, AReportThatNamesItsHydrographFilesIsBelieved) {
    TempFolder folder;
    // A run whose main output was named apart from the deck: the hydrograph
    // files keep the deck's name.
    const std::string sot = folder.file("basinrun.sot");
    {
        std::ofstream out(sot, std::ios::binary);
        out << "  RILLO rainfall-runoff and conveyance routing\r\n  Deck: /decks/basin.sin\r\n"
            << model::SubcatchmentFileLine << "basinsub.ssb\r\n"
            << model::ElementFileLine << "/elsewhere/storm gut.ssb\r\n\n";
        model::writeReportTable(out, reportTables()[0]);
        // A line of the same shape after the first table is no file name.
        out << model::SubcatchmentFileLine << "notthis.ssb\n";
    }
    const ResultsFiles f = resultsFilesFor(sot);
    EXPECT_EQ(f.sot, sot);
    EXPECT_EQ(f.sub, folder.file("basinsub.ssb"));
    // A name from the root lies on the report's drive, where drives are.
    EXPECT_EQ(f.gut, rillo::fileText(rillo::filePath(sot).root_name()) + "/elsewhere/storm gut.ssb");

    // The hydrographs are shown from there.
    model::writeHydrographsFile(f.sub, makeHydrographs(RunShape{}, true));
    RunResults r(f);
    r.setReport(loadReport(f.sot));
    r.setHydrographs(SeriesFile::Sub, loadHydrographFile(f.sub));
    EXPECT_EQ(r.report().state, LoadState::Loaded);
    EXPECT_EQ(r.hydrographs(SeriesFile::Sub).state, LoadState::Loaded);
}

TEST(RunResults, AWholeRunListsEverySeriesOnceWithTheFilesValues) {
    TempFolder folder;
    const RunShape shape;
    const RunResults r = loadAll(writeRun(folder, shape));
    EXPECT_TRUE(r.problems().empty());
    ASSERT_EQ(r.report().state, LoadState::Loaded);
    ASSERT_EQ(r.report().tables.size(), 3u);
    EXPECT_EQ(r.report().tables[0].title, "Peak flows and depths");

    // Rain first (each hyetograph once, though both files hold it), then
    // the subcatchments, then the elements.
    const std::vector<SeriesId> all = r.series();
    std::vector<std::string> labels;
    for (SeriesId id : all) labels.push_back(r.label(id));
    EXPECT_EQ(labels, (std::vector<std::string>{"Hyetograph 1", "Hyetograph 2", "Subcatchment 1", "Subcatchment 2",
                                                "Subcatchment 3", "Element 101", "Element 102", "Element 103",
                                                "Element 104"}));
    EXPECT_EQ(all[0].file, SeriesFile::Sub);

    ASSERT_EQ(r.steps(), shape.steps);
    const std::vector<double> element = r.values(all[6]);
    const std::vector<double> rain = r.values(all[1]);
    for (std::size_t s = 0; s < shape.steps; ++s) {
        ASSERT_DOUBLE_EQ(element[s], flowValue(102, s)) << s;
        ASSERT_DOUBLE_EQ(rain[s], rainValue(2, s)) << s;
    }
    EXPECT_EQ(r.unit(all[6]), "cfs");
    EXPECT_EQ(r.unit(all[1]), "in/hr");
    SeriesId found;
    ASSERT_TRUE(r.find(SeriesFile::Gut, model::SeriesKind::Flow, 103, found));
    EXPECT_EQ(found, all[7]);
    EXPECT_FALSE(r.find(SeriesFile::Gut, model::SeriesKind::Flow, 3, found));
}

TEST(RunResults, AVersion2ElementFileAddsDepthsAndDivertedFlowsAfterTheFlows) {
    TempFolder folder;
    RunShape shape;
    shape.depths = true;
    const ResultsFiles files = writeRun(folder, shape);
    ASSERT_EQ(testing::readText(files.gut).rfind("RILLO-HYDROGRAPHS 2\n", 0), 0u);
    const RunResults r = loadAll(files);
    EXPECT_TRUE(r.problems().empty());
    std::vector<std::string> labels;
    for (SeriesId id : r.series()) labels.push_back(r.label(id));
    EXPECT_EQ(labels, (std::vector<std::string>{"Hyetograph 1", "Hyetograph 2", "Subcatchment 1", "Subcatchment 2",
                                                "Subcatchment 3", "Element 101", "Element 102", "Element 103",
                                                "Element 104", "Element 101 depth", "Element 102 depth",
                                                "Element 103 depth", "Element 104 depth", "Element 101 diverted"}));
    SeriesId depth, diverted, flow;
    ASSERT_TRUE(r.find(SeriesFile::Gut, model::SeriesKind::Depth, 103, depth));
    ASSERT_TRUE(r.find(SeriesFile::Gut, model::SeriesKind::Diverted, 101, diverted));
    ASSERT_TRUE(r.find(SeriesFile::Gut, model::SeriesKind::Flow, 103, flow));
    EXPECT_NE(depth, flow);
    EXPECT_TRUE(r.isDepth(depth));
    EXPECT_FALSE(r.isDepth(diverted));
    EXPECT_FALSE(r.isRain(depth));
    EXPECT_EQ(r.unit(depth), "ft");
    EXPECT_EQ(r.unit(diverted), "cfs");
    const std::vector<double> v = r.values(depth);
    for (std::size_t s = 0; s < shape.steps; ++s) ASSERT_NEAR(v[s], testing::depthValue(103, s), 1e-6 * (1 + v[s])) << s;
    // The first look is of flows, whatever the depths and diversions.
    for (SeriesId id : r.firstLook()) EXPECT_EQ(r.info(id).kind == model::SeriesKind::Flow, !r.isRain(id)) << r.label(id);
}

TEST(RunResults, TimesRunFromTheStormsStartAndPassMidnight) {
    TempFolder folder;
    RunShape shape;  // 23:30, five-minute steps
    const RunResults r = loadAll(writeRun(folder, shape));
    EXPECT_DOUBLE_EQ(r.hoursAt(0), 5.0 / 60.0);
    EXPECT_EQ(r.clockAt(0), "23:35");
    EXPECT_EQ(r.clockAt(5), "00:00 +1d");
    EXPECT_EQ(r.clockAt(17), "01:00 +1d");

    TempFolder other;
    shape.stepMinutes = 0.5;
    shape.startHour = 8;
    shape.startMinute = 0;
    const RunResults half = loadAll(writeRun(other, shape));
    EXPECT_EQ(half.clockAt(0), "08:00:30");
    EXPECT_EQ(half.clockAt(1), "08:01");
}

TEST(RunResults, AbsentHydrographFilesAreNoProblem) {
    TempFolder folder;
    const ResultsFiles files = writeRun(folder);
    std::filesystem::remove(files.sub);
    std::filesystem::remove(files.gut);
    const RunResults r = loadAll(files);
    EXPECT_EQ(r.hydrographs(SeriesFile::Sub).state, LoadState::Absent);
    EXPECT_EQ(r.hydrographs(SeriesFile::Gut).state, LoadState::Absent);
    EXPECT_TRUE(r.problems().empty());
    EXPECT_TRUE(r.series().empty());
    EXPECT_EQ(r.steps(), 0u);
}

TEST(RunResults, ACutOrForeignHydrographFileIsRefusedWholeWithItsLine) {
    TempFolder folder;
    const RunShape shape;
    const ResultsFiles files = writeRun(folder, shape);

    // The element file loses its last rows and its end line: nothing of it is
    // listed, and the rain still comes from the subcatchment file.
    const int header = 9 + shape.hyetographs + shape.elements;
    cutAfterLines(files.gut, header + 50);
    RunResults r = loadAll(files);
    ASSERT_EQ(r.hydrographs(SeriesFile::Gut).state, LoadState::Refused);
    EXPECT_FALSE(r.hydrographs(SeriesFile::Gut).data);
    EXPECT_TRUE(mentions(r.hydrographs(SeriesFile::Gut).message, files.gut, header + 51))
        << r.hydrographs(SeriesFile::Gut).message;
    ASSERT_EQ(r.problems().size(), 1u);
    for (SeriesId id : r.series()) EXPECT_EQ(id.file, SeriesFile::Sub) << r.label(id);
    EXPECT_EQ(r.series().size(), static_cast<std::size_t>(shape.hyetographs + shape.subcatchments));

    // Another program's file.
    writeText(files.sub, "Date,Flow\n2024-01-01,3.5\n");
    r = loadAll(files);
    EXPECT_TRUE(mentions(r.hydrographs(SeriesFile::Sub).message, files.sub, 1)) << r.hydrographs(SeriesFile::Sub).message;
    EXPECT_TRUE(r.series().empty());
}

TEST(RunResults, FilesThatDoNotBelongTogetherAreRefused) {
    TempFolder folder;
    RunShape shape;
    const ResultsFiles files = writeRun(folder, shape);

    // The element file in the subcatchments' place.
    rillo::testing::copyOver(files.gut, files.sub);
    RunResults swapped = loadAll(files);
    EXPECT_EQ(swapped.hydrographs(SeriesFile::Sub).state, LoadState::Refused);
    EXPECT_TRUE(mentions(swapped.hydrographs(SeriesFile::Sub).message, files.sub, 4));
    EXPECT_EQ(swapped.hydrographs(SeriesFile::Gut).state, LoadState::Loaded);

    // Reads both hydrograph files, the element file first or last.
    const auto readBoth = [&files](RunResults& r, bool elementsFirst) {
        if (elementsFirst) r.setHydrographs(SeriesFile::Gut, loadHydrographFile(files.gut));
        r.setHydrographs(SeriesFile::Sub, loadHydrographFile(files.sub));
        if (!elementsFirst) r.setHydrographs(SeriesFile::Gut, loadHydrographFile(files.gut));
    };
    // An element file of another run with other steps: refused whichever
    // file was read first.
    TempFolder other;
    shape.stepMinutes = 1;
    const ResultsFiles foreign = writeRun(other, shape);
    writeRun(folder);
    rillo::testing::copyOver(foreign.gut, files.gut);
    for (bool elementsFirst : {false, true}) {
        RunResults r(files);
        readBoth(r, elementsFirst);
        EXPECT_EQ(r.hydrographs(SeriesFile::Sub).state, LoadState::Loaded);
        ASSERT_EQ(r.hydrographs(SeriesFile::Gut).state, LoadState::Refused) << elementsFirst;
        EXPECT_TRUE(mentions(r.hydrographs(SeriesFile::Gut).message, files.gut, 6));
    }

    // Steps of the same length but fewer of them: a shorter run's element
    // file is no more of this run, whichever file was read first.
    TempFolder shorter;
    RunShape fewer;
    fewer.steps = 100;
    const ResultsFiles cut = writeRun(shorter, fewer);
    writeRun(folder);
    rillo::testing::copyOver(cut.gut, files.gut);
    for (bool elementsFirst : {false, true}) {
        RunResults r(files);
        readBoth(r, elementsFirst);
        EXPECT_EQ(r.hydrographs(SeriesFile::Sub).state, LoadState::Loaded);
        ASSERT_EQ(r.hydrographs(SeriesFile::Gut).state, LoadState::Refused) << elementsFirst;
        EXPECT_EQ(r.steps(), RunShape{}.steps);
    }
}

TEST(RunResults, AMissingCutOrForeignReportIsRefusedWithFileAndLine) {
    TempFolder folder;
    const ResultsFiles files = writeRun(folder);

    const ReportLoad whole = loadReport(files.sot);
    EXPECT_EQ(whole.state, LoadState::Loaded);

    const ReportLoad missing = loadReport(folder.file("none.sot"));
    EXPECT_EQ(missing.state, LoadState::Refused);
    EXPECT_NE(missing.message.find(folder.file("none.sot")), std::string::npos) << missing.message;

    // Cut inside the first table: its END TABLE line is missing.
    cutAfterLines(files.sot, 7);
    const ReportLoad cut = loadReport(files.sot);
    EXPECT_EQ(cut.state, LoadState::Refused);
    EXPECT_TRUE(mentions(cut.message, files.sot, 4)) << cut.message;
    EXPECT_TRUE(cut.tables.empty());

    writeText(files.sot, "Some other program's log\nwith no tables\n");
    const ReportLoad foreign = loadReport(files.sot);
    EXPECT_EQ(foreign.state, LoadState::Refused);
    EXPECT_TRUE(mentions(foreign.message, files.sot, 2)) << foreign.message;

    writeText(files.sot, "");
    const ReportLoad empty = loadReport(files.sot);
    EXPECT_EQ(empty.state, LoadState::Refused);
    EXPECT_TRUE(mentions(empty.message, files.sot, 1)) << empty.message;
}

TEST(SeriesCsv, TheChosenSeriesOneRowPerStepReadingBackExactly) {
    TempFolder folder;
    RunShape shape;
    shape.steps = 10;
    const ResultsFiles files = writeRun(folder, shape);
    // A value with all the seven digits the file keeps: a shortened export would show.
    model::Hydrographs gut = testing::makeHydrographs(shape, false);
    gut.values[gut.series.size() * 3 + static_cast<std::size_t>(gut.flowColumn(102))] = 1234.567;
    model::writeHydrographsFile(files.gut, gut);
    const RunResults r = loadAll(files);
    SeriesId element, rain;
    ASSERT_TRUE(r.find(SeriesFile::Gut, model::SeriesKind::Flow, 102, element));
    ASSERT_TRUE(r.find(SeriesFile::Sub, model::SeriesKind::Rain, 1, rain));

    std::ostringstream out;
    writeSeriesCsv(out, r, {element, rain});
    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "Time (h),Clock time,Element 102 (cfs),Hyetograph 1 (in/hr)\r");
    std::size_t rows = 0;
    while (std::getline(in, line)) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        std::vector<std::string> cells;
        std::stringstream cut(line);
        for (std::string cell; std::getline(cut, cell, ',');) cells.push_back(cell);
        ASSERT_EQ(cells.size(), 4u) << line;
        auto number = [](const std::string& text) {
            double v = 0;
            std::from_chars(text.data(), text.data() + text.size(), v);
            return v;
        };
        EXPECT_EQ(number(cells[0]), r.hoursAt(rows));
        EXPECT_EQ(cells[1], r.clockAt(rows));
        EXPECT_EQ(number(cells[2]), rows == 3 ? 1234.567 : flowValue(102, rows));
        EXPECT_EQ(number(cells[3]), rainValue(1, rows));
        ++rows;
    }
    EXPECT_EQ(rows, shape.steps);

    EXPECT_THROW(writeSeriesCsvFile(folder.file("no/such/folder/x.csv"), r, {element}), std::runtime_error);
}

TEST(CellOrder, NumbersAsNumbersTimesAsTimesThenTextThenBlanks) {
    std::vector<std::string> cells{"Pipe", "100.25", "", "9.75", "12.5", "-1", "1e3", "10:05", "0:55", "channel", "1:00:00"};
    std::stable_sort(cells.begin(), cells.end(), [](const std::string& a, const std::string& b) { return cellLess(a, b); });
    EXPECT_EQ(cells, (std::vector<std::string>{"-1", "9.75", "12.5", "100.25", "1e3", "0:55", "1:00:00", "10:05",
                                               "channel", "Pipe", ""}));
    EXPECT_TRUE(cellLess("  9", "10 "));
    EXPECT_FALSE(cellLess("10", "10.0"));
    EXPECT_FALSE(cellLess("10.0", "10"));
    // Not clock times: they sort as text.
    EXPECT_TRUE(cellLess("23:59", "1:75"));
    EXPECT_TRUE(cellLess("0:55", "1:5"));
    // Minutes run to 59: "1:59" is a time, "1:60" text, after every time.
    std::vector<std::string> clocks{"1:60", "2:30", "1:59", "0:00:60", "0:00:59"};
    std::stable_sort(clocks.begin(), clocks.end(), [](const std::string& a, const std::string& b) { return cellLess(a, b); });
    EXPECT_EQ(clocks, (std::vector<std::string>{"0:00:59", "1:59", "2:30", "0:00:60", "1:60"}));
    // A run past midnight gives its times with the day: day 10 comes after day 9.
    std::vector<std::string> days{"10 00:05", "2 23:55", "9 06:30", "1 06:35", "3 24:00"};
    std::stable_sort(days.begin(), days.end(), [](const std::string& a, const std::string& b) { return cellLess(a, b); });
    EXPECT_EQ(days, (std::vector<std::string>{"1 06:35", "2 23:55", "9 06:30", "10 00:05", "3 24:00"}));
}

}  // namespace
}  // namespace rillo::results
