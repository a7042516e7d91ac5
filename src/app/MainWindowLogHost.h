#pragma once

#include "model/LogFileHost.h"

#include <QElapsedTimer>
#include <QList>
#include <functional>

class QLabel;
class QProgressBar;
class QToolBar;
class QWidget;

// What reading and writing a log show in the main window: the busy pointer, the toolbar
// disabled while reading, the status text, the progress bar, the views' repainting held back
// until the end, and afterwards the window's refresh and the Open dialog's folder.
class MainWindowLogHost : public LogFileHost
{
public:
    struct Parts {
        QWidget *window = nullptr;
        QToolBar *toolBar = nullptr;
        QLabel *statusLabel = nullptr;
        QProgressBar *progressBar = nullptr;
        QList<QWidget *> views;
        std::function<void()> refresh;                         // UpdateStatusBar
        std::function<void(const QString &)> openDialogFolder; // where Open starts next
    };
    explicit MainWindowLogHost(Parts parts);

    // The progress counted so far, whatever the bar shows.
    int progressPosition() const { return m_progressValue; }

    void beginBusy(bool disableToolbar) override;
    void endBusy() override;
    void setStatusText(const QString &text) override;
    void setProgressRange(int maximum) override;
    void setProgressPosition(int position) override;
    void stepProgress() override;
    void fillProgress() override;
    void suspendRepaint() override;
    void resumeRepaint() override;
    bool isWindowVisible() const override;
    void updateStatusBar() override;
    void setOpenDialogFolder(const QString &folder) override;

private:
    void showProgress();
    // Shows the progress when the bar moved by a visible step or a while has passed since it
    // was last drawn; a long read reports its position hundreds of times a second.
    void showProgressWhenDue();

    Parts m_parts;
    // Progress: counted exactly, shown in steps a person can see.
    int m_progressMaximum = 0;
    int m_progressValue = 0;
    int m_progressShown = 0;
    int m_progressStep = 1;
    QElapsedTimer m_progressClock;
};
