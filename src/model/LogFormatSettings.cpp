#include "model/LogFormatSettings.h"

#include <QStringList>

#include <algorithm>

namespace
{

// A Qt date/time pattern from a log pattern: letters of fields map through `fieldLetter`, the
// separator placeholder ("/" for dates, ":" for times) becomes the separator, anything else is
// kept as a quoted literal.
QString qtPattern(const QString &pattern, QChar placeholder, QChar separator,
                  QChar (*fieldLetter)(QChar))
{
    QString result;
    for (const QChar ch : pattern) {
        const QChar field = fieldLetter(ch);
        if (!field.isNull())
            result += field;
        else if (ch == placeholder)
            result += QLatin1Char('\'') + QString(separator) + QLatin1Char('\'');
        else if (ch == QLatin1Char('\''))
            result += QStringLiteral("''");
        else
            result += QLatin1Char('\'') + QString(ch) + QLatin1Char('\'');
    }
    return result;
}

QChar dateLetter(QChar ch)
{
    switch (ch.toLower().unicode()) {
    case 'y':
        return QLatin1Char('y');
    case 'm':
        return QLatin1Char('M');
    case 'd':
        return QLatin1Char('d');
    default:
        return QChar();
    }
}

QChar timeLetter(QChar ch)
{
    switch (ch.toLower().unicode()) {
    case 'h':
        return QLatin1Char('H');
    case 'n':
        return QLatin1Char('m');
    case 's':
        return QLatin1Char('s');
    default:
        return QChar();
    }
}

// Splits a trimmed text at the separator into two or three whole numbers; false when a piece
// is empty, has other characters than digits or more digits than allowed.
bool numberFields(const QString &text, QChar separator, int minFields, int maxFields, int maxDigits,
                  QList<int> &fields)
{
    const QStringList pieces = text.trimmed().split(separator);
    if (pieces.size() < minFields || pieces.size() > maxFields)
        return false;
    fields.clear();
    for (const QString &piece : pieces) {
        if (piece.isEmpty() || piece.size() > maxDigits)
            return false;
        for (const QChar ch : piece) {
            if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
                return false;
        }
        fields.append(piece.toInt());
    }
    return true;
}

} // namespace

LogFormatSettings LogFormatSettings::fromLocale(const QLocale &locale)
{
    LogFormatSettings settings;
    settings.DecimalSeparator = locale.decimalPoint();
    return settings;
}

const LogFormatSettings &LogFormatSettings::standard()
{
    static const LogFormatSettings settings = fromLocale(QLocale::system());
    return settings;
}

QString LogFormatSettings::formatDate(const QDate &date) const
{
    return date.toString(qtPattern(ShortDateFormat, QLatin1Char('/'), DateSeparator, dateLetter));
}

QString LogFormatSettings::formatTime(const QTime &time) const
{
    return time.toString(qtPattern(LongTimeFormat, QLatin1Char(':'), TimeSeparator, timeLetter));
}

std::optional<QDate> LogFormatSettings::parseDate(const QString &text) const
{
    // The order of the fields is that of the short date format.
    const QString lower = ShortDateFormat.toLower();
    QList<std::pair<qsizetype, char>> order{{lower.indexOf(QLatin1Char('y')), 'y'},
                                            {lower.indexOf(QLatin1Char('m')), 'm'},
                                            {lower.indexOf(QLatin1Char('d')), 'd'}};
    std::sort(order.begin(), order.end());
    QList<int> fields;
    if (!numberFields(text, DateSeparator, 3, 3, 4, fields))
        return std::nullopt;
    const QStringList pieces = text.trimmed().split(DateSeparator);
    int year = 0, month = 0, day = 0;
    for (int i = 0; i < 3; ++i) {
        // A year is written with four digits: 23 is taken neither for 2023 nor for year 23.
        const bool isYear = order[i].second == 'y';
        if (isYear ? pieces[i].size() != 4 : pieces[i].size() > 2)
            return std::nullopt;
        if (isYear)
            year = fields[i];
        else if (order[i].second == 'm')
            month = fields[i];
        else
            day = fields[i];
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> LogFormatSettings::parseTime(const QString &text) const
{
    QList<int> fields;
    if (!numberFields(text, TimeSeparator, 2, 3, 2, fields))
        return std::nullopt;
    const QTime time(fields[0], fields[1], fields.value(2, 0));
    if (!time.isValid())
        return std::nullopt;
    return time;
}
