// Reading Windows shortcut files: targets, the mapping of Windows paths, and the errors of
// missing and damaged links.
#include "components/LumShellLink.h"

#include "support/ShellLinkFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestShellLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readsTheLocalPath_data();
    void readsTheLocalPath();
    void readsWindowStateAndHotKey();
    void fileNameGetsTheLinkExtension_data();
    void fileNameGetsTheLinkExtension();
    void localTargetOfStoredPaths_data();
    void localTargetOfStoredPaths();
    void damagedLinksGiveAnError_data();
    void damagedLinksGiveAnError();
    void messagesInBothLanguages();

private:
    QTemporaryDir m_dir;
};

void TestShellLink::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestShellLink::readsTheLocalPath_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("target");
    QTest::newRow("posix path") << QByteArray("/home/pat/Logs/trip.xml")
                                << QStringLiteral("/home/pat/Logs/trip.xml");
    QTest::newRow("windows path") << QByteArray("C:\\Logs\\trip.xml")
                                  << QStringLiteral("/Logs/trip.xml");
    QTest::newRow("blank in path")
        << QByteArray("D:\\My Logs\\trip.csv") << QStringLiteral("/My Logs/trip.csv");
}

void TestShellLink::readsTheLocalPath()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, target);
    const QString name = m_dir.filePath(QStringLiteral("good.lnk"));
    QVERIFY(ShellLinkFile::write(name, ShellLinkFile::linkTo(stored)));

    TLumShellLink link;
    link.setFileName(name);
    link.Read();
    QCOMPARE(link.Target(), target);
    QCOMPARE(link.WindowState(), 1);
    QCOMPARE(ResolveShortcut(name), target);
}

void TestShellLink::readsWindowStateAndHotKey()
{
    const QString name = m_dir.filePath(QStringLiteral("maximised.lnk"));
    QVERIFY(ShellLinkFile::write(name, ShellLinkFile::linkTo("C:\\a.xml", 3, 0x0641)));
    TLumShellLink link;
    link.setFileName(name);
    link.Read();
    QCOMPARE(link.WindowState(), 3);
    QCOMPARE(link.HotKey(), 0x0641);
}

void TestShellLink::fileNameGetsTheLinkExtension_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("kept");
    QTest::newRow("lower") << "/a/trip.lnk"
                           << "/a/trip.lnk";
    QTest::newRow("upper") << "/a/TRIP.LNK"
                           << "/a/TRIP.LNK";
    QTest::newRow("other extension") << "/a/trip.xml"
                                     << "/a/trip.xml.lnk";
    QTest::newRow("none") << "/a/trip"
                          << "/a/trip.lnk";
}

void TestShellLink::fileNameGetsTheLinkExtension()
{
    QFETCH(QString, given);
    QFETCH(QString, kept);
    TLumShellLink link;
    link.setFileName(given);
    QCOMPARE(link.FileName(), kept);
    // Setting the name it already holds changes nothing.
    link.setFileName(kept);
    QCOMPARE(link.FileName(), kept);
}

void TestShellLink::localTargetOfStoredPaths_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("local");
    QTest::newRow("absolute posix") << "/srv/a\\b.xml"
                                    << "/srv/a\\b.xml";
    QTest::newRow("drive letter") << "C:\\Logs\\trip.xml"
                                  << "/Logs/trip.xml";
    QTest::newRow("lower-case drive") << "e:\\x.xml"
                                      << "/x.xml";
    QTest::newRow("relative windows") << "Logs\\trip.xml"
                                      << "Logs/trip.xml";
}

void TestShellLink::localTargetOfStoredPaths()
{
    QFETCH(QString, stored);
    QFETCH(QString, local);
    QCOMPARE(TLumShellLink::LocalTarget(stored), local);
}

void TestShellLink::damagedLinksGiveAnError_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("message");
    const QByteArray good = ShellLinkFile::linkTo("C:\\Logs\\trip.xml");
    QTest::newRow("missing") << QByteArray() << "Link not found.";
    QTest::newRow("truncated") << good.left(40) << "Read error.";
    QTest::newRow("cut in link info") << good.left(good.size() - 12) << "Read error.";
    QTest::newRow("not a link") << QByteArray("Date,Time\n2024-01-01,10:00\n") << "Read error.";
    QTest::newRow("no local path") << ShellLinkFile::linkTo(QByteArray()) << "Read error.";
    QTest::newRow("a bare drive") << ShellLinkFile::linkTo("C:") << "Read error.";
    // Sizes and offsets of the location block that reach beyond it (the link info starts at 76,
    // its volume part at 104): refused before any of them decides an allocation.
    const auto patched = [&good](int at, quint32 value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    QTest::newRow("link info larger than the file") << patched(76, 0x7ffffff0) << "Read error.";
    QTest::newRow("volume larger than the link info") << patched(104, 0xf0000000) << "Read error.";
    QTest::newRow("volume label beyond the volume") << patched(116, 0xf0345678) << "Read error.";
    QTest::newRow("local path beyond the link info") << patched(92, 0x10000) << "Read error.";
}

void TestShellLink::damagedLinksGiveAnError()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString name = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".lnk");
    if (!content.isEmpty())
        QVERIFY(ShellLinkFile::write(name, content));

    TLumShellLink link;
    link.setFileName(name);
    try {
        link.Read();
        QFAIL("no error");
    } catch (const ELumShellLink &error) {
        QCOMPARE(error.message(), message);
    }
    QVERIFY(link.Target().isEmpty());
}

void TestShellLink::messagesInBothLanguages()
{
    TLumShellLink link;
    QCOMPARE(link.LangType(), ltEnglish);
    QCOMPARE(link.CoCreateInstanceMessage(), QStringLiteral("\"CoCreateInstance\" failed."));
    QCOMPARE(link.PersistFileMessage(), QStringLiteral("\"PersistFile QueryInterface\" failed."));
    QCOMPARE(link.WriteErrorMessage(), QStringLiteral("Write error."));
    link.setLangType(ltFrench);
    QCOMPARE(link.LinkNotFoundMessage(), QStringLiteral("Lien non trouvé."));
    QCOMPARE(link.CoCreateInstanceMessage(), QStringLiteral("\"CoCreateInstance\" a échoué."));
    QCOMPARE(link.PersistFileMessage(), QStringLiteral("\"PersistFile QueryInterface\" a échoué."));
    QCOMPARE(link.ReadErrorMessage(), QStringLiteral("Erreur en lecture."));
    QCOMPARE(link.WriteErrorMessage(), QStringLiteral("Erreur en écriture."));
    link.setFileName(m_dir.filePath(QStringLiteral("absent.lnk")));
    QVERIFY_THROWS_EXCEPTION(ELumShellLink, link.Read());
    try {
        link.Write();
        QFAIL("writing a shortcut is not supported");
    } catch (const ELumShellLink &error) {
        QCOMPARE(error.message(), QStringLiteral("Erreur en écriture."));
    }
}

QTEST_GUILESS_MAIN(TestShellLink)
#include "tst_shelllink.moc"
