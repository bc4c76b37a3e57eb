#include "HydrographChart.h"

#include <QAreaSeries>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rillo::results {

namespace {

// The bars of the rain take the top third of the plot, the flows keep
// clear of them below.
constexpr double RainAxisScale = 3.0;
constexpr double FlowRoomUnderRain = 1.6;

/// Midnight of the day the storm starts, on the clock axis (any day serves:
/// the axis shows times of day only).
qint64 clockOrigin() { return QDateTime(QDate(2000, 1, 3), QTime(0, 0)).toMSecsSinceEpoch(); }

}  // namespace

HydrographChart::HydrographChart(const RunResults& results)
    : results_(results),
      hours_(new QValueAxis(this)),
      clock_(new QDateTimeAxis(this)),
      flow_(new QValueAxis(this)),
      rain_(new QValueAxis(this)) {
    hours_->setTitleText(QStringLiteral("Time (hours from the start of the storm)"));
    hours_->setLabelFormat(QStringLiteral("%.4g"));
    clock_->setTitleText(QStringLiteral("Clock time"));
    clock_->setFormat(QStringLiteral("HH:mm"));
    flow_->setTitleText(QStringLiteral("Flow (cfs)"));
    flow_->setLabelFormat(QStringLiteral("%.5g"));
    rain_->setTitleText(QStringLiteral("Rainfall (in/hr)"));
    rain_->setLabelFormat(QStringLiteral("%.3g"));
    rain_->setReverse(true);
    // The flow axis draws the grid; a second grid at other heights would only confuse.
    rain_->setGridLineVisible(false);
    rain_->setMinorGridLineVisible(false);
    addAxis(hours_, Qt::AlignBottom);
    addAxis(clock_, Qt::AlignBottom);
    addAxis(flow_, Qt::AlignLeft);
    addAxis(rain_, Qt::AlignRight);
    clock_->setVisible(false);
    rain_->setVisible(false);
    legend()->setAlignment(Qt::AlignBottom);
    fitAxes();
}

QAbstractAxis* HydrographChart::xAxis() const {
    return timeAxis_ == TimeAxis::Hours ? static_cast<QAbstractAxis*>(hours_) : static_cast<QAbstractAxis*>(clock_);
}

qreal HydrographChart::xOf(double hours) const {
    if (timeAxis_ == TimeAxis::Hours) return hours;
    return static_cast<qreal>(clockOrigin()) + (results_.startMinuteOfDay() * 60.0 + hours * 3600.0) * 1000.0;
}

std::size_t HydrographChart::stepAt(qreal x) const {
    const std::size_t steps = results_.steps();
    if (steps == 0) return 0;
    double hours = x;
    if (timeAxis_ == TimeAxis::Clock)
        hours = (x - static_cast<double>(clockOrigin())) / 3.6e6 - results_.startMinuteOfDay() / 60.0;
    const double step = std::round(hours * 60.0 / results_.stepMinutes()) - 1.0;
    if (!(step > 0)) return 0;
    return std::min(steps - 1, static_cast<std::size_t>(step));
}

QXYSeries* HydrographChart::curve(SeriesId id) const {
    auto it = plotted_.find(id);
    return it == plotted_.end() ? nullptr : it->second.curve;
}

HydrographChart::Plotted HydrographChart::plot(SeriesId id) {
    Plotted p;
    const QString name = QString::fromStdString(results_.label(id) + " (" + results_.unit(id) + ")");
    const std::vector<double> values = results_.values(id);
    if (!values.empty()) {
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        p.low = *low;
        p.high = *high;
    }
    if (results_.isRain(id)) {
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        auto* area = new QAreaSeries(upper, lower);
        upper->setParent(area);
        lower->setParent(area);
        area->setName(name);
        // A rain series after the first gets the next colour of the theme but
        // stays see-through, so bars of several hyetographs show together.
        QColor colour = QColor(40, 70, 150);
        const int rainShown = static_cast<int>(std::count_if(order_.begin(), order_.end(), [&](SeriesId s) { return results_.isRain(s); }));
        colour.setHsv((colour.hue() + 47 * rainShown) % 360, colour.saturation(), colour.value());
        QColor fill = colour;
        fill.setAlpha(110);
        area->setBrush(fill);
        area->setPen(QPen(colour, 1));
        addSeries(area);
        p.series = area;
        p.curve = upper;
        area->attachAxis(xAxis());
        area->attachAxis(rain_);
    } else {
        auto* line = new QLineSeries;
        line->setName(name);
        addSeries(line);
        p.series = line;
        p.curve = line;
        line->attachAxis(xAxis());
        line->attachAxis(flow_);
    }
    return p;
}

