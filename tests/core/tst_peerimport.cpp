// The import of the flight exports of the two web logbooks: telling the files by their
// columns, reading a record as a flight, and whole hand-made exports merged into the log.
#include "components/LumFlatFile.h"
#include "editing/ReferenceFilling.h"
#include "exchange/CsvRecordReader.h"
#include "exchange/Importers.h"
#include "exchange/PeerCsvFormat.h"
#include "exchange/PeerFlight.h"
#include "exchange/PeerImport.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"

#include "../support/ImportTestSupport.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using ImportTestSupport::dump;

namespace
{

const QByteArray kOpenFlightsHeader =
    "Date,From,To,Flight_Number,Airline,Distance,Duration,Seat,Seat_Type,Class,Reason,Plane,"
    "Registration,Trip,Note,From_OID,To_OID,Airline_OID,Plane_OID"_ba;
const QByteArray kFlightradarHeader =
    "Date,\"Flight number\",From,To,\"Dep time\",\"Arr time\",Duration,Airline,Aircraft,"
    "Registration,\"Seat number\",\"Seat type\",\"Flight class\",\"Flight reason\",Note,Dep_id,"
    "Arr_id,Airline_id,Aircraft_id"_ba;
const QByteArray kBom = "\xEF\xBB\xBF"_ba;

// An OpenFlights export: a time given and not, a quoted note with a comma and one with a line
// break, an airline known only by its name, an ICAO-only airport, an airline that the
// reference file lacks, and three lines that give no flight.
const QByteArray kOpenFlightsFile =
    kOpenFlightsHeader +
    "\n"
    "2019-05-03 14:20,LHR,JFK,BA117,British Airways,3451,07:55,23A,W,Y,L,Boeing 747-400,"
    "G-CIVA,,\"Window seat, left side\",507,3797,1355,\n"
    "2019-06-01,JFK,LHR,,\"British Airways\",3451,07:00,,,,,,,,\"Delayed\n"
    "two hours\",3797,507,1355,\n"
    "2015,LHR,CDG,AF1081,Air France,214,,,,,,,,,,,,,\n"
    "2020-02-01,EDXW,LHR,XQ123,\"Sun Express, Inc\",500,,,,,,,,,,,,,\n"
    "2020-03-01,,CDG,AF1,Air France,,,,,,,,,,,,,,\n"
    "2020-03-02,LHR,CDG,,Nowhere Air,,,,,,,,,,,,,,\n"_ba;

// A myFlightradar24 export as the service writes it: a byte-order mark, an empty first line,
// CR LF line ends; dates of a year or a month only; airports and airlines with their codes in
// brackets.
const QByteArray kFlightradarFile =
    kBom + "\r\n" + kFlightradarHeader +
    "\r\n"
    "2018-07-14,LH400,\"Frankfurt am Main / Frankfurt (FRA/EDDF)\","
    "\"New York / John F. Kennedy International (JFK/KJFK)\",13:35:00,16:05:00,08:30:00,"
    "\"Lufthansa (LH/DLH)\",\"Boeing 747-8 (B748)\",D-ABYA,12A,1,2,1,,1,2,3,4\r\n"
    "2018,LH401,\"Frankfurt am Main / Frankfurt (FRA/EDDF)\",\"Paris (CDG/LFPG)\",,,,"
    "\"Lufthansa (LH/DLH)\",,,,,,,,,,,\r\n"
    "2018-08,LH402,\"Frankfurt am Main / Frankfurt (FRA/EDDF)\",\"Paris (CDG/LFPG)\",,,,"
    "\"Lufthansa (LH/DLH)\",,,,,,,,,,,\r\n"
    "2018-09-01,,\"Egelsbach (/EDXW)\",\"Frankfurt am Main / Frankfurt (FRA/EDDF)\",,,,"
    "\"Condor (DE/CFG)\",,,,,,,\"\",,,,\r\n"_ba;

} // namespace

