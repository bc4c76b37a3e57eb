// Whole runs on deck files: the examples, random decks, the special
// elements' behaviour in a network, IOPT 1 fed by an IOPT 0 run, and bad
// decks that must end with a message and no outputs.
#include "Curve.h"
#include "HydrographFile.h"
#include "ModelRun.h"
#include "ReportTable.h"
#include "Section.h"
#include "RunHelpers.h"
#include "TestFiles.h"
#include "TestSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

using namespace rillo::model;
using namespace rillo::model::testdata;

namespace {

/// Line `index` (0-based) of a deck text, and the text with that line replaced.
std::string lineOf(const std::string& text, std::size_t index) {
    std::istringstream in(text);
    std::string line;
    for (std::size_t i = 0; i <= index; ++i) std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string withLine(const std::string& text, std::size_t index, const std::string& replacement) {
    std::istringstream in(text);
    std::string out;
    std::size_t i = 0;
    for (std::string line; std::getline(in, line); ++i) out += (i == index ? replacement + "\r" : line) + "\n";
    return out;
}

}  // namespace

TEST(ModelRun, BasinExampleGivesPlausibleHydrographsAndClosesItsBalances) {
    TempFolder dir;
    const std::string deck = dir.write("basin.sin", readText(RILLO_EXAMPLES_DIR "/basin.sin"));
    const RunResult r = runDeck(dir, deck);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"basin.sin", "run.sot", "rungut.ssb", "runsub.ssb"}));
    EXPECT_NE(r.out.find("step 72 of 72\n"), std::string::npos);

    expectContinuity(r.paths.report, "basin");
    const auto all = tables(r.paths.report);
    const ReportTable* peaks = table(all, "Peak flows and depths");
    ASSERT_NE(peaks, nullptr);
    EXPECT_EQ(peaks->headers, (std::vector<std::string>{"Number", "Kind", "Peak flow (cfs)", "Time of peak", "Peak depth (ft)"}));
    ASSERT_EQ(peaks->rows.size(), 10u);
    // Rain peaks in 06:30-06:35: every subcatchment peaks at or after that, within the hour.
    for (const auto& p : peaks->rows) {
        EXPECT_GT(std::stod(p[2]), 0) << p[0];
        EXPECT_GE(p[3], "06:35") << p[0];
        EXPECT_LE(p[3], "07:30") << p[0];
        EXPECT_EQ(p[4].empty(), p[1] == "Subcatchment" || p[0] == "102" || p[0] == "105") << p[0];
    }

    // Card 4.4 prints 104 (a pipe) and 105 (direct flow, no depth) every 6 steps.
    const ReportTable* printed = table(all, "Printed element hydrographs");
    ASSERT_NE(printed, nullptr);
    EXPECT_EQ(printed->headers, (std::vector<std::string>{"Step", "Time", "104 flow (cfs)", "104 depth (ft)",
                                                           "105 flow (cfs)", "105 depth (ft)"}));
    ASSERT_EQ(printed->rows.size(), 12u);
    EXPECT_EQ(printed->rows[0][0], "6");
    EXPECT_EQ(printed->rows[0][1], "06:30");
    for (const auto& row : printed->rows) {
        ASSERT_EQ(row.size(), 6u);
        EXPECT_FALSE(row[3].empty());
        EXPECT_TRUE(row[5].empty());
    }

    // The saved hydrographs rise after the rain starts and recede after it.
    const Hydrographs sub = readHydrographsFile(r.paths.subcatchments);
    EXPECT_EQ(sub.kind, "subcatchments");
    EXPECT_EQ(sub.steps(), 72u);
    ASSERT_EQ(sub.series.size(), 7u);
    EXPECT_EQ(sub.series[5].kind, SeriesKind::Rain);
    EXPECT_DOUBLE_EQ(sub.value(6, 5), 4.1);  // hyetograph 1, 06:30-06:35
    const Hydrographs gut = readHydrographsFile(r.paths.gutters);
    for (const Hydrographs* h : {&sub, &gut})
        for (std::size_t c = 0; c < h->series.size(); ++c) {
            if (h->series[c].kind != SeriesKind::Flow) continue;
            double peak = 0;
            std::size_t at = 0;
            for (std::size_t s = 0; s < h->steps(); ++s)
                if (h->value(s, c) > peak) peak = h->value(s, c), at = s;
            EXPECT_GE(at, 6u);
            EXPECT_LT(h->value(h->steps() - 1, c), 0.1 * peak) << h->series[c].number;
            for (std::size_t s = at + 3; s + 1 < h->steps(); ++s) EXPECT_LE(h->value(s + 1, c), h->value(s, c) * 1.0001);
        }
}

