// Time from the Statistics command to the first painted ranking row, offscreen, for the logs
// named on the command line; beside it the time of opening the log in the window, of the
// statistics computed without a window and of filling the window without showing it.
//
//   bench_statistics_window LOG.xml [LOG.xml ...]
#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"
#include "statistics/Statistics.h"
#include "statistics/ui/StatisticsCommand.h"
#include "statistics/ui/WingbookUnit8.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace
{

// Notes when a widget is first painted after the clock starts.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(const QElapsedTimer &clock) : m_clock(clock) {}
    double paintedAtMs = -1;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintedAtMs < 0)
            paintedAtMs = double(m_clock.nsecsElapsed()) / 1e6;
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &m_clock;
};

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
        std::fprintf(stderr, "usage: bench_statistics_window LOG.xml [LOG.xml ...]\n");
        return 2;
    }
    MessageBoxes::setResponder([](const MessageBoxes::Request &) { return QMessageBox::No; });

    int status = 0;
    for (const QString &path : logs) {
        OptionSet options;
        TForm1 form;
        form.setOptions(&options);
        TForm8 *window = CreateStatisticsWindow(form);
        form.show();
        QApplication::processEvents();

        QElapsedTimer clock;
        clock.start();
        if (!form.openLogFile(path)) {
            std::fprintf(stderr, "%s: cannot be opened\n", qPrintable(path));
            status = 1;
            continue;
        }
        const double openMs = double(clock.nsecsElapsed()) / 1e6;

        StatisticsReport report;
        clock.restart();
        report.compute(form.Document(), QDateTime::currentDateTime());
        const double computeMs = double(clock.nsecsElapsed()) / 1e6;

        // The window's own filling alone: the figures and the three lists, not yet shown.
        clock.restart();
        window->fill(form.Document(), options);
        const double fillMs = double(clock.nsecsElapsed()) / 1e6;

        PaintWatch watch(clock);
        window->AirlinesLumListView->viewport()->installEventFilter(&watch);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, window, [&] {
            if (watch.paintedAtMs >= 0 || clock.elapsed() > 60000)
                window->accept();
        });
        poll.start(1);
        clock.restart();
        form.action(MainCommand::Statistics)->trigger();
        window->AirlinesLumListView->viewport()->removeEventFilter(&watch);
        if (watch.paintedAtMs < 0) {
            std::fprintf(stderr, "%s: no ranking painted\n", qPrintable(path));
            status = 1;
            continue;
        }
        std::printf("%s: %d flights, open %.0f ms, statistics without window %.0f ms (%.3f of "
                    "the open time), filling the window %.0f ms, Statistics command to first "
                    "painted ranking %.0f ms\n",
                    qPrintable(path), form.Document().Flights.count(), openMs, computeMs,
                    computeMs / openMs, fillMs, watch.paintedAtMs);
    }
    return status;
}
