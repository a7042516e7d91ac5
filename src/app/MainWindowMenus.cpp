// The main window's actions, menu bar, toolbar, tab pages, context menus and recent-file menus.
#include "app/AppIcons.h"
#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "model/LogDocument.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace
{

const TableKind kTableKinds[] = {TableKind::Flights, TableKind::Airlines, TableKind::Airports,
                                 TableKind::Distances};

QAction *makeAction(QObject *owner, AppIcon icon, const QString &caption, const QString &hint,
                    const QKeySequence &shortcut = {})
{
    auto *action = new QAction(appIcon(icon), caption, owner);
    action->setIconText(hint);
    action->setToolTip(hint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QString menuCaption(const QString &path)
{
    // A path is shown as it is: "&" is not an accelerator marker here.
    QString caption = path;
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void TForm1::createActions()
{
    NewAction = makeAction(this, AppIcon::New, QStringLiteral("New"), QStringLiteral("New"),
                           QKeySequence(Qt::CTRL | Qt::Key_N));
    OpenAction = makeAction(this, AppIcon::Open, QStringLiteral("Open..."), QStringLiteral("Open"),
                            QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveAction = makeAction(this, AppIcon::Save, QStringLiteral("Save"), QStringLiteral("Save"),
                            QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAsAction =
        makeAction(this, AppIcon::SaveAs, QStringLiteral("Save As..."), QStringLiteral("Save As"));
    ImportAction =
        makeAction(this, AppIcon::Import, QStringLiteral("Import..."), QStringLiteral("Import"));
    ExportAction =
        makeAction(this, AppIcon::Export, QStringLiteral("Export..."), QStringLiteral("Export"));
    FindAction = makeAction(this, AppIcon::Find, QStringLiteral("Find..."), QStringLiteral("Find"),
                            QKeySequence(Qt::CTRL | Qt::Key_F));
    AddAction = makeAction(this, AppIcon::Add, QStringLiteral("Add"), QStringLiteral("Add"));
    StatisticsAction = makeAction(this, AppIcon::Statistics, QStringLiteral("Statistics..."),
                                  QStringLiteral("Statistics"));
    OptionsAction =
        makeAction(this, AppIcon::Options, QStringLiteral("Options..."), QStringLiteral("Options"));
    AboutAction =
        makeAction(this, AppIcon::About, QStringLiteral("About..."), QStringLiteral("About"));
    ExitAction = makeAction(this, AppIcon::Exit, QStringLiteral("Exit"), QStringLiteral("Exit"));
    ReleaseNotesAction = new QAction(QStringLiteral("Release Notes"), this);
    ReleaseNotesAction->setShortcut(QKeySequence(Qt::Key_F1));
    CheckForUpdatesAction = new QAction(QStringLiteral("Check for Updates..."), this);
    CheckForUpdatesAction->setShortcut(QKeySequence(Qt::Key_F9));

    SaveAction->setEnabled(false);
    ExportAction->setEnabled(false);
    FindAction->setEnabled(false);
    StatisticsAction->setEnabled(false);

    connect(NewAction, &QAction::triggered, this, &TForm1::NewToolButtonClick);
    connect(OpenAction, &QAction::triggered, this, &TForm1::OpenToolButtonClick);
    connect(SaveAction, &QAction::triggered, this, &TForm1::SaveToolButtonClick);
    connect(SaveAsAction, &QAction::triggered, this, &TForm1::SaveAsToolButtonClick);
    connect(FindAction, &QAction::triggered, this, &TForm1::FindToolButtonClick);
    connect(AddAction, &QAction::triggered, this, &TForm1::AddToolButtonClick);
    connect(ExitAction, &QAction::triggered, this, &TForm1::ExitToolButtonClick);
    connect(ReleaseNotesAction, &QAction::triggered, this, &TForm1::ReleaseNotesClick);

    const std::pair<QAction *, MainCommand> plugged[] = {
        {ImportAction, MainCommand::Import},
        {ExportAction, MainCommand::Export},
        {StatisticsAction, MainCommand::Statistics},
        {OptionsAction, MainCommand::Options},
        {CheckForUpdatesAction, MainCommand::CheckForUpdates},
        {AboutAction, MainCommand::About},
    };
    for (const auto &[action, command] : plugged) {
        connect(action, &QAction::triggered, this, [this, command = command] {
            const auto handler = m_commandHandlers.value(int(command));
            if (handler)
                handler();
        });
    }
}

void TForm1::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(NewAction);
    file->addAction(OpenAction);
    file->addAction(SaveAction);
    file->addAction(SaveAsAction);
    file->addSeparator();
    file->addAction(ImportAction);
    file->addAction(ExportAction);
    file->addSeparator();
    file->addAction(ExitAction);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addAction(FindAction);
    tools->addSeparator();
    ToolsAddMenu = tools->addMenu(appIcon(AppIcon::Add), QStringLiteral("Add"));
    static const char *const captions[] = {"Flight", "Airline", "Airport", "Distance"};
    for (int t = 0; t < 4; ++t) {
        QAction *item = ToolsAddMenu->addAction(QString::fromLatin1(captions[t]));
        // Tools "Add" keeps the selection: with one row selected the table's Add modifies it.
        connect(item, &QAction::triggered, this, [this, t] {
            const auto &add = m_tableCommands[size_t(t)].Add;
            if (add)
                add();
        });
        m_toolsAddItems[size_t(t)] = item;
    }
    tools->addSeparator();
    tools->addAction(StatisticsAction);
    tools->addSeparator();
    tools->addAction(OptionsAction);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(ReleaseNotesAction);
    help->addAction(CheckForUpdatesAction);
    help->addSeparator();
    help->addAction(AboutAction);

    OpenPopupMenu = new QMenu(this);
    ImportPopupMenu = new QMenu(this);
}

void TForm1::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("Toolbar"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(20, 20));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    const QList<QList<QAction *>> groups = {
        {NewAction, OpenAction, SaveAction, SaveAsAction},
        {ImportAction, ExportAction},
        {FindAction},
        {AddAction},
        {StatisticsAction},
        {OptionsAction},
        {AboutAction, ExitAction},
    };
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (g > 0)
            m_groupSeparators.append(ToolBar1->addSeparator());
        for (QAction *action : groups[g]) {
            ToolBar1->addAction(action);
            if (QWidget *button = ToolBar1->widgetForAction(action))
                button->setFixedSize(26, 26);
        }
    }
    // A right click on Open or Import shows its recent-file menu.
    const std::pair<QAction *, QMenu **> recent[] = {{OpenAction, &OpenPopupMenu},
                                                     {ImportAction, &ImportPopupMenu}};
    for (const auto &[action, menu] : recent) {
        QWidget *button = ToolBar1->widgetForAction(action);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [button, menu = menu](const QPoint &pos) {
                    if (!(*menu)->isEmpty())
                        (*menu)->popup(button->mapToGlobal(pos));
                });
    }
    updateCommandVisibility();
}

void TForm1::createPages()
{
    PageControl1 = new QTabWidget;
    static const char *const captions[] = {"Flights", "Airlines", "Airports", "Distances"};
    static const AppIcon icons[] = {AppIcon::Flight, AppIcon::Airline, AppIcon::Airport,
                                    AppIcon::Distance};
    for (int t = 0; t < 4; ++t) {
        auto *view = new TLumListView;
        view->setTable(&m_document->table(kTableKinds[t]));
        view->setRowIcon(drawnIcon(icons[t]));
        view->setMultiSelection(true);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        PageControl1->addTab(view, QString::fromLatin1(captions[t]));
        m_views[size_t(t)] = view;

        const TableKind kind = kTableKinds[t];
        connect(view, &TLumListView::rowClicked, this, &TForm1::ListViewClick);
        connect(view, &TLumListView::rowDoubleClicked, this,
                [this, kind] { RunDefaultCommand(kind); });
        connect(view, &TLumListView::deletePressed, this, [this, kind] {
            const auto &command = tableCommands(kind).Delete;
            if (command)
                command();
        });
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, kind, view](const QPoint &pos) {
                    PopupMenuPopup(kind);
                    m_popupMenus[size_t(tablePosition(kind))]->popup(
                        view->viewport()->mapToGlobal(pos));
                });
    }
    LumListView1 = m_views[0];
    LumListView2 = m_views[1];
    LumListView3 = m_views[2];
    LumListView4 = m_views[3];
    LumListView4->setGreyZeroMilesRows(true);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
}

