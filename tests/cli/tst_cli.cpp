// wingbook-cli's command line: the general and per-command help, the version, the global
// options, and the usage errors of every command.
#include "CliTestRun.h"

#include "options/WingbookOptions.h"

namespace
{

const QString kLog = QStringLiteral(WINGBOOK_FIXTURES "/logs/handmade.xml");
const QString kTryHelp = QStringLiteral("Try 'wingbook-cli --help'.\n");

QString usage(const QString &synopsis)
{
    return QStringLiteral("usage: wingbook-cli ") + synopsis + QLatin1Char('\n');
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_settings.isValid()); }
    void init() { failOnAnyWarning(); }

    void generalHelp_data();
    void generalHelp();
    void helpListsTheTable();
    void version();
    void commandHelp_data();
    void commandHelp();
    void badArguments_data();
    void badArguments();

private:
    TestSupport::PrivateSettingsFolder m_settings; // keeps the user's settings out of every run
};

void TestCli::generalHelp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << 0;
    QTest::newRow("after a global option")
        << QStringList{QStringLiteral("--option"), QStringLiteral("AutoPopulateAirlines=off"),
                       QStringLiteral("--help")}
        << 0;
    QTest::newRow("before a command")
        << QStringList{QStringLiteral("--help"), QStringLiteral("show")} << 0;
    // Nothing to do is a wrong call: the help, but status 2.
    QTest::newRow("no command") << QStringList{} << 2;
    QTest::newRow("only global options")
        << QStringList{QStringLiteral("--def-files-path"), QStringLiteral("/tmp")} << 2;
}

void TestCli::generalHelp()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const CliResult run = runWingbookCli(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.startsWith(
                 QLatin1String("usage: wingbook-cli [GLOBAL OPTIONS] COMMAND [ARGUMENTS]\n")),
             qPrintable(run.out));
    QVERIFY(run.out.contains(QLatin1String("  show LOG [--json]  ")));
    QCOMPARE(run.err, QString());
}

void TestCli::helpListsTheTable()
{
    const QString help = runWingbookCli({QStringLiteral("--help")}).out;
    // One line per command, in table order, each with its usage and summary.
    qsizetype from = 0;
    for (const CliCommand &command : cliCommands()) {
        const qsizetype at =
            help.indexOf(QLatin1String("\n  ") + command.synopsis() + QLatin1Char(' '), from);
        QVERIFY2(at >= from && at >= 0, qPrintable(command.name));
        const qsizetype end = help.indexOf(QLatin1Char('\n'), at + 1);
        QVERIFY2(help.mid(at, end - at).endsWith(QLatin1Char(' ') + command.summary),
                 qPrintable(command.name));
        from = end;
    }
    // Every check-box option is named under --option.
    const qsizetype options = help.indexOf(QLatin1String("  --option NAME=on|off    set"));
    QVERIFY(options > from);
    for (const QString &name : OptionSet::checkBoxNames())
        QVERIFY2(help.indexOf(QString(28, QLatin1Char(' ')) + name + QLatin1Char('\n'), options) >
                     options,
                 qPrintable(name));
    QVERIFY(help.endsWith(
        QLatin1String("\nExit status: 0 success, 1 the operation failed, 2 bad arguments.\n")));
}

void TestCli::version()
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--version")},
          QStringList{QStringLiteral("--option"), QStringLiteral("SortAlphabeticalCodes=on"),
                      QStringLiteral("--version"), QStringLiteral("show")}}) {
        const CliResult run = runWingbookCli(arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("wingbook-cli 1.0.17.0\n"));
        QCOMPARE(run.err, QString());
    }
}

void TestCli::commandHelp_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("help");
    for (const CliCommand &command : cliCommands()) {
        QTest::addRow("%s --help", qPrintable(command.name)) << command.name << "--help";
        QTest::addRow("%s -h", qPrintable(command.name)) << command.name << "-h";
    }
}

void TestCli::commandHelp()
{
    QFETCH(QString, name);
    QFETCH(QString, help);
    const auto command = std::find_if(cliCommands().begin(), cliCommands().end(),
                                      [&](const CliCommand &c) { return c.name == name; });
    // The help comes before the count of arguments is checked.
    const CliResult run = runWingbookCli({name, help});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QVERIFY2(run.out.startsWith(usage(command->synopsis()) + QLatin1Char('\n')),
             qPrintable(run.out));
    // Each argument and option with its description, which may take several lines.
    const QString words = run.out.simplified();
    for (const CliArgument &argument : command->arguments)
        QVERIFY2(words.contains(argument.name + QLatin1Char(' ') + argument.description),
                 qPrintable(argument.name));
    for (const CliOption &option : command->options)
        QVERIFY2(words.contains(QLatin1String(" --") +
                                QStringList{option.name, option.valueName, option.description}
                                    .join(QLatin1Char(' '))
                                    .simplified()),
                 qPrintable(option.name));
}

