// The commands of the main window's menu bar and toolbar: one table of them, the menus and the
// toolbar built from it, and the one pass that sets every command's enabled and visible state.
#include "app/AppIcons.h"
#include "app/MainWindowPages.h"
#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "model/LogDocument.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <algorithm>
#include <optional>

enum class CommandMenu { File, Tools, Help };

// When a command is enabled.
enum class CommandEnabled {
    Always,
    WhenModified,    // Save: the modified state
    WhenLogHasRows,  // the four tables hold at least one row in total
    WhenPageHasRows, // the active page's table has a row
};

// One command of the menu bar and the toolbar.
struct MainCommandEntry {
    MainCommand command;
    const char *caption;        // the menu item's text
    const char *hint = nullptr; // the toolbar button's hint; null: no button
    std::optional<AppIcon> icon = {};
    QKeyCombination shortcut = {};
    CommandMenu menu = CommandMenu::File;
    bool menuGap = false;    // a separator before it in its menu
    bool toolBarGap = false; // a gap before its button
    CommandEnabled enabled = CommandEnabled::Always;
    // The window's own handler. A command without one is hidden until setCommandHandler
    // gives it its handler.
    void (TForm1::*handler)() = nullptr;
    // A right click on the button shows this recent-file menu.
    QMenu *TForm1::*recentMenu = nullptr;
    // The command runs a page's Add command: its menu holds a submenu with an item per page,
    // and it is shown once a page has an Add command.
    bool pagesAdd = false;
};

namespace
{

using enum MainCommand;

// In the enumeration's order, which is the toolbar's order and the order of each menu's items.
constexpr MainCommandEntry kMainCommands[] = {
    {.command = New,
     .caption = "New",
     .hint = "New",
     .icon = AppIcon::New,
     .shortcut = Qt::CTRL | Qt::Key_N,
     .handler = &TForm1::NewToolButtonClick},
    {.command = Open,
     .caption = "Open...",
     .hint = "Open",
     .icon = AppIcon::Open,
     .shortcut = Qt::CTRL | Qt::Key_O,
     .handler = &TForm1::OpenToolButtonClick,
     .recentMenu = &TForm1::OpenPopupMenu},
    {.command = Save,
     .caption = "Save",
     .hint = "Save",
     .icon = AppIcon::Save,
     .shortcut = Qt::CTRL | Qt::Key_S,
     .enabled = CommandEnabled::WhenModified,
     .handler = &TForm1::SaveToolButtonClick},
    {.command = SaveAs,
     .caption = "Save As...",
     .hint = "Save As",
     .icon = AppIcon::SaveAs,
     .enabled = CommandEnabled::WhenLogHasRows,
     .handler = &TForm1::SaveAsToolButtonClick},
    {.command = Import,
     .caption = "Import...",
     .hint = "Import",
     .icon = AppIcon::Import,
     .menuGap = true,
     .toolBarGap = true,
     .recentMenu = &TForm1::ImportPopupMenu},
    {.command = Export,
     .caption = "Export...",
     .hint = "Export",
     .icon = AppIcon::Export,
     .enabled = CommandEnabled::WhenLogHasRows},
    {.command = Find,
     .caption = "Find...",
     .hint = "Find",
     .icon = AppIcon::Find,
     .shortcut = Qt::CTRL | Qt::Key_F,
     .menu = CommandMenu::Tools,
     .toolBarGap = true,
     .enabled = CommandEnabled::WhenPageHasRows,
     .handler = &TForm1::FindToolButtonClick},
    {.command = Add,
     .caption = "Add",
     .hint = "Add",
     .icon = AppIcon::Add,
     .menu = CommandMenu::Tools,
     .menuGap = true,
     .toolBarGap = true,
     .handler = &TForm1::AddToolButtonClick,
     .pagesAdd = true},
    {.command = Statistics,
     .caption = "Statistics...",
     .hint = "Statistics",
     .icon = AppIcon::Statistics,
     .menu = CommandMenu::Tools,
     .menuGap = true,
     .toolBarGap = true,
     .enabled = CommandEnabled::WhenLogHasRows},
    {.command = ComputeDistances,
     .caption = "Compute Distances",
     .menu = CommandMenu::Tools,
     .enabled = CommandEnabled::WhenLogHasRows},
    {.command = RouteMap,
     .caption = "Route Map...",
     .menu = CommandMenu::Tools,
     .enabled = CommandEnabled::WhenLogHasRows},
    {.command = Charts,
     .caption = "Charts...",
     .menu = CommandMenu::Tools,
     .enabled = CommandEnabled::WhenLogHasRows},
    {.command = Options,
     .caption = "Options...",
     .hint = "Options",
     .icon = AppIcon::Options,
     .menu = CommandMenu::Tools,
     .menuGap = true,
     .toolBarGap = true},
    {.command = ReleaseNotes,
     .caption = "Release Notes",
     .shortcut = Qt::Key_F1,
     .menu = CommandMenu::Help,
     .handler = &TForm1::ReleaseNotesClick},
    {.command = CheckForUpdates,
     .caption = "Check for Updates...",
     .shortcut = Qt::Key_F9,
     .menu = CommandMenu::Help,
     .handler = &TForm1::CheckForUpdatesClick},
    {.command = About,
     .caption = "About...",
     .hint = "About",
     .icon = AppIcon::About,
     .menu = CommandMenu::Help,
     .menuGap = true,
     .toolBarGap = true,
     .handler = &TForm1::AboutToolButtonClick},
    {.command = Exit,
     .caption = "Exit",
     .hint = "Exit",
     .icon = AppIcon::Exit,
     .menuGap = true,
     .handler = &TForm1::ExitToolButtonClick},
};

constexpr bool inEnumerationOrder()
{
    for (size_t i = 0; i < std::size(kMainCommands); ++i) {
        if (kMainCommands[i].command != MainCommand(i))
            return false;
    }
    return std::size(kMainCommands) == size_t(kMainCommandCount);
}
static_assert(inEnumerationOrder(), "one entry per command, in the enumeration's order");

const char *const kMenuTitles[] = {"&File", "&Tools", "&Help"};

constexpr QSize kToolButtonSize(26, 26);

constexpr const MainCommandEntry &entryOf(MainCommand command)
{
    return kMainCommands[size_t(command)];
}

} // namespace

