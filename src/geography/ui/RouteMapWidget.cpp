#include "geography/ui/RouteMapWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPromise>
#include <QThreadPool>
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
    connect(&m_layerJob, &QFutureWatcher<QImage>::finished, this, &RouteMapWidget::takeLayer);
}

RouteMapWidget::~RouteMapWidget()
{
    m_layerJob.waitForFinished();
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

bool RouteMapWidget::PictureKey::operator==(const PictureKey &other) const
{
    return generation == other.generation && pixels == other.pixels &&
           view.centreLongitude == other.view.centreLongitude &&
           view.centreLatitude == other.view.centreLatitude &&
           view.pixelsPerDegree == other.view.pixelsPerDegree;
}

RouteMapWidget::PictureKey RouteMapWidget::wantedPicture() const
{
    return {m_view, m_painter.generation(), (QSizeF(size()) * devicePixelRatioF()).toSize()};
}

bool RouteMapWidget::pictureIsCurrent() const
{
    return !m_picture.isNull() && m_pictureKey == wantedPicture();
}

// Stroking every route of a new view takes long on a large log, so it is done in another
// thread: until it is done the map shows the last picture moved and scaled to where its places
// now lie, over the land drawn afresh, and the window goes on answering.
void RouteMapWidget::paintEvent(QPaintEvent *)
{
    const PictureKey wanted = wantedPicture();
    if (!(m_pictureKey == wanted) || m_picture.isNull()) {
        if (m_layerKey == wanted)
            composePicture(wanted);
        else
            drawLayerFor(wanted);
    }
    QPainter painter(this);
    if (pictureIsCurrent()) {
        painter.drawImage(QPointF(0, 0), m_picture);
    } else {
        m_painter.paintBackground(painter, size(), m_view);
        if (!m_picture.isNull() && m_pictureKey.generation == wanted.generation)
            paintPreview(painter);
        else
            m_painter.paintAirports(painter, size(), m_view);
    }
    m_painter.paintLabel(painter, size(), m_view, m_labelled);
}

void RouteMapWidget::composePicture(const PictureKey &key)
{
    m_picture = QImage(key.pixels, QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(devicePixelRatioF());
    QPainter picture(&m_picture);
    m_painter.paintBackground(picture, size(), m_view);
    if (!m_layer.isNull()) // else there was no memory for the routes: the map goes without
        RouteMapPainter::layRoutes(picture, m_layer);
    m_painter.paintAirports(picture, size(), m_view);
    m_pictureKey = key;
}

void RouteMapWidget::paintPreview(QPainter &painter) const
{
    const double scale = m_view.pixelsPerDegree / m_pictureKey.view.pixelsPerDegree;
    const QSizeF scaled = m_picture.deviceIndependentSize() * scale;
    const GeoPoint centre{m_pictureKey.view.centreLatitude, m_pictureKey.view.centreLongitude};
    const QPointF topLeft = RouteMapPainter::toPixel(centre, size(), m_view) -
                            QPointF(scaled.width(), scaled.height()) / 2;
    const double turn = 360 * m_view.pixelsPerDegree; // the world repeats to the east and west
    for (int copy = -1; copy <= 1; ++copy)
        painter.drawImage(QRectF(topLeft + QPointF(copy * turn, 0), scaled), m_picture);
}

// One layer is drawn at a time; when it is done and the view has moved on meanwhile, the next
// one is drawn for the view of then.
void RouteMapWidget::drawLayerFor(const PictureKey &key)
{
    if (m_layerJob.isRunning())
        return;
    m_jobKey = key;
    auto promise = std::make_shared<QPromise<QImage>>();
    m_layerJob.setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start(
        [promise, layer = m_painter.routeLayer(size(), devicePixelRatioF(), m_view)] {
            promise->addResult(layer.draw());
            promise->finish();
        });
}

void RouteMapWidget::takeLayer()
{
    if (m_layerJob.future().resultCount() == 0)
        return;
    m_layer = m_layerJob.result();
    m_layerKey = m_jobKey;
    update();
    if (m_layerKey == wantedPicture())
        emit pictureReady();
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
