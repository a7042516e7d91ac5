// The update check against a local web server: the versions, the program's section, the
// release notes, failed and invalid sources, and the temporary files it leaves behind.
#include "components/ComponentError.h"
#include "components/UpdateCheck.h"
#include "components/UpdateFetcher.h"

#include "support/LocalWebServer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(UpdateCheckMessage)

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
        started = makeTestCertificate(m_certificates.path());
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
        QTest::addColumn<UpdateCheckMessage>("message");
        QTest::addColumn<QString>("readme");
        QTest::addColumn<QString>("updatePage");
        const QString page = QStringLiteral("https://maker.example/marovek/");
        const QString notes = QStringLiteral("First line\nSecond line");
        const QByteArray withNotes = "ReadmeFileURL={base}/notes.txt\n";
        QTest::newRow("newer") << "[Wingbook]\nVersion=1.00.18\n" + withNotes << "1.00.17" << true
                               << UpdateCheckMessage::None << notes << page;
        QTest::newRow("equal, notes fetched all the same")
            << "[Wingbook]\nVersion=1.00.17\n" + withNotes << "1.00.17" << false
            << UpdateCheckMessage::NoNewVersions << notes << page;
        QTest::newRow("longer published text")
            << QByteArray("[Wingbook]\nVersion=1.00.17b5\n") << "1.00.17" << true
            << UpdateCheckMessage::None << "" << page;
        QTest::newRow("10.00.00 is not newer than 9.99.99")
            << QByteArray("[Wingbook]\nVersion=10.00.00\n") << "9.99.99" << false
            << UpdateCheckMessage::NoNewVersions << "" << page;
        QTest::newRow("section and key in another case")
            << QByteArray("[wingbook]\nversion=1.00.18\n") << "1.00.17" << true
            << UpdateCheckMessage::None << "" << page;
        QTest::newRow("missing section")
            << QByteArray("[Other]\nVersion=1.00.18\n") << "1.00.17" << false
            << UpdateCheckMessage::NoAdvertisedVersions << "" << page;
        QTest::newRow("description answers 404")
            << QByteArray() << "1.00.17" << false << UpdateCheckMessage::NoAdvertisedVersions
            << "Failed: 404 Not Found" << page;
        QTest::newRow("release notes answer 404")
            << QByteArray("[Wingbook]\nVersion=1.00.18\nReadmeFileURL={base}/gone.txt\n")
            << "1.00.17" << true << UpdateCheckMessage::None << "Failed: 404 Not Found" << page;
        QTest::newRow("the description names its own page")
            << QByteArray("[Wingbook]\nUpdatePageURL=https://elsewhere.example/\n") << "1.00.17"
            << false << UpdateCheckMessage::NoAdvertisedVersions << ""
            << "https://elsewhere.example/";
    }
    void check()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, running);
        QFETCH(bool, newer);
        QFETCH(UpdateCheckMessage, message);
        QFETCH(QString, readme);
        QFETCH(QString, updatePage);
        const QString name = QStringLiteral("desc-%1.txt").arg(++m_files);
        if (!description.isEmpty())
            write(name, description.replace("{base}", m_server.url(QString()).toUtf8()));
        UpdateFetcher fetcher;
        int invalid = 0;
        fetcher.onInvalidSource = [&](const QString &) { ++invalid; };
        const UpdateCheckResult result = runUpdateCheck(
            {m_server.url(u'/' + name), QStringLiteral("https://maker.example/marovek/"), running,
             QStringLiteral("Wingbook")},
            fetcher);
        QCOMPARE(result.newer, newer);
        QCOMPARE(result.message, message);
        QCOMPARE(result.readme, readme);
        QCOMPARE(result.fields.UpdatePageURL, updatePage);
        QCOMPARE(invalid, 0);
    }

    void downloadEnabledByTheAddress()
    {
        write(QStringLiteral("dl.txt"),
              "[Wingbook]\nVersion=1.00.18\nDownloadFileURL=https://h/setup.bin\n"
              "SHA256Hash=ABC\n");
        UpdateFetcher fetcher;
        UpdateCheckResult result =
            runUpdateCheck({m_server.url(QStringLiteral("/dl.txt")), QString(),
                            QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                           fetcher);
        QVERIFY(result.downloadEnabled);
        QCOMPARE(result.fields.DownloadFileURL, QStringLiteral("https://h/setup.bin"));
        QCOMPARE(result.fields.SHA256Hash, QStringLiteral("ABC"));
        write(QStringLiteral("nodl.txt"), "[Wingbook]\nVersion=1.00.18\n");
        result = runUpdateCheck({m_server.url(QStringLiteral("/nodl.txt")), QString(),
                                 QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                                fetcher);
        QVERIFY(!result.downloadEnabled);
    }

    void untrustedThenTrustedCertificate()
    {
        write(QStringLiteral("secure.txt"), "[Wingbook]\nVersion=1.00.18\n");
        const UpdateCheckRequest request{m_https.url(QStringLiteral("/secure.txt")),
                                         QStringLiteral("https://p.example/"),
                                         QStringLiteral("1.00.17"), QStringLiteral("Wingbook")};
        UpdateFetcher fetcher;
        // Nobody trusts the test's certificate: the fetch fails like any failed request.
        UpdateCheckResult result = runUpdateCheck(request, fetcher);
        QVERIFY(!result.newer);
        QCOMPARE(result.message, UpdateCheckMessage::NoAdvertisedVersions);
        QVERIFY2(result.readme.startsWith(QLatin1String("Failed: 0 ")), qPrintable(result.readme));

        qputenv("SSL_CERT_FILE", certificate().toLocal8Bit());
        result = runUpdateCheck(request, fetcher);
        QVERIFY(result.newer);
        QCOMPARE(result.fields.Version, QStringLiteral("1.00.18"));
    }

    void invalidSource()
    {
        UpdateFetcher fetcher;
        QStringList messages;
        fetcher.onInvalidSource = [&](const QString &m) { messages << m; };
        const UpdateCheckResult result =
            runUpdateCheck({QStringLiteral("not a place"), QStringLiteral("https://p.example/"),
                            QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                           fetcher);
        QCOMPARE(messages, QStringList{"\"not a place\" is an invalid source."});
        QCOMPARE(result.message, UpdateCheckMessage::NoAdvertisedVersions);
        QCOMPARE(result.readme, QString());
    }

    void nothingToAskWithoutAnyPage()
    {
        UpdateFetcher fetcher;
        const UpdateCheckResult result =
            runUpdateCheck({QString(), QStringLiteral("https://p.example/"),
                            QStringLiteral("1.00.17"), QStringLiteral("Wingbook")},
                           fetcher);
        QVERIFY(result.fields.UpdatePageURL.isEmpty());
        QCOMPARE(result.message, UpdateCheckMessage::NoNewVersions);
    }

    void networkShareSource()
    {
        write(QStringLiteral("share.txt"), "[Wingbook]\nVersion=1.00.18\n");
        // \\tmp\...\share.txt names the file //tmp/.../share.txt here.
        QString share = QDir(m_root.path()).filePath(QStringLiteral("share.txt"));
        share.replace(u'/', u'\\');
        share.prepend(u'\\');
        UpdateFetcher fetcher;
        const UpdateCheckResult result = runUpdateCheck(
            {share, QString(), QStringLiteral("1.00.17"), QStringLiteral("Wingbook")}, fetcher);
        QVERIFY(result.newer);
        QCOMPARE(result.fields.Version, QStringLiteral("1.00.18"));
    }

    void unusableTemporaryFolderIsAnError()
    {
        qputenv("TMPDIR", QByteArray("/nonexistent/folder"));
        UpdateFetcher fetcher;
        QVERIFY_THROWS_EXCEPTION(
            ComponentError, runUpdateCheck({m_server.url(QStringLiteral("/any.txt")), QString(),
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
