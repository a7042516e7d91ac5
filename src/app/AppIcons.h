#pragma once

#include <QIcon>

// The pictures of the program: the desktop's icon theme when it has one, otherwise small
// pictures drawn here, so that a bare machine shows them too.
enum class AppIcon {
    New,
    Open,
    Save,
    SaveAs,
    Import,
    Export,
    Find,
    Add,
    Statistics,
    Options,
    About,
    Exit,
    Flight,
    Airline,
    Airport,
    Distance,
    Application,
};

QIcon appIcon(AppIcon which);
// The drawn picture alone, never the theme's.
QIcon drawnIcon(AppIcon which);
