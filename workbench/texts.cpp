#include "workbench/texts.h"

namespace navorix {

namespace {

// The last line of the questions before a status file is replaced; none
// when nothing will be kept.
std::string KeptNote(std::string_view KeptAs) {
  if (KeptAs.empty()) return {};
  return "|(The old file is kept as " + std::string(KeptAs) + ".)";
}

}  // namespace

std::string IncompleteFileQuestion(std::string_view FileName, std::string_view KeptAs) {
  return std::string(FileName) +
         " could not be read completely.|Replace it with what Navorix shows now?" +
         KeptNote(KeptAs);
}

std::string ChangedFileQuestion(std::string_view FileName, std::string_view KeptAs) {
  return std::string(FileName) +
         " was changed on the disk|since Navorix last read or saved it.|"
         "Replace it with what Navorix shows now?" +
         KeptNote(KeptAs);
}

std::string SharedFileQuestion(std::string_view FileName, std::string_view KeptAs) {
  return "Another copy of Navorix uses the same data directory.|Replace its " +
         std::string(FileName) + " with what this copy shows?" + KeptNote(KeptAs);
}

std::string DeleteRecordQuestion(std::uint16_t Record) {
  return "Delete log record No. " + std::to_string(Record) + "?";
}

std::string DeleteFixQuestion(std::string_view Name) {
  return "Delete fix " + std::string(Name) + " from the database?";
}

std::string OptionCaption(TOptionMenu Menu, const TDisplayOptions& Options) {
  // Values outside an enumeration (only a cast makes them) show the first name.
  auto name = [](const char* const* Names, int Count, int Value) {
    return Names[Value >= 0 && Value < Count ? Value : 0];
  };
  const char* const unitNames[DistUnitsCount] = {DistUnitTable[0].Name, DistUnitTable[1].Name,
                                                 DistUnitTable[2].Name, DistUnitTable[3].Name};
  switch (Menu) {
    case TOptionMenu::LatLonFormat:
      return std::string("Lat/Lon &Format: ") +
             name(FormatNames, LatLonFormatCount, Index(Options.LatLonFormat));
    case TOptionMenu::AzimFormat:
      return std::string("&Azimuth Format: ") +
             name(FormatNames, AzimFormatCount, Index(Options.AzimFormat));
    case TOptionMenu::PlusDir:
      return std::string("&Plus coordinates: ") +
             name(PlusDirNames, PlusDirCount, Index(Options.PlusDir));
    case TOptionMenu::Precision:
      return std::string("&Display Accuracy: ") +
             name(PrecisionNames, PrecisionCount, Index(Options.Precision));
    case TOptionMenu::DistUnits:
      return std::string("Distance &Units: ") +
             name(unitNames, DistUnitsCount, Index(Options.DistUnits));
    case TOptionMenu::AzimRange:
      return std::string("Azimuth Range: ") +
             name(AzimRangeNames, AzimRangeCount, Index(Options.AzimRange));
  }
  return {};
}

}  // namespace navorix
