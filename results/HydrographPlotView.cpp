#include "HydrographPlotView.h"

#include "PlotSvg.h"

#include <QAccessibleWidget>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRubberBand>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <memory>

namespace rillo::results {

namespace {

/// Assistive technology sees the plot as a chart, not as a bare client area.
QAccessibleInterface* chartAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(HydrographPlotView::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
    return nullptr;
}

QColor qColour(const Rgba& c) { return QColor(c.r, c.g, c.b, c.a); }

QFont titleFont(const QFont& font) {
    QFont title = font;
    if (font.pixelSize() > 0)
        title.setPixelSize(font.pixelSize() * 5 / 4);
    else
        title.setPointSizeF(font.pointSizeF() * 1.25);
    title.setBold(true);
    return title;
}

PlotFont measured(const QFont& font) {
    const auto metrics = std::make_shared<QFontMetricsF>(font);
    PlotFont out;
    out.family = font.family().toStdString() + ", sans-serif";
    // The size the text is measured at, so a drawing's text fits its layout.
    out.pixelSize = QFontInfo(font).pixelSize();
    out.bold = font.bold();
    out.ascent = metrics->ascent();
    out.descent = metrics->descent();
    out.width = [metrics](const std::string& text) { return metrics->horizontalAdvance(QString::fromStdString(text)); };
    return out;
}

}  // namespace

HydrographPlotView::HydrographPlotView(const RunResults& results, QWidget* parent)
    : QWidget(parent), plot_(results), band_(new QRubberBand(QRubberBand::Rectangle, this)) {
    static const bool described = (QAccessible::installFactory(chartAccessible), true);
    (void)described;
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateCanvas();
    plot_.setChanged([this] { changed(); });
    changed();
}

QString HydrographPlotView::helpText() {
    return QStringLiteral("Drag to zoom in, right-click to zoom out, wheel to zoom, middle button or "
                          "Shift+drag to pan, Home to reset");
}

PlotFonts HydrographPlotView::fonts(const QFont& font) { return {measured(font), measured(titleFont(font))}; }

void HydrographPlotView::changed() {
    setAccessibleDescription(QString::fromStdString(plot_.description()));
    update();
}

void HydrographPlotView::updateCanvas() { plot_.setCanvas(width(), height(), fonts(font())); }

void HydrographPlotView::resizeEvent(QResizeEvent* event) {
    updateCanvas();
    QWidget::resizeEvent(event);
}

void HydrographPlotView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateCanvas();
        update();
    }
    QWidget::changeEvent(event);
}