class TestPeerImport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void kindByColumnNames_data();
    void kindByColumnNames();
    void peerFileByItsFirstLine_data();
    void peerFileByItsFirstLine();
    void recordsAndTheirLines();
    void flightOfARecord_data();
    void flightOfARecord();

    void openFlightsExport();
    void flightradarExport();
    void secondImportChangesNothing_data();
    void secondImportChangesNothing();
    void dispatchByHeader_data();
    void dispatchByHeader();
    void skippedLinesListedUpToTen();
    void strayQuoteCostsOneLine_data();
    void strayQuoteCostsOneLine();
    void withoutAutomaticFilling();
    void stopKeepsWhatWasRead();
    void unrecognisedHeaderIsAnError();

private:
    QString write(const QByteArray &bytes, const QString &name = u"export.csv"_s);
    PeerImportResult import(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LogDocument> doc;
    OptionSet options;
    std::unique_ptr<TLumFlatFile> airlinesDef;
    std::unique_ptr<TLumFlatFile> airportsDef;
    ImportTestSupport::RecordingHost host;
};

void TestPeerImport::init()
{
    dir = std::make_unique<QTemporaryDir>();
    doc = std::make_unique<LogDocument>();
    host = ImportTestSupport::RecordingHost();
    // Automatic filling on (as by default), but the file's order kept in view.
    options = OptionSet();
    options.displayLatestFlightsFirst = false;
    options.sortAlphabeticalCodes = false;
    airlinesDef = std::make_unique<TLumFlatFile>();
    airportsDef = std::make_unique<TLumFlatFile>();
    airlinesDef->AddVolatileData(u"BA"_s, u"British Airways"_s, true);
    airlinesDef->AddVolatileData(u"AF"_s, u"Air France"_s, true);
    airportsDef->AddVolatileData(u"LHR"_s, u"Heathrow|London, United Kingdom"_s, true);
    airportsDef->AddVolatileData(u"JFK"_s, u"John F Kennedy Intl|New York, United States"_s, true);
    airportsDef->AddVolatileData(u"FRA"_s, u"Frankfurt Main|Frankfurt, Germany"_s, true);
}

QString TestPeerImport::write(const QByteArray &bytes, const QString &name)
{
    return ImportTestSupport::writeFile(*dir, name, bytes);
}

PeerImportResult TestPeerImport::import(const QByteArray &bytes)
{
    return ImportFromPeerCSVFile(*doc, write(bytes), {*airlinesDef, *airportsDef}, options, host);
}

void TestPeerImport::kindByColumnNames_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("kind");
    const int none = int(PeerCsvKind::None);
    const int openFlights = int(PeerCsvKind::OpenFlights);
    const int flightradar = int(PeerCsvKind::MyFlightradar24);
    QTest::newRow("OpenFlights") << QString::fromLatin1(kOpenFlightsHeader) << openFlights;
    QTest::newRow("OpenFlights without the _OID columns")
        << u"Date,From,To,Flight_Number,Airline,Distance,Duration,Seat,Seat_Type,Class,Reason,"
           "Plane,Registration,Trip,Note"_s
        << openFlights;
    QTest::newRow("myFlightradar24") << QString::fromLatin1(kFlightradarHeader) << flightradar;
    QTest::newRow("newer myFlightradar24, other order")
        << u"\"Booking Reference\",Date,From,To,\"Dep time\",\"Flight number\",Airline,"
           "\"Message IDs\""_s
        << flightradar;
    QTest::newRow("letter case and blanks")
        << u" date ,FROM,To,flight_number,airline"_s << openFlights;
    QTest::newRow("the program's own export") << u"Date,Time,From,To,Airline,Flight"_s << none;
    QTest::newRow("OpenFlights without Airline") << u"Date,From,To,Flight_Number"_s << none;
    QTest::newRow("myFlightradar24 without Dep time")
        << u"Date,\"Flight number\",From,To,Airline"_s << none;
}

void TestPeerImport::kindByColumnNames()
{
    QFETCH(QString, header);
    QFETCH(int, kind);
    CsvRecordReader reader;
    QList<CsvRecord> records;
    reader.feed(header, 1, records);
    QCOMPARE(records.size(), 1);
    QCOMPARE(int(PeerCsvKindOf(records.first().fields)), kind);
}

