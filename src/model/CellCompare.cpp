#include "model/CellCompare.h"

#include <QDate>
#include <QStringList>
#include <cmath>

namespace
{

constexpr qsizetype kMaxDateTimeLength = 22;
constexpr qsizetype kMaxDateLength = 10;
constexpr qsizetype kMaxTimeLength = 11;

// Day 0 of the date values, the base date that the value zero stands for.
const QDate kBaseDate(1899, 12, 30);

std::optional<int> readDigits(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

std::optional<double> readDate(QStringView text, const RegionalSettings &regional)
{
    const QList<QStringView> parts = text.split(regional.dateSeparator);
    if (parts.size() != 3)
        return std::nullopt;
    std::optional<int> fields[3];
    for (int i = 0; i < 3; ++i) {
        fields[i] = readDigits(parts[i]);
        if (!fields[i])
            return std::nullopt;
    }
    int year = 0, month = 0, day = 0;
    qsizetype yearDigits = 0;
    switch (regional.dateOrder) {
    case RegionalSettings::DateOrder::MonthDayYear:
        month = *fields[0], day = *fields[1], year = *fields[2];
        yearDigits = parts[2].trimmed().size();
        break;
    case RegionalSettings::DateOrder::DayMonthYear:
        day = *fields[0], month = *fields[1], year = *fields[2];
        yearDigits = parts[2].trimmed().size();
        break;
    case RegionalSettings::DateOrder::YearMonthDay:
        year = *fields[0], month = *fields[1], day = *fields[2];
        yearDigits = parts[0].trimmed().size();
        break;
    }
    if (yearDigits <= 2)
        year += year < 50 ? 2000 : 1900;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return double(kBaseDate.daysTo(date));
}

std::optional<double> readTime(QStringView text, const RegionalSettings &regional)
{
    text = text.trimmed();
    int hourShift = -1; // -1: 24-hour clock; 0: am; 12: pm
    const auto stripSuffix = [&](const QString &marker, int shift) {
        if (!marker.isEmpty() && text.endsWith(marker, Qt::CaseInsensitive)) {
            text = text.chopped(marker.size()).trimmed();
            hourShift = shift;
            return true;
        }
        return false;
    };
    if (!stripSuffix(regional.amText, 0) && !stripSuffix(regional.pmText, 12) &&
        !stripSuffix(QStringLiteral("AM"), 0))
        stripSuffix(QStringLiteral("PM"), 12);

    const QList<QStringView> parts = text.split(regional.timeSeparator);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    std::optional<int> fields[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        fields[i] = readDigits(parts[i]);
        if (!fields[i])
            return std::nullopt;
    }
    int hour = *fields[0];
    const int minute = *fields[1];
    const int second = *fields[2];
    if (hourShift >= 0) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + hourShift;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return (hour * 3600 + minute * 60 + second) / 86400.0;
}

// Reads a number with "." as decimal point: optional leading blanks, optional sign, digits
// with an optional fraction, optional exponent, and nothing after.
std::optional<double> readPlainNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    const auto isDigit = [&](qsizetype k) {
        return k < n && text[k].isDigit() && text[k].unicode() < 128;
    };
    qsizetype digits = 0;
    while (isDigit(i))
        ++i, ++digits;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (isDigit(i))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (!isDigit(j))
            return std::nullopt;
        while (isDigit(j))
            ++j;
        i = j;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double value = QStringView(text).mid(start).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

CellSortKey::Dotted readDotted(const QString &text, qint64 &value)
{
    if (text.size() < 7 || text.size() > 15 || text.count(QLatin1Char('.')) != 3)
        return CellSortKey::Dotted::No;
    for (QChar c : text) {
        if (c != QLatin1Char('.') && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return CellSortKey::Dotted::No;
    }
    const QStringList groups = text.split(QLatin1Char('.'));
    qint64 total = 0;
    for (int i = 0; i < 4; ++i) {
        if (groups[i].isEmpty())
            return CellSortKey::Dotted::Broken;
        const qint64 group = groups[i].toLongLong();
        if (i < 3 && group > 255)
            return CellSortKey::Dotted::No;
        total = total * 1000 + group;
    }
    if (total <= 0)
        return CellSortKey::Dotted::No;
    value = total;
    return CellSortKey::Dotted::Yes;
}

template <typename T> int compareValues(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

std::optional<double> ReadCellDateTime(const QString &text, const RegionalSettings &regional)
{
    const qsizetype dateSeparators = text.count(regional.dateSeparator);
    const qsizetype timeSeparators = text.count(regional.timeSeparator);
    std::optional<double> value;
    if (dateSeparators == 2 && (timeSeparators == 1 || timeSeparators == 2) &&
        text.size() <= kMaxDateTimeLength) {
        const QString trimmed = text.trimmed();
        const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
        if (blank > 0) {
            const auto date = readDate(QStringView(trimmed).left(blank), regional);
            const auto time = readTime(QStringView(trimmed).mid(blank + 1), regional);
            if (date && time)
                value = *date + *time;
        }
    } else if (dateSeparators == 2 && text.size() <= kMaxDateLength) {
        value = readDate(text, regional);
    } else if ((timeSeparators == 1 || timeSeparators == 2) && text.size() <= kMaxTimeLength) {
        value = readTime(text, regional);
    }
    if (value && *value == 0.0)
        return std::nullopt;
    return value;
}

std::optional<double> ReadCellNumber(const QString &text, const RegionalSettings &regional)
{
    if (text.isEmpty())
        return std::nullopt;
    if (auto value = readPlainNumber(text))
        return value;
    QString regionalText = text;
    if (!regional.thousandsSeparator.isEmpty())
        regionalText.remove(regional.thousandsSeparator);
    if (!regional.decimalSeparator.isEmpty() && regional.decimalSeparator != QLatin1String("."))
        regionalText.replace(regional.decimalSeparator, QLatin1String("."));
    if (regionalText == text)
        return std::nullopt;
    return readPlainNumber(regionalText);
}

CellSortKey CellSortKey::of(const QString &text, const RegionalSettings &regional)
{
    CellSortKey key;
    key.dateTime = ReadCellDateTime(text, regional);
    key.number = ReadCellNumber(text, regional);
    key.dotted = readDotted(text, key.dottedValue);
    return key;
}

int CompareCellKeys(const QString &a, const CellSortKey &ka, const QString &b,
                    const CellSortKey &kb, const QCollator &collator)
{
    if (ka.dateTime && kb.dateTime)
        return compareValues(*ka.dateTime, *kb.dateTime);
    if (ka.number && kb.number)
        return compareValues(*ka.number, *kb.number);
    // A broken dotted text (an empty group) fails the comparison, and a failed comparison
    // counts as equal.
    using Dotted = CellSortKey::Dotted;
    if (ka.dotted == Dotted::Broken || kb.dotted == Dotted::Broken)
        return 0;
    if (ka.dotted == Dotted::Yes && kb.dotted == Dotted::Yes)
        return compareValues(ka.dottedValue, kb.dottedValue);
    // Case is folded before collation: the collator alone still orders "abc" and "ABC".
    if (!ka.collationKey)
        ka.collationKey = collator.sortKey(a.toCaseFolded());
    if (!kb.collationKey)
        kb.collationKey = collator.sortKey(b.toCaseFolded());
    return ka.collationKey->compare(*kb.collationKey);
}

QCollator MakeCellCollator(const RegionalSettings &regional)
{
    QCollator collator(regional.locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

int CompareCellTexts(const QString &a, const QString &b, const RegionalSettings &regional)
{
    const CellSortKey ka = CellSortKey::of(a, regional);
    const CellSortKey kb = CellSortKey::of(b, regional);
    return CompareCellKeys(a, ka, b, kb, MakeCellCollator(regional));
}
