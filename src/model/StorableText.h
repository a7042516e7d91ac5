#pragma once

#include <QString>

// A log file is XML 1.0, which cannot carry every character: not the control characters
// other than tab, line feed and carriage return, not U+FFFE and U+FFFF, and not half of a
// surrogate pair. Cells never hold them, so that every saved log can be read again.
bool IsStorableText(QStringView text);

// The text with each character that a log file cannot carry replaced by a blank.
QString StorableText(const QString &text);
