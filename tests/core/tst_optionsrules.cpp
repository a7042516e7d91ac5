// The options' rules that need no window: the system proxy and its server string, the country
// list and its editor lines, and the choice of the start-up file.
#include "options/CheckListText.h"
#include "options/CountryList.h"
#include "options/ProxySettings.h"
#include "options/StartupFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestOptionsRules : public QObject
{
    Q_OBJECT

private slots:
    void proxyServerString_data();
    void proxyServerString();
    void proxyFromEnvironment_data();
    void proxyFromEnvironment();
    void builtInCountries();
    void countryOrder_data();
    void countryOrder();
    void editorLines_data();
    void editorLines();
    void editorLinesOfAList();
    void startupFile_data();
    void startupFile();
    void relativeStartupFileBecomesAbsolute();
    void brokenShortcutAtStartup();

private:
    QTemporaryDir m_dir;
};

void TestOptionsRules::proxyServerString_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("per protocol") << "http"
                                  << "http=P:8080;https=Q:443"
                                  << "P" << 8080;
    QTest::newRow("per protocol, blank") << "http"
                                         << "ftp=F:21 http=P:8080 https=Q:1"
                                         << "P" << 8080;
    QTest::newRow("plain") << "http"
                           << "P:3128"
                           << "P" << 3128;
    QTest::newRow("host only") << "http"
                               << "P"
                               << "" << 80;
    QTest::newRow("only https entry") << "http"
                                      << "https=P:443"
                                      << "https=P" << 443;
    QTest::newRow("https asked") << "HTTPS"
                                 << "http=P:8080;https=Q:443"
                                 << "Q" << 443;
    QTest::newRow("unknown protocol means http") << "gopher"
                                                 << "http=P:8080;https=Q:443"
                                                 << "P" << 8080;
    QTest::newRow("port not a number") << "http"
                                       << "P:web"
                                       << "P" << 0;
    QTest::newRow("empty") << "http"
                           << ""
                           << "" << 80;
}

void TestOptionsRules::proxyServerString()
{
    QFETCH(QString, protocol);
    QFETCH(QString, server);
    QFETCH(QString, host);
    QFETCH(int, port);
    const ProtocolProxy proxy = ParseProxyServerString(protocol, server);
    QCOMPARE(proxy.host, host);
    QCOMPARE(proxy.port, port);
}

void TestOptionsRules::proxyFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("lower");
    QTest::addColumn<QByteArray>("upper");
    QTest::addColumn<bool>("inUse");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("none") << QByteArray() << QByteArray() << false << "" << 80;
    QTest::newRow("url") << QByteArray("http://proxy.example:3128/") << QByteArray() << true
                         << "proxy.example" << 3128;
    QTest::newRow("upper-case name")
        << QByteArray() << QByteArray("http://up.example:8000") << true << "up.example" << 8000;
    QTest::newRow("lower-case first")
        << QByteArray("low.example:81") << QByteArray("http://up.example:8000") << true
        << "low.example" << 81;
    QTest::newRow("no port") << QByteArray("http://user:pw@proxy.example") << QByteArray() << true
                             << "proxy.example" << 80;
    QTest::newRow("no host") << QByteArray("http://:3128") << QByteArray() << false << "" << 80;
}

void TestOptionsRules::proxyFromEnvironment()
{
    QFETCH(QByteArray, lower);
    QFETCH(QByteArray, upper);
    QFETCH(bool, inUse);
    QFETCH(QString, host);
    QFETCH(int, port);
    const auto set = [](const char *name, const QByteArray &value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    set("http_proxy", lower);
    set("HTTP_PROXY", upper);
    const ProtocolProxy proxy = SystemProxyFor(QStringLiteral("http"));
    qunsetenv("http_proxy");
    qunsetenv("HTTP_PROXY");
    QCOMPARE(proxy.inUse, inUse);
    QCOMPARE(proxy.host, host);
    QCOMPARE(proxy.port, port);
}

void TestOptionsRules::builtInCountries()
{
    const QStringList &countries = BuiltInCountries();
    QCOMPARE(countries.size(), 235);
    QCOMPARE(countries.first(), QStringLiteral("Afghanistan"));
    QCOMPARE(countries.at(1), QStringLiteral("Åland Islands"));
    QCOMPARE(countries.last(), QStringLiteral("Zimbabwe"));
    QVERIFY(countries.contains(QStringLiteral("Congo, Democratic Republic of the")));
    QVERIFY(countries.contains(QStringLiteral("Côte d'Ivoire")));
    QCOMPARE(QSet<QString>(countries.begin(), countries.end()).size(), 235);
}

void TestOptionsRules::countryOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");

    const QStringList names = {"Zimbabwe",
                               "Albania",
                               QStringLiteral("Åland Islands"),
                               "afghanistan",
                               QStringLiteral("Réunion"),
                               "Romania",
                               "Qatar"};
    QTest::newRow("English: accents and case weigh least")
        << "en_US" << names
        << QStringList{"afghanistan", QStringLiteral("Åland Islands"), "Albania",
                       "Qatar",       QStringLiteral("Réunion"),       "Romania",
                       "Zimbabwe"};
    QTest::newRow("C locale sorts as English")
        << "C" << names << QStringList{"afghanistan", QStringLiteral("Åland Islands"), "Albania",
                                       "Qatar",       QStringLiteral("Réunion"),       "Romania",
                                       "Zimbabwe"};
    QTest::newRow("Swedish: Å is a letter after Z") << "sv_SE" << names
                                                    << QStringList{"afghanistan",
                                                                   "Albania",
                                                                   "Qatar",
                                                                   QStringLiteral("Réunion"),
                                                                   "Romania",
                                                                   "Zimbabwe",
                                                                   QStringLiteral("Åland Islands")};
    QTest::newRow("equal names keep their order")
        << "en_US" << QStringList{"France", "france", "FRANCE"}
        << QStringList{"France", "france", "FRANCE"};
}

