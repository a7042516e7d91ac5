// The log reader on any bytes: it reads a log or says why not, and what it read is consistent.
#include "FuzzSupport.h"

#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeFile(QStringLiteral("log.xml"), Fuzz::bytesOf(data, size));
    LogDocument document;
    OptionSet options;
    LogFileHost host;
    const LogFileResult result = OpenXMLFile(document, path, options, host);
    if (!result.ok) {
        Fuzz::check(!result.error.isEmpty(), "a failed read says why");
        return 0;
    }
    for (LogTable *table : document.tables()) {
        Fuzz::check(table->rowCount() == table->count(), "the model shows every row");
        for (int r = 0; r < table->count(); ++r) {
            for (int c = 0; c < table->columnTotal(); ++c)
                (void)table->cell(r, c);
            if (table->hasUsage())
                Fuzz::check(table->referenceCount(r) >= 0, "reference counts are not negative");
        }
    }
    (void)document.countsText();
    return 0;
}
