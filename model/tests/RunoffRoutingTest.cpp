// Whole runs that pin what the kernels and the time loop do with each deck
// value: retention storage in inches, each sub-area's own roughness, ponded
// water infiltrating after the rain, diversions and their balance, the
// hyetograph rows, the time of every peak, and outputs that import back.
#include "HydrographFile.h"
#include "RunHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace rillo::model;
using namespace rillo::model::testdata;

namespace {

/// A run that must succeed, with its report's tables and both files.
struct Outcome {
    std::vector<ReportTable> tables;
    Hydrographs sub, gut;
    std::string err;
};

Outcome run(const DeckSpec& spec, const std::string& hydrographs = {}) {
    TempFolder dir;
    const RunResult r = runDeck(dir, dir.write("deck.sin", deckText(spec)), hydrographs);
    EXPECT_EQ(r.status, 0) << r.err;
    Outcome out;
    if (r.status != 0) return out;
    out.tables = tables(r.paths.report);
    out.sub = readHydrographsFile(r.paths.subcatchments);
    out.gut = readHydrographsFile(r.paths.gutters);
    out.err = r.err;
    return out;
}

/// A row's value in a column of a report table.
std::string cell(const ReportTable& t, const std::string& first, const std::string& header) {
    const auto col = std::find(t.headers.begin(), t.headers.end(), header);
    if (col == t.headers.end()) {
        ADD_FAILURE() << "no column " << header << " in " << t.title;
        return {};
    }
    for (const auto& row : t.rows)
        if (row[0] == first) return row[static_cast<std::size_t>(col - t.headers.begin())];
    ADD_FAILURE() << "no row " << first << " in " << t.title;
    return {};
}

double depthRow(const Outcome& r, const std::string& quantity) {
    const ReportTable* t = table(r.tables, "Runoff continuity");
    return t ? std::stod(cell(*t, quantity, "Depth (in)")) : NAN;
}

std::vector<double> column(const Hydrographs& h, std::size_t c) {
    std::vector<double> v;
    for (std::size_t s = 0; s < h.steps(); ++s) v.push_back(h.value(s, c));
    return v;
}

}  // namespace

TEST(Runoff, ImperviousRetentionStorageIsInInchesAndHoldsBackThatMuchRain) {
    SubSpec paved;
    paved.impervious = 100;
    paved.imperviousStorage = 0.25;
    // 0.2 in of rain stays in the retention storage; 1 in gives 0.75 in of runoff.
    DeckSpec light = oneSubcatchment(paved, {0.8, 0.8, 0.8}, 48);
    light.zeroDetention = 0;
    const Outcome a = run(light);
    EXPECT_NEAR(depthRow(a, "Surface runoff"), 0, 1e-4);
    EXPECT_NEAR(depthRow(a, "Surface storage at end"), 0.2, 1e-3);
    DeckSpec heavy = oneSubcatchment(paved, {4, 4, 4}, 96);
    heavy.zeroDetention = 0;
    const Outcome b = run(heavy);
    // (A thin film above the retention storage is still draining.)
    EXPECT_NEAR(depthRow(b, "Surface storage at end"), 0.25, 0.01);
    EXPECT_NEAR(depthRow(b, "Surface runoff"), 0.75, 0.01);
}

TEST(Runoff, ThePerviousAreaFlowsByItsOwnRoughnessToTheKinematicWaveTime) {
    SubSpec grass;
    grass.impervious = 0;
    grass.perviousN = 0.2;
    grass.perviousStorage = 0;
    grass.maxInfiltration = 0;  // no infiltration: the plane alone
    grass.minInfiltration = 0;
    grass.decay = 0;
    grass.area = 2;
    grass.width = 400;  // a plane 218 ft long
    // Two hours of rain, four times the time to equilibrium.
    const Outcome a = run(oneSubcatchment(grass, std::vector<double>(24, 2.0), 24));
    const double area = 2 * 43560.0, rain = 2.0 / 12 / 3600;
    const double te = std::pow(area / 400 * 0.2 / (1.49 * 0.1 * std::pow(rain, 2.0 / 3.0)), 0.6) / 60;  // minutes
    EXPECT_NEAR(depthRow(a, "Surface storage at end") / 2.0 * 60, te, 0.15 * te);
    // The impervious roughness has nothing to do with it.
    grass.imperviousN = 0.5;
    const Outcome b = run(oneSubcatchment(grass, std::vector<double>(24, 2.0), 24));
    EXPECT_EQ(column(a.sub, 0), column(b.sub, 0));
}