TEST(ModelRun, RandomDecksCloseBothBalancesAndWriteOnlyNumbers) {
    std::mt19937 rng(17);
    for (int i = 0; i < 25; ++i) {
        TempFolder dir;
        const RunResult r = runDeck(dir, dir.write("random.sin", deckText(randomSpec(rng))));
        ASSERT_EQ(r.status, 0) << "deck " << i << ": " << r.err;
        expectContinuity(r.paths.report, "random deck " + std::to_string(i));
        for (const std::string& p : {r.paths.subcatchments, r.paths.gutters})
            for (double v : readHydrographsFile(p).values) ASSERT_TRUE(std::isfinite(v) && v >= 0) << p;
        const std::string report = readText(r.paths.report);
        EXPECT_FALSE(std::regex_search(report, std::regex("(^|[^a-z])(nan|inf)([^a-z]|$)", std::regex::icase)));
    }
}

namespace {

/// Five-minute steps: an inflow hydrograph (element 1) into a diversion (2)
/// that sends part of its flow to element 3 and the rest to element 4, a
/// channel 4 ft wide with 2:1 sides; a subcatchment drains to element 9,
/// somewhere else, so the deck has card 1.5.
DeckSpec inflowIntoADiversion() {
    DeckSpec s = fiveMinuteDeck(48);
    const ElementSpec source = inflowHydrograph(1, 2, {{0, 0}, {0.5, 30}, {2, 30}, {3, 6}});
    ElementSpec split, side, main, other;
    split = source;
    split.number = 2;
    split.downstream = 4;
    split.jk = "3";
    split.pairs = {{0, 0}, {10, 0}, {40, 15}};
    side = source;
    side.number = 3;
    side.downstream = 0;
    side.jk = "0";
    side.pairs.clear();
    main = ElementSpec{};
    main.number = 4;
    other = side;
    other.number = 9;
    s.elements = {source, split, side, main, other};
    return s;
}

}  // namespace

