#include "geography/ui/RouteMapPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace
{

const QColor kSea(0xdc, 0xe9, 0xf2);
const QColor kLand(0xf4, 0xf1, 0xe8);
const QColor kCoast(0xb8, 0xb2, 0xa3);
const QColor kGraticule(0xc8, 0xd8, 0xe4);
const QColor kRoute(0xc8, 0x32, 0x28, 0xc8);
const QColor kAirport(0x1c, 0x3a, 0x6e);
const QColor kLabelBack(0xff, 0xff, 0xf0);

constexpr double kMinRouteWidth = 1.0;
constexpr double kMaxRouteWidth = 6.0;
constexpr double kWidthStep = 0.5;
constexpr double kAirportDot = 5.0;
// Threads that stroke a layer's routes, each a strip of it; more gain little over the memory
// they share.
constexpr int kMaxStrokeThreads = 4;

double baseScale(QSize size)
{
    return std::max(size.width() / 360.0, size.height() / 180.0);
}

double wrapped(double longitude)
{
    const double value = std::fmod(longitude + 180, 360.0);
    return (value < 0 ? value + 360 : value) - 180;
}

// Map units to pixels for a view whose centre's longitude lies within [-180, 180).
QTransform mapTransform(QSize size, const RouteMapView &view)
{
    QTransform transform;
    transform.translate(size.width() / 2.0, size.height() / 2.0);
    transform.scale(view.pixelsPerDegree, view.pixelsPerDegree);
    transform.translate(-view.centreLongitude, view.centreLatitude);
    return transform;
}

// An edge that only closes a ring along the map's border (Antarctica along the southern edge
// and down the 180th meridian): no coast.
bool bordersTheMap(const QPointF &a, const QPointF &b)
{
    return (std::abs(a.y()) == 90 && a.y() == b.y()) ||
           (a.x() == b.x() && std::fmod(std::abs(a.x()), 360.0) == 180);
}

// The dots of airports: a white ring around a dot of the airports' colour.
void drawAirportDots(QPainter &painter, const QPolygonF &dots)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, kAirportDot + 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(dots);
    painter.setPen(QPen(kAirport, kAirportDot, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(dots);
}

// One airport's dot on a transparent picture of an odd number of device pixels a side, its
// middle in the middle of a pixel, so that a copy placed at the nearest pixel is centred on
// the pixel that holds the airport.
QImage airportDot(qreal ratio)
{
    const int side = 2 * int(std::ceil((kAirportDot + 2) * ratio / 2)) + 3;
    QImage dot(side, side, QImage::Format_ARGB32_Premultiplied);
    dot.fill(Qt::transparent);
    dot.setDevicePixelRatio(ratio);
    QPainter painter(&dot);
    drawAirportDots(painter, QPolygonF{QPointF(side, side) / (2 * ratio)});
    return dot;
}

} // namespace

void RouteMapPainter::setOutlines(const WorldOutlines &outlines)
{
    ++m_generation;
    // One path for the three copies: neighbouring copies meet at the 180th meridian without a
    // seam, and the even-odd rule keeps holes open.
    m_land = QPainterPath();
    m_land.setFillRule(Qt::OddEvenFill);
    m_coast = QPainterPath();
    for (int copy = -1; copy <= 1; ++copy) {
        for (const QList<QPointF> &ring : outlines.rings) {
            QPolygonF polygon;
            polygon.reserve(ring.size() + 1);
            for (const QPointF &p : ring)
                polygon.append(QPointF(p.x() + 360 * copy, -p.y()));
            polygon.append(polygon.first());
            m_land.addPolygon(polygon);
            for (qsizetype i = 1; i < polygon.size(); ++i) {
                if (bordersTheMap(ring[i - 1], ring[i % ring.size()]))
                    continue;
                if (m_coast.currentPosition() != polygon[i - 1] || m_coast.elementCount() == 0)
                    m_coast.moveTo(polygon[i - 1]);
                m_coast.lineTo(polygon[i]);
            }
        }
    }
}

void RouteMapPainter::setGeometry(const RouteMapGeometry &geometry)
{
    ++m_generation;
    m_geometry = geometry;
    QHash<int, Band> byStep;
    for (const RouteMapGeometry::Route &route : m_geometry.routes) {
        if (route.path.size() < 2)
            continue;
        QPolygonF line;
        line.reserve(route.path.size());
        for (const GeoPoint &point : route.path)
            line.append(QPointF(point.longitude, -point.latitude));
        Band &band = byStep[int(std::lround(routeWidth(route.flights) / kWidthStep))];
        band.bounds.append(line.boundingRect());
        band.routes.append(std::move(line));
    }
    m_bands.clear();
    m_chords = std::make_shared<RouteChordCache>();
    for (auto it = byStep.begin(); it != byStep.end(); ++it) {
        it->width = it.key() * kWidthStep;
        m_bands.append(std::move(*it));
    }
    // Wide routes first, so that the narrow ones stay visible on top of them.
    std::sort(m_bands.begin(), m_bands.end(),
              [](const Band &a, const Band &b) { return a.width > b.width; });
}

double RouteMapPainter::routeWidth(int flights) const
{
    if (m_geometry.maxRouteFlights <= 1)
        return kMinRouteWidth;
    const double share = std::sqrt(double(std::max(flights, 1)) / m_geometry.maxRouteFlights);
    return kMinRouteWidth + (kMaxRouteWidth - kMinRouteWidth) * share;
}

RouteMapView RouteMapPainter::clamped(const RouteMapView &view, QSize size)
{
    RouteMapView result = view;
    const double base = baseScale(size);
    if (!(result.pixelsPerDegree >= base))
        result.pixelsPerDegree = base;
    result.pixelsPerDegree = std::min(result.pixelsPerDegree, base * kMaxZoom);
    const double halfHeight = size.height() / (2 * result.pixelsPerDegree);
    const double limit = std::max(0.0, 90 - halfHeight);
    if (!std::isfinite(result.centreLatitude))
        result.centreLatitude = 0;
    result.centreLatitude = std::clamp(result.centreLatitude, -limit, limit);
    result.centreLongitude =
        std::isfinite(result.centreLongitude) ? wrapped(result.centreLongitude) : 0;
    return result;
}

RouteMapView RouteMapPainter::wholeWorld(QSize size) const
{
    return clamped({m_geometry.centralLongitude, 0, 0}, size);
}

QPointF RouteMapPainter::toPixel(GeoPoint place, QSize size, const RouteMapView &view)
{
    const double lon = view.centreLongitude + wrapped(place.longitude - view.centreLongitude);
    return mapTransform(size, view).map(QPointF(lon, -place.latitude));
}

GeoPoint RouteMapPainter::toPlace(QPointF pixel, QSize size, const RouteMapView &view)
{
    const QPointF p = mapTransform(size, view).inverted().map(pixel);
    return {-p.y(), p.x()};
}

std::optional<int> RouteMapPainter::airportNear(QPointF pixel, QSize size, const RouteMapView &view,
                                                double radius) const
{
    std::optional<int> nearest;
    double best = radius * radius;
    for (qsizetype i = 0; i < m_geometry.airports.size(); ++i) {
        const QPointF d = toPixel(m_geometry.airports[i].position, size, view) - pixel;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= best) {
            best = distance;
            nearest = int(i);
        }
    }
    return nearest;
}

