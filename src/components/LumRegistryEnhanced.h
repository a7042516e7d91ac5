#pragma once

#include "components/ComponentError.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <exception>
#include <functional>
#include <memory>

class TLumBreakApart;
class RegistryTree;
class RegistryKey;

enum TRootKey {
    hkClassesRoot,
    hkCurrentConfig,
    hkCurrentUser,
    hkDynData,
    hkLocalMachine,
    hkPerformanceData,
    hkUsers
};
enum TAccess { kAllAccess, kExecute, kRead, kWrite };
enum TLangType { ltFrench, ltEnglish };
// btExpandString writes a string as an expandable string. btBinary32BitMax and btBinary32BitMin
// write a value as raw binary data (a string as its UTF-8 bytes, an integer as four bytes,
// least significant first) and read any binary value back as its bytes (a QByteArray).
// btEncryptString writes a string scrambled with SetEncryptionParameters, as hexadecimal text,
// and unscrambles it when read.
enum TBinaryType { btNone, btEncryptString, btExpandString, btBinary32BitMax, btBinary32BitMin };
enum TSearchOption { opKey, opValue, opData, opValueData };

// The error kind of the settings store; raised only when RaiseExceptions is on.
class ERegistryEnhanced : public ComponentError
{
    using ComponentError::ComponentError;
};

// A window placement: outer size and position, and the state ("wsNormal", "wsMaximized", or
// empty for a minimised window).
struct TFormPlacement {
    int height = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    QString state;

    bool operator==(const TFormPlacement &) const = default;
};

// One item of a check list.
struct TCheckListItem {
    QString text;
    bool checked = false;

    bool operator==(const TCheckListItem &) const = default;
};

// A font as stored: name, point size, style names (fsBold, fsItalic, fsUnderline, fsStrikeOut)
// and colour ("#rrggbb").
struct TFontInfo {
    QString name;
    int size = 0;
    QStringList styles;
    QString colour;

    bool operator==(const TFontInfo &) const = default;
};

// The program's settings store: a tree of keys holding named, typed values, below the per-user
// root. Every operation opens the backing store, works and closes it, so a value written is seen
// by every later read, in this run and the next. Values travel as QVariant: empty, bool, int,
// double, QDateTime or QString. Booleans are stored as the integers 1 and 0 and come back as
// integers.
//
// Value paths ("Options\ProxyPort") name a value: the last piece is the value name, the pieces
// before it a key below Key. Key paths ("History Lists\Open") name a key below Key.
//
// The operations that take a window, a menu, a check list, a font, a report list or a drop-down
// list work here on plain data; the widget forms are in components/ui/LumRegistryWidgets.h.
class TLumRegistryEnhanced : public QObject
{
    Q_OBJECT

public:
    explicit TLumRegistryEnhanced(QObject *parent = nullptr);
    ~TLumRegistryEnhanced() override;

    // The program's own store: Key = "Software\Marovek\Wingbook".
    static TLumRegistryEnhanced *makeProgramStore(QObject *parent = nullptr);
    static QString programKey() { return QStringLiteral("Software\\Marovek\\Wingbook"); }

    // Properties.
    const QString &Key() const { return m_key; }
    void setKey(const QString &value) { m_key = value; }
    TRootKey RootKey() const { return m_rootKey; }
    void setRootKey(TRootKey value) { m_rootKey = value; }
    TAccess Access() const { return m_access; }
    void setAccess(TAccess value) { m_access = value; }
    bool RaiseExceptions() const { return m_raiseExceptions; }
    void setRaiseExceptions(bool value) { m_raiseExceptions = value; }
    TLangType LangType() const { return m_langType; }
    void setLangType(TLangType value);
    TBinaryType BinaryType() const { return m_binaryType; }
    void setBinaryType(TBinaryType value) { m_binaryType = value; }
    const QStringList &EntriesFound() const { return m_entriesFound; }

    // The three messages of ERegistryEnhanced in the current language.
    const QString &TooManyEntriesMessage() const { return m_msgTooManyEntries; }
    const QString &UnknownDataTypeMessage() const { return m_msgUnknownDataType; }
    const QString &CantOpenFileMessage() const { return m_msgCantOpenFile; }

    // The backing file; by default the per-user file of the environment at the time of each
    // operation. Tests and tools may point the store at another file.
    QString FileName() const;
    void setFileName(const QString &value) { m_fileName = value; }

    // Normalised key path: empty, or a leading backslash and no trailing one.
    static QString NormalizeKeyPath(const QString &path);

    // Values.
    QVariant GetValueDefault(const QString &AValue, const QVariant &AValueDataDefault) const;
    void SetValue(const QString &AValue, const QVariant &AValueData);
    QVariant GetValue(const QString &AValue) const;
    bool ValueExists(const QString &AValue) const;
    void SetTypedValue(const QString &AValue, const QVariant &AValueData, TBinaryType ABinaryType);
    QVariant GetTypedValue(const QString &AValue, TBinaryType ABinaryType);
    QVariant GetTypedValueDefault(const QString &AValue, const QVariant &AValueDataDefault,
                                  TBinaryType ABinaryType);
    bool DeleteValue(const QString &AValue);
    bool CopyValue(const QString &OldValue, const QString &NewValue);
    bool RenameValue(const QString &OldValue, const QString &NewValue);