void HydrographPlotView::paintScene(QPainter& painter, const PlotScene& scene, const QFont& font) {
    const QFont title = titleFont(font);
    const QFontMetricsF labelMetrics(font), titleMetrics(title);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(scene.plotArea.left, scene.plotArea.top, scene.plotArea.width, scene.plotArea.height);
    for (const SceneItem& item : scene.items) {
        if (const auto* r = std::get_if<SceneRect>(&item)) {
            painter.setPen(r->stroke.a ? QPen(qColour(r->stroke), r->strokeWidth) : QPen(Qt::NoPen));
            painter.setBrush(r->fill.a ? QBrush(qColour(r->fill)) : QBrush(Qt::NoBrush));
            // A one-pixel outline sits on the pixel centres: crisp, not smeared.
            const double inset = r->stroke.a ? 0.5 : 0.0;
            painter.drawRect(QRectF(r->rect.left + inset, r->rect.top + inset, r->rect.width - 2 * inset, r->rect.height - 2 * inset));
        } else if (const auto* l = std::get_if<SceneLine>(&item)) {
            painter.setPen(QPen(qColour(l->colour), l->width));
            painter.drawLine(QPointF(l->from.x, l->from.y), QPointF(l->to.x, l->to.y));
        } else if (const auto* p = std::get_if<ScenePath>(&item)) {
            QPolygonF polygon;
            polygon.reserve(static_cast<qsizetype>(p->points.size()));
            for (const PlotPoint& point : p->points) polygon << QPointF(point.x, point.y);
            painter.save();
            if (p->clipped) painter.setClipRect(area);
            QPen pen(qColour(p->stroke), p->strokeWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            if (p->dashed) pen.setDashPattern({4, 2});  // in units of the pen's width
            painter.setPen(pen);
            if (p->closed) {
                painter.setBrush(qColour(p->fill));
                painter.drawPolygon(polygon);
            } else {
                painter.drawPolyline(polygon);
            }
            painter.restore();
        } else if (const auto* t = std::get_if<SceneText>(&item)) {
            const bool isTitle = t->font == SceneText::Font::Title;
            painter.setFont(isTitle ? title : font);
            const QString text = QString::fromStdString(t->text);
            const double w = (isTitle ? titleMetrics : labelMetrics).horizontalAdvance(text);
            const double dx = t->align == SceneText::Align::Start ? 0.0 : t->align == SceneText::Align::Middle ? -w / 2 : -w;
            painter.setPen(qColour(t->colour));
            painter.save();
            painter.translate(t->at.x, t->at.y);
            painter.rotate(t->angle);
            painter.drawText(QPointF(dx, 0), text);
            painter.restore();
        }
    }
}

void HydrographPlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const PlotScene scene = plot_.scene();
    paintScene(painter, scene, font());
    if (hasFocus()) {
        // The keys work on the plot now: say so, as a focused control does.
        QStyleOptionFocusRect option;
        option.initFrom(this);
        const PlotRect& a = scene.plotArea;
        option.rect = QRectF(a.left, a.top, a.width, a.height).toAlignedRect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void HydrographPlotView::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void HydrographPlotView::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

QImage HydrographPlotView::image() const {
    const qreal ratio = devicePixelRatioF();
    QImage picture(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    paintScene(painter, plot_.scene(), font());
    painter.end();
    return picture;
}

void HydrographPlotView::writeSvg(const std::string& path, const std::string& title) const {
    writePlotSvgFile(path, plot_.scene(), fonts(font()), title);
}

bool HydrographPlotView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The pointer rests: the values under it, or how to move about.
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt(help->pos());
        QToolTip::showText(help->globalPos(), text.isEmpty() ? helpText() : text, this);
        return true;
    }
    return QWidget::event(event);
}

QString HydrographPlotView::toolTipAt(const QPointF& point) const {
    return QString::fromStdString(plot_.toolTipAt(point.x(), point.y()));
}

void HydrographPlotView::zoomAbout(const QPointF& point, qreal factor) { plot_.zoomAbout(point.x(), point.y(), factor); }

void HydrographPlotView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return QWidget::wheelEvent(event);
    zoomAbout(event->position(), delta > 0 ? 1.25 : 0.8);
    event->accept();
}

void HydrographPlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier))) {
        panning_ = true;
        panFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        const PlotRect a = plot_.plotArea();
        if (a.contains(event->position().x(), event->position().y())) {
            banding_ = true;
            bandFrom_ = event->position().toPoint();
            band_->setGeometry(QRect(bandFrom_, QSize()));
            band_->show();
        }
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void HydrographPlotView::mouseMoveEvent(QMouseEvent* event) {
    if (panning_) {
        const QPointF delta = event->position() - panFrom_;
        panFrom_ = event->position();
        plot_.scroll(-delta.x(), delta.y());
        event->accept();
        return;
    }
    if (banding_) {
        // The band stays within the plot.
        const PlotRect a = plot_.plotArea();
        const QPoint to(static_cast<int>(std::clamp(event->position().x(), a.left, a.right())),
                        static_cast<int>(std::clamp(event->position().y(), a.top, a.bottom())));
        band_->setGeometry(QRect(bandFrom_, to).normalized());
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        const QString text = toolTipAt(event->position());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
    QWidget::mouseMoveEvent(event);
}

void HydrographPlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panning_ = false;
        unsetCursor();
        event->accept();
        return;
    }
    if (banding_ && event->button() == Qt::LeftButton) {
        banding_ = false;
        band_->hide();
        const QRect r = band_->geometry();
        plot_.zoomTo({static_cast<double>(r.left()), static_cast<double>(r.top()), static_cast<double>(r.width()),
                      static_cast<double>(r.height())});
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        plot_.zoom(0.5);
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void HydrographPlotView::keyPressEvent(QKeyEvent* event) {
    const PlotRect a = plot_.plotArea();
    const double stepX = a.width / 10, stepY = a.height / 10;
    switch (event->key()) {
    case Qt::Key_Left: plot_.scroll(-stepX, 0); break;
    case Qt::Key_Right: plot_.scroll(stepX, 0); break;
    case Qt::Key_Up: plot_.scroll(0, stepY); break;
    case Qt::Key_Down: plot_.scroll(0, -stepY); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: plot_.zoom(1.25); break;
    case Qt::Key_Minus: plot_.zoom(0.8); break;
    case Qt::Key_Home: plot_.resetView(); break;
    case Qt::Key_Escape:
        // Escape drops a rectangle being dragged; otherwise it is the window's.
        if (!banding_) return QWidget::keyPressEvent(event);
        banding_ = false;
        band_->hide();
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace rillo::results
