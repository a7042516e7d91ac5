#include "geography/ui/RouteStrokes.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <system_error>
#include <thread>

namespace
{

// How far a chord may stray from the path it replaces, in pixels: well under what
// antialiasing shows. A path has a point every 100 km, a few pixels apart on a view of the
// whole world, and each segment has a cost of its own in the rasteriser beside its length.
constexpr double kChordTolerance = 0.2;
// The longest chord, in pixels, so that fitting chords stays short for a long straight route.
constexpr double kMaxChord = 96;
// How far two chords overlap beyond what closes their joint, in pixels: the width of an
// antialiased edge.
constexpr double kSeamOverlap = 1.0;
// The work of a segment in the rasteriser beside that of its area, in square pixels.
constexpr double kSegmentWork = 40;

// A route's points in pixels, only those that its chords need: every point left out lies
// within kChordTolerance of the chord that replaces it.
std::vector<QPointF> chordPoints(const QPolygonF &route, const QTransform &transform)
{
    // The transform only scales and moves; a buffer of each thread's own holds the points.
    thread_local std::vector<QPointF> points;
    points.clear();
    for (const QPointF &p : route)
        points.emplace_back(transform.m11() * p.x() + transform.dx(),
                            transform.m22() * p.y() + transform.dy());
    if (points.size() <= 2)
        return points;
    std::vector<QPointF> kept{points.front()};
    size_t anchor = 0;
    for (size_t end = 2; end < points.size(); ++end) {
        const QPointF a = points[anchor];
        const QPointF chord = points[end] - a;
        const double length = std::hypot(chord.x(), chord.y());
        bool fits = length <= kMaxChord;
        if (fits && length > 0) {
            // The distance of a point from the chord's line: its offset along the normal.
            const QPointF normal(-chord.y() / length, chord.x() / length);
            for (size_t k = anchor + 1; fits && k < end; ++k) {
                const QPointF offset = points[k] - a;
                fits =
                    std::abs(offset.x() * normal.x() + offset.y() * normal.y()) <= kChordTolerance;
            }
        }
        if (!fits) {
            anchor = end - 1;
            kept.push_back(points[anchor]);
        }
    }
    kept.push_back(points.back());
    return kept;
}

// The chords of a route as segments with flat ends. At each joint both chords reach past it
// far enough to close the wedge on the outside of the bend, as a mitre would, and to hide
// their antialiased ends in each other (square caps would close it too, but the rasteriser
// cuts a square cap differently where it clips a line, and a longer overlap shows as a bead on
// the route's antialiased edges); the route's own two ends stop at its airports, as a round
// cap's straight part would.
void appendChords(std::vector<QLineF> &segments, const std::vector<QPointF> &points, QPointF shift,
                  double width)
{
    QPointF before; // the direction of the last chord, unit length
    for (size_t i = 1; i < points.size(); ++i) {
        const QPointF along = points[i] - points[i - 1];
        const double length = std::hypot(along.x(), along.y());
        const QPointF direction = length > 0 ? along / length : QPointF();
        double reach = 0;
        if (i > 1) {
            // Half a pen times the tangent of half the bend, and a pixel more, so that the two
            // antialiased ends lie inside each other instead of leaving a faint seam.
            const double cross = before.x() * direction.y() - before.y() * direction.x();
            const double dot = QPointF::dotProduct(before, direction);
            const double mitre = dot > -1 + 1e-9 ? width / 2 * std::abs(cross) / (1 + dot) : width;
            reach = std::min(mitre + kSeamOverlap, width / 2 + kSeamOverlap);
            segments.back().setP2(segments.back().p2() + before * reach);
        }
        segments.emplace_back(points[i - 1] + shift - direction * reach, points[i] + shift);
        before = direction;
    }
}

// The first device row of each strip, and the image's height after the last: the rows are cut
// where the work of the segments (by the rows of their middles) reaches each strip's share.
std::vector<int> stripRows(const std::vector<SegmentBand> &bands, int height, double ratio,
                           int strips)
{
    std::vector<double> work(size_t(std::max(height, 1)), 0.0);
    double total = 0;
    for (const SegmentBand &band : bands) {
        for (const QLineF &segment : band.segments) {
            const double cost = segment.length() * band.width + kSegmentWork;
            const double middle = (segment.y1() + segment.y2()) / 2 * ratio;
            const int row = int(std::clamp(middle, 0.0, double(work.size() - 1)));
            work[size_t(row)] += cost;
            total += cost;
        }
    }
    std::vector<int> rows{0};
    double sum = 0;
    int row = 0;
    for (int strip = 1; strip < strips; ++strip) {
        const double share = total * strip / strips;
        while (row < height && sum + work[size_t(row)] <= share)
            sum += work[size_t(row++)];
        rows.push_back(std::max(row, rows.back()));
    }
    rows.push_back(height);
    return rows;
}

void strokeStrip(uchar *bits, const QImage &image, int top, int bottom,
                 const std::vector<SegmentBand> &bands, const QColor &colour)
{
    if (top >= bottom)
        return;
    // The rasteriser cuts a line that leaves the picture square to the line, a notch of up to
    // half a pen where the line crosses the edge: the strip is stroked on a canvas wider by a
    // margin on every side, and only its own rows are copied into the image.
    double widest = 0;
    for (const SegmentBand &band : bands)
        widest = std::max(widest, band.width);
    const double ratio = image.devicePixelRatio();
    const int margin = int(std::ceil(widest * ratio)) + 2;
    const int rows = bottom - top;
    QImage canvas(image.width() + 2 * margin, rows + 2 * margin, image.format());
    if (canvas.isNull())
        return;
    canvas.fill(Qt::transparent);
    canvas.setDevicePixelRatio(ratio);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(margin / ratio, (margin - top) / ratio);
        const double from = (top - margin) / ratio;
        const double to = (bottom + margin) / ratio;
        QList<QLineF> mine;
        for (const SegmentBand &band : bands) {
            QPen pen(colour, band.width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
            pen.setCosmetic(true);
            painter.setPen(pen);
            mine.clear();
            for (const QLineF &segment : band.segments) {
                if (std::max(segment.y1(), segment.y2()) + band.width >= from &&
                    std::min(segment.y1(), segment.y2()) - band.width <= to)
                    mine.append(segment);
            }
            // Separate segments with flat caps take the rasteriser's quick way for lines,
            // many times faster than a polyline's stroked outline.
            painter.drawLines(mine);
        }
    }
    const int pixelBytes = image.depth() / 8;
    for (int row = 0; row < rows; ++row) {
        std::memcpy(bits + qsizetype(top + row) * image.bytesPerLine(),
                    canvas.constScanLine(margin + row) + qsizetype(margin) * pixelBytes,
                    size_t(image.width()) * size_t(pixelBytes));
    }
}

// Runs work(0) to work(count - 1) at once: each in a thread of its own, the first in this
// one. Where no thread can be had, this one does that share as well.
template <typename Work> void runInThreads(int count, const Work &work)
{
    std::vector<std::thread> helpers;
    for (int i = 1; i < count; ++i) {
        try {
            helpers.emplace_back(work, i);
        } catch (const std::system_error &) {
            work(i);
        }
    }
    work(0);
    for (std::thread &helper : helpers)
        helper.join();
}

} // namespace

