#include "statistics/Statistics.h"

#include "components/TextHelpers.h"
#include "exchange/TableExport.h"
#include "model/CellCompare.h"
#include "model/LogDocument.h"
#include "model/LogFormatSettings.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <vector>

namespace
{

constexpr qint64 kMsPerDay = 86'400'000;
constexpr qint64 kMsPerYear = 31'557'600'000; // 365.25 days
constexpr qint64 kMsPerMonth = 2'629'800'000; // 30.4375 days
constexpr qint64 kMsPerWeek = 604'800'000;

const QDate kZeroDate(1899, 12, 30); // the date-time zero point: no flight yet

enum FlightColumn { FlightDate, FlightTime };

QString notAvailable()
{
    return QStringLiteral("n/a");
}

QList<LogColumn> rankingColumns(RankingKind kind)
{
    const LogColumn flights{QStringLiteral("Flights"), 80};
    const LogColumn share{QStringLiteral("% Flights"), 80};
    switch (kind) {
    case RankingKind::Airlines:
        return {{QStringLiteral("Airline"), 100}, flights, share};
    case RankingKind::Airports:
        return {{QStringLiteral("Airport"), 100}, flights, share};
    case RankingKind::Distances:
        break;
    }
    return {{QStringLiteral("From"), 100}, {QStringLiteral("To"), 100}, flights, share};
}

// A moment as milliseconds since the start of the Julian day count: every date the log can
// hold gives a positive number, and differences are exact.
qint64 instantOf(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * kMsPerDay + time.msecsSinceStartOfDay();
}

QString instantText(qint64 instant, QChar timeSeparator)
{
    const QDate date = QDate::fromJulianDay(instant / kMsPerDay);
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(instant % kMsPerDay));
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH")) + timeSeparator +
           time.toString(QStringLiteral("mm"));
}

qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

// A number read from each distinct text of a pool once, kept by the text's id: dates, times
// and miles repeat across a log. Texts that do not read as a number give nothing.
class ValuesById
{
public:
    explicit ValuesById(const TextPool &pool) : m_pool(pool) {}

    // read(text) gives the number, or nothing when the text does not read as one.
    template <typename Read> std::optional<qint64> of(TextPool::Id id, Read read)
    {
        if (id >= m_values.size())
            m_values.resize(std::max<size_t>(m_pool.size(), size_t(id) + 1), kNotRead);
        qint64 &value = m_values[id];
        if (value == kNotRead)
            value = read(m_pool.text(id)).value_or(kUnreadable);
        if (value == kUnreadable)
            return std::nullopt;
        return value;
    }

private:
    static constexpr qint64 kNotRead = std::numeric_limits<qint64>::min();
    static constexpr qint64 kUnreadable = kNotRead + 1;

    const TextPool &m_pool;
    std::vector<qint64> m_values;
};

// Reads each flight's date and time with the log's format, each distinct text once.
class FlightMoments
{
public:
    explicit FlightMoments(const TextPool &pool) : m_days(pool), m_times(pool) {}

    // The flight's moment; a date without time is taken at midnight. Nothing when the date, or
    // a time that is not empty, cannot be read.
    std::optional<qint64> of(TextPool::Id date, TextPool::Id time)
    {
        const std::optional<qint64> day =
            m_days.of(date, [this](const QString &text) -> std::optional<qint64> {
                const std::optional<QDate> d = m_format.parseDate(text);
                return d ? std::optional(instantOf(*d, QTime(0, 0))) : std::nullopt;
            });
        if (!day || time == TextPool::kEmpty)
            return day;
        const std::optional<qint64> ms =
            m_times.of(time, [this](const QString &text) -> std::optional<qint64> {
                const std::optional<QTime> t = m_format.parseTime(text);
                return t ? std::optional<qint64>(t->msecsSinceStartOfDay()) : std::nullopt;
            });
        if (!ms)
            return std::nullopt;
        return *day + *ms;
    }

private:
    const LogFormatSettings &m_format = LogFormatSettings::standard();
    ValuesById m_days;  // by the id of a date text
    ValuesById m_times; // by the id of a time text
};

