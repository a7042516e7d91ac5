#include "cli/CliUpdateCheck.h"

#include "components/AboutText.h"
#include "components/ComponentError.h"
#include "components/LumRegistryEnhanced.h"
#include "components/MakerInfo.h"
#include "components/UpdateFetcher.h"
#include "options/ProxySettings.h"
#include "options/StoredOptions.h"

#include <memory>

namespace
{

const QString kUpdateUrl = QStringLiteral("update-url");
const QString kRunningVersion = QStringLiteral("running-version");

// The window program's section of the description file: the program installed under its
// own name reads [Wingbook], whatever this command-line program is called.
const QString kProgramSection = QStringLiteral("Wingbook");

// The proxy the options give the update check: the stored one when "Use proxy server for web
// update" is on (the system's proxy standing in for values never stored), else none.
void applyStoredProxy(UpdateFetcher &fetcher)
{
    const std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
    const ProtocolProxy system = SystemProxyFor(QStringLiteral("http"));
    const bool use =
        StoredBool(store->GetValueDefault(QStringLiteral("Options\\UseProxyServer"), system.inUse),
                   system.inUse);
    if (!use)
        return;
    fetcher.setProxy(
        store->GetValueDefault(QStringLiteral("Options\\ProxyAddress"), system.host).toString(),
        store->GetValueDefault(QStringLiteral("Options\\ProxyPort"), QString::number(system.port))
            .toString());
}

} // namespace

QList<CliOption> cliUpdateCheckOptions()
{
    return {{kUpdateUrl,
             QStringLiteral("read the update description file at URL (an http or https address, "
                            "or a \\\\host\\share path) instead of the maker's"),
             QStringLiteral("URL")},
            {kRunningVersion,
             QStringLiteral("compare with V instead of this program's version (such as 1.00.17)"),
             QStringLiteral("V")}};
}

void reportInvalidSources(CliContext &ctx, UpdateFetcher &fetcher)
{
    auto told = std::make_shared<QStringList>();
    fetcher.onInvalidSource = [&ctx, told](const QString &message) {
        if (told->contains(message))
            return;
        told->append(message);
        ctx.notice(message);
    };
}

bool runCliUpdateCheck(CliContext &ctx, UpdateFetcher &fetcher, CliUpdateCheck &check)
{
    UpdateCheckRequest request;
    request.UpdateFileURL = ctx.isSet(kUpdateUrl) ? ctx.value(kUpdateUrl) : makerUpdateFileUrl();
    request.UpdatePageURL = makerUpdatePageUrl();
    check.runningVersion =
        ctx.isSet(kRunningVersion) ? ctx.value(kRunningVersion) : ExtractVersion(false);
    request.Version = check.runningVersion;
    request.programSection = kProgramSection;
    applyStoredProxy(fetcher);
    reportInvalidSources(ctx, fetcher);
    try {
        check.result = runUpdateCheck(request, fetcher);
    } catch (const ComponentError &e) {
        ctx.fail(e.message());
        return false;
    }
    return true;
}
