#include "components/UpdateFetcher.h"

#include "components/ComponentError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace
{

QString cannotCreate(const QString &path, const QFile &file)
{
    return QStringLiteral("Cannot create file \"%1\". %2")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}

} // namespace

SourceKind classifySource(const QString &source)
{
    if (source.startsWith(QLatin1String("\\\\")))
        return SourceKind::NetworkShare;
    const QUrl url(source, QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty())
        return SourceKind::Url;
    return SourceKind::Invalid;
}

QString invalidSourceMessage(const QString &source)
{
    return u'"' + source + QStringLiteral("\" is an invalid source.");
}

QString sharePathOnThisSystem(const QString &source)
{
    QString path = source;
    path.replace(u'\\', u'/');
    return path;
}

QString requestFailureLine(const HttpResult &result)
{
    return QStringLiteral("Failed: ") + QString::number(result.statusCode) + u' ' +
           result.reasonPhrase;
}

QString FetchResult::failureLine() const
{
    return requestFailed ? requestFailureLine(http) : QString();
}

UpdateFetcher::UpdateFetcher(QObject *parent)
    : QObject(parent), m_http(new HttpClient(HttpClientKind::Http, this)),
      m_https(new HttpClient(HttpClientKind::Https, this))
{
    for (HttpClient *client : {m_http, m_https}) {
        connect(client, &HttpClient::progress, this, [this](qint64 received) {
            if (onProgress)
                onProgress(received);
        });
    }
}

void UpdateFetcher::setProxy(const QString &address, const QString &port)
{
    m_http->setProxy(address, port);
    m_https->setProxy(address, port);
}

void UpdateFetcher::setMaximumSize(qint64 bytes)
{
    m_maximumSize = bytes;
    m_http->setMaximumBodySize(bytes);
    m_https->setMaximumBodySize(bytes);
}

void UpdateFetcher::setTimeoutSeconds(int seconds)
{
    m_http->setTimeoutSeconds(seconds);
    m_https->setTimeoutSeconds(seconds);
}

HttpClient &UpdateFetcher::clientFor(const QString &url)
{
    return url.toLower().startsWith(QLatin1String("https")) ? *m_https : *m_http;
}

FetchResult UpdateFetcher::fetch(const QString &source, const QString &targetPath)
{
    switch (classifySource(source)) {
    case SourceKind::NetworkShare:
        return copyShare(source, targetPath);
    case SourceKind::Url: {
        QFile target(targetPath);
        if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw ComponentError(cannotCreate(targetPath, target));
        FetchResult result;
        result.http = clientFor(source).get(source, &target);
        target.close();
        result.ok = result.http.ok;
        result.requestFailed = !result.ok;
        return result;
    }
    case SourceKind::Invalid:
        break;
    }
    if (onInvalidSource)
        onInvalidSource(invalidSourceMessage(source));
    FetchResult result;
    result.invalidSource = true;
    return result;
}

FetchResult UpdateFetcher::copyShare(const QString &source, const QString &targetPath)
{
    FetchResult result;
    QFile input(sharePathOnThisSystem(source));
    if (!input.open(QIODevice::ReadOnly))
        return result; // a share that cannot be opened fails without a message
    QFile target(targetPath);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ComponentError(cannotCreate(targetPath, target));
    qint64 copied = 0;
    bool broken = false;
    QByteArray block;
    while (!(block = input.read(kShareCopyBlockSize)).isEmpty()) {
        if (target.write(block) != block.size() ||
            (m_maximumSize > 0 && copied + block.size() > m_maximumSize)) {
            broken = true;
            break;
        }
        copied += block.size();
        if (onProgress)
            onProgress(copied);
        QCoreApplication::processEvents();
        if (isCancelled && isCancelled()) {
            result.cancelled = true;
            break;
        }
    }
    broken = broken || input.error() != QFileDevice::NoError;
    target.close();
    if (result.cancelled || broken || copied == 0) {
        target.remove();
        return result;
    }
    result.ok = true;
    return result;
}

HttpResult UpdateFetcher::head(const QString &url)
{
    return clientFor(url).head(url);
}

void UpdateFetcher::abort()
{
    m_http->abort();
    m_https->abort();
}
