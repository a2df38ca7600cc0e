#include "workbench/record_figures.h"

#include <algorithm>
#include <iterator>

#include "geometry/great_circle.h"

namespace navorix {

namespace {

Figure FromText(const TLogList& Log, std::uint16_t N, const TFixDB& Fixes, const TEarthModel& Earth) {
  return RecoverFigure(Log.GetLine(N, 1), Log.GetLine(N, 2), Log.GetLine(N, 3), Fixes, Earth);
}

}  // namespace

void TRecordFigures::Logged(const TLogList& Log, const TFixDB& Fixes, const TEarthModel& Earth,
                            const std::optional<TTriV>& Proposed) {
  // The log drops its first record when it is full; so do the figures.
  while (!kept_.empty() && kept_.size() >= Log.Count()) kept_.pop_front();
  while (kept_.size() + 1 < Log.Count()) kept_.push_front(nullptr);
  Figure figure = FromText(Log, Log.Count(), Fixes, Earth);
  figure.recovered = false;
  if (Proposed && !figure.results.empty()) {
    // The proposal is one of the printed points (the near intersection, the
    // first of two): the one printed nearest to it.
    auto nearest = std::min_element(figure.results.begin(), figure.results.end(),
                                     [&](const FigureResult& a, const FigureResult& b) {
                                       return VectorAngle(a.position, *Proposed) < VectorAngle(b.position, *Proposed);
                                     });
    nearest->position = *Proposed;
  }
  kept_.push_back(std::make_shared<const Figure>(std::move(figure)));
}

void TRecordFigures::Deleted(std::uint16_t N) {
  if (N >= 1 && N <= kept_.size()) kept_.erase(kept_.begin() + (N - 1));
}

Figure TRecordFigures::Of(const TLogList& Log, std::uint16_t N, const TFixDB& Fixes,
                          const TEarthModel& Earth) const {
  if (N < 1 || N > Log.Count()) return {};
  if (Kept(N)) return *kept_[N - 1];
  return FromText(Log, N, Fixes, Earth);
}

bool TRecordFigures::Kept(std::uint16_t N) const {
  return N >= 1 && N <= kept_.size() && kept_[N - 1] != nullptr;
}

}  // namespace navorix
