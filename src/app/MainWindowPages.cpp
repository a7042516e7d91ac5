// The four tab pages: their table views, their context menus with the record commands' items,
// and how keys and clicks on a view reach those commands.
#include "app/MainWindowPages.h"

#include "app/AppIcons.h"
#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "model/LogDocument.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTabWidget>
#include <optional>

namespace
{

// When a record command's item is enabled, by the state of its table.
enum class ItemEnabled {
    Always,
    OneRowSelected,
    RowsSelected,
    TableHasRows,
};

// One item of the tables' context menus. kRecordItems lists them in menu order; each table's
// menu holds those that are on every table or on it alone.
struct RecordItemEntry {
    RecordCommand command;
    const char *caption;
    ItemEnabled enabled;
    std::optional<TableKind> onlyOn = {}; // none: on every table's menu
    bool gap = false;                     // a separator before it
    std::optional<AppIcon> icon = {};
    bool submenu = false; // the item opens a submenu that the command fills
};

using enum RecordCommand;

constexpr RecordItemEntry kRecordItems[] = {
    {.command = Properties, .caption = "Properties", .enabled = ItemEnabled::OneRowSelected},
    {.command = Find,
     .caption = "Find...",
     .enabled = ItemEnabled::TableHasRows,
     .gap = true,
     .icon = AppIcon::Find},
    {.command = Clear, .caption = "Clear", .enabled = ItemEnabled::TableHasRows, .gap = true},
    {.command = Locate,
     .caption = "Locate",
     .enabled = ItemEnabled::OneRowSelected,
     .onlyOn = TableKind::Flights,
     .gap = true,
     .submenu = true},
    {.command = AirlineInformation,
     .caption = "Airline Information",
     .enabled = ItemEnabled::Always,
     .onlyOn = TableKind::Airlines,
     .gap = true},
    {.command = AirportInformation,
     .caption = "Airport Information",
     .enabled = ItemEnabled::Always,
     .onlyOn = TableKind::Airports,
     .gap = true},
    {.command = DistanceCalculator,
     .caption = "Distance Calculator",
     .enabled = ItemEnabled::Always,
     .onlyOn = TableKind::Distances,
     .gap = true},
    {.command = ComputeDistances,
     .caption = "Compute Distances",
     .enabled = ItemEnabled::TableHasRows,
     .onlyOn = TableKind::Distances},
    {.command = Add,
     .caption = "Add",
     .enabled = ItemEnabled::Always,
     .gap = true,
     .icon = AppIcon::Add},
    {.command = Delete, .caption = "Delete", .enabled = ItemEnabled::RowsSelected},
    {.command = Derive,
     .caption = "Derive",
     .enabled = ItemEnabled::OneRowSelected,
     .onlyOn = TableKind::Flights},
    {.command = Swap,
     .caption = "Swap",
     .enabled = ItemEnabled::RowsSelected,
     .onlyOn = TableKind::Distances},
};

} // namespace

TForm1::Page &TForm1::page(TableKind kind)
{
    return m_pages[size_t(pageIndex(kind))];
}

const TForm1::Page &TForm1::page(TableKind kind) const
{
    return m_pages[size_t(pageIndex(kind))];
}

TLumListView *TForm1::listView(TableKind kind) const
{
    return page(kind).view;
}

TableKind TForm1::activeTable() const
{
    const int index = PageControl1 ? PageControl1->currentIndex() : 0;
    return kPages[size_t(qBound(0, index, int(kPages.size()) - 1))].kind;
}

void TForm1::setActiveTable(TableKind kind)
{
    PageControl1->setCurrentIndex(pageIndex(kind));
}

TLumListView *TForm1::GetActiveLumListView() const
{
    return listView(activeTable());
}