void TestPeerImport::peerFileByItsFirstLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("peer");
    QTest::newRow("header first") << kOpenFlightsHeader + "\n2019-05-03,LHR,JFK,BA1,,,\n" << true;
    QTest::newRow("byte-order mark, empty lines, CR LF")
        << kBom + "\r\n  \r\n" + kFlightradarHeader + "\r\n"
        << true;
    QTest::newRow("header alone, no line end") << kOpenFlightsHeader << true;
    QTest::newRow("UTF-16 with its byte-order mark")
        << "\xFF\xFE"_ba + QByteArray(reinterpret_cast<const char *>(
                                          QString::fromLatin1(kOpenFlightsHeader).utf16()),
                                      kOpenFlightsHeader.size() * 2)
        << true;
    QTest::newRow("a flight line before the header")
        << "2019-05-03,LHR,JFK,BA1,,\n" + kOpenFlightsHeader + "\n"
        << false;
    QTest::newRow("the program's own CSV")
        << "Date,Time,From,To,Airline,Flight\n2021-03-04,09:05,JFK,LAX,AA,100\n"_ba << false;
    QTest::newRow("empty file") << QByteArray() << false;
    // As the importer reads: a quote that stays open for a hundred lines skips its line.
    QTest::newRow("a quote never closed before the header")
        << "\"\n" + kOpenFlightsHeader + "\n2019-05-03,LHR,JFK,BA1,,,\n"
        << true;
    QTest::newRow("a header whose quote closes only 120 lines on")
        << kOpenFlightsHeader + ",\"Note" + QByteArray(120, '\n') +
               "end\"\n2019-05-03,LHR,JFK,BA1,,,\n"
        << false;
}

void TestPeerImport::peerFileByItsFirstLine()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, peer);
    QCOMPARE(IsPeerCsvFile(write(file)), peer);
    QVERIFY(!IsPeerCsvFile(dir->filePath(u"missing.csv"_s)));
}

// Quotes, doubled quotes, separators and line breaks inside fields; each record knows the
// line it starts on, blank lines give blank records.
void TestPeerImport::recordsAndTheirLines()
{
    const QStringList lines{u"a,\"b, c\",\"say \"\"hi\"\"\""_s,
                            u""_s,
                            u"  "_s,
                            u"x,\"two"_s,
                            u""_s,
                            u"lines\",y"_s,
                            u",,"_s,
                            u"Zürich,ü"_s};
    CsvRecordReader reader;
    QList<CsvRecord> records;
    QList<bool> open;
    for (int i = 0; i < lines.size(); ++i) {
        reader.feed(lines[i], i + 1, records);
        open << reader.inRecord();
    }
    QCOMPARE(open, (QList<bool>{false, false, false, true, true, false, false, false}));
    QStringList seen;
    for (const CsvRecord &r : records)
        seen << QString::number(r.line) + (r.isBlank() ? u" blank "_s : u" "_s) +
                    r.fields.join(u'|');
    QCOMPARE(seen, (QStringList{u"1 a|b, c|say \"hi\""_s, u"2 blank "_s, u"3 blank "_s,
                                u"4 x|two\n\nlines|y"_s, u"7 blank ||"_s, u"8 Zürich|ü"_s}));
}

