// The commands over the airports' positions in the main window: Compute Distances, the route
// map window and the travel charts window.
#include "app/WingbookUnit1.h"
#include "components/LumRegistryEnhanced.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "geography/AirportPositions.h"
#include "geography/RouteSummary.h"
#include "geography/ui/GeographyCommands.h"
#include "geography/ui/RouteMapPainter.h"
#include "geography/ui/RouteMapWidget.h"
#include "geography/ui/RouteMapWindow.h"
#include "geography/ui/TravelChartsWindow.h"
#include "model/LogDocument.h"
#include "platform/ui/FileDialogs.h"

#include <QAction>
#include <QApplication>
#include <QBarSet>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

const QString kData = QStringLiteral(WINGBOOK_SOURCE_DIR "/data/");

QStringList dump(const LogTable &table)
{
    QStringList rows;
    for (int r = 0; r < table.count(); ++r)
        rows << table.row(r).cells.join(u'|');
    return rows;
}

QList<qreal> valuesOf(const QBarSet *set)
{
    QList<qreal> values;
    for (int i = 0; set && i < set->count(); ++i)
        values << set->at(i);
    return values;
}

} // namespace

class TestGeographyWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void computeDistancesCommand_data();
    void computeDistancesCommand();
    void computeDistancesWithoutPositions();
    void mapDrawsTheRoutes();
    void mapWindowListsAirportsWithoutPosition();
    void mapFollowsTheFlights();
    void mapZoomsPansAndLabels();
    void mapDrawsNewViewsAside();
    void savePicture_data();
    void savePicture();
    void charts();

private:
    void flight(const QString &date, const QString &from, const QString &to);
    // The map window of a log of one flight, JFK to LHR, the whole world at 720 by 360.
    RouteMapWidget *mapOfOneFlight();
    QAction *distancesItem(const QString &caption);
    LogDocument &doc() { return m_form->Document(); }

    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<TForm1> m_form;
    GeographyCommands *m_commands = nullptr;
    QDialog *m_shown = nullptr;
    AirportPositions m_positions;
    QList<MessageBoxes::Request> m_boxes;
    QList<QMessageBox::StandardButton> m_answers;
    QList<FileDialogs::Result> m_dialogAnswers;
};

void TestGeographyWindows::initTestCase()
{
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    QVERIFY(m_positions.load(kData + AirportPositions::fileName()));
    MessageBoxes::setResponder([this](const MessageBoxes::Request &request) {
        m_boxes.append(request);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return request.kind == MessageBoxes::Kind::Confirmation ? QMessageBox::No : QMessageBox::Ok;
    });
    FileDialogs::setResponder([this](const FileDialogs::Request &) {
        return m_dialogAnswers.isEmpty() ? FileDialogs::Result{} : m_dialogAnswers.takeFirst();
    });
}

void TestGeographyWindows::init()
{
    m_files = std::make_unique<QTemporaryDir>();
    m_boxes.clear();
    m_answers.clear();
    m_dialogAnswers.clear();
    m_form = std::make_unique<TForm1>();
    // The window reads the shipped positions from the build's reference folder.
    QVERIFY(m_form->airportPositions());
    QCOMPARE(m_form->airportPositions()->count(), m_positions.count());
    m_commands = new GeographyCommands(*m_form, m_form.get());
    // The Tools commands, given their handlers as the program gives them.
    m_form->setCommandHandler(MainCommand::ComputeDistances,
                              [this] { m_commands->ComputeDistancesClick(); });
    m_form->setCommandHandler(MainCommand::RouteMap, [this] { m_commands->RouteMapClick(); });
    m_form->setCommandHandler(MainCommand::Charts, [this] { m_commands->ChartsClick(); });
    m_commands->setOutlinesPath(kData + WorldOutlines::fileName());
    m_shown = nullptr;
    m_commands->setModalRunner([this](QDialog &dialog) {
        m_shown = &dialog;
        return int(QDialog::Rejected);
    });
}

void TestGeographyWindows::cleanup()
{
    m_form.reset();
}

void TestGeographyWindows::flight(const QString &date, const QString &from, const QString &to)
{
    doc().Flights.appendRow({date, u"10:00"_s, from, to, u"BA"_s, u"001"_s});
}

QAction *TestGeographyWindows::distancesItem(const QString &caption)
{
    for (QAction *item : m_form->contextMenu(TableKind::Distances)->actions()) {
        if (item->text() == caption)
            return item;
    }
    return nullptr;
}

