#pragma once
// The view of the hydrograph plot: drag a rectangle to zoom in, the right
// button zooms out, the wheel zooms about the pointer, the middle button (or
// Shift with the left) drags the plot along, the arrow keys pan, Home resets.
// Resting the pointer on the plot shows the time and the values there.

#include <QChartView>

namespace rillo::results {

class HydrographChart;

class HydrographChartView : public QChartView {
    Q_OBJECT
public:
    /// Takes ownership of the chart.
    explicit HydrographChartView(HydrographChart* chart, QWidget* parent = nullptr);

    HydrographChart* hydrographChart() const { return chart_; }

    /// The tooltip text for a point of the view: the time and the value of
    /// every shown series at the step nearest to it; empty outside the plot.
    QString toolTipAt(const QPointF& viewPoint) const;

    /// How to zoom and pan, shown when the pointer rests off the plot.
    static QString helpText();

    /// Zooms about a point of the view by a factor (above 1 zooms in).
    void zoomAbout(const QPointF& viewPoint, qreal factor);

protected:
    bool viewportEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    HydrographChart* chart_;
    bool panning_ = false;
    QPointF panFrom_;
};

}  // namespace rillo::results