// The ranking of one reference table: its key cells, its count and the count's share of all
// flights, sorted by count, largest first (stable, as the table view sorts). The rows are built
// from ids: each distinct key text of the source and each distinct count is put into the
// ranking's pool once, however many rows share it.
void fillRanking(LogTable &ranking, const LogTable &source, int keyColumns, qint64 flights,
                 const RegionalSettings &regional)
{
    using Id = TextPool::Id;
    constexpr Id kNoId = std::numeric_limits<Id>::max();
    ranking.clear();
    TextPool &pool = ranking.textPool();
    const TextPool &sourcePool = source.textPool();
    std::vector<Id> keyIds(sourcePool.size(), kNoId); // source id -> ranking id
    QHash<qint32, std::pair<Id, Id>> countIds;        // count -> ids of its count and share
    const int rows = source.count();
    ranking.reserveRows(rows);
    ranking.beginBulkLoad();
    std::vector<Id> ids(size_t(keyColumns) + 2);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < keyColumns; ++c) {
            const Id sourceId = source.cellId(r, c);
            Id &id = keyIds[sourceId];
            if (id == kNoId)
                id = pool.internUtf8(sourcePool.utf8(sourceId));
            ids[size_t(c)] = id;
        }
        const qint32 count = source.referenceCount(r);
        auto known = countIds.constFind(count);
        if (known == countIds.constEnd()) {
            const QString share =
                flights == 0 ? notAvailable() : FixedTwoDecimals(qint64(count) * 100, flights);
            known =
                countIds.insert(count, {pool.intern(QString::number(count)), pool.intern(share)});
        }
        ids[size_t(keyColumns)] = known->first;
        ids[size_t(keyColumns) + 1] = known->second;
        ranking.appendRowIds(ids.data());
    }
    ranking.endBulkLoad();
    ranking.Sort(keyColumns, false, regional);
}

// The sum of miles times count over the Distances rows. Miles that are not a whole number
// (32-bit) are left out; the sum stops at the 64-bit limit instead of wrapping. Each distinct
// text of the column is read once, by its id.
qint64 totalMilesOf(const LogTable &distances)
{
    constexpr int kMilesColumn = 2;
    ValuesById milesOf(distances.textPool());
    const auto &ids = distances.columnIds(kMilesColumn);
    qint64 total = 0;
    for (int r = 0; r < distances.count(); ++r) {
        const std::optional<qint64> miles =
            milesOf.of(ids[size_t(r)], [](const QString &text) -> std::optional<qint64> {
                bool ok = false;
                const qint32 value = text.toInt(&ok);
                return ok ? std::optional<qint64>(value) : std::nullopt;
            });
        if (miles)
            total = saturatingAdd(total, *miles * distances.referenceCount(r));
    }
    return total;
}

} // namespace

QString FixedTwoDecimals(qint64 numerator, qint64 denominator)
{
    const bool negative = numerator != 0 && (numerator < 0) != (denominator < 0);
    const quint64 num = (numerator < 0 ? 0 - quint64(numerator) : quint64(numerator)) * 100;
    const quint64 den = denominator < 0 ? 0 - quint64(denominator) : quint64(denominator);
    quint64 hundredths = num / den;
    if ((num % den) * 2 >= den)
        ++hundredths;
    const QString text = QString::number(hundredths / 100) + QLatin1Char('.') +
                         QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    return negative && hundredths != 0 ? QLatin1Char('-') + text : text;
}

StatisticsReport::StatisticsReport()
    : m_flightFigures{{QStringLiteral("Total number of flights"), {}},
                      {QStringLiteral("Total number of miles"), {}},
                      {QStringLiteral("Average number of miles per flight"), {}},
                      {QStringLiteral("Average number of flights per year"), {}},
                      {QStringLiteral("Average number of flights per month"), {}},
                      {QStringLiteral("Average number of flights per week"), {}}},
      m_dateTimeFigures{{QStringLiteral("Start date time"), {}},
                        {QStringLiteral("End date time"), {}}},
      m_airlines(rankingColumns(RankingKind::Airlines)),
      m_airports(rankingColumns(RankingKind::Airports)),
      m_distances(rankingColumns(RankingKind::Distances))
{
}

