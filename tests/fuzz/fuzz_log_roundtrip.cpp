// Read, save, read: a log that was read saves, and the saved file reads back as the same
// tables and preferred values.
#include "FuzzSupport.h"

#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

namespace
{

QString describeDifference(LogDocument &first, LogDocument &second)
{
    const QList<LogTable *> a = first.tables();
    const QList<LogTable *> b = second.tables();
    for (qsizetype t = 0; t < a.size(); ++t) {
        if (a[t]->count() != b[t]->count())
            return QStringLiteral("table %1: %2 rows, then %3")
                .arg(t)
                .arg(a[t]->count())
                .arg(b[t]->count());
        for (int r = 0; r < a[t]->count(); ++r) {
            for (int c = 0; c < a[t]->columnTotal(); ++c) {
                if (a[t]->cell(r, c) != b[t]->cell(r, c))
                    return QStringLiteral("table %1 row %2 column %3: \"%4\", then \"%5\"")
                        .arg(t)
                        .arg(r)
                        .arg(c)
                        .arg(a[t]->cell(r, c), b[t]->cell(r, c));
            }
            if (a[t]->hasUsage() && a[t]->referenceCount(r) != b[t]->referenceCount(r))
                return QStringLiteral("table %1 row %2: reference count changed").arg(t).arg(r);
        }
    }
    const QStringList before{first.PreferredAirline, first.PreferredFromAirport,
                             first.PreferredToAirport, first.HomeCountry};
    const QStringList after{second.PreferredAirline, second.PreferredFromAirport,
                            second.PreferredToAirport, second.HomeCountry};
    if (before != after)
        return QStringLiteral("preferred values: %1, then %2")
            .arg(before.join(u'|'), after.join(u'|'));
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::clearFolder();
    const QString original = Fuzz::writeFile(QStringLiteral("log.xml"), Fuzz::bytesOf(data, size));
    OptionSet options;
    LogFileHost host;
    LogDocument first;
    if (!OpenXMLFile(first, original, options, host).ok)
        return 0;

    const QString saved = Fuzz::folder() + QStringLiteral("/saved.xml");
    const LogFileResult save = SaveXMLFile(first, saved, options, host);
    Fuzz::check(save.ok, "a log that was read can be saved", save.error);

    LogDocument second;
    const LogFileResult reread = OpenXMLFile(second, saved, options, host);
    Fuzz::check(reread.ok, "a saved log reads back", reread.error);
    const QString difference = describeDifference(first, second);
    Fuzz::check(difference.isEmpty(), "a saved log reads back as the same tables", difference);
    return 0;
}
