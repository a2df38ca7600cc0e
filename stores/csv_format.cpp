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

constexpr std::array<std::string_view, 7> NameHeaders = {"name",     "ident", "identifier", "waypoint",
                                                         "wpt",      "title", "label"};
constexpr std::array<std::string_view, 2> LatitudeHeaders = {"lat", "latitude"};
constexpr std::array<std::string_view, 4> LongitudeHeaders = {"lon", "long", "lng", "longitude"};
constexpr std::array<char, 2> Separators = {',', ';'};
constexpr std::size_t NoColumn = SIZE_MAX;

struct Record {
  std::vector<std::string> fields;
  std::uint64_t line = 0;   // where it begins
  bool unclosed = false;    // a quoted field ran to the end of the text
};

class RecordReader {
 public:
  RecordReader(std::string_view Text, char Separator) : text_(Text), separator_(Separator) {}

  // The next record; false at the end of the text.
  bool Next(Record& Out) {
    if (pos_ >= text_.size()) return false;
    Out.fields.assign(1, std::string());
    Out.line = line_;
    Out.unclosed = false;
    bool quoted = false;      // inside quotes
    bool fieldStart = true;   // nothing of the field read yet
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (quoted) {
        if (c == '"') {
          if (pos_ < text_.size() && text_[pos_] == '"') {
            Out.fields.back() += '"';
            ++pos_;
          } else {
            quoted = false;
          }
        } else {
          if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) ++line_;
          Out.fields.back() += c;
        }
      } else if (c == separator_) {
        Out.fields.emplace_back();
        fieldStart = true;
        continue;
      } else if (c == '\n' || c == '\r') {
        if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
        return true;
      } else if (c == '"' && fieldStart) {
        quoted = true;
      } else {
        Out.fields.back() += c;
      }
      fieldStart = false;
    }
    Out.unclosed = quoted;
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
bool OneOf(std::string_view Key, const std::array<std::string_view, N>& Names) {
  for (const std::string_view name : Names) {
    if (Key == name) return true;
  }
  return false;
}

struct Columns {
  std::size_t name = NoColumn;
  std::size_t latitude = NoColumn;
  std::size_t longitude = NoColumn;
  bool Found() const { return latitude != NoColumn && longitude != NoColumn; }
};

Columns HeaderColumns(const Record& Header) {
  Columns columns;
  for (std::size_t i = 0; i < Header.fields.size(); ++i) {
    std::string key(TrimmedView(Header.fields[i]));
    for (char& c : key) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    std::size_t* column = nullptr;
    if (OneOf(key, NameHeaders)) column = &columns.name;
    else if (OneOf(key, LatitudeHeaders)) column = &columns.latitude;
    else if (OneOf(key, LongitudeHeaders)) column = &columns.longitude;
    if (column != nullptr && *column == NoColumn) *column = i;
  }
  return columns;
}

// The first record that is not blank, read with Separator.
bool FirstRecord(RecordReader& Reader, Record& Out) {
  while (Reader.Next(Out)) {
    if (!Blank(Out)) return true;
  }
  return false;
}

// The header columns and the separator of Text; false when no separator
// gives a header with a latitude and a longitude column.
bool FindHeader(std::string_view Text, char& Separator, Columns& Found) {
  for (const char separator : Separators) {
    RecordReader reader(Text, separator);
    Record header;
    if (!FirstRecord(reader, header)) return false;
    const Columns columns = HeaderColumns(header);
    if (columns.Found()) {
      Separator = separator;
      Found = columns;
      return true;
    }
  }
  return false;
}

// A coordinate field as the coordinate reader takes it: Windows-1252, and
// where ";" separates the fields a decimal comma made a point.
std::string CoordinateText(const std::string& Field, bool Utf8, char Separator) {
  std::string text = AsCp1252(Field, Utf8);
  if (Separator == ';' && text.find('.') == std::string::npos) {
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos && text.find(',', comma + 1) == std::string::npos) text[comma] = '.';
  }
  return text;
}

std::string QuotedField(std::string_view Field) {
  if (Field.find_first_of(",;\"\r\n") == std::string_view::npos) return std::string(Field);
  std::string quoted = "\"";
  for (const char c : Field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

bool FindCsvHeader(std::string_view Text, char& Separator) {
  Columns columns;
  return FindHeader(Text, Separator, columns);
}

ImportResult ImportCsv(std::string_view Text, ImportCollector& Collector) {
  char separator = ',';
  Columns columns;
  if (!FindHeader(Text, separator, columns)) {
    return Collector.Fail(
        "CSV: the first line names no latitude and longitude columns (lat, lon)");
  }
  const bool utf8 = IsUtf8(Text);
  RecordReader reader(Text, separator);
  Record record;
  FirstRecord(reader, record);  // the header
  const TEarthModel& earth = Collector.Settings().earth;
  while (reader.Next(record)) {
    if (Blank(record)) continue;
    const EntryPlace place{record.line, nullptr};
    if (record.unclosed) {
      Collector.Refuse(place, "a quoted field is not closed");
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
      Collector.Refuse(place, "no latitude field");
    } else if (lonField == nullptr) {
      Collector.Refuse(place, "no longitude field");
    } else if (!ReadCoordinateText(CoordinateText(*latField, utf8, separator), TAxis::Latitude,
                                   TPlusDir::NorthEast, lat, reason) ||
               !ReadCoordinateText(CoordinateText(*lonField, utf8, separator), TAxis::Longitude,
                                   TPlusDir::NorthEast, lon, reason)) {
      Collector.Refuse(place, reason);
    } else {
      const std::string* name = field(columns.name);
      Collector.Take(place, name != nullptr ? AsUtf8(*name, utf8) : std::string(),
                     PosFromLatLon(earth, lat, lon));
    }
  }
  return Collector.Finish([](const EntryPlace& place) { return LineText(place.at); });
}

void ExportCsv(const TFixDB& Fixes, const TEarthModel& Earth, std::string& Out) {
  Out += "Name,Latitude,Longitude";
  Out += LineEnd;
  std::string name;
  // A 16-bit counter would wrap at a full database of 65535 fixes.
  for (std::uint32_t pos = 1; pos <= Fixes.Count(); ++pos) {
    const FixRecord fix = Fixes.Get(static_cast<std::uint16_t>(pos));
    if (!fix.Valid) continue;
    const DegreeTexts degrees = ExportDegrees(Earth, fix.Position);
    name.clear();
    AppendUtf8(name, fix.Name.View());
    Out += QuotedField(name);
    Out += ',';
    Out += degrees.latitude;
    Out += ',';
    Out += degrees.longitude;
    Out += LineEnd;
  }
}

}  // namespace navorix::exchange
