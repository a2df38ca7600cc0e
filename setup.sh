#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks, builds Navorix, and then either
# starts it or runs the whole test suite.
#   bash setup.sh start   build and start the program
#   bash setup.sh test    build and run every test: the suite, the suite again
#                         under AddressSanitizer and UndefinedBehaviorSanitizer
#                         (build-asan), and each fuzz target for a short while
#                         (build-fuzz, clang)
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-}
case "$mode" in
  start|test) ;;
  *) echo "usage: bash setup.sh start|test" >&2; exit 2 ;;
esac

packages=(g++ make cmake pkg-config libgtest-dev libbenchmark-dev locales
  # GeographicLib: the geodesic where Vincenty's iteration does not converge.
  libgeographiclib-dev
  # Importing fixes: an XML reader (GPX) and a JSON reader (GeoJSON).
  libpugixml-dev nlohmann-json3-dev
  # The window: Qt 6 Widgets and Multimedia, the platform plugins (the
  # tests use "offscreen"), and real fonts for the families it asks for.
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins fonts-dejavu-core fonts-liberation2
  # A virtual display for the real-window test and the screenshot script.
  xvfb xauth xdotool openbox imagemagick)
# The sanitizer runtimes of g++ come with it; libFuzzer comes with clang.
# gpsbabel checks the exported files from outside.
if [ "$mode" = test ]; then packages+=(clang-14 libclang-rt-14-dev pulseaudio pulseaudio-utils gpsbabel); fi

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -q
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The text tests check that coordinate text ignores a locale whose decimal
# separator is a comma; make sure one such locale exists.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

jobs=$(nproc 2>/dev/null || echo 2)
build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$jobs"

if [ "$mode" = test ]; then
  stage() { echo; echo "== $* ($(date +%T))"; }

  stage "Test suite"
  (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs")

  stage "Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVORIX_SANITIZE=ON \
    -DNAVORIX_BUILD_BENCH=OFF
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
else
  if [ -x "$build/app/navorix" ]; then
    # Without a display the program says so in one line and ends.
    exec "$build/app/navorix"
  fi
  echo "This build has no window (NAVORIX_WITH_QT is off); the calculator runs as"
  echo "  $build/app/navorix-batch --help"
fi
