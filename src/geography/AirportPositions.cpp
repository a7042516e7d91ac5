#include "geography/AirportPositions.h"

#include "components/TextFileReader.h"

#include <cmath>

namespace
{

// A coordinate in decimal degrees within [-limit, limit]; nothing for any other text.
std::optional<double> degrees(QStringView text, double limit)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > limit)
        return std::nullopt;
    return value;
}

} // namespace

bool AirportPositions::load(const QString &path)
{
    clear();
    const TextFileContent content = ReadTextFile(path);
    if (!content.exists)
        return true;
    if (!content.ok) {
        m_error = content.error;
        return false;
    }
    readLines(content.lines);
    return true;
}

void AirportPositions::loadText(const QString &text)
{
    clear();
    readLines(SplitTextLines(text));
}

void AirportPositions::readLines(const QStringList &lines)
{
    m_positions.reserve(lines.size());
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QList<QStringView> fields = QStringView(line).split(u'\t');
        const std::optional<double> latitude =
            fields.size() == 3 ? degrees(fields[1], 90) : std::nullopt;
        const std::optional<double> longitude =
            fields.size() == 3 ? degrees(fields[2], 180) : std::nullopt;
        const QString code = fields[0].trimmed().toString();
        if (code.isEmpty() || !latitude || !longitude) {
            ++m_skippedLines;
            continue;
        }
        if (!m_positions.contains(code))
            m_positions.insert(code, {*latitude, *longitude});
    }
}

void AirportPositions::insert(const QString &code, GeoPoint position)
{
    m_positions.insert(code, position);
}

void AirportPositions::clear()
{
    m_positions.clear();
    m_error.clear();
    m_skippedLines = 0;
}

std::optional<GeoPoint> AirportPositions::position(const QString &code) const
{
    const auto found = m_positions.constFind(code);
    if (found == m_positions.constEnd())
        return std::nullopt;
    return *found;
}
