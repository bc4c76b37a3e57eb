// The model at the deck's own step against a converged run of the same
// equations (the same deck at a 64th of its step, its flows averaged back
// over the deck's steps), and the time-stepping error estimate against the
// error it estimates.
#include "DeckInput.h"
#include "Network.h"
#include "Section.h"
#include "Simulation.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace rillo::model;
using namespace rillo::model::testdata;

namespace {

struct Series {
    std::string name;
    std::vector<double> flow;
};

SimulationResult simulate(ModelInput in, int refine = 1, StepControl control = {}) {
    in.stepMinutes /= refine;
    in.steps *= refine;
    const Network net = buildNetwork(in.elements, in.warnings);
    Simulation sim(in, net, nullptr, control);
    return sim.run();
}

/// Every saved flow series, averaged over `k` steps at a time.
std::vector<Series> saved(const SimulationResult& r, int k = 1) {
    std::vector<Series> out;
    for (const Hydrographs* h : {&r.subcatchmentFile, &r.elementFile})
        for (std::size_t c = 0; c < h->series.size(); ++c) {
            if (h->series[c].kind != SeriesKind::Flow) continue;
            Series s{(h == &r.elementFile ? "element " : "subcatchment ") + std::to_string(h->series[c].number), {}};
            for (std::size_t step = 0; step + static_cast<std::size_t>(k) <= h->steps(); step += static_cast<std::size_t>(k)) {
                double sum = 0;
                for (int j = 0; j < k; ++j) sum += h->value(step + static_cast<std::size_t>(j), c);
                s.flow.push_back(sum / k);
            }
            out.push_back(std::move(s));
        }
    return out;
}

double peakOf(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
double sumOf(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) s += x;
    return s;
}

/// The largest difference of two series over the converged one's peak.
double worstError(const Series& a, const Series& converged) {
    double worst = 0;
    for (std::size_t i = 0; i < a.flow.size(); ++i) worst = std::max(worst, std::abs(a.flow[i] - converged.flow[i]));
    return worst / peakOf(converged.flow);
}

/// Every saved series' peak within 1 % and volume within 0.2 % of the converged run's.
void expectConverged(const ModelInput& in, const std::string& context) {
    const std::vector<Series> coarse = saved(simulate(in));
    const std::vector<Series> fine = saved(simulate(in, 64), 64);
    ASSERT_EQ(coarse.size(), fine.size());
    ASSERT_FALSE(coarse.empty());
    for (std::size_t i = 0; i < coarse.size(); ++i) {
        const double peak = peakOf(fine[i].flow), volume = sumOf(fine[i].flow);
        ASSERT_GT(peak, 0) << context << " " << fine[i].name;
        EXPECT_NEAR(peakOf(coarse[i].flow), peak, 0.01 * peak) << context << " " << fine[i].name;
        EXPECT_NEAR(sumOf(coarse[i].flow), volume, 0.002 * volume) << context << " " << fine[i].name;
    }
}

ModelInput inputOf(const DeckSpec& spec) {
    TempFolder dir;
    return loadDeck(dir.write("deck.sin", deckText(spec)));
}

/// An inflow hydrograph (element 1, direct flow) into element 2, with a
/// subcatchment elsewhere so the deck has its subcatchment card.
DeckSpec fedChannel(const std::array<double, 7>& dims, std::vector<std::pair<double, double>> hydrograph) {
    DeckSpec s = fiveMinuteDeck(96);
    s.saveSubcatchments = false;
    const ElementSpec source = inflowHydrograph(1, 2, std::move(hydrograph));
    ElementSpec reach;
    reach.number = 2;
    reach.dims = dims;
    ElementSpec other = reach;
    other.number = 9;
    s.elements = {source, reach, other};
    s.savedElements = {2};
    return s;
}

/// The same inflow hydrograph into a detention basin (element 2) with the
/// given storage (acre-ft) to outflow (cfs) table.
DeckSpec fedBasin(std::vector<std::pair<double, double>> table, std::vector<std::pair<double, double>> hydrograph) {
    DeckSpec s = fedChannel({10, 1000, 0.002, 2, 2, 0.035, 6}, std::move(hydrograph));
    s.elements[1].jk = "0";
    s.elements[1].pairs = std::move(table);
    return s;
}

}  // namespace

TEST(Accuracy, BasinExampleAtItsOwnStepMatchesTheConvergedRunInEverySavedSeries) {
    expectConverged(loadDeck(RILLO_EXAMPLES_DIR "/basin.sin"), "basin");
}

