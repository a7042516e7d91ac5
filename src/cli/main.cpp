// wingbook-cli: the log operations of Wingbook without a window, for scripts and checks.
#include "cli/CliCommands.h"
#include "cli/CliRunner.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Wingbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WINGBOOK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCli(QCoreApplication::arguments(), cliCommands(), out, err);
}
