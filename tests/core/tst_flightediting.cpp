#include "components/LumFlatFile.h"
#include "editing/FlightEditing.h"
#include "editing/ReferenceFilling.h"
#include "model/LogDocument.h"
#include "model/LogFormatSettings.h"
#include "model/PadFlight.h"
#include "options/WingbookOptions.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace
{

// Cells of a table, one row a string with "|" between the cells and the count after "#".
QStringList dump(const LogTable &table)
{
    QStringList rows;
    for (int r = 0; r < table.count(); ++r) {
        QString text = table.row(r).cells.join(u'|');
        if (table.hasUsage())
            text += u'#' + QString::number(table.referenceCount(r));
        rows << text;
    }
    return rows;
}

FlightFields fields(const QString &date, const QString &time, const QString &from,
                    const QString &to, const QString &airline, const QString &flight)
{
    const LogFormatSettings &format = LogFormatSettings::standard();
    FlightFields f;
    if (!date.isEmpty())
        f.date = *format.parseDate(date);
    if (!time.isEmpty())
        f.time = *format.parseTime(time);
    f.from = from;
    f.to = to;
    f.airline = airline;
    f.flight = flight;
    return f;
}

} // namespace

Q_DECLARE_METATYPE(FlightFields)

class TestFlightEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void padFlight_data();
    void padFlight();
    void logFormatRoundTrip();
    void logFormatRejects_data();
    void logFormatRejects();

    void validationOrder_data();
    void validationOrder();
    void duplicateRefusedOnlyInAdd();

    void addFillsReferencesFromFiles();
    void addWithoutAutomaticFillingCountsExistingRowsOnly();
    void flightToItsOwnAirportCountsTwice();
    void modifyUnchangedKeepsCounts();
    void modifyAirlineMovesOneReference();
    void deriveAppendsAndKeepsTheOriginal();
    void latestFlightsFirst();
    void withoutLatestFirstTheLastHeaderSortIsRepeated();

    void addAirlineKeepsTypedNameForUnknownCode();
    void addAirportTakesTheDefValueApart();
    void addDistanceOrientation();

    void fieldsFromRow();
    void unreadableStoredDateOrTimeStopsTheCommand_data();
    void unreadableStoredDateOrTimeStopsTheCommand();
    void newFlightDefaults();

private:
    LogDocument *doc = nullptr;
    TLumFlatFile airlinesDef;
    TLumFlatFile airportsDef;
    OptionSet options;
    std::unique_ptr<LogDocument> holder;
    ReferenceFiles files() const { return {airlinesDef, airportsDef}; }
};

void TestFlightEditing::init()
{
    holder = std::make_unique<LogDocument>();
    doc = holder.get();
    options = OptionSet();
    airlinesDef.AddVolatileData(u"AF"_s, u"Air France"_s, true);
    airlinesDef.AddVolatileData(u"DL"_s, u"Delta Air Lines"_s, true);
    airportsDef.AddVolatileData(u"CDG"_s, u"Charles de Gaulle|Paris, France"_s, true);
    airportsDef.AddVolatileData(u"JFK"_s, u"John F Kennedy Intl|New York, United States"_s, true);
}

void TestFlightEditing::padFlight_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("one digit") << u"5"_s << u"005"_s;
    QTest::newRow("two digits") << u"12"_s << u"012"_s;
    QTest::newRow("empty") << QString() << u"000"_s;
    QTest::newRow("three digits") << u"123"_s << u"123"_s;
    QTest::newRow("leading zero of four") << u"0123"_s << u"123"_s;
    QTest::newRow("not padded again") << u"0012"_s << u"12"_s;
    QTest::newRow("padded 7 read again") << u"007"_s << u"7"_s;
    QTest::newRow("all zeros") << u"000"_s << QString();
    QTest::newRow("letters kept") << u"A1"_s << u"0A1"_s;
}

void TestFlightEditing::padFlight()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(PadFlight(in), out);
}

