#!/usr/bin/env bash
# Times navorix-batch on 100 000 Fix-Fix distances (elliptic great arc and
# geodesic switched on, so every line computes three distances) over a
# 1 000-fix file, side by side with GeographicLib's GeodSolve -i on the same
# 100 000 pairs, and prints both medians and their ratio.
#   bash bench/batch_bench.sh [BUILD_DIR]     (default: build)
# With NEAR_ANTIPODAL=1 the fixes come in pairs, the second within 0.7
# degrees of latitude and 1 degree of longitude of the first one's antipode,
# and every line measures one such pair: the lines where Vincenty's
# iteration converges slowly or not at all.
# Needs GeodSolve (Debian package geographiclib-tools). The two run by turns,
# and the medians of the elapsed and the CPU seconds are given, with the
# median and the range of the turns' CPU ratios.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
batch="$build/app/navorix-batch"
fixes=${FIXES:-1000}
lines=${LINES:-100000}
runs=${RUNS:-7}
near=${NEAR_ANTIPODAL:-0}

[ -x "$batch" ] || { echo "no $batch: build first" >&2; exit 2; }
command -v GeodSolve >/dev/null || { echo "GeodSolve missing: apt-get install geographiclib-tools" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Fixed seeds: every run of the benchmark measures the same inputs. Latitudes
# are uniform on the sphere, so the pairs are like real ones, a few of them
# nearly antipodal.
awk -v n="$fixes" -v near="$near" 'BEGIN {
  srand(20261208);
  for (i = 1; i <= n; i++) {
    z = 2 * rand() - 1;
    lat = atan2(z, sqrt(1 - z * z)) * 57.29577951308232;
    lon = 360 * rand() - 180;
    if (near && i % 2 == 0) {
      lat = -lat1 + 0.7 * (2 * rand() - 1);
      if (lat > 90) lat = 180 - lat;
      if (lat < -90) lat = -180 - lat;
      lon = lon1 + 180 + (2 * rand() - 1);
      if (lon > 180) lon -= 360;
    }
    printf "%.6f %.6f F%04d\r\n", lat, lon, i;
    lat1 = lat; lon1 = lon;
  }
}' > "$work/bench.fix"

awk -v n="$fixes" -v m="$lines" -v near="$near" -v script="$work/bench.txt" -v pairs="$work/pairs.txt" '
  { lat[NR] = $1; lon[NR] = $2; name[NR] = $3 }
  END {
    srand(8122026);
    for (k = 0; k < m; k++) {
      if (near) {
        i = 2 * (1 + int(n / 2 * rand())) - 1; j = i + 1;
      } else {
        i = 1 + int(n * rand()); j = 1 + int(n * rand());
        if (i == j) j = j % n + 1;
      }
      print "fixfix " name[i] " " name[j] > script;
      print lat[i] " " lon[i] " " lat[j] " " lon[j] > pairs;
    }
  }' <(tr -d '\r' < "$work/bench.fix")

printf '[Settings]\r\nEllipticLat=1\r\nEllipticArc=1\r\nGeoDistance=1\r\n' > "$work/bench.ini"

batch_cmd="$batch --ini $work/bench.ini $work/bench.fix $work/bench.txt"
geod_cmd="GeodSolve -i --input-file $work/pairs.txt"

# Both must do their full work: one result line per pair, three distances
# per batch result (a build whose geodesic fails near the antipode leaves
# "(G)" out of some lines there).
test "$($geod_cmd | wc -l)" -eq "$lines"
if [ "$near" = 1 ]; then
  test "$($batch_cmd | grep -c '^(E) .* (S) ')" -eq "$lines"
else
  test "$($batch_cmd | grep -c '^(E) .* (G) .* (S) ')" -ge $((lines * 99 / 100))
fi

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The two programs run by turns, so that a change in the machine's load
# between runs falls on both; each run's elapsed and CPU (user + system)
# seconds are kept, and each turn's CPU ratio.
TIMEFORMAT='%R %U %S'
one_run() { { time eval "$1" > /dev/null; } 2>&1 | awk '{ print $1, $2 + $3 }'; }
eval "$batch_cmd" > /dev/null  # warm-up
for _ in $(seq "$runs"); do
  one_run "$batch_cmd" >> "$work/batch.times"
  one_run "$geod_cmd" >> "$work/geod.times"
done
paste "$work/batch.times" "$work/geod.times" | awk '{ print $2 / $4 }' > "$work/ratios"
column_median() { awk -v c="$1" '{ print $c }' "$2" | median; }
batch_med=$(column_median 1 "$work/batch.times")
geod_med=$(column_median 1 "$work/geod.times")
batch_cpu=$(column_median 2 "$work/batch.times")
geod_cpu=$(column_median 2 "$work/geod.times")
ratio_med=$(median < "$work/ratios")
ratio_range=$(sort -g "$work/ratios" | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.2f to %.2f", lo, hi }')

printf 'pairs: %d over %d fixes%s, %d runs each, taken by turns\n' "$lines" "$fixes" \
  "$([ "$near" = 1 ] && echo ', nearly antipodal')" "$runs"
printf 'navorix-batch median: %.3f s elapsed, %.3f s CPU\n' "$batch_med" "$batch_cpu"
printf 'GeodSolve -i  median: %.3f s elapsed, %.3f s CPU\n' "$geod_med" "$geod_cpu"
printf 'CPU ratio batch / GeodSolve per turn: median %.2f, %s\n' "$ratio_med" "$ratio_range"