TEST(Accuracy, FastPerviousPlaneShortBurstOnPavementAndLongReachMatchTheConvergedRun) {
    // A small, fast pervious area: half an acre, 110 ft long and steep.
    SubSpec fast;
    fast.area = 0.5;
    fast.width = 200;
    fast.impervious = 0;
    fast.slope = 0.05;
    fast.perviousN = 0.1;
    fast.perviousStorage = 0.1;
    expectConverged(inputOf(oneSubcatchment(fast, {0.5, 3, 6, 4, 1, 0.5}, 36)), "fast pervious plane");

    // A 15-minute burst on a paved plane without retention storage.
    SubSpec paved;
    paved.area = 5;
    paved.width = 500;
    paved.impervious = 100;
    DeckSpec burst = oneSubcatchment(paved, {4, 4, 4}, 36);
    burst.zeroDetention = 100;
    expectConverged(inputOf(burst), "15-minute burst");

    // A 15,000-ft reach under a three-hour hydrograph peaking at 100 cfs.
    expectConverged(inputOf(fedChannel({10, 15000, 0.002, 2, 2, 0.035, 6}, {{0, 0}, {1, 100}, {3, 0}})), "long reach");
}

TEST(Accuracy, AShallowFlowInAWideChannelIsRatedAlikeWhateverItsFullDepth) {
    // 40 ft wide, about 0.2 ft deep at the peak.
    const std::vector<std::pair<double, double>> hydrograph{{0, 0}, {1, 6.5}, {2, 0}};
    const auto peak = [&](double fullDepth, int refine) {
        const SimulationResult r = simulate(inputOf(fedChannel({40, 2000, 0.001, 0, 0, 0.03, fullDepth}, hydrograph)), refine);
        return peakOf(saved(r, refine).at(0).flow);
    };
    const double converged = peak(3, 64);
    const double shallow = peak(3, 1), deep = peak(100, 1);
    EXPECT_NEAR(shallow, deep, 0.01 * deep);
    EXPECT_NEAR(shallow, converged, 0.01 * converged);
    EXPECT_NEAR(deep, converged, 0.01 * converged);
    // And the converged peak is the one the section's own rating gives:
    // Manning's depth for the peak lies far below either full depth.
    const double y = normalDepth(Section::trapezoid(40, 0, 0), 0.03, 0.001, converged, 3);
    EXPECT_GT(y, 0.1);
    EXPECT_LT(y, 0.3);
}

TEST(Accuracy, TheStepErrorEstimateTracksTheErrorItEstimatesAndStaysSmallWhenSubStepsAreAllowed) {
    const ModelInput basin = loadDeck(RILLO_EXAMPLES_DIR "/basin.sin");
    const std::vector<Series> fine = saved(simulate(basin, 64), 64);
    const auto worst = [&](const SimulationResult& r) {
        double w = 0;
        const std::vector<Series> coarse = saved(r);
        for (std::size_t i = 0; i < coarse.size(); ++i) w = std::max(w, worstError(coarse[i], fine[i]));
        return w * 100;
    };

    // One trapezoidal step per time step: the estimate says the run is off;
    // it errs on the safe side, never far below the real error and within a
    // factor of 20 above it.
    StepControl single;
    single.maxSubsteps = 1;
    const SimulationResult rough = simulate(basin, 1, single);
    const double real = worst(rough);
    EXPECT_GT(rough.stepError.percent, 1.0);
    EXPECT_FALSE(rough.stepError.series.empty());
    EXPECT_GT(real, rough.stepError.percent / 20) << rough.stepError.series;
    EXPECT_LT(real, rough.stepError.percent * 1.5) << rough.stepError.series;

    // With sub-steps both are well below 1 %.
    const SimulationResult good = simulate(basin);
    EXPECT_LT(good.stepError.percent, 1.0);
    EXPECT_LT(worst(good), 1.0);
    EXPECT_LT(good.stepError.percent, rough.stepError.percent / 10);
}

TEST(Accuracy, DetentionBasinsLargeAndFastMatchTheConvergedRun) {
    const std::vector<std::pair<double, double>> hydrograph{{0, 0}, {1, 100}, {3, 0}};
    // A large basin with an acre-foot of dead storage and a rising outlet.
    expectConverged(inputOf(fedBasin({{0, 0}, {1, 0}, {2, 5}, {4, 15}, {8, 40}, {12, 70}, {20, 140}}, hydrograph)),
                    "large basin");
    // A small basin whose outflow follows its storage within a minute, far
    // faster than the five-minute step, under a sharp hydrograph: one
    // storage-indication step per time step is several per cent off.
    expectConverged(inputOf(fedBasin({{0, 0}, {0.02, 20}, {0.1, 100}, {1, 1000}}, {{0, 0}, {0.25, 80}, {0.5, 10}, {1, 0}})),
                    "fast basin");
}
