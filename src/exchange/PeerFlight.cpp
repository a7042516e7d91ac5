#include "exchange/PeerFlight.h"

#include "components/LumFlatFile.h"
#include "components/TextHelpers.h"
#include "model/PadFlight.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <cmath>

namespace
{

// A value quoted in a reason is cut to this many characters: a hostile file must not fill the
// message box with one field.
constexpr qsizetype kQuotedValueLength = 40;
// The longest distance the distance dialog takes.
constexpr double kMaxMiles = 30000;

// The reason names the value as one line of the summary: a line break or other control
// character of a quoted field is shown as a blank.
QString quoted(const QString &reason, const QString &value)
{
    QString shown = value.size() > kQuotedValueLength
                        ? value.left(kQuotedValueLength) + QStringLiteral("...")
                        : value;
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return reason + QStringLiteral(" (\"") + shown + QStringLiteral("\")");
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isCode(const QString &text, qsizetype minLength, qsizetype maxLength)
{
    if (text.size() < minLength || text.size() > maxLength)
        return false;
    for (QChar c : text) {
        if (!isAsciiDigit(c) && !isAsciiLetter(c))
            return false;
    }
    return true;
}

// The text between the last "(" and the ")" after it, split at "/": "(FRA/EDDF)" gives FRA and
// EDDF; `before` receives the text before the brackets. False when there are no brackets.
bool bracketedCodes(const QString &text, QString &first, QString &second, QString &before)
{
    const qsizetype open = text.lastIndexOf(u'(');
    const qsizetype close = open < 0 ? -1 : text.indexOf(u')', open);
    if (close < 0)
        return false;
    const QString inner = text.mid(open + 1, close - open - 1);
    first = TextBefore(QStringLiteral("/"), inner).trimmed().toUpper();
    second = TextAfter(QStringLiteral("/"), inner).trimmed().toUpper();
    before = text.left(open).trimmed();
    return true;
}

int milesOf(const QString &text)
{
    bool ok = false;
    const double miles = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(miles) || miles < 0.5 || miles > kMaxMiles)
        return 0;
    return int(std::lround(miles));
}

} // namespace

QString AirlineCodesByName::codeOf(const QString &name)
{
    if (!m_built) {
        m_built = true;
        for (int i = 0; i < m_airlines.Count(); ++i) {
            const QString entryName = m_airlines.GetValueDataByIndex(i);
            if (!entryName.isEmpty() && !m_codes.contains(entryName))
                m_codes.insert(entryName, m_airlines.GetValueByIndex(i));
        }
    }
    return m_codes.value(name);
}

bool ReadPeerTime(const QString &text, QString &time)
{
    const QString normal = NormalizeTime(text.trimmed());
    QTime t = QTime::fromString(normal, QStringLiteral("H:mm:ss"));
    if (!t.isValid())
        t = QTime::fromString(normal, QStringLiteral("H:mm"));
    if (!t.isValid())
        return false;
    time = t.toString(QStringLiteral("HH:mm"));
    return true;
}

bool ReadPeerDate(const QString &text, QString &date, QString &timeText)
{
    const QString s = text.trimmed();
    qsizetype cut = -1;
    for (qsizetype i = 0; i < s.size() && cut < 0; ++i) {
        if (s.at(i).isSpace())
            cut = i;
    }
    // ISO 8601 with its "T": 2019-05-03T14:20.
    if (cut < 0 && s.size() > 10 && s.at(10) == u'T')
        cut = 10;
    const QString datePart = cut < 0 ? s : s.left(cut);
    const QString timePart = cut < 0 ? QString() : s.mid(cut + 1).trimmed();
    QString normal = NormalizeDate(datePart);
    normal.replace(u'/', u'-');
    const QDate d = QDate::fromString(normal, QStringLiteral("yyyy-M-d"));
    if (!d.isValid())
        return false;
    date = d.toString(QStringLiteral("yyyy-MM-dd"));
    timeText = timePart;
    return true;
}

