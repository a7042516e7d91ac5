// add-flight: the Add mode of the flight dialog without the window.
#include "cli/CliLog.h"
#include "cli/CliReferenceFiles.h"
#include "components/LumFlatFile.h"
#include "editing/FlightEditing.h"
#include "editing/ReferenceFilling.h"

#include <QFileInfo>

namespace
{

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
        ctx.fail(QStringLiteral("\"%1\" is not a %2 written as %3").arg(word, what, pattern));
        return false;
    }
    value = *read;
    return true;
}

} // namespace

int addFlightCommand(CliContext &ctx)
{
    const QStringList &args = ctx.arguments;
    const QString &logName = args.at(0);
    // A missing log is created, so an empty name cannot stand for one.
    if (logName.isEmpty())
        return ctx.usageError();

    LogDocument document;
    if (QFileInfo::exists(logName) && !readLogForCli(ctx, document, logName))
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
    // The dialog's own messages are printed as the dialog shows them, without the program's
    // name in front.
    const QString problem = ValidateFlight(document, FlightDialogMode::Add, fields);
    if (!problem.isEmpty()) {
        ctx.err << problem << '\n';
        return 1;
    }

    TLumFlatFile airlines;
    TLumFlatFile airports;
    if ((ctx.options.AutoPopulateAirlines() &&
         !loadCliReferenceFile(ctx, airlines, QStringLiteral("Airlines.def"))) ||
        (ctx.options.AutoPopulateAirports() &&
         !loadCliReferenceFile(ctx, airports, QStringLiteral("Airports.def"))))
        return 1;
    const QString message = SubmitFlight(document, FlightDialogMode::Add, -1, fields,
                                         ReferenceFiles{airlines, airports}, ctx.options);
    if (!message.isEmpty()) {
        ctx.err << message << '\n';
        return 1;
    }
    if (!ctx.isSet(QStringLiteral("dry-run")) && !saveLogForCli(ctx, document, logName))
        return 1;
    if (ctx.isSet(QStringLiteral("json")))
        return printLogAsJson(ctx, document);
    ctx.out << document.countsText() << '\n';
    return 0;
}
