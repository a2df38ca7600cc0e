// CSV: a header line naming the columns, then one fix per record.
//
// Notation:
//   record   one line, or several when a quoted field holds line breaks
//   quoting  as RFC 4180 has it: a field in double quotes may hold the
//            separator, line breaks and doubled quotes; a quote inside an
//            unquoted field is an ordinary character (seconds are written
//            so: 48 51'24.12")
//
// Header names, in any case and order (other columns are passed over):
//   name       name, ident, identifier, waypoint, wpt, title, label
//   latitude   lat, latitude
//   longitude  lon, long, lng, longitude
// Without a name column every fix is named by the rule for unnamed entries.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "stores/exchange_degrees.h"
#include "stores/exchange_formats.h"
#include "text/cp1252.h"
#include "text/text_helpers.h"

namespace navorix::exchange {
namespace {

constexpr std::array<std::string_view, 7> NameHeaders = {"name", "ident", "identifier", "waypoint",
                                                         "wpt",  "title", "label"};
constexpr std::array<std::string_view, 2> LatitudeHeaders = {"lat", "latitude"};
constexpr std::array<std::string_view, 4> LongitudeHeaders = {"lon", "long", "lng", "longitude"};
constexpr std::array<char, 2> Separators = {',', ';'};
constexpr std::size_t NoColumn = SIZE_MAX;

struct Record {
  std::vector<std::string> fields;
  std::uint64_t line = 0;  // where it begins
  bool unclosed = false;   // a quoted field ran to the end of the text
};

class RecordReader {
 public:
  RecordReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

  // The next record; false at the end of the text.
  bool Next(Record& out) {
    if (pos_ >= text_.size()) return false;
    out.fields.assign(1, std::string());
    out.line = line_;
    out.unclosed = false;
    bool quoted = false;     // inside quotes
    bool fieldStart = true;  // nothing of the field read yet
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (quoted) {
        if (c == '"') {
          if (pos_ < text_.size() && text_[pos_] == '"') {
            out.fields.back() += '"';
            ++pos_;
          } else {
            quoted = false;
          }
        } else {
          if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) ++line_;
          out.fields.back() += c;
        }
      } else if (c == separator_) {
        out.fields.emplace_back();
        fieldStart = true;
        continue;
      } else if (c == '\n' || c == '\r') {
        if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
        return true;
      } else if (c == '"' && fieldStart) {
        quoted = true;
      } else {
        out.fields.back() += c;
      }
      fieldStart = false;
    }
    out.unclosed = quoted;
    return true;
  }

 private:
  std::string_view text_;
  char separator_;
  std::size_t pos_ = 0;
  std::uint64_t line_ = 1;
};

bool Blank(const Record& R) {
  for (const std::string& field : R.fields) {
    if (!TrimmedView(field).empty()) return false;
  }
  return true;
}

template <std::size_t N>
bool OneOf(std::string_view key, const std::array<std::string_view, N>& names) {
  for (const std::string_view name : names) {
    if (key == name) return true;
  }
  return false;
}

struct Columns {
  std::size_t name = NoColumn;
  std::size_t latitude = NoColumn;
  std::size_t longitude = NoColumn;
  bool Found() const { return latitude != NoColumn && longitude != NoColumn; }
};

Columns HeaderColumns(const Record& header) {
  Columns columns;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    std::string key(TrimmedView(header.fields[i]));
    for (char& c : key) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    std::size_t* column = nullptr;
    if (OneOf(key, NameHeaders))
      column = &columns.name;
    else if (OneOf(key, LatitudeHeaders))
      column = &columns.latitude;
    else if (OneOf(key, LongitudeHeaders))
      column = &columns.longitude;
    if (column != nullptr && *column == NoColumn) *column = i;
  }
  return columns;
}

// The first record that is not blank, read with Separator.
bool FirstRecord(RecordReader& reader, Record& out) {
  while (reader.Next(out)) {
    if (!Blank(out)) return true;
  }
  return false;
}