// The context-menu item: the unknown rows with nothing selected, the selected rows otherwise,
// a question before a known distance is replaced, and a report of what it did.
RouteMapWidget *TestGeographyWindows::mapOfOneFlight()
{
    flight(u"2024-01-01"_s, u"JFK"_s, u"LHR"_s);
    m_commands->RouteMapClick();
    RouteMapWidget *map = m_commands->routeMapWindow()->MapWidget;
    map->resize(720, 360);
    map->showWholeWorld();
    return map;
}

void TestGeographyWindows::computeDistancesCommand_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("report");
    QTest::addColumn<bool>("modified");
    QTest::newRow("nothing selected")
        << QList<int>() << QList<QMessageBox::StandardButton>() << 0
        << QStringList{u"JFK|LAX|2400"_s, u"JFK|LHR|3451"_s, u"JFK|QQQ|0"_s}
        << u"Filled the miles of 1 distance(s).\nNo position is known for: QQQ."_s << true;
    QTest::newRow("a known one selected, No")
        << QList<int>{0} << QList<QMessageBox::StandardButton>{QMessageBox::No} << 1
        << QStringList{u"JFK|LAX|2400"_s, u"JFK|LHR|0"_s, u"JFK|QQQ|0"_s}
        << u"Filled the miles of 0 distance(s)."_s << false;
    QTest::newRow("a known one selected, Yes")
        << QList<int>{0} << QList<QMessageBox::StandardButton>{QMessageBox::Yes} << 1
        << QStringList{u"JFK|LAX|2475"_s, u"JFK|LHR|0"_s, u"JFK|QQQ|0"_s}
        << u"Filled the miles of 1 distance(s)."_s << true;
}

void TestGeographyWindows::computeDistancesCommand()
{
    QFETCH(QList<int>, selected);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(int, questions);
    QFETCH(QStringList, after);
    QFETCH(QString, report);
    QFETCH(bool, modified);
    QAction *item = distancesItem(u"Compute Distances"_s);
    QVERIFY(item && item->isVisible());
    QVERIFY(!item->isEnabled()); // no rows yet
    for (const char *row : {"JFK|LAX|2400", "JFK|LHR|0", "JFK|QQQ|0"})
        doc().Distances.appendRow(QString::fromLatin1(row).split(u'|'));
    m_form->UpdateStatusBar();
    item = distancesItem(u"Compute Distances"_s);
    QVERIFY(item->isEnabled());
    for (int row : selected)
        m_form->LumListView4->selectOnly(row);
    m_answers = answers;
    item->trigger();

    QCOMPARE(dump(doc().Distances), after);
    int asked = 0;
    for (const MessageBoxes::Request &box : m_boxes)
        asked += box.kind == MessageBoxes::Kind::Confirmation ? 1 : 0;
    QCOMPARE(asked, questions);
    QCOMPARE(m_boxes.last().kind, MessageBoxes::Kind::Information);
    QCOMPARE(m_boxes.last().text, report);
    QCOMPARE(m_form->action(MainCommand::Save)->isEnabled(), modified);
    QCOMPARE(m_form->activeTable(), TableKind::Distances);
}

void TestGeographyWindows::computeDistancesWithoutPositions()
{
    // A reference folder without the positions file.
    QTemporaryDir folder;
    QVERIFY(QFile::copy(kData + u"Airports.def"_s, folder.filePath(u"Airports.def"_s)));
    m_form.reset();
    {
        const std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
        store->SetValue(u"DefFilesPath"_s, folder.path());
    }
    m_form = std::make_unique<TForm1>();
    QFile::remove(m_config->filePath(u"Marovek/Wingbook.reg"_s));
    QCOMPARE(m_form->airportPositions()->count(), 0);
    QVERIFY(m_boxes.isEmpty()); // a folder without positions is no error
    GeographyCommands commands(*m_form, nullptr);
    doc().Distances.appendRow({u"JFK"_s, u"LHR"_s, u"0"_s});
    commands.ComputeDistancesClick();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].kind, MessageBoxes::Kind::Error);
    QVERIFY(m_boxes[0].text.contains(AirportPositions::fileName()));
    QCOMPARE(doc().Distances.cell(0, 2), u"0"_s);
    QVERIFY(!doc().isModified());
}

