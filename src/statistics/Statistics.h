#pragma once

#include "exchange/ExportFile.h"
#include "model/LogTable.h"
#include "model/RegionalSettings.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class LogDocument;

// One figure of the statistics: its title (without the window's " :") and its text.
struct StatisticsFigure {
    QString title;
    QString value;
};

// The three ranking lists, in the order of the window's tab pages.
enum class RankingKind { Airlines, Airports, Distances };

// The statistics of a log: totals and averages over the flights, the first and last flight,
// and for every airline, airport and distance row how many flights name it (its reference
// count, as loading and editing left it) and what share of all flights that is. Every figure
// is text, as the statistics window shows it; decimals are always written with ".", counts
// grouped with the user's thousands separator.
class StatisticsReport
{
public:
    StatisticsReport();

    // Replaces every figure and ranking with those of the log at the given moment (the
    // statistics window passes the current local date and time). The log is not changed.
    void compute(const LogDocument &document, const QDateTime &now,
                 const RegionalSettings &regional = RegionalSettings::system());

    // Until the first computation the figures have their titles and empty values.
    // "Total number of flights", "Total number of miles", "Average number of miles per
    // flight", "Average number of flights per year", "... per month", "... per week".
    const QList<StatisticsFigure> &flightFigures() const { return m_flightFigures; }
    // "Start date time", "End date time".
    const QList<StatisticsFigure> &dateTimeFigures() const { return m_dateTimeFigures; }

    // Rankings: one row per reference row (code or From and To, "Flights", "% Flights"),
    // sorted by "Flights", descending; rows with equal counts keep their table order.
    LogTable &ranking(RankingKind kind);
    const LogTable &ranking(RankingKind kind) const;
    // The ranking's row count followed by " airline(s)", " airport(s)" or " distance(s)".
    QString countText(RankingKind kind) const;

    // The figures behind the texts, for checks and benchmarks.
    qint64 totalMiles() const { return m_totalMiles; }
    // The period in whole years, months and weeks (365.25, 30.4375 and 7 days).
    qint64 periodYears() const { return m_years; }
    qint64 periodMonths() const { return m_months; }
    qint64 periodWeeks() const { return m_weeks; }

private:
    void computePeriod(const LogDocument &document, const QDateTime &now,
                       const RegionalSettings &regional, qint64 flights);

    QList<StatisticsFigure> m_flightFigures;
    QList<StatisticsFigure> m_dateTimeFigures;
    qint64 m_totalMiles = 0;
    qint64 m_years = 0;
    qint64 m_months = 0;
    qint64 m_weeks = 0;
    LogTable m_airlines;
    LogTable m_airports;
    LogTable m_distances;
};

// numerator / denominator in fixed notation with two decimals and "." as decimal point, a half
// rounded away from zero. The denominator must not be 0; |numerator| stays below 2^56.
QString FixedTwoDecimals(qint64 numerator, qint64 denominator);

// The lines of a ranking list's export: the header of its column captions, then one line per
// row, these ordered as texts without regard to letter case under the user's collation (so by
// the first column's codes, not by count). Every value quoted, joined with ",".
QStringList RankingExportLines(const LogTable &ranking,
                               const RegionalSettings &regional = RegionalSettings::system());
// Writes a ranking list as a CSV export file (backup and writing as every export file).
// Nothing is written, and nothing is returned, when the name's extension is not exactly ".csv".
std::optional<ExportWriteResult>
ExportLumListView(const LogTable &ranking, const QString &FileName,
                  const RegionalSettings &regional = RegionalSettings::system());
