#include "platform/SpecialFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

    void userFolders()
    {
        QVERIFY(QFileInfo(TempFolder()).isDir());
        QVERIFY(!LocalAppDataFolder().isEmpty());
        QVERIFY(!PersonalDocumentsFolder().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSpecialFolders)
#include "tst_specialfolders.moc"
