// GPX 1.1: waypoints ("wpt") and route points ("rte"/"rtept") in and out.
//
// pugixml reads the document: it knows no DTD, expands only the five
// predefined entities and character references, and opens nothing, so a
// file can neither reach the network or another file nor grow by entity
// expansion. Elements are matched by their local name, so a namespace
// prefix ("gpx:wpt") is read as well.
#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "stores/app_data.h"
#include "stores/exchange_degrees.h"
#include "stores/exchange_formats.h"
#include "text/cp1252.h"

namespace navorix::exchange {
namespace {

constexpr const char* Namespace = "http://www.topografix.com/GPX/1/1";

std::string_view LocalName(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node FirstChild(const pugi::xml_node& node, std::string_view local) {
  for (const pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element && LocalName(child) == local) return child;
  }
  return {};
}

// Byte offsets of the text turned into line numbers; the line starts are
// found once, at the first question.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) : text_(text) {}
  std::uint64_t LineOf(std::uint64_t offset) {
    if (starts_.empty()) {
      starts_.push_back(0);
      for (std::size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] == '\n') starts_.push_back(i + 1);
      }
    }
    return static_cast<std::uint64_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                      starts_.begin());
  }

 private:
  std::string_view text_;
  std::vector<std::uint64_t> starts_;
};

// Reads one waypoint or route point. place.at is its offset (or, for a
// document in another encoding, its number).
void ReadPoint(const pugi::xml_node& point, const EntryPlace& place, ImportCollector& collector) {
  const pugi::xml_attribute latText = point.attribute("lat");
  const pugi::xml_attribute lonText = point.attribute("lon");
  long double lat = 0.0L;
  long double lon = 0.0L;
  std::string reason;
  if (!latText) {
    collector.Refuse(place, "no lat attribute");
  } else if (!lonText) {
    collector.Refuse(place, "no lon attribute");
  } else if (!ReadDegrees(latText.value(), Axis::Latitude, lat, reason) ||
             !ReadDegrees(lonText.value(), Axis::Longitude, lon, reason)) {
    collector.Refuse(place, reason);
  } else {
    const pugi::xml_node name = FirstChild(point, "name");
    collector.Take(place, name ? name.text().get() : "",
                   PositionFromDegrees(collector.Settings().earth, lat, lon));
  }
}

// Appends what pugixml writes to a string, each line end as CR LF.
class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& out) : out_(out) {}
  void write(const void* data, std::size_t size) override {
    const std::string_view chunk(static_cast<const char*>(data), size);
    std::size_t from = 0;
    for (std::size_t lf = chunk.find('\n'); lf != std::string_view::npos;
         from = lf + 1, lf = chunk.find('\n', from)) {
      out_.append(chunk.substr(from, lf - from));
      out_.append(LineEnd);
    }
    out_.append(chunk.substr(from));
  }

 private:
  std::string& out_;
};

}  // namespace

ImportResult ImportGpx(std::string_view text, ImportCollector& collector) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
  // Offsets count in the text as pugixml holds it, which is this text
  // unless the document declared another encoding.
  const bool offsetsHere = parsed.encoding == pugi::encoding_utf8;
  LineIndex lines(text);
  if (!parsed) {
    std::string where;
    if (offsetsHere) where = LineText(lines.LineOf(static_cast<std::uint64_t>(parsed.offset))) + ": ";
    return collector.Fail("GPX: " + where + parsed.description());
  }
  const pugi::xml_node root = document.document_element();
  if (!root || LocalName(root) != "gpx") {
    return collector.Fail(root ? "GPX: the document is <" + std::string(root.name()) + ">, not <gpx>"
                               : "GPX: the document has no element");
  }
  std::uint64_t points = 0;
  auto read = [&](const pugi::xml_node& point, const char* element) {
    ++points;
    const std::ptrdiff_t offset = point.offset_debug();
    const std::uint64_t at = offsetsHere && offset >= 0 ? static_cast<std::uint64_t>(offset) : points;
    ReadPoint(point, EntryPlace{at, element}, collector);
  };
  for (const pugi::xml_node child : root.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view element = LocalName(child);
    if (element == "wpt") {
      read(child, "wpt");
    } else if (element == "rte") {
      for (const pugi::xml_node point : child.children()) {
        if (point.type() == pugi::node_element && LocalName(point) == "rtept") read(point, "rtept");
      }
    } else if (element == "trk") {
      std::uint32_t count = 0;
      for (const pugi::xml_node segment : child.children()) {
        if (segment.type() != pugi::node_element || LocalName(segment) != "trkseg") continue;
        for (const pugi::xml_node point : segment.children()) {
          count += point.type() == pugi::node_element && LocalName(point) == "trkpt";
        }
      }
      collector.CountTrackPoints(count);
    }
  }
  return collector.Finish([&](const EntryPlace& place) {
    const std::string element = place.element;
    if (!offsetsHere) return element + " " + std::to_string(place.at);
    return LineText(lines.LineOf(place.at)) + " (" + element + ")";
  });
}

void ExportGpx(const FixDatabase& fixes, const EarthModel& earth, std::string& out) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node gpx = document.append_child("gpx");
  gpx.append_attribute("version") = "1.1";
  gpx.append_attribute("creator") = (std::string(ApplicationTitle) + " " + VersionText).c_str();
  gpx.append_attribute("xmlns") = Namespace;
  std::string name;
  // A 16-bit counter would wrap at a full database of 65535 fixes.
  for (std::uint32_t pos = 1; pos <= fixes.Count(); ++pos) {
    const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(pos));
    if (!fix.valid) continue;
    const DegreeTexts degrees = ExportDegrees(earth, fix.position);
    pugi::xml_node point = gpx.append_child("wpt");
    point.append_attribute("lat") = degrees.latitude.c_str();
    point.append_attribute("lon") = degrees.longitude.c_str();
    name.clear();
    AppendUtf8(name, fix.name.View());
    point.append_child("name").text() = name.c_str();
  }
  StringWriter writer(out);
  document.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
}

}  // namespace navorix::exchange
