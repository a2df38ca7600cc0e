#include "text/display_options.h"

#include <type_traits>

namespace navorix {

namespace {

template <auto Member>
int Get(const TDisplayOptions& Options) {
  return Index(Options.*Member);
}

// Value is one of the option's numbers (0 .. Count - 1).
template <auto Member>
void Set(TDisplayOptions& Options, int Value) {
  using TValue = std::remove_cvref_t<decltype(Options.*Member)>;
  Options.*Member = static_cast<TValue>(Value);
}

}  // namespace

const TDisplayOptionInfo DisplayOptionTable[DisplayOptionCount] = {
    {TDisplayOption::LatLonFormat, "LatLonFormat", LatLonFormatCount, FormatNames,
     "Lat/Lon &Format: ", TOptionEffect::Rows, Get<&TDisplayOptions::LatLonFormat>,
     Set<&TDisplayOptions::LatLonFormat>},
    {TDisplayOption::AzimFormat, "AzimFormat", AzimFormatCount, FormatNames, "&Azimuth Format: ",
     TOptionEffect::None, Get<&TDisplayOptions::AzimFormat>, Set<&TDisplayOptions::AzimFormat>},
    {TDisplayOption::PlusDir, "PlusDir", PlusDirCount, PlusDirNames, "&Plus coordinates: ",
     TOptionEffect::None, Get<&TDisplayOptions::PlusDir>, Set<&TDisplayOptions::PlusDir>},
    {TDisplayOption::Precision, "Precision", PrecisionCount, PrecisionNames, "&Display Accuracy: ",
     TOptionEffect::Rows, Get<&TDisplayOptions::Precision>, Set<&TDisplayOptions::Precision>},
    {TDisplayOption::DistUnits, "DistUnits", DistUnitsCount, DistUnitsNames, "Distance &Units: ",
     TOptionEffect::NextFixOn, Get<&TDisplayOptions::DistUnits>, Set<&TDisplayOptions::DistUnits>},
    {TDisplayOption::AzimRange, "AzimRange", AzimRangeCount, AzimRangeNames, "Azimuth Range: ",
     TOptionEffect::None, Get<&TDisplayOptions::AzimRange>, Set<&TDisplayOptions::AzimRange>},
};

std::string OptionCaption(TDisplayOption Option, const TDisplayOptions& Options) {
  const TDisplayOptionInfo& info = OptionInfo(Option);
  const int value = info.Get(Options);
  return std::string(info.CaptionPrefix) + info.Names[value >= 0 && value < info.Count ? value : 0];
}

}  // namespace navorix
