#pragma once

#include "components/LumRegistryEnhanced.h"

#include <QList>
#include <QRect>
#include <QSize>

// The outer bounds a stored window placement gets on the screens there are now (each given by
// its available area): on the screen the placement overlaps most, or else the nearest one, no
// larger than that screen and wholly inside it, and no smaller than minimum (within the screen).
// A placement that lies inside a screen comes back unchanged. Any numbers, however large or
// negative, give bounds within the screen, so a hand-edited or stale placement never puts the
// window out of reach.
QRect FitPlacementToScreens(const TFormPlacement &placement, const QList<QRect> &screens,
                            const QSize &minimum = QSize(1, 1));
