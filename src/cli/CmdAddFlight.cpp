// add-flight: the Add mode of the flight dialog without the window.
#include "cli/CliLog.h"
#include "components/LumFlatFile.h"
#include "editing/FlightEditing.h"
#include "editing/ReferenceFilling.h"
#include "platform/SpecialFolders.h"

#include <QFileInfo>
#include <QJsonDocument>

namespace
{

const char *const kUsage = "add-flight LOG DATE TIME FROM TO AIRLINE FLIGHT [--json] [--dry-run]";

// Loads a reference file; a missing one is an empty table, an unreadable one an error.
bool loadReferenceFile(CliContext &ctx, TLumFlatFile &table, const QString &name)
{
    const QString folder = ctx.defFilesPath.isEmpty() ? DefaultDefFilesPath() : ctx.defFilesPath;
    table.setFileName(folder + name);
    if (table.Initialize())
        return true;
    ctx.err << "wingbook-cli: " << table.LastError() << '\n';
    return false;
}

// A DATE or TIME word that is no date (time) in the log's format is refused with a message that
// names it; an empty word stays a blank picker, which the validation reports.
template <typename T>
bool readWord(CliContext &ctx, const QString &word,
              std::optional<T> (LogFormatSettings::*parse)(const QString &) const,
              const QString &what, const QString &pattern, T &value)
{
    if (word.isEmpty())
        return true;
    const std::optional<T> read = (LogFormatSettings::standard().*parse)(word);
    if (!read) {
        ctx.err << "wingbook-cli: \"" << word << "\" is not a " << what << " written as " << pattern
                << '\n';
        return false;
    }
    value = *read;
    return true;
}

int addFlightCommand(CliContext &ctx)
{
    QStringList args = ctx.args;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    const bool dryRun = args.removeAll(QStringLiteral("--dry-run")) > 0;
    if (args.size() != 7 || args.first().isEmpty() || args.first().startsWith(QLatin1String("--")))
        return cliUsageError(ctx, QLatin1String(kUsage));
    const QString logName = args.at(0);

    LogDocument document;
    if (QFileInfo::exists(logName) && !ReadLogForCli(ctx, document, logName))
        return 1;

    // The dialog's code fields force upper case.
    FlightFields fields;
    fields.from = args.at(3).toUpper();
    fields.to = args.at(4).toUpper();
    fields.airline = args.at(5).toUpper();
    fields.flight = args.at(6);
    // The checks run in the dialog's order: a date or time that cannot be read fails in the
    // place of its check, and a blank date is reported before the time is looked at.
    const LogFormatSettings &format = LogFormatSettings::standard();
    if (!readWord(ctx, args.at(1), &LogFormatSettings::parseDate, QStringLiteral("date"),
                  format.ShortDateFormat, fields.date))
        return 1;
    if (!fields.date.isNull() &&
        !readWord(ctx, args.at(2), &LogFormatSettings::parseTime, QStringLiteral("time"),
                  format.LongTimeFormat, fields.time))
        return 1;
    const QString problem = ValidateFlight(document, FlightDialogMode::Add, fields);
    if (!problem.isEmpty()) {
        ctx.err << problem << '\n';
        return 1;
    }

    TLumFlatFile airlines;
    TLumFlatFile airports;
    if ((ctx.options.AutoPopulateAirlines() &&
         !loadReferenceFile(ctx, airlines, QStringLiteral("Airlines.def"))) ||
        (ctx.options.AutoPopulateAirports() &&
         !loadReferenceFile(ctx, airports, QStringLiteral("Airports.def"))))
        return 1;
    const QString message = SubmitFlight(document, FlightDialogMode::Add, -1, fields,
                                         ReferenceFiles{airlines, airports}, ctx.options);
    if (!message.isEmpty()) {
        ctx.err << message << '\n';
        return 1;
    }
    if (!dryRun && !SaveLogForCli(ctx, document, logName))
        return 1;
    if (json)
        ctx.out << QJsonDocument(LogToJson(document)).toJson(QJsonDocument::Indented);
    else
        ctx.out << document.countsText() << '\n';
    return 0;
}

const CliCommandRegistration registration(
    "add-flight", kUsage,
    "add a flight as the flight dialog does, filling airlines, airports and distances as the "
    "options say, then save the log (created when missing) unless --dry-run",
    addFlightCommand);

} // namespace
