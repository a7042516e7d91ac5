#include "platform/RegistryText.h"

#include <QStringDecoder>
#include <QtEndian>

#include <optional>

namespace
{

const QString Header = QStringLiteral("REGEDIT4");

QString escapeQuoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

QString hexList(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += u',';
        out += QStringLiteral("%1").arg(quint8(bytes.at(i)), 2, 16, QChar(u'0'));
    }
    return out;
}

QByteArray withTerminator(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.append('\0');
    return bytes;
}

QString valueLine(const RegistryValue &v)
{
    QString line = v.name.isEmpty() ? QStringLiteral("@") : escapeQuoted(v.name);
    line += u'=';
    switch (v.kind) {
    case TRegistryDataType::rdString:
        line += escapeQuoted(v.text);
        break;
    case TRegistryDataType::rdExpandString:
        line += QStringLiteral("hex(2):") + hexList(withTerminator(v.text));
        break;
    case TRegistryDataType::rdInteger:
        line += QStringLiteral("dword:%1").arg(quint32(v.integer), 8, 16, QChar(u'0'));
        break;
    case TRegistryDataType::rdBinary:
        line += QStringLiteral("hex:") + hexList(v.bytes);
        break;
    case TRegistryDataType::rdUnknown:
        line += QStringLiteral("hex(%1):").arg(v.rawType, 0, 16) + hexList(v.bytes);
        break;
    }
    return line;
}

void writeKey(QString &out, const RegistryKey &key, const QString &path, const QString &lineEnd)
{
    out += u'[' + path + u']' + lineEnd;
    for (const RegistryValue &v : key.values())
        out += valueLine(v) + lineEnd;
    out += lineEnd;
    for (const RegistryKey *sub : key.sortedSubKeys())
        writeKey(out, *sub, path + u'\\' + sub->name(), lineEnd);
}

