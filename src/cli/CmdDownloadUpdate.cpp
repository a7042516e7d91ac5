// download-update: the update check, then the download as the notification window's Download
// button makes it (the size, the transfer, the checksum), without opening the file.
#include "cli/CliUpdateCheck.h"
#include "components/ComponentError.h"
#include "components/UpdateDownload.h"
#include "components/UpdateFetcher.h"

#include <QDir>

int downloadUpdateCommand(CliContext &ctx)
{
    UpdateFetcher fetcher;
    CliUpdateCheck check;
    if (!runCliUpdateCheck(ctx, fetcher, check))
        return 1;
    const UpdateCheckResult &r = check.result;
    if (!r.newer)
        return ctx.fail(updateCheckMessageText(r.message));
    if (!r.downloadEnabled)
        return ctx.fail(QStringLiteral("The update description names no file to download."));

    // The limit of the description and the notes is not one of the installer.
    fetcher.setMaximumSize(0);
    // Deletes what it made unless keep() is called.
    UpdateDownload download(r.fields, htNone, fetcher);
    const QString to = ctx.value(QStringLiteral("to"));
    download.chooseTarget(ctx.isSet(QStringLiteral("to")) ? QDir::cleanPath(to)
                                                          : downloadTargetFolder());
    const QString &address = r.fields.DownloadFileURL;
    const SourceKind kind = classifySource(address);
    try {
        if (download.expectedSize([](const QString &) {}) == 0) {
            if (!download.headFailure().isEmpty())
                return ctx.fail(download.headFailure());
            if (kind == SourceKind::Invalid)
                return 1; // the invalid-source message has been written
            return ctx.fail(QStringLiteral("\"%1\" cannot be read.").arg(address));
        }
        QString failure;
        if (!download.transfer(&failure))
            return ctx.fail(failure.isEmpty()
                                ? QStringLiteral("\"%1\" cannot be read.").arg(address)
                                : failure);
    } catch (const ComponentError &e) {
        return ctx.fail(e.message());
    }
    if (!download.verify())
        return ctx.fail(QLatin1String(kDownloadCorruptedMessage));
    download.keep();
    ctx.out << QDir::toNativeSeparators(download.targetPath()) << '\n';
    return 0;
}
