#pragma once

// The commands of the main window's menu bar and toolbar. The window's command table
// (kMainCommands in MainWindowCommands.cpp) gives each one its caption, picture, shortcut,
// place and enabling rule, in the enumeration's order.
enum class MainCommand {
    New,
    Open,
    Save,
    SaveAs,
    Import,
    Export,
    Find,
    Add,
    Statistics,
    ComputeDistances,
    RouteMap,
    Charts,
    Options,
    ReleaseNotes,
    CheckForUpdates,
    About,
    Exit, // the last one: kMainCommandCount counts up to it
};

inline constexpr int kMainCommandCount = int(MainCommand::Exit) + 1;
