// The update check's windows against a local web server: the notification window and its
// release notes, the messages when nothing is newer, the update page, a second check while one
// waits, and the download window: progress, timer, cancel, checksum, a refused HEAD, a failed
// GET, and the hand-over to the installer.
#include "components/ui/LumAppUpdate.h"
#include "components/ui/LumAppUpdateDownload.h"
#include "components/ui/LumAppUpdateNotify.h"
#include "components/ui/MessageBoxes.h"

#include "support/LocalWebServer.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

// Records what the program asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

// What one download window showed while it ran.
struct DownloadSeen {
    bool visible = false;
    QString file;
    QString status;
    QString elapsed;
    QString speed;
    QString remaining;
    QString transfer;
    int maximum = -1;
    int position = -1;
};

class TestAppUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newerVersionShowsTheNotification();
    void nothingNewer_data();
    void nothingNewer();
    void invalidSourceIsReported();
    void openWebPageKeepsTheWindow();
    void secondCheckWhileWaitingIsRefused();
    void downloadVerifiesAndHandsOver();
    void downloadWithWrongChecksum();
    void cancel_data();
    void cancel();
    void refusedHeadShowsNoWindow();
    void failedGetIsTold();

private:
    void write(const QString &name, const QByteArray &data);
    // Runs a check of the description file `name`; `whileShown` runs in the shown
    // notification window. Returns what Execute returned.
    bool runCheck(const QString &name,
                  const std::function<void(TLumAppUpdateNotifyBox *)> &whileShown,
                  bool noMessages = false);
    // Describes a download of `path` with a SHA-256 (right, or not).
    void describeDownload(const QString &name, const QString &path, bool rightChecksum = true);
    // Clicks Download in the notification window and watches the download window.
    void download(const QString &name,
                  const std::function<void(TLumAppUpdateDownloadBox *)> &tick = {});
    QStringList boxTexts() const;
    QStringList downloadedFiles() const;

    QTemporaryDir m_root;
    QTemporaryDir m_data;
    QTemporaryDir m_temp;
    LocalWebServer m_server;
    QByteArray m_setup;
    QList<MessageBoxes::Request> m_boxes;
    QList<QMessageBox::StandardButton> m_answers;
    UrlCatcher m_catcher;
    std::unique_ptr<QWidget> m_owner;
    // Called when a message box comes, to see the download window as it is then.
    std::function<void()> m_atMessage;
    bool m_ended = false;
    bool m_shown = false;
    DownloadSeen m_seen;
};

