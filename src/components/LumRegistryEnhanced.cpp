#include "components/LumRegistryEnhanced.h"

#include "components/LumBreakApart.h"
#include "components/TextHelpers.h"
#include "platform/RegistryFile.h"
#include "platform/RegistryText.h"
#include "platform/ReplacingFile.h"

#include <QDateTime>
#include <QFile>
#include <QStringDecoder>
#include <QTimeZone>
#include <QtEndian>

#include <cmath>
#include <limits>
#include <optional>

namespace
{

const QString Backslash = QStringLiteral("\\");
const QString PlacementSeparator = QStringLiteral(", ");
const QString CountName = QStringLiteral("Count");
const QString ItemPrefix = QStringLiteral("Item");

QString itemName(qsizetype i)
{
    return ItemPrefix + QString::number(i);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Restores BinaryType when a typed operation ends, also by an error.
class BinaryTypeScope
{
public:
    BinaryTypeScope(TLumRegistryEnhanced &store, TBinaryType type) : m_store(store)
    {
        m_store.setBinaryType(type);
    }
    ~BinaryTypeScope() { m_store.setBinaryType(btNone); }
    BinaryTypeScope(const BinaryTypeScope &) = delete;
    BinaryTypeScope &operator=(const BinaryTypeScope &) = delete;

private:
    TLumRegistryEnhanced &m_store;
};

QByteArray doubleBytes(double d)
{
    QByteArray bytes(sizeof(double), '\0');
    qToLittleEndian(d, bytes.data());
    return bytes;
}

// A date-time as a count of days since 1899-12-30, the time of day as the fraction.
double dayNumber(const QDateTime &dateTime)
{
    const QDateTime base(QDate(1899, 12, 30), QTime(0, 0), dateTime.timeZone());
    return double(base.msecsTo(dateTime)) / 86400000.0;
}

bool isIntegral(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Char:
        return true;
    default:
        return false;
    }
}

// The 32-bit value of an integer that fits; empty for one that does not.
std::optional<qint32> fittingInteger(const QVariant &v)
{
    if (v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::ULong) {
        const qulonglong u = v.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint32>::max()))
            return std::nullopt;
        return qint32(u);
    }
    const qlonglong n = v.toLongLong();
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(n);
}

// The text of a string or integer value; empty for other kinds.
QString valueText(const RegistryValue &v)
{
    switch (v.kind) {
    case TRegistryDataType::rdString:
    case TRegistryDataType::rdExpandString:
        return v.text;
    case TRegistryDataType::rdInteger:
        return QString::number(v.integer);
    default:
        return {};
    }
}

// A check-list boolean: an integer (non-zero is true) or, written by hand, the text of one.
std::optional<bool> readBoolean(const RegistryValue &v)
{
    if (v.kind == TRegistryDataType::rdInteger)
        return v.integer != 0;
    if (v.kind == TRegistryDataType::rdString) {
        bool ok = false;
        const int n = v.text.trimmed().toInt(&ok);
        if (ok)
            return n != 0;
    }
    return std::nullopt;
}

