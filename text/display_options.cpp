#include "text/display_options.h"

#include <type_traits>

namespace navorix {

namespace {

template <auto Member>
int Get(const DisplayOptions& options) {
  return Index(options.*Member);
}

// Value is one of the option's numbers (0 .. Count - 1).
template <auto Member>
void Set(DisplayOptions& options, int value) {
  using Value = std::remove_cvref_t<decltype(options.*Member)>;
  options.*Member = static_cast<Value>(value);
}

}  // namespace

const DisplayOptionInfo DisplayOptionTable[DisplayOptionCount] = {
    {DisplayOption::LatLonFormat, "LatLonFormat", LatLonFormatCount, FormatNames, "Lat/Lon &Format: ",
     OptionEffect::Rows, Get<&DisplayOptions::latLonFormat>, Set<&DisplayOptions::latLonFormat>},
    {DisplayOption::AzimFormat, "AzimFormat", AzimFormatCount, FormatNames, "&Azimuth Format: ",
     OptionEffect::None, Get<&DisplayOptions::azimFormat>, Set<&DisplayOptions::azimFormat>},
    {DisplayOption::PlusDir, "PlusDir", PlusDirCount, PlusDirNames, "&Plus coordinates: ", OptionEffect::None,
     Get<&DisplayOptions::plusDir>, Set<&DisplayOptions::plusDir>},
    {DisplayOption::Precision, "Precision", PrecisionCount, PrecisionNames, "&Display Accuracy: ",
     OptionEffect::Rows, Get<&DisplayOptions::precision>, Set<&DisplayOptions::precision>},
    {DisplayOption::DistUnits, "DistUnits", DistUnitsCount, DistUnitsNames, "Distance &Units: ",
     OptionEffect::NextFixOn, Get<&DisplayOptions::distUnits>, Set<&DisplayOptions::distUnits>},
    {DisplayOption::AzimRange, "AzimRange", AzimRangeCount, AzimRangeNames,
     "Azimuth Range: ", OptionEffect::None, Get<&DisplayOptions::azimRange>, Set<&DisplayOptions::azimRange>},
};

std::string OptionCaption(DisplayOption option, const DisplayOptions& options) {
  const DisplayOptionInfo& info = OptionInfo(option);
  const int value = info.get(options);
  return std::string(info.captionPrefix) + info.names[value >= 0 && value < info.count ? value : 0];
}

}  // namespace navorix