TEST(ModelRun, DepthsAndDivertedFlowsGoToAVersion2GutterFileOnlyWhenAskedForAndItImportsBack) {
    TempFolder dir;
    DeckSpec s = inflowIntoADiversion();
    s.savedElements = {4, 2, 3};
    const std::string deck = dir.write("split.sin", deckText(s));
    const auto run = [&](bool depths, const std::string& name) {
        RunOptions options;
        options.progress = false;
        options.elementDepths = depths;
        const RunPaths paths{deck, dir.file(name + ".sot"), dir.file(name + "sub.ssb"), dir.file(name + "gut.ssb"), ""};
        std::ostringstream out, err;
        EXPECT_EQ(runModel(paths, out, err, options), 0) << err.str();
        return paths.gutters;
    };
    const std::string plainFile = run(false, "plain"), detailedFile = run(true, "detailed");
    EXPECT_EQ(readText(plainFile).rfind("RILLO-HYDROGRAPHS 1\n", 0), 0u);  // the default is as it was
    EXPECT_EQ(readText(detailedFile).rfind("RILLO-HYDROGRAPHS 2\n", 0), 0u);
    const Hydrographs plain = readHydrographsFile(plainFile), detailed = readHydrographsFile(detailedFile);
    ASSERT_EQ(plain.series.size(), 4u);  // three flows and the rain
    // The flows as before, in their columns; then the depth of the only
    // saved element with a section and the diversion's diverted flow; the
    // rain last, as before.
    ASSERT_EQ(detailed.series.size(), 6u);
    EXPECT_EQ(detailed.series[5].kind, SeriesKind::Rain);
    EXPECT_EQ(detailed.series[3].kind, SeriesKind::Depth);
    EXPECT_EQ(detailed.series[3].number, 4);
    EXPECT_EQ(detailed.series[3].unit, "ft");
    EXPECT_EQ(detailed.series[4].kind, SeriesKind::Diverted);
    EXPECT_EQ(detailed.series[4].number, 2);
    for (std::size_t step = 0; step < plain.steps(); ++step) {
        for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(detailed.value(step, c), plain.value(step, c)) << step;
        EXPECT_EQ(detailed.value(step, 5), plain.value(step, 3)) << step;
        EXPECT_NEAR(detailed.value(step, 4), plain.value(step, 2), 1e-6 * (1 + plain.value(step, 2))) << step;
    }
    // At the steady 20 cfs that passes the diversion, the channel runs at
    // Manning's normal depth.
    const double steady = detailed.value(18, 0);
    ASSERT_NEAR(steady, 20, 0.01);
    EXPECT_NEAR(detailed.value(18, 3), normalDepth(Section::trapezoid(4, 2, 2), 0.03, 0.005, steady, 3), 0.005);

    // The version 2 file is hydrograph input as the version 1 file is: its
    // element 4 feeds another deck, its depth column is not taken for a flow.
    DeckSpec second = s;
    second.iopt = 1;
    second.elements = {ElementSpec{}};
    second.savedElements = {1};
    second.tributaries = {{4, 1}};
    for (const std::string& input : {plainFile, detailedFile}) {
        std::ostringstream out, err;
        const RunPaths paths{dir.write("second.sin", deckText(second)), dir.file("second.sot"), dir.file("secondsub.ssb"),
                             dir.file("secondgut.ssb"), input};
        ASSERT_EQ(runModel(paths, out, err), 0) << err.str();
        const Hydrographs imported = readHydrographsFile(paths.subcatchments);
        ASSERT_EQ(imported.steps(), plain.steps());
        for (std::size_t step = 0; step < plain.steps(); ++step)
            EXPECT_NEAR(imported.value(step, 0), plain.value(step, 0), 1e-6 * (1 + plain.value(step, 0))) << step;
    }

    // The program asks for it by "--depths" before the paths.
    const std::string exe = rillo::testing::builtPath(RILLO_MODEL_EXE);
    const std::string command = rillo::testing::commandLine(
        {exe, "--depths", deck, dir.file("o.sot"), dir.file("osub.ssb"), dir.file("ogut.ssb"), ""}, dir.file("printed.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(readText(dir.file("ogut.ssb")), readText(detailedFile));
}

TEST(ModelRun, InflowHydrographPassesADirectElementUnchangedAndADiversionSplitsByItsTable) {
    TempFolder dir;
    DeckSpec s = inflowIntoADiversion();
    s.elements[3] = s.elements[2];  // element 4 passes its inflow on as element 3 does
    s.elements[3].number = 4;
    s.savedElements = {1, 2, 3, 4};
    const RunResult r = runDeck(dir, dir.write("split.sin", deckText(s)));
    ASSERT_EQ(r.status, 0) << r.err;
    const Hydrographs gut = readHydrographsFile(r.paths.gutters);
    const Curve table({0, 0.5, 2, 3}, {0, 30, 30, 6});
    const Curve diversion({0, 10, 40}, {0, 0, 15});
    for (std::size_t step = 0; step < gut.steps(); ++step) {
        const double q = table.boundedMean(step * 5 / 60.0, (step + 1) * 5 / 60.0);
        EXPECT_NEAR(gut.value(step, 0), q, 1e-6 * (1 + q)) << step;
        EXPECT_NEAR(gut.value(step, 1), q, 1e-6 * (1 + q)) << step;
        const double d = diversion.bounded(q);
        EXPECT_NEAR(gut.value(step, 2), d, 1e-6 * (1 + q)) << step;
        EXPECT_NEAR(gut.value(step, 3), q - d, 1e-6 * (1 + q)) << step;
    }
    EXPECT_NEAR(gut.value(12, 2), 10, 1e-5);  // 30 cfs diverts 10
    expectContinuity(r.paths.report, "split");
}

// The file holds each step's mean flow only, while the run that wrote it
// knew how the runoff rose and fell within each step: the element
// hydrographs agree to within 1 % of their peaks.
TEST(ModelRun, SubcatchmentHydrographsOfAnIopt0RunFeedAnIopt1DeckToTheSameElementHydrographs) {
    TempFolder dir;
    std::mt19937 rng(4);
    DeckSpec first = randomSpec(rng);
    first.savedElements.clear();
    for (const auto& e : first.elements) first.savedElements.push_back(e.number);
    const RunResult a = runDeck(dir, dir.write("first.sin", deckText(first)));
    ASSERT_EQ(a.status, 0) << a.err;
    const std::string subs = dir.file("firstsub.ssb");
    std::filesystem::rename(a.paths.subcatchments, subs);
    const Hydrographs expected = readHydrographsFile(a.paths.gutters);

    DeckSpec second = first;
    second.iopt = 1;
    for (const auto& c : first.subcatchments) second.tributaries.push_back({c.number, c.element});
    const RunResult b = runDeck(dir, dir.write("second.sin", deckText(second)), subs);
    ASSERT_EQ(b.status, 0) << b.err;
    const Hydrographs got = readHydrographsFile(b.paths.gutters);
    ASSERT_EQ(got.steps(), expected.steps());
    for (const auto& series : expected.series) {
        if (series.kind != SeriesKind::Flow) continue;
        const long ce = expected.flowColumn(series.number), cg = got.flowColumn(series.number);
        ASSERT_GE(cg, 0);
        double peak = 0;
        for (std::size_t s = 0; s < got.steps(); ++s) peak = std::max(peak, expected.value(s, static_cast<std::size_t>(ce)));
        for (std::size_t s = 0; s < got.steps(); ++s) {
            const double e = expected.value(s, static_cast<std::size_t>(ce));
            EXPECT_NEAR(got.value(s, static_cast<std::size_t>(cg)), e, 0.01 * peak + 1e-6) << series.number << " at " << s;
        }
    }
    expectContinuity(b.paths.report, "IOPT 1");
}

TEST(ModelRun, TheReportNamesTheHydrographFilesOfItsRun) {
    std::mt19937 rng(3);
    TempFolder dir;
    TempFolder other;
    const std::string deck = dir.write("basin.sin", deckText(randomSpec(rng)));
    const RunPaths paths{deck, dir.file("basinrun.sot"), dir.file("basinsub.ssb"), other.file("basingut.ssb"), ""};
    std::ostringstream out, err;
    RunOptions options;
    options.progress = false;
    ASSERT_EQ(runModel(paths, out, err, options), 0) << err.str();
    const std::string report = readText(paths.report);
    // Beside the report by its bare name, elsewhere with its folder.
    EXPECT_NE(report.find(std::string(SubcatchmentFileLine) + "basinsub.ssb\n"), std::string::npos) << report;
    EXPECT_NE(report.find(std::string(ElementFileLine) + paths.gutters + "\n"), std::string::npos) << report;
    EXPECT_LT(report.find(SubcatchmentFileLine), report.find("TABLE ")) << "before the tables";
}

TEST(ModelRun, BadDecksEndWithAMessageAndLeaveNoOutputs) {
    std::mt19937 rng(9);
    const std::string good = deckText(randomSpec(rng));
    DeckSpec loop = randomSpec(rng);
    loop.elements[0].downstream = loop.elements.back().number;
    DeckSpec missing = randomSpec(rng);
    missing.elements.push_back(missing.elements[0]);
    missing.elements.back().number = 99;
    missing.elements.back().pairs = {{0, 0}, {1, 1}};
    DeckSpec noSlope = randomSpec(rng);
    noSlope.subcatchments[0].slope = 0;
    DeckSpec noN = randomSpec(rng);
    noN.elements[0].type = 1;
    noN.elements[0].dims[5] = 0;
    DeckSpec iopt1 = noN;
    iopt1.iopt = 1;
    iopt1.elements = randomSpec(rng).elements;
    iopt1.tributaries = {{1, 1}};

    struct Case {
        std::string name, deck, hydrographs, message;
    };
    // Cut the missing block's 3.1A line out of the deck: the reader takes the
    // next lines as its pairs, which cannot make a table.
    std::string cut = deckText(missing);
    {
        const std::string block = "        0.        0.        1.        1.\r\n";
        const auto pos = cut.find(block);
        ASSERT_NE(pos, std::string::npos);
        cut.erase(pos, block.size());
    }
    const std::vector<Case> cases{
        {"damaged header", "garbage\r\n" + good.substr(good.find('\n') + 1), "", "cannot be read"},
        {"truncated deck", good.substr(0, good.size() / 3), "", "cannot be read"},
        {"empty deck", "", "", "cannot be read"},
        {"binary bytes", std::string("\0\1\2\3   2   1   1   2", 20) + std::string(5000, '\xff'), "", "cannot be read"},
        {"a megabyte line", "   2   1   1   2\r\n" + std::string(1 << 20, '7') + "\r\nWATERSHED   0\r\n", "", "cannot be read"},
        {"card 1.2 without its check digit", withLine(good, 5, lineOf(good, 5).substr(0, 30)), "", "cannot be read"},
        {"IOPT neither 0 nor 1", good.substr(0, good.find("WATERSHED   0")) + "WATERSHED   7" + good.substr(good.find("WATERSHED   0") + 13), "", "IOPT"},
        {"loop", deckText(loop), "", "loop"},
        {"missing tabular block", cut, "", "cannot be read"},
        {"zero slope", deckText(noSlope), "", "ground slope of zero"},
        {"zero n", deckText(noN), "", "Manning's n of zero"},
        {"IOPT 1 without hydrographs", deckText(iopt1), "", "hydrograph input"},
        {"IOPT 1 with a cut hydrograph file", deckText(iopt1), "RILLO-HYDROGRAPHS 1\ntitle1 x\n", "hydrograph input cannot be read"},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        const std::string deck = dir.write("bad.sin", c.deck);
        std::string hydrographs;
        if (!c.hydrographs.empty()) hydrographs = dir.write("insub.ssb", c.hydrographs);
        // An old output from an earlier run stays as it was.
        dir.write("run.sot", "old report");
        const RunResult r = runDeck(dir, deck, hydrographs);
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
        EXPECT_EQ(r.err.find("nan"), std::string::npos) << c.name;
        // One message: its first line after the program's name, each further
        // line on its own, indented; never a written-out line break.
        EXPECT_EQ(r.err.find("\\n"), std::string::npos) << c.name << ": " << r.err;
        EXPECT_EQ(r.err.rfind("rillo-model: ", 0), 0u) << c.name << ": " << r.err;
        std::istringstream lines(r.err);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line.find("Rillo2000: "), std::string::npos) << c.name << ": the reader's title stays out";
        while (std::getline(lines, line)) EXPECT_EQ(line.rfind("  ", 0), 0u) << c.name << ": " << line;
        std::vector<std::string> expected{"bad.sin", "run.sot"};
        if (!hydrographs.empty()) expected.insert(expected.begin() + 1, "insub.ssb");
        EXPECT_EQ(dir.names(), expected) << c.name;
        EXPECT_EQ(readText(dir.file("run.sot")), "old report") << c.name;
    }
}

TEST(ModelRun, AMissingDeckOrOutputsThatWouldOverwriteTheDeckOrEachOtherAreRefusedAndNoFileIsClobbered) {
    TempFolder dir;
    {
        const RunResult missing = runDeck(dir, dir.file("nowhere.sin"));
        EXPECT_EQ(missing.status, 1);
        EXPECT_NE(missing.err.find("cannot be read"), std::string::npos) << missing.err;
        EXPECT_TRUE(dir.names().empty());
    }
    const std::string deck = dir.write("basin.sin", readText(RILLO_EXAMPLES_DIR "/basin.sin"));
    std::ostringstream out, err;
    EXPECT_EQ(runModel({deck, deck, dir.file("s.ssb"), dir.file("g.ssb"), ""}, out, err), 1);
    EXPECT_EQ(runModel({deck, dir.file("a.sot"), dir.file("x.ssb"), dir.file("x.ssb"), ""}, out, err), 1);
    EXPECT_EQ(readText(deck), readText(RILLO_EXAMPLES_DIR "/basin.sin"));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"basin.sin"});

    // Files of the user's named as the outputs' temporaries would be stay.
    dir.write("run.sot.part", "notes\n");
    dir.write("rungut.ssb.part", "more notes\n");
    ASSERT_EQ(runDeck(dir, deck).status, 0);
    EXPECT_EQ(readText(dir.file("run.sot.part")), "notes\n");
    EXPECT_EQ(readText(dir.file("rungut.ssb.part")), "more notes\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"basin.sin", "run.sot", "run.sot.part", "rungut.ssb",
                                                     "rungut.ssb.part", "runsub.ssb"}));
}

