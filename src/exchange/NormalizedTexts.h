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
    // The same for views: the result shows the text itself when it is already in the log's
    // form, else the remembered result (valid until the next call for the same kind).
    QStringView date(QStringView text);
    QStringView time(QStringView text);

private:
    using Memo = QHash<QString, QString>;
    template <typename Normalize>
    static const QString &lookUp(Memo &memo, const QString &text, Normalize f);

    Memo m_dates;
    Memo m_times;
};
