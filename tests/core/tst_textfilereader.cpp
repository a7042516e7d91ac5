#include "components/TextFileReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The bytes of a string literal, NUL characters included.
template <qsizetype N> QByteArray bytesOf(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

// Reading text files: encodings, line ends, and files that are missing, unreadable or junk.
class TestTextFileReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");

        const QString accented = QStringLiteral("Zürich €");
        QTest::newRow("plain ASCII") << QByteArray("one\ntwo") << QStringList{"one", "two"};
        QTest::newRow("UTF-8 without BOM")
            << QByteArray("Z\xC3\xBCrich \xE2\x82\xAC\n") << QStringList{accented};
        QTest::newRow("UTF-8 BOM is not text")
            << QByteArray("\xEF\xBB\xBF#x\n") << QStringList{"#x"};
        QTest::newRow("UTF-16 LE BOM")
            << bytesOf("\xFF\xFEZ\0\xFC\0r\0i\0c\0h\0 \0\xAC\x20\r\0\n\0") << QStringList{accented};
        QTest::newRow("UTF-16 BE BOM")
            << bytesOf("\xFE\xFF\0Z\0\xFC\0r\0i\0c\0h\0 \x20\xAC\0\n") << QStringList{accented};
        QTest::newRow("UTF-16 odd trailing byte dropped") << bytesOf("\xFF\xFE"
                                                                     "a\0b\0\n\0c\0d\0x")
                                                          << QStringList{"ab", "cd"};
        QTest::newRow("UTF-16 BOM alone") << QByteArray("\xFF\xFE") << QStringList{};
        QTest::newRow("UTF-16 BOM and one byte") << QByteArray("\xFF\xFEZ") << QStringList{};
        QTest::newRow("invalid UTF-8: Windows-1252")
            << QByteArray("Z\xFCrich \x80\n") << QStringList{accented};
        QTest::newRow("Windows-1252 quotes and undefined bytes")
            << QByteArray("\x93q\x94 \x81\x8D") << QStringList{QStringLiteral("“q” \u0081\u008D")};
        QTest::newRow("truncated UTF-8 sequence: Windows-1252")
            << QByteArray("ab\xE2\x82") << QStringList{QStringLiteral("ab\u00E2\u201A")};
        QTest::newRow("NUL characters kept")
            << bytesOf("a\0b\n") << QStringList{QString("a") + QChar(0) + "b"};
    }

    void decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        const TextFileContent content = ReadTextFile(writeFile(QStringLiteral("t.txt"), bytes));
        QVERIFY(content.exists);
        QVERIFY2(content.ok, qPrintable(content.error));
        QCOMPARE(content.lines, lines);
    }

    void splitsLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one line, no break") << "a" << QStringList{"a"};
        QTest::newRow("final break adds no line") << "a\n" << QStringList{"a"};
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("mixed") << "a\rb\nc\r\nd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("empty lines kept") << "\n\na\n\n" << QStringList{"", "", "a", ""};
        QTest::newRow("only a break") << "\r\n" << QStringList{""};
    }

    void splitsLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(SplitTextLines(text), lines);
    }

    void missingFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("absent.txt"));
        const TextFileContent content = ReadTextFile(path);
        QVERIFY(!content.exists);
        QVERIFY(!content.ok);
        QVERIFY(content.error.contains(path));
        QVERIFY(content.lines.isEmpty());
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << m_dir.path();
        QTest::newRow("device") << QStringLiteral("/dev/zero");
    }

    void unreadableFiles()
    {
        QFETCH(QString, path);
        const TextFileContent content = ReadTextFile(path);
        QVERIFY(content.exists);
        QVERIFY(!content.ok);
        QVERIFY2(content.error.contains(path), qPrintable(content.error));
        QVERIFY(content.lines.isEmpty());
    }

    void hugeLine()
    {
        QByteArray bytes(30 * 1024 * 1024, 'x');
        bytes += "\r\nend";
        const TextFileContent content = ReadTextFile(writeFile(QStringLiteral("huge.txt"), bytes));
        QVERIFY(content.ok);
        QCOMPARE(content.lines.size(), 2);
        QCOMPARE(content.lines.at(0).size(), 30 * 1024 * 1024);
        QCOMPARE(content.lines.at(1), QStringLiteral("end"));
    }

    void tooLargeFileIsRefused()
    {
        const QString path = m_dir.filePath(QStringLiteral("sparse.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(MaxTextFileSize + 1)); // sparse: no disk space used
        file.close();
        const TextFileContent content = ReadTextFile(path);
        QVERIFY(content.exists);
        QVERIFY(!content.ok);
        QVERIFY2(content.error.contains(path), qPrintable(content.error));
    }
};

QTEST_GUILESS_MAIN(TestTextFileReader)
#include "tst_textfilereader.moc"
