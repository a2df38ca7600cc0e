// The land outlines of the chart (notation in land_outlines.h).
//
// shapelib reads the files through hooks; the default ones are kept but for
// the error hook, which would print to the standard error: a failure here
// becomes one Error with a text of our own.
#include "stores/land_outlines.h"

#include <shapefil.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>

#include "geometry/chart_paths.h"
#include "geometry/error.h"
#include "geometry/numeric.h"
#include "stores/line_reader.h"

namespace navorix {
namespace {

// How far beyond +-180 and +-90 degrees a coordinate may lie: the rounding
// of a file's writer, not a place.
constexpr double CoordinateSlack = 1e-9;
// An edge with both ends this close to the 180th meridian or to a pole is a
// cut.
constexpr long double CutSlack = 1e-9L * DegToRad;
// The fewest points of a closed ring: a triangle and its first point again.
constexpr int MinRingPoints = 4;

struct ShpCloser {
  void operator()(SHPInfo* handle) const { SHPClose(handle); }
};
struct DbfCloser {
  void operator()(DBFInfo* handle) const { DBFClose(handle); }
};
struct ShapeDestroyer {
  void operator()(SHPObject* shape) const { SHPDestroyObject(shape); }
};

void Silent(const char* /*message*/) {}

SAHooks QuietHooks() {
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.Error = Silent;
  return hooks;
}

// Raises "Cannot open NAME: reason" unless path names a regular file of at
// most MaxLandFileSize bytes. shapelib opens the file itself afterwards;
// this keeps it from waiting on a named pipe or reading a huge file.
void RequireReadable(const std::string& path) {
  std::string reason = CannotReadReason(path);
  if (reason.empty()) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
      reason = SystemErrorText(errno);
    else if (static_cast<std::uint64_t>(info.st_size) > MaxLandFileSize)
      reason = TooLargeReason(MaxLandFileSize);
  }
  if (!reason.empty()) throw Error("Cannot open " + FileBaseName(path) + ": " + reason);
}

bool IsPolygonType(int type) {
  return type == SHPT_POLYGON || type == SHPT_POLYGONZ || type == SHPT_POLYGONM;
}

bool Usable(double lon, double lat) {
  return std::isfinite(lon) && std::isfinite(lat) && std::fabs(lon) <= 180.0 + CoordinateSlack &&
         std::fabs(lat) <= 90.0 + CoordinateSlack;
}

// The rings of a shape, or false when one is not a closed ring of usable
// points within the shape's vertices.
bool ReadRings(const SHPObject& shape, std::vector<std::vector<GeoPoint>>& rings) {
  if (shape.nSHPType == SHPT_NULL) return true;
  if (!IsPolygonType(shape.nSHPType) || shape.nParts < 0 || shape.nVertices < 0) return false;
  for (int part = 0; part < shape.nParts; ++part) {
    const int first = shape.panPartStart[part];
    const int end = part + 1 < shape.nParts ? shape.panPartStart[part + 1] : shape.nVertices;
    if (first < 0 || end > shape.nVertices || end - first < MinRingPoints) return false;
    if (shape.padfX[first] != shape.padfX[end - 1] || shape.padfY[first] != shape.padfY[end - 1])
      return false;
    std::vector<GeoPoint> ring;
    ring.reserve(static_cast<std::size_t>(end - first));
    for (int i = first; i < end; ++i) {
      const double lon = shape.padfX[i];
      const double lat = shape.padfY[i];
      if (!Usable(lon, lat)) return false;
      ring.push_back({static_cast<long double>(lat) * DegToRad, static_cast<long double>(lon) * DegToRad});
    }
    rings.push_back(std::move(ring));
  }
  return true;
}

bool OnAntimeridian(const GeoPoint& p) { return std::fabs(p.lon) >= Pi - CutSlack; }
bool AtPole(const GeoPoint& p) { return std::fabs(p.lat) >= HalfPi - CutSlack; }

bool IsCut(const GeoPoint& a, const GeoPoint& b) {
  return (OnAntimeridian(a) && OnAntimeridian(b)) || (AtPole(a) && AtPole(b));
}

// Adds the points after a on the way to b, evenly in latitude and longitude,
// at most about MaxPathStep apart, and b itself unless it is left out.
enum class EdgeEnd : std::uint8_t { Included, LeftOut };
void AddEdge(const GeoPoint& a, const GeoPoint& b, SpherePaths& out, EdgeEnd end = EdgeEnd::Included) {
  // A piece of d lat and d lon spans no more than hypot(d lat, d lon).
  const long double span = std::hypot(b.lat - a.lat, b.lon - a.lon);
  const long double pieces = std::ceil(span / MaxPathStep);
  const int n =
      pieces > 1.0L && pieces < static_cast<long double>(MaxPathPoints) ? static_cast<int>(pieces) : 1;
  for (int i = 1; i < n; ++i) {
    const long double f = static_cast<long double>(i) / static_cast<long double>(n);
    out.Add(TriFromAngles(a.lat + (b.lat - a.lat) * f, a.lon + (b.lon - a.lon) * f));
  }
  if (end == EdgeEnd::Included) out.Add(TriFromAngles(b.lat, b.lon));
}

void AddRing(const std::vector<GeoPoint>& ring, SpherePaths& out) {
  // The ring's distinct points; its last one repeats the first.
  const std::size_t count = ring.size() - 1;
  std::size_t start = count;  // the first point after a cut
  for (std::size_t i = 0; i < count; ++i) {
    if (IsCut(ring[i], ring[i + 1])) {
      start = (i + 1) % count;
      break;
    }
  }
  if (start == count) {
    out.Add(TriFromAngles(ring[0].lat, ring[0].lon));
    for (std::size_t i = 0; i + 1 < count; ++i) AddEdge(ring[i], ring[i + 1], out);
    // The closed path itself joins its last point to its first.
    AddEdge(ring[count - 1], ring[0], out, EdgeEnd::LeftOut);
    out.End(PathShape::Closed);
    return;
  }
  // From just after a cut once round: the runs between the cuts.
  out.Add(TriFromAngles(ring[start].lat, ring[start].lon));
  for (std::size_t k = 0; k < count; ++k) {
    const GeoPoint& a = ring[(start + k) % count];
    const GeoPoint& b = ring[(start + k + 1) % count];
    if (IsCut(a, b)) {
      out.End();
      out.Add(TriFromAngles(b.lat, b.lon));
    } else {
      AddEdge(a, b, out);
    }
  }
  out.End();
}

}  // namespace

