#include "platform/HttpClient.h"

#include <QEventLoop>
#include <QHash>
#include <QIODevice>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

#include <optional>

namespace
{

const char *const kAccept = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
const char *const kHttpUserAgent = "Mozilla/4.0 (compatible; ICS)";
const char *const kHttpsUserAgent = "Mozilla/4.0";
const long kMaximumRedirects = 5;

void initialiseCurl()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(initialised);
}

// "HTTP/1.0 404 Not Found" gives 404 and "Not Found".
bool parseStatusLine(const QByteArray &line, int &code, QString &reason)
{
    if (!line.startsWith("HTTP/"))
        return false;
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() < 2)
        return false;
    bool ok = false;
    const int parsed = parts[1].toInt(&ok);
    if (!ok)
        return false;
    code = parsed;
    const qsizetype reasonStart = line.indexOf(' ', line.indexOf(' ') + 1);
    reason = reasonStart < 0 ? QString() : QString::fromLatin1(line.mid(reasonStart + 1));
    return true;
}

} // namespace

// One request: an easy handle on a multi handle of its own, whose sockets and time-outs are
// watched by this thread's event loop.
class HttpClient::Transfer : public QObject
{
public:
    Transfer(HttpClient *client, QIODevice *body) : m_client(client), m_body(body)
    {
        initialiseCurl();
        m_multi = curl_multi_init();
        m_easy = curl_easy_init();
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &Transfer::socketCallback);
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &Transfer::timerCallback);
        curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
    }

    ~Transfer() override
    {
        release();
        if (m_multi)
            curl_multi_cleanup(m_multi);
    }

    // Sets the request up; a text that says why it cannot be made, or "".
    QString prepare(const QString &url, bool headOnly)
    {
        if (!m_multi || !m_easy)
            return QStringLiteral("The HTTP client could not be initialised");
        const HttpClient &c = *m_client;
        const bool https = c.m_kind == HttpClientKind::Https;
        m_url = url.toUtf8();
        setopt(CURLOPT_URL, m_url.constData());
        setopt(CURLOPT_PROTOCOLS_STR, "http,https");
        // Once on https, a redirect may not fall back to plain http.
        const bool startsSecure = url.startsWith(QLatin1String("https:"), Qt::CaseInsensitive);
        setopt(CURLOPT_REDIR_PROTOCOLS_STR, startsSecure ? "https" : "http,https");
        setopt(CURLOPT_FOLLOWLOCATION, 1L);
        setopt(CURLOPT_MAXREDIRS, kMaximumRedirects);
        setopt(CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        setopt(CURLOPT_USERAGENT, https ? kHttpsUserAgent : kHttpUserAgent);
        m_headers = curl_slist_append(m_headers, kAccept);
        if (!https)
            m_headers = curl_slist_append(m_headers, "Pragma: no-cache");
        setopt(CURLOPT_HTTPHEADER, m_headers);
        setopt(CURLOPT_NOSIGNAL, 1L);
        setopt(CURLOPT_CONNECTTIMEOUT, long(c.m_timeoutSeconds));
        setopt(CURLOPT_LOW_SPEED_LIMIT, 1L);
        setopt(CURLOPT_LOW_SPEED_TIME, long(c.m_timeoutSeconds));
        setopt(CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
        setopt(CURLOPT_SSL_VERIFYPEER, 1L);
        setopt(CURLOPT_SSL_VERIFYHOST, 2L);
        const QByteArray certificates = qgetenv("SSL_CERT_FILE");
        if (!certificates.isEmpty()) {
            m_caFile = certificates;
            setopt(CURLOPT_CAINFO, m_caFile.constData());
            setopt(CURLOPT_CAPATH, static_cast<const char *>(nullptr));
        }
        // An explicit proxy setting, so that the environment's proxy variables play no part.
        m_proxy = c.m_proxyAddress.toUtf8();
        setopt(CURLOPT_PROXY, m_proxy.constData());
        setopt(CURLOPT_NOPROXY, "");
        if (!c.m_proxyAddress.isEmpty()) {
            bool ok = false;
            const int port = c.m_proxyPort.trimmed().toInt(&ok);
            if (!ok || port < 1 || port > 65535)
                return QStringLiteral("Invalid proxy port \"%1\"").arg(c.m_proxyPort);
            setopt(CURLOPT_PROXYPORT, long(port));
        }
        if (headOnly)
            setopt(CURLOPT_NOBODY, 1L);
        setopt(CURLOPT_WRITEFUNCTION, &Transfer::writeCallback);
        setopt(CURLOPT_WRITEDATA, this);
        setopt(CURLOPT_HEADERFUNCTION, &Transfer::headerCallback);
        setopt(CURLOPT_HEADERDATA, this);
        m_errorBuffer[0] = '\0';
        setopt(CURLOPT_ERRORBUFFER, m_errorBuffer);
        return QString();
    }

    // Runs the request to its end while the event loop runs.
    HttpResult run()
    {
        if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK) {
            m_result.reasonPhrase = QStringLiteral("The request could not be started");
            return m_result;
        }
        m_added = true;
        QEventLoop loop;
        m_loop = &loop;
        if (!m_finished)
            loop.exec();
        m_loop = nullptr;
        // The loop can also be left from outside, when the application quits.
        if (!m_finished)
            abort();
        return m_result;
    }

    void abort()
    {
        if (m_finished)
            return;
        m_result.ok = false;
        m_result.aborted = true;
        m_result.reasonPhrase = QStringLiteral("The request was aborted");
        finish();
    }

    bool finished() const { return m_finished; }
    HttpResult &result() { return m_result; }

private:
    template <typename T> void setopt(CURLoption option, T value)
    {
        curl_easy_setopt(m_easy, option, value);
    }

    static int socketCallback(CURL *, curl_socket_t socket, int what, void *userp, void *)
    {
        static_cast<Transfer *>(userp)->watch(socket, what);
        return 0;
    }

    static int timerCallback(CURLM *, long timeoutMs, void *userp)
    {
        auto *self = static_cast<Transfer *>(userp);
        if (timeoutMs < 0)
            self->m_timer.stop();
        else
            self->m_timer.start(int(qMin(timeoutMs, long(INT_MAX))));
        return 0;
    }

    static size_t writeCallback(char *data, size_t size, size_t count, void *userp)
    {
        auto *self = static_cast<Transfer *>(userp);
        const size_t bytes = size * count;
        long status = 0;
        curl_easy_getinfo(self->m_easy, CURLINFO_RESPONSE_CODE, &status);
        // Only the body of a successful answer is the file; error pages are dropped.
        if (status < 200 || status >= 300 || !self->m_body)
            return bytes;
        const qint64 limit = self->m_client->m_maximumBodySize;
        if (limit > 0 && self->m_received + qint64(bytes) > limit) {
            self->m_failure = QStringLiteral("The answer is longer than %1 bytes").arg(limit);
            return 0;
        }
        if (self->m_body->write(data, qint64(bytes)) != qint64(bytes)) {
            self->m_failure = self->m_body->errorString();
            return 0;
        }
        self->m_received += qint64(bytes);
        return bytes;
    }

    static size_t headerCallback(char *data, size_t size, size_t count, void *userp)
    {
        auto *self = static_cast<Transfer *>(userp);
        const size_t bytes = size * count;
        const QByteArray line = QByteArray(data, qsizetype(bytes)).trimmed();
        int code = 0;
        QString reason;
        if (parseStatusLine(line, code, reason)) {
            self->m_statusCode = code;
            self->m_reason = reason;
        }
        return bytes;
    }

    struct Watch {
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
    };

    void watch(curl_socket_t socket, int what)
    {
        Watch &w = m_watches[socket];
        const bool remove = what == CURL_POLL_REMOVE;
        notify(w.read, socket, QSocketNotifier::Read,
               !remove && (what == CURL_POLL_IN || what == CURL_POLL_INOUT));
        notify(w.write, socket, QSocketNotifier::Write,
               !remove && (what == CURL_POLL_OUT || what == CURL_POLL_INOUT));
        if (remove)
            m_watches.remove(socket);
    }

    void notify(QSocketNotifier *&notifier, curl_socket_t socket, QSocketNotifier::Type type,
                bool wanted)
    {
        if (wanted && !notifier) {
            notifier = new QSocketNotifier(qintptr(socket), type, this);
            const int mask = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
            connect(notifier, &QSocketNotifier::activated, this,
                    [this, socket, mask] { act(socket, mask); });
        } else if (!wanted && notifier) {
            // The notifier may be the one whose signal is being handled right now.
            notifier->setEnabled(false);
            notifier->deleteLater();
            notifier = nullptr;
        }
    }

    // Lets libcurl act on a socket or a time-out, then reports progress and completion. No
    // signal is emitted from inside a libcurl call, so a receiver may abort the request.
    void act(curl_socket_t socket, int mask)
    {
        if (m_finished)
            return;
        int running = 0;
        curl_multi_socket_action(m_multi, socket, mask, &running);
        std::optional<CURLcode> done;
        int left = 0;
        while (CURLMsg *message = curl_multi_info_read(m_multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy)
                done = message->data.result;
        }
        if (m_received != m_reported) {
            m_reported = m_received;
            QPointer<Transfer> alive(this);
            emit m_client->progress(m_received);
            if (!alive || m_finished)
                return;
        }
        if (done)
            complete(*done);
    }

    void complete(CURLcode code)
    {
        long status = 0;
        curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
        curl_off_t length = -1;
        curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        m_result.statusCode = status > 0 ? int(status) : m_statusCode;
        m_result.contentLength = length;
        if (code == CURLE_OK) {
            m_result.ok = status >= 200 && status < 300;
            m_result.reasonPhrase = m_reason;
        } else {
            m_result.ok = false;
            if (!m_failure.isEmpty())
                m_result.reasonPhrase = m_failure;
            else if (m_errorBuffer[0] != '\0')
                m_result.reasonPhrase = QString::fromLocal8Bit(m_errorBuffer);
            else
                m_result.reasonPhrase = QString::fromLatin1(curl_easy_strerror(code));
        }
        finish();
    }

    void finish()
    {
        m_finished = true;
        release();
        if (m_loop)
            m_loop->quit();
    }

    void release()
    {
        m_timer.stop();
        for (Watch &w : m_watches) {
            for (QSocketNotifier *n : {w.read, w.write}) {
                if (n) {
                    n->setEnabled(false);
                    n->deleteLater();
                }
            }
        }
        m_watches.clear();
        if (m_easy) {
            if (m_added)
                curl_multi_remove_handle(m_multi, m_easy);
            curl_easy_cleanup(m_easy);
            m_easy = nullptr;
        }
        if (m_headers) {
            curl_slist_free_all(m_headers);
            m_headers = nullptr;
        }
    }

    HttpClient *m_client;
    QIODevice *m_body;
    CURLM *m_multi = nullptr;
    CURL *m_easy = nullptr;
    curl_slist *m_headers = nullptr;
    bool m_added = false;
    bool m_finished = false;
    QByteArray m_url;
    QByteArray m_proxy;
    QByteArray m_caFile;
    char m_errorBuffer[CURL_ERROR_SIZE];
    QTimer m_timer;
    QHash<curl_socket_t, Watch> m_watches;
    QEventLoop *m_loop = nullptr;
    qint64 m_received = 0;
    qint64 m_reported = 0;
    int m_statusCode = 0;
    QString m_reason;
    QString m_failure;
    HttpResult m_result;
};

HttpClient::HttpClient(HttpClientKind kind, QObject *parent) : QObject(parent), m_kind(kind) {}

HttpClient::~HttpClient() = default;

void HttpClient::setProxy(const QString &address, const QString &port)
{
    m_proxyAddress = address;
    m_proxyPort = port;
}

HttpResult HttpClient::get(const QString &url, QIODevice *body)
{
    return run(url, body, false);
}

HttpResult HttpClient::head(const QString &url)
{
    return run(url, nullptr, true);
}

HttpResult HttpClient::run(const QString &url, QIODevice *body, bool headOnly)
{
    if (m_transfer) {
        HttpResult busy;
        busy.reasonPhrase = QStringLiteral("Another request of this client is running");
        return busy;
    }
    m_transfer = std::make_unique<Transfer>(this, body);
    const QString problem = m_transfer->prepare(url, headOnly);
    HttpResult result;
    if (problem.isEmpty()) {
        result = m_transfer->run();
    } else {
        result.reasonPhrase = problem;
    }
    m_transfer.reset();
    return result;
}

void HttpClient::abort()
{
    if (m_transfer)
        m_transfer->abort();
}

bool HttpClient::isRunning() const
{
    return m_transfer && !m_transfer->finished();
}
