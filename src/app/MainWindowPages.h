#pragma once

#include "app/AppIcons.h"
#include "model/LogTable.h"

#include <array>

// One tab page of the main window: the table it shows, the tab's caption, the name of one
// record (the page's item in Tools, "Add") and the picture in front of every row. Every list
// and switch over the four tables is derived from kPages; its order is the tabs' order.
struct PageDescription {
    TableKind kind;
    const char *caption;
    const char *recordName;
    AppIcon icon;
};

inline constexpr std::array<PageDescription, 4> kPages = {{
    {TableKind::Flights, "Flights", "Flight", AppIcon::Flight},
    {TableKind::Airlines, "Airlines", "Airline", AppIcon::Airline},
    {TableKind::Airports, "Airports", "Airport", AppIcon::Airport},
    {TableKind::Distances, "Distances", "Distance", AppIcon::Distance},
}};

// The place of a table's page in kPages, which is also its tab index; the Flights page for a
// table that has none.
constexpr int pageIndex(TableKind kind)
{
    for (int p = 0; p < int(kPages.size()); ++p) {
        if (kPages[size_t(p)].kind == kind)
            return p;
    }
    return 0;
}