TEST(ModelRun, AStoppedRunEndsWithAMessageAndKeepsNoOutputNorTemporary) {
    TempFolder dir;
    const std::string deck = dir.write("basin.sin", readText(RILLO_EXAMPLES_DIR "/basin.sin"));
    const RunPaths paths{deck, dir.file("run.sot"), dir.file("runsub.ssb"), dir.file("rungut.ssb"), ""};
    volatile std::sig_atomic_t stop = 1;
    RunOptions options;
    options.stop = &stop;
    std::ostringstream out, err;
    EXPECT_EQ(runModel(paths, out, err, options), 1);
    EXPECT_NE(err.str().find("stopped"), std::string::npos) << err.str();
    EXPECT_EQ(dir.names(), std::vector<std::string>{"basin.sin"});
}

TEST(ModelRun, TheProgramTakesFiveArgumentsAndReportsProgressInAFewHundredLines) {
    TempFolder dir;
    DeckSpec s;
    s.steps = 5000;
    SubSpec c;
    s.subcatchments = {c};
    s.elements = {ElementSpec{}};
    const std::string deck = dir.write("long.sin", deckText(s));
    const std::string exe = rillo::testing::builtPath(RILLO_MODEL_EXE);
    const std::string log = dir.file("progress.txt");
    const std::string command = rillo::testing::commandLine(
        {exe, deck, dir.file("o.sot"), dir.file("osub.ssb"), dir.file("ogut.ssb"), ""}, log);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::istringstream lines(rillo::testing::withUnixLineEnds(readText(log)));
    int count = 0;
    std::string line, last;
    while (std::getline(lines, line)) ++count, last = line;
    EXPECT_LE(count, 300);
    EXPECT_GE(count, 50);
    EXPECT_EQ(last, "step 5000 of 5000");
    EXPECT_NE(std::system(rillo::testing::commandLine({exe, deck}, {}, true).c_str()), 0);
}

