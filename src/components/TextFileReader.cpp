#include "components/TextFileReader.h"

#include "model/LargeArray.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace
{

// Windows-1252 without ICU (Qt knows the code page by name only when built with ICU).
// At 0x80..0x9F: the bytes that the code page leaves undefined keep their value,
// as C1 control characters, so that no byte is lost. Every other byte equals its Latin-1 value.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

// Decodes with one of Qt's codecs; invalid sequences become U+FFFD, and set *invalid. A large
// file goes into a string on huge pages: on a virtual machine the page faults of a fresh
// string of small pages take longer than the decoding.
QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes,
                   bool *invalid = nullptr)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text(decoder.requiredSpace(bytes.size()), Qt::Uninitialized);
    LargeArray::adviseHugePages(text.data(), size_t(text.size()) * sizeof(QChar));
    const QChar *end = decoder.appendToBuffer(text.data(), bytes);
    text.truncate(end - text.constData());
    if (invalid)
        *invalid = decoder.hasError();
    return text;
}

QString readError(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot read the file \"%1\": %2").arg(fileName, reason);
}

} // namespace

QString DecodeText(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, view.sliced(3));
    // An odd last byte of UTF-16 is half a character: it is dropped, not turned into U+FFFD.
    const auto utf16Units = [&view] { return view.sliced(2, (view.size() - 2) / 2 * 2); };
    if (view.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, utf16Units());
    if (view.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, utf16Units());
    // Decoded once: text that is valid UTF-8 is kept, anything else is read again below.
    bool invalid = false;
    QString text = decodeWith(QStringConverter::Utf8, view, &invalid);
    if (!invalid)
        return text;
    QStringDecoder windows1252("windows-1252", QStringConverter::Flag::Stateless);
    if (windows1252.isValid())
        return windows1252.decode(view);
    return decodeWindows1252(view);
}

QList<QStringView> TextLineViews(QStringView text)
{
    // Room for every line at once (a line ends at each CR and each LF at most), on huge pages
    // for a large file, as the text itself.
    QList<QStringView> lines;
    lines.reserve(text.count(u'\n') + text.count(u'\r') + 1);
    LargeArray::adviseHugePages(lines.data(), size_t(lines.capacity()) * sizeof(QStringView));
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.sliced(start));
    return lines;
}

QStringList SplitTextLines(const QString &text)
{
    const QList<QStringView> views = TextLineViews(text);
    QStringList lines;
    lines.reserve(views.size());
    for (const QStringView line : views)
        lines.append(line.toString());
    return lines;
}

TextFileContent ReadTextFile(const QString &fileName)
{
    DecodedTextFile decoded = ReadDecodedTextFile(fileName);
    TextFileContent content;
    content.exists = decoded.exists;
    content.ok = decoded.ok;
    content.error = std::move(decoded.error);
    if (decoded.ok)
        content.lines = SplitTextLines(decoded.text);
    return content;
}

DecodedTextFile ReadDecodedTextFile(const QString &fileName)
{
    DecodedTextFile content;
    const QFileInfo info(fileName);
    content.exists = info.exists();
    if (!content.exists) {
        content.error = QStringLiteral("The file \"%1\" does not exist.").arg(fileName);
        return content;
    }
    // Only regular files: a folder, a pipe or a device would fail, block or never end.
    if (!info.isFile()) {
        content.error = readError(fileName, QStringLiteral("it is not a regular file."));
        return content;
    }
    if (info.size() > MaxTextFileSize) {
        content.error = readError(fileName, QStringLiteral("it is too large."));
        return content;
    }

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = readError(fileName, file.errorString());
        return content;
    }
    // Read into memory on huge pages where the file is large (see decodeWith); a file that
    // grew since its size was taken is read to its end all the same.
    QByteArray bytes(info.size(), Qt::Uninitialized);
    LargeArray::adviseHugePages(bytes.data(), size_t(bytes.size()));
    const qint64 got = file.read(bytes.data(), bytes.size());
    bytes.truncate(qMax<qint64>(got, 0));
    if (got >= 0 && file.error() == QFileDevice::NoError)
        bytes.append(file.readAll());
    if (got < 0 || file.error() != QFileDevice::NoError) {
        content.error = readError(fileName, file.errorString());
        return content;
    }
    if (bytes.size() > MaxTextFileSize) {
        content.error = readError(fileName, QStringLiteral("it is too large."));
        return content;
    }

    content.text = DecodeText(bytes);
    content.ok = true;
    return content;
}
