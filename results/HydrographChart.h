#pragma once
// The hydrograph plot of a run: flows (cfs) against time on the left axis,
// rain hyetographs as bars hanging from the top on a second, inverted axis
// on the right, as hydrologists draw them. Time runs in hours from the start
// of the storm or in clock time.

#include "RunResults.h"

#include <QChart>

#include <map>
#include <vector>

class QAbstractAxis;
class QAbstractSeries;
class QDateTimeAxis;
class QValueAxis;
class QXYSeries;

namespace rillo::results {

class HydrographChart : public QChart {
    Q_OBJECT
public:
    enum class TimeAxis { Hours, Clock };

    /// `results` must outlive the chart.
    explicit HydrographChart(const RunResults& results);

    const RunResults& results() const { return results_; }

    /// Plots or removes a series. Unless the user has zoomed or panned, the
    /// axes then fit everything shown.
    void setShown(SeriesId id, bool shown);
    bool isShown(SeriesId id) const { return plotted_.count(id) != 0; }
    /// The series shown, in the order they were ticked.
    const std::vector<SeriesId>& shown() const { return order_; }
    void clearShown();
    /// The plotted curve of a series: its line, or for rain the upper line of
    /// its bars; nullptr when not shown.
    QXYSeries* curve(SeriesId id) const;

    void setTimeAxis(TimeAxis axis);
    TimeAxis timeAxis() const { return timeAxis_; }
    QAbstractAxis* xAxis() const;
    QValueAxis* flowAxis() const { return flow_; }
    QValueAxis* rainAxis() const { return rain_; }

    /// The x value of a time in hours from the start.
    qreal xOf(double hours) const;
    /// The step whose end lies nearest to an x value.
    std::size_t stepAt(qreal x) const;

    /// The axes fit everything shown again.
    void resetView();
    /// Set by zooming and panning: ticking a series then keeps the view.
    void setUserView(bool user) { userView_ = user; }
    bool userView() const { return userView_; }

private:
    struct Plotted {
        QAbstractSeries* series = nullptr;
        QXYSeries* curve = nullptr;
        double low = 0;
        double high = 0;
    };
    Plotted plot(SeriesId id);
    void fillCurve(SeriesId id, const Plotted& p);
    void fitAxes();

    const RunResults& results_;
    std::map<SeriesId, Plotted> plotted_;
    std::vector<SeriesId> order_;
    TimeAxis timeAxis_ = TimeAxis::Hours;
    QValueAxis* hours_;
    QDateTimeAxis* clock_;
    QValueAxis* flow_;
    QValueAxis* rain_;
    bool userView_ = false;
};

}  // namespace rillo::results