TEST(ModelRun, KorvaExampleRunsOnTheSubcatchmentHydrographsOfTheBasinExample) {
    TempFolder dir;
    const RunResult basin = runDeck(dir, dir.write("basin.sin", readText(RILLO_EXAMPLES_DIR "/basin.sin")));
    ASSERT_EQ(basin.status, 0) << basin.err;
    const std::string subs = dir.file("basinsub.ssb");
    std::filesystem::rename(basin.paths.subcatchments, subs);
    const RunResult korva = runDeck(dir, dir.write("korva.sin", readText(RILLO_EXAMPLES_DIR "/korva.sin")), subs);
    ASSERT_EQ(korva.status, 0) << korva.err;
    expectContinuity(korva.paths.report, "korva");
    const Hydrographs gut = readHydrographsFile(korva.paths.gutters);
    ASSERT_EQ(gut.steps(), 96u);
    const long outlet = gut.flowColumn(203);
    ASSERT_GE(outlet, 0);
    double peak = 0;
    std::size_t at = 0;
    for (std::size_t s = 0; s < gut.steps(); ++s)
        if (gut.value(s, static_cast<std::size_t>(outlet)) > peak) peak = gut.value(s, static_cast<std::size_t>(outlet)), at = s;
    EXPECT_GT(peak, 5);
    EXPECT_GE(at, 6u);
    EXPECT_LT(gut.value(95, static_cast<std::size_t>(outlet)), 0.05 * peak);
    // The basin's run is 24 steps shorter: the report says the imported flows stop.
    EXPECT_NE(readText(korva.paths.report).find("ends after 72 of its steps"), std::string::npos);
}

