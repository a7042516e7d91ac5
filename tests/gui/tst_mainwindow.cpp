// The main window driven as a user would: commands, the save question, Save As, sorting, find,
// key and mouse routing, context menus and what the window keeps in the settings store.
#include "app/MainWindowPages.h"
#include "app/WingbookUnit1.h"
#include "components/LumRegistryEnhanced.h"
#include "components/ui/FindDialog.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "model/LogDocument.h"
#include "platform/VersionInfo.h"
#include "platform/ui/FileDialogs.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

namespace
{

const QString kFixture = QStringLiteral(WINGBOOK_FIXTURES "/mainwindow/small.xml");
const QString kSaveQuestion = QStringLiteral("Do you want to save the current file?");

enum FlightColumn { Date, Time, From, To };

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyLogStatusAndEnabling();
    void loadedLogStatusAndEnabling();
    void saveQuestion_data();
    void saveQuestion();
    void failedSaveKeepsTheLogModified();
    void saveAs_data();
    void saveAs();
    void saveOfADeletedFileAsksForAName();
    void headerClicksSortStably();
    void findMessagesAndFindNext();
    void enterAndDoubleClickRouting_data();
    void enterAndDoubleClickRouting();
    void contextMenuEnabling_data();
    void contextMenuEnabling();
    void contextMenuWithoutRegisteredCommands();
    void menusAndToolBarLayout_data();
    void menusAndToolBarLayout();
    void clickWhileProcessingAsksToStop_data();
    void clickWhileProcessingAsksToStop();
    void recentEntryOfMissingFile();
    void settingsKeptAcrossRuns();
    void startupFile_data();
    void startupFile();
    void progressCountsEveryNode();

private:
    // Copies the fixture log into the temporary folder.
    QString copyOfFixture(const QString &name = QStringLiteral("trip.xml"));
    void openThroughDialog(const QString &path);
    QStringList confirmations() const;

    WindowTests::PrivateSettingsFolder m_config;
    WindowTests::MessageBoxRecorder m_messages;
    WindowTests::FileDialogRecorder m_fileDialogs;
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<TForm1> m_form;
    OptionSet m_options;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_config.isValid());
}

void TestMainWindow::init()
{
    QFile::remove(m_config.settingsFile());
    m_files = std::make_unique<QTemporaryDir>();
    m_options = OptionSet();
    m_messages.clear();
    m_fileDialogs.clear();
    m_form = std::make_unique<TForm1>();
    m_form->setOptions(&m_options);
}

void TestMainWindow::cleanup()
{
    m_form.reset();
}

