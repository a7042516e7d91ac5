#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <optional>

// The program's own date and time format, used for every conversion between a flight's date or
// time and its cell text: dates as yyyy-mm-dd, times as hh:nn on the 24-hour clock. The patterns
// use the log's letters (m month, n minute); the other fields start as the regional settings'.
struct LogFormatSettings {
    QChar DateSeparator = QLatin1Char('-');
    QChar TimeSeparator = QLatin1Char(':');
    QString ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    QString LongTimeFormat = QStringLiteral("hh:nn");
    QString ThousandSeparator = QStringLiteral(" ");
    QString DecimalSeparator = QStringLiteral(".");

    // The settings of the log, with the decimal separator of the given regional settings.
    static LogFormatSettings fromLocale(const QLocale &locale);
    // The settings set up once from the system's regional settings.
    static const LogFormatSettings &standard();

    QString formatDate(const QDate &date) const;
    QString formatTime(const QTime &time) const;
    // The date of a cell written in the short date format (month and day may have one digit,
    // blanks around the text are ignored); nothing when the text is no such date.
    std::optional<QDate> parseDate(const QString &text) const;
    // The time of a cell written as hours, separator, minutes (optionally a third field of
    // seconds); nothing when the text is no such time.
    std::optional<QTime> parseTime(const QString &text) const;
};
