// wingbook-cli lookup and search over the shipped reference files and over small test tables,
// and the reference folder a run takes them from.
#include "CliTestRun.h"

#include "components/LumRegistryEnhanced.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace
{

// "@refdata" and "@work" in a row's words stand for the test tables and a scratch folder.
const QString kRefdata = QStringLiteral(WINGBOOK_FIXTURES "/refdata");
const QString kTab = QStringLiteral("\t");

QStringList words(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *word : list)
        result << QString::fromUtf8(word);
    return result;
}

void storeDefFilesPath(const QVariant &folder)
{
    const std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
    if (folder.isNull())
        store->DeleteValue(QStringLiteral("DefFilesPath"));
    else
        store->SetValue(QStringLiteral("DefFilesPath"), folder);
}

} // namespace

class TestCliReference : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { failOnAnyWarning(); }
    void cleanup() { storeDefFilesPath(QVariant()); }
    void lookupAndSearch_data();
    void lookupAndSearch();
    void referenceFolder_data();
    void referenceFolder();

private:
    QStringList withFolders(QStringList arguments) const;

    TestSupport::PrivateSettingsFolder m_settings; // keeps the user's settings out of every run
    QTemporaryDir m_work;
};

void TestCliReference::initTestCase()
{
    QVERIFY(m_settings.isValid());
    QVERIFY(m_work.isValid());
    // A folder whose Airlines.def cannot be read as a file.
    QVERIFY(QDir(m_work.path()).mkpath(QStringLiteral("unreadable/Airlines.def")));
}

QStringList TestCliReference::withFolders(QStringList arguments) const
{
    arguments.replaceInStrings(QStringLiteral("@refdata"), kRefdata);
    arguments.replaceInStrings(QStringLiteral("@work"), m_work.path());
    return arguments;
}

void TestCliReference::lookupAndSearch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errorPart"); // a text standard error must hold; "" for none

    // The shipped files, found beside the program without any option.
    QTest::newRow("shipped airline")
        << words({"lookup", "airline", "BA"}) << 0 << "British Airways\n"
        << QString();
    QTest::newRow("shipped airport")
        << words({"lookup", "airport", "CDG"}) << 0 << "Charles De Gaulle\nParis\nFrance\n"
        << QString();
    QTest::newRow("unknown airport") << words({"lookup", "airport", "QQQ"}) << 1 << QString()
                                     << "airport code \"QQQ\" is not in ";
    QTest::newRow("code is case-sensitive")
        << words({"lookup", "airline", "ba"}) << 1 << QString() << "airline code \"ba\" is not in ";
    QTest::newRow("search names") << words({"search", "airlines", "^lufthansa( cargo)?$"}) << 0
                                  << "LH" + kTab + "Lufthansa\nLH" + kTab + "Lufthansa Cargo\n"
                                  << QString();
    QTest::newRow("search case-sensitive")
        << words({"search", "airlines", "^lufthansa$", "--case-sensitive"}) << 0 << QString()
        << QString();
    QTest::newRow("search option first")
        << words({"search", "--case-sensitive", "airlines", "^Lufthansa$"}) << 0
        << "LH" + kTab + "Lufthansa\n"
        << QString();
    QTest::newRow("search airports") << words({"search", "airports", "^charles de gaulle\\|"}) << 0
                                     << "CDG" + kTab + "Charles De Gaulle|Paris, France\n"
                                     << QString();

    // A folder of its own.
    QTest::newRow("first of two entries")
        << words({"--def-files-path", "@refdata", "lookup", "airline", "XA"}) << 0 << "First Air\n"
        << QString();
    QTest::newRow("comment after the name")
        << words({"--def-files-path", "@refdata", "lookup", "airline", "XC"}) << 0
        << QStringLiteral("Zürich Air \n") << QString();
    QTest::newRow("lower-case code")
        << words({"--def-files-path", "@refdata", "lookup", "airline", "XB"}) << 1 << QString()
        << "airline code \"XB\" is not in " + kRefdata + "/Airlines.def";
    QTest::newRow("city with region")
        << words({"--def-files-path", "@refdata", "lookup", "airport", "PDX"}) << 0
        << "Portland Intl\nPortland, Oregon\nUnited States\n"
        << QString();
    QTest::newRow("no city") << words({"--def-files-path", "@refdata", "lookup", "airport", "LHR"})
                             << 0 << "Heathrow\n\n\n"
                             << QString();
    QTest::newRow("search values of duplicate keys")
        << words({"--def-files-path", "@refdata", "search", "airlines", "^(first|second) "}) << 0
        << "XA" + kTab + "First Air\nXA" + kTab + "Second Air\n"
        << QString();
    QTest::newRow("search unicode caseless")
        << words({"--def-files-path=@refdata", "search", "airlines", "ZÜRICH"}) << 0
        << "XC" + kTab + QStringLiteral("Zürich Air \n") << QString();

    // Missing and unreadable files, bad patterns.
    QTest::newRow("missing folder")
        << words({"--def-files-path", "@work/nowhere", "lookup", "airline", "XA"}) << 1 << QString()
        << "airline code \"XA\" is not in ";
    QTest::newRow("unreadable file")
        << words({"--def-files-path", "@work/unreadable", "lookup", "airline", "XA"}) << 1
        << QString() << "unreadable/Airlines.def";
    QTest::newRow("unreadable file in search")
        << words({"--def-files-path", "@work/unreadable", "search", "airlines", "x"}) << 1
        << QString() << "unreadable/Airlines.def";
    QTest::newRow("invalid pattern") << words({"search", "airlines", "(unclosed"}) << 2 << QString()
                                     << "wingbook-cli: invalid regular expression \"(unclosed\": ";
    // A pattern that backtracks without end over the shipped airports is stopped and said so,
    // never printed as if nothing matched.
    QTest::newRow("pattern too complex")
        << words({"search", "airports", "^(\\w+\\s?)*$"}) << 1 << QString()
        << "wingbook-cli: The pattern is too complex.\n";
}