bool BoundsMeet(const QRectF &a, const QRectF &b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
           b.top() <= a.bottom();
}

QRectF MapAreaShown(QSize size, const QTransform &transform, double penWidth)
{
    return transform.inverted().mapRect(
        QRectF(QPointF(0, 0), QSizeF(size)).adjusted(-penWidth, -penWidth, penWidth, penWidth));
}

std::shared_ptr<const RouteChordCache::Chords> RouteChordCache::find(double scaleX,
                                                                     double scaleY) const
{
    const std::lock_guard lock(m_mutex);
    return scaleX == m_scaleX && scaleY == m_scaleY ? m_chords : nullptr;
}

void RouteChordCache::keep(double scaleX, double scaleY, std::shared_ptr<const Chords> chords)
{
    const std::lock_guard lock(m_mutex);
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_chords = std::move(chords);
}

std::vector<SegmentBand> RouteSegments(const QList<RouteBand> &bands, QSize size,
                                       const QTransform &transform, int threads,
                                       RouteChordCache *cache)
{
    const double scaleX = transform.m11();
    const double scaleY = transform.m22();
    std::shared_ptr<const RouteChordCache::Chords> chords =
        cache ? cache->find(scaleX, scaleY) : nullptr;
    if (!chords) {
        // Every route, so that a pan finds the routes it brings into view; shared out between
        // the threads in turn.
        std::vector<std::pair<qsizetype, qsizetype>> routes;
        auto fitted = std::make_shared<RouteChordCache::Chords>(size_t(bands.size()));
        for (qsizetype b = 0; b < bands.size(); ++b) {
            (*fitted)[size_t(b)].resize(size_t(bands[b].routes.size()));
            for (qsizetype i = 0; i < bands[b].routes.size(); ++i)
                routes.emplace_back(b, i);
        }
        const QTransform scaling = QTransform::fromScale(scaleX, scaleY);
        threads = std::clamp(threads, 1, std::max(int(routes.size()), 1));
        runInThreads(threads, [&](int thread) {
            for (size_t k = size_t(thread); k < routes.size(); k += size_t(threads)) {
                const auto [b, i] = routes[k];
                (*fitted)[size_t(b)][size_t(i)] = chordPoints(bands[b].routes[i], scaling);
            }
        });
        chords = fitted;
        if (cache)
            cache->keep(scaleX, scaleY, chords);
    }

    std::vector<SegmentBand> result;
    result.reserve(size_t(bands.size()));
    const double turn = 360 * scaleX; // the pixels from one copy to the next
    for (qsizetype b = 0; b < bands.size(); ++b) {
        const RouteBand &band = bands[b];
        SegmentBand &out = result.emplace_back();
        out.width = band.width;
        for (int copy = -1; copy <= 1; ++copy) {
            // Only the routes that reach into the picture.
            const QRectF visible = MapAreaShown(
                size, QTransform::fromTranslate(360 * copy, 0) * transform, band.width);
            const QPointF shift(turn * copy + transform.dx(), transform.dy());
            for (qsizetype i = 0; i < band.routes.size(); ++i) {
                if (BoundsMeet(band.bounds[i], visible))
                    appendChords(out.segments, (*chords)[size_t(b)][size_t(i)], shift, band.width);
            }
        }
    }
    return result;
}

void StrokeSegments(QImage &image, const std::vector<SegmentBand> &bands, const QColor &colour,
                    int strips)
{
    strips = std::clamp(strips, 1, std::max(image.height(), 1));
    const std::vector<int> rows =
        stripRows(bands, image.height(), image.devicePixelRatio(), strips);
    uchar *bits = image.bits(); // detached here, before the threads write into their rows
    if (!bits)
        return;
    runInThreads(strips, [&](int strip) {
        strokeStrip(bits, image, rows[size_t(strip)], rows[size_t(strip) + 1], bands, colour);
    });
}