void TestAppUpdate::initTestCase()
{
    QVERIFY(m_root.isValid() && m_data.isValid() && m_temp.isValid());
    QVERIFY(QDir(m_data.path()).mkdir(QStringLiteral("Downloaded Installations")));
    qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
    qputenv("TMPDIR", m_temp.path().toLocal8Bit());
    m_setup = QByteArray(100000, 's') + "end";
    write(QStringLiteral("setup.bin"), m_setup);
    write(QStringLiteral("notes.txt"), "What is new:\n- faster\n");
    const QString started = m_server.start(m_root.path());
    QVERIFY2(started.isEmpty(), qPrintable(started));
    MessageBoxes::setResponder([this](const MessageBoxes::Request &request) {
        m_boxes.append(request);
        if (m_atMessage)
            m_atMessage();
        if (request.kind == MessageBoxes::Kind::Confirmation && !m_answers.isEmpty())
            return m_answers.takeFirst();
        return request.kind == MessageBoxes::Kind::Confirmation ? QMessageBox::No : QMessageBox::Ok;
    });
    for (const char *scheme : {"http", "https", "file", "mailto"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_catcher, "open");
}

void TestAppUpdate::init()
{
    m_boxes.clear();
    m_answers.clear();
    m_catcher.urls.clear();
    m_ended = false;
    m_shown = false;
    m_seen = DownloadSeen();
    m_atMessage = nullptr;
    m_owner = std::make_unique<QWidget>();
    m_owner->show();
}

void TestAppUpdate::cleanup()
{
    m_owner.reset();
    for (const QString &file : downloadedFiles())
        QFile::remove(m_data.filePath(QStringLiteral("Downloaded Installations/") + file));
    QVERIFY2(QDir(m_temp.path()).entryList(QDir::Files).isEmpty(),
             "the check leaves no temporary file");
}

void TestAppUpdate::write(const QString &name, const QByteArray &data)
{
    QFile file(m_root.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

bool TestAppUpdate::runCheck(const QString &name,
                             const std::function<void(TLumAppUpdateNotifyBox *)> &whileShown,
                             bool noMessages)
{
    TLumAppUpdate update(m_owner.get());
    update.setProgramSection(QStringLiteral("Wingbook"));
    update.UpdateFileURL = m_server.url(u'/' + name);
    update.UpdatePageURL = QStringLiteral("https://maker.example/marovek/");
    update.Version = QStringLiteral("1.00.17");
    update.FileSizeUnit = TLumAppUpdateFileSizeUnit::KiloBytes;
    update.FontReadme = QFont(QStringLiteral("DejaVu Sans Mono"), 11);
    update.setApplicationEnder([this] { m_ended = true; });
    connect(&update, &TLumAppUpdate::notifyBoxReady, this, [&](TLumAppUpdateNotifyBox *box) {
        QPointer<TLumAppUpdateNotifyBox> alive(box);
        QTimer::singleShot(0, this, [this, alive, whileShown] {
            if (!alive || !alive->isVisible())
                return;
            m_shown = true;
            if (whileShown)
                whileShown(alive);
            if (alive && alive->isVisible())
                alive->close();
        });
    });
    return update.Execute(noMessages);
}

void TestAppUpdate::describeDownload(const QString &name, const QString &path, bool rightChecksum)
{
    const QByteArray sha256 =
        rightChecksum ? QCryptographicHash::hash(m_setup, QCryptographicHash::Sha256).toHex()
                      : QByteArray(64, '0');
    write(name, "[Wingbook]\nVersion=1.00.18\nDownloadFileURL=" + m_server.url(path).toUtf8() +
                    "\nSHA256Hash=" + sha256 + "\n");
}

void TestAppUpdate::download(const QString &name,
                             const std::function<void(TLumAppUpdateDownloadBox *)> &tick)
{
    QVERIFY(runCheck(name, [this, tick](TLumAppUpdateNotifyBox *box) {
        QVERIFY(box->DownloadButton->isEnabled());
        QTimer watch;
        connect(box, &TLumAppUpdateNotifyBox::downloadBoxCreated, this,
                [this, &watch, tick](TLumAppUpdateDownloadBox *dl) {
                    QPointer<TLumAppUpdateDownloadBox> alive(dl);
                    auto look = [this, alive] {
                        if (!alive)
                            return;
                        m_seen.visible = m_seen.visible || alive->isVisible();
                        m_seen.file = alive->FileLabel->text();
                        m_seen.status = alive->StatusLabel->text();
                        m_seen.elapsed = alive->ElapsedTimeLabel->text();
                        m_seen.speed = alive->SpeedLabel->text();
                        m_seen.remaining = alive->RemainingTimeLabel->text();
                        m_seen.transfer = alive->TransferLabel->text();
                        m_seen.maximum = alive->ProgressBar1->maximum();
                        m_seen.position = alive->ProgressBar1->value();
                    };
                    m_atMessage = look;
                    connect(&watch, &QTimer::timeout, this, [alive, look, tick] {
                        look();
                        if (alive && tick)
                            tick(alive);
                    });
                    watch.start(50);
                });
        box->DownloadButton->click();
        m_atMessage = nullptr;
    }));
}

QStringList TestAppUpdate::boxTexts() const
{
    QStringList texts;
    for (const MessageBoxes::Request &r : m_boxes)
        texts << r.text;
    return texts;
}

QStringList TestAppUpdate::downloadedFiles() const
{
    return QDir(m_data.filePath(QStringLiteral("Downloaded Installations"))).entryList(QDir::Files);
}

void TestAppUpdate::newerVersionShowsTheNotification()
{
    write(QStringLiteral("newer.txt"), "[Wingbook]\nVersion=1.00.18\nReadmeFileURL=" +
                                           m_server.url(QStringLiteral("/notes.txt")).toUtf8() +
                                           "\n");
    QString title, notes;
    bool readOnly = false, downloadEnabled = true, wraps = true;
    QFont readmeFont;
    const bool result = runCheck(QStringLiteral("newer.txt"), [&](TLumAppUpdateNotifyBox *box) {
        title = box->windowTitle();
        notes = box->ReadmeMemo->toPlainText();
        readOnly = box->ReadmeMemo->isReadOnly();
        wraps = box->ReadmeMemo->lineWrapMode() != QPlainTextEdit::NoWrap;
        downloadEnabled = box->DownloadButton->isEnabled();
        readmeFont = box->ReadmeMemo->font();
        QVERIFY(box->OKButton->isDefault());
    });
    QVERIFY(result);
    QVERIFY(m_shown);
    QCOMPARE(title, QStringLiteral("New Version Available"));
    QCOMPARE(notes, QStringLiteral("What is new:\n- faster"));
    QVERIFY(readOnly);
    QVERIFY(!wraps);
    QVERIFY2(!downloadEnabled, "no download address, no Download");
    QCOMPARE(readmeFont.pointSize(), 11);
    QCOMPARE(boxTexts(), QStringList());
}

void TestAppUpdate::nothingNewer_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("noMessages");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("opened");
    const QString question = QStringLiteral(
        "There are no advertised versions available.\nDo you want to open the update web page?");
    QTest::newRow("same version") << QByteArray("[Wingbook]\nVersion=1.00.17\n") << QMessageBox::Ok
                                  << false << QStringList{"There are no new versions available."}
                                  << QStringList();
    QTest::newRow("nothing published, Yes opens the page")
        << QByteArray("[Other]\nVersion=2\n") << QMessageBox::Yes << false << QStringList{question}
        << QStringList{"https://maker.example/marovek/"};
    QTest::newRow("nothing published, No") << QByteArray("[Other]\nVersion=2\n") << QMessageBox::No
                                           << false << QStringList{question} << QStringList();
    QTest::newRow("description missing")
        << QByteArray() << QMessageBox::Yes << false << QStringList{question}
        << QStringList{"https://maker.example/marovek/"};
    QTest::newRow("no messages asked for")
        << QByteArray("[Wingbook]\nVersion=1.00.17\n") << QMessageBox::Ok << true << QStringList()
        << QStringList();
}

void TestAppUpdate::nothingNewer()
{
    QFETCH(QByteArray, description);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, noMessages);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, opened);
    const QString name = QStringLiteral("same-%1.txt")
                             .arg(QString::fromLatin1(QTest::currentDataTag()))
                             .replace(u' ', u'-');
    if (!description.isEmpty())
        write(name, description);
    m_answers = {answer};
    QVERIFY(!runCheck(name, {}, noMessages));
    QVERIFY2(!m_shown, "the notification window is not shown");
    QCOMPARE(boxTexts(), messages);
    QStringList urls;
    for (const QUrl &url : m_catcher.urls)
        urls << url.toString();
    QCOMPARE(urls, opened);
}

