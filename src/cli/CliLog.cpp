#include "cli/CliLog.h"

#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "model/LogJsonWriter.h"

#include <QFileDevice>
#include <QFileInfo>

bool readLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        ctx.fail(QStringLiteral("\"%1\" does not exist").arg(fileName));
        return false;
    }
    if (!info.isFile()) {
        ctx.fail(QStringLiteral("\"%1\" is not a file").arg(fileName));
        return false;
    }
    LogFileHost quietHost;
    const LogFileResult result = OpenXMLFile(document, fileName, ctx.options, quietHost);
    if (!result.ok) {
        ctx.fail(result.error);
        return false;
    }
    return true;
}

bool saveLogForCli(CliContext &ctx, LogDocument &document, const QString &fileName)
{
    LogFileHost quietHost;
    const LogFileResult result = SaveXMLFile(document, fileName, ctx.options, quietHost);
    if (!result.ok) {
        ctx.fail(result.error);
        return false;
    }
    if (!result.notice.isEmpty())
        ctx.notice(result.notice);
    return true;
}

int saveAndPrintChangedLog(CliContext &ctx, LogDocument &document, const QString &fileName)
{
    if (!ctx.isSet(QStringLiteral("dry-run")) && !saveLogForCli(ctx, document, fileName))
        return 1;
    if (ctx.isSet(QStringLiteral("json")))
        return printLogAsJson(ctx, document);
    ctx.out << document.countsText() << '\n';
    return 0;
}

QJsonObject rowToJson(const LogTable &table, int row)
{
    QJsonObject json;
    for (int c = 0; c < table.columnTotal(); ++c)
        json.insert(table.columns()[c].caption, table.cell(row, c));
    if (table.hasUsage())
        json.insert(QStringLiteral("ReferenceCount"), table.referenceCount(row));
    return json;
}

namespace
{

const char *const kTableNames[] = {"Flights", "Airlines", "Airports", "Distances"};

} // namespace

std::optional<TableKind> tableNamed(const QString &name)
{
    constexpr TableKind kinds[] = {TableKind::Flights, TableKind::Airlines, TableKind::Airports,
                                   TableKind::Distances};
    for (int t = 0; t < 4; ++t) {
        if (name.compare(QLatin1String(kTableNames[t]), Qt::CaseInsensitive) == 0)
            return kinds[t];
    }
    return std::nullopt;
}

void printTableAsText(QTextStream &out, const QString &name, const LogTable &table,
                      const QString &footer)
{
    QStringList header;
    for (const LogColumn &column : table.columns())
        header << column.caption;
    if (table.hasUsage())
        header << QStringLiteral("ReferenceCount");
    QList<QStringList> lines{header};
    for (int r = 0; r < table.count(); ++r) {
        QStringList line = table.row(r).cells;
        if (table.hasUsage())
            line << QString::number(table.referenceCount(r));
        lines.append(line);
    }
    QList<qsizetype> widths(header.size(), 0);
    for (const QStringList &line : lines) {
        for (qsizetype c = 0; c < line.size(); ++c)
            widths[c] = qMax(widths[c], line[c].size());
    }
    out << name << '\n';
    for (const QStringList &line : lines) {
        QString text;
        for (qsizetype c = 0; c < line.size(); ++c) {
            if (c > 0)
                text += QStringLiteral("  ");
            text += c + 1 < line.size() ? line[c].leftJustified(widths[c]) : line[c];
        }
        out << text << '\n';
    }
    if (!footer.isEmpty())
        out << footer << '\n';
    out << '\n';
}

int printLogAsJson(CliContext &ctx, const LogDocument &document)
{
    // Straight to the device when there is one: a large log is hundreds of megabytes of text.
    ctx.out.flush();
    QIODevice *device = ctx.out.device();
    const bool written = WriteLogJson(document, [&ctx, device](std::string_view block) {
        if (!device) {
            ctx.out << QString::fromUtf8(block.data(), qsizetype(block.size()));
            return true;
        }
        return device->write(block.data(), qint64(block.size())) == qint64(block.size());
    });
    auto *file = qobject_cast<QFileDevice *>(device);
    if (!written || (file && !file->flush()))
        return ctx.fail(QStringLiteral("Cannot write the output: %1").arg(device->errorString()));
    return 0;
}

void printLogAsText(QTextStream &out, const LogDocument &document)
{
    const LogTable *tables[] = {&document.Flights, &document.Airlines, &document.Airports,
                                &document.Distances};
    for (int t = 0; t < 4; ++t)
        printTableAsText(out, QLatin1String(kTableNames[t]), *tables[t]);
    out << document.countsText() << "\n\n";
    out << "PreferredAirline: " << document.PreferredAirline << '\n'
        << "PreferredFromAirport: " << document.PreferredFromAirport << '\n'
        << "PreferredToAirport: " << document.PreferredToAirport << '\n'
        << "HomeCountry: " << document.HomeCountry << '\n';
}
