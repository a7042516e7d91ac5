// check-update: the update check of Help, Check for Updates..., printed instead of shown.
#include "cli/CliUpdateCheck.h"
#include "components/UpdateFetcher.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace
{

QJsonObject checkToJson(const CliUpdateCheck &check)
{
    const UpdateCheckResult &r = check.result;
    return QJsonObject{
        {QStringLiteral("Newer"), r.newer},
        {QStringLiteral("RunningVersion"), check.runningVersion},
        {QStringLiteral("Version"), r.fields.Version},
        {QStringLiteral("DownloadFileURL"), r.fields.DownloadFileURL},
        {QStringLiteral("ReadmeFileURL"), r.fields.ReadmeFileURL},
        {QStringLiteral("UpdatePageURL"), r.fields.UpdatePageURL},
        {QStringLiteral("MD5Hash"), r.fields.MD5Hash},
        {QStringLiteral("SHA1Hash"), r.fields.SHA1Hash},
        {QStringLiteral("SHA256Hash"), r.fields.SHA256Hash},
        {QStringLiteral("Readme"), r.readme},
        {QStringLiteral("Message"), updateCheckMessageText(r.message)},
    };
}

// What the notification window shows, or the message of a check that found nothing newer.
void printCheck(QTextStream &out, const CliUpdateCheck &check)
{
    const UpdateCheckResult &r = check.result;
    if (!r.newer) {
        out << updateCheckMessageText(r.message) << '\n';
        return;
    }
    out << "New Version Available: " << r.fields.Version << " (running " << check.runningVersion
        << ")\n";
    if (r.downloadEnabled)
        out << "Download: " << r.fields.DownloadFileURL << '\n';
    if (!r.fields.UpdatePageURL.isEmpty())
        out << "Web page: " << r.fields.UpdatePageURL << '\n';
    if (!r.readme.isEmpty())
        out << '\n' << r.readme << '\n';
}

} // namespace

int checkUpdateCommand(CliContext &ctx)
{
    UpdateFetcher fetcher;
    CliUpdateCheck check;
    if (!runCliUpdateCheck(ctx, fetcher, check))
        return 1;
    if (ctx.isSet(QStringLiteral("json")))
        ctx.out << QJsonDocument(checkToJson(check)).toJson(QJsonDocument::Indented);
    else
        printCheck(ctx.out, check);
    return 0;
}
