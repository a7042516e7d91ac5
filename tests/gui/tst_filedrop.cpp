// The main window with its options dialog: files and shortcuts dropped on it, the start-up
// file, the Options command and the recent-file lists kept across runs.
#include "app/OptionsStartup.h"
#include "app/WingbookUnit1.h"
#include "components/LumRegistryEnhanced.h"
#include "components/ui/LumFileDrag.h"
#include "components/ui/MessageBoxes.h"
#include "model/LogDocument.h"
#include "options/ui/WingbookUnit2.h"

#include "support/ShellLinkFile.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QProgressBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace
{

const QString kFixture = QStringLiteral(WINGBOOK_FIXTURES "/mainwindow/small.xml");
constexpr int kFixtureFlights = 3;

} // namespace

class TestFileDrop : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dropReadsAndImportsInOrder_data();
    void dropReadsAndImportsInOrder();
    void brokenShortcutEndsTheDrop();
    void nonLocalReferencesAreLeftOut();
    void startupFile_data();
    void startupFile();
    void optionsCommandAndTrimmingAtStartup();
    void recentListsSurviveARestart();
    void storedCountOfAMenuListThatIsNotANumber();

private:
    void startWindow(const QStringList &arguments = {});
    QString copyOfFixture(const QString &name);
    QString writeLink(const QString &name, const QString &target);
    void drop(const QList<QUrl> &urls);

    std::unique_ptr<WindowTests::PrivateSettingsFolder> m_config;
    WindowTests::MessageBoxRecorder m_messages;
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<TForm1> m_form;
    TForm2 *m_options = nullptr;
    QStringList m_events; // reads and imports, in order
};

void TestFileDrop::init()
{
    // Each test starts on settings of its own.
    m_config.reset();
    m_config = std::make_unique<WindowTests::PrivateSettingsFolder>();
    m_files = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid() && m_files->isValid());
    qunsetenv("http_proxy");
    qunsetenv("HTTP_PROXY");
    m_events.clear();
    m_messages.clear();
    QFile countries(m_files->filePath(QStringLiteral("Countries.def")));
    QVERIFY(countries.open(QIODevice::WriteOnly));
    countries.write("Peru\nChad\nFiji\n");
    countries.close();
    std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
    store->SetValue(QStringLiteral("CommonDefFilesPath"), m_files->path());
}

void TestFileDrop::cleanup()
{
    m_form.reset();
    m_options = nullptr;
}

void TestFileDrop::startWindow(const QStringList &arguments)
{
    m_form = std::make_unique<TForm1>();
    for (const QString extension : {".csv", ".txt", ".def"}) {
        m_form->setFileImporter(extension, [this, extension](const QString &path) {
            // Which log the file is imported into tells the order of the drop.
            m_events.append(extension + ' ' + QFileInfo(path).fileName() + " into " +
                            QFileInfo(m_form->Document().DocumentFileName).fileName());
        });
    }
    m_options = CreateOptionsDialog(*m_form, arguments);
}

QString TestFileDrop::copyOfFixture(const QString &name)
{
    const QString path = m_files->filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    if (!QFile::copy(kFixture, path))
        qFatal("cannot copy the fixture log");
    return path;
}

QString TestFileDrop::writeLink(const QString &name, const QString &target)
{
    const QString path = m_files->filePath(name);
    if (!ShellLinkFile::write(path, ShellLinkFile::linkTo(target.toLocal8Bit())))
        qFatal("cannot write a shortcut");
    return path;
}

void TestFileDrop::drop(const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(40, 60);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_form.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_form.get(), &dropEvent);
}

