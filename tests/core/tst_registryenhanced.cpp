#include "components/LumRegistryEnhanced.h"
#include "platform/RegistryFile.h"
#include "platform/RegistryText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Child mode of this test program: writes Stress\<prefix><i> = i for i from 0 (endless when count
// is 0) and prints each i once its write has returned.
static int runWriter(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    TLumRegistryEnhanced store;
    store.setKey(TLumRegistryEnhanced::programKey());
    for (int i = 0; count == 0 || i < count; ++i) {
        store.SetValue(QStringLiteral("Stress\\%1%2").arg(prefix).arg(i), i);
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}

class TestRegistryEnhanced : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TLumRegistryEnhanced> m_store;

    QString filePath() const { return m_dir->path() + QStringLiteral("/Marovek/Wingbook.reg"); }
    QByteArray fileContent() const
    {
        QFile f(filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QByteArray &content) const
    {
        QDir().mkpath(m_dir->path() + QStringLiteral("/Marovek"));
        QFile f(filePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QStringList brokenCopies() const
    {
        return QDir(m_dir->path() + QStringLiteral("/Marovek"))
            .entryList({QStringLiteral("Wingbook.reg.broken-*")}, QDir::Files | QDir::Hidden);
    }
    QStringList valueNames(const QString &subKey) const
    {
        QStringList names;
        m_store->GetValueNames(subKey, names);
        return names;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        qputenv("XDG_CONFIG_HOME", m_dir->path().toLocal8Bit());
        m_store.reset(TLumRegistryEnhanced::makeProgramStore());
    }
    void cleanup()
    {
        m_store.reset();
        m_dir.reset();
    }

    void fileLocationFollowsXdgConfigHome()
    {
        QCOMPARE(m_store->FileName(), filePath());
        qputenv("XDG_CONFIG_HOME", "relative/dir");
        QCOMPARE(RegistryFile::defaultPath(), QDir::homePath() + "/.config/Marovek/Wingbook.reg");
        qputenv("XDG_CONFIG_HOME", m_dir->path().toLocal8Bit());
        QCOMPARE(m_store->Key(), QStringLiteral("Software\\Marovek\\Wingbook"));
    }

    void normalizeKeyPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("single backslash") << "\\"
                                          << "";
        QTest::newRow("plain") << "History Lists\\Open"
                               << "\\History Lists\\Open";
        QTest::newRow("leading") << "\\Options"
                                 << "\\Options";
        QTest::newRow("trailing") << "Options\\"
                                  << "\\Options";
        QTest::newRow("both") << "\\Options\\"
                              << "\\Options";
    }
    void normalizeKeyPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, normalised);
        QCOMPARE(TLumRegistryEnhanced::NormalizeKeyPath(path), normalised);
    }

    void valuePathsAddressTheSameValue_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "Options\\X";
        QTest::newRow("leading backslash") << "\\Options\\X";
        QTest::newRow("double backslash") << "Options\\\\X";
        QTest::newRow("other letter case") << "OPTIONS\\x";
    }
    void valuePathsAddressTheSameValue()
    {
        QFETCH(QString, path);
        m_store->SetValue(QStringLiteral("Options\\X"), QStringLiteral("first"));
        m_store->SetValue(path, QStringLiteral("second"));
        QCOMPARE(m_store->GetValueDefault(QStringLiteral("Options\\X"), {}), QVariant("second"));
        QCOMPARE(valueNames(QStringLiteral("Options")), QStringList{"X"});
        QStringList keys;
        QVERIFY(m_store->GetSubKeys(QString(), keys));
        QCOMPARE(keys, QStringList{"Options"});
    }

    void singlePieceValueLiesInKey()
    {
        m_store->SetValue(QStringLiteral("Version"), QStringLiteral("1.00.17b0"));
        QCOMPARE(valueNames(QString()), QStringList{"Version"});
        QCOMPARE(m_store->CountSubKeys(QString()), 0);
        QVERIFY(fileContent().contains("[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\n"
                                       "\"Version\"=\"1.00.17b0\"\n"));
    }

    void defaultIsNeverWritten()
    {
        QCOMPARE(m_store->GetValueDefault(QStringLiteral("Options\\ProxyPort"), "80"),
                 QVariant("80"));
        QVERIFY(!m_store->KeyExists(QStringLiteral("Options")));
        QVERIFY(!QFile::exists(filePath()));
    }

    void typedValuesRoundTrip_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("readBack");
        QTest::newRow("true") << QVariant(true) << QVariant(1);
        QTest::newRow("false") << QVariant(false) << QVariant(0);
        QTest::newRow("integer") << QVariant(42) << QVariant(42);
        QTest::newRow("negative") << QVariant(-7) << QVariant(-7);
        QTest::newRow("int64 that fits") << QVariant(qint64(5)) << QVariant(5);
        QTest::newRow("string") << QVariant("C:\\Data\\log.xml") << QVariant("C:\\Data\\log.xml");
        QTest::newRow("quotes, lines, accents")
            << QVariant("say \"hi\"\r\nÅland\t\x01") << QVariant("say \"hi\"\r\nÅland\t\x01");
        QTest::newRow("empty string") << QVariant("") << QVariant("");
        QTest::newRow("double") << QVariant(2.5) << QVariant(2.5);
        QTest::newRow("date-time")
            << QVariant(QDateTime(QDate(1900, 1, 1), QTime(12, 0))) << QVariant(2.5);
    }
    void typedValuesRoundTrip()
    {
        QFETCH(QVariant, written);
        QFETCH(QVariant, readBack);
        m_store->SetValue(QStringLiteral("Options\\V"), written);
        const QVariant got = m_store->GetValueDefault(QStringLiteral("Options\\V"), "default");
        QCOMPARE(got.typeId(), readBack.typeId());
        QCOMPARE(got, readBack);
        QCOMPARE(ParseRegistryText(fileContent()).status, RegistryParseResult::psClean);
    }

    void valuesOfOtherKindsAreNotWritten_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::newRow("int64 beyond 32 bits") << QVariant(qint64(1) << 40);
        QTest::newRow("list") << QVariant(QVariantList{1, 2});
        QTest::newRow("empty") << QVariant();
        QTest::newRow("bytes") << QVariant(QByteArray("ab"));
    }
    void valuesOfOtherKindsAreNotWritten()
    {
        QFETCH(QVariant, written);
        m_store->SetValue(QStringLiteral("V"), QStringLiteral("kept"));
        m_store->SetValue(QStringLiteral("V"), written);
        QCOMPARE(m_store->GetValue(QStringLiteral("V")), QVariant("kept"));
        m_store->setRaiseExceptions(true);
        QVERIFY_THROWS_EXCEPTION(ERegistryEnhanced,
                                 m_store->SetValue(QStringLiteral("V"), written));
        QCOMPARE(m_store->GetValue(QStringLiteral("V")), QVariant("kept"));
    }

    void getValueDefaultWithWrongKinds()
    {
        writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\Options]\n"
                  "\"RecentlyUsedFileList\"=\"many\"\n"
                  "\"UseProxyServer\"=hex(7):41,00,00\n"
                  "\"Odd\"=hex:01,02,03\n");
        // The stored kind decides what comes back, whatever the default's kind.
        QCOMPARE(m_store->GetValueDefault(QStringLiteral("Options\\RecentlyUsedFileList"), 5),
                 QVariant("many"));
        QCOMPARE(m_store->GetValueDefault(QStringLiteral("Options\\Odd"), 5),
                 QVariant(QByteArray("\x01\x02\x03")));
        // A kind the store cannot read gives the default, or the error when asked for.
        QCOMPARE(m_store->GetValueDefault(QStringLiteral("Options\\UseProxyServer"), true),
                 QVariant(true));
        m_store->setRaiseExceptions(true);
        try {
            m_store->GetValueDefault(QStringLiteral("Options\\UseProxyServer"), true);
            QFAIL("no error raised");
        } catch (const ERegistryEnhanced &e) {
            QCOMPARE(e.message(), QStringLiteral("Unknown data type."));
        }
        // The unreadable value is kept when other values are written.
        m_store->SetValue(QStringLiteral("Options\\New"), 1);
        QVERIFY(fileContent().contains("\"UseProxyServer\"=hex(7):41,00,00"));
    }

    void messagesInBothLanguages()
    {
        QCOMPARE(m_store->LangType(), ltEnglish);
        QCOMPARE(m_store->TooManyEntriesMessage(), QStringLiteral("Too many entries."));
        QCOMPARE(m_store->CantOpenFileMessage(), QStringLiteral("Can't open file."));
        m_store->setLangType(ltFrench);
        QCOMPARE(m_store->TooManyEntriesMessage(), QStringLiteral("Trop d'entrées."));
        QCOMPARE(m_store->UnknownDataTypeMessage(), QStringLiteral("Type de donnée inconnu."));
        QCOMPARE(m_store->CantOpenFileMessage(), QStringLiteral("Impossible d'ouvrir le fichier."));
    }

    void emptyKeyDoesNothing()
    {
        TLumRegistryEnhanced store;
        QVERIFY(store.Key().isEmpty());
        store.SetValue(QStringLiteral("Version"), QStringLiteral("x"));
        store.SetMenu(QStringLiteral("History Lists\\Open"), {"a"});
        QVERIFY(!QFile::exists(filePath()));
        QVERIFY(!store.GetValueDefault(QStringLiteral("Version"), "d").isValid());
        QVERIFY(!store.DeleteKey(QStringLiteral("Software")));
    }

    void accessModes()
    {
        m_store->SetValue(QStringLiteral("V"), 1);
        m_store->setAccess(kRead);
        m_store->SetValue(QStringLiteral("V"), 2);
        QCOMPARE(m_store->GetValue(QStringLiteral("V")), QVariant(1));
        m_store->setAccess(kWrite);
        QCOMPARE(m_store->GetValueDefault(QStringLiteral("V"), 9), QVariant(9));
    }

    void otherRootKeysAreSeparate()
    {
        m_store->SetValue(QStringLiteral("V"), 1);
        m_store->setRootKey(hkLocalMachine);
        QVERIFY(!m_store->ValueExists(QStringLiteral("V")));
        m_store->SetValue(QStringLiteral("V"), 2);
        m_store->setRootKey(hkCurrentUser);
        QCOMPARE(m_store->GetValue(QStringLiteral("V")), QVariant(1));
    }

    void binaryTypes()
    {
        m_store->SetTypedValue(QStringLiteral("Path"), QStringLiteral("%HOME%/x"), btExpandString);
        QCOMPARE(m_store->BinaryType(), btNone);
        QCOMPARE(m_store->GetValue(QStringLiteral("Path")), QVariant("%HOME%/x"));
        QVERIFY(fileContent().contains("\"Path\"=hex(2):25,48,4f,4d,45,25,2f,78,00"));

        m_store->SetEncryptionParameters(1234, 5678);
        m_store->SetTypedValue(QStringLiteral("Secret"), QStringLiteral("pässword"),
                               btEncryptString);
        QVERIFY(!fileContent().contains("pässword"));
        QVERIFY(m_store->GetValue(QStringLiteral("Secret")) != QVariant("pässword"));
        QCOMPARE(m_store->GetTypedValue(QStringLiteral("Secret"), btEncryptString),
                 QVariant("pässword"));

        m_store->SetTypedValue(QStringLiteral("Raw"), 0x01020304, btBinary32BitMax);
        QCOMPARE(m_store->GetTypedValueDefault(QStringLiteral("Raw"), {}, btBinary32BitMin),
                 QVariant(QByteArray("\x04\x03\x02\x01")));
    }

    // ---- menu lists ----

    void menuListLayout()
    {
        const QString key = QStringLiteral("History Lists\\Open");
        m_store->SetMenu(key, {"a", "b", "c", "d", "e"});
        m_store->SetMenu(key, {"/home/u/new.xml", "/home/u/old.xml"});
        QCOMPARE(valueNames(key), (QStringList{"Count", "Item0", "Item1"}));
        QCOMPARE(m_store->GetValue(key + "\\Count"), QVariant(2));
        QCOMPARE(m_store->GetValue(key + "\\Item1"), QVariant("/home/u/old.xml"));
        QStringList captions{"stale"};
        QVERIFY(m_store->GetMenu(key, captions));
        QCOMPARE(captions, (QStringList{"/home/u/new.xml", "/home/u/old.xml"}));

        m_store->SetMenu(key, {});
        QCOMPARE(m_store->GetValue(key + "\\Count"), QVariant(0));
        QVERIFY(m_store->GetMenu(key, captions));
        QVERIFY(captions.isEmpty());
    }

    void menuListMissingKeyLeavesMenu()
    {
        QStringList captions{"x", "y"};
        QVERIFY(!m_store->GetMenu(QStringLiteral("History Lists\\Import"), captions));
        QCOMPARE(captions, (QStringList{"x", "y"}));
    }

    void menuListWithBadCount_data()
    {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("missing") << QByteArray() << QStringList{"a", "b"};
        QTest::newRow("text") << QByteArray("\"Count\"=\"2\"\n") << QStringList{"a", "b"};
        QTest::newRow("huge") << QByteArray("\"Count\"=dword:7fffffff\n")
                              << QStringList{"a", "b", ""}; // never more items than values
        QTest::newRow("negative") << QByteArray("\"Count\"=dword:ffffffff\n") << QStringList{};
        QTest::newRow("one") << QByteArray("\"Count\"=dword:00000001\n") << QStringList{"a"};
    }
    void menuListWithBadCount()
    {
        QFETCH(QByteArray, count);
        QFETCH(QStringList, captions);
        writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\History Lists\\"
                  "Open]\n\"Item0\"=\"a\"\n\"Item1\"=\"b\"\n" +
                  count);
        QStringList got{"old"};
        QVERIFY(m_store->GetMenu(QStringLiteral("History Lists\\Open"), got));
        QCOMPARE(got, captions);
    }

    void menuListBadCountRaisesWhenAsked()
    {
        writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\M]\n"
                  "\"Item0\"=\"a\"\n");
        m_store->setRaiseExceptions(true);
        QStringList got{"old"};
        QVERIFY_THROWS_EXCEPTION(ERegistryEnhanced, m_store->GetMenu(QStringLiteral("M"), got));
        QCOMPARE(got, QStringList{"old"});
    }

    // ---- check lists ----

    void checkListLayout()
    {
        m_store->SetCheckListBox(QStringLiteral("Countries"),
                                 {{"France", true}, {"Spain", false}, {"France", false}});
        QCOMPARE(valueNames(QStringLiteral("Countries")), (QStringList{"France", "Spain"}));
        QCOMPARE(m_store->GetValue(QStringLiteral("Countries\\France")), QVariant(0));

        m_store->SetCheckListBox(QStringLiteral("Countries"), {{"France", true}, {"Spain", false}});
        QList<TCheckListItem> items;
        for (int i = 0; i < 235; ++i)
            items.append({QStringLiteral("Country %1").arg(i), false});
        QVERIFY(m_store->GetCheckListBox(QStringLiteral("Countries"), items, true));
        QCOMPARE(items, (QList<TCheckListItem>{{"France", true}, {"Spain", false}}));
    }

    void checkListMissingKey()
    {
        QList<TCheckListItem> items{{"A", false}, {"B", true}};
        QVERIFY(!m_store->GetCheckListBox(QStringLiteral("Countries"), items, false));
        QCOMPARE(items, (QList<TCheckListItem>{{"A", false}, {"B", true}}));
        QVERIFY(!m_store->GetCheckListBox(QStringLiteral("Countries"), items, true));
        QCOMPARE(items, (QList<TCheckListItem>{{"A", true}, {"B", true}}));
    }

    void checkListWrongKinds()
    {
        writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\Countries]\n"
                  "\"France\"=\"1\"\n\"Spain\"=\"yes\"\n\"Italy\"=dword:00000002\n");
        QList<TCheckListItem> items;
        QVERIFY(m_store->GetCheckListBox(QStringLiteral("Countries"), items, false));
        QCOMPARE(items,
                 (QList<TCheckListItem>{{"France", true}, {"Spain", false}, {"Italy", true}}));
        m_store->setRaiseExceptions(true);
        QVERIFY_THROWS_EXCEPTION(
            ERegistryEnhanced, m_store->GetCheckListBox(QStringLiteral("Countries"), items, false));
    }

    // ---- window placement ----

    void placementFormat_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("text");
        QTest::newRow("normal") << "wsNormal"
                                << "600, 120, 80, 900, wsNormal";
        QTest::newRow("maximised") << "wsMaximized"
                                   << "600, 120, 80, 900, wsMaximized";
        QTest::newRow("minimised") << ""
                                   << "600, 120, 80, 900, ";
    }
    void placementFormat()
    {
        QFETCH(QString, state);
        QFETCH(QString, text);
        const TFormPlacement placement{600, 120, 80, 900, state};
        m_store->SetFormInfo(QStringLiteral("FormInfo\\Main Window"), placement);
        QCOMPARE(m_store->GetValue(QStringLiteral("FormInfo\\Main Window")), QVariant(text));
        TFormPlacement read;
        QCOMPARE(m_store->GetFormInfo(QStringLiteral("FormInfo\\Main Window"), read),
                 TLumRegistryEnhanced::fiFound);
        QCOMPARE(read, placement);
    }

    void placementIgnored_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("result");
        QTest::newRow("four pieces")
            << QVariant("600, 120, 80, 900") << int(TLumRegistryEnhanced::fiIgnored);
        QTest::newRow("six pieces")
            << QVariant("600, 120, 80, 900, wsNormal, x") << int(TLumRegistryEnhanced::fiIgnored);
        QTest::newRow("commas without blanks")
            << QVariant("600,120,80,900,wsNormal") << int(TLumRegistryEnhanced::fiIgnored);
        QTest::newRow("not a number")
            << QVariant("600, 1x0, 80, 900, wsNormal") << int(TLumRegistryEnhanced::fiIgnored);
        QTest::newRow("integer value") << QVariant(5) << int(TLumRegistryEnhanced::fiIgnored);
        QTest::newRow("empty") << QVariant("") << int(TLumRegistryEnhanced::fiMissing);
        QTest::newRow("missing") << QVariant() << int(TLumRegistryEnhanced::fiMissing);
    }
    void placementIgnored()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, result);
        m_store->SetValue(QStringLiteral("FormInfo\\Main Window"), stored);
        TFormPlacement read{1, 2, 3, 4, "wsNormal"};
        QCOMPARE(int(m_store->GetFormInfo(QStringLiteral("FormInfo\\Main Window"), read)), result);
        QCOMPARE(read, (TFormPlacement{1, 2, 3, 4, "wsNormal"}));
    }

    void centredPosition()
    {
        QCOMPARE(TLumRegistryEnhanced::CenteredPosition({1921, 1080}, {900, 600}),
                 QPoint(510, 240));
        QCOMPARE(TLumRegistryEnhanced::CenteredPosition({800, 600}, {901, 600}), QPoint(-50, 0));
        QCOMPARE(TLumRegistryEnhanced::PositionWarningText("TForm2"),
                 QStringLiteral("This warning indicates that position of TForm2 will not be "
                                "restored as TForm2.Position <> poDesigned."));
    }

    void importOlderPlacement()
    {
        m_store->SetValue(QStringLiteral("Old\\Height"), 600);
        m_store->SetValue(QStringLiteral("Old\\Left"), 120);
        m_store->SetValue(QStringLiteral("Old\\Top"), 80);
        m_store->SetValue(QStringLiteral("Old\\Width"), 900);
        m_store->SetValue(QStringLiteral("Old\\State"), 2);
        QVERIFY(
            m_store->ImportFormInfo(QStringLiteral("Old"), QStringLiteral("FormInfo\\Main"), true));
        QCOMPARE(m_store->GetValue(QStringLiteral("FormInfo\\Main")),
                 QVariant("600, 120, 80, 900, wsMaximized"));
        QVERIFY(!m_store->KeyExists(QStringLiteral("Old")));
    }

    // ---- fonts, columns, drop-down lists ----

    void fontsColumnsAndDropDowns()
    {
        const TFontInfo font{"DejaVu Sans, Book", 10, {"fsBold", "fsItalic"}, "#102030"};
        m_store->SetFont(QStringLiteral("Fonts\\List"), font);
        QCOMPARE(m_store->GetValue(QStringLiteral("Fonts\\List")),
                 QVariant("\"DejaVu Sans, Book\", 10, [fsBold,fsItalic], #102030"));
        TFontInfo read;
        QVERIFY(m_store->GetFont(QStringLiteral("Fonts\\List"), read));
        QCOMPARE(read, font);

        m_store->SetListViewInfo(QStringLiteral("Columns"), {120, 80, 60});
        QCOMPARE(m_store->GetValue(QStringLiteral("Columns")), QVariant("120, 80, 60"));
        QList<int> widths;
        QVERIFY(m_store->GetListViewInfo(QStringLiteral("Columns"), widths));
        QCOMPARE(widths, (QList<int>{120, 80, 60}));
        m_store->SetValue(QStringLiteral("Columns"), QStringLiteral("120, x"));
        QVERIFY(!m_store->GetListViewInfo(QStringLiteral("Columns"), widths));
        QCOMPARE(widths, (QList<int>{120, 80, 60}));

        m_store->SetComboBox(QStringLiteral("Combo"), {"one", "two"}, "two", true);
        QCOMPARE(valueNames(QStringLiteral("Combo")),
                 (QStringList{"Count", "Item0", "Item1", "Text"}));
        QStringList items;
        QString text;
        QVERIFY(m_store->GetComboBox(QStringLiteral("Combo"), items, text, true));
        QCOMPARE(items, (QStringList{"one", "two"}));
        QCOMPARE(text, QStringLiteral("two"));
    }

    // ---- keys and values ----

    void deleteAndExists()
    {
        m_store->SetValue(QStringLiteral("A\\B\\V"), 1);
        m_store->SetValue(QStringLiteral("A\\W"), 2);
        QVERIFY(m_store->KeyExists(QStringLiteral("A\\B")));
        QVERIFY(m_store->KeyExists(QStringLiteral("\\a\\b\\")));
        QVERIFY(m_store->ValueExists(QStringLiteral("A\\W")));
        QVERIFY(!m_store->ValueExists(QStringLiteral("A\\Z")));
        QVERIFY(!m_store->ValueExists(QStringLiteral("Nowhere\\W")));
        QVERIFY(!m_store->KeyExists(QStringLiteral("Nowhere")));
        QVERIFY(m_store->DeleteValue(QStringLiteral("A\\W")));
        QVERIFY(!m_store->DeleteValue(QStringLiteral("A\\W")));
        QVERIFY(m_store->DeleteKey(QStringLiteral("A")));
        QVERIFY(!m_store->KeyExists(QStringLiteral("A\\B")));
        QVERIFY(!m_store->DeleteKey(QStringLiteral("A")));
        QVERIFY(!m_store->DeleteKey(QString())); // Key itself is not a subkey
        QVERIFY(!m_store->KeyExists(QStringLiteral("Nowhere")));
        QVERIFY(!fileContent().contains("Nowhere"));
    }

    void copyAndRename()
    {
        m_store->SetValue(QStringLiteral("A\\S\\V"), QStringLiteral("text"));
        m_store->SetValue(QStringLiteral("A\\N"), 3);
        m_store->SetValue(QStringLiteral("A\\D"), 1.5);
        QVERIFY(m_store->CopyKey(QStringLiteral("A"), QStringLiteral("B")));
        QCOMPARE(m_store->GetValue(QStringLiteral("B\\S\\V")), QVariant("text"));
        QVERIFY(!m_store->CopyKey(QStringLiteral("A"), QStringLiteral("B"))); // target exists
        QVERIFY(!m_store->RenameKey(QStringLiteral("A"), QStringLiteral("A\\Inner")));
        QVERIFY(m_store->RenameKey(QStringLiteral("B"), QStringLiteral("C")));
        QVERIFY(!m_store->KeyExists(QStringLiteral("B")));
        QCOMPARE(m_store->GetValue(QStringLiteral("C\\N")), QVariant(3));

        QVERIFY(m_store->CopyValue(QStringLiteral("A\\N"), QStringLiteral("New\\N2")));
        QCOMPARE(m_store->GetValue(QStringLiteral("New\\N2")), QVariant(3));
        QVERIFY(!m_store->CopyValue(QStringLiteral("A\\D"), QStringLiteral("A\\D2"))); // binary
        QVERIFY(m_store->RenameValue(QStringLiteral("A\\N"), QStringLiteral("A\\M")));
        QVERIFY(!m_store->ValueExists(QStringLiteral("A\\N")));
        QVERIFY(m_store->RenameValue(QStringLiteral("A\\M"), QStringLiteral("A\\M")));
        QCOMPARE(m_store->GetValue(QStringLiteral("A\\M")), QVariant(3));
    }

    void search()
    {
        m_store->SetValue(QStringLiteral("Options\\ProxyPort"), QStringLiteral("8080"));
        m_store->SetValue(QStringLiteral("Options\\ProxyAddress"), QStringLiteral("host"));
        m_store->SetValue(QStringLiteral("Options\\Deep\\Port80"), 80);
        m_store->Search(QStringLiteral("Options"), QStringLiteral("port"), false, opValue);
        QCOMPARE(m_store->EntriesFound(), QStringList{"\\Options\\ProxyPort"});
        m_store->Search(QStringLiteral("Options"), QStringLiteral("80"), true, opData);
        QCOMPARE(m_store->EntriesFound(),
                 (QStringList{"\\Options\\ProxyPort", "\\Options\\Deep\\Port80"}));
        m_store->Search(QString(), QStringLiteral("DEEP"), true, opKey);
        QCOMPARE(m_store->EntriesFound(), QStringList{"\\Options\\Deep"});
    }

    // ---- files ----

    void exportToRegFile()
    {
        m_store->SetValue(QStringLiteral("Options\\ProxyPort"), QStringLiteral("80"));
        m_store->SetValue(QStringLiteral("Options\\UseProxyServer"), true);
        m_store->SetValue(QStringLiteral("Options\\Sub\\Path"), QStringLiteral("C:\\x \"y\""));
        const QString out = m_dir->filePath(QStringLiteral("export.reg"));
        QVERIFY(m_store->ExportKeyToRegFile(QStringLiteral("Options"), out));
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("REGEDIT4\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\Options]\r\n"
                            "\"ProxyPort\"=\"80\"\r\n"
                            "\"UseProxyServer\"=dword:00000001\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\Options\\Sub]\r\n"
                            "\"Path\"=\"C:\\\\x \\\"y\\\"\"\r\n\r\n"));
        QVERIFY(!m_store->ExportKeyToRegFile(QStringLiteral("Missing"), out + "2"));
    }

    void saveAndLoadKeyContent()
    {
        m_store->SetValue(QStringLiteral("Options\\ProxyAddress"), QStringLiteral("a=b"));
        m_store->SetValue(QStringLiteral("Options\\RecentlyUsedFileList"), 5);
        const QString out = m_dir->filePath(QStringLiteral("content.txt"));
        QVERIFY(m_store->SaveKeyContentToFile(QStringLiteral("Options"), out, "="));
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("ProxyAddress=a=b\r\nRecentlyUsedFileList=5\r\n"));

        QVERIFY(m_store->LoadKeyContentFromFile(QStringLiteral("Copy"), out, "="));
        QCOMPARE(m_store->GetValue(QStringLiteral("Copy\\ProxyAddress")), QVariant("a=b"));
        QCOMPARE(m_store->GetValue(QStringLiteral("Copy\\RecentlyUsedFileList")), QVariant("5"));
        QVERIFY(m_store->LoadKeyContentFromFile(QStringLiteral("Options"), out, "="));
        QCOMPARE(m_store->GetValue(QStringLiteral("Options\\RecentlyUsedFileList")), QVariant(5));

        const QString missing = m_dir->filePath(QStringLiteral("missing.txt"));
        QVERIFY(!m_store->LoadKeyContentFromFile(QStringLiteral("Copy"), missing, "="));
        m_store->setRaiseExceptions(true);
        m_store->setLangType(ltFrench);
        try {
            m_store->LoadKeyContentFromFile(QStringLiteral("Copy"), missing, "=");
            QFAIL("no error raised");
        } catch (const ERegistryEnhanced &e) {
            QCOMPARE(e.message(), QStringLiteral("Impossible d'ouvrir le fichier."));
        }
    }

    // ---- damaged settings files ----

    void damagedFile_data()
    {
        const QByteArray good = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\n"
                                "\"Version\"=\"1.00.17b0\"\n";
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("setAside");
        QTest::addColumn<QVariant>("version");
        QTest::newRow("empty") << QByteArray() << false << QVariant();
        QTest::newRow("blank lines") << QByteArray("\n\r\n  \n") << false << QVariant();
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\x02\x01\x00\x00",
                                              8)
                                << true << QVariant();
        QTest::newRow("no header") << QByteArray("Version=1\n") << true << QVariant();
        QTest::newRow("truncated value")
            << good + "[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\Options]\n\"Proxy" << true
            << QVariant("1.00.17b0");
        QTest::newRow("truncated key line")
            << good + "[HKEY_CURRENT_USER\\Software\\Mar" << true << QVariant("1.00.17b0");
        QTest::newRow("bad dword") << good + "\"Count\"=dword:xyz\n"
                                   << true << QVariant("1.00.17b0");
        QTest::newRow("value before any key")
            << QByteArray("REGEDIT4\n\"A\"=\"b\"\n") + good.mid(9) << true << QVariant("1.00.17b0");
        QTest::newRow("8-bit text")
            << QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\n"
                          "\"Version\"=\"caf\xe9\"\n")
            << true << QVariant(QStringLiteral("café"));
        QTest::newRow("clean, CR LF and comments")
            << QByteArray("\xef\xbb\xbfREGEDIT4\r\n; note\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\r\n"
                          "\"Version\" = \"1.00.17b0\"\r\n")
            << false << QVariant("1.00.17b0");
    }
    void damagedFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, setAside);
        QFETCH(QVariant, version);
        writeFile(content);
        QCOMPARE(m_store->GetValue(QStringLiteral("Version")), version);
        QCOMPARE(brokenCopies().size(), setAside ? 1 : 0);
        if (setAside) {
            // The original is kept byte for byte beside the new file.
            QFile aside(m_dir->path() + "/Marovek/" + brokenCopies().constFirst());
            QVERIFY(aside.open(QIODevice::ReadOnly));
            QCOMPARE(aside.readAll(), content);
        }
        // A later read does not set the file aside again, and writing works.
        m_store->SetValue(QStringLiteral("After"), 1);
        QCOMPARE(m_store->GetValue(QStringLiteral("Version")), version);
        QCOMPARE(m_store->GetValue(QStringLiteral("After")), QVariant(1));
        QCOMPARE(brokenCopies().size(), setAside ? 1 : 0);
        QCOMPARE(ParseRegistryText(fileContent()).status, RegistryParseResult::psClean);
    }

    void hugeFiles()
    {
        // Many values in one key and many keys out of order: read in linear time, not squared.
        QByteArray content = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\n";
        for (int i = 0; i < 40000; ++i)
            content += "\"V" + QByteArray::number(i) + "\"=dword:00000001\n";
        for (int i = 20000; i > 0; --i)
            content += "[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\K" +
                       QByteArray::number(i) + "]\n";
        writeFile(content);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m_store->CountValueNames(QString()), 40000);
        QCOMPARE(m_store->CountSubKeys(QString()), 20000);
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(brokenCopies().isEmpty());

        // Beyond any settings file's size: set aside unread.
        writeFile(content + QByteArray(5 * 1024 * 1024, ';'));
        QCOMPARE(m_store->CountValueNames(QString()), 0);
        QCOMPARE(brokenCopies().size(), 1);
    }

    // A key nested deeper than any registry allows would make every walk of the tree (writing,
    // copying, freeing) recurse that deep; such a key is refused like a damaged line.
    void deeplyNestedKeys_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("kept");
        QTest::newRow("at the limit") << RegistryTree::kMaximumKeyDepth << true;
        QTest::newRow("one level more") << RegistryTree::kMaximumKeyDepth + 1 << false;
        QTest::newRow("a million levels") << 1000000 << false;
    }
    void deeplyNestedKeys()
    {
        QFETCH(int, depth);
        QFETCH(bool, kept);
        QByteArray deep = "HKEY_CURRENT_USER";
        deep.reserve(2 * depth);
        for (int level = 1; level < depth; ++level)
            deep += "\\k";
        writeFile("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\n"
                  "\"Version\"=\"1.00.17b0\"\n[" +
                  deep + "]\n\"Deep\"=dword:00000001\n");

        QCOMPARE(m_store->GetValue(QStringLiteral("Version")), QVariant("1.00.17b0"));
        QCOMPARE(brokenCopies().size(), kept ? 0 : 1);
        QCOMPARE(fileContent().contains("\"Deep\""), kept);
        QVERIFY(!QFile::exists(filePath() + QStringLiteral(".lock")));
        m_store->SetValue(QStringLiteral("After"), 1);
        QCOMPARE(m_store->GetValue(QStringLiteral("After")), QVariant(1));
        QCOMPARE(ParseRegistryText(fileContent()).status, RegistryParseResult::psClean);
    }

    // Paths beyond the limit are refused when writing too, and so are copies that would reach
    // beyond it.
    void keysStayWithinTheDepthLimit()
    {
        // "HKEY_CURRENT_USER\Software\Marovek\Wingbook" takes four levels.
        const int room = RegistryTree::kMaximumKeyDepth - 4;
        const QString deepest = QStringLiteral("k\\").repeated(room - 1) + QStringLiteral("k");
        m_store->SetValue(deepest + QStringLiteral("\\Fits"), 1);
        QCOMPARE(m_store->GetValue(deepest + QStringLiteral("\\Fits")), QVariant(1));
        m_store->SetValue(deepest + QStringLiteral("\\k\\TooDeep"), 1);
        QVERIFY(!m_store->ValueExists(deepest + QStringLiteral("\\k\\TooDeep")));

        // A key with one subkey: two levels.
        m_store->SetValue(QStringLiteral("S\\T\\V"), 1);
        const QString tooDeep = QStringLiteral("k\\").repeated(room - 1) + QStringLiteral("S");
        QVERIFY(!m_store->CopyKey(QStringLiteral("S"), tooDeep));
        const QString fits = QStringLiteral("k\\").repeated(room - 2) + QStringLiteral("S");
        QVERIFY(m_store->CopyKey(QStringLiteral("S"), fits));
        QVERIFY(m_store->ValueExists(fits + QStringLiteral("\\T\\V")));
        QCOMPARE(ParseRegistryText(fileContent()).status, RegistryParseResult::psClean);
    }

    // Whatever stands at the settings path, a command must neither wait for it nor lose it.
    void nonRegularSettingsPath_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("link to a named pipe") << "link";
    }
    void nonRegularSettingsPath()
    {
        QFETCH(QString, kind);
        QDir().mkpath(m_dir->path() + QStringLiteral("/Marovek"));
        const QByteArray path = QFile::encodeName(filePath());
        const QByteArray pipe = QFile::encodeName(m_dir->path() + QStringLiteral("/pipe"));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(filePath()));
        else {
            QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
            QVERIFY(QFile::link(QString::fromLocal8Bit(pipe), filePath()));
        }

        // A reader that opens the pipe would wait for a writer for ever: this one comes after
        // a while, so that the test ends either way and can tell.
        std::atomic<bool> released{false};
        std::atomic<bool> done{false};
        std::thread watchdog([&] {
            for (int waited = 0; waited < 5000 && !done; waited += 10)
                QThread::msleep(10);
            for (const QByteArray &p : {path, pipe}) {
                struct stat info {
                };
                if (::stat(p.constData(), &info) != 0 || !S_ISFIFO(info.st_mode))
                    continue;
                // Opens only while a reader waits on the other end.
                const int fd = ::open(p.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    released = true;
                    ::close(fd);
                }
            }
        });
        const QVariant version = m_store->GetValue(QStringLiteral("Version"));
        m_store->SetValue(QStringLiteral("After"), 1);
        const QVariant after = m_store->GetValue(QStringLiteral("After"));
        done = true;
        watchdog.join();

        QVERIFY2(!released, "a settings operation waited on the pipe");
        QCOMPARE(version, QVariant());
        QCOMPARE(after, QVariant(1));
        QCOMPARE(QFileInfo(filePath()).isFile(), true);
        const QStringList aside = QDir(m_dir->path() + QStringLiteral("/Marovek"))
                                      .entryList({QStringLiteral("Wingbook.reg.broken-*")},
                                                 QDir::AllEntries | QDir::System | QDir::Hidden);
        QCOMPARE(aside.size(), 1);
        QVERIFY(!QFile::exists(filePath() + QStringLiteral(".lock")));
    }

    // A big settings file is parsed once per change of its content, not once per operation.
    void parsedOncePerChange()
    {
        QByteArray content = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\n"
                             "\"Version\"=\"1.00.17b0\"\n";
        for (int i = 0; i < 50000; ++i)
            content += "[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook\\K" +
                       QByteArray::number(i) + "]\n\"V\"=dword:00000001\n";
        writeFile(content);

        const quint64 before = RegistryFile::parseCount();
        for (int i = 0; i < 12; ++i)
            QCOMPARE(m_store->GetValue(QStringLiteral("K%1\\V").arg(i)), QVariant(1));
        QCOMPARE(RegistryFile::parseCount() - before, quint64(1));

        // Changed on disk by someone else, same size, same inode, within the same second.
        writeFile(QByteArray(content).replace("\"1.00.17b0\"", "\"1.00.18b0\""));
        QCOMPARE(m_store->GetValue(QStringLiteral("Version")), QVariant("1.00.18b0"));
        QCOMPARE(RegistryFile::parseCount() - before, quint64(2));

        // A change written by the store is known without parsing the new file.
        for (int i = 0; i < 5; ++i)
            m_store->SetValue(QStringLiteral("Options\\N%1").arg(i), i);
        QCOMPARE(m_store->GetValue(QStringLiteral("Options\\N4")), QVariant(4));
        QCOMPARE(m_store->CountSubKeys(QString()), 50001);
        QCOMPARE(RegistryFile::parseCount() - before, quint64(2));
    }

    void unreadableFileIsNotOverwritten()
    {
        writeFile("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Marovek\\Wingbook]\n\"V\"=\"1\"\n");
        QFile::setPermissions(filePath(), QFileDevice::WriteOwner);
        QFile probe(filePath());
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("running with rights that read any file");
        m_store->SetValue(QStringLiteral("W"), 2);
        QFile::setPermissions(filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(fileContent().contains("\"V\"=\"1\""));
        QVERIFY(!fileContent().contains("\"W\""));
    }

    // ---- several programs at once ----

    void concurrentWritersLoseNoValue()
    {
        const int perWriter = 30;
        QProcess a;
        QProcess b;
        const QString self = QCoreApplication::applicationFilePath();
        a.start(self, {"--writer", "a", QString::number(perWriter)});
        b.start(self, {"--writer", "b", QString::number(perWriter)});
        QVERIFY(a.waitForFinished(120000));
        QVERIFY(b.waitForFinished(120000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        QStringList names;
        QVERIFY(m_store->GetValueNames(QStringLiteral("Stress"), names));
        QCOMPARE(names.size(), 2 * perWriter);
        for (int i = 0; i < perWriter; ++i) {
            QCOMPARE(m_store->GetValue(QStringLiteral("Stress\\a%1").arg(i)), QVariant(i));
            QCOMPARE(m_store->GetValue(QStringLiteral("Stress\\b%1").arg(i)), QVariant(i));
        }
    }

    void killedWriterLeavesWholeFile_data()
    {
        QTest::addColumn<int>("confirmed");
        QTest::newRow("early") << 3;
        QTest::newRow("later") << 20;
    }
    void killedWriterLeavesWholeFile()
    {
        QFETCH(int, confirmed);
        m_store->SetValue(QStringLiteral("Before"), QStringLiteral("kept"));
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), {"--writer", "k", "0"});
        QVERIFY(writer.waitForStarted());
        int last = -1;
        while (last + 1 < confirmed) {
            if (!writer.canReadLine())
                QVERIFY(writer.waitForReadyRead(30000));
            while (writer.canReadLine())
                last = writer.readLine().trimmed().toInt();
        }
        writer.kill(); // SIGKILL: no chance to finish a write or remove the lock
        QVERIFY(writer.waitForFinished());

        QCOMPARE(ParseRegistryText(fileContent()).status, RegistryParseResult::psClean);
        QCOMPARE(m_store->GetValue(QStringLiteral("Before")), QVariant("kept"));
        for (int i = 0; i <= last; ++i)
            QCOMPARE(m_store->GetValue(QStringLiteral("Stress\\k%1").arg(i)), QVariant(i));
        QVERIFY(brokenCopies().isEmpty());
        // The lock left by the killed writer does not block the next one.
        m_store->SetValue(QStringLiteral("After"), 1);
        QCOMPARE(m_store->GetValue(QStringLiteral("After")), QVariant(1));
    }
};

int main(int argc, char **argv)
{
    if (argc >= 2 && qstrcmp(argv[1], "--writer") == 0)
        return runWriter(argc, argv);
    QCoreApplication app(argc, argv);
    TestRegistryEnhanced test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registryenhanced.moc"
