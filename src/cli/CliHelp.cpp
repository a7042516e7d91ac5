#include "cli/CliHelp.h"

#include "cli/CliOptions.h"

namespace
{

// Column of the descriptions in the lists of options and arguments.
constexpr qsizetype kTermWidth = 22;
constexpr qsizetype kSynopsisWidth = 44;
constexpr qsizetype kLineWidth = 100;

QString optionTerm(const QString &longName, const QString &valueName)
{
    QString term = QLatin1String("--") + longName;
    if (!valueName.isEmpty())
        term += QLatin1Char(' ') + valueName;
    return term;
}

// Writes LEAD and then TEXT broken at blanks into lines of at most kLineWidth characters (a
// longer word stands alone); the lines after the first begin with INDENT blanks.
void printWrapped(QTextStream &out, const QString &lead, const QString &text, qsizetype indent)
{
    QString line = lead;
    bool lineHasWords = false;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineHasWords && line.size() + 1 + word.size() > kLineWidth) {
            out << line << '\n';
            line = QString(indent, QLatin1Char(' '));
            lineHasWords = false;
        }
        if (lineHasWords)
            line += QLatin1Char(' ');
        line += word;
        lineHasWords = true;
    }
    out << line << '\n';
}

// "  TERM  DESCRIPTION", the descriptions of a list in one column.
void printTerm(QTextStream &out, const QString &term, const QString &description)
{
    const QString lead = QLatin1String("  ") + term.leftJustified(kTermWidth) + QLatin1String("  ");
    printWrapped(out, lead, description, lead.size());
}

} // namespace

void printCliHelp(QTextStream &out, const QList<CliCommand> &commands)
{
    out << "usage: wingbook-cli [GLOBAL OPTIONS] COMMAND [ARGUMENTS]\n\n"
           "Commands:\n";
    for (const CliCommand &command : commands)
        // Two blanks at least part a synopsis from its summary, also for a long synopsis: the
        // manual pages and the bash completion read the synopsis up to them.
        out << "  " << command.synopsis().leftJustified(kSynopsisWidth - 1) << "  "
            << command.summary << '\n';
    out << "\nGlobal options:\n";
    for (const CliGlobalOption &option : cliGlobalOptions()) {
        printTerm(out, optionTerm(option.names.last(), option.valueName), option.description);
        for (const QString &choice : option.choices)
            out << QString(kTermWidth + 6, QLatin1Char(' ')) << choice << '\n';
    }
    out << "\nExit status: 0 success, 1 the operation failed, 2 bad arguments.\n";
}

void printCliCommandHelp(QTextStream &out, const CliCommand &command)
{
    out << "usage: wingbook-cli " << command.synopsis() << "\n\n";
    printWrapped(out, QString(), command.summary, 0);
    if (!command.arguments.isEmpty()) {
        out << "\nArguments:\n";
        for (const CliArgument &argument : command.arguments)
            printTerm(out, argument.name, argument.description);
    }
    out << "\nOptions:\n";
    for (const CliOption &option : command.options)
        printTerm(out, optionTerm(option.name, option.valueName), option.description);
    printTerm(out, QStringLiteral("--help"), QStringLiteral("show this help"));
    out << '\n';
    if (!command.arguments.isEmpty())
        out << "An argument that begins with a dash follows the word --.\n";
    out << "The global options (see wingbook-cli --help) go before the command.\n";
}
