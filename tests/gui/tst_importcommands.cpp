// The Import command in the main window, as a user meets it: the Import dialog, the recent
// list, dropped files, what the window shows while an import runs, the stop question and the
// window given back afterwards.
#include "app/WingbookUnit1.h"
#include "components/LumRegistryEnhanced.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "exchange/ui/ImportCommands.h"
#include "model/LogDocument.h"
#include "platform/ui/FileDialogs.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

const QString kReferenceFiles = QStringLiteral(WINGBOOK_FIXTURES "/editing");
const QString kStopQuestion = QStringLiteral("Do you want to stop processing?");
const QString kSaveQuestion = QStringLiteral("Do you want to save the current file?");

// Runs `step` once the window lets events run for the n-th time from now (n = 1: the first).
void atEventRound(int n, std::function<void()> step)
{
    if (n <= 1) {
        QMetaObject::invokeMethod(qApp, std::move(step), Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(
        qApp, [n, step = std::move(step)] { atEventRound(n - 1, step); }, Qt::QueuedConnection);
}

} // namespace

class TestImportCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void importButtonPicksAndDispatches_data();
    void importButtonPicksAndDispatches();
    void dialogRemembersTheLastFolder();
    void recentEntryImportsAgain();
    void droppedFileImportsWhateverItsCase();
    void droppedWebLogbookExportEndsWithItsSummary();
    void windowWhileImportRuns();
    void stopQuestionStopsBetweenTwoLines();
    void unreadableFileIsReportedAndTheWindowIsGivenBack();
    void importedRowsAreNotLostOnClose();
    void closeDuringAnImportAsksToStopFirst();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    QByteArray airlineLines(int count) const;
    void pickInDialog(const QString &path);
    void drop(const QString &path);

    WindowTests::MessageBoxRecorder m_boxes;
    WindowTests::FileDialogRecorder m_dialogs;
    std::unique_ptr<WindowTests::PrivateSettingsFolder> m_config;
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<TForm1> m_form;
    ImportCommands *m_imports = nullptr;
    OptionSet m_options;
};

void TestImportCommands::init()
{
    m_config = std::make_unique<WindowTests::PrivateSettingsFolder>();
    m_files = std::make_unique<QTemporaryDir>();
    {
        std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
        store->SetValue(QStringLiteral("DefFilesPath"), kReferenceFiles);
    }
    m_options = OptionSet();
    m_boxes.clear();
    m_dialogs.clear();
    m_form = std::make_unique<TForm1>();
    m_form->setOptions(&m_options);
    m_imports = new ImportCommands(*m_form, m_form.get());
}

void TestImportCommands::cleanup()
{
    m_imports = nullptr;
    m_form.reset();
    m_config.reset();
}

QString TestImportCommands::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_files->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(bytes);
    return path;
}

// DEF lines of `count` airlines with the codes AA, AB, AC, ... in this order.
QByteArray TestImportCommands::airlineLines(int count) const
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += char('A' + i / 26 % 26);
        text += char('A' + i % 26);
        text += "\tAirline " + QByteArray::number(i) + '\n';
    }
    return text;
}

void TestImportCommands::pickInDialog(const QString &path)
{
    m_dialogs.answers.append({true, path, 0});
    m_form->action(MainCommand::Import)->trigger();
}

void TestImportCommands::drop(const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPointF at(40, 60);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_form.get(), &enter);
    QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_form.get(), &dropEvent);
}

void TestImportCommands::importButtonPicksAndDispatches_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("counts");
    const QString none = u"0 flight(s) - 0 airline(s) - 0 airport(s) - 0 distance(s)"_s;
    // The flight's airline and airports are filled in from the reference files.
    QTest::newRow("csv") << u"flights.csv"_s
                         << "Date,Time,From,To,Airline,Flight\n2021-03-04,09:05,JFK,CDG,AF,8\n"_ba
                         << int(TableKind::Flights)
                         << u"1 flight(s) - 1 airline(s) - 2 airport(s) - 1 distance(s)"_s;
    QTest::newRow("txt") << u"airports.txt"_s << "ORY\tParis [Orly], France\n"_ba
                         << int(TableKind::Airports)
                         << u"0 flight(s) - 0 airline(s) - 1 airport(s) - 0 distance(s)"_s;
    QTest::newRow("def") << u"log.def"_s << "JFK-CDG\t3625\n"_ba << int(TableKind::Distances)
                         << u"0 flight(s) - 0 airline(s) - 0 airport(s) - 1 distance(s)"_s;
    QTest::newRow("upper-case extension: nothing")
        << u"FLIGHTS.CSV"_s << "h,h\nAF,Air France\n"_ba << int(TableKind::Flights) << none;
    QTest::newRow("other extension: nothing")
        << u"flights.dat"_s << "h,h\nAF,Air France\n"_ba << int(TableKind::Flights) << none;
}