void TestAppUpdate::invalidSourceIsReported()
{
    TLumAppUpdate update(m_owner.get());
    update.UpdateFileURL = QStringLiteral("nowhere");
    update.UpdatePageURL = QStringLiteral("https://maker.example/marovek/");
    m_answers = {QMessageBox::No};
    QVERIFY(!update.Execute(false));
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes[0].kind, MessageBoxes::Kind::Error);
    QCOMPARE(m_boxes[0].text, QStringLiteral("\"nowhere\" is an invalid source."));
    QCOMPARE(m_boxes[1].kind, MessageBoxes::Kind::Confirmation);
}

void TestAppUpdate::openWebPageKeepsTheWindow()
{
    write(QStringLiteral("page.txt"),
          "[Wingbook]\nVersion=1.00.18\nUpdatePageURL=https://elsewhere.example/new\n");
    bool stillShown = false;
    QVERIFY(runCheck(QStringLiteral("page.txt"), [&](TLumAppUpdateNotifyBox *box) {
        box->OpenWebPageButton->click();
        stillShown = box->isVisible();
    }));
    QVERIFY(stillShown);
    QCOMPARE(m_catcher.urls, QList<QUrl>{QUrl(QStringLiteral("https://elsewhere.example/new"))});
}

void TestAppUpdate::secondCheckWhileWaitingIsRefused()
{
    // A long description that comes slowly, so that the first check is still waiting.
    write(QStringLiteral("slow.txt"), "[Wingbook]\nVersion=1.00.17\n" + QByteArray(20000, ';'));
    TLumAppUpdate update(m_owner.get());
    update.setProgramSection(QStringLiteral("Wingbook"));
    update.UpdateFileURL = m_server.url(QStringLiteral("/slow/slow.txt"));
    update.Version = QStringLiteral("1.00.17");
    bool second = true;
    bool waiting = false;
    QTimer::singleShot(100, this, [&] {
        waiting = update.isChecking();
        second = update.Execute(false);
    });
    QVERIFY(!update.Execute(false));
    QVERIFY(waiting);
    QVERIFY(!second);
    QCOMPARE(boxTexts(), QStringList{"There are no new versions available."});
    QVERIFY(!update.isChecking());
}

