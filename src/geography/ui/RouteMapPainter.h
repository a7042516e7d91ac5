#pragma once

#include "geography/RouteMapGeometry.h"
#include "geography/WorldOutlines.h"
#include "geography/ui/RouteStrokes.h"

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QSize>
#include <QTransform>
#include <memory>
#include <optional>

class QColor;
class QPainter;

// What part of the world a picture of the route map shows: the point in its middle and the
// scale. The map is a plate carrée (longitude and latitude as plain x and y), which repeats
// to the east and the west, so a view may be centred anywhere.
struct RouteMapView {
    double centreLongitude = 0;
    double centreLatitude = 0;
    double pixelsPerDegree = 0; // 0: the whole world
};

// Draws the route map: the sea, the land outlines, a graticule, the routes as their geodesic
// paths (wider for more flights) and the airports as dots, one of them labelled. Window, picture
// file and command line draw through it alike. Only QtGui is needed, so it draws offscreen.
class RouteMapPainter
{
    using Band = RouteBand;

public:
    static constexpr double kMaxZoom = 64; // times the whole world's scale

    void setOutlines(const WorldOutlines &outlines);
    void setGeometry(const RouteMapGeometry &geometry);
    const RouteMapGeometry &geometry() const { return m_geometry; }

    // The view that a picture of this size shows: a scale between the one at which the world
    // fills the picture and kMaxZoom times that, the centre's latitude kept so that nothing
    // beyond the poles shows (when the scale allows), the centre's longitude within [-180, 180).
    static RouteMapView clamped(const RouteMapView &view, QSize size);
    // The whole world, centred on the geometry's central meridian.
    RouteMapView wholeWorld(QSize size) const;

    void paint(QPainter &painter, QSize size, const RouteMapView &view,
               int labelledAirport = -1) const;
    // Only the sea, the land and the graticule, without routes or airports.
    void paintBackground(QPainter &painter, QSize size, const RouteMapView &view) const;
    // Only the airports' dots.
    void paintAirports(QPainter &painter, QSize size, const RouteMapView &view) const;

    // The routes of a view stroked opaque on a transparent layer of their own, to be laid over
    // the map with layRoutes. A layer keeps its own share of the routes, so that it can be
    // drawn in another thread while the painter is given new ones.
    class RouteLayer
    {
    public:
        QImage draw() const; // a null image when there is no memory for it
    private:
        friend class RouteMapPainter;
        QList<Band> m_bands;
        std::shared_ptr<RouteChordCache> m_chords;
        QSize m_size;
        qreal m_ratio = 1;
        QTransform m_transform;
    };
    RouteLayer routeLayer(QSize size, qreal devicePixelRatio, const RouteMapView &view) const;
    static void layRoutes(QPainter &painter, const QImage &layer);

    // Only the label of that airport (nothing for -1), over a map painted without it.
    void paintLabel(QPainter &painter, QSize size, const RouteMapView &view,
                    int labelledAirport) const;
    // Changes whenever the outlines or the geometry change, so that a painted map can be kept.
    int generation() const { return m_generation; }

    // The pixel of a place in a picture of this size (the copy of the world nearest the
    // centre), and the place under a pixel.
    static QPointF toPixel(GeoPoint place, QSize size, const RouteMapView &view);
    static GeoPoint toPlace(QPointF pixel, QSize size, const RouteMapView &view);
    // The airport (index into the geometry's airports) whose dot is nearest to the pixel,
    // within radius pixels.
    std::optional<int> airportNear(QPointF pixel, QSize size, const RouteMapView &view,
                                   double radius) const;
    // The pen width of a route with this many flights, in pixels.
    double routeWidth(int flights) const;

private:
    static void strokeRoutes(QPainter &painter, const QList<Band> &bands, QSize size,
                             const QTransform &transform, const QColor &colour);

    int m_generation = 0;
    QPainterPath m_land;  // three copies side by side, one turn apart
    QPainterPath m_coast; // the same without the edges along the map's border
    RouteMapGeometry m_geometry;
    QList<Band> m_bands; // widest first
    // The chords of m_bands at the scale last drawn; replaced with the bands.
    std::shared_ptr<RouteChordCache> m_chords = std::make_shared<RouteChordCache>();
};
