#pragma once

#include "platform/HttpClient.h"

#include <QObject>
#include <QString>
#include <functional>

// The three kinds of source the update description, the release notes and the download come
// from: a network share path (two backslashes first), a URL, or neither.
enum class SourceKind { NetworkShare, Url, Invalid };
SourceKind classifySource(const QString &source);

// "\"SOURCE\" is an invalid source."
QString invalidSourceMessage(const QString &source);

// Where a network share path is found on this system: \\host\share\file is read as
// //host/share/file, the place where such a share is mounted.
QString sharePathOnThisSystem(const QString &source);

// Network share copies go in blocks of this size, with the user interface's events between.
inline constexpr qint64 kShareCopyBlockSize = 16384;

// "Failed: " + the status code + " " + the reason phrase of a failed request.
QString requestFailureLine(const HttpResult &result);

struct FetchResult {
    bool ok = false;
    bool invalidSource = false;
    bool requestFailed = false; // a GET failed; `http` says how
    bool cancelled = false;     // a share copy stopped by isCancelled
    HttpResult http;
    // "Failed: " + status code + " " + reason phrase, for a failed GET; "" otherwise.
    QString failureLine() const;
};

// Fetches a source into a file by the source's kind, through one http and one https client
// that share the proxy: GET for a URL (https client when the source starts with "https"),
// a block copy for a network share path, and the invalid-source message for anything else.
// Every step runs on the calling thread and lets the event loop run while it waits.
class UpdateFetcher : public QObject
{
    Q_OBJECT

public:
    explicit UpdateFetcher(QObject *parent = nullptr);

    void setProxy(const QString &address, const QString &port);
    const QString &proxyAddress() const { return m_http->proxyAddress(); }
    const QString &proxyPort() const { return m_http->proxyPort(); }
    // A source longer than this fails (0: no limit).
    void setMaximumSize(qint64 bytes);
    void setTimeoutSeconds(int seconds);

    // Told the invalid-source message (the window shows it in an error box).
    std::function<void(const QString &message)> onInvalidSource;
    // Told the bytes received or copied so far.
    std::function<void(qint64 bytes)> onProgress;
    // Asked after each block of a share copy whether to stop.
    std::function<bool()> isCancelled;

    // Fetches `source` into the file `targetPath`, created or emptied first. Throws a
    // ComponentError with the system's reason when the target cannot be written.
    FetchResult fetch(const QString &source, const QString &targetPath);
    // A HEAD of a URL with the client its scheme picks.
    HttpResult head(const QString &url);
    // Aborts the running requests of both clients.
    void abort();

    HttpClient &clientFor(const QString &url);

private:
    FetchResult copyShare(const QString &source, const QString &targetPath);
    HttpClient *m_http;
    HttpClient *m_https;
    qint64 m_maximumSize = 0;
};
