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
        m_path = createUniqueTempFile(QStringLiteral("AU"), &error);
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
    const FetchResult result = fetcher.fetch(source, file.path());
    if (result.requestFailed)
        readme = result.failureLine();
    return result.ok;
}

} // namespace

QString updateCheckMessageText(UpdateCheckMessage message)
{
    switch (message) {
    case UpdateCheckMessage::NoNewVersions:
        return QStringLiteral("There are no new versions available.");
    case UpdateCheckMessage::NoAdvertisedVersions:
        return QStringLiteral("There are no advertised versions available.\n"
                              "Do you want to open the update web page?");
    case UpdateCheckMessage::None:
        break;
    }
    return QString();
}

UpdateCheckResult runUpdateCheck(const UpdateCheckRequest &request, UpdateFetcher &fetcher)
{
    UpdateCheckResult result;
    fetcher.setMaximumSize(kUpdateTextMaximumSize);
    if (!request.UpdateFileURL.isEmpty()) {
        const TempFile description;
        if (fetchInto(fetcher, request.UpdateFileURL, description, result.readme) &&
            QFile::exists(description.path()))
            result.fields = readUpdateSection(description.path(), request.programSection);
        if (result.fields.UpdatePageURL.isEmpty())
            result.fields.UpdatePageURL = request.UpdatePageURL;
    }
    if (!result.fields.ReadmeFileURL.isEmpty()) {
        const TempFile notes;
        if (fetchInto(fetcher, result.fields.ReadmeFileURL, notes, result.readme)) {
            const TextFileContent text = ReadTextFile(notes.path());
            if (text.ok)
                result.readme = text.lines.join(u'\n');
        }
    }
    result.downloadEnabled = !result.fields.DownloadFileURL.isEmpty();
    result.newer = isNewerVersion(request.Version, result.fields.Version);
    if (!result.newer) {
        const bool published = !result.fields.Version.isEmpty();
        result.message = published || result.fields.UpdatePageURL.isEmpty()
                             ? UpdateCheckMessage::NoNewVersions
                             : UpdateCheckMessage::NoAdvertisedVersions;
    }
    return result;
}
