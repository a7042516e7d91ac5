#pragma once

#include <QString>

// The airport value of Airports.def and of DEF flight files: the name, "|", the city, ", ", the
// country; or the name, "|", the city, ", ", a region, ", ", the country, where the region stays
// part of the city ("Portland, Oregon"). The reading counts the commas of the whole value, the
// name included, so a comma in the name shifts it.

// The text before the first "|"; the whole text when there is none.
QString ExtractAirportNameDEF(const QString &AString);
// The city (with its region, if any); empty when the value has no or more than two commas.
QString ExtractAirportCityDEF(const QString &AString);
// The country; empty when the value has no or more than two commas.
QString ExtractAirportCountryDEF(const QString &AString);
