// The workbench's side of the two input dialogs: the fix being added or
// edited (its start, its check and its storing) and the operand fields of an
// operation (each field's check, name completion).
#include "workbench/workbench.h"

#include <exception>
#include <string>

#include "geometry/error.h"
#include "text/fix_names.h"
#include "text/format.h"
#include "text/parse.h"
#include "text/text_helpers.h"
#include "workbench/texts.h"

namespace navorix {

// ------------------------------------------------------------ fix dialog

FixEdit Workbench::BeginFixEdit(bool addButton) const {
  FixEdit edit;
  edit.pos = currentRow_ + 1;
  edit.isNew = addButton || edit.pos > fixes_.Count();
  edit.caption = edit.isNew ? NewFixCaption : EditFixCaption;
  if (edit.isNew) {
    edit.start = pending_;
  } else {
    edit.editPos = static_cast<std::uint16_t>(edit.pos);
    edit.start = fixes_.Get(edit.editPos);
  }
  if (!edit.start.name.Empty()) {
    edit.name = FixName(edit.start);
    const std::string coordinates = SquashBlanks(
        FormatLatLon(settings_.display, settings_.earth, edit.start, settings_.display.precision), false);
    const std::size_t blank = coordinates.find(' ');
    edit.latitude = coordinates.substr(0, blank);
    if (blank != std::string::npos) edit.longitude = coordinates.substr(blank + 1);
  }
  return edit;
}

FixCheck Workbench::CheckFixInput(const FixEdit& edit, std::string_view name, std::string_view latitude,
                                  std::string_view longitude) {
  FixCheck check;
  check.name.assign(name);
  check.nameBad = !IsValidFixName(check.name);
  // The name in use is reported before any field is marked, even for a name
  // that is not valid; a fix may keep its own name.
  const std::uint16_t owner = fixes_.FindName(check.name);
  if (owner != 0 && owner != edit.editPos) {
    check.nameInUse = true;
    ShowError(msg::NameInUse);
    return check;
  }
  long double lat = 0.0L;
  long double lon = 0.0L;
  const PlusDir plus = settings_.display.plusDir;
  check.latitudeBad = !ParseCoord(plus, latitude, Axis::Latitude, lat);
  check.longitudeBad = !ParseCoord(plus, longitude, Axis::Longitude, lon);
  if (check.Passed()) check.position = PosFromLatLon(settings_.earth, lat, lon);
  return check;
}

bool Workbench::StoreFix(const FixEdit& edit, const FixCheck& check, std::string_view latitude,
                         std::string_view longitude) {
  if (!check.Passed()) return false;
  // Coordinates left as they were shown keep the position they came from:
  // the shown text is rounded to the display accuracy.
  const bool unchanged = latitude == edit.latitude && longitude == edit.longitude;
  try {
    FixRecord fix = edit.start;
    MakeFix(fix, unchanged ? edit.start.position : check.position, check.name);
    // A stored position is a unit vector only to a rounding: scaled to unit
    // length once more it can move by its last bits, and every rename would
    // move it again. MakeFix has refused a start without a position.
    if (unchanged) fix.position = edit.start.position;
    if (fixes_.Count() < edit.pos) {
      AddFix(fix);
    } else if (edit.isNew) {
      InsertFix(fix, edit.pos);
      pending_ = FixRecord{};
    } else {
      ReplaceFix(fix, static_cast<std::uint16_t>(edit.pos));
    }
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  return true;
}

// -------------------------------------------------------- operand dialog

FieldCheck Workbench::CheckOperandField(FieldKind kind, std::string_view text) const {
  FieldCheck check;
  if (text.empty()) return check;
  switch (kind) {
    case FieldKind::Fix:
      check.fix = fixes_.FindName(text);
      // An entry whose line did not read has no position to compute with.
      check.valid = check.fix != 0 && fixes_.Get(check.fix).valid;
      break;
    case FieldKind::Distance:
      check.valid = ParseDistanceText(text, check.number);
      break;
    case FieldKind::Azimuth:
      check.valid = ParseAzimuthText(text, check.number);
      break;
  }
  return check;
}

std::uint16_t Workbench::CompleteName(std::string_view prefix, std::uint16_t start, std::string& name) const {
  const std::uint16_t found = fixes_.FindPrefix(prefix, start);
  name = found != 0 ? FixName(fixes_.Get(found)) : std::string();
  return found;
}

}  // namespace navorix