void TestImportCommands::importButtonPicksAndDispatches()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(int, page);
    QFETCH(QString, counts);
    QVERIFY(m_form->action(MainCommand::Import)->isVisible());
    QVERIFY(m_form->action(MainCommand::Import)->isEnabled());
    const QString path = writeFile(name, file);
    pickInDialog(path);
    QCOMPARE(m_dialogs.requests.size(), 1);
    const FileDialogs::Request &request = m_dialogs.requests.first();
    QCOMPARE(request.title, u"Import"_s);
    QCOMPARE(request.filters, (QStringList{u"CSV files (*.csv)"_s, u"DEF files (*.def)"_s,
                                           u"Text files (*.txt)"_s, u"All files (*)"_s}));
    QCOMPARE(request.filterIndex, 0);
    QCOMPARE(request.defaultExtension, u"csv"_s);
    QVERIFY(request.proposedName.isEmpty());
    QCOMPARE(int(m_form->activeTable()), page);
    QCOMPARE(m_form->statusText(), counts);
    QVERIFY(m_boxes.boxes.isEmpty());
    QCOMPARE(m_form->Document().isModified(), m_form->Document().totalRows() > 0);
    if (name == u"flights.csv"_s) {
        QCOMPARE(m_form->Document().Airlines.cell(0, 1), u"Air France"_s);
        QCOMPARE(m_form->Document().Airports.cell(0, 1), u"Charles de Gaulle"_s);
    }
}

void TestImportCommands::dialogRemembersTheLastFolder()
{
    m_form->action(MainCommand::Import)->trigger(); // cancelled
    QDir().mkpath(m_files->filePath(u"sub"_s));
    const QString path = writeFile(u"sub/a.def"_s, "AF\tAir France\n"_ba);
    pickInDialog(path);
    m_form->action(MainCommand::Import)->trigger();
    QCOMPARE(m_dialogs.requests.size(), 3);
    QCOMPARE(m_dialogs.requests[2].folder, m_files->filePath(u"sub"_s));
    QCOMPARE(m_imports->dialogFile(), path);
    QVERIFY(m_dialogs.requests[2].proposedName.isEmpty());
}

void TestImportCommands::recentEntryImportsAgain()
{
    const QString path = writeFile(u"a.csv"_s, "h,h\n2021-03-04,9:05 PM,JFK,CDG,AF,8\n"_ba);
    drop(path);
    QCOMPARE(m_form->ImportRecent.entries(), QStringList{path});
    QCOMPARE(m_form->ImportPopupMenu->actions().size(), 1);
    // A time that needed normalising is not found again: the flight is appended once more.
    m_form->ImportPopupMenu->actions().first()->trigger();
    QCOMPARE(m_form->Document().Flights.count(), 2);
    QCOMPARE(m_form->Document().Airlines.referenceCount(0), 2);

    QFile::remove(path);
    m_form->ImportPopupMenu->actions().first()->trigger();
    QCOMPARE(
        m_boxes.texts(MessageBoxes::Kind::Error),
        QStringList{u"Cannot import \""_s + path + u"\".\rThe file has been deleted or moved."_s});
    QVERIFY(m_form->ImportRecent.entries().isEmpty());
}

void TestImportCommands::droppedFileImportsWhateverItsCase()
{
    drop(writeFile(u"AIRPORTS.TXT"_s, "ORY\tParis [Orly], France\n"_ba));
    QCOMPARE(m_form->Document().Airports.count(), 1);
    QCOMPARE(m_form->activeTable(), TableKind::Airports);
    // A drop asks no save question, even with a changed log.
    QVERIFY(m_boxes.texts(MessageBoxes::Kind::Confirmation).isEmpty());
}

