#include "model/CellCompare.h"

#include <QTest>

// Cell comparison under chosen regional settings: dates, times, numbers, dotted numbers, text.
class TestCellCompare : public QObject
{
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void readsDateTimeOnlyInItsShapes_data();
    void readsDateTimeOnlyInItsShapes();
};

static RegionalSettings us()
{
    return RegionalSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

static RegionalSettings germany()
{
    return RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
}

void TestCellCompare::compare_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");

    QTest::newRow("numbers, not text") << "us"
                                       << "25"
                                       << "100" << -1;
    QTest::newRow("negative and exponent") << "us"
                                           << "-1e3"
                                           << " 5" << -1;
    QTest::newRow("thousands separator") << "us"
                                         << "1,234"
                                         << "999" << 1;
    QTest::newRow("german decimal comma") << "de"
                                          << "2,5"
                                          << "10" << -1;
    QTest::newRow("german thousands dot") << "de"
                                          << "1.234,5"
                                          << "999" << 1;
    QTest::newRow("dotted numbers") << "us"
                                    << "9.0.0.1"
                                    << "10.0.0.1" << -1;
    QTest::newRow("dotted, last group unchecked") << "us"
                                                  << "1.2.3.999"
                                                  << "1.2.4.0" << -1;
    QTest::newRow("dotted group above 255 is text") << "us"
                                                    << "1.2.300.4"
                                                    << "1.2.30.4" << 1;
    QTest::newRow("empty dotted group fails as equal") << "us"
                                                       << "1..23.45"
                                                       << "zzz" << 0;
    QTest::newRow("times ascend") << "us"
                                  << "7:45"
                                  << "19:10" << -1;
    QTest::newRow("midnight is text") << "us"
                                      << "00:00"
                                      << "07:45" << -1;
    QTest::newRow("us dates month first") << "us"
                                          << "3/4/2021"
                                          << "4/3/2021" << -1;
    QTest::newRow("german dates day first") << "de"
                                            << "03.04.2021"
                                            << "04.03.2021" << 1;
    QTest::newRow("date and time") << "us"
                                   << "3/4/2021 10:00"
                                   << "3/4/2021 9:00" << 1;
    QTest::newRow("log dates under us are text") << "us"
                                                 << "2023-01-05"
                                                 << "2023-01-04" << 1;
    QTest::newRow("text ignores case") << "us"
                                       << "abc"
                                       << "ABC" << 0;
    QTest::newRow("text in locale order") << "us"
                                          << "apple"
                                          << "Banana" << -1;
    QTest::newRow("empty text before letters") << "us"
                                               << ""
                                               << "a" << -1;
}

void TestCellCompare::compare()
{
    QFETCH(QString, locale);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const RegionalSettings regional = locale == QLatin1String("de") ? germany() : us();
    const int result = CompareCellTexts(a, b, regional);
    QCOMPARE((result > 0) - (result < 0), sign);
    const int reverse = CompareCellTexts(b, a, regional);
    QCOMPARE((reverse > 0) - (reverse < 0), -sign);
}

void TestCellCompare::readsDateTimeOnlyInItsShapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isDateTime");
    QTest::newRow("date") << "12/31/1999" << true;
    QTest::newRow("two-digit year") << "1/2/03" << true;
    QTest::newRow("date too long") << "12/31/19999" << false;
    QTest::newRow("invalid day") << "2/30/2020" << false;
    QTest::newRow("time") << "23:59" << true;
    QTest::newRow("time with seconds") << "23:59:59" << true;
    QTest::newRow("12-hour time") << "1:30 PM" << true;
    QTest::newRow("hour out of range") << "24:00" << false;
    QTest::newRow("zero time") << "0:00" << false;
    QTest::newRow("date and time") << "1/2/2003 4:05" << true;
    QTest::newRow("plain number") << "1234" << false;
}

void TestCellCompare::readsDateTimeOnlyInItsShapes()
{
    QFETCH(QString, text);
    QFETCH(bool, isDateTime);
    QCOMPARE(ReadCellDateTime(text, us()).has_value(), isDateTime);
}

QTEST_GUILESS_MAIN(TestCellCompare)
#include "tst_cellcompare.moc"