QString decodeText(const QByteArray &bytes)
{
    const std::optional<QStringConverter::Encoding> bom = QStringConverter::encodingForData(bytes);
    if (bom) {
        QStringDecoder decoder(*bom, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool writeFile(const QString &fileName, const QByteArray &content)
{
    return ReplacingFile(fileName).replaceWith(content);
}

} // namespace

TLumRegistryEnhanced::TLumRegistryEnhanced(QObject *parent)
    : QObject(parent), m_breakApart(new TLumBreakApart(this))
{
    setLangType(ltEnglish);
}

TLumRegistryEnhanced::~TLumRegistryEnhanced() = default;

TLumRegistryEnhanced *TLumRegistryEnhanced::makeProgramStore(QObject *parent)
{
    auto *store = new TLumRegistryEnhanced(parent);
    store->setObjectName(QStringLiteral("LumRegistryEnhanced1"));
    store->setKey(programKey());
    return store;
}

void TLumRegistryEnhanced::setLangType(TLangType value)
{
    m_langType = value;
    if (value == ltFrench) {
        m_msgTooManyEntries = QStringLiteral("Trop d'entrées.");
        m_msgUnknownDataType = QStringLiteral("Type de donnée inconnu.");
        m_msgCantOpenFile = QStringLiteral("Impossible d'ouvrir le fichier.");
    } else {
        m_msgTooManyEntries = QStringLiteral("Too many entries.");
        m_msgUnknownDataType = QStringLiteral("Unknown data type.");
        m_msgCantOpenFile = QStringLiteral("Can't open file.");
    }
}

QString TLumRegistryEnhanced::FileName() const
{
    return m_fileName.isEmpty() ? RegistryFile::defaultPath() : m_fileName;
}

// ---- paths ----

QString TLumRegistryEnhanced::NormalizeKeyPath(const QString &path)
{
    if (path.isEmpty() || path == Backslash)
        return {};
    QString result = path;
    if (result.endsWith(u'\\'))
        result.chop(1);
    if (!result.startsWith(u'\\'))
        result.prepend(u'\\');
    return result;
}

QString TLumRegistryEnhanced::rootName() const
{
    switch (m_rootKey) {
    case hkClassesRoot:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case hkCurrentConfig:
        return QStringLiteral("HKEY_CURRENT_CONFIG");
    case hkDynData:
        return QStringLiteral("HKEY_DYN_DATA");
    case hkLocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case hkPerformanceData:
        return QStringLiteral("HKEY_PERFORMANCE_DATA");
    case hkUsers:
        return QStringLiteral("HKEY_USERS");
    case hkCurrentUser:
        break;
    }
    return QStringLiteral("HKEY_CURRENT_USER");
}

QString TLumRegistryEnhanced::fullKeyPath(const QString &ASubKey) const
{
    return rootName() + NormalizeKeyPath(m_key) + NormalizeKeyPath(ASubKey);
}

bool TLumRegistryEnhanced::splitValuePath(const QString &AValue, ValuePath &path) const
{
    m_breakApart->setAllowEmptyString(false);
    m_breakApart->setBreakString(Backslash);
    m_breakApart->setBaseString(AValue);
    m_breakApart->BreakApart();
    QStringList pieces = m_breakApart->StringList();
    if (pieces.isEmpty())
        return false;
    path.name = pieces.takeLast();
    QString subKey;
    if (!pieces.isEmpty()) {
        m_breakApart->setStringList(pieces);
        m_breakApart->ReverseBreakApart();
        subKey = Backslash + m_breakApart->BaseString();
    }
    path.keyPath = fullKeyPath(subKey);
    return true;
}

std::shared_ptr<const RegistryTree> TLumRegistryEnhanced::readTree() const
{
    return RegistryFile(FileName()).read();
}

bool TLumRegistryEnhanced::modifyTree(const std::function<bool(RegistryTree &)> &change) const
{
    return RegistryFile(FileName()).modify(change);
}

void TLumRegistryEnhanced::raise(const QString &message) const
{
    if (m_raiseExceptions)
        throw ERegistryEnhanced(message);
}

// ---- values ----

QVariant TLumRegistryEnhanced::readValue(const RegistryKey &key, const QString &name,
                                         const QVariant &fallback, bool *found) const
{
    const RegistryValue *v = key.value(name);
    if (found)
        *found = v != nullptr;
    if (!v)
        return fallback;
    switch (v->kind) {
    case TRegistryDataType::rdString:
    case TRegistryDataType::rdExpandString:
        if (m_binaryType == btEncryptString)
            return unscramble(v->text);
        return v->text;
    case TRegistryDataType::rdInteger:
        return v->integer;
    case TRegistryDataType::rdBinary:
        if (m_binaryType == btNone && v->bytes.size() == qsizetype(sizeof(double)))
            return qFromLittleEndian<double>(v->bytes.constData());
        return v->bytes;
    case TRegistryDataType::rdUnknown:
        break;
    }
    raise(m_msgUnknownDataType);
    return fallback;
}

bool TLumRegistryEnhanced::writeValue(RegistryKey &key, const QString &name, const QVariant &data)
{
    const bool isText = data.typeId() == QMetaType::QString;
    switch (m_binaryType) {
    case btExpandString:
        if (isText) {
            key.writeExpandString(name, data.toString());
            return true;
        }
        break;
    case btEncryptString:
        if (isText) {
            key.writeString(name, scramble(data.toString()));
            return true;
        }
        break;
    case btBinary32BitMax:
    case btBinary32BitMin:
        if (data.typeId() == QMetaType::QByteArray) {
            key.writeBinary(name, data.toByteArray());
            return true;
        }
        if (isText) {
            key.writeBinary(name, data.toString().toUtf8());
            return true;
        }
        if (data.typeId() == QMetaType::Bool || isIntegral(data)) {
            if (const std::optional<qint32> n = fittingInteger(data)) {
                QByteArray bytes(sizeof(qint32), '\0');
                qToLittleEndian(*n, bytes.data());
                key.writeBinary(name, bytes);
                return true;
            }
        }
        break;
    case btNone:
        break;
    }

    if (data.typeId() == QMetaType::Bool) {
        key.writeBoolean(name, data.toBool());
        return true;
    }
    if (isIntegral(data)) {
        // A number beyond 32 bits is not cut down to fit: it is refused like any other kind.
        if (const std::optional<qint32> n = fittingInteger(data)) {
            key.writeInteger(name, *n);
            return true;
        }
    } else if (isText) {
        key.writeString(name, data.toString());
        return true;
    } else if (data.typeId() == QMetaType::Double || data.typeId() == QMetaType::Float) {
        key.writeBinary(name, doubleBytes(data.toDouble()));
        return true;
    } else if (data.typeId() == QMetaType::QDateTime || data.typeId() == QMetaType::QDate) {
        key.writeBinary(name, doubleBytes(dayNumber(data.toDateTime())));
        return true;
    }
    raise(m_msgUnknownDataType);
    return false;
}

QVariant TLumRegistryEnhanced::GetValueDefault(const QString &AValue,
                                               const QVariant &AValueDataDefault) const
{
    ValuePath path;
    if (NormalizeKeyPath(m_key).isEmpty())
        return {};
    if (!splitValuePath(AValue, path) || !canRead())
        return AValueDataDefault;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(path.keyPath);
    if (!key)
        return AValueDataDefault;
    return readValue(*key, path.name, AValueDataDefault, nullptr);
}

void TLumRegistryEnhanced::SetValue(const QString &AValue, const QVariant &AValueData)
{
    ValuePath path;
    if (NormalizeKeyPath(m_key).isEmpty() || !splitValuePath(AValue, path) || !canWrite())
        return;
    modifyTree([&](RegistryTree &tree) {
        RegistryKey *key = tree.createKey(path.keyPath);
        return key && writeValue(*key, path.name, AValueData);
    });
}

QVariant TLumRegistryEnhanced::GetValue(const QString &AValue) const
{
    return GetValueDefault(AValue, QVariant());
}

bool TLumRegistryEnhanced::ValueExists(const QString &AValue) const
{
    ValuePath path;
    if (NormalizeKeyPath(m_key).isEmpty() || !splitValuePath(AValue, path) || !canRead())
        return false;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(path.keyPath);
    return key && key->hasValue(path.name);
}

void TLumRegistryEnhanced::SetTypedValue(const QString &AValue, const QVariant &AValueData,
                                         TBinaryType ABinaryType)
{
    BinaryTypeScope scope(*this, ABinaryType);
    SetValue(AValue, AValueData);
}

QVariant TLumRegistryEnhanced::GetTypedValue(const QString &AValue, TBinaryType ABinaryType)
{
    BinaryTypeScope scope(*this, ABinaryType);
    return GetValue(AValue);
}

QVariant TLumRegistryEnhanced::GetTypedValueDefault(const QString &AValue,
                                                    const QVariant &AValueDataDefault,
                                                    TBinaryType ABinaryType)
{
    BinaryTypeScope scope(*this, ABinaryType);
    return GetValueDefault(AValue, AValueDataDefault);
}

bool TLumRegistryEnhanced::DeleteValue(const QString &AValue)
{
    ValuePath path;
    if (NormalizeKeyPath(m_key).isEmpty() || !splitValuePath(AValue, path) || !canWrite())
        return false;
    return modifyTree([&](RegistryTree &tree) {
        RegistryKey *key = tree.findKey(path.keyPath);
        return key && key->deleteValue(path.name);
    });
}

bool TLumRegistryEnhanced::CopyValue(const QString &OldValue, const QString &NewValue)
{
    return transferValue(OldValue, NewValue, false);
}

bool TLumRegistryEnhanced::RenameValue(const QString &OldValue, const QString &NewValue)
{
    return transferValue(OldValue, NewValue, true);
}

// Copies a string or integer value to another path, removing the source when moving. True when
// the target value exists afterwards.
bool TLumRegistryEnhanced::transferValue(const QString &OldValue, const QString &NewValue,
                                         bool move)
{
    ValuePath from;
    ValuePath to;
    if (NormalizeKeyPath(m_key).isEmpty() || !splitValuePath(OldValue, from) ||
        !splitValuePath(NewValue, to) || !canWrite())
        return false;
    if (move && sameName(from.keyPath, to.keyPath) && sameName(from.name, to.name))
        return ValueExists(NewValue);
    bool exists = false;
    modifyTree([&](RegistryTree &tree) {
        const RegistryKey *source = tree.findKey(from.keyPath);
        const RegistryValue *value = source ? source->value(from.name) : nullptr;
        const bool transferable = value && (value->kind == TRegistryDataType::rdString ||
                                            value->kind == TRegistryDataType::rdExpandString ||
                                            value->kind == TRegistryDataType::rdInteger);
        if (!transferable) {
            const RegistryKey *target = tree.findKey(to.keyPath);
            exists = target && target->hasValue(to.name);
            return false;
        }
        RegistryValue copy = *value; // the target key may move the source in memory
        copy.name = to.name;
        RegistryKey *target = tree.createKey(to.keyPath);
        if (!target)
            return false;
        target->setValue(copy);
        if (move)
            tree.findKey(from.keyPath)->deleteValue(from.name);
        exists = true;
        return true;
    });
    return exists;
}

// ---- keys ----

bool TLumRegistryEnhanced::KeyExists(const QString &ASubKey) const
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return false;
    return readTree()->keyExists(fullKeyPath(ASubKey));
}

bool TLumRegistryEnhanced::DeleteKey(const QString &AKey)
{
    // An empty subkey would name Key itself; only subkeys below it are removed.
    if (NormalizeKeyPath(m_key).isEmpty() || NormalizeKeyPath(AKey).isEmpty() || !canWrite())
        return false;
    return modifyTree([&](RegistryTree &tree) { return tree.deleteKey(fullKeyPath(AKey)); });
}

namespace
{

bool isInside(const QString &path, const QString &ancestor)
{
    return sameName(path, ancestor) ||
           path.startsWith(ancestor + QStringLiteral("\\"), Qt::CaseInsensitive);
}

// Copies the key at fromPath to toPath; false when the source is missing or the target exists.
bool copyKeyIn(RegistryTree &tree, const QString &fromPath, const QString &toPath)
{
    const RegistryKey *source = tree.findKey(fromPath);
    if (!source || tree.keyExists(toPath))
        return false;
    // A copy into its own subkey makes the tree deeper at each call; it stops at the limit.
    if (RegistryTree::pathDepth(toPath) + source->levels() - 1 > RegistryTree::kMaximumKeyDepth)
        return false;
    RegistryKey copy = *source; // taken first: creating the target may move the source
    RegistryKey *target = tree.createKey(toPath);
    if (!target)
        return false;
    const QString name = target->name();
    *target = std::move(copy);
    target->setName(name);
    return true;
}

} // namespace

bool TLumRegistryEnhanced::CopyKey(const QString &OldKey, const QString &NewKey)
{
    if (NormalizeKeyPath(m_key).isEmpty() || NormalizeKeyPath(OldKey).isEmpty() ||
        NormalizeKeyPath(NewKey).isEmpty() || !canWrite())
        return false;
    const QString from = fullKeyPath(OldKey);
    const QString to = fullKeyPath(NewKey);
    return modifyTree([&](RegistryTree &tree) { return copyKeyIn(tree, from, to); });
}

bool TLumRegistryEnhanced::RenameKey(const QString &OldKey, const QString &NewKey)
{
    if (NormalizeKeyPath(m_key).isEmpty() || NormalizeKeyPath(OldKey).isEmpty() ||
        NormalizeKeyPath(NewKey).isEmpty() || !canWrite())
        return false;
    const QString from = RegistryTree::splitPath(fullKeyPath(OldKey)).join(u'\\');
    const QString to = RegistryTree::splitPath(fullKeyPath(NewKey)).join(u'\\');
    // Moving a key into itself would delete the copy with the original.
    if (isInside(to, from))
        return false;
    return modifyTree([&](RegistryTree &tree) {
        if (!copyKeyIn(tree, from, to))
            return false;
        tree.deleteKey(from);
        return true;
    });
}

bool TLumRegistryEnhanced::readNames(const QString &ASubKey, QStringList &AList,
                                     QStringList (RegistryKey::*names)() const) const
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return false;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(fullKeyPath(ASubKey));
    if (!key)
        return false;
    AList = (key->*names)();
    return true;
}