QString TestMainWindow::copyOfFixture(const QString &name)
{
    const QString path = m_files->filePath(name);
    QFile::remove(path);
    if (!QFile::copy(kFixture, path))
        return QString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void TestMainWindow::openThroughDialog(const QString &path)
{
    m_fileDialogs.answers.append({true, path, 0});
    m_form->action(MainCommand::Open)->trigger();
}

QStringList TestMainWindow::confirmations() const
{
    return m_messages.texts(MessageBoxes::Kind::Confirmation);
}

void TestMainWindow::emptyLogStatusAndEnabling()
{
    m_form->setCommandHandler(MainCommand::Export, [] {});
    m_form->setCommandHandler(MainCommand::Statistics, [] {});
    m_form->UpdateStatusBar();
    QVERIFY(m_form->action(MainCommand::Export)->isVisible());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Wingbook"));
    QCOMPARE(m_form->statusText(),
             QStringLiteral("0 flight(s) - 0 airline(s) - 0 airport(s) - 0 distance(s)"));
    for (QAction *off :
         {m_form->action(MainCommand::Save), m_form->action(MainCommand::SaveAs),
          m_form->action(MainCommand::Export), m_form->action(MainCommand::Statistics),
          m_form->action(MainCommand::Find)})
        QVERIFY2(!off->isEnabled(), qPrintable(off->text()));
    for (QAction *on : {m_form->action(MainCommand::New), m_form->action(MainCommand::Open),
                        m_form->action(MainCommand::Exit)})
        QVERIFY2(on->isEnabled(), qPrintable(on->text()));
    QCOMPARE(m_form->PageControl1->currentIndex(), 0);
    QCOMPARE(m_form->PageControl1->tabText(3), QStringLiteral("Distances"));
}

void TestMainWindow::loadedLogStatusAndEnabling()
{
    m_form->setCommandHandler(MainCommand::Export, [] {});
    m_form->setCommandHandler(MainCommand::Statistics, [] {});
    const QString path = copyOfFixture();
    openThroughDialog(path);
    QCOMPARE(m_fileDialogs.requests.size(), 1);
    QCOMPARE(m_fileDialogs.requests[0].title, QStringLiteral("Open"));
    QCOMPARE(m_fileDialogs.requests[0].defaultExtension, QStringLiteral("xml"));
    QVERIFY(m_messages.boxes.isEmpty());

    QCOMPARE(m_form->windowTitle(), QStringLiteral("trip.xml - Wingbook"));
    QCOMPARE(m_form->statusText(),
             path + QStringLiteral(" - 3 flight(s) - 0 airline(s) - 3 airport(s) - 2 distance(s)"));
    QVERIFY(!m_form->action(MainCommand::Save)->isEnabled()); // reading leaves the log unmodified
    QVERIFY(m_form->action(MainCommand::SaveAs)->isEnabled());
    QVERIFY(m_form->action(MainCommand::Export)->isEnabled());
    QVERIFY(m_form->action(MainCommand::Statistics)->isEnabled());
    QVERIFY(m_form->action(MainCommand::Find)->isEnabled());

    // The page-change rule: Find follows the rows of the active page's table.
    m_form->setActiveTable(TableKind::Airlines);
    QVERIFY(!m_form->action(MainCommand::Find)->isEnabled());
    m_form->setActiveTable(TableKind::Distances);
    QVERIFY(m_form->action(MainCommand::Find)->isEnabled());

    // The next Open starts in the folder of the file just read.
    m_form->action(MainCommand::Open)->trigger();
    QCOMPARE(m_fileDialogs.requests.size(), 2);
    QCOMPARE(m_fileDialogs.requests[1].folder, m_files->path());
    QCOMPARE(m_form->Document().DocumentFileName, path); // cancelled: unchanged

    // The Save command is the modified state.
    m_form->Document().setModified(true);
    QVERIFY(m_form->action(MainCommand::Save)->isEnabled());
}

void TestMainWindow::saveQuestion_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("loaded"); // read from a file, or rows never saved
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("asked");

    QTest::newRow("new, modified, no") << "new" << true << true << false << true;
    QTest::newRow("new, modified, yes") << "new" << true << true << true << true;
    QTest::newRow("new, unmodified file") << "new" << true << false << false << false;
    QTest::newRow("new, rows never saved") << "new" << false << false << false << true;
    QTest::newRow("open, modified, no") << "open" << true << true << false << true;
    QTest::newRow("open, unmodified file") << "open" << true << false << false << false;
    QTest::newRow("open, rows never saved") << "open" << false << false << false << true;
    QTest::newRow("close, modified, no") << "close" << true << true << false << true;
    QTest::newRow("close, modified, yes") << "close" << true << true << true << true;
    QTest::newRow("close, rows never saved") << "close" << false << false << false << false;
}

void TestMainWindow::saveQuestion()
{
    QFETCH(QString, command);
    QFETCH(bool, loaded);
    QFETCH(bool, modified);
    QFETCH(bool, answerYes);
    QFETCH(bool, asked);

    LogDocument &document = m_form->Document();
    const QString path = copyOfFixture();
    if (loaded) {
        QVERIFY(m_form->openLogFile(path));
    } else {
        document.Flights.appendRow({QStringLiteral("2024-02-02"), QStringLiteral("08:00"),
                                    QStringLiteral("AAA"), QStringLiteral("BBB"),
                                    QStringLiteral("XX"), QStringLiteral("0001")});
        m_form->UpdateStatusBar();
    }
    if (modified) {
        document.Flights.setCell(0, 5, QStringLiteral("9999"));
        document.setModified(true);
    }
    m_messages.answers.append(answerYes ? QMessageBox::Yes : QMessageBox::No);

    if (command == QLatin1String("new"))
        m_form->action(MainCommand::New)->trigger();
    else if (command == QLatin1String("open"))
        m_form->action(MainCommand::Open)->trigger(); // the Open dialog is then cancelled
    else
        QVERIFY(m_form->close());

    QCOMPARE(confirmations(), asked ? QStringList{kSaveQuestion} : QStringList{});
    // Yes saved; No to New's or Open's question turns the modified state off.
    if (asked && (answerYes || command != QLatin1String("close")))
        QCOMPARE(document.isModified(), false);
    // Yes wrote the changed flight back to the file.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().contains("9999"), asked && answerYes);
    if (command == QLatin1String("new")) {
        QCOMPARE(document.totalRows(), 0);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Wingbook"));
    }
}

