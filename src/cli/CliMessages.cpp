#include "cli/CliMessages.h"

namespace
{
const char *const kProgram = "wingbook-cli";
}

void writeCliMessage(QTextStream &err, const QString &message)
{
    err << kProgram << ": " << message << '\n';
}

int writeCliUsageError(QTextStream &err, const QString &synopsis, const QString &problem)
{
    if (!problem.isEmpty())
        writeCliMessage(err, problem);
    err << "usage: " << kProgram << ' ' << synopsis << '\n';
    return 2;
}

int writeCliHelpPointer(QTextStream &err, const QString &problem)
{
    writeCliMessage(err, problem);
    err << "Try '" << kProgram << " --help'.\n";
    return 2;
}