bool TLumRegistryEnhanced::GetValueNames(const QString &ASubKey, QStringList &AList) const
{
    return readNames(ASubKey, AList, &RegistryKey::valueNames);
}

int TLumRegistryEnhanced::CountValueNames(const QString &ASubKey) const
{
    QStringList names;
    return GetValueNames(ASubKey, names) ? int(names.size()) : 0;
}

bool TLumRegistryEnhanced::GetSubKeys(const QString &ASubKey, QStringList &AList) const
{
    return readNames(ASubKey, AList, &RegistryKey::subKeyNames);
}

int TLumRegistryEnhanced::CountSubKeys(const QString &ASubKey) const
{
    QStringList names;
    return GetSubKeys(ASubKey, names) ? int(names.size()) : 0;
}

namespace
{

void searchKey(const RegistryKey &key, const QString &path, const QString &text, bool recursive,
               TSearchOption option, QStringList &found)
{
    const bool byName = option == opValue || option == opValueData;
    const bool byData = option == opData || option == opValueData;
    if (byName || byData) {
        for (const RegistryValue &v : key.values()) {
            if ((byName && v.name.contains(text, Qt::CaseInsensitive)) ||
                (byData && valueText(v).contains(text, Qt::CaseInsensitive)))
                found.append(path + u'\\' + v.name);
        }
    }
    for (const RegistryKey *sub : key.sortedSubKeys()) {
        if (option == opKey && sub->name().contains(text, Qt::CaseInsensitive))
            found.append(path + u'\\' + sub->name());
        if (recursive)
            searchKey(*sub, path + u'\\' + sub->name(), text, recursive, option, found);
    }
}

} // namespace

