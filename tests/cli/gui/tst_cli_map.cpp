// wingbook-cli map: the route map of a log drawn offscreen into a PNG or SVG picture.
#include "cli/CliTestRun.h"
#include "cli/gui/CliGuiCommands.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace
{

const QString kFixtures = QStringLiteral(WINGBOOK_FIXTURES "/geography");

// map with the fixture reference folder (positions included).
CliResult runMap(const QStringList &words)
{
    CliResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status =
        runCli(QStringList{QStringLiteral("wingbook-cli"), QStringLiteral("--def-files-path"),
                           kFixtures, QStringLiteral("map")} +
                   words,
               cliGuiCommands(), out, err);
    out.flush();
    err.flush();
    return result;
}

} // namespace

class TestCliMap : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_settings.isValid()); }
    void init();
    void png_data();
    void png();
    void routesAreDrawn();
    void svg();
    void refused_data();
    void refused();
    void help();

private:
    TestSupport::PrivateSettingsFolder m_settings;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestCliMap::init()
{
    failOnAnyWarning();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
}

void TestCliMap::png_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size");

    QTest::newRow("default width") << QStringList() << QSize(1600, 800);
    QTest::newRow("--width") << QStringList{QStringLiteral("--width"), QStringLiteral("500")}
                             << QSize(500, 250);
}

void TestCliMap::png()
{
    QFETCH(QStringList, options);
    QFETCH(QSize, size);

    // The picture's type follows its extension, in any case.
    const QString picture = m_work->filePath(QStringLiteral("map.PNG"));
    const CliResult drawn =
        runMap(QStringList{kFixtures + QStringLiteral("/distances.xml"), picture} + options);
    QCOMPARE(drawn.status, 0);
    QCOMPARE(drawn.err, QString());
    // ZZZ has no position: its route is not drawn, and it is named.
    QCOMPARE(drawn.out, QStringLiteral("3 route(s), 5 airport(s) drawn.\n"
                                       "1 airport(s) without a known position, not drawn: ZZZ "
                                       "(1 flight)\n"));
    const QImage image(picture, "PNG");
    QCOMPARE(image.size(), size);
}

void TestCliMap::routesAreDrawn()
{
    // The same map without flights differs from the one with them: the routes are drawn.
    const QString empty = m_work->filePath(QStringLiteral("empty.xml"));
    QVERIFY(writeFile(empty, "<?xml version=\"1.0\"?>\n<Logbook/>\n"));
    const QString withRoutes = m_work->filePath(QStringLiteral("routes.png"));
    const QString without = m_work->filePath(QStringLiteral("none.png"));
    const QStringList width{QStringLiteral("--width"), QStringLiteral("400")};
    QCOMPARE(
        runMap(QStringList{kFixtures + QStringLiteral("/travel.xml"), withRoutes} + width).status,
        0);
    const CliResult none = runMap(QStringList{empty, without} + width);
    QCOMPARE(none.status, 0);
    QCOMPARE(none.out, QStringLiteral("0 route(s), 0 airport(s) drawn.\n"));
    const QImage a(withRoutes);
    const QImage b(without);
    QCOMPARE(a.size(), QSize(400, 200));
    QCOMPARE(b.size(), a.size());
    QVERIFY(a != b);
}

void TestCliMap::svg()
{
    const QString picture = m_work->filePath(QStringLiteral("map.svg"));
    const CliResult drawn = runMap({kFixtures + QStringLiteral("/travel.xml"), picture});
    QCOMPARE(drawn.status, 0);
    const QByteArray svg = fileContents(picture);
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains("viewBox=\"0 0 1600 800\""));
}

void TestCliMap::refused_data()
{
    QTest::addColumn<QStringList>("words"); // after the log; %1 is the work folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");

    QTest::newRow("other picture type")
        << QStringList{"%1/map.jpg"} << 2 << "is not a .png or an .svg file";
    QTest::newRow("width not a number") << QStringList{"%1/map.png", "--width", "wide"} << 2
                                        << "--width takes a number of pixels from 2 to 16384, "
                                           "not \"wide\"";
    QTest::newRow("width too large")
        << QStringList{"%1/map.png", "--width", "20000"} << 2 << "not \"20000\"";
    QTest::newRow("width too small")
        << QStringList{"%1/map.png", "--width", "1"} << 2 << "not \"1\"";
    QTest::newRow("folder missing")
        << QStringList{"%1/no/such/folder/map.png"} << 1 << "could not be written";
    QTest::newRow("no picture named") << QStringList() << 2 << "usage: wingbook-cli map LOG OUT";
}

void TestCliMap::refused()
{
    QFETCH(QStringList, words);
    QFETCH(int, status);
    QFETCH(QString, err);

    for (QString &word : words)
        word.replace(QStringLiteral("%1"), m_work->path());
    const CliResult refused =
        runMap(QStringList{kFixtures + QStringLiteral("/travel.xml")} + words);
    QCOMPARE(refused.status, status);
    QVERIFY2(refused.err.contains(err), qPrintable(refused.err));
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
}

void TestCliMap::help()
{
    const CliResult help = runMap({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY2(help.out.contains(u"map LOG OUT [--width N]"), qPrintable(help.out));
}

QTEST_MAIN(TestCliMap)
#include "tst_cli_map.moc"
