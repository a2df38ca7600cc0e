// Costs of the ellipsoidal distances and of the sine-cosine, side by side in
// one process with their previous implementations (kept in the tests as the
// reference), with GeographicLib's Geodesic::Inverse on the same pairs and
// the same a and f, and with the C library's sincosl on the same angles.
//
// Every benchmark walks the same list of random pairs (positions uniform on
// the sphere, fixed seed), one pair per iteration, so the times are per call
// and their ratios compare like with like. Pairs for which any routine
// raises (nearly antipodal fixes, where the previous geodesic fails) are left
// out of the list. The *NearAntipode benchmarks walk a second list, of pairs
// within 0.7 degrees of latitude and 1 degree of longitude of each other's
// antipode, all kept: there the previous geodesic converges slowly or runs
// into its limit (its failures are caught and counted).
#include <benchmark/benchmark.h>
#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "geometry/earth_model.h"
#include "geometry/ellipsoid.h"
#include "geometry/error.h"
#include "geometry/great_circle.h"
#include "geometry/numeric.h"
#include "geometry/sincos.h"
#include "tests/geometry/previous_geometry.h"

namespace navorix {
namespace {

constexpr std::size_t PairCount = 4096;  // a power of two: the index wraps by masking
constexpr std::size_t IndexMask = PairCount - 1;

struct Pair {
  Vector3 A, B;
  double lat1, lon1, lat2, lon2;  // degrees, geodetic, for GeographicLib
};

struct BenchInputs {
  EarthModel model;
  std::vector<Pair> pairs;
  std::vector<Pair> nearAntipode;
  std::vector<long double> angles;  // radians, uniform in [-2 pi, +2 pi]

