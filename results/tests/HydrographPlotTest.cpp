// The plot apart from painting: its scales and ticks, what it fits and
// keeps in view, zooming and panning in pixels, what lies under a point,
// the thinning of long series, the scene it lays out and the SVG drawing
// of that scene.

#include "HydrographPlot.h"
#include "PlotScale.h"
#include "PlotSvg.h"
#include "RunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <tuple>

namespace rillo::results {
namespace {

using testing::flowValue;
using testing::rainValue;
using testing::RunShape;

/// The labels of the ticks of a range.
std::vector<std::string> labels(ValueRange range, int count) {
    double step = 0;
    const std::vector<double> ticks = niceTicks(range, count, &step);
    std::vector<std::string> out;
    for (double t : ticks) out.push_back(numberLabel(t, step));
    return out;
}

TEST(PlotScale, TicksFallOnNiceNumbersWithTheirLabels) {
    for (auto [rough, nice] : {std::pair{1.0, 1.0}, {1.4, 1.0}, {1.6, 2.0}, {2.9, 2.0}, {3.1, 5.0}, {6.9, 5.0}, {7.1, 10.0},
                               {0.034, 0.05}, {2500.0, 2000.0}})
        EXPECT_DOUBLE_EQ(niceStep(rough), nice) << rough;

    // Fitted ranges widen outwards to whole steps, below zero too.
    EXPECT_EQ(niceRange({0, 37.6}, 7), (ValueRange{0, 40}));
    EXPECT_EQ(niceRange({-2.3, 11}, 7), (ValueRange{-4, 12}));
    EXPECT_EQ(niceRange({3, 3}, 7), (ValueRange{3, 4}));  // nothing to span: one unit
    EXPECT_EQ(niceRange({0, 40}, 7), (ValueRange{0, 40}));  // already nice: kept

    EXPECT_EQ(labels({0, 40}, 7),
              (std::vector<std::string>{"0", "5", "10", "15", "20", "25", "30", "35", "40"}));
    // Inside a zoomed range, without the error a running sum would gather.
    EXPECT_EQ(labels({0.13, 0.97}, 7),
              (std::vector<std::string>{"0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9"}));
    EXPECT_EQ(labels({-0.5, 0.5}, 5), (std::vector<std::string>{"-0.4", "-0.2", "0.0", "0.2", "0.4"}));
    EXPECT_TRUE(niceTicks({2, 2}, 7).empty());
    EXPECT_EQ(numberLabel(0.25, 0.05), "0.25");
    EXPECT_EQ(numberLabel(1500, 500), "1500");
}

TEST(PlotScale, ClockTicksFallOnRoundTimesOfDay) {
    double step = 0;
    // 23:30 to 09:30 the next morning: every two hours, past midnight.
    std::vector<double> ticks = clockTicks({23.5, 33.5}, 6, &step);
    std::vector<std::string> text;
    for (double t : ticks) text.push_back(clockLabel(t, step));
    EXPECT_EQ(text, (std::vector<std::string>{"00:00", "02:00", "04:00", "06:00", "08:00"}));
    // Ten minutes: every two minutes; a minute: seconds show.
    ticks = clockTicks({6.0, 6.0 + 10.0 / 60}, 6, &step);
    EXPECT_DOUBLE_EQ(step * 60, 2.0);
    EXPECT_EQ(clockLabel(ticks[1], step), "06:02");
    ticks = clockTicks({6.0, 6.0 + 1.0 / 60}, 5, &step);
    EXPECT_DOUBLE_EQ(step * 3600, 15.0);
    EXPECT_EQ(clockLabel(ticks[1], step), "06:00:15");
    // Weeks: whole days.
    clockTicks({0, 24.0 * 30}, 6, &step);
    EXPECT_DOUBLE_EQ(std::fmod(step, 24.0), 0.0);
}

/// A run held in memory: rain, subcatchments and elements on one time base.
class PlotTest : public ::testing::Test {
protected:
    explicit PlotTest(RunShape shape = {}) : shape_(shape) {
        for (bool subcatchments : {true, false}) {
            HydrographLoad load;
            load.path = subcatchments ? "run/basinsub.ssb" : "run/basingut.ssb";
            load.state = LoadState::Loaded;
            load.data = std::make_shared<model::Hydrographs>(testing::makeHydrographs(shape_, subcatchments));
            results_.setHydrographs(subcatchments ? SeriesFile::Sub : SeriesFile::Gut, load);
        }
        plot_.setCanvas(800, 600, PlotFonts::estimated());
        plot_.resetView();  // as a window does once the files are read
    }

