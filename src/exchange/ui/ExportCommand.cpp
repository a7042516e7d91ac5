#include "exchange/ui/ExportCommand.h"

#include "app/WingbookUnit1.h"
#include "components/ui/MessageBoxes.h"
#include "exchange/ui/ExportDialog.h"
#include "model/LogDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace
{

// Pending events run at least this often while rows are built: often enough for a click to
// be answered at once, seldom enough not to slow a large export down.
constexpr qint64 kEventIntervalMs = 20;

// What an export shows in the main window: its pointer, toolbar, status and progress bars,
// its Processing flag, and the stop question asked by a click on a table.
class MainWindowExportHost : public ExportHost
{
public:
    explicit MainWindowExportHost(TForm1 &form) : m_form(form), m_display(form.logFileHost()) {}

    void beginBusy(bool disableToolbar) override { m_display.beginBusy(disableToolbar); }
    void endBusy() override { m_display.endBusy(); }
    void setStatusText(const QString &text) override { m_display.setStatusText(text); }
    void setProgressRange(int maximum) override { m_display.setProgressRange(maximum); }
    void setProgressPosition(int position) override { m_display.setProgressPosition(position); }
    void stepProgress() override { m_display.stepProgress(); }
    void updateStatusBar() override { m_display.updateStatusBar(); }
    void setProcessing(bool on) override { m_form.Processing = on; }

    bool takeStopRequest() override
    {
        if (!m_events.isValid() || m_events.elapsed() >= kEventIntervalMs) {
            QCoreApplication::processEvents();
            m_events.start();
        }
        if (!m_form.StopRequested)
            return false;
        m_form.StopRequested = false;
        m_form.Processing = false;
        return true;
    }

private:
    TForm1 &m_form;
    LogFileHost &m_display;
    QElapsedTimer m_events;
};

} // namespace

ExportCommand::ExportCommand(TForm1 &form, QObject *parent) : QObject(parent), m_form(form)
{
    m_form.setCommandHandler(MainCommand::Export, [this] { ExportToolButtonClick(); });
}

void ExportCommand::ExportToolButtonClick()
{
    const QString fileName = ExecuteExportDialog(
        &m_form,
        {QStringLiteral("CSV files (*.csv)"), QStringLiteral("DEF files (*.def)"),
         QStringLiteral("All files (*.*)")},
        m_form.Document().DocumentFileName, m_form.options().PromptBeforeOverwritingFiles());
    if (fileName.isEmpty())
        return;
    const ExportFormat format = ExportFormatOf(fileName);
    if (format == ExportFormat::None) {
        MessageBoxes::error(&m_form, QStringLiteral("No data has been exported."));
        return;
    }
    if (exportActiveTable(format, fileName))
        MessageBoxes::information(&m_form,
                                  QStringLiteral("Only the active view has been exported."));
}

bool ExportCommand::ExportToCSVFile(const QString &FileName)
{
    return exportActiveTable(ExportFormat::CSV, FileName);
}

bool ExportCommand::ExportToDEFFile(const QString &FileName)
{
    return exportActiveTable(ExportFormat::DEF, FileName);
}

bool ExportCommand::exportActiveTable(ExportFormat format, const QString &fileName)
{
    MainWindowExportHost host(m_form);
    const ExportOutcome outcome =
        ExportTable(m_form.Document().table(m_form.activeTable()), format, fileName, host);
    // A file that could not be written is said so, instead of the export's usual message.
    if (!outcome.ok)
        MessageBoxes::error(&m_form, outcome.error);
    return outcome.ok;
}
