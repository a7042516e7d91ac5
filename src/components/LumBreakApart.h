#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Cuts a text into pieces at a separator (BreakApart) and joins pieces back (ReverseBreakApart).
// Typical use: set BaseString and BreakString, call BreakApart, read StringList.
class TLumBreakApart : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString BaseString READ BaseString WRITE setBaseString)
    Q_PROPERTY(QString BreakString READ BreakString WRITE setBreakString)
    Q_PROPERTY(bool AllowEmptyString READ AllowEmptyString WRITE setAllowEmptyString)
    Q_PROPERTY(bool CaseSensitive READ CaseSensitive WRITE setCaseSensitive)
    Q_PROPERTY(bool DoubleQuoteMode READ DoubleQuoteMode WRITE setDoubleQuoteMode)
    Q_PROPERTY(QStringList StringList READ StringList WRITE setStringList)

public:
    explicit TLumBreakApart(QObject *parent = nullptr);

    // The whole text: input of BreakApart, output of ReverseBreakApart.
    const QString &BaseString() const { return m_baseString; }
    void setBaseString(const QString &value) { m_baseString = value; }

    // The separator; may be longer than one character.
    const QString &BreakString() const { return m_breakString; }
    void setBreakString(const QString &value) { m_breakString = value; }

    // Keep empty pieces when cutting and empty items when joining.
    bool AllowEmptyString() const { return m_allowEmptyString; }
    void setAllowEmptyString(bool value) { m_allowEmptyString = value; }

    // Match a letters-only separator with exact letter case.
    bool CaseSensitive() const { return m_caseSensitive; }
    void setCaseSensitive(bool value) { m_caseSensitive = value; }

    // Rejoin fields written in double quotes after cutting; quote every item when joining.
    bool DoubleQuoteMode() const { return m_doubleQuoteMode; }
    void setDoubleQuoteMode(bool value) { m_doubleQuoteMode = value; }

    // The pieces: output of BreakApart, input of ReverseBreakApart. Setting copies the strings.
    const QStringList &StringList() const { return m_stringList; }
    void setStringList(const QStringList &value) { m_stringList = value; }

    // Clears StringList and fills it with the pieces of BaseString.
    void BreakApart();

    // The cutting of BreakApart without the double-quote mode, as views into the text: calls
    // keep(piece) for each piece (an empty one only when empty pieces are allowed).
    template <typename Keep>
    static void ForEachPiece(QStringView text, QStringView breakString,
                             Qt::CaseSensitivity matching, bool allowEmpty, Keep keep)
    {
        const auto offer = [&](QStringView piece) {
            if (!piece.isEmpty() || allowEmpty)
                keep(piece);
        };
        if (breakString.isEmpty()) {
            offer(text);
            return;
        }
        qsizetype start = 0;
        for (;;) {
            const qsizetype found = text.indexOf(breakString, start, matching);
            if (found < 0)
                break;
            offer(text.sliced(start, found - start));
            start = found + breakString.size();
        }
        offer(text.sliced(start));
    }
    // Replaces BaseString with the items of StringList joined by BreakString.
    void ReverseBreakApart();

private:
    void rejoinQuotedFields();

    QString m_baseString;
    QString m_breakString;
    bool m_allowEmptyString = false;
    bool m_caseSensitive = false;
    bool m_doubleQuoteMode = false;
    QStringList m_stringList;
};