std::size_t LandOutlines::RingCount() const {
  std::size_t count = 0;
  for (const LandArea& area : areas) count += area.rings.size();
  return count;
}

std::size_t LandOutlines::PointCount() const {
  std::size_t count = 0;
  for (const LandArea& area : areas)
    for (const auto& ring : area.rings) count += ring.size();
  return count;
}

LandOutlines ReadLandOutlines(const std::string& shpFile) {
  const std::string base = shpFile.ends_with(".shp") ? shpFile.substr(0, shpFile.size() - 4) : shpFile;
  const std::string shxFile = base + ".shx";
  const std::string dbfFile = base + ".dbf";
  for (const std::string& path : {shpFile, shxFile, dbfFile}) RequireReadable(path);
  const std::string notPolygons = "Cannot read " + FileBaseName(shpFile) + ": not a polygon shapefile";

  SAHooks hooks = QuietHooks();
  const std::unique_ptr<SHPInfo, ShpCloser> shapes(SHPOpenLL(shpFile.c_str(), "rb", &hooks));
  if (!shapes) throw Error(notPolygons);
  int count = 0;
  int type = 0;
  SHPGetInfo(shapes.get(), &count, &type, nullptr, nullptr);
  if (!IsPolygonType(type) || count < 0) throw Error(notPolygons);
  const std::unique_ptr<DBFInfo, DbfCloser> table(DBFOpenLL(dbfFile.c_str(), "rb", &hooks));
  if (!table || DBFGetRecordCount(table.get()) != count)
    throw Error("Cannot read " + FileBaseName(dbfFile) + ": not the table of " + FileBaseName(shpFile));
  const int nameField = DBFGetFieldIndex(table.get(), "name");

  LandOutlines land;
  land.areas.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    LandArea& area = land.areas[static_cast<std::size_t>(i)];
    const std::unique_ptr<SHPObject, ShapeDestroyer> shape(SHPReadObject(shapes.get(), i));
    if (!shape || !ReadRings(*shape, area.rings))
      throw Error("Cannot read " + FileBaseName(shpFile) + ": record " + std::to_string(i + 1) +
                  " is damaged");
    if (nameField >= 0) {
      const char* name = DBFReadStringAttribute(table.get(), i, nameField);
      if (name != nullptr) area.name = name;
    }
  }
  return land;
}

void AddLandPaths(const LandOutlines& land, SpherePaths& out) {
  for (const LandArea& area : land.areas)
    for (const auto& ring : area.rings) AddRing(ring, out);
}

}  // namespace navorix
