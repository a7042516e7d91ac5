#pragma once

#include "model/RegionalSettings.h"

#include <QCollator>
#include <QString>
#include <optional>

// What a cell's text reads as, worked out once so that a sort does not re-read every cell in
// every comparison.
struct CellSortKey {
    enum class Dotted : quint8 { No, Yes, Broken };

    std::optional<double> dateTime; // as days since 1899-12-30, never zero
    std::optional<double> number;
    Dotted dotted = Dotted::No;
    qint64 dottedValue = 0;
    // The collation key, made the first time the text comparison needs it.
    mutable std::optional<QCollatorSortKey> collationKey;

    static CellSortKey of(const QString &text, const RegionalSettings &regional);
};

// Reading helpers, exposed for tests.
std::optional<double> ReadCellDateTime(const QString &text, const RegionalSettings &regional);
std::optional<double> ReadCellNumber(const QString &text, const RegionalSettings &regional);

// Compares two cell texts of already-worked-out keys. Returns negative, 0 or positive.
// The text comparison uses the collator (case-insensitive, in the regional locale).
int CompareCellKeys(const QString &a, const CellSortKey &ka, const QString &b,
                    const CellSortKey &kb, const QCollator &collator);

// Compares two cell texts: dates and times chronologically, numbers numerically, dotted
// numbers (like 10.0.0.1) by their groups, anything else as text ignoring case.
int CompareCellTexts(const QString &a, const QString &b,
                     const RegionalSettings &regional = RegionalSettings::system());

// A case-insensitive collator for the regional locale.
QCollator MakeCellCollator(const RegionalSettings &regional);