// One record after a header: the flight it gives ("Date|Time|From|To|Airline|Flight", then
// the airline name and miles the file gives) or why it is skipped.
void TestPeerImport::flightOfARecord_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("expected");
    const QByteArray of = "Date,From,To,Flight_Number,Airline,Distance"_ba;
    const QByteArray fr = "Date,\"Flight number\",From,To,\"Dep time\",Airline"_ba;

    QTest::newRow("date and time") << of << "2019-05-03 14:20,LHR,JFK,BA117,British Airways,3451"_ba
                                   << u"2019-05-03|14:20|LHR|JFK|BA|117 British Airways 3451"_s;
    QTest::newRow("time with seconds, ISO form") << of << "2019-05-03T14:20:59,LHR,JFK,BA117,,"_ba
                                                 << u"2019-05-03|14:20|LHR|JFK|BA|117  0"_s;
    QTest::newRow("date without a time")
        << of << "2019-05-03,lhr,jfk,ba 7,,3451.4"_ba << u"2019-05-03||LHR|JFK|BA|007  3451"_s;
    QTest::newRow("year only") << of << "2019,LHR,JFK,BA117,,"_ba
                               << u"date not readable (\"2019\")"_s;
    QTest::newRow("not a day") << of << "2019-02-30,LHR,JFK,BA117,,"_ba
                               << u"date not readable (\"2019-02-30\")"_s;
    QTest::newRow("no date") << of << ",LHR,JFK,BA117,,"_ba << u"no date"_s;
    QTest::newRow("hour out of range")
        << of << "2019-05-03 25:10,LHR,JFK,BA117,,"_ba << u"time not readable (\"25:10\")"_s;
    QTest::newRow("ICAO-only airport")
        << of << "2019-05-03,EDXW,LHR,BA1,,"_ba << u"2019-05-03||EDXW|LHR|BA|001  0"_s;
    QTest::newRow("no departure airport")
        << of << "2019-05-03,,JFK,BA117,,"_ba << u"no departure airport"_s;
    QTest::newRow("no arrival airport")
        << of << "2019-05-03,LHR,,BA117,,"_ba << u"no arrival airport"_s;
    QTest::newRow("airport not a code")
        << of << "2019-05-03,London Heathrow,JFK,BA117,,"_ba
        << u"departure airport not readable (\"London Heathrow\")"_s;
    QTest::newRow("airline code from the number, not the name")
        << of << "2019-05-03,LHR,JFK,U21234,Air France,"_ba
        << u"2019-05-03||LHR|JFK|U2|1234 Air France 0"_s;
    QTest::newRow("digit first in the code")
        << of << "2019-05-03,LHR,JFK,9W0123,,"_ba << u"2019-05-03||LHR|JFK|9W|123  0"_s;
    QTest::newRow("ICAO prefix: airline by its name")
        << of << "2019-05-03,LHR,JFK,BAW117,British Airways,"_ba
        << u"2019-05-03||LHR|JFK|BA|117 British Airways 0"_s;
    QTest::newRow("no number: airline by its name, quoted with a comma")
        << of << "2019-05-03,LHR,CDG,,\"Air France\",\"1,000\""_ba
        << u"2019-05-03||LHR|CDG|AF|000 Air France 1000"_s;
    QTest::newRow("name not in the reference file")
        << of << "2019-05-03,LHR,CDG,,\"Sun Express, Inc\","_ba
        << u"airline not known (\"Sun Express, Inc\")"_s;
    QTest::newRow("no airline at all") << of << "2019-05-03,LHR,CDG,,,"_ba << u"no airline"_s;
    QTest::newRow("short record") << of << "2019-05-03,LHR"_ba << u"no arrival airport"_s;

    QTest::newRow("myFlightradar24")
        << fr
        << "2018-07-14,LH400,\"Frankfurt am Main / Frankfurt (FRA/EDDF)\",\"Paris (Orly) "
           "(ORY/LFPO)\",13:35:00,\"Lufthansa (LH/DLH)\""_ba
        << u"2018-07-14|13:35|FRA|ORY|LH|400 Lufthansa 0"_s;
    QTest::newRow("myFlightradar24: ICAO only, code from the number")
        << fr << "2018-07-14,EW9,\"Egelsbach (/EDXW)\",\"Paris (CDG/LFPG)\",,\"Eurowings\""_ba
        << u"2018-07-14||EDXW|CDG|EW|009 Eurowings 0"_s;
    QTest::newRow("myFlightradar24: dep time over the date's")
        << fr << "2018-07-14 08:00,LH400,(FRA/EDDF),(CDG/LFPG),9:05 PM,(LH/DLH)"_ba
        << u"2018-07-14|21:05|FRA|CDG|LH|400  0"_s;
    QTest::newRow("myFlightradar24: year and month")
        << fr << "2018-07,LH400,(FRA/EDDF),(CDG/LFPG),,(LH/DLH)"_ba
        << u"date not readable (\"2018-07\")"_s;
    QTest::newRow("myFlightradar24: no codes in the brackets")
        << fr << "2018-07-14,,(FRA/EDDF),\"Somewhere (/)\",,Private"_ba
        << u"arrival airport not readable (\"Somewhere (/)\")"_s;
    QTest::newRow("myFlightradar24: airline without an IATA code")
        << fr << "2018-07-14,,(FRA/EDDF),(CDG/LFPG),,\"Private (/PVT)\""_ba
        << u"airline not known (\"Private\")"_s;
    QTest::newRow("line break of a value shown as a blank in the reason")
        << fr << "2018-07-14,,(FRA/EDDF),(CDG/LFPG),,\"Somebody\r\nAir\""_ba
        << u"airline not known (\"Somebody  Air\")"_s;
    QTest::newRow("long value cut in the reason")
        << of << QByteArray("2019-05-03,") + QByteArray(60, 'x') + ",JFK,BA1,,"
        << u"departure airport not readable (\""_s + QString(40, u'x') + u"...\")"_s;
}

