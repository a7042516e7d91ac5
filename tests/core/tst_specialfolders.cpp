#include "platform/SpecialFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The data folder is found beside the program's folder, in a build tree as when installed.
class TestSpecialFolders : public QObject
{
    Q_OBJECT

private slots:
    void commonAppDataIsShareBesideBin()
    {
        const QString expected =
            QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../share"))
                .canonicalPath();
        QVERIFY(!expected.isEmpty());
        QCOMPARE(CommonAppDataFolder(), expected);
    }

    void referenceFoldersHoldTheShippedFiles()
    {
        const QString defFiles = DefaultDefFilesPath();
        QCOMPARE(defFiles, CommonAppDataFolder() + QStringLiteral("/Marovek/Wingbook/"));
        QVERIFY2(QFileInfo::exists(defFiles + QStringLiteral("Airlines.def")),
                 qPrintable(defFiles));
        QVERIFY2(QFileInfo::exists(defFiles + QStringLiteral("Airports.def")),
                 qPrintable(defFiles));

        const QString common = DefaultCommonDefFilesPath();
        QCOMPARE(common, CommonAppDataFolder() + QStringLiteral("/Marovek/Common Files/"));
        QVERIFY2(QFileInfo::exists(common + QStringLiteral("Countries.def")), qPrintable(common));
    }

    void nearestExistingFolder_data()
    {
        QTest::addColumn<QString>("below");    // under the temporary folder
        QTest::addColumn<QString>("expected"); // the same
        QTest::newRow("existing") << QStringLiteral("a") << QStringLiteral("a");
        QTest::newRow("missing") << QStringLiteral("a/Documents") << QStringLiteral("a");
        QTest::newRow("missing twice") << QStringLiteral("a/x/y") << QStringLiteral("a");
        QTest::newRow("a file, not a folder") << QStringLiteral("a/file") << QStringLiteral("a");
    }
    void nearestExistingFolder()
    {
        QFETCH(QString, below);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a")));
        QFile file(dir.filePath(QStringLiteral("a/file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(NearestExistingFolder(dir.filePath(below)), dir.filePath(expected));
        QCOMPARE(NearestExistingFolder(QString()), QString());
    }

    void userFolders()
    {
        QVERIFY(QFileInfo(TempFolder()).isDir());
        QVERIFY(!LocalAppDataFolder().isEmpty());
        QVERIFY(!PersonalDocumentsFolder().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSpecialFolders)
#include "tst_specialfolders.moc"