void TForm1::createContextMenus()
{
    for (int t = 0; t < 4; ++t) {
        auto *menu = new QMenu(this);
        PopupItems &items = m_popupItems[size_t(t)];
        const TableKind kind = kTableKinds[t];
        auto run = [this, t](std::function<void()> TableCommandSet::*member) {
            return [this, t, member] {
                const auto &command = m_tableCommands[size_t(t)].*member;
                if (command)
                    command();
            };
        };
        items.properties =
            menu->addAction(QStringLiteral("Properties"), this, run(&TableCommandSet::Properties));
        menu->addSeparator();
        items.find = menu->addAction(appIcon(AppIcon::Find), QStringLiteral("Find..."), this,
                                     [this, kind] { listView(kind)->Find(); });
        menu->addSeparator();
        items.clear = menu->addAction(QStringLiteral("Clear"), this, run(&TableCommandSet::Clear));
        menu->addSeparator();
        items.extraSlot = menu->addSeparator();
        items.add = menu->addAction(appIcon(AppIcon::Add), QStringLiteral("Add"), this,
                                    run(&TableCommandSet::Add));
        items.deleteRows =
            menu->addAction(QStringLiteral("Delete"), this, run(&TableCommandSet::Delete));
        if (kind == TableKind::Flights)
            items.derive =
                menu->addAction(QStringLiteral("Derive"), this, run(&TableCommandSet::Derive));
        if (kind == TableKind::Distances)
            items.swap = menu->addAction(QStringLiteral("Swap"), this, run(&TableCommandSet::Swap));
        m_popupMenus[size_t(t)] = menu;
    }
    updateCommandVisibility();
}