void HydrographChart::fillCurve(SeriesId id, const Plotted& p) {
    const std::vector<double> values = results_.values(id);
    QList<QPointF> points;
    if (results_.isRain(id)) {
        // Each intensity holds through its step: a bar from the step's start to its end.
        const double stepHours = results_.stepMinutes() / 60.0;
        points.reserve(static_cast<qsizetype>(values.size() * 2));
        for (std::size_t s = 0; s < values.size(); ++s) {
            points.append(QPointF(xOf(results_.hoursAt(s) - stepHours), values[s]));
            points.append(QPointF(xOf(results_.hoursAt(s)), values[s]));
        }
        auto* area = static_cast<QAreaSeries*>(p.series);
        const double end = values.empty() ? 0.0 : results_.hoursAt(values.size() - 1);
        area->lowerSeries()->replace(QList<QPointF>{QPointF(xOf(0.0), 0.0), QPointF(xOf(end), 0.0)});
    } else {
        points.reserve(static_cast<qsizetype>(values.size()));
        for (std::size_t s = 0; s < values.size(); ++s) points.append(QPointF(xOf(results_.hoursAt(s)), values[s]));
    }
    p.curve->replace(points);
}

void HydrographChart::setShown(SeriesId id, bool shown) {
    if (shown == isShown(id)) return;
    const bool rainBefore = rain_->isVisible();
    if (shown) {
        const Plotted p = plot(id);
        fillCurve(id, p);
        plotted_[id] = p;
        order_.push_back(id);
    } else {
        QAbstractSeries* series = plotted_[id].series;
        plotted_.erase(id);
        order_.erase(std::find(order_.begin(), order_.end(), id));
        removeSeries(series);
        delete series;
        // With nothing left to look at, the next series is seen whole.
        if (order_.empty()) userView_ = false;
    }
    if (!userView_) {
        fitAxes();
        return;
    }
    // A zoomed view stays; the rain axis that just appeared gets its range.
    const bool rainNow = std::any_of(order_.begin(), order_.end(), [&](SeriesId s) { return results_.isRain(s); });
    rain_->setVisible(rainNow);
    if (rainNow && !rainBefore) {
        double high = 0;
        for (const auto& [sid, p] : plotted_)
            if (results_.isRain(sid)) high = std::max(high, p.high);
        rain_->setRange(0, high > 0 ? high * RainAxisScale : 1.0);
    }
}

void HydrographChart::clearShown() {
    for (SeriesId id : std::vector<SeriesId>(order_)) setShown(id, false);
}

void HydrographChart::setTimeAxis(TimeAxis axis) {
    if (axis == timeAxis_) return;
    QAbstractAxis* before = xAxis();
    timeAxis_ = axis;
    QAbstractAxis* after = xAxis();
    for (const auto& [id, p] : plotted_) {
        p.series->detachAxis(before);
        p.series->attachAxis(after);
        fillCurve(id, p);
    }
    before->setVisible(false);
    after->setVisible(true);
    resetView();
}

void HydrographChart::resetView() {
    userView_ = false;
    fitAxes();
}

void HydrographChart::fitAxes() {
    const std::size_t steps = results_.steps();
    const double end = steps ? results_.hoursAt(steps - 1) : 1.0;
    if (timeAxis_ == TimeAxis::Hours)
        hours_->setRange(0.0, end);
    else
        clock_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(xOf(0.0))),
                         QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(xOf(end))));

    double low = 0, high = 0, rainHigh = 0;
    bool rain = false;
    for (const auto& [id, p] : plotted_) {
        if (results_.isRain(id)) {
            rain = true;
            rainHigh = std::max(rainHigh, p.high);
        } else {
            low = std::min(low, p.low);
            high = std::max(high, p.high);
        }
    }
    if (!(high > low)) high = low + 1.0;
    if (rain) high = low + (high - low) * FlowRoomUnderRain;
    // The same counts every time, so the same series always get the same axes.
    flow_->setTickCount(7);
    flow_->setRange(low, high);
    flow_->applyNiceNumbers();
    rain_->setVisible(rain);
    if (rain) {
        rain_->setTickCount(5);
        rain_->setRange(0.0, rainHigh > 0 ? rainHigh * RainAxisScale : 1.0);
        rain_->applyNiceNumbers();
    }
}

}  // namespace rillo::results
