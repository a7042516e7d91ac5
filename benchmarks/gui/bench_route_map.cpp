// Times the work behind the route map, the charts and the distance filling over a log:
//
//   bench_route_map LOG.xml POSITIONS.tsv WORLD.txt
//
// Reading the log is not timed. Printed: summing the routes of the flights, building their
// paths, preparing the painter, the first and later paints of a 1600 by 800 map (whole world,
// then zoomed in), the map window showing its first view and a new one (at once, while their
// routes are drawn in another thread, then in full), the same view repainted (as a hover label
// or an uncovered window repaints it), the travel figures, and planning and writing the Miles
// of every Distances row.
#include "geography/AirportPositions.h"
#include "geography/DistanceFilling.h"
#include "geography/RouteMapGeometry.h"
#include "geography/RouteSummary.h"
#include "geography/TravelFigures.h"
#include "geography/WorldOutlines.h"
#include "geography/ui/RouteMapPainter.h"
#include "geography/ui/RouteMapWidget.h"
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

QElapsedTimer g_clock;

void start()
{
    g_clock.start();
}

void report(const char *what)
{
    std::printf("  %-44s %9.1f ms\n", what, double(g_clock.nsecsElapsed()) / 1e6);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // keep the user's settings out of it
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: bench_route_map LOG.xml POSITIONS.tsv WORLD.txt\n");
        return 2;
    }
    LogDocument doc;
    OptionSet options;
    LogFileHost host;
    const LogFileResult read = OpenXMLFile(doc, args[1], options, host);
    AirportPositions positions;
    if (!read.ok || !positions.load(args[2])) {
        std::fprintf(stderr, "%s\n", qPrintable(read.ok ? positions.error() : read.error));
        return 1;
    }
    const WorldOutlines outlines = WorldOutlines::read(args[3]);
    std::printf("%s: %d flights, %d distances\n", qPrintable(args[1]), doc.Flights.count(),
                doc.Distances.count());

    start();
    const RouteSummary summary = SummarizeRoutes(doc.Flights);
    report("routes of the flights");
    std::printf("  (%lld routes, %lld airports)\n", qlonglong(summary.routes.size()),
                qlonglong(summary.airports.size()));
    start();
    const RouteMapGeometry geometry = BuildRouteMapGeometry(summary, positions);
    report("geodesic paths of the routes");
    RouteMapPainter painter;
    start();
    painter.setOutlines(outlines);
    painter.setGeometry(geometry);
    report("painter set up (outlines, route paths)");

    const QSize size(1600, 800);
    QImage image(size, QImage::Format_RGB32);
    const RouteMapView whole = painter.wholeWorld(size);
    for (int i = 0; i < 3; ++i) {
        start();
        {
            QPainter p(&image);
            painter.paint(p, size, whole);
        }
        report(i == 0 ? "first paint, whole world" : "later paint, whole world");
    }
    RouteMapView zoomed = whole;
    zoomed.pixelsPerDegree *= 8;
    zoomed.centreLongitude = 10;
    zoomed.centreLatitude = 50;
    start();
    {
        QPainter p(&image);
        painter.paint(p, size, zoomed);
    }
    report("paint zoomed 8 times on Europe");

    RouteMapWidget widget;
    widget.resize(size);
    widget.mapPainter().setOutlines(outlines);
    widget.showGeometry(geometry);
    // The window shows a view at once and strokes its routes in another thread.
    const auto showView = [&widget](const char *shown, const char *drawn, const char *full) {
        QEventLoop loop;
        QObject::connect(&widget, &RouteMapWidget::pictureReady, &loop, &QEventLoop::quit);
        start();
        (void)widget.grab();
        report(shown);
        start();
        if (!widget.pictureIsCurrent())
            loop.exec();
        report(drawn);
        start();
        (void)widget.grab();
        report(full);
    };
    showView("map window, first view shown (no routes yet)", "  its routes drawn meanwhile",
             "  its full picture shown");
    widget.zoomAt(QPointF(800, 300), 1.25); // a wheel notch in
    showView("map window, new view shown (last picture)", "  its routes drawn meanwhile",
             "  its full picture shown");
    for (int i = 0; i < 2; ++i) {
        start();
        (void)widget.grab();
        report("map window, repaint of the view");
    }

    start();
    const TravelFigures figures = ComputeTravelFigures(doc);
    report("travel figures");
    start();
    const DistanceFillPlan plan = PlanDistanceFill(doc.Distances, positions, {}, DistanceRows::All);
    report("plan the Miles of every distance");
    start();
    const int written = ApplyDistanceFill(doc.Distances, plan, true);
    report("write them");
    std::printf("  (%d distances filled, %lld countries)\n", written,
                qlonglong(figures.countries.size()));
    return 0;
}