void TestOptionsRules::countryOrder()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    QCOMPARE(SortedCountryNames(names, QLocale(locale)), sorted);
}

void TestOptionsRules::editorLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checked");
    const QString mark(CheckMark);
    QTest::newRow("checked") << mark + "France"
                             << "France" << true;
    QTest::newRow("mark after") << "France" + mark << "France" + mark << false;
    QTest::newRow("bare") << "Spain"
                          << "Spain" << false;
    QTest::newRow("empty") << ""
                           << "" << false;
    QTest::newRow("two marks") << mark + mark + "Peru" << mark + "Peru" << true;
    QTest::newRow("blank before mark") << " " + mark + "Chad"
                                       << " " + mark + "Chad" << false;
}

void TestOptionsRules::editorLines()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(bool, checked);
    const QList<TCheckListItem> items = LinesToCheckList({line});
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first().text, name);
    QCOMPARE(items.first().checked, checked);
}

void TestOptionsRules::editorLinesOfAList()
{
    const QList<TCheckListItem> items = {{"France", true}, {"Spain", false}};
    const QStringList lines = CheckListToLines(items);
    QCOMPARE(lines, (QStringList{QString(CheckMark) + "France", "Spain"}));
    QCOMPARE(LinesToCheckList(lines), items);
}

void TestOptionsRules::startupFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("openLast");
    QTest::addColumn<QStringList>("recent");
    QTest::addColumn<QString>("chosen"); // relative to the temporary folder, "" for none
    QTest::addColumn<QString>("log");
    QTest::newRow("split at blank")
        << QStringList{"@/My", "Logs/trip.xml"} << false << QStringList{} << "My Logs/trip.xml"
        << "My Logs/trip.xml";
    QTest::newRow("upper-case XML")
        << QStringList{"@/TRIP.XML"} << false << QStringList{} << "TRIP.XML"
        << "TRIP.XML";
    QTest::newRow("last opened") << QStringList{} << true << QStringList{"@/last.xml", "@/b.xml"}
                                 << "last.xml"
                                 << "last.xml";
    QTest::newRow("last opened, option off")
        << QStringList{} << false << QStringList{"@/last.xml"} << ""
        << "";
    QTest::newRow("last opened missing")
        << QStringList{} << true << QStringList{"@/gone.xml", "@/last.xml"} << ""
        << "";
    QTest::newRow("arguments win")
        << QStringList{"@/b.xml"} << true << QStringList{"@/last.xml"} << "b.xml"
        << "b.xml";
    QTest::newRow("missing argument")
        << QStringList{"@/gone.xml"} << true << QStringList{} << "gone.xml"
        << "";
    QTest::newRow("csv ignored") << QStringList{"@/flights.csv"} << false << QStringList{}
                                 << "flights.csv"
                                 << "";
    QTest::newRow("shortcut to log")
        << QStringList{"@/trip.LNK"} << false << QStringList{} << "trip.LNK"
        << "last.xml";
    QTest::newRow("shortcut to csv")
        << QStringList{"@/flights.lnk"} << false << QStringList{} << "flights.lnk"
        << "";
    QTest::newRow("shortcut to missing log")
        << QStringList{"@/gone.lnk"} << false << QStringList{} << "gone.lnk"
        << "";
}

void TestOptionsRules::startupFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, openLast);
    QFETCH(QStringList, recent);
    QFETCH(QString, chosen);
    QFETCH(QString, log);
    QVERIFY(m_dir.isValid());
    const QString root = m_dir.path();
    QDir(root).mkpath(QStringLiteral("My Logs"));
    for (const QString name : {"My Logs/trip.xml", "TRIP.XML", "last.xml", "b.xml", "flights.csv",
                               "trip.LNK", "flights.lnk", "gone.lnk"}) {
        QFile file(root + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // Shortcuts name their targets; the resolver stands for the shortcut reader.
    const QHash<QString, QString> targets = {{root + "/trip.LNK", root + "/last.xml"},
                                             {root + "/flights.lnk", root + "/flights.csv"},
                                             {root + "/gone.lnk", root + "/gone.xml"}};
    const auto resolve = [&targets](const QString &path) { return targets.value(path); };
    for (QString &argument : arguments)
        argument.replace('@', root);
    for (QString &entry : recent)
        entry.replace('@', root);

    const QString picked = ChooseStartupFile(arguments, openLast, recent);
    QCOMPARE(picked, chosen.isEmpty() ? QString() : root + '/' + chosen);
    QCOMPARE(StartupLogFile(picked, resolve), log.isEmpty() ? QString() : root + '/' + log);
}

void TestOptionsRules::relativeStartupFileBecomesAbsolute()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QFile file(QStringLiteral("relative.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString log = StartupLogFile(QStringLiteral("relative.xml"), {});
    const QString expected = QDir::current().absoluteFilePath(QStringLiteral("relative.xml"));
    QDir::setCurrent(before);
    QCOMPARE(log, expected);
}

void TestOptionsRules::brokenShortcutAtStartup()
{
    const QString link = m_dir.filePath(QStringLiteral("broken.lnk"));
    QFile file(link);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const auto failing = [](const QString &) -> QString {
        throw std::runtime_error("Read error.");
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, StartupLogFile(link, failing));
}

QTEST_GUILESS_MAIN(TestOptionsRules)
#include "tst_optionsrules.moc"