// The header columns and the separator of text; false when no separator
// gives a header with a latitude and a longitude column.
bool FindHeader(std::string_view text, char& separatorFound, Columns& found) {
  for (const char separator : Separators) {
    RecordReader reader(text, separator);
    Record header;
    if (!FirstRecord(reader, header)) return false;
    const Columns columns = HeaderColumns(header);
    if (columns.Found()) {
      separatorFound = separator;
      found = columns;
      return true;
    }
  }
  return false;
}

// A coordinate field as the coordinate reader takes it: Windows-1252, and
// where ";" separates the fields a decimal comma made a point.
std::string CoordinateText(const std::string& field, bool utf8, char separator) {
  std::string text = AsCp1252(field, utf8);
  if (separator == ';' && text.find('.') == std::string::npos) {
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos && text.find(',', comma + 1) == std::string::npos) text[comma] = '.';
  }
  return text;
}

std::string QuotedField(std::string_view field) {
  if (field.find_first_of(",;\"\r\n") == std::string_view::npos) return std::string(field);
  std::string quoted = "\"";
  for (const char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

bool FindCsvHeader(std::string_view text, char& separator) {
  Columns columns;
  return FindHeader(text, separator, columns);
}

ImportResult ImportCsv(std::string_view text, ImportCollector& collector) {
  char separator = ',';
  Columns columns;
  if (!FindHeader(text, separator, columns)) {
    return collector.Fail("CSV: the first line names no latitude and longitude columns (lat, lon)");
  }
  const bool utf8 = IsUtf8(text);
  RecordReader reader(text, separator);
  Record record;
  FirstRecord(reader, record);  // the header
  const EarthModel& earth = collector.Settings().earth;
  while (reader.Next(record)) {
    if (Blank(record)) continue;
    const EntryPlace place{record.line, nullptr};
    if (record.unclosed) {
      collector.Refuse(place, "a quoted field is not closed");
      break;
    }
    auto field = [&](std::size_t column) -> const std::string* {
      return column < record.fields.size() ? &record.fields[column] : nullptr;
    };
    const std::string* latField = field(columns.latitude);
    const std::string* lonField = field(columns.longitude);
    long double lat = 0.0L;
    long double lon = 0.0L;
    std::string reason;
    if (latField == nullptr) {
      collector.Refuse(place, "no latitude field");
    } else if (lonField == nullptr) {
      collector.Refuse(place, "no longitude field");
    } else if (!ReadCoordinateText(CoordinateText(*latField, utf8, separator), Axis::Latitude,
                                   PlusDir::NorthEast, lat, reason) ||
               !ReadCoordinateText(CoordinateText(*lonField, utf8, separator), Axis::Longitude,
                                   PlusDir::NorthEast, lon, reason)) {
      collector.Refuse(place, reason);
    } else {
      const std::string* name = field(columns.name);
      collector.Take(place, name != nullptr ? AsUtf8(*name, utf8) : std::string(),
                     PosFromLatLon(earth, lat, lon));
    }
  }
  return collector.Finish([](const EntryPlace& place) { return LineText(place.at); });
}

void ExportCsv(const FixDatabase& fixes, const EarthModel& earth, std::string& out) {
  out += "Name,Latitude,Longitude";
  out += LineEnd;
  std::string name;
  // A 16-bit counter would wrap at a full database of 65535 fixes.
  for (std::uint32_t pos = 1; pos <= fixes.Count(); ++pos) {
    const FixRecord fix = fixes.Get(static_cast<std::uint16_t>(pos));
    if (!fix.valid) continue;
    const DegreeTexts degrees = ExportDegrees(earth, fix.position);
    name.clear();
    AppendUtf8(name, fix.name.View());
    out += QuotedField(name);
    out += ',';
    out += degrees.latitude;
    out += ',';
    out += degrees.longitude;
    out += LineEnd;
  }
}

}  // namespace navorix::exchange