void TestPeerImport::flightOfARecord()
{
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, record);
    QFETCH(QString, expected);
    CsvRecordReader reader;
    QList<CsvRecord> records;
    reader.feed(QString::fromUtf8(header), 1, records);
    reader.feed(QString::fromUtf8(record), 2, records);
    QCOMPARE(records.size(), 2);
    AirlineCodesByName codes(*airlinesDef);
    const PeerFlight f = ReadPeerFlight(PeerColumnsOf(records[0].fields), records[1].fields, codes);
    const QString got =
        f.skipReason.isEmpty()
            ? QStringList{f.Date, f.Time, f.From, f.To, f.Airline, f.Flight}.join(u'|') + u' ' +
                  f.airlineName + u' ' + QString::number(f.miles)
            : f.skipReason;
    QCOMPARE(got, expected);
}

void TestPeerImport::openFlightsExport()
{
    const PeerImportResult r = import(kOpenFlightsFile);
    QVERIFY(r.result.ran);
    QVERIFY(r.result.ok);
    QCOMPARE(dump(doc->Flights),
             (QStringList{u"2019-05-03|14:20|LHR|JFK|BA|117"_s, u"2019-06-01||JFK|LHR|BA|000"_s,
                          u"2020-02-01||EDXW|LHR|XQ|123"_s}));
    // Names from the reference file, or from the export where the file lacks the code.
    QCOMPARE(dump(doc->Airlines),
             (QStringList{u"BA|British Airways#2"_s, u"XQ|Sun Express, Inc#1"_s}));
    QCOMPARE(dump(doc->Airports),
             (QStringList{u"LHR|Heathrow|London|United Kingdom#3"_s,
                          u"JFK|John F Kennedy Intl|New York|United States#2"_s, u"EDXW|||#1"_s}));
    // The export's distances fill the new rows.
    QCOMPARE(dump(doc->Distances), (QStringList{u"JFK|LHR|3451#2"_s, u"EDXW|LHR|500#1"_s}));
    // The line numbers are the file's, past the note that takes two lines.
    const QString summary = u"3 flight(s) imported, 0 already in the log, 3 line(s) skipped\n"
                            "Line 5: date not readable (\"2015\")\n"
                            "Line 7: no departure airport\n"
                            "Line 8: airline not known (\"Nowhere Air\")"_s;
    QCOMPARE(r.summary.text(), summary);
    QCOMPARE(host.summaries, QStringList{summary});
    QCOMPARE(r.result.counters.flights, 3);
    QVERIFY(doc->isModified());
    // The counts are those that reading the log would give.
    const QStringList airports = dump(doc->Airports);
    doc->countReferences();
    QCOMPARE(dump(doc->Airports), airports);
}

