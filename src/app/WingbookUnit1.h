#pragma once

#include "app/MainCommands.h"
#include "editing/ui/RecordCommandHost.h"
#include "model/LogTable.h"
#include "model/RecentFileList.h"
#include "options/WingbookOptions.h"

#include <QHash>
#include <QMainWindow>
#include <QMetaObject>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class AirportPositions;
class LogDocument;
class LogFileHost;
class MainWindowLogHost;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class QToolBar;
class TLumAboutDialog;
class TLumAppUpdate;
class TLumFlatFile;
class TLumListView;
class TLumFileDrag;
class TLumRegistryEnhanced;
class TLumShellLink;
struct MainCommandEntry;
struct PageDescription;

// The main window: the four tables and their views, the toolbar, the menus, the progress bar
// and the status bar, and the document's lifecycle.
class TForm1 : public QMainWindow, public RecordCommandHost
{
    Q_OBJECT

public:
    // Creating the window loads the recent-file lists, refreshes the stored version, reads the
    // reference folders and files, restores the placement and applies the interface font.
    explicit TForm1(QWidget *parent = nullptr);
    // Stores the placement and empties the tables and recent-file lists.
    ~TForm1() override;

    QWidget *hostWindow() override { return this; }
    LogDocument &Document() override { return *m_document; }

    // The options every command reads: the options dialog once it is created (start-up makes
    // it right after the window), the built-in defaults before. The pointer must outlive the
    // window.
    void setOptions(const WingbookOptions *options);
    const WingbookOptions &options() const override { return *m_options; }

    // --- views and components ---
    TLumListView *LumListView1 = nullptr; // Flights
    TLumListView *LumListView2 = nullptr; // Airlines
    TLumListView *LumListView3 = nullptr; // Airports
    TLumListView *LumListView4 = nullptr; // Distances
    TLumListView *GetActiveLumListView() const;
    TLumListView *listView(TableKind kind) const override;
    TableKind activeTable() const;
    void setActiveTable(TableKind kind) override;

    TLumRegistryEnhanced *LumRegistryEnhanced1 = nullptr;
    TLumFlatFile *AirlinesLumFlatFile = nullptr;
    TLumFlatFile *AirportsLumFlatFile = nullptr;
    const TLumFlatFile &airlineReferences() const override { return *AirlinesLumFlatFile; }
    const TLumFlatFile &airportReferences() const override { return *AirportsLumFlatFile; }
    // The airports' positions, read with the reference files (none without their file).
    const AirportPositions *airportPositions() const override { return m_airportPositions.get(); }
    // Folders of Countries.def and of Airlines.def and Airports.def, each ending in "/".
    QString CommonDefFilesPath;
    QString DefFilesPath;

    // The import loops set Processing while they run and stop when StopRequested is set.
    bool Processing = false;
    bool StopRequested = false;
    // Sets Processing and clears StopRequested. While processing, only Exit is enabled among
    // the commands, the record commands and drops are refused, and closing the window asks
    // to stop first; a close so asked for follows once processing has ended.
    void setProcessing(bool on);

    // --- recent files ---
    QMenu *OpenPopupMenu = nullptr;
    QMenu *ImportPopupMenu = nullptr;
    RecentFileList ImportRecent;
    // Removes entries beyond the "Recently used file list" count from both lists (run when the
    // options are applied).
    void trimRecentLists();
    // An entry of the Open or the Import recent-file menu was chosen.
    void OpenPopupMenuClick(const QString &path);
    void ImportPopupMenuClick(const QString &path);

    // --- commands of the menu bar and toolbar (MainWindowCommands.cpp) ---
    QAction *action(MainCommand command) const;
    // Tools, "Add": one item per page, each the Add command of that page's table.
    QMenu *ToolsAddMenu = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    // Gives a command without a handler of the window's own (Import, Export, Statistics,
    // Options, About, ...) its handler: its toolbar button and menu item appear.
    void setCommandHandler(MainCommand command, std::function<void()> handler);
    // The importer of the files with this exact extension (".csv", ".txt", ".def").
    void setFileImporter(const QString &extension, std::function<void(const QString &)> importer);
    // Resolves a shortcut (".lnk") to its target; throws or returns "" when it cannot.
    void setShortcutResolver(std::function<QString(const QString &)> resolver);

    // --- the pages' record commands (MainWindowPages.cpp) ---
    void setRecordCommand(TableKind kind, RecordCommand command,
                          std::function<void()> handler) override;
    QMenu *recordSubmenu(TableKind kind, RecordCommand command) override;
    // Runs a table's record command as a key or a click does, whatever its item's state.
    void runRecordCommand(TableKind kind, RecordCommand command);
    // The context menu of a table, set up from the table's current state as when it opens.
    QMenu *contextMenu(TableKind kind);

    // --- file drop and shortcuts (MainWindowDrop.cpp) ---
    // --- the about dialog and the update check (MainWindowUpdate.cpp) ---
    TLumAboutDialog *LumAboutDialog1 = nullptr;
    TLumAppUpdate *LumAppUpdate1 = nullptr;

