#include "components/UpdateDownload.h"

#include "components/ComponentError.h"
#include "components/UpdateFetcher.h"
#include "platform/SpecialFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

bool isHttpAddress(const QString &address)
{
    if (classifySource(address) != SourceKind::Url)
        return false;
    const QString lower = address.toLower();
    return lower.startsWith(QLatin1String("http://")) ||
           lower.startsWith(QLatin1String("https://"));
}

const QString &publishedHash(const UpdateDescription &d, THashType kind)
{
    static const QString none;
    switch (kind) {
    case htMD5:
        return d.MD5Hash;
    case htSHA1:
        return d.SHA1Hash;
    case htSHA256:
        return d.SHA256Hash;
    case htNone:
        break;
    }
    return none;
}

} // namespace

QString downloadFileName(const QString &address, bool *valid)
{
    if (valid)
        *valid = true;
    if (classifySource(address) == SourceKind::NetworkShare)
        return address.mid(address.lastIndexOf(u'\\') + 1);
    if (isHttpAddress(address))
        return address.mid(address.lastIndexOf(u'/') + 1);
    if (valid)
        *valid = false;
    return QString();
}

QString downloadTargetFolder()
{
    const QString local = LocalAppDataFolder();
    const QString data = CommonAppDataFolder();
    QStringList candidates;
    if (!local.isEmpty())
        candidates << local + QStringLiteral("/Downloaded Installations")
                   << local + QStringLiteral("/Temp");
    if (!data.isEmpty())
        candidates << data + QStringLiteral("/Downloaded Installations");
    for (const QString &folder : candidates) {
        if (QFileInfo(folder).isDir())
            return folder;
    }
    // "" when even the temporary folder does not exist: the target then cannot be created.
    return TempFolder();
}

QString fileDigest(const QString &fileName, THashType kind)
{
    QCryptographicHash::Algorithm algorithm = QCryptographicHash::Sha256;
    switch (kind) {
    case htMD5:
        algorithm = QCryptographicHash::Md5;
        break;
    case htSHA1:
        algorithm = QCryptographicHash::Sha1;
        break;
    case htSHA256:
        break;
    case htNone:
        return QString();
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(algorithm);
    if (!hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

QList<THashType> checksumsToVerify(const UpdateDescription &description, THashType hashType)
{
    QList<THashType> kinds;
    for (THashType kind : {htSHA256, htSHA1, htMD5}) {
        if (!publishedHash(description, kind).isEmpty()) {
            kinds << kind;
            break;
        }
    }
    if (hashType != htNone && !kinds.contains(hashType))
        kinds << hashType;
    return kinds;
}

UpdateDownload::UpdateDownload(const UpdateDescription &description, THashType hashType,
                               UpdateFetcher &fetcher)
    : m_description(description), m_hashType(hashType), m_fetcher(fetcher)
{
}

UpdateDownload::~UpdateDownload()
{
    if (!m_kept)
        discard();
}

void UpdateDownload::chooseTarget(const QString &folder)
{
    const QString &address = m_description.DownloadFileURL;
    bool valid = false;
    m_fileName = downloadFileName(address, &valid);
    if (!valid && m_fetcher.onInvalidSource)
        m_fetcher.onInvalidSource(invalidSourceMessage(address));
    if (folder.isEmpty())
        m_targetPath.clear();
    else if (m_fileName.isEmpty())
        m_targetPath = folder + u'/';
    else
        m_targetPath = QDir(folder).filePath(m_fileName);
}

qint64 UpdateDownload::expectedSize(const std::function<void(const QString &)> &status)
{
    const QString &address = m_description.DownloadFileURL;
    if (isHttpAddress(address)) {
        QFile target(m_targetPath);
        if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw ComponentError(
                QStringLiteral("Cannot create file \"%1\". %2")
                    .arg(QDir::toNativeSeparators(m_targetPath), target.errorString()));
        m_created = true;
        target.close();
        status(QStringLiteral("Getting file information"));
        const HttpResult head = m_fetcher.head(address);
        qint64 size = 0;
        if (head.ok) {
            size = head.contentLength < 0 ? kUnannouncedDownloadSize : head.contentLength;
        } else {
            m_headFailure = requestFailureLine(head);
        }
        if (m_fetcher.proxyAddress().isEmpty())
            status(QStringLiteral("Downloading file"));
        else
            status(QStringLiteral("Downloading file using proxy server (%1:%2)")
                       .arg(m_fetcher.proxyAddress(), m_fetcher.proxyPort()));
        return size;
    }
    if (classifySource(address) == SourceKind::NetworkShare) {
        status(QStringLiteral("Downloading file"));
        const QFileInfo source(sharePathOnThisSystem(address));
        return source.isFile() ? source.size() : 0;
    }
    if (m_fetcher.onInvalidSource)
        m_fetcher.onInvalidSource(invalidSourceMessage(address));
    return 0;
}

bool UpdateDownload::transfer(QString *failure)
{
    const FetchResult result = m_fetcher.fetch(m_description.DownloadFileURL, m_targetPath);
    // A share copy makes the target only when it succeeds (it cleans up after itself).
    m_created = m_created || result.ok;
    if (result.requestFailed && failure)
        *failure = result.failureLine();
    return result.ok;
}

bool UpdateDownload::verify() const
{
    for (THashType kind : checksumsToVerify(m_description, m_hashType)) {
        const QString digest = fileDigest(m_targetPath, kind);
        if (digest.isEmpty() || digest != publishedHash(m_description, kind).toLower())
            return false;
    }
    return true;
}

void UpdateDownload::discard()
{
    if (m_created && !m_kept) {
        QFile::remove(m_targetPath);
        m_created = false;
    }
}