QAction *TForm1::action(MainCommand command) const
{
    return m_actions[size_t(command)];
}

void TForm1::createActions()
{
    for (const MainCommandEntry &entry : kMainCommands) {
        auto *action = new QAction(QString::fromLatin1(entry.caption), this);
        if (entry.icon)
            action->setIcon(appIcon(*entry.icon));
        if (entry.hint) {
            action->setIconText(QString::fromLatin1(entry.hint));
            action->setToolTip(QString::fromLatin1(entry.hint));
        }
        if (entry.shortcut.key() != Qt::Key_unknown)
            action->setShortcut(QKeySequence(entry.shortcut));
        if (entry.handler)
            connect(action, &QAction::triggered, this, entry.handler);
        m_actions[size_t(entry.command)] = action;
    }
}

void TForm1::createMenus()
{
    QMenu *menus[std::size(kMenuTitles)];
    for (size_t m = 0; m < std::size(kMenuTitles); ++m)
        menus[m] = menuBar()->addMenu(QString::fromLatin1(kMenuTitles[m]));
    for (const MainCommandEntry &entry : kMainCommands) {
        QMenu *menu = menus[size_t(entry.menu)];
        if (entry.menuGap && !menu->actions().isEmpty())
            menu->addSeparator();
        if (entry.pagesAdd) {
            // The toolbar's Add adds to the active page; the menu names the table.
            ToolsAddMenu =
                menu->addMenu(action(entry.command)->icon(), QString::fromLatin1(entry.caption));
        } else {
            menu->addAction(action(entry.command));
        }
    }
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
    for (const MainCommandEntry &entry : kMainCommands) {
        if (!entry.hint)
            continue;
        if (entry.toolBarGap && !ToolBar1->actions().isEmpty())
            m_toolBarGaps[size_t(entry.command)] = ToolBar1->addSeparator();
        QAction *command = action(entry.command);
        ToolBar1->addAction(command);
        QWidget *button = ToolBar1->widgetForAction(command);
        button->setFixedSize(kToolButtonSize);
        if (entry.recentMenu) {
            // A right click shows the recent-file menu, when it has entries.
            QMenu *TForm1::*recentMenu = entry.recentMenu;
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this,
                    [this, button, recentMenu](const QPoint &pos) {
                        QMenu *menu = this->*recentMenu;
                        if (!menu->isEmpty())
                            menu->popup(button->mapToGlobal(pos));
                    });
        }
    }
}

void TForm1::setCommandHandler(MainCommand command, std::function<void()> handler)
{
    QMetaObject::Connection &connection = m_pluggedHandlers[size_t(command)];
    disconnect(connection);
    connection = {};
    if (handler && !entryOf(command).handler)
        connection = connect(action(command), &QAction::triggered, this, std::move(handler));
    updateCommandStates();
}

bool TForm1::commandShown(const MainCommandEntry &entry) const
{
    if (entry.pagesAdd) {
        return std::any_of(m_pages.begin(), m_pages.end(), [](const Page &page) {
            return bool(page.items[size_t(RecordCommand::Add)].handler);
        });
    }
    return entry.handler || bool(m_pluggedHandlers[size_t(entry.command)]);
}

bool TForm1::commandEnabled(const MainCommandEntry &entry) const
{
    // No command may change the log under a running import.
    if (Processing && entry.command != MainCommand::Exit)
        return false;
    switch (entry.enabled) {
    case CommandEnabled::Always:
        break;
    case CommandEnabled::WhenModified:
        return m_document->isModified();
    case CommandEnabled::WhenLogHasRows:
        return m_document->totalRows() > 0;
    case CommandEnabled::WhenPageHasRows:
        return m_document->table(activeTable()).count() > 0;
    }
    return true;
}

void TForm1::updateCommandStates()
{
    // Nothing to set up before the pages exist, or once the window has started to go.
    if (!PageControl1)
        return;
    for (const MainCommandEntry &entry : kMainCommands) {
        QAction *command = action(entry.command);
        command->setVisible(commandShown(entry));
        command->setEnabled(commandEnabled(entry));
        if (entry.pagesAdd)
            ToolsAddMenu->menuAction()->setVisible(command->isVisible());
    }

    // A toolbar gap is shown only before a group that has a visible button.
    QAction *gap = nullptr;
    bool groupShown = false;
    for (const MainCommandEntry &entry : kMainCommands) {
        if (!entry.hint)
            continue;
        if (QAction *next = m_toolBarGaps[size_t(entry.command)]) {
            if (gap)
                gap->setVisible(groupShown);
            gap = next;
            groupShown = false;
        }
        groupShown = groupShown || action(entry.command)->isVisible();
    }
    if (gap)
        gap->setVisible(groupShown);

    for (Page &page : m_pages)
        updatePageItems(page);
}