// A pixel on each route differs from the same pixel of the map without routes; the route
// across the 180th meridian is whole on the map it is centred for.
void TestGeographyWindows::mapDrawsTheRoutes()
{
    flight(u"2024-01-01"_s, u"JFK"_s, u"LHR"_s);
    flight(u"2024-01-02"_s, u"SFO"_s, u"NRT"_s);
    RouteMapGeometry geometry = m_commands->routeMapGeometry();
    QCOMPARE(geometry.routes.size(), 2);
    // A route along a meridian: its bounds have no width, and it is drawn all the same.
    geometry.routes.append({u"AAA"_s, u"BBB"_s, 1, {{0, 10}, {20, 10}, {40, 10}}});

    RouteMapPainter withRoutes;
    withRoutes.setOutlines(WorldOutlines::read(kData + WorldOutlines::fileName()));
    RouteMapPainter without = withRoutes;
    withRoutes.setGeometry(geometry);
    RouteMapGeometry empty;
    empty.centralLongitude = geometry.centralLongitude;
    without.setGeometry(empty);

    const QSize size(720, 360);
    const RouteMapView view = withRoutes.wholeWorld(size);
    QCOMPARE(view.centreLongitude, geometry.centralLongitude);
    QImage drawn(size, QImage::Format_RGB32);
    QImage background(size, QImage::Format_RGB32);
    {
        QPainter a(&drawn);
        withRoutes.paint(a, size, view);
        QPainter b(&background);
        without.paint(b, size, view);
    }
    const QRect picture(QPoint(0, 0), size);
    for (const RouteMapGeometry::Route &route : geometry.routes) {
        const GeoPoint middle = route.path[route.path.size() / 2];
        // The pixel that holds the point: pixel (x, y) covers [x, x + 1) by [y, y + 1).
        const QPointF exact = RouteMapPainter::toPixel(middle, size, view);
        const QPoint at(int(std::floor(exact.x())), int(std::floor(exact.y())));
        QVERIFY(picture.contains(at));
        QVERIFY2(drawn.pixel(at) != background.pixel(at), qPrintable(route.from + route.to));
        // Unbroken: the path's neighbouring points are neighbouring pixels.
        for (qsizetype i = 1; i < route.path.size(); ++i) {
            const QPointF a = RouteMapPainter::toPixel(route.path[i - 1], size, view);
            const QPointF b = RouteMapPainter::toPixel(route.path[i], size, view);
            QVERIFY2(std::abs(a.x() - b.x()) < 20, qPrintable(route.from + route.to));
        }
    }
}

void TestGeographyWindows::mapWindowListsAirportsWithoutPosition()
{
    flight(u"2024-01-01"_s, u"JFK"_s, u"LHR"_s);
    flight(u"2024-01-02"_s, u"JFK"_s, u"QQQ"_s);
    flight(u"2024-01-03"_s, u"QQQ"_s, u"XXX"_s);
    m_form->UpdateStatusBar();
    QVERIFY(m_form->action(MainCommand::RouteMap)->isEnabled());
    m_commands->RouteMapClick();
    RouteMapWindow *window = m_commands->routeMapWindow();
    QCOMPARE(m_shown, window);
    QCOMPARE(window->windowTitle(), u"Route Map"_s);
    QVERIFY(window->SummaryLabel->text().startsWith(u"1 route(s), 2 airport(s)."_s));
    QCOMPARE(
        window->WithoutPositionLabel->text(),
        u"2 airport(s) without a known position, not drawn: QQQ (2 flights), XXX (1 flight)"_s);
    QVERIFY(window->OutlinesLabel->isHidden());
}

// The map is built once for the same flights and again after they change.
void TestGeographyWindows::mapFollowsTheFlights()
{
    flight(u"2024-01-01"_s, u"JFK"_s, u"LHR"_s);
    const RouteMapGeometry *first = &m_commands->routeMapGeometry();
    QCOMPARE(first->routes.size(), 1);
    doc().Flights.Sort(2, false); // a sort changes no route
    QCOMPARE(&m_commands->routeMapGeometry(), first);
    flight(u"2024-01-02"_s, u"LAX"_s, u"JFK"_s);
    QCOMPARE(m_commands->routeMapGeometry().routes.size(), 2);
    doc().Flights.setCell(1, 3, u"LHR"_s);
    QCOMPARE(m_commands->routeMapGeometry().routes.size(), 2);
    QCOMPARE(m_commands->routeMapGeometry().routes[0].flights, 1);
    doc().Flights.removeRowAt(0);
    QCOMPARE(m_commands->routeMapGeometry().routes.size(), 1);
    doc().Flights.clear();
    QCOMPARE(m_commands->routeMapGeometry().routes.size(), 0);
}

