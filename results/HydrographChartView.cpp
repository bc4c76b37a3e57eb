#include "HydrographChartView.h"

#include "HydrographChart.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QXYSeries>

namespace rillo::results {

namespace {

/// Assistive technology sees the plot as a chart, not as a bare client area.
QAccessibleInterface* chartAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(HydrographChartView::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
    return nullptr;
}

}  // namespace

HydrographChartView::HydrographChartView(HydrographChart* chart, QWidget* parent)
    : QChartView(chart, parent), chart_(chart) {
    static const bool described = (QAccessible::installFactory(chartAccessible), true);
    (void)described;
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QString HydrographChartView::helpText() {
    return QStringLiteral("Drag to zoom in, right-click to zoom out, wheel to zoom, middle button or "
                          "Shift+drag to pan, Home to reset");
}

bool HydrographChartView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The pointer rests: the values under it, or how to move about.
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt(help->pos());
        QToolTip::showText(help->globalPos(), text.isEmpty() ? helpText() : text, viewport());
        return true;
    }
    return QChartView::viewportEvent(event);
}

QString HydrographChartView::toolTipAt(const QPointF& viewPoint) const {
    const auto& shown = chart_->shown();
    const QPointF scenePoint = mapToScene(viewPoint.toPoint());
    const QPointF chartPoint = chart_->mapFromScene(scenePoint);
    if (shown.empty() || !chart_->plotArea().contains(chartPoint)) return {};
    // Every plotted series shares the time axis; the chart maps only through
    // series it holds (a rain curve is the edge of its bars, not held itself).
    const qreal x = chart_->mapToValue(chartPoint, chart_->series().constFirst()).x();
    const std::size_t step = chart_->stepAt(x);
    const RunResults& results = chart_->results();
    QString text = QStringLiteral("%1 (%2 h)")
                       .arg(QString::fromStdString(results.clockAt(step)))
                       .arg(results.hoursAt(step), 0, 'g', 6);
    for (SeriesId id : shown) {
        const double value = results.hydrographs(id.file).data->value(step, id.column);
        text += QStringLiteral("\n%1: %2 %3")
                    .arg(QString::fromStdString(results.label(id)))
                    .arg(value, 0, 'g', 6)
                    .arg(QString::fromStdString(results.unit(id)));
    }
    return text;
}

void HydrographChartView::zoomAbout(const QPointF& viewPoint, qreal factor) {
    if (factor <= 0) return;
    const QPointF centre = chart_->mapFromScene(mapToScene(viewPoint.toPoint()));
    const QRectF area = chart_->plotArea();
    if (!area.contains(centre)) {
        chart_->zoom(factor);
    } else {
        const QSizeF size = area.size() / factor;
        const QPointF topLeft(centre.x() - (centre.x() - area.left()) / factor,
                              centre.y() - (centre.y() - area.top()) / factor);
        chart_->zoomIn(QRectF(topLeft, size));
    }
    chart_->setUserView(true);
}

void HydrographChartView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return QChartView::wheelEvent(event);
    zoomAbout(event->position(), delta > 0 ? 1.25 : 0.8);
    event->accept();
}

void HydrographChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier))) {
        panning_ = true;
        panFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void HydrographChartView::mouseMoveEvent(QMouseEvent* event) {
    if (panning_) {
        const QPointF delta = event->position() - panFrom_;
        panFrom_ = event->position();
        chart_->scroll(-delta.x(), delta.y());
        chart_->setUserView(true);
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton) {
        const QString text = toolTipAt(event->position());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPosition().toPoint(), text, viewport());
    }
}

void HydrographChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_) {
        panning_ = false;
        unsetCursor();
        event->accept();
        return;
    }
    // The rubber band and the right button zoom: the view is the user's now.
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) chart_->setUserView(true);
    QChartView::mouseReleaseEvent(event);
}

void HydrographChartView::keyPressEvent(QKeyEvent* event) {
    const qreal stepX = chart_->plotArea().width() / 10;
    const qreal stepY = chart_->plotArea().height() / 10;
    switch (event->key()) {
    case Qt::Key_Left: chart_->scroll(-stepX, 0); break;
    case Qt::Key_Right: chart_->scroll(stepX, 0); break;
    case Qt::Key_Up: chart_->scroll(0, stepY); break;
    case Qt::Key_Down: chart_->scroll(0, -stepY); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: chart_->zoom(1.25); break;
    case Qt::Key_Minus: chart_->zoom(0.8); break;
    case Qt::Key_Home: chart_->resetView(); return;
    default: QChartView::keyPressEvent(event); return;
    }
    chart_->setUserView(true);
}

}  // namespace rillo::results