void TLumRegistryEnhanced::Search(const QString &ASubKey, const QString &AString, bool Recursive,
                                  TSearchOption ASearchOption)
{
    m_entriesFound.clear();
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(fullKeyPath(ASubKey));
    if (key)
        searchKey(*key, NormalizeKeyPath(ASubKey), AString, Recursive, ASearchOption,
                  m_entriesFound);
}

// ---- files ----

bool TLumRegistryEnhanced::SaveKeyContentToFile(const QString &ASubKey, const QString &AFilename,
                                                const QString &ABreakString)
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return false;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(fullKeyPath(ASubKey));
    if (!key)
        return false;
    QString text;
    for (const RegistryValue &v : key->values()) {
        // Only texts and numbers have a line form; binary data is left out.
        if (v.kind == TRegistryDataType::rdBinary || v.kind == TRegistryDataType::rdUnknown)
            continue;
        text += v.name + ABreakString + valueText(v) + QStringLiteral("\r\n");
    }
    if (!writeFile(AFilename, text.toUtf8())) {
        raise(m_msgCantOpenFile);
        return false;
    }
    return true;
}

bool TLumRegistryEnhanced::LoadKeyContentFromFile(const QString &ASubKey, const QString &AFilename,
                                                  const QString &ABreakString)
{
    if (NormalizeKeyPath(m_key).isEmpty() || ABreakString.isEmpty() || !canWrite())
        return false;
    QFile file(AFilename);
    if (!file.open(QIODevice::ReadOnly)) {
        raise(m_msgCantOpenFile);
        return false;
    }
    QString text = decodeText(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    return modifyTree([&](RegistryTree &tree) {
        RegistryKey *key = tree.createKey(fullKeyPath(ASubKey));
        if (!key)
            return false;
        for (const QString &line : lines) {
            const qsizetype at = line.indexOf(ABreakString);
            if (at < 0)
                continue;
            const QString name = line.left(at);
            const QString data = line.mid(at + ABreakString.size());
            // A number read back over an integer value keeps the integer kind.
            bool isNumber = false;
            const int n = data.toInt(&isNumber);
            if (isNumber && key->valueKind(name) == TRegistryDataType::rdInteger)
                key->writeInteger(name, n);
            else
                key->writeString(name, data);
        }
        return true;
    });
}

bool TLumRegistryEnhanced::ExportKeyToRegFile(const QString &ASubKey, const QString &AFileName)
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return false;
    const auto tree = readTree();
    const QString path = fullKeyPath(ASubKey);
    const RegistryKey *key = tree->findKey(path);
    if (!key)
        return false;
    const QString absolute = RegistryTree::splitPath(path).join(u'\\');
    return writeFile(AFileName, WriteRegistryKeyText(*key, absolute, QStringLiteral("\r\n")));
}