void TForm1::createPages()
{
    // PageControl1 is set once every page is complete: the commands' states are set up from
    // then on.
    auto *tabs = new QTabWidget;
    for (size_t p = 0; p < kPages.size(); ++p) {
        const PageDescription &description = kPages[p];
        const TableKind kind = description.kind;
        Page &page = m_pages[p];
        page.description = &description;

        auto *view = new TLumListView;
        view->setTable(&m_document->table(kind));
        view->setRowIcon(drawnIcon(description.icon));
        view->setMultiSelection(true);
        view->setGreyZeroMilesRows(kind == TableKind::Distances);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        tabs->addTab(view, QString::fromLatin1(description.caption));
        page.view = view;

        connect(view, &TLumListView::rowClicked, this, &TForm1::listViewClick);
        connect(view, &TLumListView::rowDoubleClicked, this,
                [this, kind] { runDefaultCommand(kind); });
        connect(view, &TLumListView::deletePressed, this,
                [this, kind] { runRecordCommand(kind, RecordCommand::Delete); });
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, kind, view](const QPoint &pos) {
                    contextMenu(kind)->popup(view->viewport()->mapToGlobal(pos));
                });
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                [this] { updateCommandStates(); });

        createContextMenu(page);
        // Tools "Add" keeps the selection: with one row selected the table's Add modifies it.
        page.toolsAddItem = ToolsAddMenu->addAction(QString::fromLatin1(description.recordName));
        connect(page.toolsAddItem, &QAction::triggered, this,
                [this, kind] { runRecordCommand(kind, RecordCommand::Add); });
        setRecordCommand(kind, RecordCommand::Find, [view] { view->Find(); });
    }
    LumListView1 = m_pages[0].view;
    LumListView2 = m_pages[1].view;
    LumListView3 = m_pages[2].view;
    LumListView4 = m_pages[3].view;
    PageControl1 = tabs;
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
}

void TForm1::createContextMenu(Page &page)
{
    auto *menu = new QMenu(this);
    for (const RecordItemEntry &entry : kRecordItems) {
        if (entry.onlyOn && *entry.onlyOn != page.description->kind)
            continue;
        if (entry.gap && !menu->actions().isEmpty())
            menu->addSeparator();
        Page::Item &item = page.items[size_t(entry.command)];
        const QString caption = QString::fromLatin1(entry.caption);
        if (entry.submenu) {
            item.submenu = new QMenu(caption, this);
            item.action = item.submenu->menuAction();
            menu->addAction(item.action);
        } else {
            item.action = menu->addAction(caption);
        }
        if (entry.icon)
            item.action->setIcon(appIcon(*entry.icon));
        // Shown once its command has a handler.
        item.action->setVisible(false);
    }
    page.contextMenu = menu;
}

void TForm1::setRecordCommand(TableKind kind, RecordCommand command, std::function<void()> handler)
{
    Page::Item &item = page(kind).items[size_t(command)];
    // Only the commands that the table's menu has can run on it.
    if (!item.action)
        return;
    disconnect(item.connection);
    item.connection = {};
    item.handler = std::move(handler);
    if (item.handler)
        item.connection = connect(item.action, &QAction::triggered, this, item.handler);
    updateCommandStates();
}

QMenu *TForm1::recordSubmenu(TableKind kind, RecordCommand command)
{
    return page(kind).items[size_t(command)].submenu;
}

void TForm1::runRecordCommand(TableKind kind, RecordCommand command)
{
    if (Processing)
        return;
    // A copy: the command may give the item another handler while it runs.
    const std::function<void()> handler = page(kind).items[size_t(command)].handler;
    if (handler)
        handler();
}

void TForm1::runDefaultCommand(TableKind kind)
{
    runRecordCommand(kind, options().HandleDoubleClicksAsPropertiesDisplay()
                               ? RecordCommand::Properties
                               : RecordCommand::Add);
}

QMenu *TForm1::contextMenu(TableKind kind)
{
    // A context menu's items are set up from its table's state each time it opens.
    updateCommandStates();
    return page(kind).contextMenu;
}

void TForm1::updatePageItems(Page &page)
{
    const int selected = page.view->selectedCount();
    const bool hasRows = m_document->table(page.description->kind).count() > 0;
    for (const RecordItemEntry &entry : kRecordItems) {
        const Page::Item &item = page.items[size_t(entry.command)];
        if (!item.action)
            continue;
        item.action->setVisible(item.handler ||
                                (item.submenu && !item.submenu->actions().isEmpty()));
        if (Processing) {
            item.action->setEnabled(false);
            continue;
        }
        switch (entry.enabled) {
        case ItemEnabled::Always:
            item.action->setEnabled(true);
            break;
        case ItemEnabled::OneRowSelected:
            item.action->setEnabled(selected == 1);
            break;
        case ItemEnabled::RowsSelected:
            item.action->setEnabled(selected >= 1);
            break;
        case ItemEnabled::TableHasRows:
            item.action->setEnabled(hasRows);
            break;
        }
    }
    QAction *add = page.items[size_t(RecordCommand::Add)].action;
    add->setText(selected == 1 ? QStringLiteral("Modify") : QStringLiteral("Add"));
    page.toolsAddItem->setVisible(add->isVisible());

    QAction *defaultItem = options().HandleDoubleClicksAsPropertiesDisplay()
                               ? page.items[size_t(RecordCommand::Properties)].action
                               : add;
    page.contextMenu->setDefaultAction(defaultItem->isVisible() ? defaultItem : nullptr);
}
