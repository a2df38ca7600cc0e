// The pieces the importers and exporters of stores/fix_exchange.h share;
// not for use outside the stores.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "stores/fix_exchange.h"
#include "stores/import_names.h"
#include "text/parse.h"

namespace navorix::exchange {

// Where an entry is: a number the format gives a meaning (a line, a byte
// offset, a feature number) and, for GPX, the element.
struct EntryPlace {
  std::uint64_t at = 0;
  const char* element = nullptr;
};

// Gathers the entries of one import in input order: names them by the rule,
// keeps count of the room, and notes every renamed and refused entry.
class ImportCollector {
 public:
  ImportCollector(ExchangeFormat format, const ImportSettings& settings, const FixDatabase& into);

  const ImportSettings& Settings() const { return settings_; }

  // An entry named Name (UTF-8; empty for none) at position.
  void Take(const EntryPlace& place, std::string_view given, const Vector3& position);
  // An entry that is not imported, and why.
  void Refuse(const EntryPlace& place, std::string reason);
  void CountTrackPoints(std::uint32_t count) { result_.trackPoints += count; }
  // Nothing is imported: the input as a whole is unusable.
  ImportResult Fail(std::string failure);
  // The result, every place put in words by placeText.
  ImportResult Finish(const std::function<std::string(const EntryPlace&)>& placeText);

 private:
  struct Renamed {
    EntryPlace place;
    std::string original;
    std::string name;
    RenameReason reason;
  };
  struct Refused {
    EntryPlace place;
    std::string reason;
  };

  ImportSettings settings_;
  ImportNames names_;
  std::uint32_t room_;
  std::uint32_t ordinal_ = 0;  // entries so far
  ImportResult result_;
  std::vector<Renamed> renamed_;
  std::vector<Refused> refused_;
};

// "line N" for a line number.
std::string LineText(std::uint64_t line);

// Text shortened for a message: at most a few dozen characters, "..." where
// it was cut.
std::string Quoted(std::string_view text);

// True when text is well-formed UTF-8.
bool IsUtf8(std::string_view text);
// Text as Windows-1252: itself when it is not UTF-8, else converted ("?"
// for a character the code page lacks).
std::string AsCp1252(std::string_view text, bool isUtf8Text);
// Text as UTF-8: itself when it is UTF-8, else converted from Windows-1252.
std::string AsUtf8(std::string_view text, bool isUtf8Text);

// Signed decimal degrees of a GPX attribute or a JSON number's text for
// axis; false with reason ("latitude "x" is no number", "longitude 181 is
// beyond 180 degrees") when it is not one or is out of range.
bool ReadDegrees(std::string_view written, Axis axis, long double& degrees, std::string& reason);

// Radians of a coordinate text (Windows-1252) as the fix input dialog reads
// it, small letters as capitals, a sign or bare number by plusDir; false
// with reason as ReadDegrees.
bool ReadCoordinateText(std::string_view written, Axis axis, PlusDir plusDir, long double& result,
                        std::string& reason);

ImportResult ImportGpx(std::string_view text, ImportCollector& collector);
ImportResult ImportCsv(std::string_view text, ImportCollector& collector);
ImportResult ImportGeoJson(std::string_view text, ImportCollector& collector);
ImportResult ImportFixLines(std::string_view text, ImportCollector& collector);

// The header of a CSV text: true when its first line names a latitude and
// a longitude column, with separator ("," or ";") set.
bool FindCsvHeader(std::string_view text, char& separator);

void ExportGpx(const FixDatabase& fixes, const EarthModel& earth, std::string& out);
void ExportCsv(const FixDatabase& fixes, const EarthModel& earth, std::string& out);
void ExportGeoJson(const FixDatabase& fixes, const EarthModel& earth, std::string& out);

inline constexpr std::string_view LineEnd = "\r\n";

}  // namespace navorix::exchange
