#include "geography/WorldOutlines.h"

#include "components/TextFileReader.h"

#include <cmath>

namespace
{

// A ring of at least three points, latitudes within the poles, longitudes within the three
// copies of the world that the map draws.
bool readRing(QStringView line, QList<QPointF> &ring)
{
    const QList<QStringView> numbers = line.split(u' ', Qt::SkipEmptyParts);
    if (numbers.size() < 6 || numbers.size() % 2 != 0)
        return false;
    ring.reserve(numbers.size() / 2);
    for (qsizetype i = 0; i < numbers.size(); i += 2) {
        bool lonOk = false;
        bool latOk = false;
        const double lon = numbers[i].toDouble(&lonOk);
        const double lat = numbers[i + 1].toDouble(&latOk);
        if (!lonOk || !latOk || !(std::abs(lon) <= 540) || !(std::abs(lat) <= 90))
            return false;
        ring.append(QPointF(lon, lat));
    }
    return true;
}

void readLines(WorldOutlines &outlines, const QStringList &lines)
{
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        QList<QPointF> ring;
        if (readRing(line, ring))
            outlines.rings.append(std::move(ring));
        else
            ++outlines.skippedLines;
    }
}

} // namespace

WorldOutlines WorldOutlines::read(const QString &path)
{
    WorldOutlines outlines;
    const TextFileContent content = ReadTextFile(path);
    if (!content.ok) {
        outlines.error = content.error;
        return outlines;
    }
    readLines(outlines, content.lines);
    return outlines;
}

WorldOutlines WorldOutlines::fromText(const QString &text)
{
    WorldOutlines outlines;
    readLines(outlines, SplitTextLines(text));
    return outlines;
}
