// Sets of polylines kept in one array each: the paths of the chart on the
// sphere before projection, and the polylines in pixels after it.
//
// Notation:
//   path    a sequence of points drawn as straight pieces between
//           neighbours; a closed path also joins its last point to its first
//   open    the path being built: points are added to it until End
//
// Path i holds the points from End(i - 1) (0 for the first) up to End(i).
// Clear keeps the capacity, so that a picture drawn again allocates nothing
// once the arrays have grown to its size.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/vector.h"

namespace navorix {

// Whether a path returns to its first point.
enum class PathShape : std::uint8_t { Open, Closed };

// A point of a picture, in pixels: u to the right, v down, (0, 0) the top
// left corner of the picture.
struct PixelPoint {
  long double u = 0.0L;
  long double v = 0.0L;
};

template <typename Point>
class PathSet {
 public:
  // Drops every path, the open one too.
  void Clear() {
    points_.clear();
    ends_.clear();
    shapes_.clear();
    open_ = 0;
  }
  // Number of finished paths.
  std::size_t Count() const { return ends_.size(); }
  // Points of all finished paths (the open one excluded).
  std::size_t PointCount() const { return ends_.empty() ? 0 : ends_.back(); }
  std::span<const Point> operator[](std::size_t i) const {
    const std::size_t first = i == 0 ? 0 : ends_[i - 1];
    return {points_.data() + first, ends_[i] - first};
  }
  PathShape Shape(std::size_t i) const { return shapes_[i]; }
  // Points added to the open path so far.
  std::size_t OpenCount() const { return points_.size() - open_; }
  std::span<const Point> Open() const { return {points_.data() + open_, OpenCount()}; }

  // Every point from the first of path first on, the open path's included,
  // to be changed in place.
  std::span<Point> PointsFrom(std::size_t first) {
    const std::size_t begin = first == 0 ? 0 : ends_[first - 1];
    return {points_.data() + begin, points_.size() - begin};
  }

  void Add(const Point& p) { points_.push_back(p); }
  // Finishes the open path; one of fewer than two points draws nothing and
  // is dropped.
  void End(PathShape shape = PathShape::Open) {
    if (OpenCount() < 2) {
      points_.resize(open_);
      return;
    }
    ends_.push_back(points_.size());
    shapes_.push_back(shape);
    open_ = points_.size();
  }
  // Finishes the open path as the start of path first, which must begin
  // with the open path's last point: the two become one path, the last of
  // the set. A ring that a cut has opened is put together again this way.
  void EndInto(std::size_t first) {
    const std::size_t begin = first == 0 ? 0 : ends_[first - 1];
    const std::size_t length = ends_[first] - begin;
    // [first][first + 1 ...][open] becomes [first + 1 ...][open][first], and
    // the first point of path first repeats the open path's last one.
    std::rotate(points_.begin() + static_cast<std::ptrdiff_t>(begin),
                points_.begin() + static_cast<std::ptrdiff_t>(begin + length), points_.end());
    const std::size_t joint = points_.size() - length;
    points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(joint));
    for (std::size_t i = first + 1; i < ends_.size(); ++i) ends_[i - 1] = ends_[i] - length;
    ends_.pop_back();
    shapes_.erase(shapes_.begin() + static_cast<std::ptrdiff_t>(first));
    open_ = ends_.empty() ? 0 : ends_.back();
    End();
  }

 private:
  std::vector<Point> points_;
  std::vector<std::size_t> ends_;
  std::vector<PathShape> shapes_;
  std::size_t open_ = 0;  // first point of the open path
};

using SpherePaths = PathSet<Vector3>;
using PixelPaths = PathSet<PixelPoint>;

}  // namespace navorix