// ---- window placement ----

QString TLumRegistryEnhanced::FormatPlacement(const TFormPlacement &placement)
{
    TLumBreakApart joiner;
    joiner.setAllowEmptyString(true);
    joiner.setBreakString(PlacementSeparator);
    joiner.setStringList({QString::number(placement.height), QString::number(placement.left),
                          QString::number(placement.top), QString::number(placement.width),
                          placement.state});
    joiner.ReverseBreakApart();
    return joiner.BaseString();
}

bool TLumRegistryEnhanced::ParsePlacement(const QString &text, TFormPlacement &placement)
{
    TLumBreakApart splitter;
    splitter.setAllowEmptyString(true);
    splitter.setBreakString(PlacementSeparator);
    splitter.setBaseString(text);
    splitter.BreakApart();
    const QStringList &pieces = splitter.StringList();
    if (pieces.size() != 5)
        return false;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = pieces.at(i).toInt(&ok, 10);
        // A piece that is not a number spoils the whole placement, not just the fields after it.
        if (!ok)
            return false;
    }
    placement = {numbers[0], numbers[1], numbers[2], numbers[3], pieces.at(4)};
    return true;
}

QPoint TLumRegistryEnhanced::CenteredPosition(const QSize &screen, const QSize &window)
{
    // Integer division truncates toward zero, also for a window larger than the screen.
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

QString TLumRegistryEnhanced::PositionWarningText(const QString &className)
{
    return QStringLiteral("This warning indicates that position of ") + className +
           QStringLiteral(" will not be restored as ") + className +
           QStringLiteral(".Position <> poDesigned.");
}

void TLumRegistryEnhanced::SetFormInfo(const QString &AValue, const TFormPlacement &placement)
{
    SetValue(AValue, FormatPlacement(placement));
}

TLumRegistryEnhanced::TFormInfoResult
TLumRegistryEnhanced::GetFormInfo(const QString &AValue, TFormPlacement &placement) const
{
    ValuePath path;
    if (NormalizeKeyPath(m_key).isEmpty() || !splitValuePath(AValue, path))
        return fiIgnored;
    if (!canRead())
        return fiMissing;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(path.keyPath);
    const RegistryValue *value = key ? key->value(path.name) : nullptr;
    if (!value)
        return fiMissing;
    // Only text can be a placement; a value of another kind is ignored like a bad string.
    if (value->kind != TRegistryDataType::rdString)
        return fiIgnored;
    if (value->text.isEmpty())
        return fiMissing;
    return ParsePlacement(value->text, placement) ? fiFound : fiIgnored;
}

bool TLumRegistryEnhanced::ImportFormInfo(const QString &ASubKey, const QString &AValue,
                                          bool DeleteSubKey)
{
    ValuePath path;
    if (NormalizeKeyPath(m_key).isEmpty() || NormalizeKeyPath(ASubKey).isEmpty() ||
        !splitValuePath(AValue, path) || !canWrite())
        return false;
    const QString oldPath = fullKeyPath(ASubKey);
    return modifyTree([&](RegistryTree &tree) {
        const RegistryKey *old = tree.findKey(oldPath);
        if (!old)
            return false;
        // The older form: the integers Height, Left, Top and Width and the window state, as
        // a number (0 normal, 1 minimised, 2 maximised) or as its name.
        const std::optional<qint32> height = old->readInteger(QStringLiteral("Height"));
        const std::optional<qint32> left = old->readInteger(QStringLiteral("Left"));
        const std::optional<qint32> top = old->readInteger(QStringLiteral("Top"));
        const std::optional<qint32> width = old->readInteger(QStringLiteral("Width"));
        if (!height || !left || !top || !width)
            return false;
        TFormPlacement placement{*height, *left, *top, *width, QStringLiteral("wsNormal")};
        if (const std::optional<qint32> state = old->readInteger(QStringLiteral("State"))) {
            if (*state == 1)
                placement.state.clear();
            else if (*state == 2)
                placement.state = QStringLiteral("wsMaximized");
        } else if (old->valueKind(QStringLiteral("State")) == TRegistryDataType::rdString) {
            const QString name = old->readString(QStringLiteral("State"));
            placement.state = name == QStringLiteral("wsMinimized") ? QString() : name;
        }
        if (DeleteSubKey)
            tree.deleteKey(oldPath);
        RegistryKey *key = tree.createKey(path.keyPath);
        if (!key)
            return false;
        key->writeString(path.name, FormatPlacement(placement));
        return true;
    });
}

// ---- menu lists, drop-down lists and check lists ----

namespace
{

// The captions of a "Count"/"ItemN" list. A missing or unreadable Count falls back to the items
// that are there, so no readable caption is lost; Count is never taken beyond the number of
// values of the key (a huge Count written by hand must not build millions of empty items).
QStringList readItemList(const RegistryKey &key)
{
    QStringList captions;
    const std::optional<qint32> count = key.readInteger(CountName);
    if (!count) {
        for (qsizetype i = 0; key.hasValue(itemName(i)); ++i)
            captions.append(valueText(*key.value(itemName(i))));
        return captions;
    }
    const qsizetype n = qBound(qsizetype(0), qsizetype(*count), key.values().size());
    captions.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const RegistryValue *v = key.value(itemName(i));
        captions.append(v ? valueText(*v) : QString());
    }
    return captions;
}

void writeItemList(RegistryKey &key, const QStringList &captions)
{
    key.writeInteger(CountName, qint32(captions.size()));
    for (qsizetype i = 0; i < captions.size(); ++i)
        key.writeString(itemName(i), captions.at(i));
}

} // namespace