TEST(Runoff, PondedWaterInfiltratesOnceTheRainEases) {
    SubSpec field;
    field.impervious = 0;
    field.perviousStorage = 0.3;
    field.maxInfiltration = 1;
    field.minInfiltration = 0.3;
    // Half an hour of 4 in/hr ponds 1.6 in; at 0.3 in/hr it all soaks in within the next seven hours.
    const Outcome r = run(oneSubcatchment(field, std::vector<double>(6, 4.0), 96));
    EXPECT_LT(depthRow(r, "Surface storage at end"), 1e-3);
    EXPECT_NEAR(depthRow(r, "Infiltration") + depthRow(r, "Surface runoff"), 2.0, 2e-3);
}

TEST(Runoff, HyetographsOfTenAndTwentyValuesAreReadFromTheirOwnLines) {
    for (int values : {10, 20}) {
        SubSpec one, two;
        two.number = 2;
        two.hyetograph = 2;
        DeckSpec s = oneSubcatchment(one, std::vector<double>(static_cast<std::size_t>(values), 1.0), 60);
        std::vector<double> second(static_cast<std::size_t>(values), 0.0);
        for (int v = 0; v < values; ++v) second[static_cast<std::size_t>(v)] = 0.1 * (v + 1);
        s.hyetographs.push_back(second);
        s.subcatchments.push_back(two);
        const Outcome r = run(s);
        const long rain2 = 3;  // flows of 1 and 2, then rain 1 and 2
        ASSERT_EQ(r.sub.series.size(), 4u);
        ASSERT_EQ(r.sub.series[rain2].kind, SeriesKind::Rain);
        for (int v = 0; v < values; ++v) EXPECT_NEAR(r.sub.value(static_cast<std::size_t>(v), rain2), 0.1 * (v + 1), 1e-9) << values << " values, " << v;
        double peak = 0;
        for (double q : column(r.sub, 1)) peak = std::max(peak, q);
        EXPECT_GT(peak, 0.5) << values << " values";
    }
}

TEST(Routing, EveryTimeOfPeakIsTheStepOfTheLargestMeanFlow) {
    TempFolder dir;
    const RunResult r = runDeck(dir, dir.write("basin.sin", readText(RILLO_EXAMPLES_DIR "/basin.sin")));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = tables(r.paths.report);
    const ReportTable* peaks = table(all, "Peak flows and depths");
    ASSERT_NE(peaks, nullptr);
    for (const std::string& path : {r.paths.subcatchments, r.paths.gutters}) {
        const Hydrographs h = readHydrographsFile(path);
        for (std::size_t c = 0; c < h.series.size(); ++c) {
            if (h.series[c].kind != SeriesKind::Flow) continue;
            const std::vector<double> q = column(h, c);
            const std::size_t at = static_cast<std::size_t>(std::max_element(q.begin(), q.end()) - q.begin());
            const long minutes = 6 * 60 + static_cast<long>(at + 1) * 5;
            char clock[48];
            std::snprintf(clock, sizeof clock, "%02ld:%02ld", minutes / 60, minutes % 60);
            EXPECT_EQ(cell(*peaks, std::to_string(h.series[c].number), "Time of peak"), clock) << h.series[c].number;
        }
    }
}

namespace {
/// Element 1 (direct flow, inflow hydrograph) diverts by `table` into element
/// 3 and passes the rest to element 2; both are direct flow and saved.
DeckSpec diverting(std::vector<std::pair<double, double>> table) {
    DeckSpec s = fiveMinuteDeck(48);
    s.saveSubcatchments = false;
    const ElementSpec source = inflowHydrograph(1, 4, {{0, 0}, {1, 30}, {3, 0}});
    ElementSpec split = source;
    split.number = 4;
    split.downstream = 2;
    split.jk = "3";
    split.pairs = std::move(table);
    ElementSpec main = source;
    main.number = 2;
    main.downstream = 0;
    main.jk = "0";
    main.pairs.clear();
    ElementSpec side = main;
    side.number = 3;
    ElementSpec other = main;
    other.number = 9;
    s.elements = {source, split, main, side, other};
    s.savedElements = {4, 2, 3};
    return s;
}
}  // namespace

