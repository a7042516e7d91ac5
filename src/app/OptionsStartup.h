#pragma once

#include <QStringList>

class TForm1;
class TForm2;

// Creates the options dialog on the main window, as the program starts: the dialog loads the
// options from the settings store and applies them (the recent-file lists are trimmed, the
// proxy is set), becomes the options every command reads and the Options command's dialog, and
// opens the start-up file (the command line, or the last opened log). When the country list
// cannot be loaded, the error has been shown and no start-up file is opened.
TForm2 *CreateOptionsDialog(TForm1 &form, const QStringList &arguments);
