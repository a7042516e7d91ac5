#pragma once

#include "exchange/ImportHost.h"
#include "exchange/ImportResult.h"

#include <QList>
#include <QStringList>

class LogDocument;
class LogTable;

// Whether each table had no rows when the import started: an empty table gets every line
// appended, without lookups, so duplicates within the file are kept.
struct TablesAtStart {
    bool flightsEmpty = false;
    bool airlinesEmpty = false;
    bool airportsEmpty = false;
    bool distancesEmpty = false;
};

// The frame that every import runs in: the file check, the recent list, the busy pointer and
// disabled toolbar, the status text, the Import dialog's memory, the lines read whole, the
// progress bar, the frozen tables and Processing; at the end the same things undone in order.
// The end steps also run when the import leaves early (an unreadable file, an error thrown).
class ImportRun
{
public:
    ImportRun(LogDocument &document, ImportHost &host, const QString &fileName);
    ~ImportRun();
    ImportRun(const ImportRun &) = delete;
    ImportRun &operator=(const ImportRun &) = delete;

    // Checks, announces and reads the file. False when there is nothing to import: the file
    // does not exist (nothing happened at all) or could not be read (the error is in the result).
    bool open();
    // The file's lines; lineViews() shows the same lines without a string for each.
    const QStringList &lines() const;
    const QList<QStringView> &lineViews() const { return m_lineViews; }

    // Freezes these tables for display, takes the was-empty flags and sets Processing.
    void freeze(const QList<LogTable *> &tables);
    const TablesAtStart &atStart() const { return m_atStart; }

    // Before each line: lets window events run, then false when the user asked to stop;
    // otherwise the progress bar advances.
    bool nextLine();

    // The rows are in place: the frozen tables signal their new contents (before the sorts).
    void releaseTables();
    // The end steps: lines discarded, views repainted, progress full, Processing off, the log
    // marked modified when rows were read, the status bar, toolbar and pointer back.
    ImportResult finish(const ImportCounters &counters);

private:
    LogDocument &m_document;
    ImportHost &m_host;
    QString m_fileName;
    QString m_text;
    QList<QStringView> m_lineViews; // into m_text
    mutable QStringList m_lines;    // made when asked for
    mutable bool m_linesMade = false;
    QList<LogTable *> m_frozen;
    TablesAtStart m_atStart;
    ImportResult m_result;
    bool m_busy = false;
    bool m_repaintSuspended = false;
    bool m_processing = false;
};
