#include "platform/RegistryTree.h"

#include "components/LumBreakApart.h"

#include <algorithm>

namespace
{

QString folded(const QString &name)
{
    return name.toCaseFolded();
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
        m_valueIndex.insert(folded(value.name), m_values.size());
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
    m_valueIndex.remove(folded(name));
    for (auto it = m_valueIndex.begin(); it != m_valueIndex.end(); ++it) {
        if (it.value() > index)
            --it.value();
    }
    return true;
}

const RegistryKey *RegistryKey::subKey(const QString &name) const
{
    const qsizetype index = subKeyIndex(name);
    return index < 0 ? nullptr : &m_subKeys.at(size_t(index));
}

RegistryKey *RegistryKey::subKey(const QString &name)
{
    const qsizetype index = subKeyIndex(name);
    return index < 0 ? nullptr : &m_subKeys.at(size_t(index));
}

RegistryKey &RegistryKey::ensureSubKey(const QString &name)
{
    if (RegistryKey *found = subKey(name))
        return *found;
    m_subKeyIndex.insert(folded(name), qsizetype(m_subKeys.size()));
    return m_subKeys.emplace_back(name);
}

bool RegistryKey::deleteSubKey(const QString &name)
{
    const qsizetype index = subKeyIndex(name);
    if (index < 0)
        return false;
    m_subKeys.erase(m_subKeys.begin() + index);
    m_subKeyIndex.remove(folded(name));
    for (auto it = m_subKeyIndex.begin(); it != m_subKeyIndex.end(); ++it) {
        if (it.value() > index)
            --it.value();
    }
    return true;
}

int RegistryKey::levels() const
{
    // Walked with a list of its own rather than by recursion: the answer decides whether a copy
    // may be made, so it must not depend on how deep the tree is.
    int deepest = 0;
    std::vector<std::pair<const RegistryKey *, int>> pending{{this, 1}};
    while (!pending.empty()) {
        const auto [key, level] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, level);
        for (const RegistryKey &sub : key->m_subKeys)
            pending.emplace_back(&sub, level + 1);
    }
    return deepest;
}

std::vector<const RegistryKey *> RegistryKey::sortedSubKeys() const
{
    std::vector<const RegistryKey *> sorted;
    sorted.reserve(m_subKeys.size());
    for (const RegistryKey &k : m_subKeys)
        sorted.push_back(&k);
    std::sort(sorted.begin(), sorted.end(), [](const RegistryKey *a, const RegistryKey *b) {
        return a->name().compare(b->name(), Qt::CaseInsensitive) < 0;
    });
    return sorted;
}

QStringList RegistryKey::subKeyNames() const
{
    QStringList names;
    names.reserve(qsizetype(m_subKeys.size()));
    for (const RegistryKey *k : sortedSubKeys())
        names.append(k->name());
    return names;
}

qsizetype RegistryKey::valueIndex(const QString &name) const
{
    return m_valueIndex.value(folded(name), -1);
}

qsizetype RegistryKey::subKeyIndex(const QString &name) const
{
    return m_subKeyIndex.value(folded(name), -1);
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

qsizetype RegistryTree::pathDepth(const QString &path)
{
    qsizetype depth = 0;
    bool inPiece = false;
    for (QChar c : path) {
        const bool separator = c == u'\\';
        if (!separator && !inPiece)
            ++depth;
        inPiece = !separator;
    }
    return depth;
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
    if (pathDepth(path) > kMaximumKeyDepth)
        return nullptr;
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
