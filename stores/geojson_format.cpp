// GeoJSON: Point features in and out.
//
// nlohmann-json reads the text as a stream of events (SAX), and only what a
// feature needs is kept: its geometry's type, the first two coordinates
// (their text, read to the last bit of the 80-bit type) and the name from
// its properties. A file of any shape or depth thus costs memory only for
// its features; values inside other values are passed over by counting
// their depth.
//
// The top level is a FeatureCollection (its "features" array) or a single
// Feature. The members of an object may come in any order; a feature is
// judged when its object ends, and handed on when the whole text has read,
// because "type" may follow "features".
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "stores/exchange_degrees.h"
#include "stores/exchange_formats.h"
#include "text/cp1252.h"
#include "text/decimal.h"
#include "text/text_helpers.h"

namespace navorix::exchange {
namespace {

using Json = nlohmann::json;

constexpr std::size_t MaxMessage = 160;

// What the text of one feature held.
struct Feature {
  bool isObject = true;
  bool geometrySeen = false;
  bool geometryIsObject = false;
  std::string geometryType;
  bool coordinatesSeen = false;
  bool coordinatesBad = false;           // not an array of numbers
  std::vector<std::string> coordinates;  // the first two numbers as written
  std::size_t coordinateCount = 0;
  std::string name;  // UTF-8
};

// A judged feature: taken with its position, or refused with a reason.
struct Outcome {
  std::uint64_t number = 0;
  bool taken = false;
  std::string name;
  long double lat = 0.0L;
  long double lon = 0.0L;
  std::string reason;
};

Outcome Judge(const Feature& F, std::uint64_t number) {
  Outcome outcome;
  outcome.number = number;
  if (!F.isObject) {
    outcome.reason = "the feature is no object";
  } else if (!F.geometrySeen) {
    outcome.reason = "no geometry";
  } else if (!F.geometryIsObject) {
    outcome.reason = "the geometry is no object";
  } else if (F.geometryType != "Point") {
    outcome.reason = F.geometryType.empty() ? std::string("the geometry has no type")
                                            : "a " + Quoted(F.geometryType) + " geometry, not a Point";
  } else if (!F.coordinatesSeen || F.coordinatesBad || F.coordinateCount < 2) {
    outcome.reason = "the coordinates are no [longitude, latitude]";
  } else if (ReadDegrees(F.coordinates[1], Axis::Latitude, outcome.lat, outcome.reason) &&
             ReadDegrees(F.coordinates[0], Axis::Longitude, outcome.lon, outcome.reason)) {
    outcome.taken = true;
    outcome.name = F.name;
  }
  return outcome;
}

// The roles of the objects and arrays that matter; everything else is
// passed over.
enum class Role : std::uint8_t { Top, Features, Feature, Geometry, Coordinates, Properties };

class FeatureReader : public nlohmann::json_sax<Json> {
 public:
  std::vector<Outcome> outcomes;
  std::string topType;
  bool featuresSeen = false;
  std::string error;
  Feature top;  // the top level read as a lone feature

  bool null() override { return Scalar(Kind::Null, {}); }
  bool boolean(bool) override { return Scalar(Kind::Other, {}); }
  bool number_integer(number_integer_t value) override { return Scalar(Kind::Number, std::to_string(value)); }
  bool number_unsigned(number_unsigned_t value) override {
    return Scalar(Kind::Number, std::to_string(value));
  }
  bool number_float(number_float_t, const string_t& written) override {
    // The reader puts the locale's decimal separator in the text it hands
    // on (a "," under a German locale); a number has no other character
    // outside digits, signs and the exponent.
    std::string text = written;
    for (char& c : text) {
      if (!IsDigit(c) && c != '-' && c != '+' && c != 'e' && c != 'E') c = '.';
    }
    return Scalar(Kind::Number, text);
  }
  bool string(string_t& value) override { return Scalar(Kind::String, value); }
  bool binary(binary_t&) override { return Scalar(Kind::Other, {}); }
  bool key(string_t& key) override {
    if (ignored_ == 0) key_ = key;
    return true;
  }
  bool start_object(std::size_t) override { return Open(true); }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(false); }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& failure) override {
    error = failure.what();
    return false;
  }

 private:
  enum class Kind : std::uint8_t { Null, Number, String, Other };
  struct Frame {
    Role role;
    bool object;
  };

  // The feature that the innermost Feature frame (or the top) fills.
  Feature& Current() { return inFeature_ ? feature_ : top; }

  bool Scalar(Kind K, const std::string& text) {
    if (ignored_ > 0) return true;
    if (frames_.empty()) {  // a bare scalar as the whole text
      top.isObject = false;
      return true;
    }
    const Frame& frame = frames_.back();
    switch (frame.role) {
      case Role::Top:
        if (key_ == "type" && K == Kind::String) topType = text;
        [[fallthrough]];
      case Role::Feature:
        if (key_ == "geometry") {
          Current().geometrySeen = K != Kind::Null;
          Current().geometryIsObject = false;
        }
        break;
      case Role::Features:
        // A feature that is no object.
        feature_ = Feature{};
        feature_.isObject = false;
        outcomes.push_back(Judge(feature_, ++count_));
        break;
      case Role::Geometry:
        if (key_ == "type" && K == Kind::String) Current().geometryType = text;
        if (key_ == "coordinates") {
          Current().coordinatesSeen = true;
          Current().coordinatesBad = true;
        }
        break;
      case Role::Coordinates:
        if (K != Kind::Number) {
          Current().coordinatesBad = true;
        } else if (Current().coordinates.size() < 2) {
          Current().coordinates.push_back(text);
        }
        ++Current().coordinateCount;
        break;
      case Role::Properties:
        if (key_ == "name" && (K == Kind::String || K == Kind::Number)) Current().name = text;
        break;
    }
    return true;
  }

