#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

// Small text services shared by the importers, exporters, dialogs and status bar.
// None of them fails: a text that does not fit the expected shape comes back unchanged
// or in a predictable, partly converted form. Positions count characters.

// The part of text before the first occurrence of sub (found without regard to letter case);
// all of text when sub does not occur. An empty sub never occurs.
QString TextBefore(const QString &sub, const QString &text);
// The part of text after the first occurrence of sub (found without regard to letter case);
// empty when sub does not occur. An empty sub never occurs.
QString TextAfter(const QString &sub, const QString &text);
// The characters between the first open and the first close after it; empty when either is missing.
QString TextBetween(const QString &text, QChar open, QChar close);
// Removes one pair of matching outer double quotes or apostrophes.
QString TrimQuotes(const QString &text);
QStringView TrimQuotes(QStringView text);
// A double quote, text, a double quote; inner quotes are left as they are.
QString QuoteText(const QString &text);
// Puts ch in front of text up to length characters; a longer text is never cut.
QString PadLeft(const QString &text, qsizetype length, QChar ch);
// The number of occurrences of ch in text.
qsizetype CountChar(const QString &text, QChar ch);
// Every occurrence of find replaced, without regard to letter case, left to right without
// re-scanning replaced text. An empty find changes nothing.
QString ReplaceEvery(const QString &text, const QString &find, const QString &replacement);

// Turns a day-month-year or month-day-year date (3/4/2021, 03-04-21) into yyyy-mm-dd; any text
// not read as such a date comes back unchanged. The order follows the system default locale's
// short date pattern: month first only when it is exactly "mm/dd/yyyy" (any letter case).
QString NormalizeDate(const QString &text);
// The same with a given short date pattern in d/m/y form (for example "dd/mm/yyyy").
QString NormalizeDate(const QString &text, const QString &systemShortDatePattern);

// The system default locale's short date pattern in d/m/y form, read once from the C library's
// date format of the LC_TIME locale that the environment names (LC_ALL, LC_TIME, LANG).
QString SystemDefaultShortDatePattern();
// Forgets the pattern read by SystemDefaultShortDatePattern, so the next call reads it again.
void ResetSystemDefaultShortDatePattern();
// Turns a C library date format ("%m/%d/%Y", "%d.%m.%Y", "%D") into d/m/y form ("mm/dd/yyyy"):
// the fields joined by "/", whatever separated them.
QString ShortDatePatternFromCFormat(const QString &cFormat);

// Turns 12-hour and 24-hour times (9:05 AM, 1:30pm, 14h30) into hh:nn in 24-hour form.
QString NormalizeTime(const QString &text);

// "0" for 0; otherwise n with its digits grouped by three with the locale's group separator.
QString FormatCount(qint64 n, const QLocale &locale = QLocale::system());
