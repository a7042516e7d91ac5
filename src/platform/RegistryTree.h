#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

// The kinds a value can have in the settings tree.
enum class TRegistryDataType {
    rdUnknown,      // a kind this program does not read (kept as raw bytes so nothing is lost)
    rdString,       // text
    rdExpandString, // text that may name environment variables
    rdInteger,      // 32-bit signed integer
    rdBinary,       // raw bytes
};

// One named, typed value of a key.
struct RegistryValue {
    QString name;
    TRegistryDataType kind = TRegistryDataType::rdUnknown;
    QString text; // rdString, rdExpandString
    qint32 integer = 0;
    QByteArray bytes; // rdBinary, rdUnknown
    int rawType = 0;  // the numeric type of an rdUnknown value, written back as hex(rawType)
};

// A key of the settings tree: named values in the order they were first written, and subkeys.
// Names compare without regard to letter case and keep their first spelling, as in the system
// registry. Lookups go through hash indexes, so even a huge file is read in linear time.
class RegistryKey
{
public:
    RegistryKey() = default;
    explicit RegistryKey(QString name) : m_name(std::move(name)) {}

    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    const QList<RegistryValue> &values() const { return m_values; }
    // The subkeys in the order they were created.
    const std::vector<RegistryKey> &subKeys() const { return m_subKeys; }
    // The number of levels of this key and the keys below it (1 for a key without subkeys).
    int levels() const;
    // The subkeys sorted by name (without regard to letter case), as they are listed and written.
    std::vector<const RegistryKey *> sortedSubKeys() const;

    const RegistryValue *value(const QString &name) const;
    bool hasValue(const QString &name) const { return value(name) != nullptr; }
    TRegistryDataType valueKind(const QString &name) const;
    QStringList valueNames() const;
    // Creates or replaces a value (keeping its place when it existed).
    void setValue(const RegistryValue &value);
    void writeString(const QString &name, const QString &data);
    void writeExpandString(const QString &name, const QString &data);
    void writeInteger(const QString &name, qint32 data);
    void writeBoolean(const QString &name, bool data) { writeInteger(name, data ? 1 : 0); }
    void writeBinary(const QString &name, const QByteArray &data);
    // A missing value, or one that holds no text, reads as an empty string.
    QString readString(const QString &name) const;
    // Empty when the value is missing or not an integer.
    std::optional<qint32> readInteger(const QString &name) const;
    bool deleteValue(const QString &name);

    const RegistryKey *subKey(const QString &name) const;
    RegistryKey *subKey(const QString &name);
    // The subkey of that name, created when missing.
    RegistryKey &ensureSubKey(const QString &name);
    bool deleteSubKey(const QString &name);
    QStringList subKeyNames() const;

private:
    qsizetype valueIndex(const QString &name) const;
    qsizetype subKeyIndex(const QString &name) const;

    QString m_name;
    QList<RegistryValue> m_values;
    QHash<QString, qsizetype> m_valueIndex; // case-folded name -> position in m_values
    std::vector<RegistryKey> m_subKeys;
    QHash<QString, qsizetype> m_subKeyIndex; // case-folded name -> position in m_subKeys
};

// The whole per-user tree: the root keys (HKEY_CURRENT_USER, ...) and everything below them.
// Paths are absolute, their pieces joined by backslashes ("HKEY_CURRENT_USER\Software\Marovek").
class RegistryTree
{
public:
    // The most pieces a key path may have, the root key's name included: the system registry's
    // own limit. Every tree stays this shallow, so walking, copying and freeing it never comes
    // near the end of the stack, whatever a settings file holds.
    static constexpr int kMaximumKeyDepth = 512;

    // Whether a key name can be stored: not empty, no backslash, no control character.
    static bool isValidKeyName(const QString &name);
    // The pieces of a path, empty pieces dropped.
    static QStringList splitPath(const QString &path);
    // The number of non-empty pieces of a path, counted without splitting it.
    static qsizetype pathDepth(const QString &path);

    // The key at the path, or null when it (or a piece of it) is missing.
    const RegistryKey *findKey(const QString &path) const;
    RegistryKey *findKey(const QString &path);
    // The key at the path with every missing key on the way created; null for an empty path, a
    // piece that is not a valid key name or a path deeper than kMaximumKeyDepth.
    RegistryKey *createKey(const QString &path);
    bool keyExists(const QString &path) const { return findKey(path) != nullptr; }
    // Removes the key with all its subkeys and values; false when it is missing.
    bool deleteKey(const QString &path);

    const RegistryKey &root() const { return m_root; }
    RegistryKey &root() { return m_root; }
    bool isEmpty() const { return m_root.subKeys().empty(); }

private:
    RegistryKey m_root;
};