TEST(Routing, ADiversionTakesAtMostWhatArrivesAndTheBalanceCountsItOnce) {
    // A table asking for 20 cfs whatever arrives.
    const Outcome r = run(diverting({{0, 20}, {100, 20}}));
    double diverted = 0;
    for (std::size_t s = 0; s < r.gut.steps(); ++s) {
        const double arrived = r.gut.value(s, 0), rest = r.gut.value(s, 1), side = r.gut.value(s, 2);
        EXPECT_GE(rest, 0) << s;
        EXPECT_NEAR(side, std::min(arrived, 20.0), 1e-6) << s;
        EXPECT_NEAR(rest + side, arrived, 1e-6) << s;
        diverted += side * 300;
    }
    const ReportTable* routing = table(r.tables, "Routing continuity");
    ASSERT_NE(routing, nullptr);
    EXPECT_NEAR(row(*routing, "Diverted between elements"), diverted / 43560, 2e-5);
    EXPECT_LT(std::abs(row(*routing, "Continuity error (%)")), 1e-3);
    const ReportTable* diversions = table(r.tables, "Diversions");
    ASSERT_NE(diversions, nullptr);
    EXPECT_NEAR(std::stod(cell(*diversions, "4", "Diverted volume (acre-ft)")), diverted / 43560, 2e-5);
    EXPECT_EQ(cell(*diversions, "4", "Peak diverted flow (cfs)"), "20.000");
}

TEST(Routing, ABasinWithDeadStorageWritesNoNegativeFlowAndItsHydrographsImportBack) {
    DeckSpec s;
    s.stepMinutes = 5;
    s.steps = 96;
    SubSpec c;
    c.area = 30;
    s.hyetographs = {{1, 3, 2, 1, 0.5}};
    s.subcatchments = {c};
    ElementSpec basin;
    basin.number = 1;
    basin.type = 3;
    basin.dims = {0, 1, 0, 0, 0, 0, 20};
    // Half an acre-foot of dead storage, then an outlet.
    basin.pairs = {{0, 0}, {0.5, 0}, {1, 4}, {2, 10}};
    s.elements = {basin};
    s.savedElements = {1};
    const Outcome r = run(s);
    for (double v : r.gut.values) ASSERT_GE(v, 0.0);
    const ReportTable* basins = table(r.tables, "Detention basins");
    ASSERT_NE(basins, nullptr);
    EXPECT_GT(std::stod(cell(*basins, "1", "Peak storage (acre-ft)")), 0.5);

    // The element file feeds a deck that imports it.
    TempFolder dir;
    Hydrographs gut = r.gut;
    gut.kind = "subcatchments";
    const std::string file = dir.file("basingut.ssb");
    writeHydrographsFile(file, gut);
    DeckSpec second = s;
    second.iopt = 1;
    second.elements = {ElementSpec{}};
    second.tributaries = {{1, 1}};
    const RunResult b = runDeck(dir, dir.write("second.sin", deckText(second)), file);
    EXPECT_EQ(b.status, 0) << b.err;
}

TEST(Routing, AnIopt1RunSavesTheImportedHydrographsOnItsOwnSteps) {
    TempFolder dir;
    const RunResult basin = runDeck(dir, dir.write("basin.sin", readText(RILLO_EXAMPLES_DIR "/basin.sin")));
    ASSERT_EQ(basin.status, 0) << basin.err;
    const std::string subs = dir.file("basinsub.ssb");
    std::filesystem::rename(basin.paths.subcatchments, subs);
    const Hydrographs imported = readHydrographsFile(subs);
    DeckSpec s;
    s.iopt = 1;
    s.stepMinutes = 5;
    s.steps = 72;
    s.tributaries = {{1, 1}, {4, 1}};
    s.elements = {ElementSpec{}};
    s.savedElements = {1};
    const RunResult r = runDeck(dir, dir.write("iopt1.sin", deckText(s)), subs);
    ASSERT_EQ(r.status, 0) << r.err;
    const Hydrographs copy = readHydrographsFile(r.paths.subcatchments);
    ASSERT_EQ(copy.steps(), 72u);
    ASSERT_EQ(copy.series.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        const long from = imported.flowColumn(copy.series[k].number);
        ASSERT_GE(from, 0);
        for (std::size_t step = 0; step < 72; ++step)
            EXPECT_NEAR(copy.value(step, k), imported.value(step, static_cast<std::size_t>(from)), 1e-6) << k << " at " << step;
    }
}

TEST(Routing, HydrographInputErrorsNameTheFileTheLineAndTheColumn) {
    TempFolder dir;
    Hydrographs h;
    h.kind = "subcatchments";
    h.stepMinutes = 5;
    h.series = {{SeriesKind::Flow, 1, "cfs"}, {SeriesKind::Flow, 2, "cfs"}};
    h.values = {0, 0, 1, 2, 3, -3.6e-15};
    const std::string file = dir.file("in.ssb");
    writeHydrographsFile(file, h);
    DeckSpec s;
    s.iopt = 1;
    s.tributaries = {{1, 1}};
    s.elements = {ElementSpec{}};
    const RunResult r = runDeck(dir, dir.write("deck.sin", deckText(s)), file);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(file + ", line 14: data row 3, value 2 (the flow of 2) is -3.6e-15"), std::string::npos) << r.err;
}
