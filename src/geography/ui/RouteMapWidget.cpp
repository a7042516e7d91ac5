#include "geography/ui/RouteMapWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace
{

constexpr double kWheelStep = 1.25; // zoom per wheel notch
constexpr double kKeyPan = 60;      // pixels per arrow key
constexpr double kHoverRadius = 8;  // pixels

} // namespace

RouteMapWidget::RouteMapWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

void RouteMapWidget::showGeometry(const RouteMapGeometry &geometry)
{
    m_painter.setGeometry(geometry);
    m_labelled = -1;
    showWholeWorld();
}

void RouteMapWidget::setView(const RouteMapView &view)
{
    m_view = RouteMapPainter::clamped(view, size());
    m_viewChosen = true;
    update();
}

void RouteMapWidget::showWholeWorld()
{
    m_view = m_painter.wholeWorld(size());
    m_viewChosen = false;
    update();
}

void RouteMapWidget::zoomAt(QPointF pixel, double factor)
{
    const GeoPoint before = RouteMapPainter::toPlace(pixel, size(), m_view);
    RouteMapView zoomed = m_view;
    zoomed.pixelsPerDegree *= factor;
    zoomed = RouteMapPainter::clamped(zoomed, size());
    // Keep the place under the pixel: move the centre by what the zoom moved it.
    const GeoPoint after = RouteMapPainter::toPlace(pixel, size(), zoomed);
    zoomed.centreLongitude += before.longitude - after.longitude;
    zoomed.centreLatitude += before.latitude - after.latitude;
    setView(zoomed);
}

void RouteMapWidget::panBy(QPointF pixels)
{
    RouteMapView moved = m_view;
    moved.centreLongitude -= pixels.x() / m_view.pixelsPerDegree;
    moved.centreLatitude += pixels.y() / m_view.pixelsPerDegree;
    setView(moved);
}

void RouteMapWidget::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    const bool sameView = m_pictureView.centreLongitude == m_view.centreLongitude &&
                          m_pictureView.centreLatitude == m_view.centreLatitude &&
                          m_pictureView.pixelsPerDegree == m_view.pixelsPerDegree;
    if (m_picture.size() != pixels || !sameView || m_pictureGeneration != m_painter.generation()) {
        m_picture = QImage(pixels, QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(ratio);
        QPainter picture(&m_picture);
        m_painter.paint(picture, size(), m_view);
        m_pictureView = m_view;
        m_pictureGeneration = m_painter.generation();
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
    m_painter.paintLabel(painter, size(), m_view, m_labelled);
}

void RouteMapWidget::resizeEvent(QResizeEvent *)
{
    if (m_viewChosen)
        m_view = RouteMapPainter::clamped(m_view, size());
    else
        m_view = m_painter.wholeWorld(size());
}

void RouteMapWidget::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoomAt(event->position(), std::pow(kWheelStep, notches));
    event->accept();
}

void RouteMapWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_dragging = true;
    m_lastDrag = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void RouteMapWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        const QPoint at = event->position().toPoint();
        panBy(at - m_lastDrag);
        m_lastDrag = at;
    }
    labelAirportAt(event->position());
}

void RouteMapWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        setCursor(Qt::OpenHandCursor);
    }
}

void RouteMapWidget::leaveEvent(QEvent *)
{
    if (m_labelled >= 0) {
        m_labelled = -1;
        update();
    }
}

void RouteMapWidget::keyPressEvent(QKeyEvent *event)
{
    const QPointF centre(width() / 2.0, height() / 2.0);
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAt(centre, kWheelStep);
        break;
    case Qt::Key_Minus:
        zoomAt(centre, 1 / kWheelStep);
        break;
    case Qt::Key_Left:
        panBy({kKeyPan, 0});
        break;
    case Qt::Key_Right:
        panBy({-kKeyPan, 0});
        break;
    case Qt::Key_Up:
        panBy({0, kKeyPan});
        break;
    case Qt::Key_Down:
        panBy({0, -kKeyPan});
        break;
    case Qt::Key_Home:
        showWholeWorld();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void RouteMapWidget::labelAirportAt(QPointF pixel)
{
    const int labelled = m_painter.airportNear(pixel, size(), m_view, kHoverRadius).value_or(-1);
    if (labelled != m_labelled) {
        m_labelled = labelled;
        update();
    }
}
