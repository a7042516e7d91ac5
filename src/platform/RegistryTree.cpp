#include "platform/RegistryTree.h"

#include "components/LumBreakApart.h"

#include <algorithm>

namespace
{

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

const RegistryValue *RegistryKey::value(const QString &name) const
{
    const qsizetype index = valueIndex(name);
    return index < 0 ? nullptr : &m_values.at(index);
}

TRegistryDataType RegistryKey::valueKind(const QString &name) const
{
    const RegistryValue *found = value(name);
    return found ? found->kind : TRegistryDataType::rdUnknown;
}

QStringList RegistryKey::valueNames() const
{
    QStringList names;
    names.reserve(m_values.size());
    for (const RegistryValue &v : m_values)
        names.append(v.name);
    return names;
}

void RegistryKey::setValue(const RegistryValue &value)
{
    const qsizetype index = valueIndex(value.name);
    if (index < 0) {
        m_values.append(value);
        return;
    }
    // The value keeps its first spelling, like its place.
    RegistryValue replaced = value;
    replaced.name = m_values.at(index).name;
    m_values[index] = replaced;
}

void RegistryKey::writeString(const QString &name, const QString &data)
{
    RegistryValue v;
    v.name = name;
    v.kind = TRegistryDataType::rdString;
    v.text = data;
    setValue(v);
}

void RegistryKey::writeExpandString(const QString &name, const QString &data)
{
    RegistryValue v;
    v.name = name;
    v.kind = TRegistryDataType::rdExpandString;
    v.text = data;
    setValue(v);
}

void RegistryKey::writeInteger(const QString &name, qint32 data)
{
    RegistryValue v;
    v.name = name;
    v.kind = TRegistryDataType::rdInteger;
    v.integer = data;
    setValue(v);
}

void RegistryKey::writeBinary(const QString &name, const QByteArray &data)
{
    RegistryValue v;
    v.name = name;
    v.kind = TRegistryDataType::rdBinary;
    v.bytes = data;
    setValue(v);
}

QString RegistryKey::readString(const QString &name) const
{
    const RegistryValue *found = value(name);
    if (!found)
        return {};
    return found->text;
}

std::optional<qint32> RegistryKey::readInteger(const QString &name) const
{
    const RegistryValue *found = value(name);
    if (!found || found->kind != TRegistryDataType::rdInteger)
        return std::nullopt;
    return found->integer;
}

bool RegistryKey::deleteValue(const QString &name)
{
    const qsizetype index = valueIndex(name);
    if (index < 0)
        return false;
    m_values.removeAt(index);
    return true;
}

const RegistryKey *RegistryKey::subKey(const QString &name) const
{
    for (const RegistryKey &k : m_subKeys) {
        if (sameName(k.name(), name))
            return &k;
    }
    return nullptr;
}

RegistryKey *RegistryKey::subKey(const QString &name)
{
    for (RegistryKey &k : m_subKeys) {
        if (sameName(k.name(), name))
            return &k;
    }
    return nullptr;
}

RegistryKey &RegistryKey::ensureSubKey(const QString &name)
{
    if (RegistryKey *found = subKey(name))
        return *found;
    const auto place = std::lower_bound(m_subKeys.begin(), m_subKeys.end(), name,
                                        [](const RegistryKey &k, const QString &n) {
                                            return k.name().compare(n, Qt::CaseInsensitive) < 0;
                                        });
    return *m_subKeys.insert(place, RegistryKey(name));
}

bool RegistryKey::deleteSubKey(const QString &name)
{
    const auto found =
        std::find_if(m_subKeys.begin(), m_subKeys.end(),
                     [&name](const RegistryKey &k) { return sameName(k.name(), name); });
    if (found == m_subKeys.end())
        return false;
    m_subKeys.erase(found);
    return true;
}

QStringList RegistryKey::subKeyNames() const
{
    QStringList names;
    names.reserve(qsizetype(m_subKeys.size()));
    for (const RegistryKey &k : m_subKeys)
        names.append(k.name());
    return names;
}

qsizetype RegistryKey::valueIndex(const QString &name) const
{
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (sameName(m_values.at(i).name, name))
            return i;
    }
    return -1;
}

bool RegistryTree::isValidKeyName(const QString &name)
{
    if (name.isEmpty())
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c == u'\\' || c.unicode() < 0x20 || c == u'\x7f'; });
}

QStringList RegistryTree::splitPath(const QString &path)
{
    TLumBreakApart splitter;
    splitter.setBreakString(QStringLiteral("\\"));
    splitter.setBaseString(path);
    splitter.BreakApart();
    return splitter.StringList();
}

const RegistryKey *RegistryTree::findKey(const QString &path) const
{
    const QStringList pieces = splitPath(path);
    if (pieces.isEmpty())
        return nullptr;
    const RegistryKey *key = &m_root;
    for (const QString &piece : pieces) {
        key = key->subKey(piece);
        if (!key)
            return nullptr;
    }
    return key;
}

RegistryKey *RegistryTree::findKey(const QString &path)
{
    return const_cast<RegistryKey *>(std::as_const(*this).findKey(path));
}

RegistryKey *RegistryTree::createKey(const QString &path)
{
    const QStringList pieces = splitPath(path);
    if (pieces.isEmpty() || !std::all_of(pieces.begin(), pieces.end(), isValidKeyName))
        return nullptr;
    RegistryKey *key = &m_root;
    for (const QString &piece : pieces)
        key = &key->ensureSubKey(piece);
    return key;
}

bool RegistryTree::deleteKey(const QString &path)
{
    QStringList pieces = splitPath(path);
    if (pieces.isEmpty())
        return false;
    const QString last = pieces.takeLast();
    RegistryKey *parent = pieces.isEmpty() ? &m_root : findKey(pieces.join(u'\\'));
    return parent && parent->deleteSubKey(last);
}
