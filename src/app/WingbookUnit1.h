#pragma once

#include "app/TableCommands.h"
#include "model/LogFileHost.h"
#include "model/LogTable.h"
#include "model/RecentFileList.h"
#include "options/WingbookOptions.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>

class LogDocument;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class QToolBar;
class QToolButton;
class TLumFlatFile;
class TLumListView;
class TLumFileDrag;
class TLumRegistryEnhanced;
class TLumShellLink;

// The main window: the four tables and their views, the toolbar, the menus, the progress bar
// and the status bar, and the document's lifecycle.
class TForm1 : public QMainWindow, public LogFileHost
{
    Q_OBJECT

public:
    // Creating the window loads the recent-file lists, refreshes the stored version, reads the
    // reference folders and files, restores the placement and applies the interface font.
    explicit TForm1(QWidget *parent = nullptr);
    // Stores the placement and empties the tables and recent-file lists.
    ~TForm1() override;

    LogDocument &Document() { return *m_document; }

    // The options every command reads. Until the options dialog exists, the window reads the
    // built-in defaults; the pointer must outlive the window.
    void setOptions(const WingbookOptions *options);
    const WingbookOptions &options() const { return *m_options; }

    // --- views and components ---
    TLumListView *LumListView1 = nullptr; // Flights
    TLumListView *LumListView2 = nullptr; // Airlines
    TLumListView *LumListView3 = nullptr; // Airports
    TLumListView *LumListView4 = nullptr; // Distances
    TLumListView *GetActiveLumListView() const;
    TLumListView *listView(TableKind kind) const;
    TableKind activeTable() const;
    void setActiveTable(TableKind kind);

    TLumRegistryEnhanced *LumRegistryEnhanced1 = nullptr;
    TLumFlatFile *AirlinesLumFlatFile = nullptr;
    TLumFlatFile *AirportsLumFlatFile = nullptr;
    // Folders of Countries.def and of Airlines.def and Airports.def, each ending in "/".
    QString CommonDefFilesPath;
    QString DefFilesPath;

    // The import loops set Processing while they run and stop when StopRequested is set.
    bool Processing = false;
    bool StopRequested = false;

    // --- recent files ---
    QMenu *OpenPopupMenu = nullptr;
    QMenu *ImportPopupMenu = nullptr;
    RecentFileList ImportRecent;
    // Removes entries beyond the "Recently used file list" count from both lists (run when the
    // options are applied).
    void trimRecentLists();
    // The click rules of the two recent-file menus.
    void OpenRecentClick(const QString &path);
    void ImportRecentClick(const QString &path);

    // --- commands ---
    QAction *NewAction = nullptr;
    QAction *OpenAction = nullptr;
    QAction *SaveAction = nullptr;
    QAction *SaveAsAction = nullptr;
    QAction *ImportAction = nullptr;
    QAction *ExportAction = nullptr;
    QAction *FindAction = nullptr;
    QAction *AddAction = nullptr;
    QAction *StatisticsAction = nullptr;
    QAction *OptionsAction = nullptr;
    QAction *AboutAction = nullptr;
    QAction *ExitAction = nullptr;
    QAction *ReleaseNotesAction = nullptr;
    QAction *CheckForUpdatesAction = nullptr;
    QMenu *ToolsAddMenu = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    // Plugs in a command of a later window; its button and menu item appear.
    void setCommandHandler(MainCommand command, std::function<void()> handler);
    // Registers a table's record commands (context menu, double-click, Enter, Delete, Add).
    void setTableCommands(TableKind kind, const TableCommandSet &commands);
    const TableCommandSet &tableCommands(TableKind kind) const;
    // The importer of the files with this exact extension (".csv", ".txt", ".def").
    void setFileImporter(const QString &extension, std::function<void(const QString &)> importer);
    // Resolves a shortcut (".lnk") to its target; throws or returns "" when it cannot.
    void setShortcutResolver(std::function<QString(const QString &)> resolver);