void TestMainWindow::failedSaveKeepsTheLogModified()
{
    const QString path = copyOfFixture();
    QVERIFY(m_form->openLogFile(path));
    LogDocument &document = m_form->Document();
    document.Flights.setCell(0, 5, QStringLiteral("9999"));
    document.setModified(true);

    // Save As into a folder that does not exist.
    const QString gone = m_files->filePath(QStringLiteral("gone/trip.xml"));
    m_fileDialogs.answers.append({true, gone, 0});
    m_form->action(MainCommand::SaveAs)->trigger();
    const QList<MessageBoxes::Request> errors = m_messages.of(MessageBoxes::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors[0].title, QStringLiteral("Wingbook"));
    QVERIFY(errors[0].text.contains(gone));
    QVERIFY(errors[0].text.endsWith(QLatin1Char('.')));
    QVERIFY(document.isModified());
    QVERIFY(m_form->action(MainCommand::Save)->isEnabled());
    QCOMPARE(document.DocumentFileName, path);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("trip.xml - Wingbook"));

    // New after Yes and a failed save stops, and so does closing: the changes stay.
    m_messages.boxes.clear();
    m_messages.answers = {QMessageBox::Yes};
    m_fileDialogs.answers.append({true, gone, 0});
    document.SaveFileName.clear();
    m_form->action(MainCommand::New)->trigger();
    QCOMPARE(m_messages.of(MessageBoxes::Kind::Error).size(), 1);
    QCOMPARE(document.Flights.count(), 3);
    QVERIFY(document.isModified());

    m_form->show();
    m_messages.answers = {QMessageBox::Yes};
    m_fileDialogs.answers.append({true, gone, 0});
    QVERIFY(!m_form->close());
    QVERIFY(m_form->isVisible());
    QVERIFY(document.isModified());
}

void TestMainWindow::saveAs_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written"); // empty: nothing is written

    QTest::newRow(".xml") << "copy.xml"
                          << "copy.xml";
    QTest::newRow("no extension gets .xml") << "copy"
                                            << "copy.xml";
    QTest::newRow("upper-case .XML") << "copy.XML"
                                     << "";
    QTest::newRow("other extension") << "copy.txt"
                                     << "";
}

void TestMainWindow::saveAs()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);

    const QString path = copyOfFixture();
    QVERIFY(m_form->openLogFile(path));
    LogDocument &document = m_form->Document();
    document.setModified(true);
    m_options.promptBeforeOverwriting = false;

    m_fileDialogs.answers.append({true, m_files->filePath(chosen), 1});
    m_form->action(MainCommand::SaveAs)->trigger();

    QCOMPARE(m_fileDialogs.requests.size(), 1);
    const FileDialogs::Request &request = m_fileDialogs.requests[0];
    QCOMPARE(request.title, QStringLiteral("Save As"));
    QCOMPARE(request.folder, m_files->path());
    QCOMPARE(request.proposedName, QStringLiteral("trip.xml"));
    QCOMPARE(request.filterIndex, 1); // a proposed .xml name preselects the second filter
    QVERIFY(!request.overwritePrompt);
    QVERIFY(m_messages.boxes.isEmpty());

    if (written.isEmpty()) {
        QCOMPARE(QDir(m_files->path()).entryList(QDir::Files), QStringList{"trip.xml"});
        QCOMPARE(document.SaveFileName, m_files->filePath(chosen));
        QCOMPARE(document.DocumentFileName, path);
        QVERIFY(document.isModified());
    } else {
        const QString target = m_files->filePath(written);
        QVERIFY(QFile::exists(target));
        QCOMPARE(document.SaveFileName, target);
        QCOMPARE(document.DocumentFileName, target);
        QVERIFY(!document.isModified());
        QCOMPARE(m_form->windowTitle(), written + QStringLiteral(" - Wingbook"));
        QCOMPARE(document.OpenRecent.entries().value(0), target);
    }
}

