#include "platform/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// A file's new content takes its place in one step, keeps its permissions, follows a link,
// leaves nothing beside it, and clears away what killed writers left.
class TestReplacingFile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ReplacingFile::allowUnnamedFiles(true); }
    void replacesTheFile_data();
    void replacesTheFile();
    void keepsTheOldFileUntilCommitted_data();
    void keepsTheOldFileUntilCommitted();
    void removesWhatKilledWritersLeft_data();
    void removesWhatKilledWritersLeft();
    void refusesWhatItCannotReplace_data();
    void refusesWhatItCannotReplace();
};

namespace
{

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeContent(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

mode_t modeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool replace(const QString &path, const QByteArray &bytes, QString *error = nullptr)
{
    ReplacingFile file(path);
    const bool done = file.open() && file.write(bytes.data(), bytes.size()) && file.commit();
    if (error)
        *error = file.errorString();
    return done;
}

void addStagingColumn()
{
    QTest::addColumn<bool>("unnamed");
}

} // namespace

void TestReplacingFile::replacesTheFile_data()
{
    addStagingColumn();
    QTest::addColumn<QString>("old"); // "", "file" or "link"
    for (const bool unnamed : {true, false}) {
        const char *how = unnamed ? "unnamed" : "named";
        QTest::addRow("new file, %s", how) << unnamed << QString();
        QTest::addRow("old file, %s", how) << unnamed << QStringLiteral("file");
        QTest::addRow("link, %s", how) << unnamed << QStringLiteral("link");
    }
}

void TestReplacingFile::replacesTheFile()
{
    QFETCH(bool, unnamed);
    QFETCH(QString, old);
    ReplacingFile::allowUnnamedFiles(unnamed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("log.xml"));
    const QString target =
        old == QLatin1String("link") ? dir.filePath(QStringLiteral("real.xml")) : log;
    if (!old.isEmpty()) {
        writeContent(target, "old content that is longer than the new");
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
    }
    if (old == QLatin1String("link"))
        QVERIFY(QFile::link(QStringLiteral("real.xml"), log));
    const QStringList before = entriesOf(dir.path());

    QString error;
    QVERIFY2(replace(log, "new", &error), qPrintable(error));

    QCOMPARE(contentOf(log), QByteArray("new"));
    QCOMPARE(entriesOf(dir.path()), old.isEmpty() ? QStringList{"log.xml"} : before);
    QCOMPARE(QFileInfo(log).isSymLink(), old == QLatin1String("link"));
    if (!old.isEmpty())
        QCOMPARE(modeOf(target), mode_t(0640));
}

void TestReplacingFile::keepsTheOldFileUntilCommitted_data()
{
    addStagingColumn();
    QTest::addColumn<bool>("cancelled"); // else the writer is simply destroyed
    QTest::newRow("cancelled, unnamed") << true << true;
    QTest::newRow("destroyed, unnamed") << true << false;
    QTest::newRow("cancelled, named") << false << true;
    QTest::newRow("destroyed, named") << false << false;
}

void TestReplacingFile::keepsTheOldFileUntilCommitted()
{
    QFETCH(bool, unnamed);
    QFETCH(bool, cancelled);
    ReplacingFile::allowUnnamedFiles(unnamed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("log.xml"));
    writeContent(log, "old");
    {
        ReplacingFile file(log);
        QVERIFY(file.open());
        QVERIFY(file.write("half of the new", 15));
        QCOMPARE(contentOf(log), QByteArray("old"));
        if (cancelled)
            file.cancel();
    }
    QCOMPARE(contentOf(log), QByteArray("old"));
    QCOMPARE(entriesOf(dir.path()), QStringList{"log.xml"});
}

void TestReplacingFile::removesWhatKilledWritersLeft_data()
{
    addStagingColumn();
    QTest::newRow("unnamed") << true;
    QTest::newRow("named") << false;
}

void TestReplacingFile::removesWhatKilledWritersLeft()
{
    QFETCH(bool, unnamed);
    ReplacingFile::allowUnnamedFiles(unnamed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("log.xml"));
    writeContent(log, "old");
    // Left by killed writers of log.xml: nobody holds their lock.
    writeContent(dir.filePath(QStringLiteral(".log.xml.saving-Ab12Cd")), "whole new");
    writeContent(dir.filePath(QStringLiteral(".log.xml.saving-Ef34Gh")), "half");
    // A writer at work holds its lock; the others are not log.xml's.
    const QString working = dir.filePath(QStringLiteral(".log.xml.saving-Ij56Kl"));
    writeContent(working, "being written");
    const int held = ::open(QFile::encodeName(working).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(held >= 0);
    QVERIFY(::flock(held, LOCK_EX | LOCK_NB) == 0);
    writeContent(dir.filePath(QStringLiteral(".log.~xml.saving-Mn78Op")), "the backup's");
    writeContent(dir.filePath(QStringLiteral("log.xml.saving-Qr90St")), "the user's");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral(".log.xml.saving-folder")));

    QVERIFY(replace(log, "new"));
    ::close(held);

    QCOMPARE(contentOf(log), QByteArray("new"));
    QCOMPARE(entriesOf(dir.path()),
             (QStringList{".log.xml.saving-Ij56Kl", ".log.xml.saving-folder",
                          ".log.~xml.saving-Mn78Op", "log.xml", "log.xml.saving-Qr90St"}));
}

void TestReplacingFile::refusesWhatItCannotReplace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << QStringLiteral("folder.xml") << QStringLiteral("Is a directory");
    QTest::newRow("a missing folder")
        << QStringLiteral("gone/log.xml") << QStringLiteral("No such file or directory");
    QTest::newRow("a read-only file")
        << QStringLiteral("readonly.xml") << QStringLiteral("Permission denied");
}

void TestReplacingFile::refusesWhatItCannotReplace()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.xml")));
    const QString readOnly = dir.filePath(QStringLiteral("readonly.xml"));
    writeContent(readOnly, "old");
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner));
    if (name == QLatin1String("readonly.xml") && QFileInfo(readOnly).isWritable())
        QSKIP("running as a user who may write read-only files");
    const QStringList before = entriesOf(dir.path());

    ReplacingFile file(dir.filePath(name));
    QVERIFY(!file.open());
    QCOMPARE(file.errorString(), reason);
    QCOMPARE(entriesOf(dir.path()), before);
    QCOMPARE(contentOf(readOnly), QByteArray("old"));
}

QTEST_GUILESS_MAIN(TestReplacingFile)
#include "tst_replacingfile.moc"
