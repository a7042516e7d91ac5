#pragma once

// Shared by the importer tests: files written into a scratch folder, a host that records what
// an import shows and can answer the stop question, and the tables as comparable text.
#include "exchange/ImportHost.h"
#include "model/LogTable.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace ImportTestSupport
{

// Writes the bytes to a file of that name in the folder and returns its path.
inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(bytes);
    return path;
}

// One row a string: the cells joined by "|", then "#" and the ReferenceCount for the tables
// whose rows count references.
inline QStringList dump(const LogTable &table)
{
    QStringList rows;
    for (int r = 0; r < table.count(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.columnTotal(); ++c)
            cells << table.cell(r, c);
        QString text = cells.join(u'|');
        if (table.hasUsage())
            text += u'#' + QString::number(table.referenceCount(r));
        rows << text;
    }
    return rows;
}

// Records the host calls in order (steps counted, not listed) and answers the stop question
// with Yes once `stopBeforeLine` lines have been stepped.
class RecordingHost : public ImportHost
{
public:
    QStringList calls;
    int steps = 0;
    int stopBeforeLine = -1; // -1: never stop
    bool processing = false;
    int stopQuestions = 0;
    QStringList summaries; // the end messages shown

    void beginBusy(bool disableToolbar) override
    {
        calls << (disableToolbar ? QStringLiteral("busy+toolbar") : QStringLiteral("busy"));
    }
    void endBusy() override { calls << QStringLiteral("endBusy"); }
    void setStatusText(const QString &text) override { calls << QStringLiteral("status ") + text; }
    void setProgressRange(int maximum) override
    {
        calls << QStringLiteral("range ") + QString::number(maximum);
    }
    void stepProgress() override { ++steps; }
    void fillProgress() override { calls << QStringLiteral("fill"); }
    void suspendRepaint() override { calls << QStringLiteral("suspend"); }
    void resumeRepaint() override { calls << QStringLiteral("resume"); }
    void updateStatusBar() override { calls << QStringLiteral("updateStatusBar"); }
    void setProcessing(bool on) override
    {
        processing = on;
        calls << (on ? QStringLiteral("processing on") : QStringLiteral("processing off"));
    }
    bool takeStopRequest() override
    {
        ++stopQuestions;
        if (stopBeforeLine < 0 || stopQuestions <= stopBeforeLine)
            return false;
        processing = false;
        calls << QStringLiteral("stopped");
        return true;
    }
    void addToRecentImports(const QString &fileName) override
    {
        calls << QStringLiteral("recent ") + fileName;
    }
    void setImportDialogFile(const QString &fileName) override
    {
        calls << QStringLiteral("dialog ") + fileName;
    }
    void showImportSummary(const QString &text) override { summaries << text; }
};

} // namespace ImportTestSupport