void TestImportCommands::droppedWebLogbookExportEndsWithItsSummary()
{
    // A myFlightradar24 export as the service writes it: byte-order mark, empty first line.
    const QString path = writeFile(
        u"flightradar24.csv"_s,
        "\xEF\xBB\xBF\r\nDate,\"Flight number\",From,To,\"Dep time\",\"Arr time\",Duration,"
        "Airline,Aircraft,Registration,\"Seat number\",\"Seat type\",\"Flight class\","
        "\"Flight reason\",Note,Dep_id,Arr_id,Airline_id,Aircraft_id\r\n"
        "2018-07-14,AF22,\"New York / John F. Kennedy International (JFK/KJFK)\","
        "\"Paris / Charles de Gaulle (CDG/LFPG)\",13:35:00,,,\"Air France (AF/AFR)\",,,,,,,\"Nice,"
        "\r\nwindow\",,,,\r\n"
        "2018,AF23,(CDG/LFPG),(JFK/KJFK),,,,\"Air France (AF/AFR)\",,,,,,,,,,,\r\n"_ba);
    m_form->setActiveTable(TableKind::Airports);
    drop(path);
    QCOMPARE(m_form->activeTable(), TableKind::Flights);
    const QString skipped = u"Line 5: date not readable (\"2018\")"_s;
    QCOMPARE(m_boxes.texts(MessageBoxes::Kind::Information),
             QStringList{u"1 flight(s) imported, 0 already in the log, 1 line(s) skipped\n"_s +
                         skipped});
    QCOMPARE(m_form->statusText(), u"1 flight(s) - 1 airline(s) - 2 airport(s) - 1 distance(s)"_s);
    const LogTable &airports = m_form->Document().Airports;
    QCOMPARE(airports.cell(airports.FindItemByText(u"JFK"_s, 0), 1), u"John F Kennedy Intl"_s);
    QCOMPARE(m_form->ImportRecent.entries(), QStringList{path});
    QVERIFY(m_form->Document().isModified());
    QVERIFY(m_form->action(MainCommand::Import)->isEnabled());

    m_boxes.clear();
    drop(path);
    QCOMPARE(m_boxes.texts(MessageBoxes::Kind::Information),
             QStringList{u"0 flight(s) imported, 1 already in the log, 1 line(s) skipped\n"_s +
                         skipped});
    QCOMPARE(m_form->Document().Flights.count(), 1);
}

