// `wingbook-cli save` killed with SIGKILL at random moments: afterwards the log is always the
// whole old file or the whole new one, and nothing is left beside it that the next save does
// not remove.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace
{

constexpr int kFlights = 20000;
constexpr int kKills = 50;

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeContent(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

bool isClean(const QStringList &left)
{
    return left == QStringList{"log.xml"} || left == (QStringList{"log.xml", "log.~xml"});
}

// The hidden name a file has for the moment of its rename.
bool isStaging(const QString &name)
{
    return name.startsWith(QLatin1String(".log.xml.saving-")) ||
           name.startsWith(QLatin1String(".log.~xml.saving-"));
}

} // namespace

class TestKillSave : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    QByteArray m_new;
    qint64 m_firstChangeUs = 0; // when an uninterrupted save first touched the folder
    qint64 m_durationUs = 0;    // how long it ran in all

    QString freshFolder(int n)
    {
        const QString folder = m_dir.filePath(QStringLiteral("run%1").arg(n));
        if (!QDir().mkpath(folder) || !writeContent(folder + QStringLiteral("/log.xml"), m_old))
            qFatal("cannot prepare %s", qPrintable(folder));
        return folder;
    }

    void startSave(QProcess &save, const QString &folder)
    {
        save.setProgram(QStringLiteral(WINGBOOK_CLI));
        save.setArguments({QStringLiteral("save"), folder + QStringLiteral("/log.xml")});
        // The settings of the test, not the user's.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        save.setProcessEnvironment(env);
        save.setStandardOutputFile(QProcess::nullDevice());
        save.setStandardErrorFile(QProcess::nullDevice());
        save.start();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString generated = m_dir.filePath(QStringLiteral("generated.xml"));
        QCOMPARE(QProcess::execute(QStringLiteral(WINGBOOK_GENERATE_LOG),
                                   {QString::number(kFlights), generated}),
                 0);
        // The old file differs from anything the writer makes: every line break doubled.
        m_old = contentOf(generated).replace("\n", "\n\n");
        QVERIFY(m_old.size() > 1000000);

        // One save that runs to its end: what it writes, how long it takes and when it first
        // changes the folder.
        const QString folder = freshFolder(0);
        const QStringList before = entriesOf(folder);
        QProcess save;
        QElapsedTimer timer;
        timer.start();
        startSave(save, folder);
        QVERIFY(save.waitForStarted());
        while (save.state() != QProcess::NotRunning) {
            if (m_firstChangeUs == 0 && entriesOf(folder) != before)
                m_firstChangeUs = timer.nsecsElapsed() / 1000;
            save.waitForFinished(1);
        }
        m_durationUs = timer.nsecsElapsed() / 1000;
        QCOMPARE(save.exitStatus(), QProcess::NormalExit);
        QCOMPARE(save.exitCode(), 0);
        QCOMPARE(entriesOf(folder), (QStringList{"log.xml", "log.~xml"}));
        m_new = contentOf(folder + QStringLiteral("/log.xml"));
        QVERIFY(!m_new.isEmpty());
        QVERIFY(m_new != m_old);
        QCOMPARE(contentOf(folder + QStringLiteral("/log.~xml")), m_old);
        if (m_firstChangeUs == 0)
            m_firstChangeUs = m_durationUs / 2;
        qInfo("an uninterrupted save takes %lld ms and changes the folder after %lld ms",
              m_durationUs / 1000, m_firstChangeUs / 1000);
    }

    void killedAtRandomMoments()
    {
        // Most kills fall while the file is being written, where they can do harm; some come
        // earlier, while the log is only being read.
        const quint32 seed = qEnvironmentVariableIsSet("WINGBOOK_KILL_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("WINGBOOK_KILL_SEED"))
                                 : QRandomGenerator::global()->generate();
        qInfo("moments drawn with WINGBOOK_KILL_SEED=%u", seed);
        QRandomGenerator random(seed);
        const qint64 writeFrom = m_firstChangeUs * 9 / 10;
        int old = 0;
        int whole = 0;
        int finished = 0;
        int hidden = 0;
        for (int n = 1; n <= kKills; ++n) {
            const qint64 momentUs = n % 5 == 0
                                        ? random.bounded(writeFrom + 1)
                                        : writeFrom + random.bounded(m_durationUs - writeFrom + 1);
            const QString folder = freshFolder(n);
            QProcess save;
            QElapsedTimer timer;
            timer.start();
            startSave(save, folder);
            QVERIFY(save.waitForStarted());
            const qint64 waitUs = momentUs - timer.nsecsElapsed() / 1000;
            if (waitUs > 0)
                QThread::usleep(quint64(waitUs));
            if (save.state() == QProcess::Running)
                save.kill();
            else
                ++finished;
            QVERIFY(save.waitForFinished(60000));

            const QByteArray log = contentOf(folder + QStringLiteral("/log.xml"));
            const QString where = QStringLiteral("kill %1 after %2 ms").arg(n).arg(momentUs / 1000);
            QVERIFY2(log == m_old || log == m_new,
                     qPrintable(where + QStringLiteral(": the log is neither the old nor the new "
                                                       "file (%1 bytes)")
                                            .arg(log.size())));
            (log == m_old ? old : whole) += 1;
            QStringList left = entriesOf(folder);
            if (left.contains(QStringLiteral("log.~xml")))
                QVERIFY2(contentOf(folder + QStringLiteral("/log.~xml")) == m_old,
                         qPrintable(where + QStringLiteral(": the backup is not the old file")));
            // A kill in the moment between a file's hidden name and its rename leaves that
            // hidden file; the next save of the log removes it.
            if (!isClean(left)) {
                QStringList rest = left;
                rest.removeIf(isStaging);
                QVERIFY2(isClean(rest) && left.size() == rest.size() + 1,
                         qPrintable(where + QStringLiteral(": left ") + left.join(u' ')));
                ++hidden;
                QProcess again;
                startSave(again, folder);
                QVERIFY(again.waitForFinished(60000));
                QCOMPARE(again.exitCode(), 0);
                left = entriesOf(folder);
                QVERIFY2(isClean(left), qPrintable(where + QStringLiteral(", saved again: left ") +
                                                   left.join(u' ')));
            }
            QDir(folder).removeRecursively();
        }
        qInfo("%d kills left the old log, %d the new one (%d saves had ended before their kill, "
              "%d left a hidden file)",
              old, whole, finished, hidden);
    }
};

QTEST_GUILESS_MAIN(TestKillSave)
#include "tst_killsave.moc"
