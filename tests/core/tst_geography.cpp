#include "components/LumFlatFile.h"
#include "geography/AirportPositions.h"
#include "geography/Geodesic.h"
#include "geography/RouteMapGeometry.h"
#include "geography/RouteSummary.h"
#include "geography/WorldOutlines.h"
#include "model/LogTable.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

// Airport positions, geodesic distances and paths, and what the route map is built from.
class TestGeography : public QObject
{
    Q_OBJECT

private:
    const QString m_data = QStringLiteral(WINGBOOK_SOURCE_DIR "/data/");
    AirportPositions m_shipped;

    static void addFlight(LogTable &flights, const QString &from, const QString &to)
    {
        flights.appendRow({u"2024-01-01"_s, u"10:00"_s, from, to, u"XX"_s, u"001"_s});
    }

    // The longitude of a path point moved into [centre - 180, centre + 180).
    static bool pathWithin(const QList<GeoPoint> &path, double centre)
    {
        // The whole path moves by one multiple of 360, as the map draws it.
        const double shift = 360 * std::floor((path.first().longitude - centre + 180) / 360);
        for (const GeoPoint &p : path) {
            const double lon = p.longitude - shift;
            if (lon < centre - 180 || lon >= centre + 180)
                return false;
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_shipped.load(m_data + AirportPositions::fileName()),
                 qPrintable(m_shipped.error()));
        QCOMPARE(m_shipped.skippedLines(), 0);
        QVERIFY(m_shipped.count() > 5000);
    }

    // Every airport of Airports.def has its position but the one that the source places at
    // 0, 0 (a placeholder), and no position is of an airport that Airports.def lacks.
    void shippedPositionsMatchTheAirports()
    {
        TLumFlatFile airports;
        airports.setFileName(m_data + u"Airports.def"_s);
        QVERIFY(airports.Initialize());
        QStringList withoutPosition;
        for (const QString &code : airports.StringList()) {
            if (!m_shipped.contains(code) && !withoutPosition.contains(code))
                withoutPosition << code;
        }
        QCOMPARE(withoutPosition, QStringList{u"QFZ"_s});
        QCOMPARE(
            m_shipped.count() + 1,
            int(QSet<QString>(airports.StringList().begin(), airports.StringList().end()).size()));
    }