void TestCliReference::lookupAndSearch()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, errorPart);
    const CliResult run = runWingbookCli(withFolders(arguments));
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, out);
    if (status == 0)
        QCOMPARE(run.err, QString());
    else
        QVERIFY2(run.err.contains(errorPart), qPrintable(run.err));
}

void TestCliReference::referenceFolder_data()
{
    QTest::addColumn<QVariant>("stored"); // the stored DefFilesPath; null for none
    QTest::addColumn<QStringList>("globalOptions");
    QTest::addColumn<bool>("shipped"); // the shipped files are read, else the test tables

    QTest::newRow("nothing stored") << QVariant() << QStringList() << true;
    QTest::newRow("stored folder") << QVariant(kRefdata) << QStringList() << false;
    QTest::newRow("stored folder with separator")
        << QVariant(kRefdata + QLatin1Char('/')) << QStringList() << false;
    // An empty folder, stored or given, is the shipped one.
    QTest::newRow("stored empty") << QVariant(QString()) << QStringList() << true;
    // A stored value that is no text is ignored.
    QTest::newRow("stored number") << QVariant(7) << QStringList() << true;
    QTest::newRow("given over stored")
        << QVariant(QStringLiteral("/nowhere")) << words({"--def-files-path", "@refdata"}) << false;
    QTest::newRow("given empty over stored")
        << QVariant(kRefdata) << words({"--def-files-path", ""}) << true;
    QTest::newRow("the last one given")
        << QVariant() << words({"--def-files-path", "/nowhere", "--def-files-path=@refdata"})
        << false;
}

void TestCliReference::referenceFolder()
{
    QFETCH(QVariant, stored);
    QFETCH(QStringList, globalOptions);
    QFETCH(bool, shipped);
    storeDefFilesPath(stored);
    // BA is in the shipped file only; XA names another airline there than in the test table.
    const CliResult run =
        runWingbookCli(withFolders(globalOptions) + words({"lookup", "airline"}) +
                       QStringList{shipped ? QStringLiteral("BA") : QStringLiteral("XA")});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out,
             shipped ? QStringLiteral("British Airways\n") : QStringLiteral("First Air\n"));
    QCOMPARE(run.status, 0);
}

QTEST_GUILESS_MAIN(TestCliReference)
#include "tst_cli_reference.moc"
