#!/usr/bin/env bash
# Times navorix-batch on 100 000 Fix-Fix distances (elliptic great arc and
# geodesic switched on, so every line computes three distances) over a
# 1 000-fix file, side by side with GeographicLib's GeodSolve -i on the same
# 100 000 pairs, and prints both medians and their ratio.
#   bash bench/batch_bench.sh [BUILD_DIR]     (default: build)
# Needs GeodSolve (Debian package geographiclib-tools); uses hyperfine when
# it is installed, otherwise times the two by turns itself and gives the
# medians of both the elapsed and the CPU seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
batch="$build/app/navorix-batch"
fixes=${FIXES:-1000}
lines=${LINES:-100000}
runs=${RUNS:-7}

[ -x "$batch" ] || { echo "no $batch: build first" >&2; exit 2; }
command -v GeodSolve >/dev/null || { echo "GeodSolve missing: apt-get install geographiclib-tools" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Fixed seeds: every run of the benchmark measures the same inputs. Latitudes
# are uniform on the sphere, so the pairs are like real ones, a few of them
# nearly antipodal.
awk -v n="$fixes" 'BEGIN {
  srand(20261208);
  for (i = 1; i <= n; i++) {
    z = 2 * rand() - 1;
    lat = atan2(z, sqrt(1 - z * z)) * 57.29577951308232;
    lon = 360 * rand() - 180;
    printf "%.6f %.6f F%04d\r\n", lat, lon, i;
  }
}' > "$work/bench.fix"

awk -v n="$fixes" -v m="$lines" -v script="$work/bench.txt" -v pairs="$work/pairs.txt" '
  { lat[NR] = $1; lon[NR] = $2; name[NR] = $3 }
  END {
    srand(8122026);
    for (k = 0; k < m; k++) {
      i = 1 + int(n * rand()); j = 1 + int(n * rand());
      if (i == j) j = j % n + 1;
      print "fixfix " name[i] " " name[j] > script;
      print lat[i] " " lon[i] " " lat[j] " " lon[j] > pairs;
    }
  }' <(tr -d '\r' < "$work/bench.fix")

printf '[Settings]\r\nEllipticLat=1\r\nEllipticArc=1\r\nGeoDistance=1\r\n' > "$work/bench.ini"

batch_cmd="$batch --ini $work/bench.ini $work/bench.fix $work/bench.txt"
geod_cmd="GeodSolve -i --input-file $work/pairs.txt"

# Both must do their full work: one result line per pair, three distances
# per batch result.
test "$($geod_cmd | wc -l)" -eq "$lines"
test "$($batch_cmd | grep -c '^(E) .* (G) .* (S) ')" -ge $((lines * 99 / 100))

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 1 --runs "$runs" --export-json "$work/times.json" \
    -n navorix-batch "$batch_cmd > /dev/null" -n "GeodSolve -i" "$geod_cmd > /dev/null" >&2
  batch_med=$(grep -o '"median": *[0-9.e-]*' "$work/times.json" | sed -n 1p | awk '{ print $2 }')
  geod_med=$(grep -o '"median": *[0-9.e-]*' "$work/times.json" | sed -n 2p | awk '{ print $2 }')
  printf 'pairs: %d over %d fixes, %d runs each\n' "$lines" "$fixes" "$runs"
  printf 'navorix-batch median: %.3f s\n' "$batch_med"
  printf 'GeodSolve -i  median: %.3f s\n' "$geod_med"
  awk -v a="$batch_med" -v b="$geod_med" 'BEGIN { printf "ratio batch / GeodSolve: %.2f\n", a / b }'
  exit 0
fi

# The two programs run by turns, so that a change in the machine's load
# between runs falls on both; each run's elapsed and CPU (user + system)
# seconds are kept.
TIMEFORMAT='%R %U %S'
one_run() { { time eval "$1" > /dev/null; } 2>&1 | awk '{ print $1, $2 + $3 }'; }
eval "$batch_cmd" > /dev/null  # warm-up
for _ in $(seq "$runs"); do
  one_run "$batch_cmd" >> "$work/batch.times"
  one_run "$geod_cmd" >> "$work/geod.times"
done
column_median() { awk -v c="$1" '{ print $c }' "$2" | median; }
batch_med=$(column_median 1 "$work/batch.times")
geod_med=$(column_median 1 "$work/geod.times")
batch_cpu=$(column_median 2 "$work/batch.times")
geod_cpu=$(column_median 2 "$work/geod.times")

printf 'pairs: %d over %d fixes, %d runs each, taken by turns\n' "$lines" "$fixes" "$runs"
printf 'navorix-batch median: %.3f s elapsed, %.3f s CPU\n' "$batch_med" "$batch_cpu"
printf 'GeodSolve -i  median: %.3f s elapsed, %.3f s CPU\n' "$geod_med" "$geod_cpu"
awk -v a="$batch_med" -v b="$geod_med" -v c="$batch_cpu" -v d="$geod_cpu" \
  'BEGIN { printf "ratio batch / GeodSolve: %.2f (CPU %.2f)\n", a / b, c / d }'
