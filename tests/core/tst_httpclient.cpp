// The HTTP client against a local web server: request settings, failures with their status and
// reason, redirects, HEAD, certificates, the proxy, the time-out, abort and size limits.
#include "platform/HttpClient.h"

#include "support/LocalWebServer.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(HttpClientKind)

class TestHttpClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_big.resize(300000);
        QRandomGenerator generator(7);
        for (char &c : m_big)
            c = char(generator.bounded(256));
        writeFile(QStringLiteral("big.bin"), m_big);
        writeFile(QStringLiteral("hello.txt"), "hello\n");
        QVERIFY(m_certificates.isValid());
        const QString made = makeTestCertificate(m_certificates.path());
        QVERIFY2(made.isEmpty(), qPrintable(made));
        QString started = m_http.start(m_root.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
        started = m_https.start(m_root.path(), certificate(),
                                m_certificates.filePath(QStringLiteral("key.pem")));
        QVERIFY2(started.isEmpty(), qPrintable(started));
    }
    void init() { qunsetenv("SSL_CERT_FILE"); }

    void requestSettings_data()
    {
        QTest::addColumn<HttpClientKind>("kind");
        QTest::addColumn<QString>("userAgent");
        QTest::addColumn<bool>("noCache");
        QTest::newRow("http client")
            << HttpClientKind::Http << "Mozilla/4.0 (compatible; ICS)" << true;
        QTest::newRow("https client") << HttpClientKind::Https << "Mozilla/4.0" << false;
    }
    void requestSettings()
    {
        QFETCH(HttpClientKind, kind);
        QFETCH(QString, userAgent);
        QFETCH(bool, noCache);
        HttpClient client(kind);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        const HttpResult result = client.get(m_http.url(QStringLiteral("/echo")), &body);
        QVERIFY2(result.ok, qPrintable(result.reasonPhrase));
        const QString echo = QString::fromLatin1(body.data());
        QVERIFY2(echo.startsWith(QLatin1String("GET /echo HTTP/1.0\n")), qPrintable(echo));
        QVERIFY2(echo.contains(QStringLiteral("\nUser-Agent: ") + userAgent + u'\n'),
                 qPrintable(echo));
        QVERIFY2(echo.contains(QStringLiteral(
                     "\nAccept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\n")),
                 qPrintable(echo));
        QCOMPARE(echo.contains(QStringLiteral("\nPragma: no-cache\n")), noCache);
    }

    void getWritesTheBody()
    {
        HttpClient client(HttpClientKind::Http);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        qint64 lastProgress = 0;
        int progressEvents = 0;
        connect(&client, &HttpClient::progress, this, [&](qint64 received) {
            QVERIFY(received > lastProgress);
            lastProgress = received;
            ++progressEvents;
        });
        const HttpResult result = client.get(m_http.url(QStringLiteral("/big.bin")), &body);
        QVERIFY2(result.ok, qPrintable(result.reasonPhrase));
        QCOMPARE(result.statusCode, 200);
        QCOMPARE(body.data(), m_big);
        QCOMPARE(lastProgress, qint64(m_big.size()));
        QVERIFY(progressEvents >= 1);
    }

    void failedRequests_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "/nothing.txt" << 404 << "Not Found";
        QTest::newRow("server error") << "/status/500/x" << 500 << "Internal Server Error";
        QTest::newRow("forbidden after a redirect")
            << "/redirect/2/status/403/x" << 403 << "Forbidden";
        QTest::newRow("six redirects are one too many")
            << "/redirect/6/hello.txt" << 302 << "Maximum (5) redirects followed";
    }
    void failedRequests()
    {
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(QString, reason);
        HttpClient client(HttpClientKind::Http);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        const HttpResult result = client.get(m_http.url(path), &body);
        QVERIFY(!result.ok);
        QVERIFY(!result.aborted);
        QCOMPARE(result.statusCode, status);
        QCOMPARE(result.reasonPhrase, reason);
        QVERIFY2(body.data().isEmpty(), "an error page is not the file");
    }

    void fiveRedirectsAreFollowed()
    {
        HttpClient client(HttpClientKind::Http);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        const HttpResult result =
            client.get(m_http.url(QStringLiteral("/redirect/5/hello.txt")), &body);
        QVERIFY2(result.ok, qPrintable(result.reasonPhrase));
        QCOMPARE(body.data(), QByteArray("hello\n"));
    }

    void connectionRefused()
    {
        LocalWebServer gone;
        QVERIFY(gone.start(m_root.path()).isEmpty());
        const QString url = gone.url(QStringLiteral("/hello.txt"));
        gone.stop();
        HttpClient client(HttpClientKind::Http);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        const HttpResult result = client.get(url, &body);
        QVERIFY(!result.ok);
        QCOMPARE(result.statusCode, 0);
        QVERIFY(!result.reasonPhrase.isEmpty());
    }

    void head_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("length");
        QTest::newRow("announced length") << "/big.bin" << true << qint64(300000);
        QTest::newRow("no length") << "/nolength/big.bin" << true << qint64(-1);
        QTest::newRow("HEAD refused") << "/nohead/big.bin" << false << qint64(0);
        QTest::newRow("missing") << "/none.bin" << false << qint64(-1);
    }
    void head()
    {
        QFETCH(QString, path);
        QFETCH(bool, ok);
        QFETCH(qint64, length);
        HttpClient client(HttpClientKind::Http);
        const HttpResult result = client.head(m_http.url(path));
        QCOMPARE(result.ok, ok);
        if (ok)
            QCOMPARE(result.contentLength, length);
    }

    void certificates()
    {
        HttpClient client(HttpClientKind::Https);
        QBuffer untrusted;
        untrusted.open(QIODevice::WriteOnly);
        HttpResult result = client.get(m_https.url(QStringLiteral("/hello.txt")), &untrusted);
        QVERIFY2(!result.ok, "a certificate nobody trusts must fail the request");
        QCOMPARE(result.statusCode, 0);
        QVERIFY(untrusted.data().isEmpty());

        qputenv("SSL_CERT_FILE", certificate().toLocal8Bit());
        QBuffer trusted;
        trusted.open(QIODevice::WriteOnly);
        result = client.get(m_https.url(QStringLiteral("/hello.txt")), &trusted);
        QVERIFY2(result.ok, qPrintable(result.reasonPhrase));
        QCOMPARE(trusted.data(), QByteArray("hello\n"));
    }

    void httpsDoesNotRedirectToPlainHttp()
    {
        qputenv("SSL_CERT_FILE", certificate().toLocal8Bit());
        HttpClient client(HttpClientKind::Https);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        const QString plain = m_http.url(QStringLiteral("/hello.txt"));
        HttpResult result = client.get(m_https.url(QStringLiteral("/goto?")) + plain, &body);
        QVERIFY(!result.ok);
        QCOMPARE(result.statusCode, 302);
        QVERIFY2(result.reasonPhrase.contains(QLatin1String("\"http\" not supported")),
                 qPrintable(result.reasonPhrase));
        QVERIFY(body.data().isEmpty());
        // Plain http may move on to https.
        result = client.get(m_http.url(QStringLiteral("/goto?")) +
                                m_https.url(QStringLiteral("/hello.txt")),
                            &body);
        QVERIFY2(result.ok, qPrintable(result.reasonPhrase));
        QCOMPARE(body.data(), QByteArray("hello\n"));
    }

    void proxy()
    {
        // The host does not exist: only a request through the proxy reaches the file.
        const QString address = QStringLiteral("http://update.invalid/hello.txt");
        HttpClient client(HttpClientKind::Http);
        client.setProxy(QStringLiteral("127.0.0.1"), QString::number(m_http.port()));
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        HttpResult result = client.get(address, &body);
        QVERIFY2(result.ok, qPrintable(result.reasonPhrase));
        QCOMPARE(body.data(), QByteArray("hello\n"));

        client.setProxy(QStringLiteral("127.0.0.1"), QStringLiteral("8o"));
        result = client.get(address, &body);
        QVERIFY(!result.ok);
        QCOMPARE(result.reasonPhrase, QStringLiteral("Invalid proxy port \"8o\""));

        // No proxy: the environment's proxy variables are not used either.
        qputenv("http_proxy", QStringLiteral("http://127.0.0.1:%1").arg(m_http.port()).toUtf8());
        client.setProxy(QString(), QStringLiteral("80"));
        result = client.get(address, &body);
        qunsetenv("http_proxy");
        QVERIFY(!result.ok);
    }

    void stalledServerTimesOut()
    {
        HttpClient client(HttpClientKind::Http);
        client.setTimeoutSeconds(1);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        QElapsedTimer clock;
        clock.start();
        const HttpResult result = client.get(m_http.url(QStringLiteral("/stall/hello.txt")), &body);
        QVERIFY(!result.ok);
        QVERIFY2(clock.elapsed() < 8000, "the time-out ends the request before the server does");
    }

    void eventsRunWhileWaitingAndAbortEnds()
    {
        HttpClient client(HttpClientKind::Http);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            ++ticks;
            if (ticks == 5)
                client.abort();
        });
        ticker.start(20);
        const HttpResult result = client.get(m_http.url(QStringLiteral("/slow/big.bin")), &body);
        QVERIFY(result.aborted);
        QVERIFY(!result.ok);
        QCOMPARE(ticks, 5);
        QVERIFY(body.data().size() < m_big.size());
        QVERIFY(!client.isRunning());
    }

    void abortFromTheProgressEvent()
    {
        HttpClient client(HttpClientKind::Http);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        connect(&client, &HttpClient::progress, &client, &HttpClient::abort);
        const HttpResult result = client.get(m_http.url(QStringLiteral("/slow/big.bin")), &body);
        QVERIFY(result.aborted);
        // The client can run the next request.
        const HttpResult again = client.head(m_http.url(QStringLiteral("/big.bin")));
        QVERIFY(again.ok);
    }

    void bodyLimit()
    {
        HttpClient client(HttpClientKind::Http);
        client.setMaximumBodySize(1000);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        const HttpResult result = client.get(m_http.url(QStringLiteral("/big.bin")), &body);
        QVERIFY(!result.ok);
        QCOMPARE(result.reasonPhrase, QStringLiteral("The answer is longer than 1000 bytes"));
        QVERIFY(body.data().size() <= 1000);
    }

private:
    void writeFile(const QString &name, const QByteArray &data)
    {
        QFile file(m_root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    QString certificate() const { return m_certificates.filePath(QStringLiteral("cert.pem")); }

    QTemporaryDir m_root;
    QTemporaryDir m_certificates;
    QByteArray m_big;
    LocalWebServer m_http;
    LocalWebServer m_https;
};

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_httpclient.moc"
