#include "cli/CliCommands.h"

// The handlers, one file each (CmdAddFlight.cpp for add-flight, ...).
int addFlightCommand(CliContext &ctx);
int lookupCommand(CliContext &ctx);
int saveCommand(CliContext &ctx);
int searchCommand(CliContext &ctx);
int showCommand(CliContext &ctx);

namespace
{

// Words shared by several commands.
const CliArgument kLog{QStringLiteral("LOG"), QStringLiteral("the log file")};
const CliOption kJson{QStringLiteral("json"),
                      QStringLiteral("print the log as one JSON object of its tables and values")};

} // namespace

const QList<CliCommand> &cliCommands()
{
    // In alphabetical order, the order of the help; commands added at the same time by
    // different people then land on different lines.
    static const QList<CliCommand> commands{
        {QStringLiteral("add-flight"),
         {{QStringLiteral("LOG"), QStringLiteral("the log file, created when it does not exist")},
          {QStringLiteral("DATE"), QStringLiteral("the date, written as yyyy-mm-dd")},
          {QStringLiteral("TIME"), QStringLiteral("the time, written as hh:nn")},
          {QStringLiteral("FROM"), QStringLiteral("the departure airport's code")},
          {QStringLiteral("TO"), QStringLiteral("the arrival airport's code")},
          {QStringLiteral("AIRLINE"), QStringLiteral("the airline's code")},
          {QStringLiteral("FLIGHT"), QStringLiteral("the flight number")}},
         QStringLiteral("add a flight as the flight dialog does, filling airlines, airports and "
                        "distances as the options say, then save the log (created when missing) "
                        "unless --dry-run"),
         {{QStringLiteral("json"),
           QStringLiteral("print the log as show --json does instead of its counts")},
          {QStringLiteral("dry-run"), QStringLiteral("add the flight but do not save the log")}},
         addFlightCommand},
        {QStringLiteral("lookup"),
         {{QStringLiteral("airline|airport"), QStringLiteral("the kind of code")},
          {QStringLiteral("CODE"), QStringLiteral("the code, compared exactly")}},
         QStringLiteral("print the name of an airline, or the name, city and country of an "
                        "airport, from the reference files"),
         {},
         lookupCommand},
        {QStringLiteral("save"),
         {kLog,
          {QStringLiteral("OUT"), QStringLiteral("the file to write; LOG itself when not given"),
           CliArgument::Optional}},
         QStringLiteral("read a log and write it to OUT (or back), backup included"),
         {},
         saveCommand},
        {QStringLiteral("search"),
         {{QStringLiteral("airlines|airports"), QStringLiteral("the reference file to search")},
          {QStringLiteral("PATTERN"),
           QStringLiteral("a Perl-compatible regular expression, found anywhere in the name "
                          "(an airport's is name|city, country)")}},
         QStringLiteral("print code and name of every airline or airport whose name matches a "
                        "regular expression"),
         {{QStringLiteral("case-sensitive"),
           QStringLiteral("tell upper from lower case (by default they match each other)")}},
         searchCommand},
        {QStringLiteral("show"),
         {kLog},
         QStringLiteral("read a log as the window opens it and print its tables"),
         {kJson},
         showCommand},
    };
    return commands;
}
