#include "exchange/Importers.h"

#include "exchange/PeerCsvFormat.h"
#include "exchange/PeerImport.h"

#include <QFileInfo>

ImportKind ImportKindOf(const QString &fileName, Qt::CaseSensitivity sensitivity)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return ImportKind::None;
    const QStringView extension = QStringView(name).sliced(dot);
    if (extension.compare(QLatin1String(".csv"), sensitivity) == 0)
        return ImportKind::Csv;
    if (extension.compare(QLatin1String(".txt"), sensitivity) == 0)
        return ImportKind::Txt;
    if (extension.compare(QLatin1String(".def"), sensitivity) == 0)
        return ImportKind::Def;
    return ImportKind::None;
}

ImportResult ImportFile(ImportKind kind, LogDocument &document, const QString &fileName,
                        const ReferenceFiles &files, const WingbookOptions &options,
                        ImportHost &host)
{
    switch (kind) {
    case ImportKind::Csv:
        // The exports of the web logbooks are told by their header line.
        if (IsPeerCsvFile(fileName))
            return ImportFromPeerCSVFile(document, fileName, files, options, host).result;
        return ImportFromCSVFile(document, fileName, files, options, host);
    case ImportKind::Txt:
        return ImportFromTXTFile(document, fileName, options, host);
    case ImportKind::Def:
        return ImportFromDEFFile(document, fileName, options, host);
    case ImportKind::None:
        break;
    }
    return ImportResult();
}