QString AirportCodeOf(const QString &text)
{
    const QString s = text.trimmed();
    QString iata, icao, name;
    if (bracketedCodes(s, iata, icao, name)) {
        if (isCode(iata, 3, 3))
            return iata;
        return isCode(icao, 4, 4) ? icao : QString();
    }
    return isCode(s, 3, 4) ? s.toUpper() : QString();
}

QString AirlineCodeOf(const QString &text, QString &name)
{
    const QString s = text.trimmed();
    QString iata, icao;
    if (!bracketedCodes(s, iata, icao, name)) {
        name = s;
        return QString();
    }
    return isCode(iata, 2, 2) ? iata : QString();
}

void SplitFlightNumber(const QString &text, QString &airline, QString &digits)
{
    QString t = text.toUpper();
    t.removeIf([](QChar c) { return c.isSpace(); });
    airline.clear();
    digits.clear();
    qsizetype start = 0;
    // Two characters, not both digits, then a digit: the airline's IATA code (BA117, U21234,
    // 9W123). A number with a longer letter prefix (an ICAO code, BAW117) names no IATA code.
    const bool twoCharacterCode = t.size() >= 2 && isCode(t.left(2), 2, 2) &&
                                  !(isAsciiDigit(t.at(0)) && isAsciiDigit(t.at(1))) &&
                                  (t.size() == 2 || isAsciiDigit(t.at(2)));
    if (twoCharacterCode) {
        airline = t.left(2);
        start = 2;
    } else {
        while (start < t.size() && isAsciiLetter(t.at(start)))
            ++start;
    }
    qsizetype end = start;
    while (end < t.size() && isAsciiDigit(t.at(end)))
        ++end;
    digits = t.mid(start, end - start);
}

PeerFlight ReadPeerFlight(const PeerColumns &columns, const QStringList &record,
                          AirlineCodesByName &airlineCodes)
{
    PeerFlight f;
    const QString dateText = columns.field(record, columns.date).trimmed();
    if (dateText.isEmpty()) {
        f.skipReason = QStringLiteral("no date");
        return f;
    }
    QString timeText;
    if (!ReadPeerDate(dateText, f.Date, timeText)) {
        f.skipReason = quoted(QStringLiteral("date not readable"), dateText);
        return f;
    }
    // A departure time of its own counts over the one the date carries.
    const QString departureTime = columns.field(record, columns.departureTime).trimmed();
    if (!departureTime.isEmpty())
        timeText = departureTime;
    if (!timeText.isEmpty() && !ReadPeerTime(timeText, f.Time)) {
        f.skipReason = quoted(QStringLiteral("time not readable"), timeText);
        return f;
    }

    const QString fromText = columns.field(record, columns.from).trimmed();
    const QString toText = columns.field(record, columns.to).trimmed();
    f.From = AirportCodeOf(fromText);
    f.To = AirportCodeOf(toText);
    if (fromText.isEmpty())
        f.skipReason = QStringLiteral("no departure airport");
    else if (f.From.isEmpty())
        f.skipReason = quoted(QStringLiteral("departure airport not readable"), fromText);
    else if (toText.isEmpty())
        f.skipReason = QStringLiteral("no arrival airport");
    else if (f.To.isEmpty())
        f.skipReason = quoted(QStringLiteral("arrival airport not readable"), toText);
    if (!f.skipReason.isEmpty())
        return f;

    const QString airlineText = columns.field(record, columns.airline).trimmed();
    QString code;
    if (columns.kind == PeerCsvKind::MyFlightradar24)
        code = AirlineCodeOf(airlineText, f.airlineName);
    else
        f.airlineName = airlineText;
    QString numberCode, digits;
    SplitFlightNumber(columns.field(record, columns.flightNumber), numberCode, digits);
    if (code.isEmpty())
        code = numberCode;
    if (code.isEmpty() && !f.airlineName.isEmpty())
        code = airlineCodes.codeOf(f.airlineName);
    if (code.isEmpty()) {
        f.skipReason = f.airlineName.isEmpty()
                           ? QStringLiteral("no airline")
                           : quoted(QStringLiteral("airline not known"), f.airlineName);
        return f;
    }
    f.Airline = code;
    f.Flight = PadFlight(digits);
    f.miles = milesOf(columns.field(record, columns.distance));
    return f;
}
