#pragma once

#include "platform/RegistryTree.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The settings tree as REGEDIT4 text:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Marovek\Wingbook\Options]
//   "ProxyPort"="80"
//   "UseProxyServer"=dword:00000001
//   "Ratio"=hex:00,00,00,00,00,00,f8,3f
//   "Path"=hex(2):25,48,4f,4d,45,25,00
//
// Text is UTF-8. Inside quotes a backslash and a double quote are written \\ and \", and
// control characters \n, \r, \t or \xHH, so every value fits on one line. A hex list may go on
// over several lines that end in a backslash.

struct RegistryParseResult {
    enum Status {
        psClean,     // every line was understood
        psDamaged,   // some lines were not understood and were left out; the rest is in tree
        psUnreadable // not a REGEDIT4 text at all (binary data, no header); tree is empty
    };
    RegistryTree tree;
    Status status = psClean;
    QStringList problems; // one line per problem, "line N: what"
};

// Reads a whole settings file. Empty or blank content is a clean, empty tree.
RegistryParseResult ParseRegistryText(const QByteArray &content);

// The whole tree as REGEDIT4 text, lines ended by lineEnd.
QByteArray WriteRegistryText(const RegistryTree &tree,
                             const QString &lineEnd = QStringLiteral("\n"));

// One key and everything below it as REGEDIT4 text; path is the key's absolute path.
QByteArray WriteRegistryKeyText(const RegistryKey &key, const QString &path,
                                const QString &lineEnd = QStringLiteral("\n"));
