#include "components/ScreenPlacement.h"

#include <algorithm>

namespace
{

// A rectangle in 64-bit numbers: a stored left of 2147483647 plus a width must not overflow.
struct Bounds {
    qint64 left;
    qint64 top;
    qint64 width;
    qint64 height;

    qint64 right() const { return left + width; }
    qint64 bottom() const { return top + height; }
};

Bounds boundsOf(const QRect &r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

qint64 overlap(qint64 a0, qint64 a1, qint64 b0, qint64 b1)
{
    return std::max<qint64>(0, std::min(a1, b1) - std::max(a0, b0));
}

// The distance between two centres, in half pixels, along both axes.
qint64 centreDistance(const Bounds &a, const Bounds &b)
{
    const qint64 dx = (2 * a.left + a.width) - (2 * b.left + b.width);
    const qint64 dy = (2 * a.top + a.height) - (2 * b.top + b.height);
    return (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy);
}

const Bounds &chooseScreen(const Bounds &window, const QList<Bounds> &screens)
{
    const Bounds *best = &screens.front();
    qint64 bestOverlap = -1;
    for (const Bounds &s : screens) {
        // Both factors are below 2^33, so the product fits.
        const qint64 area = overlap(window.left, window.right(), s.left, s.right()) *
                            overlap(window.top, window.bottom(), s.top, s.bottom());
        if (area > bestOverlap) {
            bestOverlap = area;
            best = &s;
        }
    }
    if (bestOverlap > 0)
        return *best;
    return *std::min_element(screens.begin(), screens.end(),
                             [&window](const Bounds &a, const Bounds &b) {
                                 return centreDistance(window, a) < centreDistance(window, b);
                             });
}

} // namespace

QRect FitPlacementToScreens(const TFormPlacement &placement, const QList<QRect> &screens,
                            const QSize &minimum)
{
    Bounds window{placement.left, placement.top, placement.width, placement.height};
    QList<Bounds> areas;
    for (const QRect &s : screens) {
        if (!s.isEmpty())
            areas.append(boundsOf(s));
    }
    if (areas.isEmpty()) {
        // Nothing to fit into: keep the numbers within what any screen could have.
        constexpr qint64 kLimit = 1 << 20;
        window.width = std::clamp<qint64>(window.width, std::max(minimum.width(), 1), kLimit);
        window.height = std::clamp<qint64>(window.height, std::max(minimum.height(), 1), kLimit);
        window.left = std::clamp<qint64>(window.left, -kLimit, kLimit);
        window.top = std::clamp<qint64>(window.top, -kLimit, kLimit);
        return QRect(int(window.left), int(window.top), int(window.width), int(window.height));
    }

    window.width = std::max<qint64>(window.width, std::max(minimum.width(), 1));
    window.height = std::max<qint64>(window.height, std::max(minimum.height(), 1));
    const Bounds &screen = chooseScreen(window, areas);
    window.width = std::min(window.width, screen.width);
    window.height = std::min(window.height, screen.height);
    window.left = std::clamp(window.left, screen.left, screen.right() - window.width);
    window.top = std::clamp(window.top, screen.top, screen.bottom() - window.height);
    return QRect(int(window.left), int(window.top), int(window.width), int(window.height));
}
