// The recent-file lists: newest first, one entry per file whatever its letter case, cut to the
// "Recently used file list" count.
#include "model/RecentFileList.h"

#include <QSignalSpy>
#include <QTest>

class TestRecentFileList : public QObject
{
    Q_OBJECT

private slots:
    void addToRecentMenu_data();
    void addToRecentMenu();
    void trimmingKeepsTheNewest();
};

void TestRecentFileList::addToRecentMenu_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QStringList>("after");
    const QStringList five = {"/l/a.xml", "/l/b.xml", "/l/c.xml", "/l/d.xml", "/l/e.xml"};
    QTest::newRow("third moves to top")
        << five << "/l/c.xml" << 5 << true
        << QStringList{"/l/c.xml", "/l/a.xml", "/l/b.xml", "/l/d.xml", "/l/e.xml"};
    QTest::newRow("new drops the oldest")
        << five << "/l/n.xml" << 5 << true
        << QStringList{"/l/n.xml", "/l/a.xml", "/l/b.xml", "/l/c.xml", "/l/d.xml"};
    QTest::newRow("case keeps old spelling")
        << QStringList{"/l/a.xml", "/L/Trip.xml"} << "/l/TRIP.XML" << 5 << true
        << QStringList{"/L/Trip.xml", "/l/a.xml"};
    QTest::newRow("accelerator ignored") << QStringList{"/l/a.xml", "/l/&b.xml"} << "/l/b.xml" << 5
                                         << true << QStringList{"/l/&b.xml", "/l/a.xml"};
    QTest::newRow("maximum 0 keeps nothing")
        << QStringList{} << "/l/a.xml" << 0 << true << QStringList{};
    QTest::newRow("empty path") << QStringList{"/l/a.xml"} << "" << 5 << false
                                << QStringList{"/l/a.xml"};
}

void TestRecentFileList::addToRecentMenu()
{
    QFETCH(QStringList, before);
    QFETCH(QString, path);
    QFETCH(int, maximum);
    QFETCH(bool, added);
    QFETCH(QStringList, after);
    RecentFileList list;
    list.setEntries(before);
    QCOMPARE(list.AddToRecentMenu(path, maximum), added);
    QCOMPARE(list.entries(), after);
}

void TestRecentFileList::trimmingKeepsTheNewest()
{
    RecentFileList list;
    list.setEntries({"/1", "/2", "/3", "/4", "/5"});
    QSignalSpy changed(&list, &RecentFileList::changed);
    list.trimTo(2);
    QCOMPARE(list.entries(), (QStringList{"/1", "/2"}));
    QCOMPARE(changed.count(), 1);
    list.trimTo(-4); // a count out of range keeps nothing rather than failing
    QVERIFY(list.entries().isEmpty());
}

QTEST_GUILESS_MAIN(TestRecentFileList)
#include "tst_recentfilelist.moc"
