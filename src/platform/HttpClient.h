#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QIODevice;

// The answer to one request.
struct HttpResult {
    bool ok = false;      // a 2xx answer came, and all of its body was taken
    bool aborted = false; // abort() ended the request (or the event loop was told to quit)
    // The status of the last answer (after redirects), 0 when none came.
    int statusCode = 0;
    // The reason phrase of the last answer; for a request that failed without an answer (or
    // whose body could not be taken), why it failed.
    QString reasonPhrase;
    // The length the last answer announced; -1 when it announced none.
    qint64 contentLength = -1;
};

// The two request flavours the update check and download use: they differ in the
// "User-Agent" they send and in the "Pragma: no-cache" of plain http.
enum class HttpClientKind { Http, Https };

// An HTTP/1.0 client over libcurl. A request runs on libcurl's multi interface, driven by
// socket notifiers and a timer of this thread's event loop: get() and head() return when the
// answer is complete, and the user interface keeps processing its events in the meantime.
// Server certificates are verified against the system's trust store, or against the
// certificates in the file that SSL_CERT_FILE names when it is set. Redirects are followed,
// at most five; a redirect from https to plain http is refused.
class HttpClient : public QObject
{
    Q_OBJECT

public:
    explicit HttpClient(HttpClientKind kind, QObject *parent = nullptr);
    ~HttpClient() override;

    HttpClientKind kind() const { return m_kind; }

    // An empty address means no proxy (the environment's proxy variables are not used either).
    void setProxy(const QString &address, const QString &port);
    const QString &proxyAddress() const { return m_proxyAddress; }
    const QString &proxyPort() const { return m_proxyPort; }

    // Seconds allowed for connecting, and for a stretch without any data received.
    void setTimeoutSeconds(int seconds) { m_timeoutSeconds = seconds; }
    // A body longer than this fails the request (0: no limit).
    void setMaximumBodySize(qint64 bytes) { m_maximumBodySize = bytes; }

    // A GET whose body (of a 2xx answer) is written into `body`, open for writing. Emits
    // progress() with the bytes written so far as they arrive.
    HttpResult get(const QString &url, QIODevice *body);
    // A HEAD; the result carries the announced length.
    HttpResult head(const QString &url);

    // Ends the running request; get() or head() then returns a result with `aborted` set.
    void abort();
    bool isRunning() const;

signals:
    void progress(qint64 received);

private:
    HttpResult run(const QString &url, QIODevice *body, bool headOnly);

    class Transfer;
    HttpClientKind m_kind;
    QString m_proxyAddress;
    QString m_proxyPort = QStringLiteral("80");
    int m_timeoutSeconds = 30;
    qint64 m_maximumBodySize = 0;
    std::unique_ptr<Transfer> m_transfer;
};