void RouteMapPainter::paintBackground(QPainter &painter, QSize size,
                                      const RouteMapView &requested) const
{
    const QTransform transform = mapTransform(size, clamped(requested, size));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(0, 0), size), kSea);

    painter.setTransform(transform);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLand);
    // Filled without antialiasing: the coast stroked over it smooths its edge, and an
    // antialiased fill of the world's outlines costs twenty times as much.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawPath(m_land);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen coast(kCoast, 0.8);
    coast.setCosmetic(true);
    painter.setPen(coast);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(m_coast);

    QPen graticule(kGraticule, 0.6);
    graticule.setCosmetic(true);
    painter.setPen(graticule);
    painter.setBrush(Qt::NoBrush);
    for (int lon = -540; lon <= 540; lon += 30)
        painter.drawLine(QLineF(lon, -90, lon, 90));
    for (int lat = -60; lat <= 60; lat += 30)
        painter.drawLine(QLineF(-540, -lat, 540, -lat));

    painter.restore();
}

void RouteMapPainter::paint(QPainter &painter, QSize size, const RouteMapView &requested,
                            int labelledAirport) const
{
    const RouteMapView view = clamped(requested, size);
    paintBackground(painter, size, view);
    // The raster engine hands the blending of each translucent stroke to helper threads and
    // waits for them, which over thousands of routes costs many times the strokes themselves:
    // on a picture the routes are stroked opaque on a layer and laid over the map once.
    QImage layer;
    if (painter.paintEngine()->type() == QPaintEngine::Raster)
        layer = routeLayer(size, painter.device()->devicePixelRatioF(), view).draw();
    if (!layer.isNull()) {
        layRoutes(painter, layer);
    } else {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        strokeRoutes(painter, m_bands, size, mapTransform(size, view), kRoute);
        painter.restore();
    }
    paintAirports(painter, size, view);
    paintLabel(painter, size, view, labelledAirport);
}