void TestFlightEditing::logFormatRoundTrip()
{
    const LogFormatSettings format = LogFormatSettings::fromLocale(QLocale(QLocale::German));
    QCOMPARE(format.DecimalSeparator, u","_s);
    QCOMPARE(format.formatDate(QDate(2023, 1, 5)), u"2023-01-05"_s);
    QCOMPARE(format.formatTime(QTime(7, 45)), u"07:45"_s);
    QCOMPARE(format.formatTime(QTime(19, 10, 59)), u"19:10"_s);
    QCOMPARE(format.parseDate(u"2023-01-05"_s), QDate(2023, 1, 5));
    QCOMPARE(format.parseDate(u" 2023-1-5 "_s), QDate(2023, 1, 5));
    QCOMPARE(format.parseTime(u"07:45"_s), QTime(7, 45));
    QCOMPARE(format.parseTime(u"7:05:30"_s), QTime(7, 5, 30));
}

void TestFlightEditing::logFormatRejects_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("slashes, text") << u"05/01/2023"_s << u"7.45"_s;
    QTest::newRow("month 13, hour 24") << u"2023-13-01"_s << u"24:00"_s;
    QTest::newRow("30 February, minute 60") << u"2023-02-30"_s << u"10:60"_s;
    QTest::newRow("two-digit year, missing minute") << u"23-01-05"_s << u"10:"_s;
    QTest::newRow("letters") << u"yesterday"_s << u"noon"_s;
    QTest::newRow("blank") << u" "_s << u" "_s;
}

void TestFlightEditing::logFormatRejects()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QVERIFY(!LogFormatSettings::standard().parseDate(date));
    QVERIFY(!LogFormatSettings::standard().parseTime(time));
}

void TestFlightEditing::validationOrder_data()
{
    QTest::addColumn<FlightFields>("entered");
    QTest::addColumn<QString>("message");
    QTest::newRow("everything blank: the date first")
        << fields({}, {}, {}, {}, {}, {}) << u"The date value must be non-empty."_s;
    QTest::newRow("time") << fields(u"2023-01-05"_s, {}, {}, {}, {}, {})
                          << u"The time value must be non-empty."_s;
    QTest::newRow("from") << fields(u"2023-01-05"_s, u"07:45"_s, {}, {}, {}, {})
                          << u"The from value must be non-empty."_s;
    QTest::newRow("to") << fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, {}, {}, {})
                        << u"The to value must be non-empty."_s;
    QTest::newRow("airline") << fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, {}, {})
                             << u"The airline value must be non-empty."_s;
    QTest::newRow("flight") << fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, {})
                            << u"The flight value must be non-empty."_s;
    QTest::newRow("complete") << fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s,
                                        u"7"_s)
                              << QString();
}

void TestFlightEditing::validationOrder()
{
    QFETCH(FlightFields, entered);
    QFETCH(QString, message);
    QCOMPARE(ValidateFlight(*doc, FlightDialogMode::Add, entered), message);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1, entered, files(), options), message);
    QCOMPARE(doc->Flights.count(), message.isEmpty() ? 1 : 0);
    QCOMPARE(doc->isModified(), message.isEmpty());
}

void TestFlightEditing::duplicateRefusedOnlyInAdd()
{
    const FlightFields first =
        fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"7"_s);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1, first, files(), options), QString());
    // Another route at the same date and time is still the same flight for Add.
    const FlightFields other =
        fields(u"2023-01-05"_s, u"07:45"_s, u"CDG"_s, u"JFK"_s, u"DL"_s, u"9"_s);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1, other, files(), options),
             u"The flight already exists."_s);
    QCOMPARE(doc->Flights.count(), 1);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Derive, 0, other, files(), options), QString());
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Modify, 0, first, files(), options), QString());
    QCOMPARE(doc->Flights.count(), 2);
}

void TestFlightEditing::addFillsReferencesFromFiles()
{
    // A flight with an unknown airline and a mixed-order pair of airports.
    const FlightFields entered =
        fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"ZZ"_s, u"12"_s);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1, entered, files(), options), QString());
    QCOMPARE(dump(doc->Flights), QStringList{u"2023-01-05|07:45|JFK|CDG|ZZ|012"_s});
    QCOMPARE(dump(doc->Airlines), QStringList{u"ZZ|#1"_s});
    QCOMPARE(dump(doc->Airports),
             (QStringList{u"CDG|Charles de Gaulle|Paris|France#1"_s,
                          u"JFK|John F Kennedy Intl|New York|United States#1"_s}));
    QCOMPARE(dump(doc->Distances), QStringList{u"CDG|JFK|0#1"_s});
    QVERIFY(doc->isModified());
}