void TLumRegistryEnhanced::SetMenu(const QString &ASubKey, const QStringList &captions)
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canWrite())
        return;
    const QString path = fullKeyPath(ASubKey);
    modifyTree([&](RegistryTree &tree) {
        tree.deleteKey(path); // no item of an older, longer list survives
        RegistryKey *key = tree.createKey(path);
        if (!key)
            return false;
        writeItemList(*key, captions);
        return true;
    });
}

bool TLumRegistryEnhanced::GetMenu(const QString &ASubKey, QStringList &captions) const
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return false;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(fullKeyPath(ASubKey));
    if (!key)
        return false;
    if (!key->readInteger(CountName))
        raise(m_msgUnknownDataType);
    captions = readItemList(*key);
    return true;
}

void TLumRegistryEnhanced::SetComboBox(const QString &ASubKey, const QStringList &items,
                                       const QString &text, bool ShowText)
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canWrite())
        return;
    const QString path = fullKeyPath(ASubKey);
    modifyTree([&](RegistryTree &tree) {
        tree.deleteKey(path);
        RegistryKey *key = tree.createKey(path);
        if (!key)
            return false;
        writeItemList(*key, items);
        if (ShowText)
            key->writeString(QStringLiteral("Text"), text);
        return true;
    });
}

bool TLumRegistryEnhanced::GetComboBox(const QString &ASubKey, QStringList &items, QString &text,
                                       bool ShowText) const
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return false;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(fullKeyPath(ASubKey));
    if (!key)
        return false;
    items = readItemList(*key);
    if (ShowText)
        text = key->readString(QStringLiteral("Text"));
    return true;
}