void TestCli::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");
    const QString show = usage(QStringLiteral("show LOG [--json]"));
    const QString save = usage(QStringLiteral("save LOG [OUT]"));
    const QString lookup = usage(QStringLiteral("lookup airline|airport CODE"));
    const QString search =
        usage(QStringLiteral("search airlines|airports PATTERN [--case-sensitive]"));
    const QString addFlight = usage(
        QStringLiteral("add-flight LOG DATE TIME FROM TO AIRLINE FLIGHT [--json] [--dry-run]"));

    // A command given too few or too many words shows its usage line alone.
    QTest::newRow("show without a log") << QStringList{QStringLiteral("show")} << show;
    QTest::newRow("show with two logs") << QStringList{QStringLiteral("show"), kLog, kLog} << show;
    QTest::newRow("save without a log") << QStringList{QStringLiteral("save")} << save;
    QTest::newRow("save with three files")
        << QStringList{QStringLiteral("save"), kLog, QStringLiteral("a"), QStringLiteral("b")}
        << save;
    QTest::newRow("missing code") << QStringList{QStringLiteral("lookup"),
                                                 QStringLiteral("airline")}
                                  << lookup;
    QTest::newRow("missing pattern")
        << QStringList{QStringLiteral("search"), QStringLiteral("airports")} << search;
    QTest::newRow("add-flight with an empty log name")
        << QStringList{QStringLiteral("add-flight"), QString(),
                       QStringLiteral("2023-01-05"), QStringLiteral("07:45"),
                       QStringLiteral("JFK"),        QStringLiteral("CDG"),
                       QStringLiteral("AF"),         QStringLiteral("7")}
        << addFlight;

    // A word the command does not take, and a first word that is not one of its choices.
    QTest::newRow("unknown long option")
        << QStringList{QStringLiteral("show"), kLog, QStringLiteral("--csv")}
        << QStringLiteral("wingbook-cli: unknown option \"--csv\"\n") + show;
    QTest::newRow("unknown short option")
        << QStringList{QStringLiteral("show"), QStringLiteral("-x"), kLog}
        << QStringLiteral("wingbook-cli: unknown option \"-x\"\n") + show;
    QTest::newRow("another command's option")
        << QStringList{QStringLiteral("save"), kLog, QStringLiteral("--json")}
        << QStringLiteral("wingbook-cli: unknown option \"--json\"\n") + save;
    QTest::newRow("a switch given a value")
        << QStringList{QStringLiteral("show"), kLog, QStringLiteral("--json=yes")}
        << QStringLiteral("wingbook-cli: Unexpected value after '--json'.\n") + show;
    QTest::newRow("global option after the command")
        << QStringList{QStringLiteral("show"), QStringLiteral("--option"),
                       QStringLiteral("SortAlphabeticalCodes=on"), kLog}
        << QStringLiteral("wingbook-cli: unknown option \"--option\"\n") + show;
    QTest::newRow("neither airline nor airport")
        << QStringList{QStringLiteral("lookup"), QStringLiteral("country"), QStringLiteral("FR")}
        << QStringLiteral("wingbook-cli: look up an airline or an airport, not \"country\"\n") +
               lookup;
    QTest::newRow("neither airlines nor airports")
        << QStringList{QStringLiteral("search"), QStringLiteral("airline"), QStringLiteral("x")}
        << QStringLiteral("wingbook-cli: search airlines or airports, not \"airline\"\n") + search;

    // What stands before the command.
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")}
                                     << QStringLiteral("wingbook-cli: unknown command "
                                                       "\"frobnicate\"\n") +
                                            kTryHelp;
    QTest::newRow("unknown global option")
        << QStringList{QStringLiteral("--bogus"), QStringLiteral("show"), kLog}
        << QStringLiteral("wingbook-cli: unknown option \"--bogus\"\n") + kTryHelp;
    QTest::newRow("unknown option name")
        << QStringList{QStringLiteral("--option"), QStringLiteral("NoSuchOption=on"),
                       QStringLiteral("show"), kLog}
        << QStringLiteral("wingbook-cli: unknown option \"NoSuchOption\"\n") + kTryHelp;
    QTest::newRow("option value neither on nor off")
        << QStringList{QStringLiteral("--option=SortAlphabeticalCodes=yes"), QStringLiteral("show"),
                       kLog}
        << QStringLiteral("wingbook-cli: --option takes NAME=on or NAME=off, not "
                          "\"SortAlphabeticalCodes=yes\"\n") +
               kTryHelp;
    QTest::newRow("option without a value")
        << QStringList{QStringLiteral("--option"), QStringLiteral("SortAlphabeticalCodes"),
                       QStringLiteral("show"), kLog}
        << QStringLiteral("wingbook-cli: --option takes NAME=on or NAME=off, not "
                          "\"SortAlphabeticalCodes\"\n") +
               kTryHelp;
    // The first bad --option is the one reported.
    QTest::newRow("two bad options")
        << QStringList{QStringLiteral("--option"), QStringLiteral("A=on"),
                       QStringLiteral("--option"), QStringLiteral("B"),
                       QStringLiteral("show"),     kLog}
        << QStringLiteral("wingbook-cli: unknown option \"A\"\n") + kTryHelp;
    QTest::newRow("--option as the last word")
        << QStringList{QStringLiteral("--option")}
        << QStringLiteral("wingbook-cli: --option needs a value\n") + kTryHelp;
    QTest::newRow("--def-files-path as the last word")
        << QStringList{QStringLiteral("--option"), QStringLiteral("SortAlphabeticalCodes=on"),
                       QStringLiteral("--def-files-path")}
        << QStringLiteral("wingbook-cli: --def-files-path needs a value\n") + kTryHelp;
}

void TestCli::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);
    const CliResult run = runWingbookCli(arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, QString());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
