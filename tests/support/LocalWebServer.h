#pragma once

// A local web server for the update tests: tests/support/update_server.py on 127.0.0.1,
// serving a folder over http, or over https with a certificate the test makes.
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

class LocalWebServer
{
public:
    LocalWebServer() = default;
    ~LocalWebServer() { stop(); }
    LocalWebServer(const LocalWebServer &) = delete;
    LocalWebServer &operator=(const LocalWebServer &) = delete;

    // Starts serving `root`; over TLS when a certificate and key are given. "" on success,
    // otherwise what went wrong.
    QString start(const QString &root, const QString &certificate = QString(),
                  const QString &key = QString())
    {
        QStringList arguments{QStringLiteral(WINGBOOK_SOURCE_DIR "/tests/support/update_server.py"),
                              root};
        m_scheme = QStringLiteral("http");
        if (!certificate.isEmpty()) {
            arguments << QStringLiteral("--cert") << certificate << QStringLiteral("--key") << key;
            m_scheme = QStringLiteral("https");
        }
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("python3"), arguments);
        if (!m_process.waitForStarted(10000))
            return QStringLiteral("python3 did not start: ") + m_process.errorString();
        QByteArray line;
        while (!line.contains('\n') && m_process.waitForReadyRead(15000))
            line += m_process.readAll();
        if (!line.startsWith("PORT "))
            return QStringLiteral("the server did not say its port: ") + QString::fromUtf8(line);
        m_port = line.mid(5).trimmed().toInt();
        return QString();
    }

    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    int port() const { return m_port; }
    // The address of a path on this server, "http://127.0.0.1:PORT/path".
    QString url(const QString &path) const
    {
        return QStringLiteral("%1://127.0.0.1:%2%3").arg(m_scheme).arg(m_port).arg(path);
    }

private:
    QProcess m_process;
    QString m_scheme;
    int m_port = 0;
};

// Makes a self-signed certificate for 127.0.0.1 and its key in `folder` (cert.pem, key.pem);
// "" on success, otherwise what went wrong.
inline QString makeTestCertificate(const QString &folder)
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"),
                   QDir(folder).filePath(QStringLiteral("key.pem")), QStringLiteral("-out"),
                   QDir(folder).filePath(QStringLiteral("cert.pem"))});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        return QStringLiteral("openssl failed: ") + QString::fromUtf8(openssl.readAll()) +
               openssl.errorString();
    return QString();
}