    // --- file drop and shortcuts (MainWindowDrop.cpp) ---
    TLumFileDrag *LumFileDrag1 = nullptr;
    TLumShellLink *LumShellLink1 = nullptr;
    // Reads or imports the files of the last drop in order, shortcuts resolved first.
    void LumFileDrag1Drop(QObject *Sender, int X, int Y);

    // The context menu of a table, set up from the table's current state as when it opens.
    QMenu *PopupMenu(TableKind kind);
    void PopupMenuPopup(TableKind kind);

    // The save question; false when the user asked to save and the save failed (the calling
    // command then stops, so the changes are not lost).
    bool SaveCurrent();
    void UpdateStatusBar();
    // Enables Find by the active page's table.
    void PageControl1Change();

    // Reads a log file as the Open dialog's OK does, errors shown in the error box.
    bool openLogFile(const QString &fileName);
    // Writes the log; false (error shown, log still modified) when it could not be written.
    bool saveLogFile(const QString &fileName);

    // The start-up file: the command line (arguments joined with blanks) or, when the option
    // says so, the most recent log. Read while the window is still hidden.
    void OpenStartupFile(const QStringList &arguments);

    // Double-click and Enter: Properties or Add of that table, as the options say.
    void RunDefaultCommand(TableKind kind);
    // A click on a table view: the stop question while processing, else FindRefresh.
    void ListViewClick();

    QString StatusText() const;
    int progressPosition() const { return m_progressValue; }

public slots:
    void NewToolButtonClick();
    void OpenToolButtonClick();
    void SaveToolButtonClick();
    void SaveAsToolButtonClick();
    void FindToolButtonClick();
    void AddToolButtonClick();
    void ExitToolButtonClick();
    void ReleaseNotesClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // LogFileHost
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
    // Construction, in MainWindowMenus.cpp and MainWindowStartup.cpp.
    void createActions();
    void createMenus();
    void createToolBar();
    void createPages();
    void createContextMenus();
    void rebuildRecentMenu(QMenu *menu, const RecentFileList &list, bool openMenu);
    void updateCommandVisibility();
    void loadRecentLists();
    void storeRecentLists();
    void refreshStoredVersion();
    void readReferenceFolders();
    void loadReferenceFiles();
    void restorePlacement();
    void createFileDrop();
    void storePlacement();

    // Save and Save As: whether the file was written, was not (cancel, a name that is not a
    // log file) or could not be written (error shown).
    enum class SaveOutcome { Written, Skipped, Failed };
    SaveOutcome Save();
    SaveOutcome SaveAs();
    void showProgress();

    LogDocument *m_document = nullptr;
    const WingbookOptions *m_options = nullptr;
    OptionSet m_defaultOptions;
    QLabel *m_statusLabel = nullptr;
    std::array<TLumListView *, 4> m_views{};
    std::array<TableCommandSet, 4> m_tableCommands{};
    std::array<QMenu *, 4> m_popupMenus{};
    struct PopupItems {
        QAction *properties = nullptr;
        QAction *find = nullptr;
        QAction *clear = nullptr;
        QAction *extraSlot = nullptr; // the extra item goes before this separator
        QAction *add = nullptr;
        QAction *deleteRows = nullptr;
        QAction *derive = nullptr;
        QAction *swap = nullptr;
    };
    std::array<PopupItems, 4> m_popupItems{};
    std::array<QAction *, 4> m_toolsAddItems{};
    QHash<int, std::function<void()>> m_commandHandlers;
    QHash<QString, std::function<void(const QString &)>> m_importers;
    std::function<QString(const QString &)> m_shortcutResolver;
    QList<QAction *> m_groupSeparators;

    // The Open and Save As dialogs' memory.
    QString m_openDialogFolder;
    int m_saveDialogFilterIndex = 0;

    // Progress: counted exactly, shown in steps a person can see.
    int m_progressMaximum = 0;
    int m_progressValue = 0;
    int m_progressShown = 0;
    int m_progressStep = 1;
    QElapsedTimer m_progressClock;
};
