// map: the route map of a log, the whole world, drawn offscreen into a PNG or SVG picture.
#include "cli/CliLog.h"
#include "cli/CliReferenceFiles.h"
#include "geography/AirportPositions.h"
#include "geography/RouteMapGeometry.h"
#include "geography/RouteSummary.h"
#include "geography/WorldOutlines.h"
#include "geography/ui/RouteMapPainter.h"
#include "geography/ui/RouteMapPicture.h"
#include "platform/SpecialFolders.h"

namespace
{

constexpr int kDefaultWidth = 1600;
constexpr int kMaxWidth = 16384; // as wide as a saved picture may be

} // namespace

int mapCommand(CliContext &ctx)
{
    const QString &logName = ctx.arguments.at(0);
    const QString &pictureName = ctx.arguments.at(1);
    if (!IsRouteMapPictureName(pictureName))
        return ctx.usageError(
            QStringLiteral("\"%1\" is not a .png or an .svg file").arg(pictureName));
    int width = kDefaultWidth;
    if (ctx.isSet(QStringLiteral("width"))) {
        bool ok = false;
        width = ctx.value(QStringLiteral("width")).toInt(&ok);
        if (!ok || width < 2 || width > kMaxWidth)
            return ctx.usageError(QStringLiteral("--width takes a number of pixels from 2 to %1, "
                                                 "not \"%2\"")
                                      .arg(kMaxWidth)
                                      .arg(ctx.value(QStringLiteral("width"))));
    }

    LogDocument document;
    if (!readLogForCli(ctx, document, logName))
        return 1;
    AirportPositions positions;
    if (!loadCliAirportPositions(ctx, positions))
        return 1;
    // The land outlines ship with the program, as the window reads them.
    const WorldOutlines outlines =
        WorldOutlines::read(DefaultDefFilesPath() + WorldOutlines::fileName());
    if (!outlines.error.isEmpty())
        ctx.notice(QStringLiteral("The land is not drawn: %1").arg(outlines.error));

    RouteMapPainter painter;
    painter.setOutlines(outlines);
    painter.setGeometry(BuildRouteMapGeometry(SummarizeRoutes(document.Flights), positions));
    // The whole world of the flat map is twice as wide as it is high.
    const QSize size(width, width / 2);
    const QString error = SaveRouteMapPicture(painter, size, painter.wholeWorld(size), pictureName);
    if (!error.isEmpty())
        return ctx.fail(error);

    const RouteMapGeometry &geometry = painter.geometry();
    ctx.out << QStringLiteral("%1 route(s), %2 airport(s) drawn.")
                   .arg(geometry.routes.size())
                   .arg(geometry.airports.size())
            << '\n';
    if (!geometry.withoutPosition.isEmpty())
        ctx.out << WithoutPositionText(geometry) << '\n';
    return 0;
}
