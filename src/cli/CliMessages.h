#pragma once

#include <QString>
#include <QTextStream>

// Every message of wingbook-cli on standard error goes through these, so the program names
// itself the same way everywhere.

// "wingbook-cli: MESSAGE" on its own line: a failure, or a notice about work that succeeded.
void writeCliMessage(QTextStream &err, const QString &message);
// "wingbook-cli: PROBLEM" (when given), then "usage: wingbook-cli SYNOPSIS"; returns 2.
int writeCliUsageError(QTextStream &err, const QString &synopsis, const QString &problem);
// "wingbook-cli: PROBLEM", then a pointer to the general help; returns 2.
int writeCliHelpPointer(QTextStream &err, const QString &problem);