void TLumRegistryEnhanced::SetCheckListBox(const QString &ASubKey,
                                           const QList<TCheckListItem> &items)
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canWrite())
        return;
    const QString path = fullKeyPath(ASubKey);
    modifyTree([&](RegistryTree &tree) {
        tree.deleteKey(path);
        RegistryKey *key = tree.createKey(path);
        if (!key)
            return false;
        for (const TCheckListItem &item : items)
            key->writeBoolean(item.text, item.checked);
        return true;
    });
}

bool TLumRegistryEnhanced::GetCheckListBox(const QString &ASubKey, QList<TCheckListItem> &items,
                                           bool CheckAllFirstTime) const
{
    if (NormalizeKeyPath(m_key).isEmpty() || !canRead())
        return false;
    const auto tree = readTree();
    const RegistryKey *key = tree->findKey(fullKeyPath(ASubKey));
    if (!key) {
        if (CheckAllFirstTime) {
            for (TCheckListItem &item : items)
                item.checked = true;
        }
        return false;
    }
    QList<TCheckListItem> stored;
    stored.reserve(key->values().size());
    for (const RegistryValue &v : key->values()) {
        // A value that is not a number still names an item; it comes back unchecked.
        const std::optional<bool> checked = readBoolean(v);
        if (!checked)
            raise(m_msgUnknownDataType);
        stored.append({v.name, checked.value_or(false)});
    }
    items = stored;
    return true;
}

// ---- fonts and report-list columns ----

QString TLumRegistryEnhanced::FormatFont(const TFontInfo &font)
{
    return QuoteText(font.name) + PlacementSeparator + QString::number(font.size) +
           PlacementSeparator + u'[' + font.styles.join(u',') + u']' + PlacementSeparator +
           font.colour;
}

bool TLumRegistryEnhanced::ParseFont(const QString &text, TFontInfo &font)
{
    const QString nameEnd = QStringLiteral("\"") + PlacementSeparator;
    const qsizetype close = text.indexOf(nameEnd, 1);
    if (!text.startsWith(u'"') || close < 0)
        return false;
    TLumBreakApart splitter;
    splitter.setAllowEmptyString(true);
    splitter.setBreakString(PlacementSeparator);
    splitter.setBaseString(text.mid(close + nameEnd.size()));
    splitter.BreakApart();
    const QStringList &pieces = splitter.StringList();
    if (pieces.size() != 3)
        return false;
    bool ok = false;
    const int size = pieces.at(0).toInt(&ok);
    const QString &styles = pieces.at(1);
    if (!ok || !styles.startsWith(u'[') || !styles.endsWith(u']'))
        return false;
    TFontInfo parsed;
    parsed.name = text.mid(1, close - 1);
    parsed.size = size;
    for (const QString &style : styles.mid(1, styles.size() - 2).split(u',', Qt::SkipEmptyParts))
        parsed.styles.append(style.trimmed());
    parsed.colour = pieces.at(2);
    font = parsed;
    return true;
}

