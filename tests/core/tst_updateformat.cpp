// Sizes, percentages and times of the update notification and download windows.
#include "components/UpdateFormat.h"

#include <QTest>

using Unit = TLumAppUpdateFileSizeUnit;
Q_DECLARE_METATYPE(TLumAppUpdateFileSizeUnit)

namespace
{
const QLocale kComma(QLocale::English, QLocale::UnitedStates);
}

class TestUpdateFormat : public QObject
{
    Q_OBJECT

private slots:
    void fileSize_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QString>("text");
        const qint64 kb = 1024, mb = kb * kb, gb = mb * kb;
        QTest::newRow("auto zero") << qint64(0) << Unit::Auto << "0 B";
        QTest::newRow("auto one byte") << qint64(1) << Unit::Auto << "1 B";
        QTest::newRow("auto 1024 still bytes") << kb << Unit::Auto << "1,024 B";
        QTest::newRow("auto 1025 kilobytes") << kb + 1 << Unit::Auto << "1 KB";
        QTest::newRow("auto 1 MB still KB") << mb << Unit::Auto << "1,024 KB";
        QTest::newRow("auto above 1 MB") << mb + 1 << Unit::Auto << "1 MB";
        QTest::newRow("auto 1 GB still MB") << gb << Unit::Auto << "1,024 MB";
        QTest::newRow("auto above 1 GB") << 5 * gb << Unit::Auto << "5 GB";
        QTest::newRow("bytes zero") << qint64(0) << Unit::Bytes << "0 B";
        QTest::newRow("bytes grouped") << qint64(1234567) << Unit::Bytes << "1,234,567 B";
        QTest::newRow("kilo zero") << qint64(0) << Unit::KiloBytes << "0 KB";
        QTest::newRow("kilo one byte") << qint64(1) << Unit::KiloBytes << "1 KB";
        QTest::newRow("kilo 1023") << qint64(1023) << Unit::KiloBytes << "1 KB";
        QTest::newRow("kilo 1536 drops the rest") << qint64(1536) << Unit::KiloBytes << "1 KB";
        QTest::newRow("kilo 4 MB") << qint64(4194304) << Unit::KiloBytes << "4,096 KB";
        QTest::newRow("mega zero") << qint64(0) << Unit::MegaBytes << "0 MB";
        QTest::newRow("mega below one") << mb - 1 << Unit::MegaBytes << "1 MB";
        QTest::newRow("mega 2.5") << 5 * mb / 2 << Unit::MegaBytes << "2 MB";
        QTest::newRow("giga zero") << qint64(0) << Unit::GigaBytes << "0 GB";
        QTest::newRow("giga below one") << gb - 1 << Unit::GigaBytes << "1 GB";
        QTest::newRow("giga 3000") << 3000 * gb << Unit::GigaBytes << "3,000 GB";
        QTest::newRow("negative is zero") << qint64(-5) << Unit::Auto << "0 B";
    }
    void fileSize()
    {
        QFETCH(qint64, bytes);
        QFETCH(Unit, unit);
        QFETCH(QString, text);
        QCOMPARE(FormatFileSize(bytes, unit, kComma), text);
    }

    void fileSizeUsesTheLocaleSeparator()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(FormatFileSize(4194304, Unit::KiloBytes, german), QStringLiteral("4.096 KB"));
    }

    void percentage_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<qint64>("percent");
        QTest::newRow("nothing expected") << qint64(10) << qint64(0) << qint64(0);
        QTest::newRow("quarter") << qint64(1048576) << qint64(4194304) << qint64(25);
        QTest::newRow("rounds down") << qint64(1) << qint64(3) << qint64(33);
        QTest::newRow("rounds up") << qint64(2) << qint64(3) << qint64(67);
        QTest::newRow("half to even, down") << qint64(1) << qint64(200) << qint64(0);
        QTest::newRow("half to even, up") << qint64(3) << qint64(200) << qint64(2);
        QTest::newRow("half to even, 12.5") << qint64(1) << qint64(8) << qint64(12);
        QTest::newRow("half to even, 37.5") << qint64(3) << qint64(8) << qint64(38);
        QTest::newRow("past the whole") << qint64(6291456) << qint64(4194304) << qint64(150);
        QTest::newRow("counts beyond 64-bit products")
            << qint64(9000000000000000000LL) << qint64(9000000000000000000LL) << qint64(100);
    }
    void percentage()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, expected);
        QFETCH(qint64, percent);
        QCOMPARE(transferPercentage(received, expected), percent);
    }

    void transferLines_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<QString>("line");
        QTest::newRow("before anything came")
            << qint64(0) << qint64(4194304) << "0 KB of 4,096 KB (0%)";
        QTest::newRow("a quarter")
            << qint64(1048576) << qint64(4194304) << "1,024 KB of 4,096 KB (25%)";
        QTest::newRow("more than announced")
            << qint64(8388608) << qint64(4194304) << "8,192 KB of 4,096 KB (200%)";
    }
    void transferLines()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, expected);
        QFETCH(QString, line);
        QCOMPARE(transferLine(received, expected, Unit::KiloBytes, kComma), line);
    }

    void timerFigures_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("remaining");
        const qint64 kb = 1024;
        QTest::newRow("half way after ten seconds")
            << 2500 * kb << 5000 * kb << qint64(10) << "250 KB/sec"
            << "00:00:10";
        QTest::newRow("before the first second")
            << 2500 * kb << 5000 * kb << qint64(0) << "0 KB/sec"
            << "00:00:00";
        QTest::newRow("nothing received yet") << qint64(0) << 5000 * kb << qint64(7) << "0 KB/sec"
                                              << "00:00:00";
        QTest::newRow("an hour and more to go") << 10 * kb << 4000 * kb << qint64(10) << "1 KB/sec"
                                                << "01:06:30";
        QTest::newRow("past the announced size")
            << 6000 * kb << 4096 * kb << qint64(3) << "2,000 KB/sec"
            << "00:00:00";
        QTest::newRow("more than a day to go")
            << qint64(1) << qint64(100001) << qint64(1) << "1 KB/sec"
            << "27:46:40";
    }
    void timerFigures()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, expected);
        QFETCH(qint64, seconds);
        QFETCH(QString, speed);
        QFETCH(QString, remaining);
        QCOMPARE(speedText(received, seconds, Unit::KiloBytes, kComma), speed);
        QCOMPARE(formatDuration(remainingSeconds(received, expected, seconds)), remaining);
    }
};

QTEST_GUILESS_MAIN(TestUpdateFormat)
#include "tst_updateformat.moc"