void TestAppUpdate::downloadVerifiesAndHandsOver()
{
    describeDownload(QStringLiteral("dl.txt"), QStringLiteral("/slow/setup.bin"));
    download(QStringLiteral("dl.txt"));
    QVERIFY(m_seen.visible);
    QCOMPARE(m_seen.file, QStringLiteral("setup.bin"));
    QCOMPARE(m_seen.status, QStringLiteral("Downloading file"));
    QCOMPARE(m_seen.maximum, int(m_setup.size()));
    QCOMPARE(m_seen.position, int(m_setup.size()));
    QCOMPARE(m_seen.transfer, QStringLiteral("97 KB of 97 KB (100%)"));
    // The slow server takes more than two seconds: the timer has shown its figures.
    QVERIFY2(m_seen.elapsed != QStringLiteral("00:00:00"), qPrintable(m_seen.elapsed));
    QVERIFY2(
        QRegularExpression(QStringLiteral("^[1-9][0-9]* KB/sec$")).match(m_seen.speed).hasMatch(),
        qPrintable(m_seen.speed));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                .match(m_seen.remaining)
                .hasMatch());

    QCOMPARE(boxTexts(), QStringList{"The application will close to start the update."});
    QVERIFY2(!m_owner->isVisible(), "the main window is closed");
    QVERIFY(m_ended);
    const QString target = m_data.filePath(QStringLiteral("Downloaded Installations/setup.bin"));
    QCOMPARE(m_catcher.urls, QList<QUrl>{QUrl::fromLocalFile(target)});
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), m_setup);
}

void TestAppUpdate::downloadWithWrongChecksum()
{
    describeDownload(QStringLiteral("bad.txt"), QStringLiteral("/setup.bin"), false);
    download(QStringLiteral("bad.txt"));
    QCOMPARE(boxTexts(), QStringList{"The downloaded file is corrupted."});
    QCOMPARE(downloadedFiles(), QStringList());
    QVERIFY(m_owner->isVisible());
    QVERIFY(!m_ended);
    QVERIFY(m_catcher.urls.isEmpty());
}

void TestAppUpdate::cancel_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("Yes stops and deletes")
        << QMessageBox::Yes
        << QStringList{"Do you want to cancel the download?", "The update was not completed."}
        << QStringList();
    QTest::newRow("No goes on") << QMessageBox::No
                                << QStringList{"Do you want to cancel the download?",
                                               "The application will close to start the update."}
                                << QStringList{"setup.bin"};
}

void TestAppUpdate::cancel()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, left);
    describeDownload(QStringLiteral("cancel.txt"), QStringLiteral("/slow/setup.bin"));
    m_answers = {answer};
    bool asked = false;
    download(QStringLiteral("cancel.txt"), [&](TLumAppUpdateDownloadBox *box) {
        if (!asked && box->received() > 0) {
            asked = true;
            box->CancelButton->click();
        }
    });
    QVERIFY(asked);
    QCOMPARE(boxTexts(), messages);
    QCOMPARE(downloadedFiles(), left);
}

void TestAppUpdate::refusedHeadShowsNoWindow()
{
    describeDownload(QStringLiteral("nohead.txt"), QStringLiteral("/nohead/setup.bin"));
    download(QStringLiteral("nohead.txt"));
    QVERIFY(!m_seen.visible);
    QCOMPARE(boxTexts(), QStringList());
    QCOMPARE(downloadedFiles(), QStringList());
    QVERIFY(m_owner->isVisible());
}

void TestAppUpdate::failedGetIsTold()
{
    describeDownload(QStringLiteral("noget.txt"), QStringLiteral("/headonly/setup.bin"));
    download(QStringLiteral("noget.txt"));
    QCOMPARE(boxTexts(), QStringList{"Failed: 503 Service Unavailable"});
    QCOMPARE(downloadedFiles(), QStringList());
    QVERIFY(!m_ended);
}

QTEST_MAIN(TestAppUpdate)
#include "tst_appupdate.moc"