void TestMainWindow::saveOfADeletedFileAsksForAName()
{
    const QString path = copyOfFixture();
    QVERIFY(m_form->openLogFile(path));
    m_form->Document().setModified(true);
    QVERIFY(QFile::remove(path));
    m_fileDialogs.answers.append({true, path, 0});
    m_form->action(MainCommand::Save)->trigger();
    QCOMPARE(m_fileDialogs.requests.size(), 1);
    QCOMPARE(m_fileDialogs.requests[0].title, QStringLiteral("Save As"));
    QVERIFY(m_fileDialogs.requests[0].overwritePrompt);
    QVERIFY(QFile::exists(path));
    QVERIFY(!m_form->Document().isModified());
}

void TestMainWindow::headerClicksSortStably()
{
    QVERIFY(m_form->openLogFile(copyOfFixture()));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    TLumListView *view = m_form->LumListView1;
    const LogTable &flights = m_form->Document().Flights;
    QHeaderView *header = view->horizontalHeader();
    auto clickHeader = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    auto column = [&](int c) {
        QStringList cells;
        for (int r = 0; r < flights.count(); ++r)
            cells.append(flights.cell(r, c));
        return cells;
    };
    auto hasArrow = [&](int c) {
        return !view->model()->headerData(c, Qt::Horizontal, Qt::DecorationRole).isNull();
    };

    // Read newest first; the two flights to JFK keep that order in both directions.
    QCOMPARE(column(Date), QStringList({"2023-01-05", "2022-06-01", "2021-03-15"}));
    clickHeader(To);
    QCOMPARE(view->LastSortIndex(), int(To));
    QVERIFY(view->LastSortAscending());
    QVERIFY(hasArrow(To));
    QCOMPARE(column(To), QStringList({"JFK", "JFK", "YUL"}));
    QCOMPARE(column(Date), QStringList({"2023-01-05", "2021-03-15", "2022-06-01"}));

    clickHeader(To);
    QVERIFY(!view->LastSortAscending());
    QCOMPARE(column(Date), QStringList({"2022-06-01", "2023-01-05", "2021-03-15"}));

    clickHeader(From);
    QCOMPARE(view->LastSortIndex(), int(From));
    QVERIFY(view->LastSortAscending());
    QVERIFY(hasArrow(From));
    QVERIFY(!hasArrow(To));
    QCOMPARE(column(From), QStringList({"BOS", "JFK", "YUL"}));
    QVERIFY(!m_form->Document().isModified()); // sorting changes nothing to save
}

void TestMainWindow::findMessagesAndFindNext()
{
    QVERIFY(m_form->openLogFile(copyOfFixture()));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->setActiveTable(TableKind::Airports);
    TLumListView *view = m_form->LumListView3;

    m_form->action(MainCommand::Find)->trigger();
    FindDialog *dialog = view->findDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    dialog->setText(QStringLiteral("montreal")); // matches Montréal: accents are folded
    QTest::mouseClick(dialog->findNextButton(), Qt::LeftButton);
    QVERIFY(m_messages.boxes.isEmpty());
    QCOMPARE(view->selectedRows(), QList<int>{2});

    // Find next (F3) past the last match.
    QTest::keyClick(view, Qt::Key_F3);
    QCOMPARE(m_messages.boxes.size(), 1);
    QCOMPARE(m_messages.boxes[0].kind, MessageBoxes::Kind::Plain);
    QCOMPARE(m_messages.boxes[0].title, QStringLiteral("Search Results"));
    QCOMPARE(m_messages.boxes[0].text, QStringLiteral("No more instances of \"montreal\" found."));

    // A new Find through the Tools command, for a text that is nowhere.
    m_form->action(MainCommand::Find)->trigger();
    dialog = view->findDialog();
    QVERIFY(dialog);
    dialog->setText(QStringLiteral("Zurich"));
    QTest::mouseClick(dialog->findNextButton(), Qt::LeftButton);
    QCOMPARE(m_messages.boxes.size(), 2);
    QCOMPARE(m_messages.boxes[1].text, QStringLiteral("Search string \"Zurich\" not found."));
    QVERIFY(!m_form->Document().isModified());
}

void TestMainWindow::enterAndDoubleClickRouting_data()
{
    QTest::addColumn<bool>("propertiesOnDoubleClick");
    QTest::addColumn<int>("page");
    QTest::newRow("properties, flights") << true << 0;
    QTest::newRow("add, flights") << false << 0;
    QTest::newRow("properties, distances") << true << 3;
    QTest::newRow("add, airports") << false << 2;
}