    // The shipped positions give the well-known airline distances.
    void geodesicMiles_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("miles");
        QTest::newRow("JFK-LHR") << u"JFK"_s << u"LHR"_s << 3451;
        QTest::newRow("SFO-NRT, over the 180th meridian") << u"SFO"_s << u"NRT"_s << 5124;
        QTest::newRow("SYD-LAX, across the equator") << u"SYD"_s << u"LAX"_s << 7488;
        QTest::newRow("LAX-JFK") << u"LAX"_s << u"JFK"_s << 2475;
        QTest::newRow("JFK-LAX, the other way") << u"JFK"_s << u"LAX"_s << 2475;
        QTest::newRow("an airport to itself") << u"JFK"_s << u"JFK"_s << 0;
    }
    void geodesicMiles()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, miles);
        const std::optional<GeoPoint> a = m_shipped.position(from);
        const std::optional<GeoPoint> b = m_shipped.position(to);
        QVERIFY(a && b);
        QCOMPARE(GeodesicMiles(*a, *b), miles);
    }

    // A path runs from one end to the other in small steps, and one across the 180th meridian
    // goes on beyond it instead of jumping back.
    void geodesicPath_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("endLongitude");
        QTest::newRow("JFK-LHR, eastwards") << u"JFK"_s << u"LHR"_s << -0.461389;
        QTest::newRow("SFO-NRT, westwards over 180") << u"SFO"_s << u"NRT"_s << 140.386389 - 360;
        QTest::newRow("NRT-SFO, eastwards over 180") << u"NRT"_s << u"SFO"_s << 360 - 122.374889;
        QTest::newRow("SYD-LAX") << u"SYD"_s << u"LAX"_s << 360 - 118.408075;
    }
    void geodesicPath()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, endLongitude);
        const GeoPoint a = *m_shipped.position(from);
        const GeoPoint b = *m_shipped.position(to);
        const QList<GeoPoint> path = GeodesicPath(a, b);
        QVERIFY(path.size() > 10);
        QCOMPARE(path.first().longitude, a.longitude);
        QVERIFY(std::abs(path.first().latitude - a.latitude) < 1e-9);
        QVERIFY(std::abs(path.last().latitude - b.latitude) < 1e-6);
        QVERIFY2(std::abs(path.last().longitude - endLongitude) < 1e-6,
                 qPrintable(QString::number(path.last().longitude)));
        for (qsizetype i = 1; i < path.size(); ++i)
            QVERIFY(std::abs(path[i].longitude - path[i - 1].longitude) < 5);
    }

    void positionsFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("found");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<int>("skipped");
        QTest::newRow("one line") << u"AAA\t-17.35\t-145.5\n"_s << u"AAA"_s << true << -17.35
                                  << -145.5 << 0;
        QTest::newRow("comments, blank and CR LF lines")
            << u"# attribution\r\n\r\nBBB\t1.5\t2.5\r\n"_s << u"BBB"_s << true << 1.5 << 2.5 << 0;
        QTest::newRow("the first line of a code counts")
            << u"CCC\t10\t20\nCCC\t30\t40\n"_s << u"CCC"_s << true << 10.0 << 20.0 << 0;
        QTest::newRow("a latitude beyond the pole")
            << u"DDD\t90.5\t0\n"_s << u"DDD"_s << false << 0.0 << 0.0 << 1;
        QTest::newRow("a longitude beyond 180")
            << u"DDD\t0\t-180.01\n"_s << u"DDD"_s << false << 0.0 << 0.0 << 1;
        QTest::newRow("not a number")
            << u"EEE\tnorth\t2\n"_s << u"EEE"_s << false << 0.0 << 0.0 << 1;
        QTest::newRow("not a finite number")
            << u"EEE\tnan\tinf\n"_s << u"EEE"_s << false << 0.0 << 0.0 << 1;
        QTest::newRow("a field missing") << u"FFF\t1\n"_s << u"FFF"_s << false << 0.0 << 0.0 << 1;
        QTest::newRow("a field too many")
            << u"FFF\t1\t2\t3\n"_s << u"FFF"_s << false << 0.0 << 0.0 << 1;
        QTest::newRow("a decimal comma")
            << u"GGG\t1,5\t2\n"_s << u"GGG"_s << false << 0.0 << 0.0 << 1;
        QTest::newRow("a bad line leaves the others")
            << u"XXX\tbad\t0\nHHH\t-1\t-2\n"_s << u"HHH"_s << true << -1.0 << -2.0 << 1;
        QTest::newRow("codes compare exactly")
            << u"iii\t1\t2\n"_s << u"III"_s << false << 0.0 << 0.0 << 0;
    }
    void positionsFile()
    {
        QFETCH(QString, text);
        QFETCH(QString, code);
        QFETCH(bool, found);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(int, skipped);
        AirportPositions positions;
        positions.loadText(text);
        const std::optional<GeoPoint> at = positions.position(code);
        QCOMPARE(at.has_value(), found);
        if (found) {
            QCOMPARE(at->latitude, latitude);
            QCOMPARE(at->longitude, longitude);
        }
        QCOMPARE(positions.skippedLines(), skipped);
    }

    void positionsFileMissingOrUnreadable()
    {
        QTemporaryDir dir;
        AirportPositions positions;
        positions.insert(u"OLD"_s, {1, 2});
        // A folder without the file has no positions, and that is no failure.
        QVERIFY(positions.load(dir.filePath(AirportPositions::fileName())));
        QCOMPARE(positions.count(), 0);
        QVERIFY(positions.error().isEmpty());
        // A folder in its place cannot be read: a failure that names it.
        QVERIFY(QDir(dir.path()).mkdir(AirportPositions::fileName()));
        positions.insert(u"OLD"_s, {1, 2});
        QVERIFY(!positions.load(dir.filePath(AirportPositions::fileName())));
        QVERIFY(positions.error().contains(AirportPositions::fileName()));
        QCOMPARE(positions.count(), 0);
    }

    void worldOutlines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rings");
        QTest::addColumn<int>("skipped");
        QTest::newRow("a triangle") << u"# c\n0 0 10 0 10 10\n"_s << 1 << 0;
        QTest::newRow("two points are no ring") << u"0 0 10 0\n"_s << 0 << 1;
        QTest::newRow("an odd count") << u"0 0 10 0 10 10 5\n"_s << 0 << 1;
        QTest::newRow("a word") << u"0 0 10 x 10 10\n"_s << 0 << 1;
        QTest::newRow("a latitude beyond the pole") << u"0 0 10 0 10 91\n"_s << 0 << 1;
        QTest::newRow("beyond 180: a ring across the 180th meridian")
            << u"170 60 190 60 190 70\n"_s << 1 << 0;
        QTest::newRow("a longitude beyond the copies") << u"0 0 541 0 10 10\n"_s << 0 << 1;
        QTest::newRow("a bad line leaves the others")
            << u"0 0 1 1 2 2 x\n-180 -90 180 -90 180 -80 -180 -80\n"_s << 1 << 1;
    }
    void worldOutlines()
    {
        QFETCH(QString, text);
        QFETCH(int, rings);
        QFETCH(int, skipped);
        const WorldOutlines outlines = WorldOutlines::fromText(text);
        QCOMPARE(outlines.rings.size(), rings);
        QCOMPARE(outlines.skippedLines, skipped);
    }

    void shippedWorldOutlines()
    {
        const WorldOutlines outlines = WorldOutlines::read(m_data + WorldOutlines::fileName());
        QVERIFY2(outlines.error.isEmpty(), qPrintable(outlines.error));
        QCOMPARE(outlines.skippedLines, 0);
        QVERIFY(outlines.rings.size() > 100);
        // Every ring is continuous on the flat map: Siberia runs on past 180 into Chukotka, and
        // Antarctica is closed along the map's southern edge.
        double west = 0;
        double east = 0;
        bool closedAtTheSouthPole = false;
        for (const QList<QPointF> &ring : outlines.rings) {
            for (qsizetype i = 0; i < ring.size(); ++i) {
                const QPointF &p = ring[i];
                west = std::min(west, p.x());
                east = std::max(east, p.x());
                closedAtTheSouthPole = closedAtTheSouthPole || p.y() == -90;
                // Neighbours lie less than half a turn apart, but along the pole's edge.
                const QPointF &next = ring[(i + 1) % ring.size()];
                const bool alongThePole = std::abs(p.y()) == 90 && next.y() == p.y();
                QVERIFY(alongThePole || std::abs(p.x() - next.x()) <= 180);
            }
        }
        QCOMPARE(west, -180.0);
        QVERIFY(east > 180 && east < 200);
        QVERIFY(closedAtTheSouthPole);
        const WorldOutlines missing = WorldOutlines::read(m_data + u"no-such-file.txt"_s);
        QVERIFY(missing.rings.isEmpty());
        QVERIFY(!missing.error.isEmpty());
    }

    void routeSummary()
    {
        LogTable flights(TableKind::Flights);
        addFlight(flights, u"LHR"_s, u"JFK"_s);
        addFlight(flights, u"JFK"_s, u"LHR"_s);
        addFlight(flights, u"JFK"_s, u"LHR"_s);
        addFlight(flights, u"SFO"_s, u"NRT"_s);
        addFlight(flights, u"SFO"_s, u"SFO"_s); // a flight back to where it left
        addFlight(flights, u"SFO"_s, QString());
        const RouteSummary summary = SummarizeRoutes(flights);
        QCOMPARE(summary.routes.size(), 3);
        // Either direction is one route, named as the Distances table names the pair.
        QCOMPARE(summary.routes[0].from, u"JFK"_s);
        QCOMPARE(summary.routes[0].to, u"LHR"_s);
        QCOMPARE(summary.routes[0].flights, 3);
        QCOMPARE(summary.routes[1].from, u"NRT"_s);
        QCOMPARE(summary.routes[1].to, u"SFO"_s);
        QCOMPARE(summary.routes[2].from, u"SFO"_s);
        QCOMPARE(summary.routes[2].to, u"SFO"_s);
        QStringList airports;
        for (const AirportCount &a : summary.airports)
            airports << a.code + u'=' + QString::number(a.flights);
        QCOMPARE(airports, QStringList({u"JFK=3"_s, u"LHR=3"_s, u"NRT=1"_s, u"SFO=3"_s}));
    }

    void routeMapGeometry()
    {
        LogTable flights(TableKind::Flights);
        addFlight(flights, u"JFK"_s, u"LHR"_s);
        addFlight(flights, u"JFK"_s, u"ZZZ"_s);
        addFlight(flights, u"QQQ"_s, u"ZZZ"_s);
        addFlight(flights, u"LHR"_s, u"LHR"_s);
        const RouteMapGeometry geometry =
            BuildRouteMapGeometry(SummarizeRoutes(flights), m_shipped);
        // Routes with an end that has no position are not drawn; those airports are listed.
        QCOMPARE(geometry.routes.size(), 2);
        QCOMPARE(geometry.airports.size(), 2);
        QCOMPARE(geometry.withoutPosition.size(), 2);
        QCOMPARE(geometry.withoutPosition[0].code, u"QQQ"_s);
        QCOMPARE(geometry.withoutPosition[1].code, u"ZZZ"_s);
        QCOMPARE(geometry.withoutPosition[1].flights, 2);
        for (const RouteMapGeometry::Route &route : geometry.routes)
            QCOMPARE(route.path.size() == 1, route.from == route.to);
        QCOMPARE(geometry.maxRouteFlights, 1);
    }

    // Greenwich stays in the middle unless routes cross the 180th meridian; then every route
    // that can be drawn whole is.
    void centralLongitude_data()
    {
        QTest::addColumn<QStringList>("routes");
        QTest::addColumn<bool>("greenwich");
        QTest::newRow("none") << QStringList() << true;
        QTest::newRow("across the Atlantic") << QStringList{u"JFK-LHR"_s, u"LAX-JFK"_s} << true;
        QTest::newRow("across the Pacific")
            << QStringList{u"SFO-NRT"_s, u"JFK-LHR"_s, u"LAX-JFK"_s} << false;
        QTest::newRow("Sydney to Los Angeles") << QStringList{u"SYD-LAX"_s} << false;
    }
    void centralLongitude()
    {
        QFETCH(QStringList, routes);
        QFETCH(bool, greenwich);
        LogTable flights(TableKind::Flights);
        for (const QString &route : routes)
            addFlight(flights, route.section(u'-', 0, 0), route.section(u'-', 1, 1));
        const RouteMapGeometry geometry =
            BuildRouteMapGeometry(SummarizeRoutes(flights), m_shipped);
        QCOMPARE(geometry.routes.size(), routes.size());
        QCOMPARE(geometry.centralLongitude == 0, greenwich);
        QVERIFY(geometry.centralLongitude >= -180 && geometry.centralLongitude < 180);
        for (const RouteMapGeometry::Route &route : geometry.routes)
            QVERIFY2(pathWithin(route.path, geometry.centralLongitude),
                     qPrintable(route.from + u'-' + route.to));
    }
};

QTEST_GUILESS_MAIN(TestGeography)
#include "tst_geography.moc"
