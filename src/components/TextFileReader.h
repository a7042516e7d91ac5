#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The lines of a text file, or why they could not be had.
struct TextFileContent {
    bool exists = false; // false: there is no file of that name (lines empty, error says so)
    bool ok = false;     // true: the file was read and decoded into lines
    QString error;       // when !ok: a message that names the file
    QStringList lines;   // without line ends
};

// A text file decoded whole, not yet cut into lines (for readers of very long files, which
// look at its lines through views).
struct DecodedTextFile {
    bool exists = false;
    bool ok = false;
    QString error;
    QString text;
};

// Reads every text file of the program (reference files, imported files). A byte-order mark
// selects UTF-8, UTF-16 LE or UTF-16 BE; without one the bytes are UTF-8 when they are valid
// UTF-8 and Windows-1252 otherwise. Lines end in CR LF, LF or CR; a line break at the very end
// adds no empty line.
TextFileContent ReadTextFile(const QString &fileName);
DecodedTextFile ReadDecodedTextFile(const QString &fileName);

// The decoding and line cutting of ReadTextFile, for bytes already in memory.
QString DecodeText(const QByteArray &bytes);
QStringList SplitTextLines(const QString &text);
// The same lines as views into the text.
QList<QStringView> TextLineViews(QStringView text);

// Files larger than this are refused rather than read into memory.
inline constexpr qint64 MaxTextFileSize = qint64(256) * 1024 * 1024;
