#pragma once

#include "components/UpdateDescription.h"

#include <QList>
#include <QString>
#include <functional>

class UpdateFetcher;

// Which checksum of a downloaded file is verified.
enum THashType { htNone, htMD5, htSHA1, htSHA256 };

// The name the downloaded file gets: the text after the last "/" of an http or https address
// (empty when it ends in "/"), the last component of a network share path; "" and
// `valid` false for any other address.
QString downloadFileName(const QString &address, bool *valid = nullptr);

// The folder the download goes to: the first that exists of "Downloaded Installations" and
// "Temp" in the user's local application data folder, "Downloaded Installations" in the
// system's data folder, and the user's temporary folder ("" when none of them exists).
QString downloadTargetFolder();

// The file's digest of that kind as lower-case hexadecimal; "" when it cannot be read.
QString fileDigest(const QString &fileName, THashType kind);

// The checksums a download is verified against: the strongest the description publishes
// (SHA-256, else SHA-1, else MD5), and the kind `hashType` names if that is another.
QList<THashType> checksumsToVerify(const UpdateDescription &description, THashType hashType);

// The expected size when the server announces none.
inline constexpr qint64 kUnannouncedDownloadSize = 4194304;

// The steps of downloading the file an update description names, without any window: the
// target, the expected size, the transfer and the checksum. The download window and the
// command line run them in order.
class UpdateDownload
{
public:
    UpdateDownload(const UpdateDescription &description, THashType hashType,
                   UpdateFetcher &fetcher);
    // Deletes a file it created that was not kept.
    ~UpdateDownload();
    UpdateDownload(const UpdateDownload &) = delete;
    UpdateDownload &operator=(const UpdateDownload &) = delete;

    // The file name from the download address (an invalid address gives the invalid-source
    // message) and the target path in `folder`.
    void chooseTarget(const QString &folder);
    const QString &fileName() const { return m_fileName; }
    const QString &targetPath() const { return m_targetPath; }

    // The expected size: for a URL, creates the target file and asks with a HEAD (0 when it
    // fails, kUnannouncedDownloadSize when no length is announced); for a share path, the
    // source's size. `status` is told "Getting file information", then what the transfer
    // will show. Throws a ComponentError when the target file cannot be created.
    qint64 expectedSize(const std::function<void(const QString &)> &status);

    // The "Failed: " line of a HEAD that failed (expectedSize gave 0), or "".
    const QString &headFailure() const { return m_headFailure; }

    // The transfer into the target. On a failed GET, `failure` receives the "Failed: " line.
    bool transfer(QString *failure);

    // Whether the file matches the published checksums ("The downloaded file is corrupted."
    // otherwise).
    bool verify() const;

    // Deletes the target file if this download made it; keep() marks it as the result.
    void discard();
    void keep() { m_kept = true; }

private:
    UpdateDescription m_description;
    THashType m_hashType;
    UpdateFetcher &m_fetcher;
    QString m_fileName;
    QString m_targetPath;
    QString m_headFailure;
    bool m_created = false;
    bool m_kept = false;
};

inline const char *const kDownloadCorruptedMessage = "The downloaded file is corrupted.";