void TestGeographyWindows::mapZoomsPansAndLabels()
{
    RouteMapWidget *map = mapOfOneFlight();
    const RouteMapView whole = map->view();
    QCOMPARE(whole.pixelsPerDegree, 2.0);

    // The airport under the pointer is labelled, and only near its dot.
    const RouteMapGeometry &geometry = m_commands->routeMapGeometry();
    const QPointF jfkPlace =
        RouteMapPainter::toPixel(geometry.airports[0].position, map->size(), whole);
    const QPoint jfk = jfkPlace.toPoint();
    // The window is not shown, so the pointer's moves are sent to the map as they come.
    const auto hover = [map](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, map->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(map, &move);
    };
    hover(jfk + QPoint(2, 1));
    QCOMPARE(map->labelledAirport(), 0);
    QCOMPARE(geometry.airports[0].code, u"JFK"_s);
    hover(jfk + QPoint(40, 40));
    QCOMPARE(map->labelledAirport(), -1);

    // Zooming keeps the place under the pointer; the whole world is as far out as it goes.
    map->zoomAt(jfkPlace, 4);
    QCOMPARE(map->view().pixelsPerDegree, 8.0);
    const QPointF stays =
        RouteMapPainter::toPixel(geometry.airports[0].position, map->size(), map->view());
    QVERIFY((stays - jfkPlace).manhattanLength() < 1e-6);
    map->zoomAt(jfk, 1e-3);
    QCOMPARE(map->view().pixelsPerDegree, 2.0);
    map->zoomAt(jfk, 1e6);
    QCOMPARE(map->view().pixelsPerDegree, 2.0 * RouteMapPainter::kMaxZoom);

    // Panning east goes on round the world; north stops at the pole.
    map->showWholeWorld();
    map->panBy({-720, 0});
    QCOMPARE(map->view().centreLongitude, whole.centreLongitude);
    map->zoomAt(map->rect().center(), 2);
    map->panBy({0, 10000});
    QCOMPARE(map->view().centreLatitude, 90 - 360 / (2 * map->view().pixelsPerDegree));
    QTest::keyClick(map, Qt::Key_Home);
    QCOMPARE(map->view().pixelsPerDegree, 2.0);
}

// A new view shows at once, from the last picture moved to where its places now lie, while
// its routes are drawn in another thread; then the window shows what a picture of it shows.
void TestGeographyWindows::mapDrawsNewViewsAside()
{
    RouteMapWidget *map = mapOfOneFlight();
    QSignalSpy ready(map, &RouteMapWidget::pictureReady);
    const auto shown = [map] {
        return map->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto picture = [map](bool routes) {
        QImage image(map->size(), QImage::Format_RGB32);
        QPainter painter(&image);
        if (routes)
            map->mapPainter().paint(painter, map->size(), map->view());
        else
            map->mapPainter().paintBackground(painter, map->size(), map->view());
        return image;
    };

    (void)shown();
    QVERIFY(!map->pictureIsCurrent());
    QVERIFY(ready.wait());
    // A shown window paints after the events that came meanwhile.
    QTest::qWait(100);
    QCOMPARE(shown(), picture(true));
    QVERIFY(map->pictureIsCurrent());

    // The route's middle, moved with the view, is on the map before the routes are drawn again.
    map->panBy({-100, 0});
    const QImage moving = shown();
    QVERIFY(!map->pictureIsCurrent());
    const QList<GeoPoint> &path = m_commands->routeMapGeometry().routes[0].path;
    const QPointF middle =
        RouteMapPainter::toPixel(path[path.size() / 2], map->size(), map->view());
    const QPoint at(int(std::floor(middle.x())), int(std::floor(middle.y())));
    QVERIFY(moving.rect().contains(at));
    QVERIFY(moving.pixel(at) != picture(false).pixel(at));
    QVERIFY(ready.wait());
    QTest::qWait(100);
    QCOMPARE(shown(), picture(true));
}

// "Save Picture..." writes what the map shows as PNG or SVG, and refuses other names.
void TestGeographyWindows::savePicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");
    QTest::newRow("PNG") << u"map.png"_s << true;
    QTest::newRow("SVG, upper case") << u"map.SVG"_s << true;
    QTest::newRow("JPEG is refused") << u"map.jpg"_s << false;
}

