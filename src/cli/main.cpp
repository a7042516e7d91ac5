// wingbook-cli: the log operations of Wingbook without a window, for scripts and checks.
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/CliRunner.h"
#include "cli/gui/CliGuiCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace
{

// Only the commands that draw start QtGui (offscreen unless the user chose a platform); the
// others keep a QCoreApplication, so they run without a display and start as fast.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    const QString command = cliCommandWord(words);
    const QList<CliCommand> &drawing = cliGuiCommands();
    const bool draws = std::any_of(drawing.begin(), drawing.end(),
                                   [&](const CliCommand &c) { return c.name == command; });
    if (!draws)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Wingbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WINGBOOK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // One table, in alphabetical order as the help lists it.
    QList<CliCommand> commands = cliCommands() + cliGuiCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand &a, const CliCommand &b) { return a.name < b.name; });
    return runCli(QCoreApplication::arguments(), commands, out, err);
}