void RouteMapPainter::paintAirports(QPainter &painter, QSize size,
                                    const RouteMapView &requested) const
{
    const RouteMapView view = clamped(requested, size);
    QPolygonF dots;
    dots.reserve(m_geometry.airports.size());
    const QRectF area(QPointF(0, 0), QSizeF(size));
    for (const RouteMapGeometry::Airport &airport : m_geometry.airports) {
        const QPointF at = toPixel(airport.position, size, view);
        if (area.adjusted(-kAirportDot, -kAirportDot, kAirportDot, kAirportDot).contains(at))
            dots.append(at);
    }
    painter.save();
    if (painter.paintEngine()->type() == QPaintEngine::Raster) {
        // Stroking a round point costs the rasteriser many times what copying a small
        // picture of it does: one dot is drawn, then copied to every airport.
        const qreal ratio = painter.device()->devicePixelRatioF();
        const QImage dot = airportDot(ratio);
        const QPointF middle = QPointF(dot.width(), dot.height()) / (2 * ratio);
        for (const QPointF &at : dots)
            painter.drawImage(at - middle, dot);
    } else {
        drawAirportDots(painter, dots);
    }
    painter.restore();
}

RouteMapPainter::RouteLayer RouteMapPainter::routeLayer(QSize size, qreal devicePixelRatio,
                                                        const RouteMapView &view) const
{
    RouteLayer layer;
    layer.m_bands = m_bands;
    layer.m_chords = m_chords;
    layer.m_size = size;
    layer.m_ratio = devicePixelRatio;
    layer.m_transform = mapTransform(size, clamped(view, size));
    return layer;
}

QImage RouteMapPainter::RouteLayer::draw() const
{
    QImage layer((QSizeF(m_size) * m_ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return layer;
    layer.setDevicePixelRatio(m_ratio);
    layer.fill(Qt::transparent);
    QColor opaque = kRoute;
    opaque.setAlpha(255);
    const int threads = std::min(QThread::idealThreadCount(), kMaxStrokeThreads);
    StrokeSegments(layer, RouteSegments(m_bands, m_size, m_transform, threads, m_chords.get()),
                   opaque, threads);
    return layer;
}

void RouteMapPainter::layRoutes(QPainter &painter, const QImage &layer)
{
    painter.save();
    painter.resetTransform();
    painter.setOpacity(kRoute.alphaF());
    painter.drawImage(QPointF(0, 0), layer);
    painter.restore();
}

void RouteMapPainter::strokeRoutes(QPainter &painter, const QList<Band> &bands, QSize size,
                                   const QTransform &transform, const QColor &colour)
{
    // Each route's path starts within [-180, 180]; the copies one turn east and west show it
    // wherever the view reaches, a route across the 180th meridian unbroken.
    for (const Band &band : bands) {
        // The joins of a path this smooth look the same bevelled, and cost less than round.
        QPen pen(colour, band.width, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin);
        pen.setCosmetic(true);
        painter.setPen(pen);
        for (int copy = -1; copy <= 1; ++copy) {
            const QTransform shifted = QTransform::fromTranslate(360 * copy, 0) * transform;
            painter.setTransform(shifted);
            // Only the routes that reach into the picture.
            const QRectF visible = MapAreaShown(size, shifted, band.width);
            for (qsizetype i = 0; i < band.routes.size(); ++i) {
                if (BoundsMeet(band.bounds[i], visible))
                    painter.drawPolyline(band.routes[i]);
            }
        }
    }
}

void RouteMapPainter::paintLabel(QPainter &painter, QSize size, const RouteMapView &requested,
                                 int labelledAirport) const
{
    const RouteMapView view = clamped(requested, size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (labelledAirport >= 0 && labelledAirport < m_geometry.airports.size()) {
        const RouteMapGeometry::Airport &airport = m_geometry.airports[labelledAirport];
        const QPointF at = toPixel(airport.position, size, view);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        const QFontMetricsF metrics(font);
        QRectF box = metrics.boundingRect(airport.code).adjusted(-4, -2, 4, 2);
        box.moveBottomLeft(at + QPointF(6, -6));
        // Kept inside the picture.
        box.moveLeft(std::clamp(box.left(), 0.0, std::max(0.0, size.width() - box.width())));
        box.moveTop(std::clamp(box.top(), 0.0, std::max(0.0, size.height() - box.height())));
        painter.setPen(QPen(kAirport, 1));
        painter.setBrush(kLabelBack);
        painter.drawRoundedRect(box, 3, 3);
        painter.drawText(box, Qt::AlignCenter, airport.code);
    }
    painter.restore();
}