void TestPeerImport::flightradarExport()
{
    const PeerImportResult r = import(kFlightradarFile);
    QVERIFY(r.result.ok);
    QCOMPARE(dump(doc->Flights),
             (QStringList{u"2018-07-14|13:35|FRA|JFK|LH|400"_s, u"2018-09-01||EDXW|FRA|DE|000"_s}));
    QCOMPARE(dump(doc->Airlines), (QStringList{u"LH|Lufthansa#1"_s, u"DE|Condor#1"_s}));
    QCOMPARE(dump(doc->Airports),
             (QStringList{u"FRA|Frankfurt Main|Frankfurt|Germany#2"_s,
                          u"JFK|John F Kennedy Intl|New York|United States#1"_s, u"EDXW|||#1"_s}));
    QCOMPARE(dump(doc->Distances), (QStringList{u"FRA|JFK|0#1"_s, u"EDXW|FRA|0#1"_s}));
    QCOMPARE(host.summaries,
             QStringList{u"2 flight(s) imported, 0 already in the log, 2 line(s) skipped\n"
                         "Line 4: date not readable (\"2018\")\n"
                         "Line 5: date not readable (\"2018-08\")"_s});
}

void TestPeerImport::secondImportChangesNothing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("flights");
    QTest::addColumn<int>("skipped");
    QTest::newRow("OpenFlights") << kOpenFlightsFile << 3 << 3;
    QTest::newRow("myFlightradar24") << kFlightradarFile << 2 << 2;
}

void TestPeerImport::secondImportChangesNothing()
{
    QFETCH(QByteArray, file);
    QFETCH(int, flights);
    QFETCH(int, skipped);
    options.displayLatestFlightsFirst = true;
    options.sortAlphabeticalCodes = true;
    import(file);
    const QList<QStringList> before{dump(doc->Flights), dump(doc->Airlines), dump(doc->Airports),
                                    dump(doc->Distances)};
    doc->setModified(false);
    const PeerImportResult again = import(file);
    QCOMPARE(again.summary.imported, 0);
    QCOMPARE(again.summary.alreadyInLog, flights);
    QCOMPARE(again.summary.skipped, skipped);
    QCOMPARE((QList<QStringList>{dump(doc->Flights), dump(doc->Airlines), dump(doc->Airports),
                                 dump(doc->Distances)}),
             before);
    QVERIFY(!doc->isModified());
    QVERIFY(!ImportedPage(again.result.counters).has_value());
}

// The Import command, a drop and the recent list reach the importers through ImportFile: a
// .csv file goes to the peer importer by its header, every other one to the CSV importer.
void TestPeerImport::dispatchByHeader_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("flights");
    QTest::addColumn<int>("summaries");
    QTest::newRow("OpenFlights") << kOpenFlightsHeader + "\n2019-05-03,LHR,JFK,BA1,,,\n"
                                 << QStringList{u"2019-05-03||LHR|JFK|BA|001"_s} << 1;
    QTest::newRow("myFlightradar24 after an empty line")
        << "\n" + kFlightradarHeader + "\n2018-07-14,LH400,(FRA/EDDF),(JFK/KJFK),,(LH/DLH)\n"
        << QStringList{u"2018-07-14||FRA|JFK|LH|400"_s} << 1;
    QTest::newRow("the program's own CSV")
        << "Date,Time,From,To,Airline,Flight\n2021-03-04,09:05,JFK,LAX,AA,100\n"_ba
        << QStringList{u"2021-03-04|09:05|JFK|LAX|AA|100"_s} << 0;
}

void TestPeerImport::dispatchByHeader()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, flights);
    QFETCH(int, summaries);
    const ImportResult r =
        ImportFile(ImportKind::Csv, *doc, write(file), {*airlinesDef, *airportsDef}, options, host);
    QVERIFY(r.ok);
    QCOMPARE(dump(doc->Flights), flights);
    QCOMPARE(host.summaries.size(), summaries);
}

void TestPeerImport::skippedLinesListedUpToTen()
{
    QByteArray file = kOpenFlightsHeader + "\n";
    for (int i = 0; i < 12; ++i)
        file += "20" + QByteArray::number(10 + i) + ",LHR,JFK,BA1,,\n";
    file += "2019-05-03,LHR,JFK,BA1,,\n";
    const PeerImportResult r = import(file);
    QCOMPARE(r.summary.imported, 1);
    QCOMPARE(r.summary.skipped, 12);
    const QStringList lines = r.summary.text().split(u'\n');
    QCOMPARE(lines.size(), 1 + 10 + 1);
    QCOMPARE(lines.first(), u"1 flight(s) imported, 0 already in the log, 12 line(s) skipped"_s);
    QCOMPARE(lines[1], u"Line 2: date not readable (\"2010\")"_s);
    QCOMPARE(lines[10], u"Line 11: date not readable (\"2019\")"_s);
    QCOMPARE(lines.last(), u"(2 more skipped line(s) not listed)"_s);
}