void TestFlightEditing::addWithoutAutomaticFillingCountsExistingRowsOnly()
{
    options.autoPopulateAirlines = options.autoPopulateAirports = false;
    options.autoPopulateDistances = false;
    doc->Airports.appendRow({u"JFK"_s, u"Kennedy"_s});
    doc->Airlines.appendRow({u"AF"_s, u"Typed"_s});
    doc->Distances.appendRow({u"JFK"_s, u"CDG"_s, u"3625"_s});
    const FlightFields entered =
        fields(u"2023-01-05"_s, u"07:45"_s, u"CDG"_s, u"JFK"_s, u"AF"_s, u"7"_s);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1, entered, files(), options), QString());
    QCOMPARE(dump(doc->Airports), QStringList{u"JFK|Kennedy||#1"_s});
    QCOMPARE(dump(doc->Airlines), QStringList{u"AF|Typed#1"_s});
    QCOMPARE(dump(doc->Distances), QStringList{u"JFK|CDG|3625#1"_s});
}

void TestFlightEditing::flightToItsOwnAirportCountsTwice()
{
    const FlightFields entered =
        fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"JFK"_s, u"DL"_s, u"1"_s);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1, entered, files(), options), QString());
    QCOMPARE(doc->Airports.count(), 1);
    QCOMPARE(doc->Airports.referenceCount(0), 2);
    QCOMPARE(dump(doc->Distances), QStringList{u"JFK|JFK|0#1"_s});
}

void TestFlightEditing::modifyUnchangedKeepsCounts()
{
    const FlightFields entered =
        fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"7"_s);
    SubmitFlight(*doc, FlightDialogMode::Add, -1, entered, files(), options);
    const QStringList before = dump(doc->Airlines) + dump(doc->Airports) + dump(doc->Distances);
    FlightFields shown;
    QCOMPARE(FlightFieldsFromRow(*doc, 0, FlightDialogLists(*doc), shown), QString());
    doc->setModified(false);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Modify, 0, shown, files(), options), QString());
    QCOMPARE(dump(doc->Airlines) + dump(doc->Airports) + dump(doc->Distances), before);
    // The stored 007 passes through PadFlight again, which gives 7.
    QCOMPARE(dump(doc->Flights), QStringList{u"2023-01-05|07:45|JFK|CDG|AF|7"_s});
    QVERIFY(doc->isModified());
}

void TestFlightEditing::modifyAirlineMovesOneReference()
{
    SubmitFlight(*doc, FlightDialogMode::Add, -1,
                 fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"7"_s), files(),
                 options);
    SubmitFlight(*doc, FlightDialogMode::Add, -1,
                 fields(u"2023-01-06"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"8"_s), files(),
                 options);
    // Latest first: row 0 is the flight of 6 January.
    FlightFields changed;
    FlightFieldsFromRow(*doc, 0, FlightDialogLists(*doc), changed);
    changed.airline = u"DL"_s;
    changed.to = u"LHR"_s;
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Modify, 0, changed, files(), options), QString());
    QCOMPARE(dump(doc->Airlines), (QStringList{u"AF|Air France#1"_s, u"DL|Delta Air Lines#1"_s}));
    QCOMPARE(dump(doc->Airports),
             (QStringList{u"CDG|Charles de Gaulle|Paris|France#1"_s,
                          u"JFK|John F Kennedy Intl|New York|United States#2"_s, u"LHR|||#1"_s}));
    QCOMPARE(dump(doc->Distances), (QStringList{u"CDG|JFK|0#1"_s, u"JFK|LHR|0#1"_s}));
    QCOMPARE(doc->Flights.count(), 2);
}

void TestFlightEditing::deriveAppendsAndKeepsTheOriginal()
{
    SubmitFlight(*doc, FlightDialogMode::Add, -1,
                 fields(u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, u"7"_s), files(),
                 options);
    FlightFields derived;
    FlightFieldsFromRow(*doc, 0, FlightDialogLists(*doc), derived);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Derive, 0, derived, files(), options), QString());
    QCOMPARE(dump(doc->Flights), (QStringList{u"2023-01-05|07:45|JFK|CDG|AF|007"_s,
                                              u"2023-01-05|07:45|JFK|CDG|AF|7"_s}));
    QCOMPARE(doc->Airlines.referenceCount(0), 2);
    QCOMPARE(doc->Airports.referenceCount(0), 2);
    QCOMPARE(doc->Airports.referenceCount(1), 2);
    QCOMPARE(doc->Distances.referenceCount(0), 2);
}