void TestImportCommands::windowWhileImportRuns()
{
    m_imports->setEventInterval(0);
    m_form->Document().Airlines.appendRow({u"ZZ"_s, u"Zed"_s});
    const QString path = writeFile(u"a.def"_s, airlineLines(5));
    QStringList seen;
    atEventRound(2, [&] {
        seen << (m_form->Processing ? u"processing"_s : u"idle"_s);
        seen << (m_form->ToolBar1->isEnabled() ? u"toolbar on"_s : u"toolbar off"_s);
        seen << (QApplication::overrideCursor() &&
                         QApplication::overrideCursor()->shape() == Qt::BusyCursor
                     ? u"busy pointer"_s
                     : u"normal pointer"_s);
        seen << m_form->statusText();
        for (MainCommand command : {MainCommand::Import, MainCommand::Open, MainCommand::New,
                                    MainCommand::Add, MainCommand::Exit})
            seen << (m_form->action(command)->isEnabled() ? u"on"_s : u"off"_s);
        // Record commands and drops are refused while the rows come in.
        m_form->LumListView2->selectAll();
        m_form->runRecordCommand(TableKind::Airlines, RecordCommand::Delete);
        drop(writeFile(u"b.def"_s, "QQ\tOther\n"_ba));
    });
    bool deleted = false;
    m_form->setRecordCommand(TableKind::Airlines, RecordCommand::Delete,
                             [&deleted] { deleted = true; });
    drop(path);
    QCOMPARE(seen, (QStringList{u"processing"_s, u"toolbar off"_s, u"busy pointer"_s,
                                u"Importing "_s + path, u"off"_s, u"off"_s, u"off"_s, u"off"_s,
                                u"on"_s}));
    QVERIFY(!deleted);
    QCOMPARE(m_form->Document().Airlines.FindItemByText(u"QQ"_s, 0), -1);
    // Afterwards everything is back.
    QVERIFY(!m_form->Processing);
    QVERIFY(m_form->ToolBar1->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(m_form->action(MainCommand::Open)->isEnabled());
    QCOMPARE(m_form->Document().Airlines.count(), 6);
}

void TestImportCommands::stopQuestionStopsBetweenTwoLines()
{
    m_imports->setEventInterval(0);
    m_form->Document().Airlines.appendRow({u"ZZ"_s, u"Zed"_s});
    m_form->setActiveTable(TableKind::Airlines);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    TLumListView *view = m_form->LumListView2;
    const QPoint row0 = view->visualRect(view->model()->index(0, 0)).center();
    // The user clicks a row while the third line is next: the answer No goes on, then a
    // click before the fifth line and the answer Yes stops.
    m_boxes.answers = {QMessageBox::No, QMessageBox::Yes};
    atEventRound(3, [&] { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row0); });
    atEventRound(5, [&] { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row0); });
    drop(writeFile(u"a.def"_s, airlineLines(40)));
    QCOMPARE(m_boxes.texts(MessageBoxes::Kind::Confirmation),
             (QStringList{kStopQuestion, kStopQuestion}));
    // Four lines were read; the fifth and later were not.
    const LogTable &airlines = m_form->Document().Airlines;
    QCOMPARE(airlines.count(), 1 + 4);
    QVERIFY(airlines.FindItemByText(u"AD"_s, 0) >= 0);
    QCOMPARE(airlines.FindItemByText(u"AE"_s, 0), -1);
    QVERIFY(!m_form->Processing && !m_form->StopRequested);
    QVERIFY(m_form->ToolBar1->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(m_form->statusText(), u"0 flight(s) - 5 airline(s) - 0 airport(s) - 0 distance(s)"_s);
    // The rows read were sorted as after any import.
    QCOMPARE(airlines.cell(0, 0), u"AA"_s);
    QCOMPARE(airlines.cell(4, 0), u"ZZ"_s);
}

void TestImportCommands::unreadableFileIsReportedAndTheWindowIsGivenBack()
{
    m_form->Document().Airlines.appendRow({u"ZZ"_s, u"Zed"_s});
    const QString path = m_files->filePath(u"folder.csv"_s);
    QVERIFY(QDir().mkpath(path));
    // A dropped folder is no file and is left out; a recent entry naming it is tried.
    drop(path);
    QVERIFY(m_boxes.boxes.isEmpty());
    m_form->ImportRecent.setEntries({path});
    m_form->ImportPopupMenu->actions().first()->trigger();
    const QStringList errors = m_boxes.texts(MessageBoxes::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(path), qPrintable(errors.first()));
    QCOMPARE(m_form->Document().Airlines.count(), 1);
    QVERIFY(!m_form->Processing);
    QVERIFY(m_form->ToolBar1->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(m_form->action(MainCommand::Import)->isEnabled());
}

void TestImportCommands::importedRowsAreNotLostOnClose()
{
    drop(writeFile(u"a.def"_s, "AF\tAir France\n"_ba));
    QVERIFY(m_form->Document().isModified());
    QVERIFY(m_form->action(MainCommand::Save)->isEnabled());
    m_form->show();
    m_form->close();
    QCOMPARE(m_boxes.texts(MessageBoxes::Kind::Confirmation), QStringList{kSaveQuestion});
}

void TestImportCommands::closeDuringAnImportAsksToStopFirst()
{
    m_imports->setEventInterval(0);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_boxes.answers = {QMessageBox::Yes, QMessageBox::No};
    atEventRound(3, [&] { m_form->close(); });
    drop(writeFile(u"a.def"_s, airlineLines(40)));
    // The close waited for the import to stop; the rows read so far are in the log.
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->Document().Airlines.count(), 2);
    QCOMPARE(m_boxes.texts(MessageBoxes::Kind::Confirmation), QStringList{kStopQuestion});
    // Then the window closes as usual, with the save question.
    QTRY_VERIFY(!m_form->isVisible());
    QCOMPARE(m_boxes.texts(MessageBoxes::Kind::Confirmation),
             (QStringList{kStopQuestion, kSaveQuestion}));
}

QTEST_MAIN(TestImportCommands)
#include "tst_importcommands.moc"
