// Positions as signed decimal degrees (north and east positive), the way
// GPX, CSV and GeoJSON carry them.
//
// Notation:
//   shown values  the latitude and longitude a position shows: PosLat and
//                 PosLon under the Earth model, in radians
//   boundary      an angle at which some shown text changes: a rounding
//                 boundary of a Lat/Lon format at an accuracy (half a unit
//                 of AngleScale), zero (the hemisphere letter) and, for a
//                 longitude, 180 degrees (E against W)
#pragma once

#include <string>

#include "geometry/earth_model.h"
#include "geometry/vector.h"

namespace navorix {

// The stored position of latitude latDeg and longitude lonDeg in signed
// decimal degrees under earth: each is turned into radians as the
// coordinate reader turns a typed decimal number, so that "48.8567" read
// here and "48.8567N" read from a fix file give the same position.
Vector3 PositionFromDegrees(const EarthModel& earth, long double latDeg, long double lonDeg);

struct DegreeTexts {
  std::string latitude;
  std::string longitude;
};

// The shown values of position as decimal degrees that read back, through
// ReadDecimal and PositionFromDegrees, to a position that prints as position
// prints in every Lat/Lon format and accuracy.
//
// Far from every boundary the text has 8 decimals (a millimetre), or up to
// 12 where a boundary is nearer, without trailing zeros: "48.8567",
// "-0.11866769". Within 1e-12 degree of a boundary (the exact ties of typed
// positions, such as 10.125 at low accuracy, zero, and 180) it is the
// shortest text of the value that gives back the very shown values, and
// when no value near by does, one that prints the same.
DegreeTexts ExportDegrees(const EarthModel& earth, const Vector3& position);

}  // namespace navorix
