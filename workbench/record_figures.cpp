#include "workbench/record_figures.h"

#include <algorithm>
#include <iterator>

#include "geometry/great_circle.h"

namespace navorix {

namespace {

Figure FromText(const LogList& log, std::uint16_t N, const FixDatabase& fixes, const EarthModel& earth) {
  return RecoverFigure(log.GetLine(N, 1), log.GetLine(N, 2), log.GetLine(N, 3), fixes, earth);
}

}  // namespace

void RecordFigures::Logged(const LogList& log, const FixDatabase& fixes, const EarthModel& earth,
                           const std::optional<Vector3>& proposed) {
  // The log drops its first record when it is full; so do the figures.
  while (!kept_.empty() && kept_.size() >= log.Count()) kept_.pop_front();
  while (kept_.size() + 1 < log.Count()) kept_.push_front(nullptr);
  Figure figure = FromText(log, log.Count(), fixes, earth);
  figure.recovered = false;
  if (proposed && !figure.results.empty()) {
    // The proposal is one of the printed points (the near intersection, the
    // first of two): the one printed nearest to it.
    auto nearest = std::min_element(
        figure.results.begin(), figure.results.end(), [&](const FigureResult& a, const FigureResult& b) {
          return VectorAngle(a.position, *proposed) < VectorAngle(b.position, *proposed);
        });
    nearest->position = *proposed;
  }
  kept_.push_back(std::make_shared<const Figure>(std::move(figure)));
}

void RecordFigures::Deleted(std::uint16_t N) {
  if (N >= 1 && N <= kept_.size()) kept_.erase(kept_.begin() + (N - 1));
}

Figure RecordFigures::Of(const LogList& log, std::uint16_t N, const FixDatabase& fixes,
                         const EarthModel& earth) const {
  if (N < 1 || N > log.Count()) return {};
  if (Kept(N)) return *kept_[N - 1];
  return FromText(log, N, fixes, earth);
}

bool RecordFigures::Kept(std::uint16_t N) const {
  return N >= 1 && N <= kept_.size() && kept_[N - 1] != nullptr;
}

}  // namespace navorix
