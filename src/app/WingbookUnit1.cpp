#include "app/WingbookUnit1.h"

#include "app/AppIcons.h"
#include "app/MainWindowLogHost.h"
#include "components/LumFlatFile.h"
#include "components/LumRegistryEnhanced.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "geography/AirportPositions.h"
#include "model/LogDocument.h"
#include "platform/ui/DefaultFont.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace
{

const QString kApplicationTitle = QStringLiteral("Wingbook");

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    m_options = &m_defaultOptions;
    m_document = new LogDocument(this);
    LumRegistryEnhanced1 = TLumRegistryEnhanced::makeProgramStore(this);
    AirlinesLumFlatFile = new TLumFlatFile(this);
    AirportsLumFlatFile = new TLumFlatFile(this);
    m_airportPositions = std::make_unique<AirportPositions>();

    setWindowIcon(appIcon(AppIcon::Application));
    createActions();
    createMenus();
    createToolBar();
    createPages();
    createFileDrop();
    createUpdateComponents();

    ProgressBar1 = new QProgressBar;
    ProgressBar1->setFixedHeight(16);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(ProgressBar1);
    setCentralWidget(central);
    m_statusLabel = new QLabel;
    statusBar()->addWidget(m_statusLabel, 1);
    resize(922, 606);

    MainWindowLogHost::Parts parts;
    parts.window = this;
    parts.toolBar = ToolBar1;
    parts.statusLabel = m_statusLabel;
    parts.progressBar = ProgressBar1;
    for (const Page &page : m_pages)
        parts.views.append(page.view);
    parts.refresh = [this] { UpdateStatusBar(); };
    parts.openDialogFolder = [this](const QString &folder) { m_openDialogFolder = folder; };
    m_logHost = std::make_unique<MainWindowLogHost>(std::move(parts));

    connect(m_document, &LogDocument::modifiedChanged, this, &TForm1::updateCommandStates);
    connect(&m_document->OpenRecent, &RecentFileList::changed, this,
            [this] { rebuildRecentMenu(OpenPopupMenu, m_document->OpenRecent, true); });
    connect(&ImportRecent, &RecentFileList::changed, this,
            [this] { rebuildRecentMenu(ImportPopupMenu, ImportRecent, false); });
    // The window sees key presses before its controls do (Enter runs the table's command).
    qApp->installEventFilter(this);

    // Creation order: active page, recent lists, stored version, reference folders and files,
    // placement, font.
    PageControl1->setCurrentIndex(0);
    loadRecentLists();
    refreshStoredVersion();
    readReferenceFolders();
    loadReferenceFiles();
    restorePlacement();
    SetDefaultFont(this);
    applyUpdateComponentFonts();
    UpdateStatusBar();
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    disconnect(m_document, nullptr, this, nullptr);
    storePlacement();
    // The views go before the tables they show.
    delete PageControl1;
    PageControl1 = nullptr;
    for (Page &page : m_pages)
        page.view = nullptr;
    LumListView1 = LumListView2 = LumListView3 = LumListView4 = nullptr;
    m_document->clearTables();
    m_document->OpenRecent.clear();
    ImportRecent.clear();
}

void TForm1::setOptions(const WingbookOptions *options)
{
    m_options = options ? options : &m_defaultOptions;
}

QString TForm1::statusText() const
{
    return m_statusLabel->text();
}

void TForm1::UpdateStatusBar()
{
    const QString &fileName = m_document->DocumentFileName;
    setWindowTitle(fileName.isEmpty() ? kApplicationTitle
                                      : QFileInfo(fileName).fileName() + QStringLiteral(" - ") +
                                            kApplicationTitle);
    QString status;
    if (!fileName.isEmpty())
        status = fileName + QStringLiteral(" - ");
    status += m_document->countsText();
    m_statusLabel->setText(status);

    updateCommandStates();
}

void TForm1::PageControl1Change()
{
    // Find follows the rows of the active page's table.
    updateCommandStates();
}

void TForm1::listViewClick()
{
    if (Processing) {
        StopRequested =
            MessageBoxes::confirm(this, QStringLiteral("Do you want to stop processing?"));
        return;
    }
    if (TLumListView *view = GetActiveLumListView())
        view->FindRefresh();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        const bool isEnter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (isEnter && modifiers == Qt::NoModifier && widget && widget->window() == this &&
            isEnabled()) {
            runDefaultCommand(activeTable());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::setProcessing(bool on)
{
    Processing = on;
    StopRequested = false;
    updateCommandStates();
    if (!on && m_closeWhenProcessingEnds) {
        m_closeWhenProcessingEnds = false;
        // Once the running loop has returned: the save question then sees all it read.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Closing in the middle of an import would save, or lose, half of it.
    if (Processing) {
        if (MessageBoxes::confirm(this, QStringLiteral("Do you want to stop processing?"))) {
            StopRequested = true;
            m_closeWhenProcessingEnds = true;
        }
        event->ignore();
        return;
    }
    if (m_document->isModified() &&
        MessageBoxes::confirm(this, QStringLiteral("Do you want to save the current file?"))) {
        // The user asked to keep the changes: when they could not be written, the window
        // stays open rather than lose them.
        if (save() == SaveOutcome::Failed) {
            event->ignore();
            return;
        }
    }
    storeRecentLists();
    event->accept();
}

LogFileHost &TForm1::logFileHost()
{
    return *m_logHost;
}

int TForm1::progressPosition() const
{
    return m_logHost->progressPosition();
}
