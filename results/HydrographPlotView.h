#pragma once
// The window's view of the hydrograph plot, painted with QPainter: drag a
// rectangle to zoom in, the right button zooms out, the wheel zooms about
// the pointer, the middle button (or Shift with the left) drags the plot
// along, the arrow keys pan, + and - zoom, Home resets, Escape drops a
// rectangle being dragged. Resting the pointer
// on the plot shows the time and the values there.

#include "HydrographPlot.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class QPainter;
class QRubberBand;

namespace rillo::results {

class HydrographPlotView : public QWidget {
    Q_OBJECT
public:
    /// `results` must outlive the view.
    explicit HydrographPlotView(const RunResults& results, QWidget* parent = nullptr);

    HydrographPlot& plot() { return plot_; }
    const HydrographPlot& plot() const { return plot_; }

    /// The tooltip text for a point of the view: the time and the value of
    /// every shown series at the step nearest to it; empty outside the plot.
    QString toolTipAt(const QPointF& point) const;
    /// How to zoom and pan, shown when the pointer rests off the plot.
    static QString helpText();

    /// Zooms about a point of the view by a factor (above 1 zooms in).
    void zoomAbout(const QPointF& point, qreal factor);
    void resetView() { plot_.resetView(); }

    /// The plot as the view shows it, at its size and pixel density.
    QImage image() const;
    /// The plot as an SVG drawing of the view's size; throws
    /// std::runtime_error when the file cannot be written.
    void writeSvg(const std::string& path, const std::string& title) const;

    /// Paints a scene laid out with `fonts(font)`.
    static void paintScene(QPainter& painter, const PlotScene& scene, const QFont& font);
    /// The plot's fonts measured from a widget font: labels in it, the title
    /// larger and bold.
    static PlotFonts fonts(const QFont& font);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void changed();
    void updateCanvas();

    HydrographPlot plot_;
    QRubberBand* band_ = nullptr;
    QPoint bandFrom_;
    bool banding_ = false;
    bool panning_ = false;
    QPointF panFrom_;
};

}  // namespace rillo::results
