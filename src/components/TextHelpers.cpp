#include "components/TextHelpers.h"

#include "components/LumBreakApart.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include <langinfo.h>
#include <locale.h>

#include <optional>

QString TextBefore(const QString &sub, const QString &text)
{
    const qsizetype at = sub.isEmpty() ? -1 : text.indexOf(sub, 0, Qt::CaseInsensitive);
    return at < 0 ? text : text.left(at);
}

QString TextAfter(const QString &sub, const QString &text)
{
    const qsizetype at = sub.isEmpty() ? -1 : text.indexOf(sub, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : text.mid(at + sub.size());
}

QString TextBetween(const QString &text, QChar open, QChar close)
{
    const qsizetype openAt = text.indexOf(open);
    if (openAt < 0)
        return QString();
    const qsizetype closeAt = text.indexOf(close, openAt + 1);
    if (closeAt < 0)
        return QString();
    return text.mid(openAt + 1, closeAt - openAt - 1);
}

QString TrimQuotes(const QString &text)
{
    const QStringView trimmed = TrimQuotes(QStringView(text));
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

QStringView TrimQuotes(QStringView text)
{
    if (text.size() < 2)
        return text;
    const QChar first = text.front();
    if (first != text.back() || (first != u'"' && first != u'\''))
        return text;
    return text.sliced(1, text.size() - 2);
}

QString QuoteText(const QString &text)
{
    return u'"' + text + u'"';
}

QString PadLeft(const QString &text, qsizetype length, QChar ch)
{
    if (text.size() >= length)
        return text;
    return QString(length - text.size(), ch) + text;
}

qsizetype CountChar(const QString &text, QChar ch)
{
    return text.count(ch);
}

QString ReplaceEvery(const QString &text, const QString &find, const QString &replacement)
{
    // An empty find would match between every two characters; there is nothing to replace.
    if (find.isEmpty())
        return text;
    QString result = text;
    result.replace(find, replacement, Qt::CaseInsensitive);
    return result;
}

namespace
{

bool isAsciiDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

QString NormalizeDate(const QString &text)
{
    return NormalizeDate(text, SystemDefaultShortDatePattern());
}

QString NormalizeDate(const QString &text, const QString &systemShortDatePattern)
{
    QString dashed = text;
    dashed.replace(u'/', u'-');

    TLumBreakApart splitter;
    splitter.setBaseString(dashed);
    splitter.setBreakString(QStringLiteral("-"));
    splitter.BreakApart();
    QStringList parts = splitter.StringList();

    // A four-character first part is a year first (the log's own form, or an unknown one).
    if (parts.size() != 3 || parts.at(0).size() == 4)
        return text;

    parts[0] = PadLeft(parts.at(0), 2, u'0');
    parts[1] = PadLeft(parts.at(1), 2, u'0');
    if (parts.at(2).size() == 2) {
        // A two-digit year that is not a number leaves the text as it came.
        if (!isAsciiDigits(parts.at(2)))
            return text;
        const int year = parts.at(2).toInt();
        parts[2] = (year >= 50 ? QStringLiteral("19") : QStringLiteral("20")) + parts.at(2);
    }

    if (systemShortDatePattern.toLower() == QStringLiteral("mm/dd/yyyy"))
        return parts.at(2) + u'-' + parts.at(0) + u'-' + parts.at(1);
    return parts.at(2) + u'-' + parts.at(1) + u'-' + parts.at(0);
}

QString ShortDatePatternFromCFormat(const QString &cFormat)
{
    // Shorthands first, so that only single fields remain.
    QString format = cFormat;
    format.replace(QStringLiteral("%D"), QStringLiteral("%m/%d/%y"));
    format.replace(QStringLiteral("%F"), QStringLiteral("%Y-%m-%d"));
    format.replace(QStringLiteral("%x"), QStringLiteral("%m/%d/%y"));

    QStringList fields;
    qsizetype i = 0;
    while (i < format.size()) {
        if (format.at(i) != u'%') {
            ++i; // separators between fields all become "/"
            continue;
        }
        ++i;
        bool unpadded = false;
        while (i < format.size() && QStringLiteral("-_0^#").contains(format.at(i))) {
            unpadded = unpadded || format.at(i) == u'-';
            ++i;
        }
        while (i < format.size() && format.at(i).isDigit())
            ++i;
        if (i < format.size() && (format.at(i) == u'E' || format.at(i) == u'O'))
            ++i;
        if (i >= format.size())
            break;
        const QChar conversion = format.at(i++);
        switch (conversion.unicode()) {
        case u'd':
            fields.append(unpadded ? QStringLiteral("d") : QStringLiteral("dd"));
            break;
        case u'e':
            fields.append(QStringLiteral("d"));
            break;
        case u'm':
            fields.append(unpadded ? QStringLiteral("m") : QStringLiteral("mm"));
            break;
        case u'y':
            fields.append(QStringLiteral("yy"));
            break;
        case u'Y':
        case u'G':
            fields.append(QStringLiteral("yyyy"));
            break;
        case u'b':
        case u'h':
            fields.append(QStringLiteral("mmm"));
            break;
        case u'B':
            fields.append(QStringLiteral("mmmm"));
            break;
        case u'a':
            fields.append(QStringLiteral("ddd"));
            break;
        case u'A':
            fields.append(QStringLiteral("dddd"));
            break;
        default:
            break; // not a date field: treated like a separator
        }
    }
    return fields.join(u'/');
}

namespace
{

// The C library's date format of the LC_TIME locale named by the environment, as
// setlocale(LC_TIME, "") would choose it; the C locale's when that locale is not installed.
QString readCDateFormat()
{
    locale_t timeLocale = newlocale(LC_TIME_MASK, "", locale_t(nullptr));
    if (timeLocale == locale_t(nullptr))
        timeLocale = newlocale(LC_TIME_MASK, "C", locale_t(nullptr));
    if (timeLocale == locale_t(nullptr))
        return QStringLiteral("%m/%d/%y");
    const QString format = QString::fromUtf8(nl_langinfo_l(D_FMT, timeLocale));
    freelocale(timeLocale);
    return format;
}

QMutex patternMutex;
std::optional<QString> cachedPattern;

} // namespace

QString SystemDefaultShortDatePattern()
{
    QMutexLocker lock(&patternMutex);
    if (!cachedPattern)
        cachedPattern = ShortDatePatternFromCFormat(readCDateFormat());
    return *cachedPattern;
}

void ResetSystemDefaultShortDatePattern()
{
    QMutexLocker lock(&patternMutex);
    cachedPattern.reset();
}

QString NormalizeTime(const QString &text)
{
    QString t = text.toLower();
    t.removeIf([](QChar c) { return c.isSpace(); });
    t.replace(u'h', u':');
    t.replace(QStringLiteral("a.m."), QStringLiteral("am"));
    t.replace(QStringLiteral("p.m."), QStringLiteral("pm"));

    const QString colon = QStringLiteral(":");
    if (t.contains(QStringLiteral("am"))) {
        t = TextBefore(QStringLiteral("am"), t);
        if (TextBefore(colon, t) == QStringLiteral("12"))
            t = QStringLiteral("0:") + TextAfter(colon, t);
    } else if (t.contains(QStringLiteral("pm"))) {
        t = TextBefore(QStringLiteral("pm"), t);
        const QString hour = TextBefore(colon, t);
        if (hour != QStringLiteral("12")) {
            // An hour that is not a number leaves the text as it came.
            bool ok = false;
            const int value = hour.toInt(&ok);
            if (!isAsciiDigits(hour) || !ok)
                return text;
            t = QString::number(value + 12) + u':' + TextAfter(colon, t);
        }
    }
    return PadLeft(t, 5, u'0');
}

QString FormatCount(qint64 n, const QLocale &locale)
{
    if (n == 0)
        return QStringLiteral("0");
    // The magnitude as unsigned, so that the most negative value has one too.
    const quint64 magnitude = n < 0 ? quint64(0) - quint64(n) : quint64(n);
    const QString digits = QString::number(magnitude);
    const QString separator = locale.groupSeparator();
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += separator;
        result += digits.at(i);
    }
    return n < 0 ? u'-' + result : result;
}