TEST(ModelRun, PerviousSubcatchmentUnderHeavyRainInfiltratesHortonsClosedForm) {
    TempFolder dir;
    DeckSpec s;
    s.steps = 60;
    s.stepMinutes = 1;
    s.hyetographs = {std::vector<double>(12, 6.0)};  // 6 in/hr for an hour, above any capacity
    SubSpec c;
    c.impervious = 0;
    c.maxInfiltration = 3;
    c.minInfiltration = 0.5;
    c.decay = 0.00115;
    s.subcatchments = {c};
    s.elements = {ElementSpec{}};
    const RunResult r = runDeck(dir, dir.write("horton.sin", deckText(s)));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = tables(r.paths.report);
    const ReportTable* t = table(all, "Runoff continuity");
    ASSERT_NE(t, nullptr);
    double depth = NAN;
    for (const auto& row : t->rows)
        if (row[0] == "Infiltration") depth = std::stod(row[2]);
    const double k = 0.00115 * 3600;  // 1/hr
    const double closed = 0.5 * 1.0 + (3 - 0.5) / k * (1 - std::exp(-k * 1.0));
    EXPECT_NEAR(depth, closed, 0.005 * closed);
}

TEST(ModelRun, ImperviousSubcatchmentUnderConstantRainReachesRainTimesAreaAtTheKinematicWaveTime) {
    TempFolder dir;
    DeckSpec s;
    s.steps = 180;
    s.stepMinutes = 1;
    s.zeroDetention = 100;  // no retention storage anywhere
    s.hyetographs = {std::vector<double>(36, 2.0)};
    SubSpec c;
    c.impervious = 100;
    c.area = 10;     // acres
    c.width = 400;   // ft: a plane 1089 ft long
    c.slope = 0.01;
    c.imperviousN = 0.015;
    s.subcatchments = {c};
    s.elements = {ElementSpec{}};
    const RunResult r = runDeck(dir, dir.write("plane.sin", deckText(s)));
    ASSERT_EQ(r.status, 0) << r.err;
    const Hydrographs sub = readHydrographsFile(r.paths.subcatchments);
    const double area = 10 * 43560.0, rain = 2.0 / 12 / 3600;  // ft^2, ft/s
    EXPECT_NEAR(sub.value(179, 0), rain * area, 0.005 * rain * area);
    // t_e = (L n / (1.49 S^1/2 i^2/3))^3/5 with L = A / W.
    const double te = std::pow(area / 400 * 0.015 / (1.49 * 0.1 * std::pow(rain, 2.0 / 3.0)), 0.6) / 60;  // minutes
    // Equilibrium storage over the rain rate is the time to equilibrium.
    const auto all = tables(r.paths.report);
    const ReportTable* t = table(all, "Runoff continuity");
    ASSERT_NE(t, nullptr);
    double stored = NAN;
    for (const auto& row : t->rows)
        if (row[0] == "Surface storage at end") stored = std::stod(row[2]);
    EXPECT_NEAR(stored / 2.0 * 60, te, 0.15 * te);
    // 80 % of equilibrium at 1.4919 t_e, the reservoir's own closed form.
    std::size_t at = 0;
    while (at < sub.steps() && sub.value(at, 0) < 0.8 * rain * area) ++at;
    EXPECT_NEAR(static_cast<double>(at + 1), 1.4919 * te, 0.05 * te + 1);
}
