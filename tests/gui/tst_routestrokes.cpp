// The routes of the route map as chords in pixels, and their stroking in strips by several
// threads.
#include "geography/ui/RouteStrokes.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTest>
#include <cmath>

namespace
{

// A route in map units along a circle about (0, 0), as curved as a long route near a pole.
RouteBand arcBand(double width, double radius, double fromDegrees, double toDegrees, int points)
{
    QPolygonF route;
    for (int i = 0; i < points; ++i) {
        const double angle =
            qDegreesToRadians(fromDegrees + (toDegrees - fromDegrees) * i / (points - 1));
        route.append(QPointF(radius * std::cos(angle), -radius * std::sin(angle)));
    }
    RouteBand band;
    band.width = width;
    band.routes.append(route);
    band.bounds.append(route.boundingRect());
    return band;
}

double distanceToSegment(QPointF p, const QLineF &segment)
{
    const QPointF d = segment.p2() - segment.p1();
    const double squared = d.x() * d.x() + d.y() * d.y();
    double t = 0;
    if (squared > 0)
        t = std::clamp(QPointF::dotProduct(p - segment.p1(), d) / squared, 0.0, 1.0);
    const QPointF nearest = segment.p1() + d * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

} // namespace

class TestRouteStrokes : public QObject
{
    Q_OBJECT

private slots:
    void chordsFollowThePath_data();
    void chordsFollowThePath();
    void cachedChordsFollowTheView_data();
    void cachedChordsFollowTheView();
    void stripsGiveTheSamePixels_data();
    void stripsGiveTheSamePixels();
};

void TestRouteStrokes::chordsFollowThePath_data()
{
    QTest::addColumn<double>("pixelsPerDegree");
    QTest::addColumn<double>("width");
    QTest::newRow("whole world, thin") << 1600 / 360.0 << 1.0;
    QTest::newRow("whole world, wide") << 1600 / 360.0 << 6.0;
    QTest::newRow("zoomed") << 40.0 << 3.0;
}

// Every point of the path lies on the chords or within a fifth of a pixel of them; the chords
// are fewer than the path's steps, meet at their joints and end at the route's airports.
void TestRouteStrokes::chordsFollowThePath()
{
    QFETCH(double, pixelsPerDegree);
    QFETCH(double, width);
    const RouteBand band = arcBand(width, 30, 10, 170, 160);
    const QSize size(1600, 800);
    QTransform transform;
    transform.translate(800, 400);
    transform.scale(pixelsPerDegree, pixelsPerDegree);
    const std::vector<SegmentBand> bands = RouteSegments({band}, size, transform, 2);
    QCOMPARE(bands.size(), size_t(1));
    QCOMPARE(bands[0].width, width);
    const std::vector<QLineF> &segments = bands[0].segments;
    QVERIFY(!segments.empty());
    QVERIFY(segments.size() < size_t(band.routes[0].size() - 1));
    // The route's ends are its airports; each chord starts near where the one before it
    // ends, at most half a pen and a pixel before the joint, the other as far past it.
    QCOMPARE(segments.front().p1(), transform.map(band.routes[0].first()));
    QCOMPARE(segments.back().p2(), transform.map(band.routes[0].last()));
    for (size_t i = 1; i < segments.size(); ++i)
        QVERIFY(QLineF(segments[i - 1].p2(), segments[i].p1()).length() <= width + 2);
    const QPolygonF &route = band.routes[0];
    for (qsizetype k = 0; k < route.size(); ++k) {
        const QPointF p = transform.map(route[k]);
        double nearest = 1e9;
        for (const QLineF &segment : segments)
            nearest = std::min(nearest, distanceToSegment(p, segment));
        QVERIFY2(nearest <= 0.2 + 1e-9,
                 qPrintable(QStringLiteral("point %1 is %2 pixels off").arg(k).arg(nearest)));
    }
}

void TestRouteStrokes::cachedChordsFollowTheView_data()
{
    QTest::addColumn<double>("pixelsPerDegree");
    QTest::addColumn<QPointF>("middle");
    QTest::newRow("the same view") << 4.0 << QPointF(800, 400);
    QTest::newRow("a pan") << 4.0 << QPointF(520, 310.5);
    QTest::newRow("a zoom") << 9.0 << QPointF(800, 400);
}

// A picture after another, its chords from the cache that the first one filled, has the
// segments that it has without the cache.
void TestRouteStrokes::cachedChordsFollowTheView()
{
    QFETCH(double, pixelsPerDegree);
    QFETCH(QPointF, middle);
    const QList<RouteBand> bands{arcBand(4, 30, 10, 170, 160), arcBand(1, 50, 200, 300, 90)};
    const QSize size(1600, 800);
    QTransform first;
    first.translate(800, 400);
    first.scale(4, 4);
    QTransform next;
    next.translate(middle.x(), middle.y());
    next.scale(pixelsPerDegree, pixelsPerDegree);
    RouteChordCache cache;
    RouteSegments(bands, size, first, 2, &cache);
    const std::vector<SegmentBand> cached = RouteSegments(bands, size, next, 2, &cache);
    const std::vector<SegmentBand> fresh = RouteSegments(bands, size, next, 1);
    QCOMPARE(cached.size(), fresh.size());
    for (size_t b = 0; b < fresh.size(); ++b) {
        QVERIFY(!fresh[b].segments.empty());
        QCOMPARE(cached[b].segments, fresh[b].segments);
    }
}

void TestRouteStrokes::stripsGiveTheSamePixels_data()
{
    QTest::addColumn<int>("strips");
    QTest::addColumn<double>("ratio");
    QTest::newRow("two strips") << 2 << 1.0;
    QTest::newRow("three strips") << 3 << 1.0;
    QTest::newRow("four strips, device pixel ratio 2") << 4 << 2.0;
    QTest::newRow("more strips than rows") << 500 << 1.0;
}

// Segments of every width, many across the strips' borders, stroked in strips, give the image
// that one strip gives, within the rasteriser's rounding: no seam, no notch where a line
// crosses a border, no row left out.
void TestRouteStrokes::stripsGiveTheSamePixels()
{
    QFETCH(int, strips);
    QFETCH(double, ratio);
    const QSize size(300, 200);
    QRandomGenerator random(20261211);
    std::vector<SegmentBand> bands;
    for (double width : {6.0, 3.5, 1.0}) {
        SegmentBand &band = bands.emplace_back();
        band.width = width;
        for (int i = 0; i < 60; ++i) {
            const QPointF a(random.bounded(size.width() * 1.0),
                            random.bounded(size.height() * 1.0));
            const QPointF b(random.bounded(size.width() * 1.0),
                            random.bounded(size.height() * 1.0));
            band.segments.emplace_back(a, b);
        }
    }
    const auto stroked = [&](int count) {
        QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        StrokeSegments(image, bands, QColor(200, 50, 40), count);
        return image;
    };
    const QImage one = stroked(1);
    const QImage many = stroked(strips);
    QVERIFY(one != QImage(one.size(), one.format())); // something was stroked
    QCOMPARE(many.size(), one.size());
    int worst = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            const QRgb a = one.pixel(x, y);
            const QRgb b = many.pixel(x, y);
            worst = std::max({worst, std::abs(qAlpha(a) - qAlpha(b)), std::abs(qRed(a) - qRed(b)),
                              std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
        }
    }
    // A line clipped at a strip's edge starts the rasteriser's fixed-point steps elsewhere.
    QVERIFY2(worst <= 8, qPrintable(QStringLiteral("a channel differs by %1").arg(worst)));
}

QTEST_MAIN(TestRouteStrokes)
#include "tst_routestrokes.moc"
