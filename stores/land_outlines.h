// The land outlines the chart draws: a shapefile of polygons in longitude
// and latitude (Natural Earth's countries at 1:110 million, in land/), read
// with shapelib.
//
// Notation:
//   area     one record of the shapefile: a country, with its name
//   ring     one closed outline of an area (shapelib's "part"): a coast, an
//            island, a lake's shore; its last point repeats its first
//   lat, lon geodetic latitude and longitude, radians, East positive
//   cut      an edge of a ring along the 180th meridian or along a pole,
//            where the map's makers cut a polygon that crosses them: no
//            coast or border, so it is not drawn
//
// A shapefile is three files: NAME.shp (the shapes), NAME.shx (their index)
// and NAME.dbf (the names); all three must be readable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/path_set.h"

namespace navorix {

// The largest .shp, .shx or .dbf file read: the whole world at 1:10 million
// takes about 10 MB.
inline constexpr std::uint64_t MaxLandFileSize = std::uint64_t{64} << 20;
// The shapefile the chart reads, in the folder of its data.
inline constexpr const char* LandFileName = "naturalearth_lowres.shp";
inline constexpr const char* LandFolderName = "land";

struct GeoPoint {
  long double lat = 0.0L;
  long double lon = 0.0L;
};

struct LandArea {
  std::string name;  // as the file holds it, single-byte
  std::vector<std::vector<GeoPoint>> rings;
};

struct LandOutlines {
  std::vector<LandArea> areas;

  std::size_t RingCount() const;
  std::size_t PointCount() const;
};

// The polygons of the shapefile shpFile (a path ending in ".shp", the .shx
// and .dbf beside it), in the order of its records. Throws Error:
//   "Cannot open NAME: reason" when one of the three files is missing, is
//   not a regular file or is larger than MaxLandFileSize (NAME its last
//   path component, reason the platform's text or what is wrong);
//   "Cannot read NAME: not a polygon shapefile" when shapelib does not take
//   it or its shapes are not polygons;
//   "Cannot read NAME: record N is damaged" (N from 1) when a record does not
//   read, holds a ring of fewer than 4 points, a ring that does not return
//   to its first point, or a coordinate that is not finite or lies beyond
//   +-180 degrees of longitude or +-90 of latitude (by more than a rounding:
//   Natural Earth's own files reach 180.00000000000006).
LandOutlines ReadLandOutlines(const std::string& shpFile);

// Appends the outlines as paths on the chart's sphere (positions whose
// latitude is the geodetic one, see ChartDirection): a ring without cuts as a
// closed path, a ring with cuts as the open paths between them. Edges longer
// than MaxPathStep are divided evenly in latitude and longitude, so that a
// border drawn along a parallel stays on it in either projection.
void AddLandPaths(const LandOutlines& land, SpherePaths& out);

}  // namespace navorix
