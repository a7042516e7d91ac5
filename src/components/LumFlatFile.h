#pragma once

#include <QChar>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class TLumBreakApart;

// One entry of a reference table: a key and the value that belongs to it.
struct TFlatFileData {
    QString Value;     // the key, never empty
    QString ValueData; // may be empty
};

// A table of key/value pairs read from a text file, one pair a line ("code TAB name"). Lines
// starting with "#" are comments. Keys keep file order and are neither sorted nor made unique;
// a lookup by key returns the first entry that carries it.
class TLumFlatFile : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(QString Separator READ Separator WRITE setSeparator)
    Q_PROPERTY(QChar Wildcard READ Wildcard WRITE setWildcard)
    Q_PROPERTY(int Count READ Count)
    Q_PROPERTY(QStringList StringList READ StringList)
    Q_PROPERTY(QStringList SearchResults READ SearchResults)

public:
    explicit TLumFlatFile(QObject *parent = nullptr);

    const QString &FileName() const { return m_fileName; }
    void setFileName(const QString &value) { m_fileName = value; }

    // Text between key and value on a line; one TAB unless changed.
    const QString &Separator() const { return m_separator; }
    void setSeparator(const QString &value) { m_separator = value; }

    // Stands for any character in a stored key, for GetValueDataWildcard.
    QChar Wildcard() const { return m_wildcard; }
    void setWildcard(QChar value) { m_wildcard = value; }

    // Number of entries; -1 until the first Initialize.
    int Count() const { return m_initialized ? int(m_entries.size()) : -1; }
    // The keys, in entry order.
    const QStringList &StringList() const { return m_stringList; }
    // Outcome of the last SearchValue or SearchValueData.
    const QStringList &SearchResults() const { return m_searchResults; }
    // Positions of the entries found by the last search, parallel to SearchResults (a key may
    // stand on several entries, so a result alone does not tell which entry matched).
    const QList<int> &SearchResultIndexes() const { return m_searchResultIndexes; }
    // How the last search ended: every entry was decided, the pattern is not a valid regular
    // expression, or the pattern needed more work than the search allows ("The pattern is too
    // complex."). The last two leave SearchResults empty and SearchError says why.
    enum TSearchStatus { ssDone, ssInvalidPattern, ssTooComplex };
    TSearchStatus SearchStatus() const { return m_searchStatus; }
    // Why the last search found nothing to report; empty when it ended normally.
    const QString &SearchError() const { return m_searchError; }

    // Why the last Initialize or Persist failed; empty after success. A missing file is not a
    // failure (the table is then empty), an unreadable one is.
    const QString &LastError() const { return m_lastError; }

    // (Re)loads the entries from FileName. Returns false when the file exists but cannot be
    // read; the table is then empty and LastError names the file.
    bool Initialize();

    // Value of the first entry whose key equals AValue exactly; empty when none.
    QString GetValueData(const QString &AValue) const;
    // Key of the first entry whose value equals AValueData, else of the first whose value
    // contains it; empty when none.
    QString GetValue(const QString &AValueData) const;
    QString GetValueByIndex(int Index) const;
    QString GetValueDataByIndex(int Index) const;
    // Value of the first entry whose key has the length of AValue and matches it character by
    // character, a Wildcard in the stored key matching any character.
    QString GetValueDataWildcard(const QString &AValue) const;

    // Perl-compatible regular-expression search over the keys (values), unanchored, caseless
    // unless CaseSensitive. Fills SearchResults with the values (keys) of the matching entries
    // and returns their number; an invalid or too complex pattern finds nothing (see
    // SearchStatus). The whole search has one bounded budget of matching work.
    int SearchValue(const QString &AValue, bool CaseSensitive);
    int SearchValueData(const QString &AValueData, bool CaseSensitive);

    // Adds an entry in memory, or replaces the value of the first entry with key AValue when
    // AllowOverride. False when AValue is empty or the key exists and may not be overridden.
    bool AddVolatileData(const QString &AValue, const QString &AValueData, bool AllowOverride);

    // Writes one line per entry (key, Separator, value) to FileName, replacing the file, as
    // UTF-8. Nothing happens when FileName is empty or the table is empty. Returns false, with
    // LastError set, when the file cannot be written.
    bool Persist();

private:
    void clearEntries();
    void appendEntry(const QString &key, const QString &value);
    bool parseLine(TLumBreakApart &splitter, const QString &line, QString &key,
                   QString &value) const;
    int search(const QString &pattern, bool caseSensitive, bool overKeys);

    QString m_fileName;
    QString m_separator = QStringLiteral("\t");
    QChar m_wildcard = u'*';
    bool m_initialized = false;
    QList<TFlatFileData> m_entries;
    QStringList m_stringList;
    QStringList m_searchResults;
    QList<int> m_searchResultIndexes;
    QString m_searchError;
    TSearchStatus m_searchStatus = ssDone;
    QString m_lastError;
    // Key -> position of the first entry with that key. Lookups by key run once per imported
    // flight, so they must not scan the table; the first-entry rule is kept by never
    // overwriting a key once present.
    QHash<QString, qsizetype> m_firstEntryOfKey;
};
