// The fonts the windows ask for, by family name. On Linux fontconfig
// answers "Courier New" with a metric-compatible face (Liberation Mono) and
// the others with the closest installed family; the style hint keeps the
// fixed-pitch requests fixed-pitch when the family is missing.
#pragma once

#include "stores/app_data.h"
#include "stores/settings.h"

#include <QFont>

namespace navorix {

// PropFontFamily and FixedFontFamily come with the program's data
// (app_data.h); the error box's family is the window's own.
inline constexpr const char* ErrorFontFamily = "Lucida Console";

inline constexpr int DefaultPropFontSize = DefaultFontSize;  // points
inline constexpr int DefaultMenuFontSize = DefaultFontSize;  // points
// Font sizes a setting may choose (MinFontSize..MaxFontSize); any other
// value leaves the size alone.
bool isFontSize(int pointSize);

// The proportional font of the windows and dialogs.
QFont propFont(int pointSize = DefaultPropFontSize);
// The menu font: the proportional family, regular.
QFont menuFont(int pointSize = DefaultMenuFontSize);

// A fixed-pitch font of family whose line (ascent + descent) is at most
// pixels high: the size in which Windows states a font's height in pixels.
QFont fixedFontOfHeight(int pixels, bool bold, const char* family = FixedFontFamily);

}  // namespace navorix
