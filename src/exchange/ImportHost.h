#pragma once

#include "model/LogFileHost.h"

#include <QString>

// What an import shows and asks while it runs: besides what reading a log shows (pointer,
// toolbar, status text, progress, frozen views), the recent-file list, the Import dialog's
// memory and the stop question. The main window implements it; tests and the command-line
// tool observe or ignore it.
class ImportHost : public LogFileHost
{
public:
    // The Processing flag of the window: on while the loop runs.
    virtual void setProcessing(bool on) { Q_UNUSED(on); }
    // Called before every line: lets pending window events run (a click on a table may ask
    // "Do you want to stop processing?"), then says whether the user asked to stop. Answering
    // true takes the request: the host clears StopRequested and Processing.
    virtual bool takeStopRequest() { return false; }
    // The imported file goes to the top of the Import recent-file list.
    virtual void addToRecentImports(const QString &fileName) { Q_UNUSED(fileName); }
    // The Import dialog proposes this file next time and starts in its folder.
    virtual void setImportDialogFile(const QString &fileName) { Q_UNUSED(fileName); }
    // The end message of an import that reports what it did line by line (the web logbooks'
    // exports): shown once the window is given back.
    virtual void showImportSummary(const QString &text) { Q_UNUSED(text); }
};