void TestMainWindow::enterAndDoubleClickRouting()
{
    QFETCH(bool, propertiesOnDoubleClick);
    QFETCH(int, page);

    QVERIFY(m_form->openLogFile(copyOfFixture()));
    m_options.handleDoubleClicks = propertiesOnDoubleClick;
    QStringList calls;
    for (int t = 0; t < 4; ++t) {
        for (const auto &[command, name] :
             {std::pair{RecordCommand::Properties, "properties"},
              std::pair{RecordCommand::Add, "add"}, std::pair{RecordCommand::Delete, "delete"}}) {
            m_form->setRecordCommand(kPages[t].kind, command, [&calls, name = name, t] {
                calls.append(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(t));
            });
        }
    }
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->setActiveTable(kPages[page].kind);
    TLumListView *view = m_form->GetActiveLumListView();
    const QString expected =
        QStringLiteral("%1 %2").arg(propertiesOnDoubleClick ? "properties" : "add").arg(page);

    // Enter anywhere in the window goes to the active page's table.
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(m_form->PageControl1, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(calls, QStringList({expected, expected}));

    calls.clear();
    const QRect cell = view->visualRect(view->model()->index(0, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(calls, QStringList{expected});

    calls.clear();
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(calls, QStringList{QStringLiteral("delete %1").arg(page)});
}

void TestMainWindow::contextMenuEnabling_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<bool>("propertiesOnDoubleClick");
    QTest::addColumn<QString>("addCaption");
    QTest::addColumn<bool>("propertiesOn");
    QTest::addColumn<bool>("deleteOn");
    QTest::addColumn<bool>("oneRowItemsOn"); // Derive and Locate

    QTest::newRow("flights, none") << 0 << QList<int>{} << true << "Add" << false << false << false;
    QTest::newRow("flights, one") << 0 << QList<int>{1} << true << "Modify" << true << true << true;
    QTest::newRow("flights, two") << 0 << QList<int>{0, 2} << false << "Add" << false << true
                                  << false;
    QTest::newRow("distances, two")
        << 3 << QList<int>{0, 1} << true << "Add" << false << true << false;
}

void TestMainWindow::contextMenuEnabling()
{
    QFETCH(int, page);
    QFETCH(QList<int>, selection);
    QFETCH(bool, propertiesOnDoubleClick);
    QFETCH(QString, addCaption);
    QFETCH(bool, propertiesOn);
    QFETCH(bool, deleteOn);
    QFETCH(bool, oneRowItemsOn);

    QVERIFY(m_form->openLogFile(copyOfFixture()));
    m_options.handleDoubleClicks = propertiesOnDoubleClick;
    const TableKind kind = page == 0 ? TableKind::Flights : TableKind::Distances;
    for (RecordCommand command :
         {RecordCommand::Properties, RecordCommand::Add, RecordCommand::Delete,
          RecordCommand::Clear, RecordCommand::Derive, RecordCommand::Swap,
          RecordCommand::DistanceCalculator})
        m_form->setRecordCommand(kind, command, [] {});
    // The Flights' "Locate" submenu shows once it has an item.
    if (kind == TableKind::Flights)
        m_form->recordSubmenu(kind, RecordCommand::Locate)->addAction(QStringLiteral("Airline"));

    TLumListView *view = m_form->listView(kind);
    view->clearSelection();
    for (int row : selection)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QMenu *menu = m_form->contextMenu(kind);
    QStringList captions;
    QHash<QString, QAction *> items;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        captions.append(action->text());
        items.insert(action->text(), action);
    }
    const bool flights = kind == TableKind::Flights;
    const QString extra =
        flights ? QStringLiteral("Locate") : QStringLiteral("Distance Calculator");
    const QString last = flights ? QStringLiteral("Derive") : QStringLiteral("Swap");
    QCOMPARE(captions,
             QStringList({"Properties", "Find...", "Clear", extra, addCaption, "Delete", last}));
    QCOMPARE(items["Properties"]->isEnabled(), propertiesOn);
    QVERIFY(items["Find..."]->isEnabled());
    QVERIFY(items["Clear"]->isEnabled());
    QVERIFY(items[addCaption]->isEnabled());
    QCOMPARE(items["Delete"]->isEnabled(), deleteOn);
    if (flights) {
        QCOMPARE(items["Derive"]->isEnabled(), oneRowItemsOn);
        QCOMPARE(items["Locate"]->isEnabled(), oneRowItemsOn);
    } else {
        QCOMPARE(items["Swap"]->isEnabled(), deleteOn);
        QVERIFY(items["Distance Calculator"]->isEnabled()); // whatever the selection
    }
    QCOMPARE(menu->defaultAction(),
             propertiesOnDoubleClick ? items["Properties"] : items[addCaption]);
    // Registering Add brings the toolbar's Add and the Tools "Add" submenu.
    QVERIFY(m_form->action(MainCommand::Add)->isVisible());
    QVERIFY(m_form->ToolsAddMenu->menuAction()->isVisible());
}

void TestMainWindow::contextMenuWithoutRegisteredCommands()
{
    QMenu *menu = m_form->contextMenu(TableKind::Airports);
    QStringList visible;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible())
            visible.append(action->text());
    }
    QCOMPARE(visible, QStringList{"Find..."});
    QVERIFY(!visible.isEmpty() && !menu->actions().isEmpty());
    QVERIFY(!m_form->action(MainCommand::Add)->isVisible());
    QVERIFY(!m_form->ToolsAddMenu->menuAction()->isVisible());
    QVERIFY(!m_form->action(MainCommand::Import)->isVisible());

    QStringList calls;
    m_form->setCommandHandler(MainCommand::Import, [&calls] { calls.append("import"); });
    QVERIFY(m_form->action(MainCommand::Import)->isVisible());
    m_form->action(MainCommand::Import)->trigger();
    QCOMPARE(calls, QStringList{"import"});

    // A handler given again replaces the first one; none hides the command again.
    calls.clear();
    m_form->setCommandHandler(MainCommand::Import, [&calls] { calls.append("again"); });
    m_form->action(MainCommand::Import)->trigger();
    QCOMPARE(calls, QStringList{"again"});
    m_form->setCommandHandler(MainCommand::Import, nullptr);
    QVERIFY(!m_form->action(MainCommand::Import)->isVisible());

    // Likewise a record command's handler, through its item and its routes.
    QVERIFY(m_form->openLogFile(copyOfFixture()));
    calls.clear();
    m_form->setRecordCommand(TableKind::Airports, RecordCommand::Delete,
                             [&calls] { calls.append("delete"); });
    m_form->setRecordCommand(TableKind::Airports, RecordCommand::Delete,
                             [&calls] { calls.append("delete again"); });
    QAction *deleteItem = nullptr;
    for (QAction *action : m_form->contextMenu(TableKind::Airports)->actions()) {
        if (action->text() == QLatin1String("Delete"))
            deleteItem = action;
    }
    QVERIFY(deleteItem && deleteItem->isVisible());
    m_form->listView(TableKind::Airports)->selectOnly(0);
    m_form->contextMenu(TableKind::Airports);
    deleteItem->trigger();
    m_form->runRecordCommand(TableKind::Airports, RecordCommand::Delete);
    QCOMPARE(calls, QStringList({"delete again", "delete again"}));
}

