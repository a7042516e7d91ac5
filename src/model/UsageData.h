#pragma once

#include <QtGlobal>

// Usage objects of the reference tables: each counts the flights that name its row.
struct TAirlineData {
    qint32 ReferenceCount = 0;
};

struct TAirportData {
    qint32 ReferenceCount = 0;
};

struct TDistanceData {
    qint32 ReferenceCount = 0;
};
