#include "geography/ui/GeographyCommands.h"

#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "editing/ui/RecordCommandHost.h"
#include "geography/DistanceFilling.h"
#include "geography/RouteSummary.h"
#include "geography/TravelFigures.h"
#include "geography/ui/RouteMapWindow.h"
#include "geography/ui/TravelChartsWindow.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"
#include "platform/SpecialFolders.h"

#include <QApplication>

GeographyCommands::GeographyCommands(RecordCommandHost &host, QObject *parent)
    : QObject(parent), m_host(host)
{
    m_outlinesPath = DefaultDefFilesPath() + WorldOutlines::fileName();
    m_modalRunner = [](QDialog &dialog) { return dialog.exec(); };
    host.setRecordCommand(TableKind::Distances, RecordCommand::ComputeDistances,
                          [this] { ComputeDistancesClick(); });
    // The map's routes follow the flights: any change of their rows (not a mere sort) makes
    // them stale.
    LogTable &flights = host.Document().Flights;
    const auto stale = [this] { m_geometry.reset(); };
    connect(&flights, &QAbstractItemModel::dataChanged, this, stale);
    connect(&flights, &QAbstractItemModel::rowsInserted, this, stale);
    connect(&flights, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(&flights, &QAbstractItemModel::modelReset, this, stale);
}

const AirportPositions &GeographyCommands::positions() const
{
    const AirportPositions *known = m_host.airportPositions();
    return known ? *known : m_noPositions;
}

void GeographyCommands::ComputeDistancesClick()
{
    QWidget *window = m_host.hostWindow();
    LogDocument &document = m_host.Document();
    if (positions().count() == 0) {
        MessageBoxes::error(window, QStringLiteral("No airport positions are known: the file "
                                                   "%1 is missing beside Airports.def.")
                                        .arg(AirportPositions::fileName()));
        return;
    }
    const QList<int> selected = m_host.listView(TableKind::Distances)->selectedRows();
    QStringList withoutPosition;
    const int filled = FillDistances(
        document, positions(), selected, DistanceRows::Unknown,
        [window](int overwrites) {
            return MessageBoxes::confirm(
                window, QStringLiteral("%1 of the selected distance(s) already have miles. Do you "
                                       "want to replace them with the computed miles?")
                            .arg(overwrites));
        },
        withoutPosition);
    m_host.setActiveTable(TableKind::Distances);
    m_host.UpdateStatusBar();
    MessageBoxes::information(window, DistanceFillReport(filled, withoutPosition));
}

const RouteMapGeometry &GeographyCommands::routeMapGeometry()
{
    // The positions are read once at start-up, but a test or a later reading may replace them.
    const AirportPositions *now = &positions();
    if (now != m_geometryPositions || now->count() != m_geometryPositionCount)
        m_geometry.reset();
    if (!m_geometry) {
        m_geometry = BuildRouteMapGeometry(SummarizeRoutes(m_host.Document().Flights), *now);
        m_geometryPositions = now;
        m_geometryPositionCount = now->count();
    }
    return *m_geometry;
}

RouteMapWindow *GeographyCommands::routeMapWindow()
{
    if (!m_routeMap) {
        m_routeMap = new RouteMapWindow(m_host.hostWindow());
        m_routeMap->setOutlines(WorldOutlines::read(m_outlinesPath));
        m_routeMap->setPromptBeforeOverwriting(
            [this] { return m_host.options().PromptBeforeOverwritingFiles(); });
        m_routeMap->resize(1000, 640);
    }
    return m_routeMap;
}

TravelChartsWindow *GeographyCommands::chartsWindow()
{
    if (!m_charts) {
        m_charts = new TravelChartsWindow(m_host.hostWindow());
        m_charts->setPromptBeforeOverwriting(
            [this] { return m_host.options().PromptBeforeOverwritingFiles(); });
    }
    return m_charts;
}

void GeographyCommands::RouteMapClick()
{
    RouteMapWindow *window = routeMapWindow();
    // The paths of thousands of routes take a moment the first time.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    window->showGeometry(routeMapGeometry());
    QApplication::restoreOverrideCursor();
    m_modalRunner(*window);
}

void GeographyCommands::ChartsClick()
{
    TravelChartsWindow *window = chartsWindow();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    window->showFigures(ComputeTravelFigures(m_host.Document()), m_host.Document());
    QApplication::restoreOverrideCursor();
    window->PageControl->setCurrentIndex(0);
    m_modalRunner(*window);
}
