// The main window's Help commands: Check for Updates (F9) runs the update check with the
// running version and the options' proxy, About (menu and toolbar) shows the about window, and
// the version the window stores comes from the about dialog.
#include "app/OptionsStartup.h"
#include "app/WingbookUnit1.h"
#include "components/LumRegistryEnhanced.h"
#include "components/ui/LumAbout.h"
#include "components/ui/LumAboutDialog.h"
#include "components/ui/LumAppUpdate.h"
#include "components/ui/LumAppUpdateNotify.h"
#include "components/ui/MessageBoxes.h"

#include "support/LocalWebServer.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

class TestHelpCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid() && m_root.isValid() && m_temp.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("TMPDIR", m_temp.path().toUtf8());
        MessageBoxes::setResponder([this](const MessageBoxes::Request &request) {
            m_boxes << request.text;
            return request.kind == MessageBoxes::Kind::Confirmation ? QMessageBox::No
                                                                    : QMessageBox::Ok;
        });
        QFile description(m_root.filePath(QStringLiteral("MarovekUpdates.txt")));
        QVERIFY(description.open(QIODevice::WriteOnly));
        description.write(
            "[Wingbook]\nVersion=99.00.00\nReadmeFileURL=http://maker.invalid/n.txt\n");
        description.close();
        QFile notes(m_root.filePath(QStringLiteral("n.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("Release notes through the proxy\n");
        notes.close();
        const QString started = m_server.start(m_root.path());
        QVERIFY2(started.isEmpty(), qPrintable(started));
    }
    void init() { m_boxes.clear(); }

    void commandsAreShown()
    {
        TForm1 form;
        QAction *check = form.action(MainCommand::CheckForUpdates);
        QAction *about = form.action(MainCommand::About);
        QVERIFY(check->isVisible() && check->isEnabled());
        QCOMPARE(check->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(check->text(), QStringLiteral("Check for Updates..."));
        QVERIFY(about->isVisible() && about->isEnabled());
        QCOMPARE(about->text(), QStringLiteral("About..."));
        QWidget *button = form.ToolBar1->widgetForAction(about);
        QVERIFY2(button, "the toolbar has an About button");
        QCOMPARE(qobject_cast<QToolButton *>(button)->toolTip(), QStringLiteral("About"));
        QCOMPARE(form.LumAppUpdate1->FileSizeUnit, TLumAppUpdateFileSizeUnit::KiloBytes);
        QVERIFY(form.LumAppUpdate1->UpdateFileURL.startsWith(QLatin1String("https://")));
        QVERIFY(form.LumAppUpdate1->UpdateFileURL.endsWith(
            QLatin1String("/marovek/MarovekUpdates.txt")));
        QVERIFY(form.LumAppUpdate1->UpdatePageURL.endsWith(QLatin1String("/marovek/")));
    }

    void storedVersionComesFromTheAboutDialog()
    {
        TForm1 form;
        QCOMPARE(form.LumRegistryEnhanced1->GetValue(QStringLiteral("Version")).toString(),
                 form.LumAboutDialog1->ExtractVersion(true));
        QVERIFY(form.LumAboutDialog1->ExtractVersion(true).contains(u'b'));
    }

    void checkForUpdatesUsesTheOptionsProxy()
    {
        // The options name the test server as the proxy, so only a proxied request can fetch
        // the description from a host that does not exist.
        {
            std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
            store->SetValue(QStringLiteral("Options\\UseProxyServer"), true);
            store->SetValue(QStringLiteral("Options\\ProxyAddress"), QStringLiteral("127.0.0.1"));
            store->SetValue(QStringLiteral("Options\\ProxyPort"), QString::number(m_server.port()));
        }
        TForm1 form;
        CreateOptionsDialog(form, {});
        QCOMPARE(form.LumAppUpdate1->ProxyAddress, QStringLiteral("127.0.0.1"));
        form.LumAppUpdate1->setProgramSection(QStringLiteral("Wingbook"));
        form.LumAppUpdate1->UpdateFileURL =
            QStringLiteral("http://maker.invalid/MarovekUpdates.txt");
        QString notes, version;
        connect(form.LumAppUpdate1, &TLumAppUpdate::notifyBoxReady, this,
                [&](TLumAppUpdateNotifyBox *box) {
                    QTimer::singleShot(0, box, [&, box] {
                        notes = box->ReadmeMemo->toPlainText();
                        box->close();
                    });
                });
        form.action(MainCommand::CheckForUpdates)->trigger();
        QCOMPARE(notes, QStringLiteral("Release notes through the proxy"));
        QCOMPARE(form.LumAppUpdate1->Version, form.LumAboutDialog1->ExtractVersion(false));
        QCOMPARE(m_boxes, QStringList());
    }

    void aboutShowsTheAboutWindow()
    {
        TForm1 form;
        QString version, system;
        connect(form.LumAboutDialog1, &TLumAboutDialog::aboutBoxReady, this,
                [&](TLumAboutBox *box) {
                    QTimer::singleShot(0, box, [&, box] {
                        version = box->VersionLabel->text();
                        system = box->OSInfoLabel->text();
                        box->accept();
                    });
                });
        form.action(MainCommand::About)->trigger();
        QVERIFY2(version.startsWith(QLatin1String("Version ")) &&
                     version.contains(QLatin1String(" - Build ")),
                 qPrintable(version));
        QVERIFY2(system.startsWith(QLatin1String("Unknown ")), qPrintable(system));
    }

private:
    QTemporaryDir m_config;
    QTemporaryDir m_root;
    QTemporaryDir m_temp;
    LocalWebServer m_server;
    QStringList m_boxes;
};

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