    TLumFileDrag *LumFileDrag1 = nullptr;
    TLumShellLink *LumShellLink1 = nullptr;
    // Reads or imports the files of the last drop in order, shortcuts resolved first.
    void LumFileDrag1Drop(QObject *Sender, int X, int Y);

    // The save question; false when the user asked to save and the save failed (the calling
    // command then stops, so the changes are not lost).
    bool SaveCurrent();
    // Title, status text, then the enabled and visible state of every command.
    void UpdateStatusBar() override;
    // The active page changed.
    void PageControl1Change();

    // Reads a log file as the Open dialog's OK does, errors shown in the error box.
    bool openLogFile(const QString &fileName);
    // Writes the log; false (error shown, log still modified) when it could not be written.
    bool saveLogFile(const QString &fileName);

    // The start-up file: the command line (arguments joined with blanks) or, when the option
    // says so, the most recent log. Read while the window is still hidden.
    void openStartupFile(const QStringList &arguments);

    // Double-click and Enter: Properties or Add of that table, as the options say.
    void runDefaultCommand(TableKind kind);
    // A click on a table view: the stop question while processing, else FindRefresh.
    void listViewClick();

    // What reading and writing a log (and any other long loop over the tables) show in the
    // window: busy pointer, status text, progress bar.
    LogFileHost &logFileHost();

    QString statusText() const;
    int progressPosition() const;

public slots:
    void NewToolButtonClick();
    void OpenToolButtonClick();
    void SaveToolButtonClick();
    void SaveAsToolButtonClick();
    void FindToolButtonClick();
    void AddToolButtonClick();
    void ExitToolButtonClick();
    void ReleaseNotesClick();
    // Check for Updates: the running version's short text, then the check with its messages.
    void CheckForUpdatesClick();
    void AboutToolButtonClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One tab page: its table's view, its context menu with one item per record command of
    // the table (null where the table has none) and the commands' handlers, and its item in
    // Tools, "Add".
    struct Page {
        const PageDescription *description = nullptr;
        TLumListView *view = nullptr;
        QMenu *contextMenu = nullptr;
        struct Item {
            QAction *action = nullptr;
            std::function<void()> handler;
            QMetaObject::Connection connection; // the item runs the handler
            QMenu *submenu = nullptr;
        };
        std::array<Item, kRecordCommandCount> items{};
        QAction *toolsAddItem = nullptr;
    };
    Page &page(TableKind kind);
    const Page &page(TableKind kind) const;

    // Construction, in MainWindowCommands.cpp, MainWindowPages.cpp and MainWindowStartup.cpp.
    void createActions();
    void createMenus();
    void createToolBar();
    void createPages();
    void createContextMenu(Page &page);
    void rebuildRecentMenu(QMenu *menu, const RecentFileList &list, bool openMenu);
    void loadRecentLists();
    void storeRecentLists();
    void refreshStoredVersion();
    void readReferenceFolders();
    void loadReferenceFiles();
    void restorePlacement();
    void createFileDrop();
    void createUpdateComponents();
    void applyUpdateComponentFonts();
    void storePlacement();

    // Sets the enabled and visible state of every command: the menu bar's and toolbar's, the
    // toolbar's gaps, Tools "Add" and the items of the four context menus. Run wherever that
    // state can change: the tables, the modified state, the active page, a selection, a
    // context menu opening, a handler given.
    void updateCommandStates();
    bool commandShown(const MainCommandEntry &entry) const;
    bool commandEnabled(const MainCommandEntry &entry) const;
    void updatePageItems(Page &page);

    // Save and Save As: whether the file was written, was not (cancel, a name that is not a
    // log file) or could not be written (error shown).
    enum class SaveOutcome { Written, Skipped, Failed };
    SaveOutcome save();
    SaveOutcome saveAs();

    LogDocument *m_document = nullptr;
    std::unique_ptr<AirportPositions> m_airportPositions;
    const WingbookOptions *m_options = nullptr;
    OptionSet m_defaultOptions;
    QLabel *m_statusLabel = nullptr;
    std::array<Page, 4> m_pages{};
    std::array<QAction *, kMainCommandCount> m_actions{};
    // The handlers given by setCommandHandler, connected to their actions.
    std::array<QMetaObject::Connection, kMainCommandCount> m_pluggedHandlers{};
    // The toolbar's gaps, each at the first command of a group.
    std::array<QAction *, kMainCommandCount> m_toolBarGaps{};
    QHash<QString, std::function<void(const QString &)>> m_importers;
    std::function<QString(const QString &)> m_shortcutResolver;

    // The Open and Save As dialogs' memory.
    QString m_openDialogFolder;
    int m_saveDialogFilterIndex = 0;
    // What reading and writing the log show in the window.
    std::unique_ptr<MainWindowLogHost> m_logHost;

    bool m_closeWhenProcessingEnds = false;
};
