// The update description file: the program's section, its keys, and the version comparison.
#include "components/UpdateDescription.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestUpdateDescription : public QObject
{
    Q_OBJECT

private slots:
    void newerVersion_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("published");
        QTest::addColumn<bool>("newer");
        QTest::newRow("next release") << "1.00.17"
                                      << "1.00.18" << true;
        QTest::newRow("same release") << "1.00.17"
                                      << "1.00.17" << false;
        QTest::newRow("older published") << "1.00.18"
                                         << "1.00.17" << false;
        QTest::newRow("longer text with the running prefix") << "1.00.17"
                                                             << "1.00.17b5" << true;
        QTest::newRow("running text longer") << "1.00.17b5"
                                             << "1.00.17" << false;
        QTest::newRow("compared as texts, 10 before 9") << "9.99.99"
                                                        << "10.00.00" << false;
        QTest::newRow("nothing published") << "1.00.17"
                                           << "" << false;
        QTest::newRow("letters by code unit") << "1.00.17B"
                                              << "1.00.17a" << true;
    }
    void newerVersion()
    {
        QFETCH(QString, running);
        QFETCH(QString, published);
        QFETCH(bool, newer);
        QCOMPARE(isNewerVersion(running, published), newer);
    }

    void sectionName_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("section");
        QTest::newRow("installed program") << "/usr/bin/wingbook" << QStringList() << "wingbook";
        QTest::newRow("cut before the first dot")
            << "/opt/Wingbook.app.bin" << QStringList() << "Wingbook";
        QTest::newRow("dot in a folder name")
            << "/opt/v1.2/Wingbook" << QStringList() << "Wingbook";
        QTest::newRow("DLL runner takes the second argument")
            << "C:\\Windows\\System32\\rundll32.exe"
            << QStringList{"rundll32.exe", "C:\\Apps\\Wingbook.dll,Entry", "x"} << "Wingbook";
        QTest::newRow("DLL runner without arguments")
            << "rundll32.exe" << QStringList{"rundll32.exe"} << "rundll32";
    }
    void sectionName()
    {
        QFETCH(QString, executable);
        QFETCH(QStringList, arguments);
        QFETCH(QString, section);
        QCOMPARE(programSectionName(executable, arguments), section);
    }

    void readSection_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("download");
        QTest::addColumn<QString>("readme");
        QTest::newRow("the program's section among others")
            << QByteArray("[Other]\r\nVersion=9.99.99\r\nDownloadFileURL=http://o/x\r\n"
                          "[Wingbook]\r\nVersion=1.00.18\r\nDownloadFileURL=https://h/setup.exe\r\n"
                          "ReadmeFileURL=https://h/notes.txt\r\n[Third]\r\nVersion=3\r\n")
            << "1.00.18"
            << "https://h/setup.exe"
            << "https://h/notes.txt";
        QTest::newRow("section and keys in another case")
            << QByteArray("[wingbook]\nversion=1.00.18\nDOWNLOADFILEURL=u\n") << "1.00.18"
            << "u"
            << "";
        QTest::newRow("blanks around names and values, first '=' splits")
            << QByteArray("  [ Wingbook ]  \n  Version  =  1.00.18  \nReadmeFileURL = a=b \n")
            << "1.00.18"
            << ""
            << "a=b";
        QTest::newRow("missing section") << QByteArray("[Other]\nVersion=2\n") << ""
                                         << ""
                                         << "";
        QTest::newRow("first section and first key count")
            << QByteArray("[Wingbook]\nVersion=1\nVersion=2\n[Wingbook]\nVersion=3\n"
                          "DownloadFileURL=late\n")
            << "1"
            << ""
            << "";
        QTest::newRow("lines without '=' and an unclosed header are skipped")
            << QByteArray("[Wingbook]\nnoise\n[broken\nVersion=4\n") << "4"
            << ""
            << "";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Wingbook]\nVersion=5\n") << "5"
                                         << ""
                                         << "";
        QTest::newRow("empty file") << QByteArray() << ""
                                    << ""
                                    << "";
    }
    void readSection()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, version);
        QFETCH(QString, download);
        QFETCH(QString, readme);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MarovekUpdates.txt"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        const UpdateDescription d = readUpdateSection(path, QStringLiteral("Wingbook"));
        QCOMPARE(d.Version, version);
        QCOMPARE(d.DownloadFileURL, download);
        QCOMPARE(d.ReadmeFileURL, readme);
    }

    void everyKeyIsRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("u.txt"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[Wingbook]\nUpdatePageURL=p\nMD5Hash=m\nSHA1Hash=s1\nSHA256Hash=s2\n");
        out.close();
        const UpdateDescription d = readUpdateSection(path, QStringLiteral("Wingbook"));
        QCOMPARE(d.UpdatePageURL, QStringLiteral("p"));
        QCOMPARE(d.MD5Hash, QStringLiteral("m"));
        QCOMPARE(d.SHA1Hash, QStringLiteral("s1"));
        QCOMPARE(d.SHA256Hash, QStringLiteral("s2"));
    }

    void unreadableFileGivesNothing()
    {
        const UpdateDescription d =
            readUpdateSection(QStringLiteral("/nonexistent/u.txt"), QStringLiteral("Wingbook"));
        QVERIFY(d.Version.isEmpty());
        QVERIFY(d.DownloadFileURL.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUpdateDescription)
#include "tst_updatedescription.moc"
