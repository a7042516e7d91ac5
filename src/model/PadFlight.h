#pragma once

#include <QString>

// The flight number as the log keeps it: a text shorter than three characters is padded on the
// left with "0" to three (5 gives 005); a longer one loses every leading "0" and is not padded
// again (0012 gives 12, 000 gives the empty text).
QString PadFlight(const QString &flight);
// The same for a view: a longer text gives a view of its part after the zeros; a shorter one
// is padded into `padded`, which the result then shows.
QStringView PadFlight(QStringView flight, QString &padded);
