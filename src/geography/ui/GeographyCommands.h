#pragma once

#include "geography/AirportPositions.h"
#include "geography/RouteMapGeometry.h"
#include "geography/WorldOutlines.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class RecordCommandHost;
class RouteMapWindow;
class TravelChartsWindow;

// The commands over the airports' positions: Compute Distances (the Distances page's context
// menu and Tools), Route Map and Charts. The window gives the two Tools commands their handlers
// (ComputeDistancesClick, RouteMapClick, ChartsClick); the context-menu item is given here.
class GeographyCommands : public QObject
{
    Q_OBJECT

public:
    GeographyCommands(RecordCommandHost &host, QObject *parent);

    // Fills the Miles of the selected Distances rows, or of every row whose Miles is empty or 0
    // when none is selected, asking before it replaces a known distance; says how many rows it
    // filled and which codes have no position.
    void ComputeDistancesClick();
    // Shows the route map of the log's flights.
    void RouteMapClick();
    // Shows the travel charts of the log.
    void ChartsClick();

    // The land outlines file; the shipped one unless set.
    void setOutlinesPath(const QString &path) { m_outlinesPath = path; }
    // How the windows are shown: modally unless a test runs them otherwise.
    using ModalRunner = std::function<int(QDialog &)>;
    void setModalRunner(ModalRunner runner) { m_modalRunner = std::move(runner); }

    RouteMapWindow *routeMapWindow();
    TravelChartsWindow *chartsWindow();
    // The routes as the map shows them, computed again only after the flights changed.
    const RouteMapGeometry &routeMapGeometry();

private:
    const AirportPositions &positions() const;

    RecordCommandHost &m_host;
    QString m_outlinesPath;
    ModalRunner m_modalRunner;
    RouteMapWindow *m_routeMap = nullptr;
    TravelChartsWindow *m_charts = nullptr;
    std::optional<RouteMapGeometry> m_geometry; // none: to be built again
    const AirportPositions *m_geometryPositions = nullptr;
    int m_geometryPositionCount = -1;
    AirportPositions m_noPositions;
};