  BenchInputs() {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> turn(-180.0, 180.0);
    // The surface point's geodetic latitude from a z uniform on the sphere.
    auto position = [&](double& latDeg, double& lonDeg) {
      latDeg = std::asin(unit(random)) * 180.0 / 3.14159265358979323846;
      lonDeg = turn(random);
      return PosFromLatLon(model, static_cast<long double>(latDeg) * DegToRad,
                           static_cast<long double>(lonDeg) * DegToRad);
    };
    while (pairs.size() < PairCount) {
      Pair p{};
      p.A = position(p.lat1, p.lon1);
      p.B = position(p.lat2, p.lon2);
      try {
        previous::EllipticArcDist(model.shape, p.A, p.B);
        previous::GeodesicInverse(model.shape, p.A, p.B);
        EllipticArcDist(model.shape, p.A, p.B);
        GeodesicInverse(model.shape, p.A, p.B);
      } catch (const Error&) {
        continue;
      }
      pairs.push_back(p);
    }
    std::uniform_real_distribution<long double> angle(-TwoPi, TwoPi);
    for (std::size_t i = 0; i < PairCount; ++i) angles.push_back(angle(random));
    auto at = [&](double latDeg, double lonDeg) {
      return PosFromLatLon(model, static_cast<long double>(latDeg) * DegToRad,
                           static_cast<long double>(lonDeg) * DegToRad);
    };
    while (nearAntipode.size() < PairCount) {
      Pair p{};
      p.A = position(p.lat1, p.lon1);
      p.lat2 = std::fmax(-90.0, std::fmin(90.0, -p.lat1 + 0.7 * unit(random)));
      p.lon2 = std::remainder(p.lon1 + 180.0 + unit(random), 360.0);
      p.B = at(p.lat2, p.lon2);
      nearAntipode.push_back(p);
    }
  }
};

const BenchInputs& Inputs() {
  static const BenchInputs inputs;
  return inputs;
}

template <typename Call>
void OverPairs(benchmark::State& state, Call call, bool nearAntipode = false) {
  const BenchInputs& in = Inputs();
  const std::vector<Pair>& pairs = nearAntipode ? in.nearAntipode : in.pairs;
  std::size_t i = 0;
  for (auto _ : state) {
    const Pair& p = pairs[i++ & IndexMask];
    call(in.model.shape, p);
  }
  state.SetItemsProcessed(state.iterations());
}

void EllipticArc(benchmark::State& state) {
  OverPairs(state, [](const EarthShape& e, const Pair& p) {
    benchmark::DoNotOptimize(EllipticArcDist(e, p.A, p.B));
  });
}
void EllipticArcPrevious(benchmark::State& state) {
  OverPairs(state, [](const EarthShape& e, const Pair& p) {
    benchmark::DoNotOptimize(previous::EllipticArcDist(e, p.A, p.B));
  });
}
void CentralAngleOnSphere(benchmark::State& state) {
  OverPairs(state,
            [](const EarthShape&, const Pair& p) { benchmark::DoNotOptimize(CentralAngle(p.A, p.B)); });
}
void GeodesicInverseNow(benchmark::State& state) {
  OverPairs(state, [](const EarthShape& e, const Pair& p) {
    benchmark::DoNotOptimize(GeodesicInverse(e, p.A, p.B));
  });
}
void GeodesicDistNow(benchmark::State& state) {
  OverPairs(state,
            [](const EarthShape& e, const Pair& p) { benchmark::DoNotOptimize(GeodesicDist(e, p.A, p.B)); });
}
void GeodesicInversePrevious(benchmark::State& state) {
  OverPairs(state, [](const EarthShape& e, const Pair& p) {
    benchmark::DoNotOptimize(previous::GeodesicInverse(e, p.A, p.B));
  });
}
// GeographicLib in its own double precision, asked for the distance and both
// azimuths (its three-result Inverse), and for the distance alone.
void GeographicLibInverse(benchmark::State& state) {
  const EarthShape& e = Inputs().model.shape;
  const GeographicLib::Geodesic g(static_cast<double>(e.equatRadius * 1000.0L),
                                  static_cast<double>(e.flattening));
  OverPairs(state, [&g](const EarthShape&, const Pair& p) {
    double s12, azi1, azi2;
    g.Inverse(p.lat1, p.lon1, p.lat2, p.lon2, s12, azi1, azi2);
    benchmark::DoNotOptimize(s12);
    benchmark::DoNotOptimize(azi1);
    benchmark::DoNotOptimize(azi2);
  });
}
void GeographicLibDistance(benchmark::State& state) {
  const EarthShape& e = Inputs().model.shape;
  const GeographicLib::Geodesic g(static_cast<double>(e.equatRadius * 1000.0L),
                                  static_cast<double>(e.flattening));
  OverPairs(state, [&g](const EarthShape&, const Pair& p) {
    double s12;
    g.Inverse(p.lat1, p.lon1, p.lat2, p.lon2, s12);
    benchmark::DoNotOptimize(s12);
  });
}

void GeodesicInverseNearAntipode(benchmark::State& state) {
  OverPairs(
      state,
      [](const EarthShape& e, const Pair& p) { benchmark::DoNotOptimize(GeodesicInverse(e, p.A, p.B)); },
      true);
}
void GeodesicInversePreviousNearAntipode(benchmark::State& state) {
  long failed = 0;
  OverPairs(
      state,
      [&failed](const EarthShape& e, const Pair& p) {
        try {
          benchmark::DoNotOptimize(previous::GeodesicInverse(e, p.A, p.B));
        } catch (const Error&) {
          ++failed;
        }
      },
      true);
  // A label, not a counter: the CSV reporter wants every counter in every
  // benchmark.
  const double share = 100.0 * static_cast<double>(failed) / static_cast<double>(state.iterations());
  state.SetLabel(std::to_string(static_cast<int>(share + 0.5)) + " % failed");
}
void GeographicLibInverseNearAntipode(benchmark::State& state) {
  const EarthShape& e = Inputs().model.shape;
  const GeographicLib::Geodesic g(static_cast<double>(e.equatRadius * 1000.0L),
                                  static_cast<double>(e.flattening));
  OverPairs(
      state,
      [&g](const EarthShape&, const Pair& p) {
        double s12, azi1, azi2;
        g.Inverse(p.lat1, p.lon1, p.lat2, p.lon2, s12, azi1, azi2);
        benchmark::DoNotOptimize(s12);
        benchmark::DoNotOptimize(azi1);
        benchmark::DoNotOptimize(azi2);
      },
      true);
}

template <typename Call>
void OverAngles(benchmark::State& state, Call call) {
  const BenchInputs& in = Inputs();
  std::size_t i = 0;
  for (auto _ : state) {
    long double s, c;
    call(in.angles[i++ & IndexMask], s, c);
    benchmark::DoNotOptimize(s);
    benchmark::DoNotOptimize(c);
  }
  state.SetItemsProcessed(state.iterations());
}

void SinCosNow(benchmark::State& state) {
  OverAngles(state, [](long double x, long double& s, long double& c) { SinCos(x, s, c); });
}
void SinCosPrevious(benchmark::State& state) {
  OverAngles(state, [](long double x, long double& s, long double& c) { previous::SinCos(x, s, c); });
}
void LibrarySinCosL(benchmark::State& state) {
  OverAngles(state, [](long double x, long double& s, long double& c) { ::sincosl(x, &s, &c); });
}

BENCHMARK(EllipticArc);
BENCHMARK(EllipticArcPrevious);
BENCHMARK(CentralAngleOnSphere);
BENCHMARK(GeodesicInverseNow)->Name("GeodesicInverse");
BENCHMARK(GeodesicDistNow)->Name("GeodesicDist");
BENCHMARK(GeodesicInversePrevious);
BENCHMARK(GeographicLibInverse);
BENCHMARK(GeographicLibDistance);
BENCHMARK(GeodesicInverseNearAntipode);
BENCHMARK(GeodesicInversePreviousNearAntipode);
BENCHMARK(GeographicLibInverseNearAntipode);
BENCHMARK(SinCosNow)->Name("SinCos");
BENCHMARK(SinCosPrevious);
BENCHMARK(LibrarySinCosL)->Name("sincosl");

}  // namespace
}  // namespace navorix

BENCHMARK_MAIN();
