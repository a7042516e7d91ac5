// The Export and Statistics commands of the main window: when they show and are enabled, the
// Export dialog, the messages, the page that is written, the stop question and a failed write.
#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "exchange/ui/ExportCommand.h"
#include "model/LogDocument.h"
#include "statistics/ui/StatisticsCommand.h"
#include "statistics/ui/WingbookUnit8.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TableKind)

namespace
{

const QString kFixture = QStringLiteral(WINGBOOK_FIXTURES "/mainwindow/small.xml");
const QString kOnlyActiveView = u"Only the active view has been exported."_s;
const QString kNoData = u"No data has been exported."_s;

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

} // namespace

class TestExportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandsShownAndEnabled();
    void exportDialogRequest();
    void exportByExtension_data();
    void exportByExtension();
    void cancelDoesNothing();
    void failedWriteReported();
    void clickDuringExportStopsIt();
    void statisticsShowsTheOpenLog();

private:
    void openFixture();
    void answerDialog(const QString &path);

    WindowTests::PrivateSettingsFolder m_config;
    WindowTests::MessageBoxRecorder m_boxes;
    WindowTests::FileDialogRecorder m_dialogs;
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<TForm1> m_form;
    OptionSet m_options;
};

void TestExportCommand::init()
{
    m_files = std::make_unique<QTemporaryDir>();
    m_options = OptionSet();
    m_boxes.clear();
    m_dialogs.clear();
    m_form = std::make_unique<TForm1>();
    m_form->setOptions(&m_options);
}

void TestExportCommand::cleanup()
{
    m_form.reset();
}

