// The version texts and what the about window shows.
#include "components/AboutText.h"

#include <QTest>

Q_DECLARE_METATYPE(TLumAboutOptions)

namespace
{

std::optional<VersionResource> resource(const QString &version)
{
    if (version.isNull())
        return std::nullopt;
    return VersionResource{QStringLiteral("Wingbook"), version, QStringLiteral("(C) 2026"),
                           QStringLiteral("Marovek")};
}

const OsIdentity kLinux{QStringLiteral("Linux"), QStringLiteral("6.1.0-18-amd64"), 6, 1};
const PhysicalMemoryInfo kMemory{true, quint64(8334616) * 1024, QString()};
const QLocale kComma(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestAboutText : public QObject
{
    Q_OBJECT

private slots:
    void extractVersion_data()
    {
        QTest::addColumn<QString>("fileVersion"); // null: no version resource
        QTest::addColumn<TLumAboutOptions>("options");
        QTest::addColumn<QString>("shortForm");
        QTest::addColumn<QString>("longForm");
        QTest::newRow("four parts") << "1.0.17.0" << kProgramAboutOptions << "1.00.17"
                                    << "1.00.17b0";
        QTest::newRow("two-digit parts stay") << "2.10.5.12" << kProgramAboutOptions << "2.10.05"
                                              << "2.10.05b12";
        QTest::newRow("three parts unchanged, build 0")
            << "2.1.5" << kProgramAboutOptions << "2.1.5"
            << "2.1.5b0";
        QTest::newRow("empty pieces dropped") << "1..0.17.3" << kProgramAboutOptions << "1.00.17"
                                              << "1.00.17b3";
        QTest::newRow("no version information") << QString() << kProgramAboutOptions << "x.xx.xx"
                                                << "x.xx.xx";
        QTest::newRow("version information not read")
            << "1.0.17.0" << (kProgramAboutOptions & ~TLumAboutOptions(opEnableVersionInfo))
            << "x.xx.xx"
            << "x.xx.xx";
        QTest::newRow("not formatted")
            << "1.0.17.0" << (kProgramAboutOptions & ~TLumAboutOptions(opFormatVersionInfo))
            << "1.0.17"
            << "1.0.17.0";
        QTest::newRow("build number not allowed")
            << "1.0.17.0" << (kProgramAboutOptions & ~TLumAboutOptions(opShowBuildNumber))
            << "1.00.17"
            << "1.00.17";
    }
    void extractVersion()
    {
        QFETCH(QString, fileVersion);
        QFETCH(TLumAboutOptions, options);
        QFETCH(QString, shortForm);
        QFETCH(QString, longForm);
        QCOMPARE(extractVersionText(resource(fileVersion), options, false), shortForm);
        QCOMPARE(extractVersionText(resource(fileVersion), options, true), longForm);
    }

    void versionLabel_data()
    {
        QTest::addColumn<QString>("fileVersion");
        QTest::addColumn<TLumAboutOptions>("options");
        QTest::addColumn<QString>("label");
        QTest::newRow("program's options")
            << "1.0.17.0" << kProgramAboutOptions << "Version 1.00.17 - Build 0";
        QTest::newRow("three parts")
            << "2.1.5" << kProgramAboutOptions << "Version 2.1.5 - Build 0";
        QTest::newRow("not formatted")
            << "1.0.17.0" << (kProgramAboutOptions & ~TLumAboutOptions(opFormatVersionInfo))
            << "Version 1.0.17.0";
        QTest::newRow("no resource: empty build")
            << QString() << kProgramAboutOptions << "Version x.xx.xx - Build ";
        QTest::newRow("without the build")
            << "1.0.17.0" << (kProgramAboutOptions & ~TLumAboutOptions(opShowBuildNumber))
            << "Version 1.00.17";
        QTest::newRow("build from the file date")
            << "1.0.17.0" << (kProgramAboutOptions & ~TLumAboutOptions(opEnableVersionInfo))
            << "Version x.xx.xx - Build 23.05.17";
    }
    void versionLabel()
    {
        QFETCH(QString, fileVersion);
        QFETCH(TLumAboutOptions, options);
        QFETCH(QString, label);
        AboutSettings settings;
        settings.Options = options;
        settings.programFileDate = QDate(2023, 5, 17);
        const AboutTexts t =
            composeAboutTexts(settings, resource(fileVersion), kLinux, kMemory, kComma);
        QCOMPARE(t.version, label);
    }

    void titleCopyrightAndVisibility()
    {
        AboutSettings settings;
        settings.Options = kProgramAboutOptions & ~TLumAboutOptions(opShowEmail | opShowOSInfo);
        settings.Copyright = QStringLiteral("designed copyright");
        settings.applicationTitle = QStringLiteral("AppTitle");
        settings.Author = QStringLiteral("Marovek");
        AboutTexts t = composeAboutTexts(settings, resource(QStringLiteral("1.0.17.0")), kLinux,
                                         kMemory, kComma);
        QCOMPARE(t.title, QStringLiteral("About Wingbook"));
        QCOMPARE(t.application, QStringLiteral("Wingbook"));
        QCOMPARE(t.copyright, QStringLiteral("(C) 2026 Marovek"));
        QCOMPARE(t.newVersion, QStringLiteral("Version 1.00.17"));
        QCOMPARE(t.author, QStringLiteral("Marovek"));
        QVERIFY(t.authorVisible && t.textVisible && t.urlVisible && t.tolvarLogoVisible);
        QVERIFY(!t.emailVisible && !t.osInfoVisible && !t.windowsLogoVisible);

        // Without a resource the application's title and the designed values stay.
        t = composeAboutTexts(settings, std::nullopt, kLinux, kMemory, kComma);
        QCOMPARE(t.title, QStringLiteral("About AppTitle"));
        QCOMPARE(t.application, QStringLiteral("AppTitle"));
        QCOMPARE(t.copyright, QStringLiteral("designed copyright"));
        QCOMPARE(t.newVersion, QStringLiteral("Version x.xx.xx"));

        // A resource without a description names the application by its title.
        auto unnamed = resource(QStringLiteral("1.0.17.0"));
        unnamed->FileDescription.clear();
        t = composeAboutTexts(settings, unnamed, kLinux, kMemory, kComma);
        QCOMPARE(t.title, QStringLiteral("About AppTitle"));
    }

    void systemAndMemory_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("titleStart");
        QTest::addColumn<QString>("memoryLabel");
        QTest::addColumn<QString>("memory");
        QTest::newRow("English") << int(ltEnglish) << "About "
                                 << "Physical memory available to Linux :"
                                 << "8,334,616 KB";
        QTest::newRow("French") << int(ltFrench) << "A propos de "
                                << QString::fromUtf8("Mémoire physique disponible pour Linux :")
                                << "8,334,616 KO";
    }
    void systemAndMemory()
    {
        QFETCH(int, language);
        QFETCH(QString, titleStart);
        QFETCH(QString, memoryLabel);
        QFETCH(QString, memory);
        AboutSettings settings;
        settings.LangType = TLangType(language);
        const AboutTexts t = composeAboutTexts(settings, resource(QStringLiteral("1.0.17.0")),
                                               kLinux, kMemory, kComma);
        QVERIFY2(t.title.startsWith(titleStart), qPrintable(t.title));
        QCOMPARE(t.memoryLabel, memoryLabel);
        QCOMPARE(t.physMem, memory);
        QCOMPARE(t.osInfo, QStringLiteral("Unknown 6.1"));
    }

    void failedMemoryQueryKeepsTheDesignedAmount()
    {
        const PhysicalMemoryInfo failed{false, 0, QStringLiteral("Function not implemented")};
        const AboutTexts t = composeAboutTexts(AboutSettings(), std::nullopt, kLinux, failed);
        QCOMPARE(t.physMem, QStringLiteral("-"));
        QCOMPARE(t.memoryError, QStringLiteral("Function not implemented"));
    }

    void releaseNotesHint()
    {
        AboutSettings settings;
        QCOMPARE(composeAboutTexts(settings, std::nullopt, kLinux, kMemory).programIconHint,
                 QString());
        settings.releaseNotesExist = true;
        QCOMPARE(composeAboutTexts(settings, std::nullopt, kLinux, kMemory).programIconHint,
                 QStringLiteral("Double-click"));
    }

    void kernelRelease_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::newRow("Debian") << "6.1.0-18-amd64" << 6 << 1;
        QTest::newRow("two numbers") << "5.15" << 5 << 15;
        QTest::newRow("one number") << "7-rc1" << 7 << 0;
        QTest::newRow("no number") << "unknown" << 0 << 0;
    }
    void kernelRelease()
    {
        QFETCH(QString, release);
        QFETCH(int, major);
        QFETCH(int, minor);
        int actualMajor = -1, actualMinor = -1;
        parseKernelRelease(release, actualMajor, actualMinor);
        QCOMPARE(actualMajor, major);
        QCOMPARE(actualMinor, minor);
    }

    void runningSystemIsReported()
    {
        const OsIdentity os = operatingSystemIdentity();
        QVERIFY(!os.systemName.isEmpty());
        QVERIFY(os.majorVersion > 0);
        const PhysicalMemoryInfo memory = totalPhysicalMemory();
        QVERIFY2(memory.ok, qPrintable(memory.error));
        QVERIFY(memory.bytes > 0);
    }
};

QTEST_GUILESS_MAIN(TestAboutText)
#include "tst_abouttext.moc"
