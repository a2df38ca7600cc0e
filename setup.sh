#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks, builds Navorix, and then either
# starts it or runs the whole test suite.
#   bash setup.sh start   build the two programs (navorix, navorix-batch) and
#                         start the window
#   bash setup.sh test    build everything and run every test: the suite, the
#                         suite again under AddressSanitizer and
#                         UndefinedBehaviorSanitizer (build-asan), and each
#                         fuzz target for a short while (build-fuzz, clang)
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-}
case "$mode" in
  start|test) ;;
  *) echo "usage: bash setup.sh start|test" >&2; exit 2 ;;
esac

# What the two programs need to build and run: the compiler and CMake,
# GeographicLib (the geodesic where Vincenty's iteration does not converge),
# Qt 6 Widgets and Multimedia with the platform plugins, libxcb (the window
# asks the window manager for its frame), shapelib (the chart's land
# outlines), Qt SVG (the chart's SVG pictures), pugixml and nlohmann-json
# (the GPX and GeoJSON files fixes are imported from), and real fonts for
# the families the window asks for.
packages=(g++ make cmake pkg-config libgeographiclib-dev libshp-dev libpugixml-dev nlohmann-json3-dev
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins libxcb1-dev
  fonts-dejavu-core fonts-liberation2)
if [ "$mode" = test ]; then
  packages+=(libgtest-dev libbenchmark-dev locales
    # A virtual display with a window manager for the real-window tests and
    # the screenshot script, and the tools that drive and inspect it.
    xvfb xauth xdotool x11-utils openbox imagemagick
    # A private sound server and its recorder for the test that hears the
    # sounds.
    pulseaudio pulseaudio-utils
    # The fuzz targets: libFuzzer comes with clang (the sanitizer runtimes
    # of g++ come with it).
    clang-14 libclang-rt-14-dev
    # gpsbabel checks the exported fix files from outside.
    gpsbabel
    # The layout check of every C++ file against .clang-format.
    clang-format-14)
fi

# Root rights are needed only to install what is missing; without them,
# and without sudo, the script says so in one sentence and stops.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}
need_root() {
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    echo "setup.sh: $1 needs root rights and sudo is not installed, so run this command again as root." >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  need_root "installing ${missing[*]}"
  echo "Installing: ${missing[*]}"
  as_root apt-get update -q
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
build=build

if [ "$mode" = start ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVORIX_BUILD_TESTS=OFF \
    -DNAVORIX_BUILD_BENCH=OFF
  cmake --build "$build" --parallel "$jobs" --target navorix navorix-batch
  echo "The programs: $build/app/navorix and $build/app/navorix-batch"
  # Without a display the program says so in one line and ends.
  exec "$build/app/navorix"
fi

# The text tests check that coordinate text ignores a locale whose decimal
# separator is a comma; make sure one such locale exists.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  need_root "making the de_DE.UTF-8 locale"
  as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

# The tested builds treat every warning as an error.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVORIX_BUILD_TESTS=ON \
  -DNAVORIX_BUILD_BENCH=ON -DNAVORIX_WERROR=ON
cmake --build "$build" --parallel "$jobs"

stage() { echo; echo "== $* ($(date +%T))"; }

stage "Test suite"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs")

stage "Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVORIX_SANITIZE=ON \
  -DNAVORIX_BUILD_BENCH=OFF -DNAVORIX_WERROR=ON
cmake --build build-asan --parallel "$jobs"
(cd build-asan && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure --parallel "$jobs")

fuzz_seconds=20
stage "Fuzzing each reader for $fuzz_seconds s"
# One target per tests/fuzz/fuzz_NAME.cpp.
fuzzers=()
for source in tests/fuzz/fuzz_*.cpp; do
  name=${source##*/fuzz_}
  fuzzers+=("${name%.cpp}")
done
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DNAVORIX_FUZZ=ON -DNAVORIX_BUILD_TESTS=OFF -DNAVORIX_BUILD_BENCH=OFF
cmake --build build-fuzz --parallel "$jobs" --target "${fuzzers[@]/#/fuzz_}"
# Each run starts from the committed corpus (read only) and keeps what it
# finds in a scratch corpus; a crash is saved under build-fuzz/ and fails
# the test.
fuzz_one() {
  local target=$1 work=build-fuzz/runs/$1
  rm -rf "$work" && mkdir -p "$work/corpus"
  if build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$fuzz_seconds" -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="build-fuzz/$target-" \
       "$work/corpus" "tests/fuzz/corpus/$target" >"$work/log" 2>&1; then
    echo "fuzz_$target: $(grep -o 'number_of_executed_units: *[0-9]*' "$work/log" | grep -o '[0-9]*$') runs, no failure"
  else
    echo "fuzz_$target: FAILED"; tail -n 40 "$work/log"; return 1
  fi
}
export -f fuzz_one
export fuzz_seconds
printf '%s\n' "${fuzzers[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one {}'
stage "All tests passed"
