#pragma once

#include "model/LogTable.h"

#include <functional>

class AirportPositions;
class LogDocument;
class QMenu;
class QWidget;
class TLumFlatFile;
class TLumListView;
class WingbookOptions;

// The commands of a table's context menu. Which tables show which, their captions, places and
// enabling belong to the window; the record commands give each one its handler.
enum class RecordCommand {
    Properties,
    Find,
    Clear,
    Locate, // Flights: a submenu
    AirlineInformation,
    AirportInformation,
    DistanceCalculator,
    ComputeDistances,
    Add, // captioned "Modify" with exactly one row selected
    Delete,
    Derive,
    Swap, // the last one: kRecordCommandCount counts up to it
};

inline constexpr int kRecordCommandCount = int(RecordCommand::Swap) + 1;

// What the record commands need from the window they run in: the log and its options, the
// table views, the reference files, and the items of the tables' context menus. The main
// window implements it; the record commands never see the window itself.
class RecordCommandHost
{
public:
    virtual ~RecordCommandHost() = default;

    // The parent of the record dialogs and of their messages.
    virtual QWidget *hostWindow() = 0;
    virtual LogDocument &Document() = 0;
    virtual const WingbookOptions &options() const = 0;
    virtual TLumListView *listView(TableKind kind) const = 0;
    virtual void setActiveTable(TableKind kind) = 0;
    virtual const TLumFlatFile &airlineReferences() const = 0;
    virtual const TLumFlatFile &airportReferences() const = 0;
    // The airports' positions beside Airports.def; none: distances are never computed.
    virtual const AirportPositions *airportPositions() const { return nullptr; }
    // Title, status text and command enabling after a command changed the tables.
    virtual void UpdateStatusBar() = 0;

    // Gives a table's record command its handler: the context-menu item appears and runs it,
    // and so do the keys and clicks routed to the command (double-click, Enter, Delete, Add).
    virtual void setRecordCommand(TableKind kind, RecordCommand command,
                                  std::function<void()> handler) = 0;
    // The submenu of a command that opens one (Flights' "Locate"), to put its items in; the
    // item appears once the submenu has items.
    virtual QMenu *recordSubmenu(TableKind kind, RecordCommand command) = 0;
};
