#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>
#include <functional>

// How the table view's find compares texts.
enum TFindOption {
    foCaseSensitive = 0x1,       // without it, A to Z match a to z
    foIgnoreAccentedChars = 0x2, // with it, the common accented Latin letters match their base
};
Q_DECLARE_FLAGS(TFindOptions, TFindOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFindOptions)

// One character as find compares it: accented letters replaced first (when asked), then A to Z
// lowered unless the search is case-sensitive. No other character changes.
QChar FoldFindChar(QChar ch, TFindOptions options);
QString FoldFindText(const QString &text, TFindOptions options);

// Tests rows against one search text, folding the text once for all the rows.
class FindMatcher
{
public:
    FindMatcher(const QString &text, TFindOptions options);

    // True when the folded text occurs in the folded first cell or any folded sub-cell.
    bool matches(const QStringList &cells) const;

private:
    QString m_folded;
    TFindOptions m_options;
    mutable QString m_buffer; // reused for each folded cell, so a long search allocates little
};

bool RowMatchesFindText(const QStringList &cells, const QString &text, TFindOptions options);

// Where the next search starts and what it reports, apart from any window.
class FindState
{
public:
    enum class Outcome { Found, NotFound, NoMoreInstances };
    struct Result {
        Outcome outcome;
        int row; // the matching row; -1 unless found
    };

    // A new search (Find, FindText): start at row 0, nothing found yet.
    void reset();
    // The user moved: the next search starts at the first selected row, or row 0 without one.
    void refresh(int firstSelectedRow);

    // Tests the rows from the start position down (never wrapping) and moves the positions.
    // onHit runs before the positions move past the hit, so a refresh that it causes is
    // overridden by the hit.
    Result search(int rowCount, const std::function<bool(int row)> &matches,
                  const std::function<void(int row)> &onHit = {});

    int startPosition() const { return m_start; }
    int previousStartPosition() const { return m_previousStart; }

    // The "Search Results" text for an outcome without a hit.
    static QString message(Outcome outcome, const QString &text);

private:
    int m_start = 0;
    int m_previousStart = -1;
};