void TestGeographyWindows::savePicture()
{
    QFETCH(QString, name);
    QFETCH(bool, written);
    flight(u"2024-01-01"_s, u"JFK"_s, u"LHR"_s);
    m_commands->RouteMapClick();
    RouteMapWindow *window = m_commands->routeMapWindow();
    window->MapWidget->resize(400, 200);
    const QString path = m_files->filePath(name);
    m_dialogAnswers.append({true, path, 0});
    window->SavePictureButton->click();
    QCOMPARE(QFile::exists(path), written);
    QCOMPARE(m_boxes.size(), written ? 0 : 1);
    if (!written)
        return;
    if (name.endsWith(u".png"_s)) {
        const QImage image(path);
        QCOMPARE(image.size(), QSize(400, 200));
    } else {
        QFile svg(path);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<svg"));
    }
}

void TestGeographyWindows::charts()
{
    flight(u"2023-12-31"_s, u"JFK"_s, u"LHR"_s);
    flight(u"2024-01-01"_s, u"LHR"_s, u"JFK"_s);
    flight(u"2024-01-06"_s, u"JFK"_s, u"LAX"_s);
    flight(u"31/12/2021"_s, u"LAX"_s, u"JFK"_s);
    doc().Distances.appendRow({u"JFK"_s, u"LHR"_s, u"3451"_s});
    doc().Distances.appendRow({u"JFK"_s, u"LAX"_s, u"2475"_s});
    doc().Airports.appendRow({u"JFK"_s, u"Kennedy"_s, u"New York"_s, u"United States"_s});
    doc().Airports.appendRow({u"LAX"_s, u"Los Angeles"_s, u"Los Angeles"_s, u"United States"_s});
    doc().Airports.appendRow({u"LHR"_s, u"Heathrow"_s, u"London"_s, u"United Kingdom"_s});
    m_form->UpdateStatusBar();
    QVERIFY(m_form->action(MainCommand::Charts)->isEnabled());
    m_commands->ChartsClick();
    TravelChartsWindow *window = m_commands->chartsWindow();
    QCOMPARE(m_shown, window);
    QCOMPARE(window->PageControl->count(), kTravelChartCount);
    QCOMPARE(window->PageControl->tabText(0), u"Flights per Year"_s);

    using K = TravelChartKind;
    QCOMPARE(window->categories(K::FlightsPerYear),
             QStringList({u"2023"_s, u"2024"_s, u"Unknown"_s}));
    QCOMPARE(valuesOf(window->barSet(K::FlightsPerYear)), QList<qreal>({1, 2, 1}));
    QCOMPARE(valuesOf(window->barSet(K::MilesPerYear)), QList<qreal>({3451, 3451 + 2475, 2475}));
    QCOMPARE(valuesOf(window->barSet(K::FlightsPerMonth)),
             QList<qreal>({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    // 2023-12-31 a Sunday, 2024-01-01 a Monday, 2024-01-06 a Saturday.
    QCOMPARE(valuesOf(window->barSet(K::FlightsPerWeekday)), QList<qreal>({1, 0, 0, 0, 0, 1, 1}));
    // Most flights at the top: the horizontal chart lists its categories from the bottom.
    QCOMPARE(window->categories(K::Countries),
             QStringList({u"United Kingdom"_s, u"United States"_s}));
    QCOMPARE(valuesOf(window->barSet(K::Countries)), QList<qreal>({2, 4}));
    QVERIFY(window->NotesLabel->text().contains(
        u"Longest flight: JFK-LHR, %1 miles (2023-12-31)."_s.arg(QLocale().toString(3451))));
    QVERIFY(window->NotesLabel->text().contains(
        u"1 flight(s) whose date cannot be read, counted under Unknown: \"31/12/2021\" LAX-JFK."_s));

    window->resize(640, 400);
    window->PageControl->setCurrentIndex(int(K::Countries));
    const QString path = m_files->filePath(u"countries.png"_s);
    m_dialogAnswers.append({true, path, 0});
    window->SavePictureButton->click();
    QVERIFY(m_boxes.isEmpty());
    QVERIFY(!QImage(path).isNull());
}

QTEST_MAIN(TestGeographyWindows)
#include "tst_geographywindows.moc"
