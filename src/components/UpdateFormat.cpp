#include "components/UpdateFormat.h"

#include "components/TextHelpers.h"

#include <QtNumeric>

#include <cmath>

namespace
{

constexpr qint64 kKilo = 1024;
constexpr qint64 kMega = kKilo * 1024;
constexpr qint64 kGiga = kMega * 1024;

QString sized(qint64 value, const char *suffix, const QLocale &locale)
{
    return FormatCount(value, locale) + QLatin1Char(' ') + QLatin1String(suffix);
}

// The fixed units: 0 stays 0, anything below one unit counts as one.
QString inUnit(qint64 bytes, qint64 unit, const char *suffix, const QLocale &locale)
{
    if (bytes <= 0)
        return sized(0, suffix, locale);
    if (bytes < unit)
        return sized(1, suffix, locale);
    return sized(bytes / unit, suffix, locale);
}

} // namespace

QString FormatFileSize(qint64 bytes, TLumAppUpdateFileSizeUnit unit, const QLocale &locale)
{
    switch (unit) {
    case TLumAppUpdateFileSizeUnit::Bytes:
        return sized(qMax<qint64>(bytes, 0), "B", locale);
    case TLumAppUpdateFileSizeUnit::KiloBytes:
        return inUnit(bytes, kKilo, "KB", locale);
    case TLumAppUpdateFileSizeUnit::MegaBytes:
        return inUnit(bytes, kMega, "MB", locale);
    case TLumAppUpdateFileSizeUnit::GigaBytes:
        return inUnit(bytes, kGiga, "GB", locale);
    case TLumAppUpdateFileSizeUnit::Auto:
        break;
    }
    if (bytes <= kKilo)
        return sized(qMax<qint64>(bytes, 0), "B", locale);
    if (bytes <= kMega)
        return sized(bytes / kKilo, "KB", locale);
    if (bytes <= kGiga)
        return sized(bytes / kMega, "MB", locale);
    return sized(bytes / kGiga, "GB", locale);
}

qint64 transferPercentage(qint64 received, qint64 expected)
{
    if (expected <= 0)
        return 0;
    qint64 scaled = 0;
    if (received < 0 || qMulOverflow(received, qint64(100), &scaled))
        return qint64(std::nearbyint(100.0L * received / expected));
    // Exact integer rounding: the quotient, then the remainder against half the divisor.
    qint64 quotient = scaled / expected;
    const qint64 remainder = scaled % expected;
    const qint64 rest = expected - remainder;
    if (remainder > rest || (remainder == rest && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

QString transferLine(qint64 received, qint64 expected, TLumAppUpdateFileSizeUnit unit,
                     const QLocale &locale)
{
    return FormatFileSize(received, unit, locale) + QStringLiteral(" of ") +
           FormatFileSize(expected, unit, locale) + QStringLiteral(" (") +
           QString::number(transferPercentage(received, expected)) + QStringLiteral("%)");
}

QString speedText(qint64 received, qint64 seconds, TLumAppUpdateFileSizeUnit unit,
                  const QLocale &locale)
{
    const qint64 perSecond = seconds > 0 ? received / seconds : 0;
    return FormatFileSize(perSecond, unit, locale) + QStringLiteral("/sec");
}

qint64 remainingSeconds(qint64 received, qint64 expected, qint64 seconds)
{
    if (received <= 0 || received >= expected || seconds <= 0)
        return 0;
    qint64 product = 0;
    if (qMulOverflow(expected - received, seconds, &product))
        return qint64(static_cast<long double>(expected - received) * seconds / received);
    return product / received;
}

QString formatDuration(qint64 seconds)
{
    seconds = qMax<qint64>(seconds, 0);
    const auto two = [](qint64 n) { return QString::number(n).rightJustified(2, u'0'); };
    return two(seconds / 3600) + u':' + two(seconds / 60 % 60) + u':' + two(seconds % 60);
}
