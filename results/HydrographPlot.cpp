#include "HydrographPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rillo::results {

namespace {

// The bars of the rain take the top third of the plot, the flows keep
// clear of them below.
constexpr double RainAxisScale = 3.0;
constexpr double FlowRoomUnderRain = 1.6;
// The same counts every time, so the same series always get the same axes.
constexpr int FlowTicks = 7;
constexpr int RainTicks = 5;

constexpr double Margin = 10;
constexpr double LabelGap = 5;
constexpr double MarkerSize = 12;
constexpr double TickLength = 4;
constexpr double AxisGap = 8;  // between the rain's axis and the depths' beyond it
// A curve far off the plot is cut short there: painters take no
// coordinates of any size.
constexpr double FarOff = 1e6;

constexpr Rgba White{255, 255, 255, 255};
constexpr Rgba GridColour{224, 224, 224, 255};
constexpr Rgba FrameColour{150, 150, 150, 255};
constexpr Rgba TextColour{40, 40, 40, 255};
// The flows' colours, taken in turn.
constexpr Rgba FlowColours[] = {{32, 159, 223, 255}, {153, 202, 83, 255}, {246, 166, 37, 255},
                                {109, 95, 213, 255}, {191, 89, 62, 255},  {0, 128, 128, 255}};

/// A colour from hue (degrees), saturation and value (0 to 1).
Rgba fromHsv(double hue, double saturation, double value) {
    const double c = value * saturation;
    const double h = std::fmod(hue, 360.0) / 60.0;
    const double x = c * (1 - std::abs(std::fmod(h, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    if (h < 1) r = c, g = x;
    else if (h < 2) r = x, g = c;
    else if (h < 3) g = c, b = x;
    else if (h < 4) g = x, b = c;
    else if (h < 5) r = x, b = c;
    else r = c, b = x;
    const double m = value - c;
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return {byte(r + m), byte(g + m), byte(b + m), 255};
}

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double clampedFar(double pixel, double near, double far) {
    return std::clamp(pixel, near - FarOff, far + FarOff);
}

}  // namespace

double PlotFont::widthOf(const std::string& text) const {
    if (width) return width(text);
    // Estimated: about half the size per character, counting UTF-8 lead bytes only.
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    return static_cast<double>(chars) * pixelSize * (bold ? 0.62 : 0.56);
}

PlotFont PlotFont::estimated(double pixelSize, bool bold) {
    PlotFont font;
    font.pixelSize = pixelSize;
    font.bold = bold;
    font.ascent = std::round(pixelSize * 0.8);
    font.descent = std::round(pixelSize * 0.25);
    return font;
}

struct HydrographPlot::Layout {
    PlotRect area;
    LinearScale x, flow, rain, depth;
    bool rainShown = false, depthShown = false;
    double rainWidth = 0;  ///< of the widest rain label
    double depthAxis = 0;  ///< where the depth axis stands
    std::vector<double> xTicks, flowTicks, rainTicks, depthTicks;
    std::vector<std::string> xLabels, flowLabels, rainLabels, depthLabels;
    double titleBaseline = 0;
    struct Entry {
        SeriesId id;
        double left = 0;
        double top = 0;
        std::string text;
    };
    std::vector<Entry> legend;
};

HydrographPlot::HydrographPlot(const RunResults& results) : results_(results) { fitAxes(); }

void HydrographPlot::notify() {
    if (changed_) changed_();
}

double HydrographPlot::xOf(double hours) const {
    if (timeAxis_ == TimeAxis::Hours) return hours;
    return results_.startMinuteOfDay() / 60.0 + hours;
}

std::size_t HydrographPlot::stepAt(double x) const {
    const std::size_t steps = results_.steps();
    if (steps == 0) return 0;
    const double hours = timeAxis_ == TimeAxis::Clock ? x - results_.startMinuteOfDay() / 60.0 : x;
    const double step = std::round(hours * 60.0 / results_.stepMinutes()) - 1.0;
    if (!(step > 0)) return 0;
    return std::min(steps - 1, static_cast<std::size_t>(step));
}

std::string HydrographPlot::name(SeriesId id) const { return results_.label(id) + " (" + results_.unit(id) + ")"; }

std::string HydrographPlot::xTitle() const {
    return timeAxis_ == TimeAxis::Hours ? "Time (hours from the start of the storm)" : "Clock time";
}

bool HydrographPlot::rainAxisShown() const {
    return std::any_of(order_.begin(), order_.end(), [&](SeriesId s) { return results_.isRain(s); });
}

bool HydrographPlot::depthAxisShown() const {
    return std::any_of(order_.begin(), order_.end(), [&](SeriesId s) { return results_.isDepth(s); });
}

void HydrographPlot::setTitle(std::string title) {
    title_ = std::move(title);
    notify();
}

Rgba HydrographPlot::colour(SeriesId id) const {
    auto it = plotted_.find(id);
    return it == plotted_.end() ? Rgba{} : it->second.colour;
}

std::vector<PlotPoint> HydrographPlot::points(SeriesId id) const {
    auto it = plotted_.find(id);
    if (it == plotted_.end()) return {};
    const std::vector<double>& values = it->second.values;
    std::vector<PlotPoint> out;
    if (results_.isRain(id)) {
        // Each intensity holds through its step: a bar from the step's start to its end.
        const double stepHours = results_.stepMinutes() / 60.0;
        out.reserve(values.size() * 2);
        for (std::size_t s = 0; s < values.size(); ++s) {
            out.push_back({xOf(results_.hoursAt(s) - stepHours), values[s]});
            out.push_back({xOf(results_.hoursAt(s)), values[s]});
        }
    } else {
        out.reserve(values.size());
        for (std::size_t s = 0; s < values.size(); ++s) out.push_back({xOf(results_.hoursAt(s)), values[s]});
    }
    return out;
}

void HydrographPlot::setShown(SeriesId id, bool shown) {
    if (shown == isShown(id)) return;
    const bool rainBefore = rainAxisShown(), depthBefore = depthAxisShown();
    if (shown) {
        Plotted p;
        p.values = results_.values(id);
        if (!p.values.empty()) {
            const auto [low, high] = std::minmax_element(p.values.begin(), p.values.end());
            p.low = *low;
            p.high = *high;
        }
        if (results_.isRain(id)) {
            // A rain series after the first turns the hue on but stays
            // see-through, so bars of several hyetographs show together.
            const auto rainShown = std::count_if(order_.begin(), order_.end(), [&](SeriesId s) { return results_.isRain(s); });
            p.colour = fromHsv(223.0 + 47.0 * static_cast<double>(rainShown), 187.0 / 255.0, 150.0 / 255.0);
        } else {
            // The colour fewest shown flows and depths have, so a curve
            // ticked again after another was unticked does not repeat a
            // neighbour's.
            std::size_t best = 0, bestUses = ~std::size_t{0};
            for (std::size_t c = 0; c < std::size(FlowColours); ++c) {
                const auto uses = static_cast<std::size_t>(std::count_if(plotted_.begin(), plotted_.end(), [&](const auto& entry) {
                    return !results_.isRain(entry.first) && entry.second.colour == FlowColours[c];
                }));
                if (uses < bestUses) best = c, bestUses = uses;
            }
            p.colour = FlowColours[best];
        }
        plotted_[id] = std::move(p);
        order_.push_back(id);
    } else {
        plotted_.erase(id);
        order_.erase(std::find(order_.begin(), order_.end(), id));
        // With nothing left to look at, the next series is seen whole.
        if (order_.empty()) userView_ = false;
    }
    if (!userView_) {
        fitAxes();
    } else if (rainAxisShown() && !rainBefore) {
        // A zoomed view stays; the rain axis that just appeared gets its range.
        double high = 0;
        for (const auto& [sid, p] : plotted_)
            if (results_.isRain(sid)) high = std::max(high, p.high);
        rain_ = niceRange({0.0, high > 0 ? high * RainAxisScale : 1.0}, RainTicks);
    }
    if (userView_ && depthAxisShown() && !depthBefore) depth_ = fittedDepths();
    notify();
}

void HydrographPlot::clearShown() {
    plotted_.clear();
    order_.clear();
    userView_ = false;
    fitAxes();
    notify();
}

void HydrographPlot::setTimeAxis(TimeAxis axis) {
    if (axis == timeAxis_) return;
    timeAxis_ = axis;
    resetView();
}

void HydrographPlot::resetView() {
    userView_ = false;
    fitAxes();
    notify();
}

void HydrographPlot::fitAxes() {
    const std::size_t steps = results_.steps();
    const double end = steps ? results_.hoursAt(steps - 1) : 1.0;
    x_ = {xOf(0.0), xOf(end)};

    double low = 0, high = 0, rainHigh = 0;
    bool rain = false;
    for (const auto& [id, p] : plotted_) {
        if (results_.isRain(id)) {
            rain = true;
            rainHigh = std::max(rainHigh, p.high);
        } else if (!results_.isDepth(id)) {
            low = std::min(low, p.low);
            high = std::max(high, p.high);
        }
    }
    if (!(high > low)) high = low + 1.0;
    if (rain) high = low + (high - low) * FlowRoomUnderRain;
    flow_ = niceRange({low, high}, FlowTicks);
    rain_ = niceRange({0.0, rainHigh > 0 ? rainHigh * RainAxisScale : 1.0}, RainTicks);
    depth_ = fittedDepths();
}

ValueRange HydrographPlot::fittedDepths() const {
    // From zero, as the flows, and as clear of the rain as they are.
    double low = 0, high = 0;
    bool rain = false;
    for (const auto& [id, p] : plotted_) {
        rain = rain || results_.isRain(id);
        if (!results_.isDepth(id)) continue;
        low = std::min(low, p.low);
        high = std::max(high, p.high);
    }
    if (!(high > low)) high = low + 1.0;
    if (rain) high = low + (high - low) * FlowRoomUnderRain;
    return niceRange({low, high}, FlowTicks);
}

void HydrographPlot::setCanvas(double width, double height, PlotFonts fonts) {
    width_ = std::max(1.0, width);
    height_ = std::max(1.0, height);
    fonts_ = std::move(fonts);
}

HydrographPlot::Layout HydrographPlot::layout() const {
    Layout l;
    const PlotFont& font = fonts_.label;
    l.rainShown = rainAxisShown();
    l.depthShown = depthAxisShown();

    double top = Margin;
    if (!title_.empty()) {
        l.titleBaseline = top + fonts_.title.ascent;
        top += fonts_.title.height() + 8;
    }

    // The legend under everything, in rows centred on the canvas.
    double bottom = height_ - Margin;
    if (!order_.empty()) {
        std::vector<std::vector<Layout::Entry>> rows(1);
        std::vector<double> rowWidths(1, 0.0);
        const double room = width_ - 2 * Margin;
        for (SeriesId id : order_) {
            Layout::Entry e{id, 0, 0, name(id)};
            const double w = MarkerSize + LabelGap + font.widthOf(e.text) + 18;
            if (rowWidths.back() > 0 && rowWidths.back() + w > room) {
                rows.emplace_back();
                rowWidths.push_back(0);
            }
            e.left = rowWidths.back();
            rowWidths.back() += w;
            rows.back().push_back(e);
        }
        const double rowHeight = std::max(font.height(), MarkerSize) + 4;
        bottom -= rowHeight * static_cast<double>(rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (Layout::Entry& e : rows[r]) {
                e.left += std::max(Margin, (width_ - rowWidths[r] + 18) / 2);
                e.top = bottom + rowHeight * static_cast<double>(r) + 2;
                l.legend.push_back(e);
            }
        bottom -= 6;
    }

    // Ticks first: their labels' widths set the margins.
    double xStep = 0, flowStep = 0, rainStep = 0;
    const int xTicks = std::clamp(static_cast<int>(width_ / 110), 2, 12);
    l.xTicks = timeAxis_ == TimeAxis::Clock ? clockTicks(x_, xTicks, &xStep) : niceTicks(x_, xTicks, &xStep);
    for (double t : l.xTicks) l.xLabels.push_back(timeAxis_ == TimeAxis::Clock ? clockLabel(t, xStep) : numberLabel(t, xStep));
    l.flowTicks = niceTicks(flow_, FlowTicks, &flowStep);
    double flowWidth = 0;
    for (double t : l.flowTicks) {
        l.flowLabels.push_back(numberLabel(t, flowStep));
        flowWidth = std::max(flowWidth, font.widthOf(l.flowLabels.back()));
    }
    double rainWidth = 0;
    if (l.rainShown) {
        l.rainTicks = niceTicks(rain_, RainTicks, &rainStep);
        for (double t : l.rainTicks) {
            l.rainLabels.push_back(numberLabel(t, rainStep));
            rainWidth = std::max(rainWidth, font.widthOf(l.rainLabels.back()));
        }
    }
    double depthWidth = 0, depthStep = 0;
    if (l.depthShown) {
        l.depthTicks = niceTicks(depth_, FlowTicks, &depthStep);
        for (double t : l.depthTicks) {
            l.depthLabels.push_back(numberLabel(t, depthStep));
            depthWidth = std::max(depthWidth, font.widthOf(l.depthLabels.back()));
        }
    }
    l.rainWidth = rainWidth;
    // Each axis on the right: its ticks, labels and title.
    const double rainBlock = TickLength + LabelGap + rainWidth + LabelGap + font.height();
    const double depthBlock = TickLength + LabelGap + depthWidth + LabelGap + font.height();

    const double left = Margin + font.height() + LabelGap + flowWidth + LabelGap + TickLength;
    double right = width_ - Margin;
    if (l.rainShown) right -= rainBlock;
    if (l.depthShown) right -= depthBlock + (l.rainShown ? AxisGap : 0);
    if (!l.rainShown && !l.depthShown && !l.xLabels.empty()) right -= font.widthOf(l.xLabels.back()) / 2;
    bottom -= 2 * (font.height() + LabelGap) + TickLength;
    l.area = {left, top, std::max(10.0, right - left), std::max(10.0, bottom - top)};

    l.x = {x_, l.area.left, l.area.right()};
    l.flow = {flow_, l.area.bottom(), l.area.top};
    l.rain = {rain_, l.area.top, l.area.bottom()};
    l.depth = {depth_, l.area.bottom(), l.area.top};
    l.depthAxis = l.area.right() + (l.rainShown ? rainBlock + AxisGap : 0);
    return l;
}

PlotRect HydrographPlot::plotArea() const { return layout().area; }

void HydrographPlot::zoomTo(const PlotRect& pixels) {
    if (pixels.width < 3 || pixels.height < 3) return;
    const Layout l = layout();
    const ValueRange x{l.x.value(pixels.left), l.x.value(pixels.right())};
    const ValueRange flow{l.flow.value(pixels.bottom()), l.flow.value(pixels.top)};
    const ValueRange rain{l.rain.value(pixels.top), l.rain.value(pixels.bottom())};
    const ValueRange depth{l.depth.value(pixels.bottom()), l.depth.value(pixels.top)};
    // No closer than the numbers can tell apart, and nothing beyond them.
    for (const ValueRange& r : {x, flow, rain, depth})
        if (!std::isfinite(r.low) || !std::isfinite(r.high) || !(r.span() > 1e-9 * std::max(1.0, std::abs(r.low))) ||
            r.span() > 1e12)
            return;
    x_ = x;
    flow_ = flow;
    rain_ = rain;
    depth_ = depth;
    userView_ = true;
    notify();
}

void HydrographPlot::zoom(double factor) {
    const PlotRect a = plotArea();
    zoomAbout(a.left + a.width / 2, a.top + a.height / 2, factor);
}

void HydrographPlot::zoomAbout(double x, double y, double factor) {
    if (!(factor > 0)) return;
    const PlotRect a = plotArea();
    if (!a.contains(x, y)) {
        x = a.left + a.width / 2;
        y = a.top + a.height / 2;
    }
    zoomTo({x - (x - a.left) / factor, y - (y - a.top) / factor, a.width / factor, a.height / factor});
}

void HydrographPlot::scroll(double dx, double dy) {
    PlotRect a = plotArea();
    a.left += dx;
    a.top -= dy;
    zoomTo(a);
}

std::optional<std::size_t> HydrographPlot::stepAtPoint(double x, double y) const {
    if (order_.empty() || results_.steps() == 0) return std::nullopt;
    const Layout l = layout();
    if (!l.area.contains(x, y)) return std::nullopt;
    return stepAt(l.x.value(x));
}

std::string HydrographPlot::toolTipAt(double x, double y) const {
    const std::optional<std::size_t> step = stepAtPoint(x, y);
    if (!step) return {};
    std::string text = results_.clockAt(*step) + " (" + formatted("%.6g", results_.hoursAt(*step)) + " h)";
    for (SeriesId id : order_) {
        const std::vector<double>& values = plotted_.at(id).values;
        if (*step >= values.size()) continue;
        text += "\n" + results_.label(id) + ": " + formatted("%.6g", values[*step]) + " " + results_.unit(id);
    }
    return text;
}

std::string HydrographPlot::description() const {
    std::string text = "Flow (cfs) against " +
                       std::string(timeAxis_ == TimeAxis::Hours ? "hours from the start of the storm" : "clock time");
    if (rainAxisShown()) text += ", rainfall (in/hr) hanging from the top";
    if (depthAxisShown()) text += ", depth (ft) dashed on the right";
    if (order_.empty()) return text + ". Nothing is ticked.";
    text += ". Shown: ";
    for (std::size_t i = 0; i < order_.size(); ++i) text += (i ? ", " : "") + results_.label(order_[i]);
    return text + ".";
}

std::vector<PlotPoint> HydrographPlot::decimated(const std::vector<PlotPoint>& pixels) {
    std::vector<PlotPoint> out;
    out.reserve(std::min<std::size_t>(pixels.size(), 4096));
    std::size_t i = 0;
    while (i < pixels.size()) {
        const double column = std::floor(pixels[i].x);
        std::size_t end = i + 1, low = i, high = i;
        for (; end < pixels.size() && std::floor(pixels[end].x) == column; ++end) {
            if (pixels[end].y < pixels[low].y) low = end;
            if (pixels[end].y > pixels[high].y) high = end;
        }
        if (end - i <= 2) {
            out.insert(out.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i), pixels.begin() + static_cast<std::ptrdiff_t>(end));
        } else {
            // The line's own ends stay where they are.
            std::size_t keep[] = {i == 0 ? i : std::min(low, high), std::min(low, high), std::max(low, high),
                                  end == pixels.size() ? end - 1 : std::max(low, high)};
            for (std::size_t k = 0; k < 4; ++k)
                if (k == 0 || keep[k] != keep[k - 1]) out.push_back(pixels[keep[k]]);
        }
        i = end;
    }
    return out;
}

std::vector<PlotPoint> HydrographPlot::curvePixels(SeriesId id, const Plotted& p, const Layout& l) const {
    const std::vector<double>& values = p.values;
    if (values.empty()) return {};
    // Only the steps in view, and one beyond each side so the line leaves the plot.
    const double stepHours = results_.stepMinutes() / 60.0;
    const double origin = xOf(0.0);
    const double first = std::floor((x_.low - origin) / stepHours) - 2;
    const double last = std::ceil((x_.high - origin) / stepHours) + 1;
    const double n = static_cast<double>(values.size());
    if (last < 0 || first >= n) return {};
    const auto from = static_cast<std::size_t>(std::max(0.0, first));
    const auto to = static_cast<std::size_t>(std::min(n - 1, last));
    const bool rain = results_.isRain(id);
    const LinearScale& y = rain ? l.rain : results_.isDepth(id) ? l.depth : l.flow;
    auto pixel = [&](double hours, double value) {
        return PlotPoint{clampedFar(l.x.pixel(origin + hours), l.area.left, l.area.right()),
                         clampedFar(y.pixel(value), l.area.top, l.area.bottom())};
    };
    std::vector<PlotPoint> line;
    line.reserve((to - from + 1) * (rain ? 2 : 1));
    for (std::size_t s = from; s <= to; ++s) {
        const double end = results_.hoursAt(s);
        if (rain) line.push_back(pixel(end - stepHours, values[s]));
        line.push_back(pixel(end, values[s]));
    }
    std::vector<PlotPoint> out = decimated(line);
    if (rain && !out.empty()) {
        // The bars hang from the zero line.
        const double zero = clampedFar(l.rain.pixel(0.0), l.area.top, l.area.bottom());
        const double right = out.back().x, left = out.front().x;
        out.push_back({right, zero});
        out.push_back({left, zero});
    }
    return out;
}

PlotScene HydrographPlot::scene() const {
    const Layout l = layout();
    const PlotFont& font = fonts_.label;
    PlotScene scene;
    scene.width = width_;
    scene.height = height_;
    scene.plotArea = l.area;
    auto& items = scene.items;
    const PlotRect& a = l.area;

    items.push_back(SceneRect{{0, 0, width_, height_}, White});
    // The grid: the time ticks and the flow axis' ticks (a second grid at
    // the rain's heights would only confuse).
    for (double t : l.xTicks) items.push_back(SceneLine{{l.x.pixel(t), a.top}, {l.x.pixel(t), a.bottom()}, GridColour});
    for (double t : l.flowTicks) items.push_back(SceneLine{{a.left, l.flow.pixel(t)}, {a.right(), l.flow.pixel(t)}, GridColour});

    // Bars behind the lines, every series in the order ticked.
    for (bool rain : {true, false})
        for (SeriesId id : order_) {
            if (results_.isRain(id) != rain) continue;
            const Plotted& p = plotted_.at(id);
            ScenePath path;
            path.points = curvePixels(id, p, l);
            path.stroke = p.colour;
            if (rain) {
                path.closed = true;
                path.fill = p.colour;
                path.fill.a = 110;
                path.strokeWidth = 1;
            } else {
                path.strokeWidth = 2;
                path.dashed = results_.isDepth(id);
            }
            if (!path.points.empty()) items.push_back(std::move(path));
        }
    items.push_back(SceneRect{a, {0, 0, 0, 0}, FrameColour, 1});

    // The axes: ticks, their labels and the titles.
    const double lift = (font.ascent - font.descent) / 2;  // centres a label on its tick
    double lastRight = -1e300;
    for (std::size_t i = 0; i < l.xTicks.size(); ++i) {
        const double x = l.x.pixel(l.xTicks[i]);
        items.push_back(SceneLine{{x, a.bottom()}, {x, a.bottom() + TickLength}, FrameColour});
        const double w = font.widthOf(l.xLabels[i]);
        if (x - w / 2 < lastRight + 6) continue;  // no label over another
        lastRight = x + w / 2;
        items.push_back(SceneText{{x, a.bottom() + TickLength + LabelGap / 2 + font.ascent}, l.xLabels[i], SceneText::Align::Middle,
                                  SceneText::Font::Label, 0, TextColour});
    }
    items.push_back(SceneText{{a.left + a.width / 2, a.bottom() + TickLength + font.height() + 1.5 * LabelGap + font.ascent},
                              xTitle(), SceneText::Align::Middle, SceneText::Font::Label, 0, TextColour});
    for (std::size_t i = 0; i < l.flowTicks.size(); ++i) {
        const double y = l.flow.pixel(l.flowTicks[i]);
        items.push_back(SceneLine{{a.left - TickLength, y}, {a.left, y}, FrameColour});
        items.push_back(SceneText{{a.left - TickLength - LabelGap, y + lift}, l.flowLabels[i], SceneText::Align::End,
                                  SceneText::Font::Label, 0, TextColour});
    }
    items.push_back(SceneText{{Margin + font.ascent, a.top + a.height / 2}, flowTitle(), SceneText::Align::Middle,
                              SceneText::Font::Label, -90, TextColour});
    if (l.rainShown) {
        for (std::size_t i = 0; i < l.rainTicks.size(); ++i) {
            const double y = l.rain.pixel(l.rainTicks[i]);
            items.push_back(SceneLine{{a.right(), y}, {a.right() + TickLength, y}, FrameColour});
            items.push_back(SceneText{{a.right() + TickLength + LabelGap, y + lift}, l.rainLabels[i], SceneText::Align::Start,
                                      SceneText::Font::Label, 0, TextColour});
        }
        // The outermost title keeps to the margin; with the depths beyond
        // it, the rain's title closes its own labels.
        const double titleX = l.depthShown ? a.right() + TickLength + LabelGap + l.rainWidth + LabelGap + font.descent
                                           : width_ - Margin - font.ascent;
        items.push_back(SceneText{{titleX, a.top + a.height / 2}, rainTitle(), SceneText::Align::Middle,
                                  SceneText::Font::Label, 90, TextColour});
    }
    if (l.depthShown) {
        const double x = l.depthAxis;
        if (l.rainShown) items.push_back(SceneLine{{x, a.top}, {x, a.bottom()}, FrameColour});
        for (std::size_t i = 0; i < l.depthTicks.size(); ++i) {
            const double y = l.depth.pixel(l.depthTicks[i]);
            items.push_back(SceneLine{{x, y}, {x + TickLength, y}, FrameColour});
            items.push_back(SceneText{{x + TickLength + LabelGap, y + lift}, l.depthLabels[i], SceneText::Align::Start,
                                      SceneText::Font::Label, 0, TextColour});
        }
        items.push_back(SceneText{{width_ - Margin - font.ascent, a.top + a.height / 2}, depthTitle(), SceneText::Align::Middle,
                                  SceneText::Font::Label, 90, TextColour});
    }

    if (!title_.empty())
        items.push_back(SceneText{{width_ / 2, l.titleBaseline}, title_, SceneText::Align::Middle, SceneText::Font::Title, 0, TextColour});

    for (const Layout::Entry& e : l.legend) {
        const Plotted& p = plotted_.at(e.id);
        Rgba fill = p.colour;
        if (results_.isRain(e.id)) fill.a = 110;
        if (results_.isDepth(e.id)) fill = White;  // an open marker: a dashed line
        const double rowHeight = std::max(font.height(), MarkerSize);
        items.push_back(SceneRect{{e.left, e.top + (rowHeight - MarkerSize) / 2, MarkerSize, MarkerSize}, fill, p.colour, 1});
        items.push_back(SceneText{{e.left + MarkerSize + LabelGap, e.top + rowHeight / 2 + lift}, e.text, SceneText::Align::Start,
                                  SceneText::Font::Label, 0, TextColour});
    }
    return scene;
}

}  // namespace rillo::results
