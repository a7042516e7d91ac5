#include "cli/CliCommands.h"

#include "cli/CliUpdateCheck.h"

// The handlers, one file each (CmdAddFlight.cpp for add-flight, ...).
int aboutCommand(CliContext &ctx);
int addFlightCommand(CliContext &ctx);
int checkUpdateCommand(CliContext &ctx);
int downloadUpdateCommand(CliContext &ctx);
int exportCommand(CliContext &ctx);
int importCommand(CliContext &ctx);
int fillDistancesCommand(CliContext &ctx);
int lookupCommand(CliContext &ctx);
int saveCommand(CliContext &ctx);
int searchCommand(CliContext &ctx);
int showCommand(CliContext &ctx);
int statsCommand(CliContext &ctx);
int travelCommand(CliContext &ctx);

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
        {QStringLiteral("about"),
         {},
         QStringLiteral("print the texts of the about window: version and build, copyright, "
                        "credits, memory and system"),
         {{QStringLiteral("json"), QStringLiteral("print them as one JSON object")}},
         aboutCommand},
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
        {QStringLiteral("check-update"),
         {},
         QStringLiteral("check for a newer version as Check for Updates... does and print what "
                        "the notification window or the message would show"),
         cliUpdateCheckOptions() +
             QList<CliOption>{
                 {QStringLiteral("json"), QStringLiteral("print the outcome as one JSON object")}},
         checkUpdateCommand},
        {QStringLiteral("download-update"),
         {},
         QStringLiteral("check for a newer version, download it as Download does (checksum "
                        "verified) and print the file's path; the file is not opened"),
         cliUpdateCheckOptions() +
             QList<CliOption>{{QStringLiteral("to"),
                               QStringLiteral("put the file into DIR instead of the download "
                                              "folder"),
                               QStringLiteral("DIR")}},
         downloadUpdateCommand},
        {QStringLiteral("export"),
         {kLog,
          {QStringLiteral("TABLE"), QStringLiteral("Flights, Airlines, Airports or Distances")},
          {QStringLiteral("OUT"),
           QStringLiteral("the file to write: CSV for \".csv\", DEF for \".def\"; the file "
                          "it replaces is kept under its backup name")}},
         QStringLiteral("write one table of a log as Export does with that table's page shown"),
         {},
         exportCommand},
        {QStringLiteral("import"),
         {{QStringLiteral("LOG"),
           QStringLiteral("the log file; one that does not exist starts an empty log")},
          {QStringLiteral("FILE"),
           QStringLiteral("a .csv, .txt or .def file (any letter case), imported in order"),
           CliArgument::Repeated}},
         QStringLiteral("import CSV, TXT and DEF files into a log as dropped files are "
                        "imported, then save the log unless --dry-run"),
         {{QStringLiteral("json"),
           QStringLiteral("print the log as show --json does instead of its counts")},
          {QStringLiteral("dry-run"), QStringLiteral("import the files but do not save the log")}},
         importCommand},
        {QStringLiteral("fill-distances"),
         {kLog},
         QStringLiteral("fill the miles of the distances whose miles are empty or 0 from the "
                        "airports' positions, as Compute Distances does with nothing selected, "
                        "then save the log unless --dry-run"),
         {{QStringLiteral("all"),
           QStringLiteral("compute the miles of every distance, replacing known ones")},
          {QStringLiteral("dry-run"), QStringLiteral("fill the miles but do not save the log")},
          {QStringLiteral("json"),
           QStringLiteral("print the log as show --json does instead of the report")}},
         fillDistancesCommand},
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
        {QStringLiteral("stats"),
         {kLog,
          {QStringLiteral("OUT"), QStringLiteral("the \".csv\" file that --export-ranking writes"),
           CliArgument::Optional}},
         QStringLiteral("print the statistics of a log as the statistics window shows them"),
         {{QStringLiteral("json"),
           QStringLiteral("print one JSON object of the figures and the three rankings")},
          {QStringLiteral("export-ranking"),
           QStringLiteral("also write the ranking of TABLE (Airlines, Airports or Distances) "
                          "to OUT as the list's Export... does"),
           QStringLiteral("TABLE")}},
         statsCommand},
        {QStringLiteral("travel"),
         {kLog},
         QStringLiteral("print the figures of the travel charts: flights and miles per year, "
                        "flights per month and weekday, countries, longest and shortest flight"),
         {{QStringLiteral("json"),
           QStringLiteral("print the figures as one JSON object instead of text")}},
         travelCommand},
    };
    return commands;
}
