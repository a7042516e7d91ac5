#pragma once

#include "exchange/ImportHost.h"
#include "exchange/Importers.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class TForm1;

// The Import command of the main window and every way to a file to import: the Import dialog,
// the Import recent-file list and dropped files (the window routes the last two by extension
// to the importers given here). While an import runs, it shows the window's busy pointer,
// progress bar and status text, lets window events run so that a click on a table can ask
// "Do you want to stop processing?", and afterwards shows the page that received rows and any
// error. The window owns it.
class ImportCommands : public QObject, public ImportHost
{
    Q_OBJECT

public:
    ImportCommands(TForm1 &form, QObject *parent);

    // Toolbar "Import" and File "Import...": the save question, the Import dialog, then the
    // importer chosen by the exact extension of the file picked.
    void ImportToolButtonClick();
    // Runs one importer on a file, as a dropped file or a recent entry does.
    void importFile(ImportKind kind, const QString &fileName);

    // Between two lines, window events run at most this often (0: before every line).
    void setEventInterval(int milliseconds) { m_eventIntervalMs = milliseconds; }
    // The Import dialog's memory: its starting folder and the last imported file.
    const QString &dialogFolder() const { return m_dialogFolder; }
    const QString &dialogFile() const { return m_dialogFile; }

    // ImportHost: the window's pointer, toolbar, status text, progress bar and views.
    void beginBusy(bool disableToolbar) override;
    void endBusy() override;
    void setStatusText(const QString &text) override;
    void setProgressRange(int maximum) override;
    void stepProgress() override;
    void fillProgress() override;
    void suspendRepaint() override;
    void resumeRepaint() override;
    void updateStatusBar() override;
    void setProcessing(bool on) override;
    bool takeStopRequest() override;
    void addToRecentImports(const QString &fileName) override;
    void setImportDialogFile(const QString &fileName) override;
    void showImportSummary(const QString &text) override;

private:
    TForm1 &m_form;
    QString m_dialogFolder;
    QString m_dialogFile;
    int m_eventIntervalMs = 20;
    QElapsedTimer m_eventClock;
    QString m_summary; // the end message of the running import
};
