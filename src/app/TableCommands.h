#pragma once

#include "model/LogTable.h"

#include <functional>

class QAction;

// The record commands of one table, registered with the main window by the editing code. The
// window puts each registered command into the table's context menu in its fixed place and
// enables it by the table's state when the menu opens; a command that is not registered is not
// shown. Double-click and Enter run Properties or Add (as the options say), Delete the
// Delete command, Tools "Add" and the toolbar's "Add" the Add command.
struct TableCommandSet {
    std::function<void()> Properties; // enabled with exactly one row selected
    std::function<void()> Add;        // captioned "Modify" with exactly one row selected
    std::function<void()> Delete;     // enabled with at least one row selected
    std::function<void()> Clear;      // enabled when the table has rows
    std::function<void()> Derive;     // Flights: enabled with exactly one row selected
    std::function<void()> Swap;       // Distances: enabled with at least one row selected

    // The item between "Clear" and "Add": the "Locate" submenu of Flights (its menuAction()),
    // or a web-link item ("Airline Information", ...). The window takes it into the menu.
    QAction *ExtraItem = nullptr;
    // Whether the extra item needs exactly one selected row ("Locate"); otherwise it is
    // always enabled.
    bool ExtraItemNeedsOneRow = false;
};

// The main-window commands that later windows provide. Until a handler is given, the command's
// toolbar button and menu item are not shown.
enum class MainCommand { Import, Export, Statistics, Options, CheckForUpdates, About };

// The position of a table in the window's fixed order (Flights, Airlines, Airports, Distances).
inline int tablePosition(TableKind kind)
{
    switch (kind) {
    case TableKind::Airlines:
        return 1;
    case TableKind::Airports:
        return 2;
    case TableKind::Distances:
        return 3;
    case TableKind::Flights:
    case TableKind::Other:
        break;
    }
    return 0;
}
