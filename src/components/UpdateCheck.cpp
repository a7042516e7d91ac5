#include "components/UpdateCheck.h"

#include "components/ComponentError.h"
#include "components/TextFileReader.h"
#include "components/UpdateFetcher.h"
#include "platform/TempFiles.h"

#include <QFile>

namespace
{

// A temporary file that is deleted when the step that needed it ends, however it ends.
class TempFile
{
public:
    TempFile()
    {
        QString error;
        m_path = CreateUniqueTempFile(QStringLiteral("AU"), &error);
        if (m_path.isEmpty())
            throw ComponentError(error);
    }
    ~TempFile() { QFile::remove(m_path); }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    const QString &path() const { return m_path; }

private:
    QString m_path;
};

// Fetches a source into a new temporary file; a failed request leaves its line in the
// release-notes text.
bool fetchInto(UpdateFetcher &fetcher, const QString &source, const TempFile &file, QString &readme)
{
    const TFetchResult result = fetcher.fetch(source, file.path());
    if (result.requestFailed)
        readme = result.failureLine();
    return result.ok;
}

} // namespace

QString UpdateCheckMessageText(TUpdateCheckMessage message)
{
    switch (message) {
    case TUpdateCheckMessage::NoNewVersions:
        return QStringLiteral("There are no new versions available.");
    case TUpdateCheckMessage::NoAdvertisedVersions:
        return QStringLiteral("There are no advertised versions available.\n"
                              "Do you want to open the update web page?");
    case TUpdateCheckMessage::None:
        break;
    }
    return QString();
}

TUpdateCheckResult RunUpdateCheck(const TUpdateCheckRequest &request, UpdateFetcher &fetcher)
{
    TUpdateCheckResult result;
    fetcher.setMaximumSize(kUpdateTextMaximumSize);
    if (!request.UpdateFileURL.isEmpty()) {
        const TempFile description;
        if (fetchInto(fetcher, request.UpdateFileURL, description, result.Readme) &&
            QFile::exists(description.path()))
            result.Fields = ReadUpdateSection(description.path(), request.ProgramSection);
        if (result.Fields.UpdatePageURL.isEmpty())
            result.Fields.UpdatePageURL = request.UpdatePageURL;
    }
    if (!result.Fields.ReadmeFileURL.isEmpty()) {
        const TempFile notes;
        if (fetchInto(fetcher, result.Fields.ReadmeFileURL, notes, result.Readme)) {
            const TextFileContent text = ReadTextFile(notes.path());
            if (text.ok)
                result.Readme = text.lines.join(u'\n');
        }
    }
    result.DownloadEnabled = !result.Fields.DownloadFileURL.isEmpty();
    result.Newer = IsNewerVersion(request.Version, result.Fields.Version);
    if (!result.Newer) {
        const bool published = !result.Fields.Version.isEmpty();
        result.Message = published || result.Fields.UpdatePageURL.isEmpty()
                             ? TUpdateCheckMessage::NoNewVersions
                             : TUpdateCheckMessage::NoAdvertisedVersions;
    }
    return result;
}
