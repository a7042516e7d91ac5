#pragma once

#include "exchange/ImportHost.h"
#include "exchange/ImportResult.h"

#include <QList>
#include <QString>

class LogDocument;
class WingbookOptions;
struct ReferenceFiles;

// What an import of a peer export did, line by line: the end message is made from it.
struct PeerImportSummary {
    // The skipped lines listed in the message; the others are only counted.
    static constexpr int kListedSkips = 10;

    struct SkippedLine {
        int line = 0; // where the record starts in the file, from 1
        QString reason;
    };

    int imported = 0;
    int alreadyInLog = 0;
    int skipped = 0;
    QList<SkippedLine> listed; // the first kListedSkips skipped lines
    bool stopped = false;

    void skip(int line, const QString &reason);
    // "N flight(s) imported, M already in the log, K line(s) skipped", then one line per
    // listed skip ("line 7: date not readable ("2019")").
    QString text() const;
};

struct PeerImportResult {
    ImportResult result;
    PeerImportSummary summary;
};

// Imports the flights of an OpenFlights or myFlightradar24 export (PeerCsvFormat.h), one
// flight per record. Each flight takes its airports, airline and distance as a flight added in
// the flight dialog does (automatic filling as the options say); an airline name that the file
// gives fills the Name of an airline row that has none, a distance it gives the Miles of a
// Distances row still at 0. A flight with the same Date, Time, From, To, Airline and Flight as
// one in the log is not added again. Records that give no flight are skipped and counted, and
// at the end the host shows the summary. Progress, the stop question, the recent list and the
// modified state are as in the CSV import.
PeerImportResult ImportFromPeerCSVFile(LogDocument &document, const QString &FileName,
                                       const ReferenceFiles &files, const WingbookOptions &options,
                                       ImportHost &host);
