#include "model/RegionalSettings.h"

namespace
{

bool isFieldLetter(QChar c)
{
    return c.isLetter();
}

// The first separator that stands between two fields of a date or time pattern.
QChar separatorOf(const QString &pattern, QChar fallback)
{
    bool seenField = false;
    for (QChar c : pattern) {
        if (isFieldLetter(c)) {
            seenField = true;
        } else if (seenField && c != QLatin1Char(' ') && c != QLatin1Char('\'')) {
            return c;
        }
    }
    return fallback;
}

RegionalSettings::DateOrder orderOf(const QString &pattern)
{
    const qsizetype d = pattern.indexOf(QLatin1Char('d'));
    const qsizetype m = pattern.indexOf(QLatin1Char('M'));
    const qsizetype y = pattern.indexOf(QLatin1Char('y'));
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m))
        return RegionalSettings::DateOrder::YearMonthDay;
    if (d >= 0 && m >= 0 && d < m)
        return RegionalSettings::DateOrder::DayMonthYear;
    return RegionalSettings::DateOrder::MonthDayYear;
}

} // namespace

RegionalSettings RegionalSettings::fromLocale(const QLocale &locale)
{
    RegionalSettings s;
    s.locale = locale;
    const QString datePattern = locale.dateFormat(QLocale::ShortFormat);
    s.dateSeparator = separatorOf(datePattern, QLatin1Char('/'));
    s.dateOrder = orderOf(datePattern);
    s.timeSeparator = separatorOf(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    s.decimalSeparator = locale.decimalPoint();
    s.thousandsSeparator = locale.groupSeparator();
    if (!locale.amText().isEmpty())
        s.amText = locale.amText();
    if (!locale.pmText().isEmpty())
        s.pmText = locale.pmText();
    return s;
}

const RegionalSettings &RegionalSettings::system()
{
    static const RegionalSettings settings = fromLocale(QLocale::system());
    return settings;
}
