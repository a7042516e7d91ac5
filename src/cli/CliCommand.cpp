#include "cli/CliCommand.h"

#include "cli/CliMessages.h"

QString CliCommand::synopsis() const
{
    QStringList words{name};
    for (const CliArgument &argument : arguments) {
        switch (argument.kind) {
        case CliArgument::Required:
            words << argument.name;
            break;
        case CliArgument::Optional:
            words << QLatin1Char('[') + argument.name + QLatin1Char(']');
            break;
        case CliArgument::Repeated:
            words << argument.name + QLatin1String("...");
            break;
        }
    }
    for (const CliOption &option : options) {
        QString word = QLatin1String("[--") + option.name;
        if (!option.valueName.isEmpty())
            word += QLatin1Char(' ') + option.valueName;
        words << word + QLatin1Char(']');
    }
    return words.join(QLatin1Char(' '));
}

int CliContext::fail(const QString &message)
{
    writeCliMessage(err, message);
    return 1;
}

void CliContext::notice(const QString &message)
{
    writeCliMessage(err, message);
}

int CliContext::usageError(const QString &problem)
{
    return writeCliUsageError(err, command.synopsis(), problem);
}