void TLumRegistryEnhanced::SetFont(const QString &AValue, const TFontInfo &AFont)
{
    SetValue(AValue, FormatFont(AFont));
}

bool TLumRegistryEnhanced::GetFont(const QString &AValue, TFontInfo &AFont) const
{
    const QVariant stored = GetValueDefault(AValue, QVariant());
    return stored.typeId() == QMetaType::QString && ParseFont(stored.toString(), AFont);
}

void TLumRegistryEnhanced::SetListViewInfo(const QString &AValue, const QList<int> &widths)
{
    QStringList pieces;
    for (int w : widths)
        pieces.append(QString::number(w));
    m_breakApart->setAllowEmptyString(false);
    m_breakApart->setBreakString(PlacementSeparator);
    m_breakApart->setStringList(pieces);
    m_breakApart->ReverseBreakApart();
    SetValue(AValue, m_breakApart->BaseString());
}

bool TLumRegistryEnhanced::GetListViewInfo(const QString &AValue, QList<int> &widths) const
{
    const QVariant stored = GetValueDefault(AValue, QVariant());
    if (stored.typeId() != QMetaType::QString)
        return false;
    m_breakApart->setAllowEmptyString(false);
    m_breakApart->setBreakString(QStringLiteral(","));
    m_breakApart->setBaseString(stored.toString());
    m_breakApart->BreakApart();
    QList<int> parsed;
    for (const QString &piece : m_breakApart->StringList()) {
        bool ok = false;
        parsed.append(piece.trimmed().toInt(&ok));
        if (!ok)
            return false;
    }
    widths = parsed;
    return true;
}

bool TLumRegistryEnhanced::ImportListViewInfo(const QString &ASubKey, const QString &AValue,
                                              bool DeleteSubKey)
{
    if (NormalizeKeyPath(m_key).isEmpty() || NormalizeKeyPath(ASubKey).isEmpty() || !canWrite())
        return false;
    // The older form: one integer per column, "Column0", "Column1", ...
    QList<int> widths;
    {
        const auto tree = readTree();
        const RegistryKey *old = tree->findKey(fullKeyPath(ASubKey));
        if (!old)
            return false;
        for (qsizetype i = 0;; ++i) {
            const std::optional<qint32> w = old->readInteger(QStringLiteral("Column%1").arg(i));
            if (!w)
                break;
            widths.append(*w);
        }
    }
    if (widths.isEmpty())
        return false;
    SetListViewInfo(AValue, widths);
    if (DeleteSubKey)
        DeleteKey(ASubKey);
    return true;
}

// ---- string scrambling ----

void TLumRegistryEnhanced::SetEncryptionParameters(quint16 ABaseKey, quint16 ADecryptKey)
{
    m_encryptBaseKey = ABaseKey;
    m_encryptDecryptKey = ADecryptKey;
}

namespace
{
constexpr quint16 ScrambleIncrement = 22719;
}

// Each byte is mixed with a running key that follows the scrambled bytes; this hides a text
// from a casual look, it is no protection.
QString TLumRegistryEnhanced::scramble(const QString &text) const
{
    const QByteArray plain = text.toUtf8();
    QByteArray out(plain.size(), '\0');
    quint16 key = m_encryptBaseKey;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const quint8 c = quint8(plain.at(i)) ^ quint8(key >> 8);
        out[i] = char(c);
        key = quint16((c + key) * m_encryptDecryptKey + ScrambleIncrement);
    }
    return QString::fromLatin1(out.toHex());
}

QString TLumRegistryEnhanced::unscramble(const QString &hex) const
{
    const QByteArray scrambled = QByteArray::fromHex(hex.toLatin1());
    if (scrambled.toHex() != hex.toLatin1().toLower())
        return hex; // not written scrambled: left as it is
    QByteArray out(scrambled.size(), '\0');
    quint16 key = m_encryptBaseKey;
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        const quint8 c = quint8(scrambled.at(i));
        out[i] = char(c ^ quint8(key >> 8));
        key = quint16((c + key) * m_encryptDecryptKey + ScrambleIncrement);
    }
    return QString::fromUtf8(out);
}
