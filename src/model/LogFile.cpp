#include "model/LogFile.h"

#include "model/LogDocument.h"
#include "model/LogFileHost.h"
#include "model/LogFileReader.h"
#include "model/LogFileWriter.h"
#include "options/WingbookOptions.h"
#include "platform/ReplacingFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace
{

constexpr qint64 kMaxLogFileSize = qint64(1) << 30; // 1 GiB

// Keeps the views still while rows are appended, and always lets them go again.
class BulkLoad
{
public:
    BulkLoad(LogDocument &document, LogFileHost &host) : m_document(document), m_host(host)
    {
        m_host.suspendRepaint();
        m_document.clearTables();
        for (LogTable *t : m_document.tables())
            t->beginBulkLoad();
    }
    ~BulkLoad()
    {
        for (LogTable *t : m_document.tables())
            t->endBulkLoad();
        m_host.resumeRepaint();
    }

private:
    LogDocument &m_document;
    LogFileHost &m_host;
};

class BusyState
{
public:
    BusyState(LogFileHost &host, bool disableToolbar) : m_host(host)
    {
        m_host.beginBusy(disableToolbar);
    }
    ~BusyState() { m_host.endBusy(); }

private:
    LogFileHost &m_host;
};

// Copies every byte of one open file into another, in the system where it can
// (copy_file_range), else through a buffer.
bool copyContents(int from, ReplacingFile &to)
{
    for (;;) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to.handle(), nullptr, 1 << 30, 0);
        if (copied == 0)
            return true;
        if (copied > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return false;
        break;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!to.write(buffer.data(), got))
            return false;
    }
}

} // namespace

QString BackupFileName(const QString &fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return fileName + QStringLiteral(".~");
    return fileName.left(dot) + QStringLiteral(".~") + fileName.mid(dot + 1);
}

bool MakeBackupCopy(const QString &fileName)
{
    QFile source(fileName);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    // The copy takes the place of the old backup in one step: a copy that fails or is killed
    // half way leaves the old backup.
    ReplacingFile backup(BackupFileName(fileName));
    if (!backup.open())
        return false;
    if (!copyContents(source.handle(), backup)) {
        backup.cancel();
        return false;
    }
    return backup.commit();
}

LogFileResult OpenXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host)
{
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists() || info.isDir())
        return {};

    BusyState busy(host, true);
    if (info.isFile())
        document.OpenRecent.AddToRecentMenu(fileName, options.RecentlyUsedFileList());
    document.DocumentFileName = fileName;
    document.SaveFileName = fileName;
    host.setOpenDialogFolder(info.absolutePath());
    host.setStatusText(QStringLiteral("Opening ") + fileName);

    {
        BulkLoad load(document, host);
        if (info.size() > kMaxLogFileSize)
            return {
                false,
                QStringLiteral("Cannot open \"%1\": the file is larger than 1 GB").arg(fileName),
                {}};
        const QString error = ReadLogRecords(fileName, document, host);
        if (!error.isEmpty())
            return {false, error, {}};
    }

    document.sortAsOptionsSay(options);
    document.countReferences();
    document.choosePreferredValues();
    host.fillProgress();
    host.updateStatusBar();
    return {};
}

LogFileResult SaveXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host)
{
    BusyState busy(host, false);
    host.setProgressRange(document.totalRows());
    host.setProgressPosition(0);
    host.setStatusText(QStringLiteral("Saving ") + fileName);
    document.OpenRecent.AddToRecentMenu(fileName, options.RecentlyUsedFileList());

    // What XML cannot carry never reaches a cell through the tables' setters; a cell that
    // holds it all the same is mended here, so that the saved log can always be read again.
    const int mended = document.makeCellsStorable();

    // A failed backup does not stop the save.
    if (QFileInfo::exists(fileName))
        MakeBackupCopy(fileName);
    const QString error = WriteLogFile(document, fileName, host);
    host.updateStatusBar();
    if (!error.isEmpty())
        return {false, error, {}};
    document.setModified(false);
    LogFileResult result;
    if (mended > 0)
        result.notice = QStringLiteral("%1 cell(s) held characters that a log file cannot carry; "
                                       "each of those characters was saved as a blank.")
                            .arg(mended);
    return result;
}
