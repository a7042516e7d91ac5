#pragma once

// The outside web sites that the web-link commands open, in one place. Each is the scheme and
// host of its site; the commands append the site's paths.

// Information provider (option index 0): airline and airport details pages.
inline constexpr char InformationProviderBase[] = "https://www.flightstats.com";
inline constexpr char InformationProviderName[] = "FlightStats";

// First distance calculator (option index 0): pages /distance/from/A/to/B and /distance/.
inline constexpr char FirstDistanceCalculatorBase[] = "https://www.travelmath.com";
inline constexpr char FirstDistanceCalculatorName[] = "Travelmath";

// Second distance calculator (option index 1): the mileage pages below /travel/milemarker/.
inline constexpr char SecondDistanceCalculatorBase[] = "https://www.webflyer.com";
inline constexpr char SecondDistanceCalculatorName[] = "WebFlyer";