    SeriesId series(SeriesFile file, model::SeriesKind kind, long number) const {
        SeriesId id;
        EXPECT_TRUE(results_.find(file, kind, number, id));
        return id;
    }
    SeriesId element(long number) const { return series(SeriesFile::Gut, model::SeriesKind::Flow, number); }
    SeriesId rain(long number) const { return series(SeriesFile::Sub, model::SeriesKind::Rain, number); }

    /// The pixel column of an x value, as the plot lays it out now.
    double pixelOf(double x) const {
        const PlotRect a = plot_.plotArea();
        return a.left + (x - plot_.xRange().low) / plot_.xRange().span() * a.width;
    }

    RunShape shape_;
    RunResults results_;
    HydrographPlot plot_{results_};
};

TEST_F(PlotTest, TheAxesFitWhatIsShownUntilTheUserZooms) {
    // Before anything is ticked the time axis spans the run: 120 steps of 5 minutes.
    EXPECT_EQ(plot_.xRange(), (ValueRange{0, 10}));
    int changes = 0;
    plot_.setChanged([&] { ++changes; });

    double peak = 0;
    for (std::size_t s = 0; s < shape_.steps; ++s) peak = std::max(peak, flowValue(104, s));
    plot_.setShown(element(104), true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(plot_.flowRange().low, 0.0);
    EXPECT_GE(plot_.flowRange().high, peak);
    EXPECT_LT(plot_.flowRange().high, 1.3 * peak);
    EXPECT_FALSE(plot_.rainAxisShown());

    // Rain: its axis appears and the flows make room under its bars.
    plot_.setShown(rain(2), true);
    EXPECT_TRUE(plot_.rainAxisShown());
    EXPECT_GE(plot_.flowRange().high, 1.6 * peak);
    EXPECT_EQ(plot_.rainRange().low, 0.0);
    EXPECT_GE(plot_.rainRange().high, 3 * rainValue(2, 6));

    // Zoomed, the view stays when a series comes or goes...
    const PlotRect a = plot_.plotArea();
    plot_.zoomTo({a.left, a.top, a.width / 2, a.height});
    EXPECT_TRUE(plot_.userView());
    const ValueRange x = plot_.xRange(), flow = plot_.flowRange();
    plot_.setShown(element(101), true);
    plot_.setShown(rain(2), false);
    EXPECT_EQ(plot_.xRange(), x);
    EXPECT_EQ(plot_.flowRange(), flow);
    // ...until nothing is left to look at: the next series is seen whole.
    plot_.setShown(element(101), false);
    plot_.setShown(element(104), false);
    EXPECT_FALSE(plot_.userView());
    plot_.setShown(element(102), true);
    EXPECT_EQ(plot_.xRange(), (ValueRange{0, 10}));

    // Rain ticked into a zoomed view gets a range of its own.
    plot_.zoom(2);
    plot_.setShown(rain(1), true);
    EXPECT_EQ(plot_.rainRange().low, 0.0);
    EXPECT_GE(plot_.rainRange().high, 3 * rainValue(1, 6));
    plot_.resetView();
    EXPECT_FALSE(plot_.userView());
    EXPECT_EQ(plot_.xRange(), (ValueRange{0, 10}));
}

/// The same run with the depths of a version 2 element file.
class DepthPlotTest : public PlotTest {
protected:
    DepthPlotTest() : PlotTest(withDepths()) {}
    static RunShape withDepths() {
        RunShape shape;
        shape.depths = true;
        return shape;
    }
    SeriesId depth(long number) const { return series(SeriesFile::Gut, model::SeriesKind::Depth, number); }
};

TEST_F(DepthPlotTest, DepthsAreDashedOnAnAxisOfTheirOwnBeyondTheRainsAndLeaveTheFlowAxisAlone) {
    plot_.setShown(element(102), true);
    const ValueRange flowAlone = plot_.flowRange();
    const PlotRect flowArea = plot_.plotArea();
    EXPECT_FALSE(plot_.depthAxisShown());
    plot_.setShown(depth(102), true);
    EXPECT_TRUE(plot_.depthAxisShown());
    EXPECT_EQ(plot_.flowRange(), flowAlone);  // feet are not fitted as cfs
    double peak = 0;
    for (std::size_t s = 0; s < shape_.steps; ++s) peak = std::max(peak, testing::depthValue(102, s));
    EXPECT_EQ(plot_.depthRange().low, 0.0);
    EXPECT_GE(plot_.depthRange().high, peak);
    EXPECT_LT(plot_.depthRange().high, 1.3 * peak);
    const PlotRect a = plot_.plotArea();
    EXPECT_LT(a.right(), flowArea.right());  // room for the depth labels

    PlotScene scene;  // what the last look saw
    const auto look = [&] {
        std::vector<const ScenePath*> lines;
        std::map<std::string, double> textX;
        scene = plot_.scene();
        for (const SceneItem& item : scene.items) {
            if (const auto* p = std::get_if<ScenePath>(&item); p && !p->closed) lines.push_back(p);
            if (const auto* t = std::get_if<SceneText>(&item)) textX[t->text] = t->at.x;
        }
        return std::make_pair(lines, textX);
    };
    auto [lines, textX] = look();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FALSE(lines[0]->dashed);
    EXPECT_TRUE(lines[1]->dashed);
    // The depth's highest point stands where the depth axis puts its peak.
    double top = a.bottom();
    for (const PlotPoint& p : lines[1]->points) top = std::min(top, p.y);
    EXPECT_NEAR(top, a.bottom() - peak / plot_.depthRange().span() * a.height, 1e-6);
    ASSERT_TRUE(textX.count("Depth (ft)"));
    ASSERT_TRUE(textX.count("Element 102 depth (ft)"));
    EXPECT_GT(textX["Depth (ft)"], a.right());
    EXPECT_NE(plot_.description().find("depth (ft)"), std::string::npos);

    // With rain the depth axis stands beyond the rain's labels and title.
    plot_.setShown(rain(1), true);
    std::tie(lines, textX) = look();
    ASSERT_TRUE(textX.count("Rainfall (in/hr)"));
    EXPECT_GT(textX["Rainfall (in/hr)"], plot_.plotArea().right());
    EXPECT_GT(textX["Depth (ft)"], textX["Rainfall (in/hr)"] + 20);
    EXPECT_LE(textX["Depth (ft)"], 800);

    // Zooming into the lower half halves the depth axis as the flow axis.
    const PlotRect b = plot_.plotArea();
    const ValueRange depthBefore = plot_.depthRange();
    plot_.zoomTo({b.left, b.top + b.height / 2, b.width, b.height / 2});
    EXPECT_NEAR(plot_.depthRange().low, depthBefore.low, 1e-9);
    EXPECT_NEAR(plot_.depthRange().high, depthBefore.low + depthBefore.span() / 2, 1e-9);

    plot_.setShown(depth(102), false);
    EXPECT_FALSE(plot_.depthAxisShown());
}

TEST_F(PlotTest, ZoomAndPanWorkInPixelsOnBothAxesTheRainOneUpsideDown) {
    plot_.setShown(element(101), true);
    plot_.setShown(rain(1), true);
    const PlotRect a = plot_.plotArea();
    const ValueRange x = plot_.xRange(), flow = plot_.flowRange(), rain = plot_.rainRange();

    // The rubber band over the top left quarter: early times, high flows,
    // light rain (the rain's axis starts at the top).
    plot_.zoomTo({a.left, a.top, a.width / 2, a.height / 2});
    EXPECT_NEAR(plot_.xRange().low, x.low, 1e-9);
    EXPECT_NEAR(plot_.xRange().high, x.low + x.span() / 2, 1e-9);
    EXPECT_NEAR(plot_.flowRange().low, flow.low + flow.span() / 2, 1e-9);
    EXPECT_NEAR(plot_.flowRange().high, flow.high, 1e-9);
    EXPECT_NEAR(plot_.rainRange().low, rain.low, 1e-9);
    EXPECT_NEAR(plot_.rainRange().high, rain.low + rain.span() / 2, 1e-9);

    // A click without a drag is no rubber band.
    const ValueRange zoomed = plot_.xRange();
    plot_.zoomTo({a.left + 10, a.top + 10, 2, 40});
    EXPECT_EQ(plot_.xRange(), zoomed);

    // Panning right and up by a tenth of the plot: the view moves to later
    // times and higher flows; the rain, drawn downwards, to lighter rain.
    plot_.resetView();
    const PlotRect b = plot_.plotArea();
    plot_.scroll(b.width / 10, b.height / 10);
    EXPECT_NEAR(plot_.xRange().low, x.low + x.span() / 10, 1e-9);
    EXPECT_NEAR(plot_.flowRange().low, flow.low + flow.span() / 10, 1e-9);
    EXPECT_NEAR(plot_.rainRange().low, rain.low - rain.span() / 10, 1e-9);
    EXPECT_NEAR(plot_.xRange().span(), x.span(), 1e-9);

    // Zooming about a point keeps the time under it; off the plot, the middle.
    plot_.resetView();
    const double px = pixelOf(2.5);
    plot_.zoomAbout(px, b.top + b.height / 2, 4);
    EXPECT_NEAR(plot_.xRange().span(), x.span() / 4, x.span() * 0.02);
    const PlotRect c = plot_.plotArea();
    EXPECT_NEAR(plot_.xRange().low + (px - c.left) / c.width * plot_.xRange().span(), 2.5, 0.05);
    plot_.resetView();
    plot_.zoomAbout(1, 1, 2);
    EXPECT_NEAR(plot_.xRange().low + plot_.xRange().span() / 2, 5.0, 0.1);
    // Out again by the same factor: back where it was.
    plot_.resetView();
    plot_.zoom(2);
    plot_.zoom(0.5);
    EXPECT_NEAR(plot_.xRange().low, x.low, 0.05);
    EXPECT_NEAR(plot_.xRange().high, x.high, 0.05);

    // Zooming on and on stops where the numbers can no longer tell values apart.
    for (int i = 0; i < 200; ++i) plot_.zoom(10);
    EXPECT_GT(plot_.xRange().span(), 0.0);
    EXPECT_TRUE(std::isfinite(plot_.xRange().low));
    for (int i = 0; i < 400; ++i) plot_.zoom(0.1);
    EXPECT_LE(plot_.flowRange().span(), 1e12);
}

TEST_F(PlotTest, ThePointerNamesTheStepUnderItAndEveryShownValue) {
    EXPECT_FALSE(plot_.stepAtPoint(400, 300));  // nothing shown
    plot_.setShown(element(102), true);
    plot_.setShown(rain(1), true);
    const PlotRect a = plot_.plotArea();
    const double y = a.top + a.height / 2;
    for (std::size_t s : {0u, 1u, 59u, 119u}) EXPECT_EQ(plot_.stepAtPoint(pixelOf(results_.hoursAt(s)), y), s) << s;
    // Half a step either side still picks the nearest end.
    EXPECT_EQ(plot_.stepAtPoint(pixelOf(results_.hoursAt(10) + 0.04), y), 10u);
    EXPECT_EQ(plot_.stepAtPoint(pixelOf(results_.hoursAt(10) - 0.04), y), 10u);
    EXPECT_FALSE(plot_.stepAtPoint(a.left - 2, y));
    EXPECT_FALSE(plot_.stepAtPoint(a.left + 5, a.bottom() + 2));

    // 23:30 plus the first step's 5 minutes.
    char value[32];
    std::snprintf(value, sizeof value, "%.6g", flowValue(102, 0));
    EXPECT_EQ(plot_.toolTipAt(pixelOf(results_.hoursAt(0)), y),
              std::string("23:35 (0.0833333 h)\nElement 102: ") + value + " cfs\nHyetograph 1: 0.25 in/hr");
    EXPECT_EQ(plot_.toolTipAt(1, 1), "");

    // The clock axis counts hours after midnight: the same steps under the same times.
    plot_.setTimeAxis(HydrographPlot::TimeAxis::Clock);
    EXPECT_EQ(plot_.xRange(), (ValueRange{23.5, 33.5}));
    const std::vector<PlotPoint> points = plot_.points(element(102));
    for (std::size_t s : {0u, 7u, 119u}) EXPECT_EQ(plot_.stepAt(points[s].x), s);
    EXPECT_EQ(plot_.stepAtPoint(pixelOf(points[7].x), y), 7u);
    EXPECT_NE(plot_.description().find("clock time"), std::string::npos);
    EXPECT_NE(plot_.description().find("Shown: Element 102, Hyetograph 1."), std::string::npos);
}

TEST(PlotDecimation, LongSeriesKeepTheirExtremesInEveryPixelColumn) {
    // 2,880 values jumping about over 300 pixels.
    std::vector<PlotPoint> line;
    for (int i = 0; i < 2880; ++i) line.push_back({10 + i * 300.0 / 2880, 100 + 50 * std::sin(i * 1.7) + (i % 13)});
    const std::vector<PlotPoint> out = HydrographPlot::decimated(line);
    EXPECT_LE(out.size(), 2u * 300 + 2);
    EXPECT_GE(out.size(), 300u);
    EXPECT_TRUE(std::is_sorted(out.begin(), out.end(), [](const PlotPoint& p, const PlotPoint& q) { return p.x < q.x; }));
    EXPECT_EQ(out.front(), line.front());
    EXPECT_EQ(out.back(), line.back());
    for (int column = 10; column < 310; ++column) {
        double low = 1e300, high = -1e300, keptLow = 1e300, keptHigh = -1e300;
        for (const PlotPoint& p : line)
            if (std::floor(p.x) == column) low = std::min(low, p.y), high = std::max(high, p.y);
        for (const PlotPoint& p : out)
            if (std::floor(p.x) == column) keptLow = std::min(keptLow, p.y), keptHigh = std::max(keptHigh, p.y);
        ASSERT_EQ(keptLow, low) << column;
        ASSERT_EQ(keptHigh, high) << column;
    }
    // A sparse line is kept whole.
    const std::vector<PlotPoint> sparse{{0, 1}, {0.5, 3}, {2, 2}, {2.2, 5}, {3.4, 1}, {3.6, 1}, {9, 0}};
    EXPECT_EQ(HydrographPlot::decimated(sparse), sparse);
}

class LongPlotTest : public PlotTest {
protected:
    static RunShape longRun() {
        RunShape shape;
        shape.steps = 2880;
        shape.stepMinutes = 1;
        return shape;
    }
    LongPlotTest() : PlotTest(longRun()) {}
};

TEST_F(LongPlotTest, TheSceneHangsTheBarsFromTheTopAndThinsLongLines) {
    plot_.setTitle("Mill Creek & <Tributary>");
    plot_.setShown(rain(1), true);
    plot_.setShown(element(101), true);
    plot_.setShown(element(103), true);
    const PlotScene scene = plot_.scene();
    const PlotRect& a = scene.plotArea;
    EXPECT_EQ(scene.width, 800);
    EXPECT_GT(a.left, 20);
    EXPECT_LT(a.right(), 800);

    std::vector<const ScenePath*> paths;
    std::vector<std::string> texts;
    for (const SceneItem& item : scene.items) {
        if (const auto* p = std::get_if<ScenePath>(&item)) paths.push_back(p);
        if (const auto* t = std::get_if<SceneText>(&item)) texts.push_back(t->text);
    }
    ASSERT_EQ(paths.size(), 3u);
    // The bars come first, behind the lines: a polygon closed along the top.
    const ScenePath& bars = *paths[0];
    EXPECT_TRUE(bars.closed);
    EXPECT_EQ(bars.fill.a, 110);
    EXPECT_DOUBLE_EQ(bars.points.back().y, a.top);
    EXPECT_DOUBLE_EQ(bars.points[bars.points.size() - 2].y, a.top);
    // The heaviest rain reaches down in proportion to the rain axis.
    double lowest = a.top, heaviest = 0;
    for (std::size_t s = 0; s < 30; ++s) heaviest = std::max(heaviest, rainValue(1, s));
    for (const PlotPoint& p : bars.points) lowest = std::max(lowest, p.y);
    EXPECT_NEAR(lowest, a.top + heaviest / plot_.rainRange().span() * a.height, 1e-6);
    // The lines: 2,880 steps thinned to a few points per pixel column, in
    // distinct colours, cut at the plot's edges.
    for (const ScenePath* line : {paths[1], paths[2]}) {
        EXPECT_FALSE(line->closed);
        EXPECT_TRUE(line->clipped);
        EXPECT_LE(line->points.size(), 2 * static_cast<std::size_t>(a.width + 2));
        EXPECT_GE(line->points.size(), static_cast<std::size_t>(a.width));
    }
    EXPECT_NE(paths[1]->stroke, paths[2]->stroke);

    for (const std::string wanted : {"Mill Creek & <Tributary>", "Flow (cfs)", "Rainfall (in/hr)",
                                     "Time (hours from the start of the storm)", "Hyetograph 1 (in/hr)", "Element 101 (cfs)",
                                     "Element 103 (cfs)", "0", "40"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), wanted), texts.end()) << wanted;

    // Zoomed into an hour, only that hour's steps are drawn, every one of them.
    plot_.zoomTo({a.left + a.width / 2, a.top, a.width / 48, a.height});
    const PlotScene zoomed = plot_.scene();
    std::size_t points = 0;
    for (const SceneItem& item : zoomed.items)
        if (const auto* p = std::get_if<ScenePath>(&item); p && !p->closed) points = p->points.size();
    EXPECT_GE(points, 60u);
    EXPECT_LE(points, 66u);

    // A colour freed by unticking goes to the next series.
    const Rgba freed = plot_.colour(element(101));
    plot_.setShown(element(101), false);
    plot_.setShown(element(104), true);
    EXPECT_EQ(plot_.colour(element(104)), freed);
    plot_.setShown(rain(2), true);
    EXPECT_NE(plot_.colour(rain(2)), plot_.colour(rain(1)));
}

TEST_F(PlotTest, TheDrawingIsTheSceneInSvg) {
    plot_.setTitle("Basin \"A\" & <B>\x01 \xE9t\xC3\xA9");  // a Latin-1 byte, then UTF-8
    plot_.setShown(rain(1), true);
    plot_.setShown(element(101), true);
    plot_.setTimeAxis(HydrographPlot::TimeAxis::Clock);
    const PlotScene scene = plot_.scene();
    const std::string svg = plotSvg(scene, PlotFonts::estimated(), "Rillo2000 Results - basin.sot");
    auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = svg.find(what); at != std::string::npos; at = svg.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("width=\"800\" height=\"600\" viewBox=\"0 0 800 600\""), std::string::npos);
    EXPECT_NE(svg.find("<title>Rillo2000 Results - basin.sot</title>"), std::string::npos);
    EXPECT_EQ(count("<polygon"), 1u);
    EXPECT_EQ(count("<polyline"), 1u);
    EXPECT_EQ(count("clip-path=\"url(#plot-area)\""), 2u);
    EXPECT_EQ(count("<clipPath id=\"plot-area\">"), 1u);
    // No control character, and no byte that is not UTF-8.
    EXPECT_NE(svg.find(">Basin &quot;A&quot; &amp; &lt;B&gt; \xEF\xBF\xBDt\xC3\xA9</text>"), std::string::npos);
    EXPECT_NE(svg.find(">00:00</text>"), std::string::npos);
    EXPECT_NE(svg.find("fill-opacity=\"0.43\""), std::string::npos);  // the see-through bars
    EXPECT_EQ(count("transform=\"rotate(-90 "), 1u);                 // the flow axis' title
    EXPECT_EQ(count("transform=\"rotate(90 "), 1u);                  // the rain axis' title
    EXPECT_EQ(count("<text"), count("</text>"));
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");

    testing::TempFolder folder;
    const std::string path = folder.file("plot.svg");
    writePlotSvgFile(path, scene, PlotFonts::estimated(), "Rillo2000 Results - basin.sot");
    EXPECT_EQ(testing::readText(path), svg);
    EXPECT_THROW(writePlotSvgFile(folder.file("missing/plot.svg"), scene, PlotFonts::estimated(), "x"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing/plot.svg")));
}

}  // namespace
}  // namespace rillo::results