QMenu *TForm1::PopupMenu(TableKind kind)
{
    PopupMenuPopup(kind);
    return m_popupMenus[size_t(tablePosition(kind))];
}

void TForm1::PopupMenuPopup(TableKind kind)
{
    const int t = tablePosition(kind);
    const PopupItems &items = m_popupItems[size_t(t)];
    const TableCommandSet &commands = m_tableCommands[size_t(t)];
    TLumListView *view = m_views[size_t(t)];
    const int selected = view->selectedCount();
    const bool hasRows = m_document->table(kind).count() > 0;

    items.properties->setEnabled(selected == 1);
    items.add->setText(selected == 1 ? QStringLiteral("Modify") : QStringLiteral("Add"));
    items.add->setEnabled(true);
    items.find->setEnabled(hasRows);
    items.clear->setEnabled(hasRows);
    items.deleteRows->setEnabled(selected >= 1);
    if (items.derive)
        items.derive->setEnabled(selected == 1);
    if (items.swap)
        items.swap->setEnabled(selected >= 1);
    if (commands.ExtraItem && commands.ExtraItemNeedsOneRow)
        commands.ExtraItem->setEnabled(selected == 1);

    QAction *defaultItem =
        options().HandleDoubleClicksAsPropertiesDisplay() ? items.properties : items.add;
    m_popupMenus[size_t(t)]->setDefaultAction(defaultItem->isVisible() ? defaultItem : nullptr);
}

