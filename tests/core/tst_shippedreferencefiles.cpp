#include "components/AirportDefValue.h"
#include "components/LumFlatFile.h"
#include "components/TextFileReader.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The reference files that ship with the program: every line reads back as it was meant, and
// every country is one that the airport dialog offers.
class TestShippedReferenceFiles : public QObject
{
    Q_OBJECT

private:
    const QString m_data = QStringLiteral(WINGBOOK_SOURCE_DIR "/data/");
    QSet<QString> m_countries;

    void load(TLumFlatFile &table, const QString &fileName)
    {
        table.setFileName(m_data + fileName);
        QVERIFY2(table.Initialize(), qPrintable(table.LastError()));
        QVERIFY(table.Count() > 0);
    }

    // The lines that are not comments, as written in the file.
    QStringList dataLines(const QString &fileName)
    {
        const TextFileContent content = ReadTextFile(m_data + fileName);
        if (!content.ok)
            qFatal("%s", qPrintable(content.error));
        QStringList lines;
        for (const QString &line : content.lines) {
            if (!line.startsWith(u'#'))
                lines << line;
        }
        return lines;
    }

    // Every line must become the entry it was written as: the reader cuts at TAB and at "#" and
    // drops empty lines, so such a character in a name would silently change it.
    void checkEntriesMatchLines(const TLumFlatFile &table, const QString &fileName)
    {
        const QStringList lines = dataLines(fileName);
        QCOMPARE(table.Count(), lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            const QString written = table.GetValueByIndex(i) + u'\t' + table.GetValueDataByIndex(i);
            QCOMPARE(written, lines.at(i));
        }
    }

private slots:
    void countries()
    {
        const TextFileContent content = ReadTextFile(m_data + QStringLiteral("Countries.def"));
        QVERIFY2(content.ok, qPrintable(content.error));
        // Every line is a country: no comment, no blank line.
        for (const QString &country : content.lines) {
            QVERIFY2(!country.isEmpty() && country == country.trimmed(), qPrintable(country));
            // An airport value cannot carry a country whose name holds a comma.
            QVERIFY2(!country.contains(u','), qPrintable(country));
            QVERIFY2(!m_countries.contains(country), qPrintable(country));
            m_countries.insert(country);
        }
        // Countries that the airports need, and spellings that are not plain ASCII.
        for (const char *country :
             {"Åland Islands", "Côte d'Ivoire", "Réunion", "Saint Barthélemy", "South Korea",
              "North Korea", "Iran", "Tanzania", "Denmark", "Romania", "United States", "Zimbabwe"})
            QVERIFY2(m_countries.contains(QString::fromUtf8(country)), country);
    }

    void airportsReadBackAsWritten()
    {
        QVERIFY(!m_countries.isEmpty());
        TLumFlatFile airports;
        load(airports, QStringLiteral("Airports.def"));
        checkEntriesMatchLines(airports, QStringLiteral("Airports.def"));

        static const QRegularExpression codeFormat(QStringLiteral("^[A-Z]{3}$"));
        QSet<QString> airportCountries;
        for (int i = 0; i < airports.Count(); ++i) {
            const QString code = airports.GetValueByIndex(i);
            const QString value = airports.GetValueDataByIndex(i);
            const QString line = code + u'\t' + value;
            QVERIFY2(codeFormat.match(code).hasMatch(), qPrintable(line));
            QVERIFY2(value.count(u'|') == 1, qPrintable(line));

            // The value as the generator meant it: name "|" city ", " country, with no comma
            // in name or city, and a country of the list.
            const QString name = value.section(u'|', 0, 0);
            const QString place = value.section(u'|', 1);
            const qsizetype cut = place.indexOf(QStringLiteral(", "));
            QVERIFY2(cut > 0, qPrintable(line));
            const QString city = place.first(cut);
            const QString country = place.sliced(cut + 2);
            QVERIFY2(!name.isEmpty() && !name.contains(u','), qPrintable(line));
            QVERIFY2(!city.contains(u','), qPrintable(line));
            QVERIFY2(m_countries.contains(country), qPrintable(line));
            airportCountries.insert(country);

            QCOMPARE(ExtractAirportNameDEF(value), name);
            QCOMPARE(ExtractAirportCityDEF(value), city);
            QCOMPARE(ExtractAirportCountryDEF(value), country);
        }
        // The list has one name per country: no country of the airports is spelled twice
        // (the source's "Burma" and "Myanmar" are one country).
        QVERIFY(!airportCountries.contains(QStringLiteral("Burma")));
    }