  bool Open(bool object) {
    if (ignored_ > 0) {
      ++ignored_;
      return true;
    }
    if (frames_.empty()) {
      top.isObject = object;
      if (object)
        frames_.push_back({Role::Top, true});
      else
        ++ignored_;
      return true;
    }
    const Role parent = frames_.back().role;
    const bool inObject = frames_.back().object;
    const std::string key = inObject ? key_ : std::string();
    bool known = false;
    Role role = Role::Top;
    if (parent == Role::Top && key == "features" && !object) {
      featuresSeen = true;
      role = Role::Features, known = true;
    } else if (parent == Role::Features) {
      if (object) {
        feature_ = Feature{};
        inFeature_ = true;
        role = Role::Feature, known = true;
      } else {
        feature_ = Feature{};
        feature_.isObject = false;
        outcomes.push_back(Judge(feature_, ++count_));
      }
    } else if ((parent == Role::Feature || parent == Role::Top) && key == "geometry") {
      Current().geometrySeen = true;
      Current().geometryIsObject = object;
      if (object) role = Role::Geometry, known = true;
    } else if ((parent == Role::Feature || parent == Role::Top) && key == "properties" && object) {
      role = Role::Properties, known = true;
    } else if (parent == Role::Geometry && key == "coordinates") {
      Current().coordinatesSeen = true;
      if (object)
        Current().coordinatesBad = true;
      else
        role = Role::Coordinates, known = true;
    } else if (parent == Role::Coordinates) {
      Current().coordinatesBad = true;  // nested positions: not a Point's
      ++Current().coordinateCount;
    }
    if (known)
      frames_.push_back({role, object});
    else
      ++ignored_;
    return true;
  }

  bool Close() {
    if (ignored_ > 0) {
      --ignored_;
      return true;
    }
    if (frames_.empty()) return true;
    if (frames_.back().role == Role::Feature) {
      outcomes.push_back(Judge(feature_, ++count_));
      inFeature_ = false;
    }
    frames_.pop_back();
    return true;
  }

  std::vector<Frame> frames_;
  std::uint64_t ignored_ = 0;  // depth inside a passed-over value
  std::string key_;
  Feature feature_;
  bool inFeature_ = false;
  std::uint64_t count_ = 0;
};

// nlohmann's message without its "[json.exception...] " tag, on one line
// and not too long.
std::string ErrorText(std::string text) {
  const std::size_t tag = text.find("] ");
  if (text.rfind("[json.exception", 0) == 0 && tag != std::string::npos) text.erase(0, tag + 2);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
  }
  if (text.size() > MaxMessage) text = text.substr(0, MaxMessage - 3) + "...";
  return text;
}

// A JSON reader hands "-0" on as the integer 0 and loses its sign, which
// decides the hemisphere letter; "-0.0" is a float and keeps it.
std::string_view JsonNumber(const std::string& degrees) {
  return degrees == "-0" ? std::string_view("-0.0") : std::string_view(degrees);
}

}  // namespace

ImportResult ImportGeoJson(std::string_view text, ImportCollector& collector) {
  FeatureReader reader;
  const bool read = Json::sax_parse(text.begin(), text.end(), &reader);
  if (!read || !reader.error.empty()) return collector.Fail("GeoJSON: " + ErrorText(reader.error));
  const bool collection =
      reader.topType == "FeatureCollection" || (reader.topType.empty() && reader.featuresSeen);
  if (!collection) {
    if (reader.topType != "Feature") {
      return collector.Fail("GeoJSON: the text is no FeatureCollection and no Feature");
    }
    reader.outcomes.assign(1, Judge(reader.top, 1));
  }
  const EarthModel& earth = collector.Settings().earth;
  for (const Outcome& outcome : reader.outcomes) {
    const EntryPlace place{outcome.number, nullptr};
    if (outcome.taken) {
      collector.Take(place, outcome.name, PositionFromDegrees(earth, outcome.lat, outcome.lon));
    } else {
      collector.Refuse(place, outcome.reason);
    }
  }
  return collector.Finish([](const EntryPlace& place) { return "feature " + std::to_string(place.at); });
}

void ExportGeoJson(const FixDatabase& fixes, const EarthModel& earth, std::string& out) {
  out += "{\"type\": \"FeatureCollection\", \"features\": [";
  out += LineEnd;
  std::string name;
  bool first = true;
  // A 16-bit counter would wrap at a full database of 65535 fixes.
  for (std::uint32_t pos = 1; pos <= fixes.Count(); ++pos) {
    const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(pos));
    if (!fix.valid) continue;
    const DegreeTexts degrees = ExportDegrees(earth, fix.position);
    name.clear();
    AppendUtf8(name, fix.name.View());
    if (!first) {
      out += ',';
      out += LineEnd;
    }
    first = false;
    out += "{\"type\": \"Feature\", \"geometry\": {\"type\": \"Point\", \"coordinates\": [";
    out += JsonNumber(degrees.longitude);
    out += ", ";
    out += JsonNumber(degrees.latitude);
    out += "]}, \"properties\": {\"name\": ";
    out += Json(name).dump();
    out += "}}";
  }
  if (!first) out += LineEnd;
  out += "]}";
  out += LineEnd;
}

}  // namespace navorix::exchange
