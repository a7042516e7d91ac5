#pragma once

#include <QLineF>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QTransform>
#include <memory>
#include <mutex>
#include <vector>

class QColor;
class QImage;

// Routes of one pen width. Each is stroked on its own: one path of thousands of overlapping
// routes costs the rasteriser seconds where the separate lines take milliseconds.
struct RouteBand {
    double width = 1;
    QList<QPolygonF> routes; // in map units: x longitude, y minus latitude
    QList<QRectF> bounds;    // of each route
};

// The routes of one pen width as straight segments in a picture's pixels.
struct SegmentBand {
    double width = 1;
    std::vector<QLineF> segments;
};

// Whether two rectangles meet, edges included: the bounds of a route along a meridian or the
// equator have no width or no height.
bool BoundsMeet(const QRectF &a, const QRectF &b);

// The part of the map, in map units, that a picture of this size shows through this transform,
// with room for a pen of this width beyond its edges.
QRectF MapAreaShown(QSize size, const QTransform &transform, double penWidth);

// The chords of every route of a set of bands at one scale, kept for the next picture at that
// scale (a pan, the same view again): fitting them costs a sixth of stroking them. Shared by
// the pictures drawn at once in several threads.
class RouteChordCache
{
public:
    // For each band, for each route, the points its chords join, scaled but not moved.
    using Chords = std::vector<std::vector<std::vector<QPointF>>>;
    std::shared_ptr<const Chords> find(double scaleX, double scaleY) const;
    void keep(double scaleX, double scaleY, std::shared_ptr<const Chords> chords);

private:
    mutable std::mutex m_mutex;
    double m_scaleX = 0;
    double m_scaleY = 0;
    std::shared_ptr<const Chords> m_chords;
};

// The routes that reach a picture of this size, drawn through this transform (map units to
// pixels: a scale, the same on both axes, and a translation), as chords in its pixels: the
// copies one turn east and west included, so that a route across the 180th meridian is
// unbroken, and each route cut into chords that stay within a fraction of a pixel of its path.
// The chords are fitted by this many threads, or taken from the cache when it has them.
std::vector<SegmentBand> RouteSegments(const QList<RouteBand> &bands, QSize size,
                                       const QTransform &transform, int threads,
                                       RouteChordCache *cache = nullptr);

// Strokes the segments, band after band, antialiased and opaque in this colour, on an image.
// The image is cut into this many horizontal strips of about the same work, each stroked by a
// thread of its own; the pixels are the same, within the rasteriser's rounding, for any number
// of strips.
void StrokeSegments(QImage &image, const std::vector<SegmentBand> &bands, const QColor &colour,
                    int strips);
