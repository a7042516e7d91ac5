#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/mount.h>

// Saving into a full disk: the error names the cause, the log and its previous backup stay as
// they were. The test mounts a small file system of its own, which only root may do; elsewhere
// it is skipped.
class TestLogFileDiskFull : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void saveIntoAFullDisk_data();
    void saveIntoAFullDisk();

private:
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;
};

namespace
{

constexpr qint64 kDiskBytes = 256 * 1024;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.flush())
        qFatal("cannot write fixture %s", qPrintable(path));
}

QString folderOfRow()
{
    return QStringLiteral("/") + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
}

// Fills the disk until only `leave` bytes (about) are free.
void fillDisk(const QString &folder, qint64 leave)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot create the filler");
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.close();
    if (leave > 0)
        filler.resize(qMax<qint64>(0, filler.size() - leave));
}

} // namespace

void TestLogFileDiskFull::initTestCase()
{
    QVERIFY(m_mountPoint.isValid());
    const QByteArray target = QFile::encodeName(m_mountPoint.path());
    const QByteArray options = "size=" + QByteArray::number(kDiskBytes);
    if (mount("tmpfs", target.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount a small file system here (%1)")
                             .arg(QString::fromLocal8Bit(strerror(errno)))));
    m_mounted = true;
}

void TestLogFileDiskFull::cleanupTestCase()
{
    if (m_mounted)
        umount2(QFile::encodeName(m_mountPoint.path()).constData(), MNT_DETACH);
}

void TestLogFileDiskFull::cleanup()
{
    // Each case starts with an empty disk, whatever the last one left.
    if (m_mounted)
        QDir(m_mountPoint.path() + folderOfRow()).removeRecursively();
}

void TestLogFileDiskFull::saveIntoAFullDisk_data()
{
    QTest::addColumn<qint64>("leave");
    QTest::addColumn<bool>("backupFits");
    // No room even for the backup copy: the previous backup must survive the failed copy.
    QTest::newRow("no space at all") << qint64(0) << false;
    // Room for the backup of the old log, not for the new one; the new one fails part way,
    // after some of it was written.
    QTest::newRow("room for the backup") << qint64(40 * 1024) << true;
    QTest::newRow("a few pages") << qint64(13 * 1024) << true;
}

void TestLogFileDiskFull::saveIntoAFullDisk()
{
    QFETCH(qint64, leave);
    QFETCH(bool, backupFits);
    const QString folder = m_mountPoint.path() + folderOfRow();
    QVERIFY(QDir().mkpath(folder));
    const QString log = folder + QStringLiteral("/trip.xml");
    // Two pages of log, one of backup: removing the backup first would not make room for the
    // copy.
    QByteArray oldLog = "<Wingbook><Flights>\n";
    while (oldLog.size() < 6000)
        oldLog += "<Flight Date=\"2020-01-01\" Time=\"10:00\"/>\n";
    oldLog += "</Flights></Wingbook>\n";
    const QByteArray oldBackup = "the backup before";
    writeFile(log, oldLog);
    writeFile(BackupFileName(log), oldBackup);
    fillDisk(folder, leave);

    // Far more than the disk holds.
    LogDocument doc;
    for (int i = 0; i < 20000; ++i)
        doc.Flights.appendRow({QStringLiteral("2023-01-01"), QString::number(i), "CDG", "JFK", "AF",
                               QString::number(i)});
    doc.setModified(true);
    OptionSet options;
    LogFileHost host;
    const LogFileResult result = SaveXMLFile(doc, log, options, host);

    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QLatin1String("No space left on device")),
             qPrintable(result.error));
    QVERIFY(result.error.contains(log));
    QVERIFY(doc.isModified());
    QCOMPARE(readFile(log), oldLog);
    QCOMPARE(readFile(BackupFileName(log)), backupFits ? oldLog : oldBackup);
    // Nothing half-written is left beside the log.
    const QStringList left = QDir(folder).entryList(QDir::Files);
    QCOMPARE(left, QStringList({"filler", "trip.xml", "trip.~xml"}));
}

QTEST_GUILESS_MAIN(TestLogFileDiskFull)
#include "tst_logfilediskfull.moc"