void TestMainWindow::menusAndToolBarLayout_data()
{
    QTest::addColumn<bool>("everyCommand"); // every handler given, and the tables' Add
    QTest::addColumn<QStringList>("fileMenu");
    QTest::addColumn<QStringList>("toolsMenu");
    QTest::addColumn<QStringList>("helpMenu");
    QTest::addColumn<QStringList>("toolBar");

    // "-" is a separator; hidden items are left out. The menus hide their separators where
    // nothing is shown between them.
    QTest::newRow("the window alone")
        << false
        << QStringList{"New\tCtrl+N", "Open...\tCtrl+O", "Save\tCtrl+S", "Save As...", "-", "-",
                       "Exit"}
        << QStringList{"Find...\tCtrl+F", "-", "-", "-"} << QStringList{"Release Notes\tF1", "-"}
        << QStringList{"New", "Open", "Save", "Save As", "-", "Find", "-", "Exit"};
    QTest::newRow("every command")
        << true << QStringList{"New\tCtrl+N", "Open...\tCtrl+O", "Save\tCtrl+S", "Save As...",
                               "-",           "Import...",       "Export...",    "-",
                               "Exit"}
        << QStringList{"Find...\tCtrl+F",
                       "-",
                       "Add>",
                       "-",
                       "Statistics...",
                       "Compute Distances",
                       "Route Map...",
                       "Charts...",
                       "-",
                       "Options..."}
        << QStringList{"Release Notes\tF1", "Check for Updates...\tF9", "-", "About..."}
        << QStringList{"New",        "Open", "Save",    "Save As", "-",     "Import",
                       "Export",     "-",    "Find",    "-",       "Add",   "-",
                       "Statistics", "-",    "Options", "-",       "About", "Exit"};
}

