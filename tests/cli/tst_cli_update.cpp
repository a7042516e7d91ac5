// wingbook-cli check-update, download-update and about against a local web server: what the
// scripts read (JSON keys, messages on standard error, exit statuses, the file left behind).
#include "CliTestRun.h"

#include "components/LumRegistryEnhanced.h"
#include "components/MakerInfo.h"
#include "support/LocalWebServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSysInfo>
#include <QTemporaryDir>
#include <memory>

namespace
{

const QString kInvalidSource =
    QStringLiteral("wingbook-cli: \"not a place\" is an invalid source.\n");
const QString kQuestion = QStringLiteral("There are no advertised versions available.\n"
                                         "Do you want to open the update web page?");
const QString kNothingNew = QStringLiteral("There are no new versions available.");

QJsonObject jsonOf(const CliResult &result)
{
    return QJsonDocument::fromJson(result.out.toUtf8()).object();
}

// The total memory the kernel reports, in KB, as /proc/meminfo gives it.
qint64 memTotalKilobytes()
{
    const QList<QByteArray> lines = fileContents(QStringLiteral("/proc/meminfo")).split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("MemTotal:"))
            return line.mid(9).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

class TestCliUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The system's proxy would otherwise stand in for the options' proxy.
        for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"})
            qunsetenv(name);
        QVERIFY(m_root.isValid() && m_temp.isValid() && m_certificates.isValid());
        QString started = m_server.start(m_root.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
        started = makeTestCertificate(m_certificates.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
        started = m_https.start(m_root.path(), certificate(),
                                m_certificates.filePath(QStringLiteral("key.pem")));
        QVERIFY2(started.isEmpty(), qPrintable(started));
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("notes.txt")), "Faster\r\nSafer\r\n"));
        // Larger than the description file may be.
        m_setup = QByteArray(5 * 1024 * 1024, 's') + "end";
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("setup.bin")), m_setup));
    }
    void init()
    {
        failOnAnyWarning();
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
        qunsetenv("SSL_CERT_FILE");
    }
    void cleanup()
    {
        QVERIFY2(QDir(m_temp.path()).entryList(QDir::Files).isEmpty(),
                 "the commands delete their temporary files");
    }

    // Each row writes desc.txt ("{base}" stands for the server's address) and checks it.
    void checkUpdate_data()
    {
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QString>("path"); // what --update-url names on the server
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("readme");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("updatePage"); // "@maker": the maker's update page

        const QByteArray notes = "ReadmeFileURL={base}/notes.txt\n";
        QTest::newRow("newer, with its notes")
            << "[Wingbook]\nVersion=1.00.18\nUpdatePageURL=https://p.example/w\n" + notes
            << "/desc.txt"
            << "1.00.17" << true << "1.00.18"
            << "Faster\nSafer"
            << ""
            << "https://p.example/w";
        QTest::newRow("equal") << "[Wingbook]\nVersion=1.00.17\n" + notes << "/desc.txt"
                               << "1.00.17" << false << "1.00.17"
                               << "Faster\nSafer" << kNothingNew << "@maker";
        QTest::newRow("a longer text that starts with the running one")
            << QByteArray("[Wingbook]\nVersion=1.00.17b5\n") << "/desc.txt"
            << "1.00.17" << true << "1.00.17b5"
            << ""
            << ""
            << "@maker";
        QTest::newRow("compared as texts")
            << QByteArray("[Wingbook]\nVersion=10.00.00\n") << "/desc.txt"
            << "9.99.99" << false << "10.00.00"
            << "" << kNothingNew << "@maker";
        QTest::newRow("section and key in other letter case")
            << QByteArray("[wingbook]\nversion = 1.00.18\n") << "/desc.txt"
            << "1.00.17" << true << "1.00.18"
            << ""
            << ""
            << "@maker";
        QTest::newRow("no section of the program")
            << QByteArray("[Other]\nVersion=9.00.00\n") << "/desc.txt"
            << "1.00.17" << false << ""
            << "" << kQuestion << "@maker";
        QTest::newRow("the description answers 404")
            << QByteArray() << "/status/404/desc.txt"
            << "1.00.17" << false << ""
            << "Failed: 404 Not Found" << kQuestion << "@maker";
        QTest::newRow("the notes answer 404")
            << QByteArray("[Wingbook]\nVersion=1.00.18\nReadmeFileURL={base}/status/404/n.txt\n")
            << "/desc.txt"
            << "1.00.17" << true << "1.00.18"
            << "Failed: 404 Not Found"
            << ""
            << "@maker";
        QTest::newRow("redirected")
            << QByteArray("[Wingbook]\nVersion=1.00.18\n") << "/redirect/3/desc.txt"
            << "1.00.17" << true << "1.00.18"
            << ""
            << ""
            << "@maker";
    }
    void checkUpdate()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, path);
        QFETCH(QString, running);
        QFETCH(bool, newer);
        QFETCH(QString, version);
        QFETCH(QString, readme);
        QFETCH(QString, message);
        QFETCH(QString, updatePage);
        if (updatePage == QLatin1String("@maker"))
            updatePage = makerUpdatePageUrl();
        description.replace("{base}", m_server.url(QString()).toUtf8());
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("desc.txt")), description));

        const CliResult result = runWingbookCli(
            {QStringLiteral("check-update"), QStringLiteral("--update-url"), m_server.url(path),
             QStringLiteral("--running-version"), running, QStringLiteral("--json")});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.status, 0);
        const QJsonObject json = jsonOf(result);
        QCOMPARE(json.value(QStringLiteral("Newer")), QJsonValue(newer));
        QCOMPARE(json.value(QStringLiteral("RunningVersion")).toString(), running);
        QCOMPARE(json.value(QStringLiteral("Version")).toString(), version);
        QCOMPARE(json.value(QStringLiteral("Readme")).toString(), readme);
        QCOMPARE(json.value(QStringLiteral("Message")).toString(), message);
        QCOMPARE(json.value(QStringLiteral("UpdatePageURL")).toString(), updatePage);
        QCOMPARE(json.keys().size(), 11);
    }

    void checkUpdateFields()
    {
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("fields.txt")),
                          "[Wingbook]\nVersion=1.00.18\nDownloadFileURL=https://d.example/s.bin\n"
                          "ReadmeFileURL=\\\\nohost\\share\\notes.txt\nMD5Hash=aa\n"
                          "SHA1Hash=bb\nSHA256Hash=CC\n"));
        const CliResult result =
            runWingbookCli({QStringLiteral("check-update"), QStringLiteral("--update-url"),
                            m_server.url(QStringLiteral("/fields.txt")), QStringLiteral("--json")});
        QCOMPARE(result.status, 0);
        const QJsonObject json = jsonOf(result);
        // Without --running-version the program's own short version text is compared.
        QCOMPARE(json.value(QStringLiteral("RunningVersion")).toString(),
                 QStringLiteral("1.00.17"));
        QCOMPARE(json.value(QStringLiteral("Newer")), QJsonValue(true));
        QCOMPARE(json.value(QStringLiteral("DownloadFileURL")).toString(),
                 QStringLiteral("https://d.example/s.bin"));
        QCOMPARE(json.value(QStringLiteral("ReadmeFileURL")).toString(),
                 QStringLiteral("\\\\nohost\\share\\notes.txt"));
        QCOMPARE(json.value(QStringLiteral("MD5Hash")).toString(), QStringLiteral("aa"));
        QCOMPARE(json.value(QStringLiteral("SHA1Hash")).toString(), QStringLiteral("bb"));
        QCOMPARE(json.value(QStringLiteral("SHA256Hash")).toString(), QStringLiteral("CC"));
        // A share that cannot be opened fails without a message: the notes stay empty.
        QCOMPARE(json.value(QStringLiteral("Readme")).toString(), QString());
    }

    void checkUpdateInvalidSource()
    {
        const CliResult result =
            runWingbookCli({QStringLiteral("check-update"), QStringLiteral("--update-url"),
                            QStringLiteral("not a place"), QStringLiteral("--json")});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.err, kInvalidSource);
        QCOMPARE(jsonOf(result).value(QStringLiteral("Message")).toString(), kQuestion);
    }

    void checkUpdateText()
    {
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("text.txt")),
                          "[Wingbook]\nVersion=1.00.18\nReadmeFileURL=" +
                              m_server.url(QStringLiteral("/notes.txt")).toUtf8() + "\n"));
        CliResult result =
            runWingbookCli({QStringLiteral("check-update"), QStringLiteral("--update-url"),
                            m_server.url(QStringLiteral("/text.txt")),
                            QStringLiteral("--running-version"), QStringLiteral("1.00.17")});
        QCOMPARE(result.status, 0);
        QVERIFY2(result.out.startsWith(
                     QLatin1String("New Version Available: 1.00.18 (running 1.00.17)\n")),
                 qPrintable(result.out));
        QVERIFY2(result.out.endsWith(QLatin1String("\nFaster\nSafer\n")), qPrintable(result.out));

        result = runWingbookCli({QStringLiteral("check-update"), QStringLiteral("--update-url"),
                                 m_server.url(QStringLiteral("/text.txt")),
                                 QStringLiteral("--running-version"), QStringLiteral("1.00.18")});
        QCOMPARE(result.out, kNothingNew + u'\n');
    }

    void checkUpdateCertificate()
    {
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("secure.txt")),
                          "[Wingbook]\nVersion=1.00.18\n"));
        const QStringList words{QStringLiteral("check-update"),
                                QStringLiteral("--update-url"),
                                m_https.url(QStringLiteral("/secure.txt")),
                                QStringLiteral("--running-version"),
                                QStringLiteral("1.00.17"),
                                QStringLiteral("--json")};
        // Nobody trusts the test's certificate: the description is not read.
        CliResult result = runWingbookCli(words);
        QCOMPARE(result.status, 0);
        QCOMPARE(jsonOf(result).value(QStringLiteral("Newer")), QJsonValue(false));
        QCOMPARE(jsonOf(result).value(QStringLiteral("Message")).toString(), kQuestion);

        qputenv("SSL_CERT_FILE", certificate().toLocal8Bit());
        result = runWingbookCli(words);
        QCOMPARE(result.status, 0);
        QCOMPARE(jsonOf(result).value(QStringLiteral("Newer")), QJsonValue(true));
    }

    void checkUpdateThroughStoredProxy()
    {
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("proxied.txt")),
                          "[Wingbook]\nVersion=1.00.18\n"));
        const QStringList words{QStringLiteral("check-update"),
                                QStringLiteral("--update-url"),
                                QStringLiteral("http://update.marovek.example/proxied.txt"),
                                QStringLiteral("--running-version"),
                                QStringLiteral("1.00.17"),
                                QStringLiteral("--json")};
        const std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
        store->SetValue(QStringLiteral("Options\\ProxyAddress"), QStringLiteral("127.0.0.1"));
        store->SetValue(QStringLiteral("Options\\ProxyPort"), QString::number(m_server.port()));
        // The local server stands in for the proxy and answers from the request's path.
        store->SetValue(QStringLiteral("Options\\UseProxyServer"), true);
        const CliResult proxied = runWingbookCli(words);
        store->SetValue(QStringLiteral("Options\\UseProxyServer"), false);
        const CliResult direct = runWingbookCli(words);
        QCOMPARE(proxied.status, 0);
        QCOMPARE(jsonOf(proxied).value(QStringLiteral("Newer")), QJsonValue(true));
        // Without the proxy the placeholder host is not found.
        QCOMPARE(jsonOf(direct).value(QStringLiteral("Newer")), QJsonValue(false));
    }

    void checkUpdateWithoutTemporaryFolder()
    {
        qputenv("TMPDIR", QDir(m_temp.path()).filePath(QStringLiteral("missing")).toLocal8Bit());
        const CliResult result =
            runWingbookCli({QStringLiteral("check-update"), QStringLiteral("--update-url"),
                            m_server.url(QStringLiteral("/notes.txt")), QStringLiteral("--json")});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.startsWith(QLatin1String("wingbook-cli: The temporary folder")),
                 qPrintable(result.err));
        QCOMPARE(result.out, QString());
    }

    void downloadUpdate_data()
    {
        QTest::addColumn<QString>("address"); // the download's path on the server
        QTest::addColumn<QByteArray>("checksums");
        QTest::addColumn<QString>("published");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err"); // a line of standard error without the prefix

        const QByteArray sha256 =
            QCryptographicHash::hash(m_setup, QCryptographicHash::Sha256).toHex();
        const QByteArray md5 = QCryptographicHash::hash(m_setup, QCryptographicHash::Md5).toHex();
        QTest::newRow("no checksum published")
            << "/setup.bin" << QByteArray() << "1.00.18" << 0 << "";
        QTest::newRow("right SHA-256, in upper case")
            << "/setup.bin"
            << "SHA256Hash=" + sha256.toUpper() << "1.00.18" << 0 << "";
        QTest::newRow("wrong SHA-256, right MD5")
            << "/setup.bin"
            << "SHA256Hash=" + QByteArray(64, '0') + "\nMD5Hash=" + md5 << "1.00.18" << 1
            << "The downloaded file is corrupted.";
        QTest::newRow("wrong MD5") << "/setup.bin"
                                   << "MD5Hash=" + QByteArray(32, 'f') << "1.00.18" << 1
                                   << "The downloaded file is corrupted.";
        QTest::newRow("no length announced") << "/nolength/setup.bin"
                                             << "SHA256Hash=" + sha256 << "1.00.18" << 0 << "";
        QTest::newRow("redirected")
            << "/redirect/2/setup.bin" << QByteArray() << "1.00.18" << 0 << "";
        QTest::newRow("HEAD refused") << "/nohead/setup.bin" << QByteArray() << "1.00.18" << 1
                                      << "Failed: 405 Method Not Allowed";
        QTest::newRow("GET failed") << "/headonly/setup.bin" << QByteArray() << "1.00.18" << 1
                                    << "Failed: 503 Service Unavailable";
        QTest::newRow("no newer version")
            << "/setup.bin" << QByteArray() << "1.00.17" << 1 << kNothingNew;
    }
    void downloadUpdate()
    {
        QFETCH(QString, address);
        QFETCH(QByteArray, checksums);
        QFETCH(QString, published);
        QFETCH(int, status);
        QFETCH(QString, err);
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("dl.txt")),
                          "[Wingbook]\nVersion=" + published.toUtf8() + "\nDownloadFileURL=" +
                              m_server.url(address).toUtf8() + "\n" + checksums + "\n"));
        QTemporaryDir to;
        QVERIFY(to.isValid());

        const CliResult result = runWingbookCli(
            {QStringLiteral("download-update"), QStringLiteral("--update-url"),
             m_server.url(QStringLiteral("/dl.txt")), QStringLiteral("--running-version"),
             QStringLiteral("1.00.17"), QStringLiteral("--to"), to.path()});
        QCOMPARE(result.status, status);
        const QString target = QDir(to.path()).filePath(QStringLiteral("setup.bin"));
        if (status == 0) {
            QCOMPARE(result.err, QString());
            QCOMPARE(result.out, target + u'\n');
            QCOMPARE(fileContents(target), m_setup);
        } else {
            QCOMPARE(result.err, QStringLiteral("wingbook-cli: ") + err + u'\n');
            QCOMPARE(result.out, QString());
            QVERIFY2(QDir(to.path()).isEmpty(), "a failed download leaves no file");
        }
    }

    void downloadUpdateAddressProblems_data()
    {
        QTest::addColumn<QString>("address"); // "{base}" stands for the server's address
        QTest::addColumn<QString>("err");
        QTest::newRow("invalid address") << "not a place" << kInvalidSource;
        QTest::newRow("none") << ""
                              << "wingbook-cli: The update description names no file to "
                                 "download.\n";
        QTest::newRow("no file name") << "{base}/files/"
                                      << "wingbook-cli: Cannot create file \"{to}/\".";
    }
    void downloadUpdateAddressProblems()
    {
        QFETCH(QString, address);
        QFETCH(QString, err);
        QTemporaryDir to;
        QVERIFY(to.isValid());
        address.replace(QLatin1String("{base}"), m_server.url(QString()));
        err.replace(QLatin1String("{to}"), to.path());
        QVERIFY(
            writeFile(m_root.filePath(QStringLiteral("bad.txt")),
                      "[Wingbook]\nVersion=1.00.18\nDownloadFileURL=" + address.toUtf8() + "\n"));
        const CliResult result = runWingbookCli(
            {QStringLiteral("download-update"), QStringLiteral("--update-url"),
             m_server.url(QStringLiteral("/bad.txt")), QStringLiteral("--running-version"),
             QStringLiteral("1.00.17"), QStringLiteral("--to"), to.path()});
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.startsWith(err), qPrintable(result.err));
        QCOMPARE(result.out, QString());
        QVERIFY(QDir(to.path()).isEmpty());
    }

    void about()
    {
        CliResult result = runWingbookCli({QStringLiteral("about"), QStringLiteral("--json")});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.err, QString());
        const QJsonObject json = jsonOf(result);
        QCOMPARE(json.keys().size(), 10);
        QCOMPARE(json.value(QStringLiteral("Version")).toString(),
                 QStringLiteral("Version 1.00.17 - Build 0"));
        const QString application = json.value(QStringLiteral("Application")).toString();
        QVERIFY(!application.isEmpty());
        QCOMPARE(json.value(QStringLiteral("Title")).toString(), "About " + application);
        QVERIFY(json.value(QStringLiteral("Copyright")).toString().startsWith(u"Copyright"));
        QVERIFY(json.value(QStringLiteral("Text")).toString().endsWith(u" by :"));
        QCOMPARE(json.value(QStringLiteral("Author")).toString(), makerAuthor());
        QCOMPARE(json.value(QStringLiteral("Email")).toString(), makerEmail());
        QCOMPARE(json.value(QStringLiteral("URL")).toString(), makerWebAddress());
        // The kernel's own figures, read another way.
        QString memory = json.value(QStringLiteral("PhysicalMemory")).toString();
        QVERIFY2(memory.endsWith(QLatin1String(" KB")), qPrintable(memory));
        memory.chop(3);
        memory.remove(QLocale::system().groupSeparator());
        QCOMPARE(memory.toLongLong(), memTotalKilobytes());
        const QStringList kernel = QSysInfo::kernelVersion().split(u'.');
        QCOMPARE(json.value(QStringLiteral("OSInfo")).toString(),
                 QStringLiteral("Unknown %1.%2").arg(kernel.value(0), kernel.value(1)));

        result = runWingbookCli({QStringLiteral("about")});
        QCOMPARE(result.status, 0);
        QVERIFY2(result.out.contains(QLatin1String("\nVersion 1.00.17 - Build 0\n")),
                 qPrintable(result.out));
        QVERIFY2(result.out.contains(QLatin1String("\nPhysical memory available to Linux : ")),
                 qPrintable(result.out));
    }

private:
    QString certificate() const { return m_certificates.filePath(QStringLiteral("cert.pem")); }

    QTemporaryDir m_root;         // what the servers serve
    QTemporaryDir m_temp;         // the temporary folder of every run
    QTemporaryDir m_certificates; // the test's certificate and key
    LocalWebServer m_server;
    LocalWebServer m_https;
    QByteArray m_setup;
    TestSupport::PrivateSettingsFolder m_settings; // keeps the user's settings out of every run
};

QTEST_GUILESS_MAIN(TestCliUpdate)
#include "tst_cli_update.moc"
