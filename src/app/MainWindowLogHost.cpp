#include "app/MainWindowLogHost.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QToolBar>
#include <limits>

namespace
{

constexpr int kProgressVisibleSteps = 200;
constexpr qint64 kProgressIntervalMs = 50;
constexpr qint64 kProgressMinIntervalMs = 20;

} // namespace

MainWindowLogHost::MainWindowLogHost(Parts parts) : m_parts(std::move(parts)) {}

void MainWindowLogHost::beginBusy(bool disableToolbar)
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    if (disableToolbar)
        m_parts.toolBar->setEnabled(false);
}

void MainWindowLogHost::endBusy()
{
    m_parts.toolBar->setEnabled(true);
    QApplication::restoreOverrideCursor();
}

void MainWindowLogHost::setStatusText(const QString &text)
{
    m_parts.statusLabel->setText(text);
    // Reading and writing do not return to the event loop until they end.
    if (isWindowVisible())
        m_parts.statusLabel->repaint();
}

void MainWindowLogHost::setProgressRange(int maximum)
{
    m_progressMaximum = qMax(0, maximum);
    m_progressValue = 0;
    m_progressShown = 0;
    m_progressStep = qMax(1, m_progressMaximum / kProgressVisibleSteps);
    m_parts.progressBar->setRange(0, m_progressMaximum);
    // A read that estimates its end again and again gives its position right after.
    if (!m_progressClock.isValid() || m_progressClock.elapsed() >= kProgressMinIntervalMs)
        showProgress();
}

void MainWindowLogHost::setProgressPosition(int position)
{
    m_progressValue = position;
    // The start and the end are always shown.
    if (position <= 0 || position >= m_progressMaximum)
        showProgress();
    else
        showProgressWhenDue();
}

void MainWindowLogHost::stepProgress()
{
    if (m_progressValue < std::numeric_limits<int>::max())
        ++m_progressValue;
    // Every step is counted; the bar is redrawn when it moved by a visible step, or after
    // 50 ms on a long read, and never more often than a screen shows it.
    if ((m_progressValue & 255) != 0)
        return;
    showProgressWhenDue();
}

void MainWindowLogHost::showProgressWhenDue()
{
    const qint64 elapsed = m_progressClock.elapsed();
    if (elapsed >= kProgressMinIntervalMs &&
        (m_progressValue - m_progressShown >= m_progressStep || elapsed >= kProgressIntervalMs))
        showProgress();
}

void MainWindowLogHost::fillProgress()
{
    m_progressValue = m_parts.progressBar->maximum();
    showProgress();
}

void MainWindowLogHost::showProgress()
{
    QProgressBar *bar = m_parts.progressBar;
    m_progressShown = m_progressValue;
    bar->setValue(qBound(bar->minimum(), m_progressValue, bar->maximum()));
    if (isWindowVisible())
        bar->repaint();
    m_progressClock.start();
}

void MainWindowLogHost::suspendRepaint()
{
    for (QWidget *view : m_parts.views)
        view->setUpdatesEnabled(false);
}

void MainWindowLogHost::resumeRepaint()
{
    for (QWidget *view : m_parts.views)
        view->setUpdatesEnabled(true);
}

bool MainWindowLogHost::isWindowVisible() const
{
    return m_parts.window->isVisible();
}

void MainWindowLogHost::updateStatusBar()
{
    m_parts.refresh();
}

void MainWindowLogHost::setOpenDialogFolder(const QString &folder)
{
    m_parts.openDialogFolder(folder);
}
