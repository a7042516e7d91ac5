#include "model/LogTable.h"

#include <QHashSeed>
#include <QRandomGenerator>
#include <QTest>

// The lookups against a brute-force scan over long random sequences of edits. The indexes
// behind the lookups follow rows as they move, leave or change; a scan from the top of the
// table is the rule they must keep: the first row in table order holding the key.
class TestLookupModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lookupsAgreeWithAScan_data();
    void lookupsAgreeWithAScan();
};

namespace
{

// Realistic airport codes: three capital letters, a few dozen of them, so that keys repeat
// across rows and spread over the hash table's buckets as real logs do.
QStringList makeCodes(QRandomGenerator &random, int total)
{
    QStringList codes;
    while (codes.size() < total) {
        QString code;
        for (int i = 0; i < 3; ++i)
            code.append(QChar(u'A' + random.bounded(26)));
        if (!codes.contains(code))
            codes.append(code);
    }
    return codes;
}

// The first row of each key, found by reading the table from the top.
struct Scan {
    QHash<QString, int> firstText[2];
    QHash<std::pair<QString, QString>, int> firstPair;

    explicit Scan(const LogTable &t)
    {
        for (int r = 0; r < t.count(); ++r) {
            firstText[0].insert(t.cell(r, 0), firstText[0].value(t.cell(r, 0), r));
            firstText[1].insert(t.cell(r, 1), firstText[1].value(t.cell(r, 1), r));
            const auto pair = std::make_pair(t.cell(r, 0), t.cell(r, 1));
            firstPair.insert(pair, firstPair.value(pair, r));
        }
    }
    int text(const QString &key, int column) const { return firstText[column].value(key, -1); }
    int pair(const QString &a, const QString &b) const
    {
        return firstPair.value(std::make_pair(a, b), -1);
    }
};

} // namespace

void TestLookupModel::initTestCase()
{
    // One hash layout for every run, so a failure is repeated by running the test again.
    QHashSeed::setDeterministicGlobalSeed();
}

void TestLookupModel::lookupsAgreeWithAScan_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("codeTotal");
    QTest::addColumn<int>("minRows");
    QTest::addColumn<int>("maxRows");
    QTest::newRow("few codes, small table") << 1u << 12 << 20 << 40;
    QTest::newRow("some codes, mid table") << 2u << 30 << 30 << 70;
    QTest::newRow("many codes, large table") << 3u << 80 << 60 << 100;
    QTest::newRow("codes mostly unique") << 4u << 150 << 20 << 100;
    QTest::newRow("another sequence") << 5u << 40 << 20 << 100;
}

void TestLookupModel::lookupsAgreeWithAScan()
{
    QFETCH(quint32, seed);
    QFETCH(int, codeTotal);
    QFETCH(int, minRows);
    QFETCH(int, maxRows);

    QRandomGenerator random(seed);
    const QStringList codes = makeCodes(random, codeTotal);
    const auto code = [&] { return codes[random.bounded(int(codes.size()))]; };

    // Many short sequences: each starts from a fresh table, so the indexes are built at many
    // different sizes and hash layouts.
    for (int sequence = 0; sequence < 100; ++sequence) {
        LogTable t(TableKind::Distances);
        const auto append = [&] {
            t.appendRow({code(), code(), QString::number(random.bounded(9000))});
        };
        const int rows = minRows + random.bounded(maxRows - minRows + 1);
        while (t.count() < rows)
            append();

        for (int step = 0; step < 200; ++step) {
            const int action = random.bounded(8);
            if (action <= 1 && t.count() < maxRows) {
                append();
            } else if (action == 2) {
                t.setCell(random.bounded(t.count()), random.bounded(2), code());
            } else if (action == 3 && t.count() > minRows) {
                t.removeRowAt(random.bounded(t.count()));
            } else if (action == 4 && t.count() > minRows + 5) {
                QList<int> many;
                const int total = 2 + random.bounded(5);
                for (int i = 0; i < total; ++i)
                    many.append(random.bounded(t.count()));
                t.removeRowsAt(many);
            } else if (action == 5) {
                t.Sort(random.bounded(3), random.bounded(2) == 0);
            } else if (action == 6) {
                t.SortByKeys({{0, true}, {1, true}});
            } else {
                t.SortAsIs();
            }

            // Every code in both columns, and a pair for each: a wrong row anywhere fails.
            const Scan scan(t);
            for (const QString &a : codes) {
                const QString b = code();
                const int either = scan.pair(a, b) >= 0 ? scan.pair(a, b) : scan.pair(b, a);
                if (t.FindItemByText(a, 0) != scan.text(a, 0) ||
                    t.FindItemByText(a, 1) != scan.text(a, 1) ||
                    t.FindItemByPair(a, b) != scan.pair(a, b) ||
                    t.findPairEitherWay(a, b) != either) {
                    QFAIL(qPrintable(QStringLiteral("sequence %1, step %2: lookups of %3/%4 "
                                                    "differ from a scan")
                                         .arg(sequence)
                                         .arg(step)
                                         .arg(a, b)));
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestLookupModel)
#include "tst_lookupmodel.moc"