// A quote that is never closed costs its own line; the lines after it are read.
void TestPeerImport::strayQuoteCostsOneLine_data()
{
    QTest::addColumn<int>("linesAfter");
    QTest::newRow("at the end of the file") << 3;
    QTest::newRow("more lines than one note can take") << 150;
}

void TestPeerImport::strayQuoteCostsOneLine()
{
    QFETCH(int, linesAfter);
    QByteArray file = kOpenFlightsHeader + "\n2019-05-03,LHR,JFK,BA1,\"British Airways,\n";
    for (int i = 0; i < linesAfter; ++i)
        file += "2019-05-04,LHR,JFK,BA" + QByteArray::number(i + 2) + ",,\n";
    const PeerImportResult r = import(file);
    QCOMPARE(r.summary.imported, linesAfter);
    QCOMPARE(r.summary.skipped, 1);
    QCOMPARE(r.summary.listed.first().line, 2);
    QCOMPARE(r.summary.listed.first().reason, u"quote not closed"_s);
    QCOMPARE(doc->Flights.cell(0, 5), u"002"_s);
    // Each line's progress step is taken once.
    QCOMPARE(host.steps, 2 + linesAfter);
}

// Without automatic filling only the rows already there count the flights; a distance the
// file gives still fills a row at 0 miles, an airline name a row without one.
void TestPeerImport::withoutAutomaticFilling()
{
    options.autoPopulateAirlines = false;
    options.autoPopulateAirports = false;
    options.autoPopulateDistances = false;
    doc->Airlines.appendRow({u"XQ"_s, u""_s});
    doc->Airports.appendRow({u"LHR"_s, u"Mine"_s, u""_s, u""_s});
    doc->Distances.appendRow({u"LHR"_s, u"JFK"_s, u"0"_s});
    doc->Distances.appendRow({u"EDXW"_s, u"LHR"_s, u"480"_s});
    import(kOpenFlightsFile);
    QCOMPARE(dump(doc->Airlines), QStringList{u"XQ|Sun Express, Inc#1"_s});
    QCOMPARE(dump(doc->Airports), QStringList{u"LHR|Mine||#3"_s});
    QCOMPARE(dump(doc->Distances), (QStringList{u"LHR|JFK|3451#2"_s, u"EDXW|LHR|480#1"_s}));
}

void TestPeerImport::stopKeepsWhatWasRead()
{
    // Stopped before line 4, halfway through the flight whose note takes two lines.
    host.stopBeforeLine = 3;
    const PeerImportResult r = import(kOpenFlightsFile);
    QVERIFY(r.result.stopped);
    QCOMPARE(r.summary.imported, 1);
    QCOMPARE(doc->Flights.count(), 1);
    QVERIFY(!host.processing);
    QCOMPARE(host.summaries.size(), 1);
    QVERIFY(host.summaries.first().startsWith(
        u"1 flight(s) imported, 0 already in the log, 0 line(s) skipped\n"_s));
    QVERIFY(host.summaries.first().endsWith(u"stopped before the end of the file."_s));
}

void TestPeerImport::unrecognisedHeaderIsAnError()
{
    const PeerImportResult r =
        import("Date,Time,From,To,Airline,Flight\n2021-03-04,09:05,JFK,LAX,AA,100\n"_ba);
    QVERIFY(!r.result.ok);
    QVERIFY(r.result.error.contains(u"export.csv"_s));
    QVERIFY(doc->isEmpty());
    QVERIFY(host.summaries.isEmpty());
    QVERIFY(host.calls.contains(u"endBusy"_s));
}

QTEST_GUILESS_MAIN(TestPeerImport)
#include "tst_peerimport.moc"
