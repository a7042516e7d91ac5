#include "exchange/ImportRun.h"

#include "components/TextFileReader.h"
#include "model/LogDocument.h"

#include <QFileInfo>

std::optional<TableKind> ImportedPage(const ImportCounters &counters)
{
    if (counters.flights > 0)
        return TableKind::Flights;
    if (counters.airlines > 0)
        return TableKind::Airlines;
    if (counters.airports > 0)
        return TableKind::Airports;
    if (counters.distances > 0)
        return TableKind::Distances;
    return std::nullopt;
}

ImportRun::ImportRun(LogDocument &document, ImportHost &host, const QString &fileName)
    : m_document(document), m_host(host), m_fileName(fileName)
{
}

ImportRun::~ImportRun()
{
    // Leaving early (an error thrown by a lookup, memory exhausted) still gives the window
    // back: views, toolbar, pointer and Processing.
    if (m_busy)
        finish(ImportCounters());
}

bool ImportRun::open()
{
    if (!QFileInfo::exists(m_fileName))
        return false;
    m_result.ran = true;
    m_host.addToRecentImports(m_fileName);
    m_host.beginBusy(true);
    m_busy = true;
    m_host.setStatusText(QStringLiteral("Importing ") + m_fileName);
    m_host.setImportDialogFile(m_fileName);

    DecodedTextFile content = ReadDecodedTextFile(m_fileName);
    if (!content.ok) {
        m_result.ok = false;
        m_result.error = content.error;
        return false;
    }
    m_text = std::move(content.text);
    m_lineViews = TextLineViews(m_text);
    m_host.setProgressRange(int(qMin<qsizetype>(m_lineViews.size(), INT_MAX)));
    return true;
}

const QStringList &ImportRun::lines() const
{
    if (!m_linesMade) {
        m_lines.reserve(m_lineViews.size());
        for (const QStringView line : m_lineViews)
            m_lines.append(line.toString());
        m_linesMade = true;
    }
    return m_lines;
}

void ImportRun::freeze(const QList<LogTable *> &tables)
{
    m_atStart.flightsEmpty = m_document.Flights.isEmpty();
    m_atStart.airlinesEmpty = m_document.Airlines.isEmpty();
    m_atStart.airportsEmpty = m_document.Airports.isEmpty();
    m_atStart.distancesEmpty = m_document.Distances.isEmpty();
    m_host.suspendRepaint();
    m_repaintSuspended = true;
    m_frozen = tables;
    for (LogTable *table : m_frozen)
        table->beginBulkLoad();
    m_host.setProcessing(true);
    m_processing = true;
}

bool ImportRun::nextLine()
{
    if (m_host.takeStopRequest()) {
        // The host has cleared StopRequested and Processing.
        m_processing = false;
        m_result.stopped = true;
        return false;
    }
    m_host.stepProgress();
    return true;
}

void ImportRun::releaseTables()
{
    for (LogTable *table : m_frozen)
        table->endBulkLoad();
    m_frozen.clear();
}

ImportResult ImportRun::finish(const ImportCounters &counters)
{
    if (!m_busy)
        return m_result;
    m_busy = false;
    m_lines.clear();
    m_linesMade = false;
    m_lineViews.clear();
    m_text.clear();
    releaseTables();
    if (m_repaintSuspended) {
        m_host.resumeRepaint();
        m_repaintSuspended = false;
    }
    m_host.fillProgress();
    if (m_processing) {
        m_host.setProcessing(false);
        m_processing = false;
    }
    // Rows just imported must not be lost by closing the window without the save question.
    if (counters.any())
        m_document.setModified(true);
    m_result.counters = counters;
    m_host.updateStatusBar();
    m_host.endBusy();
    return m_result;
}