// Reads a quoted text starting at pos (which holds the opening quote); pos ends after the
// closing quote. Empty when the closing quote is missing or an escape is cut short.
std::optional<QString> readQuoted(const QString &line, qsizetype &pos)
{
    QString out;
    qsizetype i = pos + 1;
    while (i < line.size()) {
        const QChar c = line.at(i);
        if (c == u'"') {
            pos = i + 1;
            return out;
        }
        if (c != u'\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= line.size())
            return std::nullopt;
        const QChar e = line.at(i + 1);
        i += 2;
        switch (e.unicode()) {
        case '\\':
        case '"':
            out += e;
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case 'x': {
            bool ok = false;
            const uint code = line.mid(i, 2).toUInt(&ok, 16);
            if (!ok || line.mid(i, 2).size() != 2)
                return std::nullopt;
            out += QChar(char16_t(code));
            i += 2;
            break;
        }
        default:
            // A lone backslash written by hand ("C:\data") stays as it is.
            out += u'\\';
            out += e;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> readHexList(const QString &text)
{
    QByteArray bytes;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return bytes;
    const QStringList items = trimmed.split(u',');
    bytes.reserve(items.size());
    for (const QString &item : items) {
        const QString t = item.trimmed();
        bool ok = false;
        const uint b = t.toUInt(&ok, 16);
        if (!ok || t.size() > 2 || b > 0xff)
            return std::nullopt;
        bytes.append(char(b));
    }
    return bytes;
}

QString textFromTerminated(QByteArray bytes)
{
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

// Reads the data part of a value line (after "=") into v; false when it is not understood.
bool readData(const QString &data, RegistryValue &v)
{
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        const std::optional<QString> text = readQuoted(data, pos);
        if (!text || !data.mid(pos).trimmed().isEmpty())
            return false;
        v.kind = TRegistryDataType::rdString;
        v.text = *text;
        return true;
    }
    if (data.startsWith(QStringLiteral("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        bool ok = false;
        const uint n = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8)
            return false;
        v.kind = TRegistryDataType::rdInteger;
        v.integer = qint32(n);
        return true;
    }
    if (!data.startsWith(QStringLiteral("hex"), Qt::CaseInsensitive))
        return false;
    const qsizetype colon = data.indexOf(u':');
    if (colon < 0)
        return false;
    int type = 3; // plain "hex:" is binary data
    const QString kind = data.left(colon).trimmed();
    if (kind.compare(QStringLiteral("hex"), Qt::CaseInsensitive) != 0) {
        if (!kind.endsWith(u')') || kind.size() < 6 || kind.at(3) != u'(')
            return false;
        bool ok = false;
        type = kind.mid(4, kind.size() - 5).toInt(&ok, 16);
        if (!ok || type < 0)
            return false;
    }
    const std::optional<QByteArray> bytes = readHexList(data.mid(colon + 1));
    if (!bytes)
        return false;
    switch (type) {
    case 1:
        v.kind = TRegistryDataType::rdString;
        v.text = textFromTerminated(*bytes);
        return true;
    case 2:
        v.kind = TRegistryDataType::rdExpandString;
        v.text = textFromTerminated(*bytes);
        return true;
    case 3:
        v.kind = TRegistryDataType::rdBinary;
        v.bytes = *bytes;
        return true;
    case 4:
        if (bytes->size() == 4) {
            v.kind = TRegistryDataType::rdInteger;
            v.integer = qFromLittleEndian<qint32>(bytes->constData());
            return true;
        }
        break;
    default:
        break;
    }
    v.kind = TRegistryDataType::rdUnknown;
    v.rawType = type;
    v.bytes = *bytes;
    return true;
}

// Reads a value line into v; false when it is not understood.
bool readValueLine(const QString &line, RegistryValue &v)
{
    qsizetype pos = 0;
    if (line.startsWith(u'@')) {
        pos = 1;
    } else if (line.startsWith(u'"')) {
        const std::optional<QString> name = readQuoted(line, pos);
        if (!name)
            return false;
        v.name = *name;
    } else {
        return false;
    }
    const QString rest = line.mid(pos).trimmed();
    if (!rest.startsWith(u'='))
        return false;
    return readData(rest.mid(1).trimmed(), v);
}

} // namespace

RegistryParseResult ParseRegistryText(const QByteArray &content)
{
    RegistryParseResult result;
    if (content.trimmed().isEmpty())
        return result;
    if (content.contains('\0')) {
        result.status = RegistryParseResult::psUnreadable;
        result.problems.append(QStringLiteral("binary data"));
        return result;
    }

    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(content);
    if (utf8.hasError()) {
        // Saved by hand in an 8-bit code page: keep what can be read, mark the file damaged.
        text = QString::fromLatin1(content);
        result.status = RegistryParseResult::psDamaged;
        result.problems.append(QStringLiteral("not UTF-8 text"));
    }
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);

    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const QStringList lines = text.split(u'\n');

    auto damaged = [&result](qsizetype lineIndex, const QString &what) {
        if (result.status == RegistryParseResult::psClean)
            result.status = RegistryParseResult::psDamaged;
        result.problems.append(QStringLiteral("line %1: %2").arg(lineIndex + 1).arg(what));
    };

    bool headerSeen = false;
    RegistryKey *current = nullptr;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (!headerSeen) {
            if (line != Header) {
                result.tree = RegistryTree();
                result.status = RegistryParseResult::psUnreadable;
                result.problems.append(QStringLiteral("no REGEDIT4 header"));
                return result;
            }
            headerSeen = true;
            continue;
        }
        const qsizetype first = i;
        if (line.startsWith(u'[')) {
            current = nullptr;
            if (!line.endsWith(u']') || line.startsWith(QStringLiteral("[-"))) {
                damaged(first, QStringLiteral("key line not understood"));
                continue;
            }
            const QString path = line.mid(1, line.size() - 2);
            if (RegistryTree::pathDepth(path) > RegistryTree::kMaximumKeyDepth) {
                damaged(first, QStringLiteral("key nested too deeply"));
                continue;
            }
            current = result.tree.createKey(path);
            if (!current)
                damaged(first, QStringLiteral("key name not valid"));
            continue;
        }
        // A hex list may continue over lines that end in a backslash.
        while (line.endsWith(u'\\') && line.contains(QStringLiteral("=hex"), Qt::CaseInsensitive) &&
               i + 1 < lines.size()) {
            line.chop(1);
            line += lines.at(++i).trimmed();
        }
        RegistryValue v;
        if (!readValueLine(line, v)) {
            damaged(first, QStringLiteral("value line not understood"));
            continue;
        }
        if (!current) {
            damaged(first, QStringLiteral("value outside a key"));
            continue;
        }
        current->setValue(v);
    }
    return result;
}

QByteArray WriteRegistryText(const RegistryTree &tree, const QString &lineEnd)
{
    QString out = Header + lineEnd + lineEnd;
    for (const RegistryKey *key : tree.root().sortedSubKeys())
        writeKey(out, *key, key->name(), lineEnd);
    return out.toUtf8();
}

QByteArray WriteRegistryKeyText(const RegistryKey &key, const QString &path, const QString &lineEnd)
{
    QString out = Header + lineEnd + lineEnd;
    writeKey(out, key, path, lineEnd);
    return out.toUtf8();
}
