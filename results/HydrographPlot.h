#pragma once
// The hydrograph plot of a run, apart from painting: flows (cfs) against
// time on the left axis, rain hyetographs as bars hanging from the top on a
// second, inverted axis on the right, as hydrologists draw them, and
// depths (ft) as dashed lines on an axis of their own on the right, beyond
// the rain's when both are shown. Time runs
// in hours from the start of the storm or in clock time. It keeps what is
// shown and the view (zoom and pan), lays the plot out on a canvas, and
// answers what lies under a point of it. Plain C++: a window paints its
// scene, the SVG writer writes it.

#include "PlotScale.h"
#include "PlotScene.h"
#include "RunResults.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rillo::results {

class HydrographPlot {
public:
    enum class TimeAxis { Hours, Clock };

    /// `results` must outlive the plot.
    explicit HydrographPlot(const RunResults& results);

    const RunResults& results() const { return results_; }

    /// Called after every change of what is shown or of the view.
    void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

    /// Plots or removes a series. Unless the user has zoomed or panned, the
    /// axes then fit everything shown.
    void setShown(SeriesId id, bool shown);
    bool isShown(SeriesId id) const { return plotted_.count(id) != 0; }
    /// The series shown, in the order they were ticked.
    const std::vector<SeriesId>& shown() const { return order_; }
    void clearShown();
    /// A shown series in axis values: (time, flow) at the end of each step;
    /// for rain the start and end of each step's bar. Empty when not shown.
    std::vector<PlotPoint> points(SeriesId id) const;
    /// The colour a shown series is drawn in.
    Rgba colour(SeriesId id) const;
    /// The legend's name of a series: "Element 101 (cfs)".
    std::string name(SeriesId id) const;

    void setTitle(std::string title);
    const std::string& title() const { return title_; }

    void setTimeAxis(TimeAxis axis);
    TimeAxis timeAxis() const { return timeAxis_; }
    /// The x value of a time in hours from the start: the same hours, or on
    /// the clock axis hours after midnight of the day the storm starts.
    double xOf(double hours) const;
    /// The step whose end lies nearest to an x value.
    std::size_t stepAt(double x) const;

    /// The ranges the axes show.
    ValueRange xRange() const { return x_; }
    ValueRange flowRange() const { return flow_; }
    /// The rain axis runs downwards from its low end at the top.
    ValueRange rainRange() const { return rain_; }
    bool rainAxisShown() const;
    ValueRange depthRange() const { return depth_; }
    bool depthAxisShown() const;
    std::string xTitle() const;
    static std::string flowTitle() { return "Flow (cfs)"; }
    static std::string rainTitle() { return "Rainfall (in/hr)"; }
    static std::string depthTitle() { return "Depth (ft)"; }

    /// The axes fit everything shown again.
    void resetView();
    /// Set by zooming and panning: ticking a series then keeps the view.
    bool userView() const { return userView_; }

    /// The canvas the plot is laid out on (a window's size, in pixels).
    void setCanvas(double width, double height, PlotFonts fonts);
    double canvasWidth() const { return width_; }
    double canvasHeight() const { return height_; }
    /// Where the curves are drawn on the canvas.
    PlotRect plotArea() const;

    /// The view shows what lies in a rectangle of the canvas (the rubber
    /// band); one thinner or lower than 3 pixels is ignored.
    void zoomTo(const PlotRect& pixels);
    /// Zooms about the middle of the plot (a factor above 1 zooms in).
    void zoom(double factor);
    /// Zooms about a point of the canvas; off the plot, about its middle.
    void zoomAbout(double x, double y, double factor);
    /// Moves the view by pixels: right and up for positive distances.
    void scroll(double dx, double dy);

    /// The step under a point of the canvas; none off the plot or when
    /// nothing is shown.
    std::optional<std::size_t> stepAtPoint(double x, double y) const;
    /// The time there and the value of every shown series at that step;
    /// empty off the plot.
    std::string toolTipAt(double x, double y) const;
    /// What the plot shows, in a sentence for assistive technology.
    std::string description() const;

    /// Everything drawn, laid out on the canvas.
    PlotScene scene() const;

    /// Reduces a polyline, sorted by x, to its lowest and highest point in
    /// each pixel column, in their order (and its own first and last), which
    /// draws as the whole line does at that width.
    static std::vector<PlotPoint> decimated(const std::vector<PlotPoint>& pixels);

private:
    struct Plotted {
        std::vector<double> values;
        double low = 0;
        double high = 0;
        Rgba colour;
    };
    struct Layout;
    Layout layout() const;
    void fitAxes();
    /// The depth axis' range for the depths shown.
    ValueRange fittedDepths() const;
    void notify();
    std::vector<PlotPoint> curvePixels(SeriesId id, const Plotted& p, const Layout& l) const;

    const RunResults& results_;
    std::map<SeriesId, Plotted> plotted_;
    std::vector<SeriesId> order_;
    std::string title_;
    TimeAxis timeAxis_ = TimeAxis::Hours;
    ValueRange x_;
    ValueRange flow_;
    ValueRange rain_;
    ValueRange depth_;
    bool userView_ = false;
    double width_ = 640;
    double height_ = 480;
    PlotFonts fonts_ = PlotFonts::estimated();
    std::function<void()> changed_;
};

}  // namespace rillo::results
