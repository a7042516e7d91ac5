#pragma once

#include <QString>

class LogDocument;
class WingbookOptions;

enum class WebLinkKind { AirlineInformation, AirportInformation, DistanceCalculator };

// The address that a web-link command opens for the row of Airlines, Airports or Distances
// (AirlineInformation, AirportInformation, DistanceCalculator), or the site's general page when
// row is -1 (nothing selected). The codes are put in as they stand. Empty when the option index
// chooses no site: nothing is then opened.
QString WebLinkAddress(const LogDocument &document, WebLinkKind kind, int row,
                       const WingbookOptions &options);
