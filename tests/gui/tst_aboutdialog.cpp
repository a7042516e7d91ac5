// The about window: its texts and what is visible, the links and the icon, OK and Escape, and
// the component's version text.
#include "components/ui/LumAbout.h"
#include "components/ui/LumAboutDialog.h"
#include "components/ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

Q_DECLARE_METATYPE(TLumAboutOptions)

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Wingbook"));
        MessageBoxes::setResponder([this](const MessageBoxes::Request &request) {
            m_boxes << request.text;
            return QMessageBox::Ok;
        });
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_catcher, "open");
    }
    void init()
    {
        m_catcher.urls.clear();
        m_boxes.clear();
    }

    void programTexts()
    {
        TLumAboutDialog about;
        configure(about);
        TLumAboutBox *seen = nullptr;
        QString title, version, copyright, memoryLabel, memory, system, author, email, url, text;
        bool emailUnderlined = false;
        QColor emailColour;
        const bool ok = run(about, [&](TLumAboutBox *box) {
            seen = box;
            title = box->windowTitle();
            version = box->VersionLabel->text();
            copyright = box->CopyrightLabel->text();
            memoryLabel = box->PhysicalMemoryLabel->text();
            memory = box->PhysMem->text();
            system = box->OSInfoLabel->text();
            author = box->AuthorLabel->text();
            email = box->EmailLabel->text();
            url = box->URLLabel->text();
            text = box->TextLabel->text();
            emailUnderlined = box->EmailLabel->font().underline();
            emailColour = box->EmailLabel->palette().color(QPalette::WindowText);
            QVERIFY(box->EmailLabel->isVisible());
            QVERIFY(box->TolvarLogoImage->isVisible());
            QVERIFY(!box->WindowsLogoImage->isVisible());
            box->OKButton->click();
        });
        QVERIFY(seen);
        QVERIFY(ok);
        QCOMPARE(title, QStringLiteral("About Wingbook"));
        QCOMPARE(version, QStringLiteral("Version 1.00.17 - Build 0"));
        QCOMPARE(copyright, QStringLiteral("(C) 2026 Marovek"));
        QCOMPARE(author, QStringLiteral("Marovek"));
        QCOMPARE(email, QStringLiteral("support@maker.example"));
        QCOMPARE(url, QStringLiteral("https://maker.example/"));
        QCOMPARE(text, QStringLiteral("Written by :"));
        QVERIFY2(memoryLabel.startsWith(QLatin1String("Physical memory available to ")) &&
                     memoryLabel.endsWith(QLatin1String(" :")) &&
                     !memoryLabel.contains(QLatin1String("Windows")),
                 qPrintable(memoryLabel));
        QVERIFY2(memory.endsWith(QLatin1String(" KB")) && memory != QLatin1String("0 KB"),
                 qPrintable(memory));
        QVERIFY2(system.startsWith(QLatin1String("Unknown ")), qPrintable(system));
        QVERIFY(emailUnderlined);
        QCOMPARE(emailColour, QColor(0, 0, 128));
        // The run leaves the component's texts as the resource gave them.
        QCOMPARE(about.Version, QStringLiteral("Version 1.00.17"));
        QCOMPARE(about.Copyright, QStringLiteral("(C) 2026 Marovek"));
        QVERIFY(m_boxes.isEmpty());
    }

    void escapeClosesWithOK()
    {
        TLumAboutDialog about;
        configure(about);
        const bool ok = run(about, [](TLumAboutBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
        QVERIFY(ok);
    }

    void frenchAndHiddenLabels()
    {
        TLumAboutDialog about;
        configure(about);
        about.LangType = ltFrench;
        about.Options =
            kProgramAboutOptions & ~TLumAboutOptions(opShowEmail | opShowURL | opShowTolvarLogo);
        QString title, memory;
        bool emailShown = true, urlShown = true, logoShown = true;
        run(about, [&](TLumAboutBox *box) {
            title = box->windowTitle();
            memory = box->PhysMem->text();
            emailShown = box->EmailLabel->isVisible();
            urlShown = box->URLLabel->isVisible();
            logoShown = box->TolvarLogoImage->isVisible();
            box->accept();
        });
        QCOMPARE(title, QStringLiteral("A propos de Wingbook"));
        QVERIFY2(memory.endsWith(QLatin1String(" KO")), qPrintable(memory));
        QVERIFY(!emailShown && !urlShown && !logoShown);
    }

    void clicks_data()
    {
        QTest::addColumn<bool>("releaseNotes");
        QTest::newRow("without release notes") << false;
        QTest::newRow("with release notes") << true;
    }
    void clicks()
    {
        QFETCH(bool, releaseNotes);
        const QString notes = QCoreApplication::applicationFilePath() + QStringLiteral(".txt");
        if (releaseNotes) {
            QFile file(notes);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("notes\n");
        }
        TLumAboutDialog about;
        configure(about);
        QString hint;
        run(about, [&](TLumAboutBox *box) {
            hint = box->ProgramIconImage->toolTip();
            QTest::mouseClick(box->EmailLabel, Qt::LeftButton);
            QTest::mouseClick(box->URLLabel, Qt::LeftButton);
            QTest::mouseDClick(box->ProgramIconImage, Qt::LeftButton);
            box->accept();
        });
        QFile::remove(notes);
        QList<QUrl> expected{QUrl(QStringLiteral("mailto:support@maker.example")),
                             QUrl(QStringLiteral("https://maker.example/"))};
        if (releaseNotes)
            expected << QUrl::fromLocalFile(notes);
        QCOMPARE(m_catcher.urls, expected);
        QCOMPARE(hint, releaseNotes ? QStringLiteral("Double-click") : QString());
    }

    void extractVersion_data()
    {
        QTest::addColumn<QString>("fileVersion"); // null: no version resource
        QTest::addColumn<QString>("shortForm");
        QTest::addColumn<QString>("longForm");
        QTest::addColumn<QString>("label");
        QTest::newRow("1.0.17.0") << "1.0.17.0"
                                  << "1.00.17"
                                  << "1.00.17b0"
                                  << "Version 1.00.17 - Build 0";
        QTest::newRow("2.1.5") << "2.1.5"
                               << "2.1.5"
                               << "2.1.5b0"
                               << "Version 2.1.5 - Build 0";
        QTest::newRow("no version") << QString() << "x.xx.xx"
                                    << "x.xx.xx"
                                    << "Version x.xx.xx - Build ";
    }
    void extractVersion()
    {
        QFETCH(QString, fileVersion);
        QFETCH(QString, shortForm);
        QFETCH(QString, longForm);
        QFETCH(QString, label);
        TLumAboutDialog about;
        configure(about);
        if (fileVersion.isNull())
            about.setVersionResource(std::nullopt);
        else
            about.setVersionResource(VersionResource{QStringLiteral("Wingbook"), fileVersion,
                                                     QStringLiteral("(C)"), QStringLiteral("M")});
        QCOMPARE(about.ExtractVersion(false), shortForm);
        QCOMPARE(about.ExtractVersion(true), longForm);
        QString shown;
        run(about, [&](TLumAboutBox *box) {
            shown = box->VersionLabel->text();
            box->accept();
        });
        QCOMPARE(shown, label);
    }

private:
    void configure(TLumAboutDialog &about)
    {
        about.Options = kProgramAboutOptions;
        about.Author = QStringLiteral("Marovek");
        about.Email = QStringLiteral("support@maker.example");
        about.URL = QStringLiteral("https://maker.example/");
        about.Text = QStringLiteral("Written by :");
        about.setVersionResource(
            VersionResource{QStringLiteral("Wingbook"), QStringLiteral("1.0.17.0"),
                            QStringLiteral("(C) 2026"), QStringLiteral("Marovek")});
    }
    // Executes the dialog; `act` runs in the shown window and must close it.
    bool run(TLumAboutDialog &about, const std::function<void(TLumAboutBox *)> &act)
    {
        connect(&about, &TLumAboutDialog::aboutBoxReady, this, [this, act](TLumAboutBox *box) {
            QTimer::singleShot(0, this, [box, act] {
                act(box);
                if (box->isVisible()) // a failed check left it open
                    box->done(QDialog::Rejected);
            });
        });
        return about.Execute();
    }

    UrlCatcher m_catcher;
    QStringList m_boxes;
};

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
