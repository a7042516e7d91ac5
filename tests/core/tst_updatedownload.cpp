// Downloading the file an update description names: its name and folder, the expected size,
// the transfer, the checksums, and what is left behind when it fails.
#include "components/ComponentError.h"
#include "components/UpdateDownload.h"
#include "components/UpdateFetcher.h"

#include "support/LocalWebServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(THashType)
Q_DECLARE_METATYPE(QList<THashType>)

namespace
{

UpdateDescription described(const QString &address, const QString &md5 = QString(),
                            const QString &sha1 = QString(), const QString &sha256 = QString())
{
    UpdateDescription d;
    d.DownloadFileURL = address;
    d.MD5Hash = md5;
    d.SHA1Hash = sha1;
    d.SHA256Hash = sha256;
    return d;
}

} // namespace

class TestUpdateDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_setup = QByteArray(100000, 'x') + "end";
        QFile file(m_root.filePath(QStringLiteral("setup.bin")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(m_setup);
        file.close();
        const QString started = m_server.start(m_root.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
    }

    void fileName_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("https") << "https://h.example/files/setup-1.00.18.bin"
                               << "setup-1.00.18.bin" << true;
        QTest::newRow("http, upper-case scheme") << "HTTP://h.example/a/b.run"
                                                 << "b.run" << true;
        QTest::newRow("ends in a slash") << "https://h.example/files/"
                                         << "" << true;
        QTest::newRow("network share") << "\\\\server\\share\\setup.bin"
                                       << "setup.bin" << true;
        QTest::newRow("another scheme") << "ftp://h.example/setup.bin"
                                        << "" << false;
        QTest::newRow("a bare name") << "setup.bin"
                                     << "" << false;
    }
    void fileName()
    {
        QFETCH(QString, address);
        QFETCH(QString, name);
        QFETCH(bool, valid);
        bool actualValid = !valid;
        QCOMPARE(downloadFileName(address, &actualValid), name);
        QCOMPARE(actualValid, valid);
    }

    void checksumKinds_data()
    {
        QTest::addColumn<QString>("md5");
        QTest::addColumn<QString>("sha1");
        QTest::addColumn<QString>("sha256");
        QTest::addColumn<THashType>("hashType");
        QTest::addColumn<QList<THashType>>("kinds");
        QTest::newRow("nothing published") << ""
                                           << ""
                                           << "" << htNone << QList<THashType>{};
        QTest::newRow("strongest published wins") << "m"
                                                  << "s1"
                                                  << "s2" << htNone << QList<THashType>{htSHA256};
        QTest::newRow("SHA-1 before MD5") << "m"
                                          << "s1"
                                          << "" << htNone << QList<THashType>{htSHA1};
        QTest::newRow("MD5 alone") << "m"
                                   << ""
                                   << "" << htNone << QList<THashType>{htMD5};
        QTest::newRow("the asked kind as well")
            << "m"
            << ""
            << "s2" << htMD5 << QList<THashType>{htSHA256, htMD5};
        QTest::newRow("asked kind not published") << ""
                                                  << ""
                                                  << "" << htSHA1 << QList<THashType>{htSHA1};
        QTest::newRow("asked kind is the strongest")
            << ""
            << ""
            << "s2" << htSHA256 << QList<THashType>{htSHA256};
    }
    void checksumKinds()
    {
        QFETCH(QString, md5);
        QFETCH(QString, sha1);
        QFETCH(QString, sha256);
        QFETCH(THashType, hashType);
        QFETCH(QList<THashType>, kinds);
        QCOMPARE(checksumsToVerify(described(QString(), md5, sha1, sha256), hashType), kinds);
    }

    void targetFolder_data()
    {
        QTest::addColumn<QStringList>("existing"); // below the local data folder
        QTest::addColumn<QString>("chosen");       // "" for the temporary folder
        QTest::newRow("downloaded installations first")
            << QStringList{"Downloaded Installations", "Temp"} << "Downloaded Installations";
        QTest::newRow("then the local Temp") << QStringList{"Temp"} << "Temp";
        QTest::newRow("then the temporary folder") << QStringList{} << "";
    }
    void targetFolder()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, chosen);
        QTemporaryDir data;
        QTemporaryDir temp;
        for (const QString &folder : existing)
            QVERIFY(QDir(data.path()).mkdir(folder));
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        const QString expected = chosen.isEmpty() ? temp.path() : data.filePath(chosen);
        const QString actual = downloadTargetFolder();
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("TMPDIR");
        QCOMPARE(actual, expected);
    }

    void download_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("sha256");
        QTest::addColumn<QString>("md5");
        QTest::addColumn<THashType>("hashType");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<bool>("verified");
        const QString sha256 = digest(QCryptographicHash::Sha256);
        const QString md5 = digest(QCryptographicHash::Md5);
        const qint64 size = m_setup.size();
        QTest::newRow("no checksum published") << "/setup.bin"
                                               << ""
                                               << "" << htNone << size << true;
        QTest::newRow("right checksum, upper case")
            << "/setup.bin" << sha256.toUpper() << "" << htSHA256 << size << true;
        QTest::newRow("published checksum verified whatever HashType says")
            << "/setup.bin" << sha256 << "" << htNone << size << true;
        QTest::newRow("wrong checksum")
            << "/setup.bin" << QString(64, u'0') << "" << htNone << size << false;
        QTest::newRow("MD5 alone, wrong") << "/setup.bin"
                                          << "" << QString(32, u'f') << htNone << size << false;
        QTest::newRow("MD5 alone, right") << "/setup.bin"
                                          << "" << md5 << htNone << size << true;
        QTest::newRow("no length announced") << "/nolength/setup.bin"
                                             << ""
                                             << "" << htNone << kUnannouncedDownloadSize << true;
        QTest::newRow("after a redirect")
            << "/redirect/2/setup.bin" << sha256 << "" << htNone << size << true;
    }
    void download()
    {
        QFETCH(QString, path);
        QFETCH(QString, sha256);
        QFETCH(QString, md5);
        QFETCH(THashType, hashType);
        QFETCH(qint64, expected);
        QFETCH(bool, verified);
        QTemporaryDir folder;
        UpdateFetcher fetcher;
        qint64 progress = 0;
        fetcher.onProgress = [&](qint64 bytes) { progress = bytes; };
        UpdateDownload download(described(m_server.url(path), md5, QString(), sha256), hashType,
                                fetcher);
        download.chooseTarget(folder.path());
        QCOMPARE(download.targetPath(), folder.filePath(QStringLiteral("setup.bin")));
        QStringList status;
        QCOMPARE(download.expectedSize([&](const QString &s) { status << s; }), expected);
        QCOMPARE(status, (QStringList{"Getting file information", "Downloading file"}));
        QString failure;
        QVERIFY(download.transfer(&failure));
        QCOMPARE(failure, QString());
        QCOMPARE(progress, qint64(m_setup.size()));
        QCOMPARE(download.verify(), verified);
        if (verified) {
            download.keep();
        } else {
            download.discard();
            QVERIFY(!QFile::exists(download.targetPath()));
            return;
        }
        QFile file(download.targetPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), m_setup);
    }

    void failedHeadLeavesNoFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("server refuses HEAD") << "/nohead/setup.bin";
        QTest::newRow("missing file") << "/status/404/setup.bin";
    }
    void failedHeadLeavesNoFile()
    {
        QFETCH(QString, path);
        QTemporaryDir folder;
        UpdateFetcher fetcher;
        {
            UpdateDownload download(described(m_server.url(path)), htNone, fetcher);
            download.chooseTarget(folder.path());
            QCOMPARE(download.expectedSize([](const QString &) {}), qint64(0));
        }
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    }

    void failedGetSaysWhy()
    {
        QTemporaryDir folder;
        UpdateFetcher fetcher;
        UpdateDownload download(described(m_server.url(QStringLiteral("/status/410/setup.bin"))),
                                htNone, fetcher);
        download.chooseTarget(folder.path());
        QString failure;
        QVERIFY(!download.transfer(&failure));
        QCOMPARE(failure, QStringLiteral("Failed: 410 Gone"));
    }

    void proxyIsNamedInTheStatus()
    {
        QTemporaryDir folder;
        UpdateFetcher fetcher;
        fetcher.setProxy(QStringLiteral("127.0.0.1"), QString::number(m_server.port()));
        UpdateDownload download(described(QStringLiteral("http://update.invalid/setup.bin")),
                                htNone, fetcher);
        download.chooseTarget(folder.path());
        QStringList status;
        QCOMPARE(download.expectedSize([&](const QString &s) { status << s; }),
                 qint64(m_setup.size()));
        QCOMPARE(status.last(), QStringLiteral("Downloading file using proxy server (127.0.0.1:%1)")
                                    .arg(m_server.port()));
        QVERIFY(download.transfer(nullptr));
    }

    void invalidAddressIsReportedTwice()
    {
        QTemporaryDir folder;
        UpdateFetcher fetcher;
        QStringList messages;
        fetcher.onInvalidSource = [&](const QString &m) { messages << m; };
        UpdateDownload download(described(QStringLiteral("ftp://h.example/setup.bin")), htNone,
                                fetcher);
        download.chooseTarget(folder.path());
        QCOMPARE(download.expectedSize([](const QString &) {}), qint64(0));
        const QString message =
            QStringLiteral("\"ftp://h.example/setup.bin\" is an invalid source.");
        QCOMPARE(messages, (QStringList{message, message}));
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    }

    void addressWithoutANameCannotBeCreated()
    {
        QTemporaryDir folder;
        UpdateFetcher fetcher;
        UpdateDownload download(described(m_server.url(QStringLiteral("/"))), htNone, fetcher);
        download.chooseTarget(folder.path());
        QVERIFY_THROWS_EXCEPTION(ComponentError, download.expectedSize([](const QString &) {}));
    }

    void networkShareCopy()
    {
        QTemporaryDir folder;
        QString share = m_root.filePath(QStringLiteral("setup.bin"));
        share.replace(u'/', u'\\');
        share.prepend(u'\\');
        UpdateFetcher fetcher;
        QList<qint64> blocks;
        fetcher.onProgress = [&](qint64 bytes) { blocks << bytes; };
        UpdateDownload download(described(share), htNone, fetcher);
        download.chooseTarget(folder.path());
        QCOMPARE(download.fileName(), QStringLiteral("setup.bin"));
        QCOMPARE(download.expectedSize([](const QString &) {}), qint64(m_setup.size()));
        QVERIFY(download.transfer(nullptr));
        QCOMPARE(blocks.first(), kShareCopyBlockSize);
        QCOMPARE(blocks.last(), qint64(m_setup.size()));
        QCOMPARE(blocks.size(),
                 int((m_setup.size() + kShareCopyBlockSize - 1) / kShareCopyBlockSize));
        download.keep();
        QCOMPARE(QFileInfo(download.targetPath()).size(), qint64(m_setup.size()));
    }

    void cancelledShareCopyLeavesNoFile()
    {
        QTemporaryDir folder;
        QString share = m_root.filePath(QStringLiteral("setup.bin"));
        share.replace(u'/', u'\\');
        share.prepend(u'\\');
        UpdateFetcher fetcher;
        int blocks = 0;
        fetcher.onProgress = [&](qint64) { ++blocks; };
        fetcher.isCancelled = [&] { return blocks >= 2; };
        UpdateDownload download(described(share), htNone, fetcher);
        download.chooseTarget(folder.path());
        QVERIFY(!download.transfer(nullptr));
        QCOMPARE(blocks, 2);
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    }

private:
    QString digest(QCryptographicHash::Algorithm algorithm) const
    {
        return QString::fromLatin1(QCryptographicHash::hash(m_setup, algorithm).toHex());
    }

    QTemporaryDir m_root;
    QByteArray m_setup;
    LocalWebServer m_server;
};

QTEST_GUILESS_MAIN(TestUpdateDownload)
#include "tst_updatedownload.moc"