    // Keys.
    bool KeyExists(const QString &ASubKey) const;
    bool DeleteKey(const QString &AKey);
    bool CopyKey(const QString &OldKey, const QString &NewKey);
    bool RenameKey(const QString &OldKey, const QString &NewKey);
    bool GetValueNames(const QString &ASubKey, QStringList &AList) const;
    int CountValueNames(const QString &ASubKey) const;
    bool GetSubKeys(const QString &ASubKey, QStringList &AList) const;
    int CountSubKeys(const QString &ASubKey) const;
    void Search(const QString &ASubKey, const QString &AString, bool Recursive,
                TSearchOption ASearchOption);

    // Files.
    bool SaveKeyContentToFile(const QString &ASubKey, const QString &AFilename,
                              const QString &ABreakString);
    bool LoadKeyContentFromFile(const QString &ASubKey, const QString &AFilename,
                                const QString &ABreakString);
    bool ExportKeyToRegFile(const QString &ASubKey, const QString &AFileName);

    // Window placement: "height, left, top, width, state".
    static QString FormatPlacement(const TFormPlacement &placement);
    // The placement of a string of exactly five pieces cut at ", " whose first four are decimal
    // integers; false (and placement unchanged) otherwise.
    static bool ParsePlacement(const QString &text, TFormPlacement &placement);
    // Top left corner of a window of the given outer size centred on a screen.
    static QPoint CenteredPosition(const QSize &screen, const QSize &window);
    // The warning shown for a window that does not keep its designed position.
    static QString PositionWarningText(const QString &className);
    void SetFormInfo(const QString &AValue, const TFormPlacement &placement);
    enum TFormInfoResult { fiMissing, fiIgnored, fiFound };
    // fiMissing: no placement stored (the caller may centre the window); fiIgnored: a stored
    // placement that is not in the five-piece form (the window is left alone); fiFound: placement
    // holds the stored one.
    TFormInfoResult GetFormInfo(const QString &AValue, TFormPlacement &placement) const;
    bool ImportFormInfo(const QString &ASubKey, const QString &AValue, bool DeleteSubKey);

    // Menu list: "Count" and "Item0" ... below the key.
    void SetMenu(const QString &ASubKey, const QStringList &captions);
    // The stored captions; false (captions unchanged) when the key is missing.
    bool GetMenu(const QString &ASubKey, QStringList &captions) const;

    // Check list: one boolean per item, named by the item's text.
    void SetCheckListBox(const QString &ASubKey, const QList<TCheckListItem> &items);
    // Replaces items by the stored ones when the key exists; otherwise checks every item when
    // CheckAllFirstTime is true. False when the key is missing.
    bool GetCheckListBox(const QString &ASubKey, QList<TCheckListItem> &items,
                         bool CheckAllFirstTime) const;

    // Font: "\"name\", size, [styles], colour".
    static QString FormatFont(const TFontInfo &font);
    static bool ParseFont(const QString &text, TFontInfo &font);
    void SetFont(const QString &AValue, const TFontInfo &AFont);
    bool GetFont(const QString &AValue, TFontInfo &AFont) const;

    // Report list column widths: "120, 80, 60".
    void SetListViewInfo(const QString &AValue, const QList<int> &widths);
    bool GetListViewInfo(const QString &AValue, QList<int> &widths) const;
    bool ImportListViewInfo(const QString &ASubKey, const QString &AValue, bool DeleteSubKey);

    // Drop-down list: "Count", "Item0" ... and, with ShowText, "Text".
    void SetComboBox(const QString &ASubKey, const QStringList &items, const QString &text,
                     bool ShowText);
    bool GetComboBox(const QString &ASubKey, QStringList &items, QString &text,
                     bool ShowText) const;

    void SetEncryptionParameters(quint16 ABaseKey, quint16 ADecryptKey);

private:
    struct ValuePath {
        QString keyPath; // absolute, from the root
        QString name;
    };
    QString rootName() const;
    QString fullKeyPath(const QString &ASubKey) const;
    bool splitValuePath(const QString &AValue, ValuePath &path) const;
    bool transferValue(const QString &OldValue, const QString &NewValue, bool move);
    bool canRead() const { return m_access != kWrite; }
    bool canWrite() const { return m_access == kAllAccess || m_access == kWrite; }
    std::shared_ptr<const RegistryTree> readTree() const;
    // The names a key lists (its values or its subkeys); false when the key is missing.
    bool readNames(const QString &ASubKey, QStringList &AList,
                   QStringList (RegistryKey::*names)() const) const;
    bool modifyTree(const std::function<bool(RegistryTree &)> &change) const;
    QVariant readValue(const RegistryKey &key, const QString &name, const QVariant &fallback,
                       bool *found) const;
    bool writeValue(RegistryKey &key, const QString &name, const QVariant &data);
    void raise(const QString &message) const;
    QString scramble(const QString &text) const;
    QString unscramble(const QString &hex) const;

    QString m_key;
    TRootKey m_rootKey = hkCurrentUser;
    TAccess m_access = kAllAccess;
    bool m_raiseExceptions = false;
    TLangType m_langType = ltEnglish;
    TBinaryType m_binaryType = btNone;
    QStringList m_entriesFound;
    TLumBreakApart *m_breakApart; // owned (child): cuts and joins paths and placement strings
    QString m_fileName;
    quint16 m_encryptBaseKey = 0;
    quint16 m_encryptDecryptKey = 0;
    QString m_msgTooManyEntries;
    QString m_msgUnknownDataType;
    QString m_msgCantOpenFile;
};