void TestFlightEditing::latestFlightsFirst()
{
    for (const auto &[date, time] : {std::pair{u"2023-01-04"_s, u"23:00"_s},
                                     {u"2023-01-05"_s, u"07:45"_s},
                                     {u"2023-01-05"_s, u"19:10"_s}}) {
        QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1,
                              fields(date, time, u"JFK"_s, u"CDG"_s, u"AF"_s, u"7"_s), files(),
                              options),
                 QString());
    }
    QCOMPARE(doc->Flights.cell(0, 1), u"19:10"_s);
    QCOMPARE(doc->Flights.cell(1, 1), u"07:45"_s);
    QCOMPARE(doc->Flights.cell(2, 0), u"2023-01-04"_s);
}

void TestFlightEditing::withoutLatestFirstTheLastHeaderSortIsRepeated()
{
    options.displayLatestFlightsFirst = false;
    options.sortAlphabeticalCodes = false;
    const auto add = [&](const QString &date, const QString &flight) {
        QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Add, -1,
                              fields(date, u"10:00"_s, u"JFK"_s, u"CDG"_s, u"AF"_s, flight),
                              files(), options),
                 QString());
    };
    add(u"2023-01-05"_s, u"1"_s);
    add(u"2023-01-04"_s, u"2"_s);
    // No header sort yet: appended rows stay at the end, and so do new reference rows.
    QCOMPARE(doc->Flights.cell(1, 0), u"2023-01-04"_s);
    QCOMPARE(doc->Airports.cell(0, 0), u"JFK"_s);
    doc->Flights.Sort(5, false); // the user sorted by flight number, descending
    add(u"2023-01-06"_s, u"3"_s);
    QCOMPARE(doc->Flights.cell(0, 5), u"003"_s);
    QCOMPARE(doc->Flights.cell(2, 5), u"001"_s);
}

void TestFlightEditing::addAirlineKeepsTypedNameForUnknownCode()
{
    doc->Airlines.appendRow({u"XX"_s, u"Name I typed"_s});
    doc->Airlines.appendRow({u"AF"_s, u"Old name"_s});
    AddAirline(*doc, airlinesDef, u"XX"_s);
    AddAirline(*doc, airlinesDef, u"AF"_s);
    QCOMPARE(dump(doc->Airlines), (QStringList{u"XX|Name I typed#1"_s, u"AF|Air France#1"_s}));
    doc->Airports.appendRow({u"QQQ"_s, u"Typed"_s, u"Town"_s, u"Land"_s});
    AddAirport(*doc, airportsDef, u"QQQ"_s);
    QCOMPARE(dump(doc->Airports), QStringList{u"QQQ|Typed|Town|Land#1"_s});
    QVERIFY(!doc->isModified()); // callers mark the log
}

void TestFlightEditing::addAirportTakesTheDefValueApart()
{
    airportsDef.AddVolatileData(u"PDX"_s, u"Portland Intl|Portland, Oregon, United States"_s, true);
    doc->Airports.appendRow({u"PDX"_s, u"x"_s, u"y"_s, u"z"_s});
    doc->Airports.appendRow({u"PDX"_s, u"second"_s});
    AddAirport(*doc, airportsDef, u"PDX"_s);
    AddAirport(*doc, airportsDef, u"NEW"_s);
    QCOMPARE(dump(doc->Airports),
             (QStringList{u"PDX|Portland Intl|Portland, Oregon|United States#1"_s,
                          u"PDX|second||#0"_s, u"NEW|||#1"_s}));
}

