// A reference file and its searches on any bytes. The first byte chooses the search (bit 0
// case-sensitive, bit 1 over the keys), the text up to the first line break is the pattern and
// the rest is the file.
#include "FuzzSupport.h"

#include "components/AirportDefValue.h"
#include "components/LumFlatFile.h"

#include <QElapsedTimer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const bool caseSensitive = data[0] & 1;
    const bool overKeys = data[0] & 2;
    const QByteArray rest = Fuzz::bytesOf(data + 1, size - 1);
    const qsizetype lineEnd = rest.indexOf('\n');
    const QString pattern = QString::fromUtf8(lineEnd < 0 ? QByteArray() : rest.left(lineEnd));
    const QByteArray content = lineEnd < 0 ? rest : rest.mid(lineEnd + 1);

    TLumFlatFile table;
    table.setFileName(Fuzz::writeFile(QStringLiteral("Airports.def"), content));
    Fuzz::check(table.Initialize(), "a file that exists is read", table.LastError());
    Fuzz::check(table.Count() == table.StringList().size(), "one key per entry");
    for (int i = 0; i < table.Count(); ++i) {
        const QString key = table.GetValueByIndex(i);
        const QString value = table.GetValueDataByIndex(i);
        Fuzz::check(!key.isEmpty(), "no entry has an empty key");
        const int first = int(table.StringList().indexOf(key));
        Fuzz::check(table.GetValueData(key) == table.GetValueDataByIndex(first),
                    "a lookup returns the first entry of its key");
        (void)ExtractAirportNameDEF(value);
        (void)ExtractAirportCityDEF(value);
        (void)ExtractAirportCountryDEF(value);
        (void)table.GetValueDataWildcard(key);
    }

    QElapsedTimer timer;
    timer.start();
    const int found = overKeys ? table.SearchValue(pattern, caseSensitive)
                               : table.SearchValueData(pattern, caseSensitive);
    Fuzz::check(found == table.SearchResults().size() &&
                    found == table.SearchResultIndexes().size(),
                "a search counts what it found");
    Fuzz::check(table.SearchStatus() == TLumFlatFile::ssDone || found == 0,
                "a search that gave up reports no results");
    Fuzz::check(table.SearchStatus() == TLumFlatFile::ssDone || !table.SearchError().isEmpty(),
                "a search that gave up says why");
    for (qsizetype i = 1; i < table.SearchResultIndexes().size(); ++i)
        Fuzz::check(table.SearchResultIndexes().at(i - 1) < table.SearchResultIndexes().at(i),
                    "results come in entry order");
    return 0;
}
