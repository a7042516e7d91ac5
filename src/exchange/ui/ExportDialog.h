#pragma once

#include "platform/ui/FileDialogs.h"

// The save dialog "Export" of the table export and of the statistics' ranking lists: no name
// proposed, starting in the folder of the open log (the documents folder when there is none),
// "csv" given to a name typed without extension, asking before an existing file is replaced
// when the option says so. Returns the chosen path, or "" on cancel.
QString ExecuteExportDialog(QWidget *parent, const QStringList &filters,
                            const QString &documentFileName, bool promptBeforeOverwriting);
