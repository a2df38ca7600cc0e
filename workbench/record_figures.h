// The figures of the log's records, kept beside the log: a record made in
// this session keeps the figure of its operation as it was when it ran, so
// the chart still draws it after its fixes are edited, moved or deleted; a
// record read from the history file has only its text, and its figure is
// recovered from that text and the fixes of the moment whenever it is
// shown.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>

#include "operations/figure.h"
#include "stores/log_list.h"

namespace navorix {

class RecordFigures {
 public:
  // A record was appended to log, of which it is the last; the first was
  // dropped when the log was full. Its figure is taken from its lines and
  // the fixes that it names now, with the proposed point (when there is
  // one) at its full precision instead of the printed one.
  void Logged(const LogList& log, const FixDatabase& fixes, const EarthModel& earth,
              const std::optional<Vector3>& proposed);
  // Record N (1..) was deleted from the log.
  void Deleted(std::uint16_t N);
  void Cleared() { kept_.clear(); }
  // Log was read anew from the history file: every record's figure is
  // recovered from its text when asked for.
  void Reread(const LogList& log) { kept_.assign(log.Count(), nullptr); }

  // The figure of record N of log: kept, or recovered from its text now;
  // an empty figure for a record that does not exist.
  Figure Of(const LogList& log, std::uint16_t N, const FixDatabase& fixes, const EarthModel& earth) const;
  // Whether record N has a figure kept from when it ran.
  bool Kept(std::uint16_t N) const;

 private:
  // nullptr: recovered from the record's text when asked for.
  std::deque<std::shared_ptr<const Figure>> kept_;
};

}  // namespace navorix
