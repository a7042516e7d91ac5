#pragma once

#include <QString>

// What reading and writing a log file show while they work: the main window implements it
// with its pointer, toolbar, status bar and progress bar; tests and the command-line tool
// observe or ignore it.
class LogFileHost
{
public:
    virtual ~LogFileHost() = default;

    // The busy-in-background pointer; reading also disables the toolbar.
    virtual void beginBusy(bool disableToolbar) { Q_UNUSED(disableToolbar); }
    virtual void endBusy() {}
    virtual void setStatusText(const QString &text) { Q_UNUSED(text); }
    // Progress runs from 0 to maximum, stepped by one per node read or row written.
    virtual void setProgressRange(int maximum) { Q_UNUSED(maximum); }
    virtual void setProgressPosition(int position) { Q_UNUSED(position); }
    virtual void stepProgress() {}
    // Sets the progress to its maximum.
    virtual void fillProgress() {}
    virtual void suspendRepaint() {}
    virtual void resumeRepaint() {}
    // Whether the main window is on screen (the start-up file is read while it is hidden).
    virtual bool isWindowVisible() const { return true; }
    // Title, status text and command enabling after the operation.
    virtual void updateStatusBar() {}
    // The Open dialog starts in the folder of the file just read.
    virtual void setOpenDialogFolder(const QString &folder) { Q_UNUSED(folder); }
};
