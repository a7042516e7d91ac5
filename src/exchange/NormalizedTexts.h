#pragma once

#include <QHash>
#include <QString>

// Dates and times repeat from line to line: an import normalises each distinct text once and
// reuses the result (and its string) for the other lines. Texts already in the log's forms
// are recognised at once.
class NormalizedTexts
{
public:
    QString date(const QString &text);
    // An empty time stays empty.
    QString time(const QString &text);

private:
    using Memo = QHash<QString, QString>;
    template <typename Normalize>
    static QString lookUp(Memo &memo, const QString &text, Normalize f);

    Memo m_dates;
    Memo m_times;
};
