#pragma once

#include "model/LogTable.h"
#include "model/RecentFileList.h"

#include <QObject>
#include <QString>

class WingbookOptions;

// The log: its four tables, the values kept beside them, the document's file names and the
// modified state.
class LogDocument : public QObject
{
    Q_OBJECT

public:
    explicit LogDocument(QObject *parent = nullptr);

    LogTable Flights{TableKind::Flights};
    LogTable Airlines{TableKind::Airlines};
    LogTable Airports{TableKind::Airports};
    LogTable Distances{TableKind::Distances};

    LogTable &table(TableKind kind);
    // The four tables in their fixed order.
    QList<LogTable *> tables();

    // Defaults of the record dialogs, chosen when a log file is read.
    QString PreferredAirline;
    QString PreferredFromAirport;
    QString PreferredToAirport;
    QString HomeCountry = QStringLiteral("United States");

    QString DocumentFileName;
    QString SaveFileName;

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    int totalRows() const;
    bool isEmpty() const { return totalRows() == 0; }
    // Empties all four tables, destroying the usage objects, and gives them a fresh text pool.
    void clearTables();
    // Gives the four tables (which must be empty) one fresh text pool.
    void renewTextPool();

    // Named sorts: the orders the options ask for after reading and editing.
    void SortFlights();
    void SortAirlines();
    void SortAirports();
    void SortDistances();
    // The sorts that follow reading a log file or an import, as the options say.
    void sortAsOptionsSay(const WingbookOptions &options);

    // Sets every ReferenceCount to 0, then counts every flight once.
    void countReferences();
    // Raises (delta +1) or lowers (-1) the counts of the rows a flight names.
    void adjustReferencesOfFlight(int flightRow, qint32 delta);
    void adjustReferences(const QString &from, const QString &to, const QString &airline,
                          qint32 delta);
    // Picks the preferred airline, airports and home country from the counts; values that
    // no row beats stay as they were.
    void choosePreferredValues();

    // Replaces, in every cell of the four tables, each character that a log file cannot
    // carry by a blank. Returns the number of cells changed.
    int makeCellsStorable();

    // "n flight(s) - n airline(s) - n airport(s) - n distance(s)" with grouped counts.
    QString countsText(const QLocale &locale = QLocale::system()) const;

    // The Open recent-file list (log files read and written).
    RecentFileList OpenRecent;

signals:
    void modifiedChanged(bool modified);

private:
    bool m_modified = false;
};
