// wingbook-cli: the log operations of Wingbook without a window, for scripts and checks.
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace
{

void printHelp(QTextStream &out)
{
    out << "usage: wingbook-cli [GLOBAL OPTIONS] COMMAND [ARGUMENTS]\n\n"
           "Commands:\n";
    for (const CliCommandInfo &command : registeredCliCommands())
        // Two blanks at least part a usage from its summary, also for a long usage: manual
        // pages and the bash completion read the usage up to them.
        out << "  " << command.usage.leftJustified(43) << "  " << command.summary << '\n';
    out << "\nGlobal options:\n"
           "  --option NAME=on|off    set a check-box option for this run, NAME being one of:\n";
    for (const QString &name : OptionSet::checkBoxNames())
        out << "                            " << name << '\n';
    out << "  --def-files-path DIR    folder of Airlines.def and Airports.def for this run\n"
           "  --help                  show this help\n"
           "  --version               show the version\n\n"
           "Exit status: 0 success, 1 the operation failed, 2 bad arguments.\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Wingbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WINGBOOK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    CliContext ctx{{}, OptionSet(), QString(), QString(), out, err};
    LoadCliDefaults(ctx);
    QString problem;
    if (!ApplyCliGlobalOptions(args, ctx, problem)) {
        err << "wingbook-cli: " << problem << '\n' << "Try 'wingbook-cli --help'.\n";
        return 2;
    }
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        out << "wingbook-cli " << WINGBOOK_VERSION << '\n';
        return 0;
    }
    const QString name = args.takeFirst();
    for (const CliCommandInfo &command : registeredCliCommands()) {
        if (command.name == name) {
            ctx.args = args;
            const int status = command.handler(ctx);
            out.flush();
            err.flush();
            return status;
        }
    }
    err << "wingbook-cli: unknown command \"" << name << "\"\n"
        << "Try 'wingbook-cli --help'.\n";
    return 2;
}
