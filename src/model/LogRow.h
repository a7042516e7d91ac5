#pragma once

#include "model/UsageData.h"

#include <QStringList>
#include <variant>

// One row of a table: one text per column (the first is the row's caption) and, for the
// reference tables, the usage object that lives and dies with the row.
struct LogRow {
    using UsageData = std::variant<std::monostate, TAirlineData, TAirportData, TDistanceData>;

    QStringList cells;
    UsageData Data;

    bool hasData() const { return !std::holds_alternative<std::monostate>(Data); }

    // The row's ReferenceCount, or nullptr for a row without usage object.
    qint32 *referenceCount()
    {
        return std::visit(
            [](auto &d) -> qint32 * {
                if constexpr (std::is_same_v<std::decay_t<decltype(d)>, std::monostate>)
                    return nullptr;
                else
                    return &d.ReferenceCount;
            },
            Data);
    }
    const qint32 *referenceCount() const { return const_cast<LogRow *>(this)->referenceCount(); }
};
