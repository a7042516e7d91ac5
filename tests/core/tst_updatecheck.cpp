// The update check against a local web server: the versions, the program's section, the
// release notes, failed and invalid sources, and the temporary files it leaves behind.
#include "components/ComponentError.h"
#include "components/UpdateCheck.h"
#include "components/UpdateFetcher.h"

#include "../support/LocalWebServer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TUpdateCheckMessage)

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid() && m_temp.isValid());
        QString started = m_server.start(m_root.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
        QVERIFY(m_certificates.isValid());
        started = MakeTestCertificate(m_certificates.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
        started = m_https.start(m_root.path(), certificate(),
                                m_certificates.filePath(QStringLiteral("key.pem")));
        QVERIFY2(started.isEmpty(), qPrintable(started));
        write(QStringLiteral("notes.txt"), "First line\r\nSecond line\r\n");
    }
    void init()
    {
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
        qunsetenv("SSL_CERT_FILE");
    }
    void cleanup()
    {
        QVERIFY2(QDir(m_temp.path()).entryList(QDir::Files).isEmpty(),
                 "the check deletes its temporary files");
    }

    void check_data()
    {
        QTest::addColumn<QByteArray>("description"); // empty: the file does not exist
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<TUpdateCheckMessage>("message");
        QTest::addColumn<QString>("readme");
        QTest::addColumn<QString>("updatePage");
        const QString page = QStringLiteral("https://maker.example/marovek/");
        const QString notes = QStringLiteral("First line\nSecond line");
        const QByteArray withNotes = "ReadmeFileURL={base}/notes.txt\n";
        QTest::newRow("newer") << "[Wingbook]\nVersion=1.00.18\n" + withNotes << "1.00.17" << true
                               << TUpdateCheckMessage::None << notes << page;
        QTest::newRow("equal, notes fetched all the same")
            << "[Wingbook]\nVersion=1.00.17\n" + withNotes << "1.00.17" << false
            << TUpdateCheckMessage::NoNewVersions << notes << page;
        QTest::newRow("longer published text")
            << QByteArray("[Wingbook]\nVersion=1.00.17b5\n") << "1.00.17" << true
            << TUpdateCheckMessage::None << "" << page;
        QTest::newRow("10.00.00 is not newer than 9.99.99")
            << QByteArray("[Wingbook]\nVersion=10.00.00\n") << "9.99.99" << false
            << TUpdateCheckMessage::NoNewVersions << "" << page;
        QTest::newRow("section and key in another case")
            << QByteArray("[wingbook]\nversion=1.00.18\n") << "1.00.17" << true
            << TUpdateCheckMessage::None << "" << page;
        QTest::newRow("missing section")
            << QByteArray("[Other]\nVersion=1.00.18\n") << "1.00.17" << false
            << TUpdateCheckMessage::NoAdvertisedVersions << "" << page;
        QTest::newRow("description answers 404")
            << QByteArray() << "1.00.17" << false << TUpdateCheckMessage::NoAdvertisedVersions
            << "Failed: 404 Not Found" << page;
        QTest::newRow("release notes answer 404")
            << QByteArray("[Wingbook]\nVersion=1.00.18\nReadmeFileURL={base}/gone.txt\n")
            << "1.00.17" << true << TUpdateCheckMessage::None << "Failed: 404 Not Found" << page;
        QTest::newRow("the description names its own page")
            << QByteArray("[Wingbook]\nUpdatePageURL=https://elsewhere.example/\n") << "1.00.17"
            << false << TUpdateCheckMessage::NoAdvertisedVersions << ""
            << "https://elsewhere.example/";
    }
    void check()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, running);
        QFETCH(bool, newer);
        QFETCH(TUpdateCheckMessage, message);
        QFETCH(QString, readme);
        QFETCH(QString, updatePage);
        const QString name = QStringLiteral("desc-%1.txt").arg(++m_files);
        if (!description.isEmpty())
            write(name, description.replace("{base}", m_server.url(QString()).toUtf8()));
        UpdateFetcher fetcher;
        int invalid = 0;
        fetcher.onInvalidSource = [&](const QString &) { ++invalid; };
        const TUpdateCheckResult result = RunUpdateCheck(
            {m_server.url(u'/' + name), QStringLiteral("https://maker.example/marovek/"), running,
             QStringLiteral("Wingbook")},
            fetcher);
        QCOMPARE(result.Newer, newer);
        QCOMPARE(result.Message, message);
        QCOMPARE(result.Readme, readme);
        QCOMPARE(result.Fields.UpdatePageURL, updatePage);
        QCOMPARE(invalid, 0);
    }

    void downloadEnabledByTheAddress()
    {
        write(QStringLiteral("dl.txt"),
              "[Wingbook]\nVersion=1.00.18\nDownloadFileURL=https://h/setup.bin\n"
              "SHA256Hash=ABC\n");
        UpdateFetcher fetcher;
        TUpdateCheckResult result =
            RunUpdateCheck({m_server.url(QStringLiteral("/dl.txt")), QString(),
                            QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                           fetcher);
        QVERIFY(result.DownloadEnabled);
        QCOMPARE(result.Fields.DownloadFileURL, QStringLiteral("https://h/setup.bin"));
        QCOMPARE(result.Fields.SHA256Hash, QStringLiteral("ABC"));
        write(QStringLiteral("nodl.txt"), "[Wingbook]\nVersion=1.00.18\n");
        result = RunUpdateCheck({m_server.url(QStringLiteral("/nodl.txt")), QString(),
                                 QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                                fetcher);
        QVERIFY(!result.DownloadEnabled);
    }

    void untrustedThenTrustedCertificate()
    {
        write(QStringLiteral("secure.txt"), "[Wingbook]\nVersion=1.00.18\n");
        const TUpdateCheckRequest request{m_https.url(QStringLiteral("/secure.txt")),
                                          QStringLiteral("https://p.example/"),
                                          QStringLiteral("1.00.17"), QStringLiteral("Wingbook")};
        UpdateFetcher fetcher;
        // Nobody trusts the test's certificate: the fetch fails like any failed request.
        TUpdateCheckResult result = RunUpdateCheck(request, fetcher);
        QVERIFY(!result.Newer);
        QCOMPARE(result.Message, TUpdateCheckMessage::NoAdvertisedVersions);
        QVERIFY2(result.Readme.startsWith(QLatin1String("Failed: 0 ")), qPrintable(result.Readme));

        qputenv("SSL_CERT_FILE", certificate().toLocal8Bit());
        result = RunUpdateCheck(request, fetcher);
        QVERIFY(result.Newer);
        QCOMPARE(result.Fields.Version, QStringLiteral("1.00.18"));
    }

    void invalidSource()
    {
        UpdateFetcher fetcher;
        QStringList messages;
        fetcher.onInvalidSource = [&](const QString &m) { messages << m; };
        const TUpdateCheckResult result =
            RunUpdateCheck({QStringLiteral("not a place"), QStringLiteral("https://p.example/"),
                            QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                           fetcher);
        QCOMPARE(messages, QStringList{"\"not a place\" is an invalid source."});
        QCOMPARE(result.Message, TUpdateCheckMessage::NoAdvertisedVersions);
        QCOMPARE(result.Readme, QString());
    }

    void nothingToAskWithoutAnyPage()
    {
        UpdateFetcher fetcher;
        const TUpdateCheckResult result =
            RunUpdateCheck({QString(), QStringLiteral("https://p.example/"),
                            QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                           fetcher);
        QVERIFY(result.Fields.UpdatePageURL.isEmpty());
        QCOMPARE(result.Message, TUpdateCheckMessage::NoNewVersions);
    }

    void networkShareSource()
    {
        write(QStringLiteral("share.txt"), "[Wingbook]\nVersion=1.00.18\n");
        // \\tmp\...\share.txt names the file //tmp/.../share.txt here.
        QString share = QDir(m_root.path()).filePath(QStringLiteral("share.txt"));
        share.replace(u'/', u'\\');
        share.prepend(u'\\');
        UpdateFetcher fetcher;
        const TUpdateCheckResult result = RunUpdateCheck(
            {share, QString(), QStringLiteral("1.00.17"), QStringLiteral("Wingbook")}, fetcher);
        QVERIFY(result.Newer);
        QCOMPARE(result.Fields.Version, QStringLiteral("1.00.18"));
    }

    void unusableTemporaryFolderIsAnError()
    {
        qputenv("TMPDIR", QByteArray("/nonexistent/folder"));
        UpdateFetcher fetcher;
        QVERIFY_THROWS_EXCEPTION(
            ComponentError, RunUpdateCheck({m_server.url(QStringLiteral("/any.txt")), QString(),
                                            QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                                           fetcher));
    }

private:
    void write(const QString &name, const QByteArray &data)
    {
        QFile file(m_root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QString certificate() const { return m_certificates.filePath(QStringLiteral("cert.pem")); }

    QTemporaryDir m_root;
    QTemporaryDir m_temp;
    QTemporaryDir m_certificates;
    LocalWebServer m_server;
    LocalWebServer m_https;
    int m_files = 0;
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
