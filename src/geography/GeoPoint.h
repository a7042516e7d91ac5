#pragma once

// A place on the earth in decimal degrees: latitudes north and longitudes east are positive.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};