    void knownAirports_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("country");

        QTest::newRow("JFK") << "JFK"
                             << "John F Kennedy Intl"
                             << "New York"
                             << "United States";
        QTest::newRow("CDG") << "CDG"
                             << "Charles De Gaulle"
                             << "Paris"
                             << "France";
        QTest::newRow("renamed country") << "LED"
                                         << "Pulkovo"
                                         << "St. Petersburg"
                                         << "Russian Federation";
        QTest::newRow("accented country") << "RUN"
                                          << "St Denis Gillot"
                                          << "St.-denis" << QStringLiteral("Réunion");
        QTest::newRow("comma in city replaced") << "DSA"
                                                << "Robin Hood Doncaster Sheffield Airport"
                                                << "Doncaster - Sheffield"
                                                << "United Kingdom";
        QTest::newRow("short form of a name with a comma") << "ICN"
                                                           << "Incheon Intl"
                                                           << "Seoul"
                                                           << "South Korea";
        QTest::newRow("country the earlier list lacked") << "CPH"
                                                         << "Kastrup"
                                                         << "Copenhagen"
                                                         << "Denmark";
        QTest::newRow("source's other name of a country") << "MDL"
                                                          << "Mandalay Intl"
                                                          << "Mandalay"
                                                          << "Myanmar";
        QTest::newRow("source's bare Korea") << "FNJ"
                                             << "Pyongyang Intl"
                                             << "Pyongyang"
                                             << "North Korea";
        QTest::newRow("repaired double-encoded name")
            << "RBR" << QStringLiteral("Plácido de Castro") << "Rio Branco"
            << "Brazil";
    }

    void knownAirports()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, city);
        QFETCH(QString, country);
        TLumFlatFile airports;
        load(airports, QStringLiteral("Airports.def"));
        const QString value = airports.GetValueData(code);
        QCOMPARE(ExtractAirportNameDEF(value), name);
        QCOMPARE(ExtractAirportCityDEF(value), city);
        QCOMPARE(ExtractAirportCountryDEF(value), country);
    }

    void airlinesReadBackAsWritten()
    {
        TLumFlatFile airlines;
        load(airlines, QStringLiteral("Airlines.def"));
        checkEntriesMatchLines(airlines, QStringLiteral("Airlines.def"));

        static const QRegularExpression codeFormat(QStringLiteral("^[A-Z0-9]{2}$"));
        QSet<QString> lines;
        for (int i = 0; i < airlines.Count(); ++i) {
            const QString code = airlines.GetValueByIndex(i);
            const QString name = airlines.GetValueDataByIndex(i);
            const QString line = code + u'\t' + name;
            QVERIFY2(codeFormat.match(code).hasMatch(), qPrintable(line));
            QVERIFY2(!name.isEmpty() && name == name.trimmed(), qPrintable(line));
            QVERIFY2(!lines.contains(line), qPrintable(line));
            lines.insert(line);
        }
    }

    void knownAirlines_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");

        QTest::newRow("BA") << "BA"
                            << "British Airways";
        QTest::newRow("AA") << "AA"
                            << "American Airlines";
        QTest::newRow("two active: the first of the source") << "LH"
                                                             << "Lufthansa";
        // Codes that an inactive airline held before the active one.
        QTest::newRow("active before inactive YT") << "YT"
                                                   << "Yeti Airways";
        QTest::newRow("active before inactive KI") << "KI"
                                                   << "Adam Air";
        QTest::newRow("active before two inactive Z7") << "Z7"
                                                       << "REDjet";
        QTest::newRow("digit in code") << "0B"
                                       << "Blue Air";
    }

    void knownAirlines()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        TLumFlatFile airlines;
        load(airlines, QStringLiteral("Airlines.def"));
        QCOMPARE(airlines.GetValueData(code), name);
    }
};

QTEST_GUILESS_MAIN(TestShippedReferenceFiles)
#include "tst_shippedreferencefiles.moc"