void TestExportCommand::openFixture()
{
    const QString path = m_files->filePath(u"trip.xml"_s);
    QVERIFY(QFile::copy(kFixture, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(m_form->openLogFile(path));
}

void TestExportCommand::answerDialog(const QString &path)
{
    m_dialogs.answers.append({true, path, 0});
}

void TestExportCommand::commandsShownAndEnabled()
{
    QAction *exportAction = m_form->action(MainCommand::Export);
    QAction *statistics = m_form->action(MainCommand::Statistics);
    QVERIFY(!exportAction->isVisible());
    QVERIFY(!statistics->isVisible());

    new ExportCommand(*m_form, m_form.get());
    CreateStatisticsWindow(*m_form);
    QVERIFY(exportAction->isVisible());
    QVERIFY(statistics->isVisible());
    QVERIFY(!exportAction->isEnabled());
    QVERIFY(!statistics->isEnabled());

    // One row in any table is enough, a flight not needed.
    m_form->Document().Distances.appendRow({u"JFK"_s, u"LAX"_s, u"2475"_s});
    m_form->UpdateStatusBar();
    QVERIFY(exportAction->isEnabled());
    QVERIFY(statistics->isEnabled());
    m_form->Document().clearTables();
    m_form->UpdateStatusBar();
    QVERIFY(!exportAction->isEnabled());
}

void TestExportCommand::exportDialogRequest()
{
    new ExportCommand(*m_form, m_form.get());
    openFixture();
    m_options.promptBeforeOverwriting = false;
    m_form->action(MainCommand::Export)->trigger();
    QCOMPARE(m_dialogs.requests.size(), 1);
    const FileDialogs::Request &request = m_dialogs.requests.first();
    QVERIFY(request.save);
    QCOMPARE(request.title, u"Export"_s);
    QCOMPARE(request.filters,
             (QStringList{"CSV files (*.csv)", "DEF files (*.def)", "All files (*.*)"}));
    QCOMPARE(request.filterIndex, 0);
    QCOMPARE(request.defaultExtension, u"csv"_s);
    QCOMPARE(request.folder, m_files->path());
    QVERIFY(request.proposedName.isEmpty());
    QVERIFY(!request.overwritePrompt);
}

void TestExportCommand::exportByExtension_data()
{
    QTest::addColumn<TableKind>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("flights as csv")
        << TableKind::Flights << u"flights.csv"_s << kOnlyActiveView
        << QByteArray("\"Date\",\"Time\",\"From\",\"To\",\"Airline\",\"Flight\"\r\n"
                      "\"2023-01-05\",\"07:45\",\"YUL\",\"JFK\",\"AC\",\"0700\"\r\n"
                      "\"2022-06-01\",\"10:00\",\"JFK\",\"YUL\",\"AC\",\"0701\"\r\n"
                      "\"2021-03-15\",\"12:30\",\"BOS\",\"JFK\",\"DL\",\"0100\"\r\n");
    QTest::newRow("airports page as def")
        << TableKind::Airports << u"airports.def"_s << kOnlyActiveView
        << QByteArray("BOS\tLogan|Boston, United States\r\n"
                      "JFK\tKennedy|New York, United States\r\n"
                      "YUL\tTrudeau|Montr\xc3\xa9"
                      "al, Canada\r\n");
    QTest::newRow("empty airlines page: header only")
        << TableKind::Airlines << u"airlines.csv"_s << kOnlyActiveView
        << QByteArray("\"Airline\",\"Name\"\r\n");
    QTest::newRow("upper-case CSV")
        << TableKind::Flights << u"flights.CSV"_s << kNoData << QByteArray("<missing>");
    QTest::newRow("txt") << TableKind::Distances << u"distances.txt"_s << kNoData
                         << QByteArray("<missing>");
}

void TestExportCommand::exportByExtension()
{
    QFETCH(TableKind, page);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QByteArray, content);

    new ExportCommand(*m_form, m_form.get());
    openFixture();
    m_form->setActiveTable(page);
    const QString path = m_files->filePath(name);
    answerDialog(path);
    m_form->action(MainCommand::Export)->trigger();
    QCOMPARE(m_boxes.boxes.size(), 1);
    QCOMPARE(m_boxes.boxes.first().text, message);
    QCOMPARE(m_boxes.boxes.first().kind,
             message == kNoData ? MessageBoxes::Kind::Error : MessageBoxes::Kind::Information);
    QCOMPARE(readAll(path), content);
    // The export leaves the log and the window as they were.
    QVERIFY(!m_form->action(MainCommand::Save)->isEnabled());
    QVERIFY(m_form->ToolBar1->isEnabled());
    QVERIFY(!m_form->Processing);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(m_form->statusText().startsWith(m_files->filePath(u"trip.xml"_s)));
}

void TestExportCommand::cancelDoesNothing()
{
    new ExportCommand(*m_form, m_form.get());
    openFixture();
    m_form->action(MainCommand::Export)->trigger();
    QCOMPARE(m_dialogs.requests.size(), 1);
    QVERIFY(m_boxes.boxes.isEmpty());
}

void TestExportCommand::failedWriteReported()
{
    new ExportCommand(*m_form, m_form.get());
    openFixture();
    const QString path = m_files->filePath(u"no/such/folder/flights.csv"_s);
    answerDialog(path);
    m_form->action(MainCommand::Export)->trigger();
    QCOMPARE(m_boxes.boxes.size(), 1);
    QCOMPARE(m_boxes.boxes.first().kind, MessageBoxes::Kind::Error);
    QVERIFY2(m_boxes.boxes.first().text.contains(path), qPrintable(m_boxes.boxes.first().text));
    QVERIFY(m_form->ToolBar1->isEnabled());
}

void TestExportCommand::clickDuringExportStopsIt()
{
    new ExportCommand(*m_form, m_form.get());
    openFixture();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    TLumListView *view = m_form->LumListView1;
    const QPoint row = view->visualRect(view->model()->index(0, 0)).center();
    // The click waits in the event queue until the export lets events run between rows.
    QTimer::singleShot(
        0, view, [view, row] { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row); });
    m_boxes.answers = {QMessageBox::Yes, QMessageBox::Ok};
    const QString path = m_files->filePath(u"stopped.csv"_s);
    answerDialog(path);
    m_form->action(MainCommand::Export)->trigger();
    QCOMPARE(m_boxes.boxes.size(), 2);
    QCOMPARE(m_boxes.boxes[0].text, u"Do you want to stop processing?"_s);
    QCOMPARE(m_boxes.boxes[1].text, kOnlyActiveView);
    QCOMPARE(readAll(path),
             QByteArray("\"Date\",\"Time\",\"From\",\"To\",\"Airline\",\"Flight\"\r\n"));
    QVERIFY(!m_form->Processing);
    QVERIFY(!m_form->StopRequested);
}

void TestExportCommand::statisticsShowsTheOpenLog()
{
    TForm8 *window = CreateStatisticsWindow(*m_form);
    QCOMPARE(window->parent(), m_form.get());
    openFixture();
    QStringList shown;
    QString count;
    QTimer::singleShot(0, window, [&] {
        for (const QLabel *label : window->ValueLabels)
            shown.append(label->text());
        count = window->CountLabel->text();
        window->CloseButton->click();
    });
    m_form->action(MainCommand::Statistics)->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(shown.size(), 8);
    QCOMPARE(shown[0], u"3"_s);
    // JFK-YUL 333 miles, flown twice; BOS-JFK 0 miles.
    QCOMPARE(shown[1], u"666"_s);
    QCOMPARE(shown[2], u"222"_s);
    QCOMPARE(count, u"0 airline(s)"_s);
    QVERIFY2(shown[6].startsWith(u"2021-03-15 12"_s), qPrintable(shown[6]));
}

QTEST_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