void TForm1::setTableCommands(TableKind kind, const TableCommandSet &commands)
{
    const int t = tablePosition(kind);
    QMenu *menu = m_popupMenus[size_t(t)];
    if (QAction *old = m_tableCommands[size_t(t)].ExtraItem; old && old != commands.ExtraItem)
        menu->removeAction(old);
    m_tableCommands[size_t(t)] = commands;
    if (commands.ExtraItem && !menu->actions().contains(commands.ExtraItem))
        menu->insertAction(m_popupItems[size_t(t)].extraSlot, commands.ExtraItem);
    updateCommandVisibility();
}

const TableCommandSet &TForm1::tableCommands(TableKind kind) const
{
    return m_tableCommands[size_t(tablePosition(kind))];
}

void TForm1::setCommandHandler(MainCommand command, std::function<void()> handler)
{
    m_commandHandlers.insert(int(command), std::move(handler));
    updateCommandVisibility();
}

void TForm1::setFileImporter(const QString &extension,
                             std::function<void(const QString &)> importer)
{
    m_importers.insert(extension, std::move(importer));
}

void TForm1::setShortcutResolver(std::function<QString(const QString &)> resolver)
{
    m_shortcutResolver = std::move(resolver);
}

// Commands of later windows appear once they are plugged in; nothing is shown that does nothing.
void TForm1::updateCommandVisibility()
{
    if (!ToolBar1 || !ToolsAddMenu)
        return;
    auto has = [this](MainCommand command) { return bool(m_commandHandlers.value(int(command))); };
    ImportAction->setVisible(has(MainCommand::Import));
    ExportAction->setVisible(has(MainCommand::Export));
    StatisticsAction->setVisible(has(MainCommand::Statistics));
    OptionsAction->setVisible(has(MainCommand::Options));
    CheckForUpdatesAction->setVisible(has(MainCommand::CheckForUpdates));
    AboutAction->setVisible(has(MainCommand::About));

    bool anyAdd = false;
    for (int t = 0; t < 4; ++t) {
        const TableCommandSet &commands = m_tableCommands[size_t(t)];
        anyAdd = anyAdd || bool(commands.Add);
        m_toolsAddItems[size_t(t)]->setVisible(bool(commands.Add));
        if (m_popupMenus[size_t(t)]) {
            const PopupItems &items = m_popupItems[size_t(t)];
            items.properties->setVisible(bool(commands.Properties));
            items.clear->setVisible(bool(commands.Clear));
            items.add->setVisible(bool(commands.Add));
            items.deleteRows->setVisible(bool(commands.Delete));
            if (items.derive)
                items.derive->setVisible(bool(commands.Derive));
            if (items.swap)
                items.swap->setVisible(bool(commands.Swap));
        }
    }
    AddAction->setVisible(anyAdd);
    ToolsAddMenu->menuAction()->setVisible(anyAdd);

    // A toolbar gap is shown only before a group that has a visible button.
    const QList<QList<QAction *>> groups = {
        {ImportAction, ExportAction}, {FindAction},    {AddAction},
        {StatisticsAction},           {OptionsAction}, {AboutAction, ExitAction}};
    for (qsizetype g = 0; g < groups.size() && g < m_groupSeparators.size(); ++g) {
        bool visible = false;
        for (QAction *action : groups[g])
            visible = visible || action->isVisible();
        m_groupSeparators[g]->setVisible(visible);
    }
}

void TForm1::rebuildRecentMenu(QMenu *menu, const RecentFileList &list, bool openMenu)
{
    menu->clear();
    for (const QString &path : list.entries()) {
        menu->addAction(menuCaption(path), this, [this, path, openMenu] {
            if (openMenu)
                OpenRecentClick(path);
            else
                ImportRecentClick(path);
        });
    }
}

void TForm1::trimRecentLists()
{
    m_document->OpenRecent.trimTo(options().RecentlyUsedFileList());
    ImportRecent.trimTo(options().RecentlyUsedFileList());
}