void TestMainWindow::menusAndToolBarLayout()
{
    QFETCH(bool, everyCommand);
    QFETCH(QStringList, fileMenu);
    QFETCH(QStringList, toolsMenu);
    QFETCH(QStringList, helpMenu);
    QFETCH(QStringList, toolBar);

    if (everyCommand) {
        for (MainCommand command :
             {MainCommand::Import, MainCommand::Export, MainCommand::Statistics,
              MainCommand::ComputeDistances, MainCommand::RouteMap, MainCommand::Charts,
              MainCommand::Options, MainCommand::CheckForUpdates, MainCommand::About})
            m_form->setCommandHandler(command, [] {});
        for (const PageDescription &page : kPages)
            m_form->setRecordCommand(page.kind, RecordCommand::Add, [] {});
    }
    auto items = [](const QList<QAction *> &actions, bool hints) {
        QStringList shown;
        for (const QAction *action : actions) {
            if (!action->isVisible())
                continue;
            QString text = action->isSeparator() ? QStringLiteral("-")
                           : hints               ? action->iconText()
                                                 : action->text();
            if (action->menu())
                text += QLatin1Char('>');
            if (!action->shortcut().isEmpty())
                text += QStringLiteral("\t") + action->shortcut().toString();
            shown.append(text);
        }
        return shown;
    };
    const QList<QAction *> menus = m_form->menuBar()->actions();
    QCOMPARE(items(menus, false), QStringList({"&File>", "&Tools>", "&Help>"}));
    QCOMPARE(items(menus[0]->menu()->actions(), false), fileMenu);
    QCOMPARE(items(menus[1]->menu()->actions(), false), toolsMenu);
    QCOMPARE(items(menus[2]->menu()->actions(), false), helpMenu);

    QStringList buttons;
    for (const QString &button : items(m_form->ToolBar1->actions(), true))
        buttons.append(button.section(QStringLiteral("\t"), 0, 0));
    QCOMPARE(buttons, toolBar);
    for (QAction *action : m_form->ToolBar1->actions()) {
        if (!action->isSeparator())
            QCOMPARE(m_form->ToolBar1->widgetForAction(action)->size(), QSize(26, 26));
    }
    if (everyCommand) {
        QStringList addItems;
        for (QAction *action : m_form->ToolsAddMenu->actions())
            addItems.append(action->text());
        QCOMPARE(addItems, QStringList({"Flight", "Airline", "Airport", "Distance"}));
    }
}

void TestMainWindow::clickWhileProcessingAsksToStop_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestMainWindow::clickWhileProcessingAsksToStop()
{
    QFETCH(bool, answerYes);
    QVERIFY(m_form->openLogFile(copyOfFixture()));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    TLumListView *view = m_form->LumListView1;
    const QPoint row1 = view->visualRect(view->model()->index(1, 0)).center();

    // Not processing: a click moves where Find next starts.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row1);
    QVERIFY(m_messages.boxes.isEmpty());
    QCOMPARE(view->findStartPosition(), 1);

    m_form->Processing = true;
    m_form->StopRequested = !answerYes;
    m_messages.answers.append(answerYes ? QMessageBox::Yes : QMessageBox::No);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row1);
    QCOMPARE(confirmations(), QStringList{"Do you want to stop processing?"});
    QCOMPARE(m_form->StopRequested, answerYes);
}

void TestMainWindow::recentEntryOfMissingFile()
{
    const QString kept = copyOfFixture();
    const QString missing = m_files->filePath(QStringLiteral("missing.xml"));
    m_form->Document().OpenRecent.setEntries({missing, kept});
    QCOMPARE(m_form->OpenPopupMenu->actions().size(), 2);

    m_form->OpenPopupMenu->actions().at(0)->trigger();
    const QList<MessageBoxes::Request> errors = m_messages.of(MessageBoxes::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors[0].text, QStringLiteral("Cannot open \"") + missing +
                                 QStringLiteral("\".\rThe file has been deleted or moved."));
    QCOMPARE(m_form->Document().OpenRecent.entries(), QStringList{kept});
    QCOMPARE(m_form->OpenPopupMenu->actions().size(), 1);

    m_form->OpenPopupMenu->actions().at(0)->trigger();
    QCOMPARE(m_form->Document().DocumentFileName, kept);
    QCOMPARE(m_form->Document().Flights.count(), 3);
}