LogTable &StatisticsReport::ranking(RankingKind kind)
{
    switch (kind) {
    case RankingKind::Airlines:
        return m_airlines;
    case RankingKind::Airports:
        return m_airports;
    case RankingKind::Distances:
        break;
    }
    return m_distances;
}

const LogTable &StatisticsReport::ranking(RankingKind kind) const
{
    return const_cast<StatisticsReport *>(this)->ranking(kind);
}

QString StatisticsReport::countText(RankingKind kind) const
{
    const char *noun = kind == RankingKind::Airlines   ? " airline(s)"
                       : kind == RankingKind::Airports ? " airport(s)"
                                                       : " distance(s)";
    return QString::number(ranking(kind).count()) + QLatin1String(noun);
}

void StatisticsReport::compute(const LogDocument &document, const QDateTime &now,
                               const RegionalSettings &regional)
{
    const qint64 flights = document.Flights.count();
    m_totalMiles = totalMilesOf(document.Distances);
    fillRanking(m_airlines, document.Airlines, 1, flights, regional);
    fillRanking(m_airports, document.Airports, 1, flights, regional);
    fillRanking(m_distances, document.Distances, 2, flights, regional);
    computePeriod(document, now, regional, flights);

    const auto perPeriod = [flights](qint64 periods) {
        return periods < 1 ? notAvailable() : FixedTwoDecimals(flights, periods);
    };
    const QString values[] = {
        FormatCount(flights, regional.locale),
        FormatCount(m_totalMiles, regional.locale),
        flights == 0 ? notAvailable() : FormatCount(m_totalMiles / flights, regional.locale),
        perPeriod(m_years),
        perPeriod(m_months),
        perPeriod(m_weeks),
    };
    for (qsizetype i = 0; i < m_flightFigures.size(); ++i)
        m_flightFigures[i].value = values[i];
}

void StatisticsReport::computePeriod(const LogDocument &document, const QDateTime &now,
                                     const RegionalSettings &regional, qint64 flights)
{
    // The period runs from the earliest flight, or the starting moment when that is earlier,
    // to the latest flight, or the zero point when there is none.
    const qint64 start = instantOf(now.date(), now.time());
    qint64 first = start;
    qint64 last = instantOf(kZeroDate, QTime(0, 0));
    bool firstFound = false;
    bool lastFound = false;
    const LogTable &table = document.Flights;
    FlightMoments moments(table.textPool());
    const auto &dates = table.columnIds(FlightDate);
    const auto &times = table.columnIds(FlightTime);
    for (int r = 0; r < flights; ++r) {
        const std::optional<qint64> moment = moments.of(dates[size_t(r)], times[size_t(r)]);
        if (!moment)
            continue;
        if (*moment < first) {
            first = *moment;
            firstFound = true;
        }
        if (*moment > last) {
            last = *moment;
            lastFound = true;
        }
    }
    const qint64 span = first > last ? first - last : last - first;
    m_years = span / kMsPerYear;
    m_months = span / kMsPerMonth;
    m_weeks = span / kMsPerWeek;

    const bool known = firstFound && lastFound;
    m_dateTimeFigures[0].value =
        known ? instantText(first, regional.timeSeparator) : notAvailable();
    m_dateTimeFigures[1].value = known ? instantText(last, regional.timeSeparator) : notAvailable();
}

QStringList RankingExportLines(const LogTable &ranking, const RegionalSettings &regional)
{
    QStringList lines;
    lines.reserve(ranking.count() + 1);
    for (int r = 0; r < ranking.count(); ++r) {
        QStringList values;
        for (int c = 0; c < ranking.columnTotal(); ++c)
            values.append(ranking.cell(r, c));
        lines.append(CsvLine(values));
    }
    const QCollator collator = MakeCellCollator(regional);
    std::stable_sort(lines.begin(), lines.end(), [&collator](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });
    lines.prepend(CsvHeaderLine(ranking));
    return lines;
}

std::optional<ExportWriteResult> ExportLumListView(const LogTable &ranking, const QString &FileName,
                                                   const RegionalSettings &regional)
{
    if (ExportFormatOf(FileName) != ExportFormat::CSV)
        return std::nullopt;
    ExportLines lines;
    for (const QString &line : RankingExportLines(ranking, regional))
        lines.append(line);
    return WriteExportFile(FileName, lines);
}
