#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

// The user's regional settings as the table views use them: sorting reads dates, times and
// numbers with these, and counts are grouped with the thousands separator. Built from a locale
// so that every locale-dependent rule can be tested under a chosen one.
struct RegionalSettings {
    enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

    QLocale locale = QLocale::c();
    QChar dateSeparator = QLatin1Char('/');
    QChar timeSeparator = QLatin1Char(':');
    DateOrder dateOrder = DateOrder::MonthDayYear;
    QString decimalSeparator = QStringLiteral(".");
    QString thousandsSeparator = QStringLiteral(",");
    QString amText = QStringLiteral("AM");
    QString pmText = QStringLiteral("PM");

    static RegionalSettings fromLocale(const QLocale &locale);
    // The process's regional settings (QLocale::system()), read once.
    static const RegionalSettings &system();
};
