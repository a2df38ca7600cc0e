#!/usr/bin/env bash
# The real window, by the keyboard alone, with prepared settings and fixes:
# each of the eleven operations started by its Alt accelerator (Next Fix
# after a Fix-Fix, Alt+D for "Fix at &D"), fix names typed as their first
# letters and completed with blanks, distances and azimuths typed, the
# Lat/Lon format changed through the menu with F10 and the arrow keys; then
# Alt+F, X and Enter. The history file must hold exactly the records that
# navorix-batch writes for the same settings, fixes and script.
#   bash real_operations_test.sh NAVORIX NAVORIX-BATCH SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/real_window.sh"

make_folder
# Nautical miles, medium accuracy, Deg/Min/Frac, azimuths 0..360 in
# Deg/Min/Frac, both elliptic distances.
printf '[Settings]\r\nLatLonFormat=1\r\nAzimFormat=1\r\nPrecision=1\r\nDistUnits=2\r\nAzimRange=1\r\nEllipticArc=1\r\nGeoDistance=1\r\nEllipticLat=1\r\n' \
  >"$folder/navorix.ini"
cp "$folder/navorix.ini" "$work/prepared.ini"
cat >"$folder/data/navorix.fix" <<'FIXES'
48.8566 2.3522 PARIS
40.7128 -74.0060 NEWYORK
35.6762 139.6503 TOKYO
-33.9249 18.4241 CAPETOWN
64.1466 -21.9426 REYKJAVIK
-0.1807 -78.4678 QUITO
10 0 P
10 90 Q
0 45 M0
40 45 M40
30 45 R
FIXES
cp "$folder/data/navorix.fix" "$work/prepared.fix"

# The same requests for navorix-batch; "\xb0" is the degree sign.
printf '%b\n' \
  'fixfix PARIS NEWYORK' \
  'next TOKYO' \
  'arcfix P Q R' \
  'arcarc P Q M0 M40' \
  'midpoint PARIS TOKYO' \
  'set LatLonFormat 2' \
  'azimuth CAPETOWN REYKJAVIK' \
  "fixatda QUITO 1000 45\\xb030'" \
  'project P Q R' \
  'intersect P Q M0 M40' \
  'proximity P Q R 1200' \
  'fixatd P Q 6000' >"$work/script.txt"

start_window_manager
start_navorix

# Completion: "p" + two blanks passes PARIS and stops at P, and so on.
keys alt+x; fill_dialog ' Distance from Fix to Fix' 'pa ' 'n '
keys alt+n; fill_dialog ' Accumulated distance' 't '
keys alt+r; fill_dialog ' Distance from Arc to Fix' 'p  ' 'q  ' 'r  '
keys alt+c; fill_dialog ' Distance between two Arcs' 'p  ' 'q  ' 'm ' 'm  '
keys alt+m; fill_dialog ' Midpoint between Fixes' 'pa ' 't '

# Options > Lat/Lon Format > Deg/Min/Sec: F10 enters the menu bar at File;
# Data, Sort and View lie between.
keys F10 Right Right Right Right Down
sleep 0.3
keys Right
sleep 0.3
keys Down Down Return
sleep 0.3
wait_active "$main_window" "the main window"

keys alt+z; fill_dialog ' Azimuth from Fix to Fix' 'c ' 're '
keys alt+a; fill_dialog ' Fix at Distance and Azimuth' 'qu ' '1000' "45@30'"
keys alt+p; fill_dialog ' Projection of Fix on Arc' 'p  ' 'q  ' 'r  '
keys alt+i; fill_dialog ' Intersection of two Arcs' 'p  ' 'q  ' 'm ' 'm4 '
# The Tab order goes 1, 2, then the distance (5) before the fix (4).
keys alt+t; fill_dialog ' Arc to Fix Proximity' 'p  ' 'q  ' '1200' 'r  '
keys alt+d; fill_dialog ' Fix at Distance along Arc' 'p  ' 'q  ' '6000'

leave_saving

"$batch_program" --ini "$work/prepared.ini" "$work/prepared.fix" "$work/script.txt" >"$work/expected.txt" ||
  fail "navorix-batch failed on the script"
[ "$(wc -l <"$work/expected.txt")" -eq 33 ] || fail "navorix-batch did not log eleven records: $(cat "$work/expected.txt")"
[ -f "$folder/data/navorix.his" ] || fail "data/navorix.his was not written"
tr -d '\r' <"$folder/data/navorix.his" >"$work/history.txt"
if ! cmp -s "$work/expected.txt" "$work/history.txt"; then
  diff <(iconv -f CP1252 -t UTF-8 "$work/expected.txt") <(iconv -f CP1252 -t UTF-8 "$work/history.txt") || true
  fail "the history differs from navorix-batch's records (< batch, > window)"
fi
# Every line of the history file ends in CR LF.
[ "$(grep -c $'\r$' "$folder/data/navorix.his")" -eq 33 ] || fail "the history's lines do not end in CR LF"
# The format chosen through the menu was saved.
grep -q '^LatLonFormat=2' "$folder/navorix.ini" || fail "the Lat/Lon format chosen is not in navorix.ini"
echo "data/navorix.his: eleven records equal to navorix-batch's"
