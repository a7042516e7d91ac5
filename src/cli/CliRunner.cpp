#include "cli/CliRunner.h"

#include "cli/CliHelp.h"
#include "cli/CliMessages.h"
#include "cli/CliOptions.h"

namespace
{

const QString kHelp = QStringLiteral("help");

// "--name" for a long option, "-n" for a short one, as the user wrote it.
QString optionWord(const QString &name)
{
    return (name.size() == 1 ? QLatin1String("-") : QLatin1String("--")) + name;
}

// The parser's complaint in the program's own words where it has them. An option that takes a
// value takes the next word whatever it is, so a value is missing only after the last word.
QString parseProblem(const QCommandLineParser &parser, const QStringList &words,
                     const QStringList &valueOptions)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("unknown option \"%1\"").arg(optionWord(unknown.first()));
    if (!words.isEmpty() && words.last().startsWith(QLatin1String("--")) &&
        valueOptions.contains(words.last().mid(2)))
        return QStringLiteral("%1 needs a value").arg(words.last());
    return parser.errorText();
}

bool takesArgumentCount(const CliCommand &command, qsizetype count)
{
    qsizetype least = 0;
    qsizetype most = 0;
    bool unlimited = false;
    for (const CliArgument &argument : command.arguments) {
        least += argument.kind == CliArgument::Optional ? 0 : 1;
        most += 1;
        unlimited = unlimited || argument.kind == CliArgument::Repeated;
    }
    return count >= least && (unlimited || count <= most);
}

int runCommand(const CliCommand &command, const QStringList &words, const CliSettings &settings,
               QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    QStringList valueOptions;
    for (const CliOption &option : command.options) {
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
        if (!option.valueName.isEmpty())
            valueOptions << option.name;
    }
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelp}));
    // The parser skips the first word as the program's name.
    if (!parser.parse(QStringList{command.name} + words))
        return writeCliUsageError(err, command.synopsis(),
                                  parseProblem(parser, words, valueOptions));
    if (parser.isSet(kHelp)) {
        printCliCommandHelp(out, command);
        return 0;
    }
    const QStringList arguments = parser.positionalArguments();
    if (!takesArgumentCount(command, arguments.size()))
        return writeCliUsageError(err, command.synopsis(), QString());
    CliContext ctx{command,
                   parser,
                   arguments,
                   settings.options,
                   settings.defFilesPath,
                   settings.commonDefFilesPath,
                   out,
                   err};
    return command.handler(ctx);
}

} // namespace

int runCli(const QStringList &commandLine, const QList<CliCommand> &commands, QTextStream &out,
           QTextStream &err)
{
    CliSettings settings = loadCliDefaults();

    // The global options stand before the command; the command's words are its own.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    addCliGlobalOptions(parser);
    QString problem;
    if (!parser.parse(commandLine))
        problem = parseProblem(parser, commandLine, cliGlobalValueOptions());
    else
        applyCliGlobalOptions(parser, settings, problem);
    if (!problem.isEmpty())
        return writeCliHelpPointer(err, problem);

    QStringList words = parser.positionalArguments();
    int status = 0;
    if (parser.isSet(kHelp)) {
        printCliHelp(out, commands);
    } else if (parser.isSet(QStringLiteral("version"))) {
        out << "wingbook-cli " << WINGBOOK_VERSION << '\n';
    } else if (words.isEmpty()) {
        // Without a command the help is the answer, but the call was still wrong.
        printCliHelp(out, commands);
        status = 2;
    } else {
        const QString name = words.takeFirst();
        const auto command = std::find_if(commands.begin(), commands.end(),
                                          [&](const CliCommand &c) { return c.name == name; });
        if (command == commands.end())
            status = writeCliHelpPointer(err, QStringLiteral("unknown command \"%1\"").arg(name));
        else
            status = runCommand(*command, words, settings, out, err);
    }
    out.flush();
    err.flush();
    return status;
}