void TestFlightEditing::addDistanceOrientation()
{
    AddDistance(*doc, u"JFK"_s, u"CDG"_s);
    QCOMPARE(dump(doc->Distances), QStringList{u"CDG|JFK|0#1"_s});
    AddDistance(*doc, u"CDG"_s, u"JFK"_s);
    QCOMPARE(dump(doc->Distances), QStringList{u"CDG|JFK|0#2"_s});
    // Entered in the dialog the other way round, with empty Miles: rewritten and completed.
    doc->Distances.appendRow({u"ORD"_s, u"LAX"_s, u"1745"_s});
    doc->Distances.appendRow({u"SFO"_s, u"BOS"_s, QString()});
    AddDistance(*doc, u"ORD"_s, u"LAX"_s);
    AddDistance(*doc, u"BOS"_s, u"SFO"_s);
    // Ordinal order: upper case before lower case, a prefix first.
    AddDistance(*doc, u"abc"_s, u"ABC"_s);
    AddDistance(*doc, u"AB"_s, u"A"_s);
    QCOMPARE(dump(doc->Distances),
             (QStringList{u"CDG|JFK|0#2"_s, u"LAX|ORD|1745#1"_s, u"BOS|SFO|0#1"_s, u"ABC|abc|0#1"_s,
                          u"A|AB|0#1"_s}));
}

void TestFlightEditing::fieldsFromRow()
{
    doc->Airports.appendRow({u"JFK"_s});
    doc->Airports.appendRow({u"cdg"_s});
    doc->Airlines.appendRow({u"AF"_s});
    doc->Flights.appendRow({QString(), QString(), u"CDG"_s, u"XXX"_s, u"AF"_s, u"0012"_s});
    FlightFields shown;
    shown.from = u"stale"_s;
    QCOMPARE(FlightFieldsFromRow(*doc, 0, FlightDialogLists(*doc), shown), QString());
    QVERIFY(shown.date.isNull());
    QVERIFY(shown.time.isNull());
    QCOMPARE(shown.from, u"cdg"_s); // the list finds it without regard to case
    QCOMPARE(shown.to, QString());  // in no list
    QCOMPARE(shown.airline, u"AF"_s);
    QCOMPARE(shown.flight, u"0012"_s);
    // OK then asks for the missing To; nothing is stored.
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Modify, 0, shown, files(), options),
             u"The date value must be non-empty."_s);
    shown.date = QDate(2023, 1, 5);
    shown.time = QTime(7, 45);
    QCOMPARE(SubmitFlight(*doc, FlightDialogMode::Modify, 0, shown, files(), options),
             u"The to value must be non-empty."_s);
    QCOMPARE(doc->Flights.cell(0, 2), u"CDG"_s);
}

void TestFlightEditing::unreadableStoredDateOrTimeStopsTheCommand_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("named");
    QTest::newRow("date") << u"5 Jan 2023"_s << u"07:45"_s << u"\"5 Jan 2023\""_s;
    QTest::newRow("time") << u"2023-01-05"_s << u"7h45"_s << u"\"7h45\""_s;
}

void TestFlightEditing::unreadableStoredDateOrTimeStopsTheCommand()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, named);
    doc->Flights.appendRow({date, time, u"JFK"_s, u"CDG"_s, u"AF"_s, u"7"_s});
    FlightFields shown = fields(u"2020-02-02"_s, u"01:01"_s, u"A"_s, u"B"_s, u"C"_s, u"D"_s);
    const QString message = FlightFieldsFromRow(*doc, 0, FlightDialogLists(*doc), shown);
    QVERIFY2(message.contains(named), qPrintable(message));
    QCOMPARE(shown.from, u"A"_s); // the fields are left alone
    QVERIFY(!doc->isModified());
}

void TestFlightEditing::newFlightDefaults()
{
    doc->PreferredFromAirport = u"JFK"_s;
    doc->PreferredToAirport = u"CDG"_s;
    doc->PreferredAirline = u"AF"_s;
    // Empty tables: the lists are empty and nothing is preset.
    FlightFields shown = NewFlightFields(*doc, FlightDialogLists(*doc));
    QVERIFY(shown.from.isEmpty() && shown.to.isEmpty() && shown.airline.isEmpty());
    doc->Airports.appendRow({u"JFK"_s});
    doc->Airports.appendRow({u"CDG"_s});
    doc->Airlines.appendRow({u"AF"_s});
    shown = NewFlightFields(*doc, FlightDialogLists(*doc));
    QCOMPARE(shown.from, u"JFK"_s);
    QCOMPARE(shown.to, u"CDG"_s);
    QCOMPARE(shown.airline, u"AF"_s);
    QVERIFY(shown.date.isNull() && shown.time.isNull() && shown.flight.isEmpty());
}

QTEST_GUILESS_MAIN(TestFlightEditing)
#include "tst_flightediting.moc"