void TestFileDrop::dropReadsAndImportsInOrder_data()
{
    QTest::addColumn<QStringList>("names"); // "name>target" writes a shortcut
    QTest::addColumn<QStringList>("imports");
    QTest::addColumn<QStringList>("logsRead"); // the Open list afterwards, newest first
    QTest::newRow("log then csv") << QStringList{"trip.xml", "flights.csv"}
                                  << QStringList{".csv flights.csv into trip.xml"}
                                  << QStringList{"trip.xml"};
    QTest::newRow("upper-case XML")
        << QStringList{"TRIP.XML"} << QStringList{} << QStringList{"TRIP.XML"};
    QTest::newRow("shortcut to a log")
        << QStringList{"Trip.LNK>trip.xml"} << QStringList{} << QStringList{"trip.xml"};
    QTest::newRow("two logs") << QStringList{"a.xml", "b.xml"} << QStringList{}
                              << QStringList{"b.xml", "a.xml"};
    QTest::newRow("unknown and missing targets ignored")
        << QStringList{"notes.doc", "gone.lnk>nowhere/gone.xml", "list.TXT"}
        << QStringList{".txt list.TXT into "} << QStringList{};
}

void TestFileDrop::dropReadsAndImportsInOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, imports);
    QFETCH(QStringList, logsRead);
    startWindow();
    QList<QUrl> urls;
    for (const QString &entry : names) {
        const QString name = entry.section('>', 0, 0);
        const QString target = entry.section('>', 1);
        QString path;
        if (!target.isEmpty()) {
            if (!target.startsWith(QLatin1String("nowhere")))
                copyOfFixture(target);
            path = writeLink(name, m_files->filePath(target));
        } else {
            path = copyOfFixture(name);
        }
        urls.append(QUrl::fromLocalFile(path));
    }
    drop(urls);
    QCOMPARE(m_events, imports);
    QStringList read;
    for (const QString &path : m_form->Document().OpenRecent.entries())
        read.append(QFileInfo(path).fileName());
    QCOMPARE(read, logsRead);
    QCOMPARE(m_form->LumFileDrag1->FileCount(), names.size());
    QVERIFY(m_messages.boxes.isEmpty());
    QCOMPARE(m_form->Document().Flights.count(), logsRead.isEmpty() ? 0 : kFixtureFlights);
}

void TestFileDrop::brokenShortcutEndsTheDrop()
{
    startWindow();
    const QString broken = m_files->filePath(QStringLiteral("broken.lnk"));
    QVERIFY(ShellLinkFile::write(broken, "not a shortcut"));
    drop({QUrl::fromLocalFile(copyOfFixture("a.csv")), QUrl::fromLocalFile(broken),
          QUrl::fromLocalFile(copyOfFixture("trip.xml"))});
    QCOMPARE(m_events, QStringList{".csv a.csv into "});
    QCOMPARE(m_messages.boxes.size(), 1);
    QCOMPARE(m_messages.boxes.first().title, QStringLiteral("Wingbook"));
    QCOMPARE(m_messages.boxes.first().text, QStringLiteral("Read error."));
    QCOMPARE(m_form->Document().Flights.count(), 0);
}

void TestFileDrop::nonLocalReferencesAreLeftOut()
{
    startWindow();
    drop({QUrl(QStringLiteral("https://example.org/trip.xml")),
          QUrl::fromLocalFile(copyOfFixture("trip.xml"))});
    QCOMPARE(m_form->LumFileDrag1->Files(), QStringList{m_files->filePath("trip.xml")});
    QCOMPARE(m_form->Document().DocumentFileName, m_files->filePath("trip.xml"));
}

void TestFileDrop::startupFile_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" is the temporary folder
    QTest::addColumn<QString>("opened");        // file name of the log read, "" for none
    QTest::addColumn<int>("errors");
    QTest::newRow("arguments joined with blanks")
        << QStringList{"@/My", "Logs/trip.xml"} << "trip.xml" << 0;
    QTest::newRow("shortcut to a log") << QStringList{"@/trip.lnk"} << "trip.xml" << 0;
    QTest::newRow("shortcut to a csv file") << QStringList{"@/flights.lnk"} << "" << 0;
    QTest::newRow("broken shortcut") << QStringList{"@/broken.lnk"} << "" << 1;
    QTest::newRow("missing file") << QStringList{"@/gone.xml"} << "" << 0;
}

