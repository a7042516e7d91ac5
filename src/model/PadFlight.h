#pragma once

#include <QString>

// The flight number as the log keeps it: a text shorter than three characters is padded on the
// left with "0" to three (5 gives 005); a longer one loses every leading "0" and is not padded
// again (0012 gives 12, 000 gives the empty text).
QString PadFlight(const QString &flight);
