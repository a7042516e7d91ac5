#include "app/OptionsStartup.h"

#include "app/WingbookUnit1.h"
#include "components/ui/LumAppUpdate.h"
#include "model/LogDocument.h"
#include "options/ui/WingbookUnit2.h"

TForm2 *CreateOptionsDialog(TForm1 &form, const QStringList &arguments)
{
    auto *options = new TForm2(form.LumRegistryEnhanced1, &form);
    options->setCommonDefFilesPath(form.CommonDefFilesPath);
    options->setRecentLists(&form.Document().OpenRecent, &form.ImportRecent);
    // Applying the options gives the update check its proxy.
    TLumAppUpdate *update = form.LumAppUpdate1;
    options->setProxyReceiver([update](const QString &address, const QString &port) {
        update->ProxyAddress = address;
        update->ProxyPort = port;
    });
    // The dialog's controls are the options from now on, whatever the loading gives.
    form.setOptions(options);
    form.setCommandHandler(MainCommand::Options, [options] { options->Execute(); });
    if (options->FormCreate())
        form.openStartupFile(arguments);
    return options;
}