void TestFileDrop::startupFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, opened);
    QFETCH(int, errors);
    const QString log = copyOfFixture(QStringLiteral("My Logs/trip.xml"));
    writeLink(QStringLiteral("trip.lnk"), log);
    copyOfFixture(QStringLiteral("flights.csv"));
    writeLink(QStringLiteral("flights.lnk"), m_files->filePath(QStringLiteral("flights.csv")));
    QVERIFY(ShellLinkFile::write(m_files->filePath(QStringLiteral("broken.lnk")), "junk"));
    for (QString &argument : arguments)
        argument.replace('@', m_files->path());

    startWindow(arguments);
    QCOMPARE(m_messages.boxes.size(), errors);
    if (opened.isEmpty()) {
        QCOMPARE(m_form->Document().Flights.count(), 0);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Wingbook"));
    } else {
        QCOMPARE(m_form->Document().DocumentFileName, log);
        QCOMPARE(m_form->Document().Flights.count(), kFixtureFlights);
        QCOMPARE(m_form->windowTitle(), opened + QStringLiteral(" - Wingbook"));
        QCOMPARE(m_form->ProgressBar1->value(), m_form->ProgressBar1->maximum());
    }
}

void TestFileDrop::optionsCommandAndTrimmingAtStartup()
{
    {
        std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
        store->SetValue(QStringLiteral("Options\\RecentlyUsedFileList"), 2);
        store->SetValue(QStringLiteral("Options\\AutoPopulateAirlines"), false);
        store->SetMenu(QStringLiteral("History Lists\\Open"), {"/1.xml", "/2.xml", "/3.xml"});
    }
    startWindow();
    // The dialog's controls are the options the window reads.
    QCOMPARE(&m_form->options(), static_cast<const WingbookOptions *>(m_options));
    QVERIFY(!m_form->options().AutoPopulateAirlines());
    QCOMPARE(m_form->options().CheckedCountries(), (QStringList{"Chad", "Fiji", "Peru"}));
    QCOMPARE(m_form->Document().OpenRecent.entries(), (QStringList{"/1.xml", "/2.xml"}));

    QVERIFY(m_form->action(MainCommand::Options)->isVisible());
    QTimer::singleShot(0, m_options, [this] {
        m_options->AutoPopulateAirlinesCheckBox->setChecked(true);
        m_options->RecentlyUsedFileListUpDown->setValue(1);
        m_options->accept();
    });
    m_form->action(MainCommand::Options)->trigger();
    QVERIFY(m_form->options().AutoPopulateAirlines());
    QCOMPARE(m_form->Document().OpenRecent.entries(), (QStringList{"/1.xml"}));
    std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
    QCOMPARE(store->GetValueDefault("Options\\RecentlyUsedFileList", 0), QVariant(1));
    // The stored list is rewritten when the window closes, not before.
    QStringList stored;
    QVERIFY(store->GetMenu(QStringLiteral("History Lists\\Open"), stored));
    QCOMPARE(stored.size(), 3);
    m_form->close();
    QVERIFY(store->GetMenu(QStringLiteral("History Lists\\Open"), stored));
    QCOMPARE(stored, QStringList{"/1.xml"});
}

void TestFileDrop::recentListsSurviveARestart()
{
    const QString log = copyOfFixture(QStringLiteral("trip.xml"));
    startWindow();
    drop({QUrl::fromLocalFile(log)});
    m_form->ImportRecent.AddToRecentMenu(QStringLiteral("/data/flights.csv"), 5);
    m_form->close();
    m_form.reset();

    startWindow(); // opens the last log at start-up
    QCOMPARE(m_form->Document().OpenRecent.entries(), QStringList{log});
    QCOMPARE(m_form->ImportRecent.entries(), QStringList{"/data/flights.csv"});
    QCOMPARE(m_form->Document().DocumentFileName, log);
}

void TestFileDrop::storedCountOfAMenuListThatIsNotANumber()
{
    {
        std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
        store->SetValue(QStringLiteral("History Lists\\Open\\Count"), QStringLiteral("many"));
        store->SetValue(QStringLiteral("Options\\RecentlyUsedFileList"), QStringLiteral("x"));
    }
    startWindow();
    QVERIFY(m_messages.boxes.isEmpty());
    QVERIFY(m_form->Document().OpenRecent.entries().isEmpty());
    QCOMPARE(m_form->options().RecentlyUsedFileList(), 5);
}

QTEST_MAIN(TestFileDrop)
#include "tst_filedrop.moc"
