// Time from the Open command to the first painted rows of the main window, offscreen, for the
// logs named on the command line; beside it, the time the same read takes without a window
// (as wingbook-cli show reads a log).
//
//   bench_open_window LOG.xml [LOG.xml ...]
#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"
#include "platform/ui/FileDialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

// Notes the first paint of a view after it is armed.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

double windowlessReadMs(const QString &path)
{
    LogDocument document;
    OptionSet options;
    LogFileHost host;
    QElapsedTimer clock;
    clock.start();
    const LogFileResult result = OpenXMLFile(document, path, options, host);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    return result.ok ? ms : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config; // keep the user's settings out of it
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wingbook"));
    const QStringList logs = app.arguments().mid(1);
    if (logs.isEmpty()) {
        std::fprintf(stderr, "usage: bench_open_window LOG.xml [LOG.xml ...]\n");
        return 2;
    }
    QStringList errors;
    MessageBoxes::setResponder([&errors](const MessageBoxes::Request &request) {
        errors.append(request.text);
        return QMessageBox::No;
    });

    int status = 0;
    for (const QString &path : logs) {
        OptionSet options;
        TForm1 form;
        form.setOptions(&options);
        form.show();
        QApplication::processEvents();

        PaintWatch watch;
        form.LumListView1->viewport()->installEventFilter(&watch);
        FileDialogs::setResponder([&path](const FileDialogs::Request &) {
            return FileDialogs::Result{true, path, 0};
        });
        QElapsedTimer clock;
        clock.start();
        form.action(MainCommand::Open)->trigger();
        while (!watch.painted && clock.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        const double windowMs = double(clock.nsecsElapsed()) / 1e6;
        form.LumListView1->viewport()->removeEventFilter(&watch);

        if (!errors.isEmpty() || !watch.painted) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path),
                         errors.isEmpty() ? "no rows painted" : qPrintable(errors.join(' ')));
            status = 1;
            errors.clear();
            continue;
        }
        const int flights = form.Document().Flights.count();
        const double readMs = windowlessReadMs(path);
        std::printf("%s: %d flights, Open to first painted rows %.0f ms, read without window "
                    "%.0f ms, ratio %.2f\n",
                    qPrintable(path), flights, windowMs, readMs,
                    readMs > 0 ? windowMs / readMs : 0.0);
        form.Document().setModified(false);
    }
    return status;
}
