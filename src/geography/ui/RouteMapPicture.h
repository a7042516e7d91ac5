#pragma once

#include <QSize>
#include <QString>

class RouteMapPainter;
struct RouteMapView;

// Writes a picture of the route map: PNG or SVG, chosen by the file's extension (in any case).
// Returns an empty text on success, else the message that says why nothing was written.
QString SaveRouteMapPicture(const RouteMapPainter &painter, QSize size, const RouteMapView &view,
                            const QString &path);

// Whether the file's extension names a picture format of the route map (".png" or ".svg").
bool IsRouteMapPictureName(const QString &path);
