#pragma once

#include <QString>

// Makes a new, empty file with a unique name that starts with `prefix` in the user's temporary
// folder and returns its path; "" and the system's reason in `error` when it cannot.
QString createUniqueTempFile(const QString &prefix, QString *error);
