#include "components/LumFlatFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The bytes of a string literal, NUL characters included.
template <qsizetype N> QByteArray bytesOf(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

// The reference lookup: reading a table file, the lookups, the searches and writing it back.
class TestFlatFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNumber = 0;

    QString writeFile(const QByteArray &bytes)
    {
        const QString name = m_dir.filePath(QStringLiteral("table%1.def").arg(++m_fileNumber));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file %s", qPrintable(name));
        return name;
    }

    // A table initialised from the given file contents, TAB-separated unless told otherwise.
    void load(TLumFlatFile &table, const QByteArray &bytes,
              const QString &separator = QStringLiteral("\t"))
    {
        table.setSeparator(separator);
        table.setFileName(writeFile(bytes));
        QVERIFY2(table.Initialize(), qPrintable(table.LastError()));
    }

    QStringList entries(const TLumFlatFile &table)
    {
        QStringList result;
        for (int i = 0; i < table.Count(); ++i)
            result << table.GetValueByIndex(i) + u'=' + table.GetValueDataByIndex(i);
        return result;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void readsLines_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("expected"); // key=value per entry, in order

        const QString tab = QStringLiteral("\t");
        QTest::newRow("comment line skipped")
            << QByteArray("#XX\tHidden\nAB\tAlpha\n") << tab << QStringList{"AB=Alpha"};
        QTest::newRow("# at end of key is kept")
            << QByteArray("AB#\tAlpha\n") << tab << QStringList{"AB#=Alpha"};
        QTest::newRow("two TABs count as one")
            << QByteArray("AB\t\tAlpha\n") << tab << QStringList{"AB=Alpha"};
        QTest::newRow("leading TAB: name becomes the key")
            << QByteArray("\tAlpha\n") << tab << QStringList{"Alpha="};
        QTest::newRow("third piece ignored")
            << QByteArray("AB\tAlpha\tMore text\n") << tab << QStringList{"AB=Alpha"};
        QTest::newRow("blank before TAB stays in key")
            << QByteArray("AB \tAlpha\n") << tab << QStringList{"AB =Alpha"};
        QTest::newRow("comment after value keeps trailing blank")
            << QByteArray("AB\tAlpha #comment\n") << tab << QStringList{"AB=Alpha "};
        QTest::newRow("value only #: entry with empty value")
            << QByteArray("AB\t###\nCD\tGamma\n") << tab << QStringList{"AB=", "CD=Gamma"};
        QTest::newRow("line of separators only skipped")
            << QByteArray("\t\t\t\nAB\tAlpha\n") << tab << QStringList{"AB=Alpha"};
        QTest::newRow("line of # only skipped")
            << QByteArray("#\n###\nAB\tAlpha\n") << tab << QStringList{"AB=Alpha"};
        QTest::newRow("empty lines skipped")
            << QByteArray("\n\nAB\tAlpha\n\n") << tab << QStringList{"AB=Alpha"};
        QTest::newRow("blanks and case kept")
            << QByteArray(" ab \t Alpha Beta \n") << tab << QStringList{" ab = Alpha Beta "};
        QTest::newRow("CR, LF and CR LF line ends")
            << QByteArray("AB\tAlpha\rCD\tBeta\r\nEF\tGamma\nGH\tDelta") << tab
            << QStringList{"AB=Alpha", "CD=Beta", "EF=Gamma", "GH=Delta"};
        QTest::newRow("duplicate keys all kept in order")
            << QByteArray("AB\tFirst\nAB\tSecond\n") << tab << QStringList{"AB=First", "AB=Second"};
        QTest::newRow("other separator: value cut at # then at TAB")
            << QByteArray("AB;Alpha\tExtra #c\n") << QStringLiteral(";") << QStringList{"AB=Alpha"};
        QTest::newRow("separator of several characters")
            << QByteArray("AB::Alpha::::Beta\n") << QStringLiteral("::") << QStringList{"AB=Alpha"};
        QTest::newRow("empty file") << QByteArray() << tab << QStringList{};
    }

    void readsLines()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, separator);
        QFETCH(QStringList, expected);
        TLumFlatFile table;
        load(table, contents, separator);
        QCOMPARE(entries(table), expected);
        QCOMPARE(table.Count(), expected.size());
        QStringList keys;
        for (const QString &entry : expected)
            keys << entry.section(u'=', 0, 0);
        QCOMPARE(table.StringList(), keys);
    }

    void getValueData_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        QTest::newRow("found") << QByteArray("AB\tAlpha\nCD\tBeta\n") << "CD"
                               << "Beta";
        QTest::newRow("first of duplicate keys") << QByteArray("AB\tFirst\nAB\tSecond\n") << "AB"
                                                 << "First";
        QTest::newRow("lower-case key not found by upper case") << QByteArray("ab\tAlpha\n") << "AB"
                                                                << "";
        QTest::newRow("key with blank not found without it") << QByteArray("AB \tAlpha\n") << "AB"
                                                             << "";
        QTest::newRow("comment line's code not found") << QByteArray("#AB\tAlpha\n") << "#AB"
                                                       << "";
        QTest::newRow("absent code") << QByteArray("AB\tAlpha\n") << "ZZ"
                                     << "";
        QTest::newRow("empty code") << QByteArray("AB\tAlpha\n") << ""
                                    << "";
    }

    void getValueData()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TLumFlatFile table;
        load(table, contents);
        QCOMPARE(table.GetValueData(key), expected);
    }

    void count()
    {
        TLumFlatFile table;
        QCOMPARE(table.Count(), -1);
        QCOMPARE(table.GetValueData(QStringLiteral("AB")), QString());

        table.setFileName(m_dir.filePath(QStringLiteral("missing.def")));
        QVERIFY(table.Initialize());
        QCOMPARE(table.Count(), 0);
        QVERIFY(table.LastError().isEmpty());
        QCOMPARE(table.GetValueByIndex(0), QString());
    }

    void initializeReplacesEntries()
    {
        TLumFlatFile table;
        load(table, "AB\tAlpha\nCD\tBeta\n");
        table.setFileName(writeFile("EF\tGamma\n"));
        QVERIFY(table.Initialize());
        QCOMPARE(entries(table), QStringList{"EF=Gamma"});
        QCOMPARE(table.StringList(), QStringList{"EF"});
        QCOMPARE(table.GetValueData(QStringLiteral("AB")), QString());
    }

    void unreadableFileIsAnError()
    {
        // A folder stands for a file that exists but cannot be read.
        const QString name = m_dir.filePath(QStringLiteral("Airlines.def"));
        QVERIFY(QDir().mkpath(name));
        TLumFlatFile table;
        load(table, "AB\tAlpha\n");
        table.setFileName(name);
        QVERIFY(!table.Initialize());
        QVERIFY2(table.LastError().contains(name), qPrintable(table.LastError()));
        QCOMPARE(table.Count(), 0);
        QCOMPARE(table.GetValueData(QStringLiteral("AB")), QString());
    }

    void byIndex()
    {
        TLumFlatFile table;
        load(table, "AB\tAlpha\nCD\tBeta\n");
        QCOMPARE(table.GetValueByIndex(1), QStringLiteral("CD"));
        QCOMPARE(table.GetValueDataByIndex(0), QStringLiteral("Alpha"));
        for (int index : {-1, table.Count(), 1000}) {
            QCOMPARE(table.GetValueByIndex(index), QString());
            QCOMPARE(table.GetValueDataByIndex(index), QString());
        }
    }

    void getValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        // Table: AB=Air Beta, CD=Beta, EF=Beta Gamma, GH=beta
        QTest::newRow("exact match preferred over earlier substring") << "Beta"
                                                                      << "CD";
        QTest::newRow("substring when no exact match") << "Gam"
                                                       << "EF";
        QTest::newRow("first substring match") << "eta"
                                               << "AB";
        QTest::newRow("case-sensitive") << "BETA"
                                        << "";
        QTest::newRow("absent") << "Delta"
                                << "";
    }

    void getValue()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        TLumFlatFile table;
        load(table, "AB\tAir Beta\nCD\tBeta\nEF\tBeta Gamma\nGH\tbeta\n");
        QCOMPARE(table.GetValue(value), expected);
    }

    void wildcard_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");
        // Table: AB*=Any AB, ABC=Exact ABC, X*Z=X any Z, A*=Short
        QTest::newRow("wildcard in stored key") << "ABD"
                                                << "Any AB";
        QTest::newRow("first matching entry wins") << "ABC"
                                                   << "Any AB";
        QTest::newRow("wildcard in the middle") << "XYZ"
                                                << "X any Z";
        QTest::newRow("length must be equal") << "ABCD"
                                              << "";
        QTest::newRow("two characters") << "AQ"
                                        << "Short";
        QTest::newRow("* in query matches only * or wildcard") << "*BC"
                                                               << "";
        QTest::newRow("* in query against stored *") << "AB*"
                                                     << "Any AB";
        QTest::newRow("no match") << "QQQ"
                                  << "";
        QTest::newRow("empty query") << ""
                                     << "";
    }

    void wildcard()
    {
        QFETCH(QString, query);
        QFETCH(QString, expected);
        TLumFlatFile table;
        load(table, "AB*\tAny AB\nABC\tExact ABC\nX*Z\tX any Z\nA*\tShort\n");
        QCOMPARE(table.GetValueDataWildcard(query), expected);
    }

    void otherWildcardCharacter()
    {
        TLumFlatFile table;
        table.setWildcard(u'?');
        load(table, "AB*\tStar\nAB?\tQuestion\n");
        QCOMPARE(table.GetValueDataWildcard(QStringLiteral("ABX")), QStringLiteral("Question"));
    }

    void search_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("overKeys");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<int>>("indexes");
        // Table: LH=Lufthansa, BA=British Airways, lh=Lufthansa Cargo, AF=Air France,
        //        ZZ=Élan Air
        QTest::newRow("values, caseless by default")
            << "lufthansa" << false << false << QStringList{"LH", "lh"} << QList<int>{0, 2};
        QTest::newRow("values, case-sensitive")
            << "lufthansa" << true << false << QStringList{} << QList<int>{};
        QTest::newRow("values, unanchored, entry order")
            << "air" << false << false << QStringList{"BA", "AF", "ZZ"} << QList<int>{1, 3, 4};
        QTest::newRow("values, anchored on request")
            << "^Air" << true << false << QStringList{"AF"} << QList<int>{3};
        QTest::newRow("values, caseless beyond ASCII")
            << "éLAN" << false << false << QStringList{"ZZ"} << QList<int>{4};
        QTest::newRow("values, Perl syntax") << "\\bcargo$|^brit\\w+\\s" << false << false
                                             << QStringList{"BA", "lh"} << QList<int>{1, 2};
        QTest::newRow("keys, caseless returns values")
            << "^LH$" << false << true << QStringList{"Lufthansa", "Lufthansa Cargo"}
            << QList<int>{0, 2};
        QTest::newRow("keys, case-sensitive")
            << "^LH$" << true << true << QStringList{"Lufthansa"} << QList<int>{0};
        QTest::newRow("invalid pattern finds nothing")
            << "(unclosed" << false << false << QStringList{} << QList<int>{};
        QTest::newRow("empty pattern finds nothing")
            << "" << false << false << QStringList{} << QList<int>{};
        QTest::newRow("pattern with NUL character")
            << QString(QChar(0)) << false << false << QStringList{} << QList<int>{};
    }

    void search()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, overKeys);
        QFETCH(QStringList, expected);
        QFETCH(QList<int>, indexes);
        TLumFlatFile table;
        load(table, "LH\tLufthansa\nBA\tBritish Airways\nlh\tLufthansa Cargo\nAF\tAir "
                    "France\nZZ\t\xC3\x89lan Air\n");
        // A previous search's results must not survive.
        table.SearchValueData(QStringLiteral("."), false);
        const int found = overKeys ? table.SearchValue(pattern, caseSensitive)
                                   : table.SearchValueData(pattern, caseSensitive);
        QCOMPARE(found, expected.size());
        QCOMPARE(table.SearchResults(), expected);
        QCOMPARE(table.SearchResultIndexes(), indexes);
        QCOMPARE(table.SearchError().isEmpty(), pattern != QLatin1String("(unclosed"));
        QCOMPARE(table.SearchStatus(), pattern == QLatin1String("(unclosed")
                                           ? TLumFlatFile::ssInvalidPattern
                                           : TLumFlatFile::ssDone);
    }

    void searchEmptyTable()
    {
        TLumFlatFile table;
        QCOMPARE(table.SearchValueData(QStringLiteral("."), false), 0);
        load(table, "# only a comment\n");
        QCOMPARE(table.SearchValue(QStringLiteral("."), false), 0);
        QVERIFY(table.SearchResults().isEmpty());
    }

    void searchSurvivesHostileInput()
    {
        // A lone surrogate in the data, and a pattern that backtracks exponentially.
        QByteArray contents = "AB\t";
        contents += QByteArray(40, 'a') + "!\n";
        TLumFlatFile table;
        load(table, contents);
        QVERIFY(table.AddVolatileData(QStringLiteral("CD"), QString(QChar(0xD800)) + "abc", false));

        QCOMPARE(table.SearchValueData(QStringLiteral("abc"), false), 1);
        QCOMPARE(table.SearchResults(), QStringList{"CD"});

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(table.SearchValueData(QStringLiteral("(a+)+$"), false), 0);
        QVERIFY2(timer.elapsed() < 10000, "the search must give up, not hang");
        QCOMPARE(table.SearchError(), QStringLiteral("The pattern is too complex."));
    }

    // Over the shipped airports: a pattern that backtracks without end is reported as too
    // complex instead of finding nothing; every other pattern finds what a plain scan finds.
    void searchBudgetOverShippedAirports_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("tooComplex");
        QTest::newRow("nested repetition of words") << "^(\\w+\\s?)*$" << true;
        QTest::newRow("nested repetition of letters") << "^([a-z]+)*\\|" << true;
        QTest::newRow("alternation that overlaps") << "^(a|a?)+$" << false;
        QTest::newRow("plain text") << "Intl" << false;
        QTest::newRow("several wildcards") << ".*a.*e.*i.*o.*u" << false;
        QTest::newRow("city and country") << "\\|[^,]+, (France|Germany)$" << false;
        QTest::newRow("backreference") << "\\b(\\w)\\w*\\s+\\1" << false;
        QTest::newRow("lookahead") << "^(?=.*Air)(?!.*Base).*Intl" << false;
    }
    void searchBudgetOverShippedAirports()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, tooComplex);
        TLumFlatFile table;
        table.setFileName(QStringLiteral(WINGBOOK_SOURCE_DIR "/data/Airports.def"));
        QVERIFY(table.Initialize());
        QVERIFY(table.Count() > 5000);

        QElapsedTimer timer;
        timer.start();
        const int found = table.SearchValueData(pattern, false);
        const qint64 elapsed = timer.elapsed();
        if (tooComplex) {
            QCOMPARE(table.SearchStatus(), TLumFlatFile::ssTooComplex);
            QCOMPARE(table.SearchError(), QStringLiteral("The pattern is too complex."));
            QCOMPARE(found, 0);
            QVERIFY(table.SearchResults().isEmpty());
            // Generous for a loaded machine and a sanitised build; unbounded it takes minutes.
            QVERIFY2(elapsed < 20000, qPrintable(QString::number(elapsed)));
            return;
        }
        const QRegularExpression scan(pattern, QRegularExpression::CaseInsensitiveOption |
                                                   QRegularExpression::UseUnicodePropertiesOption);
        QList<int> expected;
        for (int i = 0; i < table.Count(); ++i) {
            if (scan.match(table.GetValueDataByIndex(i)).hasMatch())
                expected.append(i);
        }
        QCOMPARE(table.SearchStatus(), TLumFlatFile::ssDone);
        QVERIFY(table.SearchError().isEmpty());
        QCOMPARE(table.SearchResultIndexes(), expected);
        QCOMPARE(found, int(expected.size()));
    }

    void addVolatileData()
    {
        TLumFlatFile table;
        load(table, "AB\tFirst\nCD\tBeta\nAB\tSecond\n");

        QVERIFY(!table.AddVolatileData(QString(), QStringLiteral("Nothing"), true));
        QCOMPARE(table.Count(), 3);

        QVERIFY(!table.AddVolatileData(QStringLiteral("AB"), QStringLiteral("Other"), false));
        QCOMPARE(table.GetValueData(QStringLiteral("AB")), QStringLiteral("First"));

        // Override changes the first entry of the key, the one that lookups return.
        QVERIFY(table.AddVolatileData(QStringLiteral("AB"), QStringLiteral("Other"), true));
        QCOMPARE(entries(table), (QStringList{"AB=Other", "CD=Beta", "AB=Second"}));

        QVERIFY(table.AddVolatileData(QStringLiteral("EF"), QStringLiteral("Gamma"), false));
        QCOMPARE(table.Count(), 4);
        QCOMPARE(table.StringList(), (QStringList{"AB", "CD", "AB", "EF"}));
        QCOMPARE(table.GetValueData(QStringLiteral("EF")), QStringLiteral("Gamma"));
        QCOMPARE(table.GetValueByIndex(3), QStringLiteral("EF"));

        QVERIFY(table.AddVolatileData(QStringLiteral("EF"), QStringLiteral("Delta"), true));
        QCOMPARE(table.GetValueData(QStringLiteral("EF")), QStringLiteral("Delta"));
        QCOMPARE(table.Count(), 4);
    }

    void addBeforeInitializeCountsTheEntry()
    {
        TLumFlatFile table;
        QVERIFY(table.AddVolatileData(QStringLiteral("AB"), QStringLiteral("Alpha"), false));
        QCOMPARE(table.Count(), 1);
        QCOMPARE(table.GetValueData(QStringLiteral("AB")), QStringLiteral("Alpha"));
    }

    void persistRoundTrip()
    {
        TLumFlatFile table;
        load(table, "# comment\nAB;Alpha\n\nCD;Beta #note\nAB;Again\n", QStringLiteral(";"));
        QVERIFY(table.AddVolatileData(QStringLiteral("ÉF"), QStringLiteral("Gämma"), false));
        QVERIFY(table.Persist());

        QFile file(table.FileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QStringLiteral("AB;Alpha\nCD;Beta \nAB;Again\nÉF;Gämma\n"));

        TLumFlatFile reread;
        reread.setSeparator(QStringLiteral(";"));
        reread.setFileName(table.FileName());
        QVERIFY(reread.Initialize());
        QCOMPARE(entries(reread), entries(table));
    }

    void persistWithoutTargetOrEntries()
    {
        TLumFlatFile unnamed;
        QVERIFY(unnamed.AddVolatileData(QStringLiteral("AB"), QStringLiteral("Alpha"), false));
        QVERIFY(unnamed.Persist()); // no file name: nothing to do

        const QByteArray original = "# only comments\n\n";
        TLumFlatFile empty;
        load(empty, original);
        QVERIFY(empty.Persist());
        QFile file(empty.FileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), original);
    }

    void persistFailureIsReported()
    {
        TLumFlatFile table;
        table.setFileName(m_dir.filePath(QStringLiteral("no such folder/table.def")));
        QVERIFY(table.AddVolatileData(QStringLiteral("AB"), QStringLiteral("Alpha"), false));
        QVERIFY(!table.Persist());
        QVERIFY2(table.LastError().contains(table.FileName()), qPrintable(table.LastError()));
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");

        const QByteArray hugeName(20 * 1024 * 1024, 'N');
        QTest::newRow("huge line") << QByteArray("AB\t" + hugeName + "\nCD\tBeta\n") << "CD"
                                   << "Beta" << 2;
        QTest::newRow("invalid UTF-8 read as Windows-1252")
            << QByteArray("AB\tCaf\xE9 \x80\nCD\t\xC3\n") << "AB" << QStringLiteral("Café €") << 2;
        QTest::newRow("UTF-16 with odd number of bytes")
            << bytesOf("\xFF\xFE"
                       "A\0B\0\t\0Z\0\n\0C\0D\0\t\0Y\0\n")
            << "CD"
            << "Y" << 2;
        QTest::newRow("binary junk")
            << bytesOf("\0\x01\xFF\xFE\t\0\r\n\x80#\t\t\0\nAB\tOK\n") << "AB"
            << "OK" << 3;
    }

    void badFiles()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QFETCH(int, count);
        TLumFlatFile table;
        load(table, contents);
        QCOMPARE(table.Count(), count);
        QCOMPARE(table.GetValueData(key), expected);
    }
};

QTEST_GUILESS_MAIN(TestFlatFile)
#include "tst_flatfile.moc"
