#pragma once

#include <QLocale>
#include <QString>

// How the notification and download windows show sizes.
enum class TLumAppUpdateFileSizeUnit { Auto, Bytes, KiloBytes, MegaBytes, GigaBytes };

// A byte count as text in the given unit, digits grouped with the locale's separator; every
// division drops its remainder. KiloBytes: 0 is "0 KB", 1 to 1023 bytes are "1 KB", 1536 bytes
// "1 KB", 4194304 bytes "4,096 KB". Auto picks B up to 1024 bytes, KB up to 1 MB, MB up to
// 1 GB and GB above. A negative count is shown as 0.
QString FormatFileSize(qint64 bytes, TLumAppUpdateFileSizeUnit unit,
                       const QLocale &locale = QLocale::system());

// received / expected x 100, rounded to the nearest whole number, a half to the even
// neighbour; 0 when nothing is expected.
qint64 transferPercentage(qint64 received, qint64 expected);

// "1,024 KB of 4,096 KB (25%)".
QString transferLine(qint64 received, qint64 expected, TLumAppUpdateFileSizeUnit unit,
                     const QLocale &locale = QLocale::system());

// The download speed after `seconds` whole seconds: the size of received / seconds, then
// "/sec"; "0 KB/sec" (in the unit) before the first second.
QString speedText(qint64 received, qint64 seconds, TLumAppUpdateFileSizeUnit unit,
                  const QLocale &locale = QLocale::system());

// The seconds still to go at the speed so far: (expected - received) x seconds / received,
// dropping the remainder; 0 once more than expected has come (a server that announced no
// length), and 0 before anything has come.
qint64 remainingSeconds(qint64 received, qint64 expected, qint64 seconds);

// Seconds as hh:nn:ss; hours go beyond 24 rather than wrapping round.
QString formatDuration(qint64 seconds);