void TestMainWindow::settingsKeptAcrossRuns()
{
    const QString path = copyOfFixture();
    QVERIFY(m_form->openLogFile(path));
    m_form->ImportRecent.AddToRecentMenu(QStringLiteral("/data/flights.csv"), 5);
    m_form->show();
    m_form->move(40, 50);
    m_form->resize(700, 500);
    const QRect outer = m_form->frameGeometry();
    QVERIFY(m_form->close());
    m_form.reset();

    TLumRegistryEnhanced store;
    store.setKey(TLumRegistryEnhanced::programKey());
    QCOMPARE(store.GetValue(QStringLiteral("Version")).toString(), ExtractVersion(true));
    QVERIFY(store.ValueExists(QStringLiteral("ApplicationPath")));
    TFormPlacement placement;
    QCOMPARE(store.GetFormInfo(QStringLiteral("FormInfo\\Main Window"), placement),
             TLumRegistryEnhanced::fiFound);
    QCOMPARE(placement.width, outer.width());
    QCOMPARE(placement.height, outer.height());
    QCOMPARE(placement.state, QStringLiteral("wsNormal"));

    m_form = std::make_unique<TForm1>();
    QCOMPARE(m_form->Document().OpenRecent.entries(), QStringList{path});
    QCOMPARE(m_form->ImportRecent.entries(), QStringList{"/data/flights.csv"});
    QCOMPARE(m_form->ImportPopupMenu->actions().size(), 1);
    // Before the window is first shown its frame is unknown, so the size comes back within
    // the frame's margins of the stored one.
    QVERIFY(qAbs(m_form->width() - 700) <= outer.width() - 700);
    QVERIFY(qAbs(m_form->height() - 500) <= outer.height() - 500);
}

void TestMainWindow::startupFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fromCommandLine");
    QTest::addColumn<bool>("openLast");
    QTest::addColumn<bool>("opened");

    QTest::newRow("command line with a blank") << "my trip.xml" << true << false << true;
    QTest::newRow("upper-case extension") << "TRIP.XML" << true << false << true;
    QTest::newRow("not a log") << "trip.txt" << true << false << false;
    QTest::newRow("last opened file") << "trip.xml" << false << true << true;
    QTest::newRow("last opened file, option off") << "trip.xml" << false << false << false;
}

void TestMainWindow::startupFile()
{
    QFETCH(QString, name);
    QFETCH(bool, fromCommandLine);
    QFETCH(bool, openLast);
    QFETCH(bool, opened);

    const QString path = copyOfFixture(name);
    m_options.openLastOpenedFile = openLast;
    QStringList arguments;
    if (fromCommandLine)
        arguments = path.split(QLatin1Char(' '));
    else
        m_form->Document().OpenRecent.setEntries({path});
    m_form->openStartupFile(arguments);

    QCOMPARE(m_form->Document().Flights.count(), opened ? 3 : 0);
    QCOMPARE(m_form->windowTitle(),
             opened ? name + QStringLiteral(" - Wingbook") : QStringLiteral("Wingbook"));
    if (opened) {
        // Read while hidden: the bar's end is unknown, and it is filled afterwards.
        QCOMPARE(m_form->ProgressBar1->maximum(), 2147483647);
        QCOMPARE(m_form->ProgressBar1->value(), 2147483647);
    }
}

void TestMainWindow::progressCountsEveryNode()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QVERIFY(m_form->openLogFile(copyOfFixture()));
    // Every node below the root: 4 sections, 8 records and 16 whitespace texts between them.
    QCOMPARE(m_form->ProgressBar1->maximum(), 28);
    QCOMPARE(m_form->ProgressBar1->value(), 28);
    QCOMPARE(m_form->progressPosition(), 28);

    m_form->action(MainCommand::New)->trigger();
    QCOMPARE(m_form->ProgressBar1->value(), 0);
    QCOMPARE(m_form->Document().totalRows(), 0);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Wingbook"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
