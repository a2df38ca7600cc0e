#!/usr/bin/env bash
# The real chart window, by the keyboard: F2 opens "Navorix Chart" with the
# last record's figure; Left in the main window steps the log back; Ctrl+S
# in the chart saves the picture through the file dialog; F2 closes the
# chart; leaving saves its place and projection in navorix.ini.
#   bash real_chart_test.sh NAVORIX NAVORIX-BATCH SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/real_window.sh"

make_folder
printf '48.8566 2.3522 PARIS\r\n35.6762 139.6503 TOKYO\r\n40.7128 -74.0060 NEWYORK\r\n-33.8688 151.2093 SYDNEY\r\n' \
  >"$folder/data/navorix.fix"
printf 'fixfix PARIS TOKYO\nintersect PARIS TOKYO NEWYORK SYDNEY\n' >"$work/script.txt"
"$batch_program" "$folder/data/navorix.fix" "$work/script.txt" >"$folder/data/navorix.his"

start_window_manager
start_navorix

keys F2
chart=$(wait_window '^Navorix Chart$')
wait_active "$chart" "the chart"
xdotool windowactivate --sync "$main_window"
wait_active "$main_window" "the main window"
keys Left
xdotool windowactivate --sync "$chart"
wait_active "$chart" "the chart"
keys ctrl+s
wait_dialog '^Save Chart Picture$'
type_text "$work/picture.png"
keys Return
wait_gone '^Save Chart Picture$'
wait_active "$chart" "the chart after saving"
[ -s "$work/picture.png" ] || fail "the picture was not saved"
[ "$(head -c 8 "$work/picture.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "the picture is no PNG"
keys m F2
wait_gone '^Navorix Chart$'
xdotool windowactivate --sync "$main_window"
wait_active "$main_window" "the main window"
leave_saving
grep -q $'^Projection=1\r$' "$folder/navorix.ini" || fail "navorix.ini keeps no Mercator chart: $(cat "$folder/navorix.ini")"
echo "real chart window: all passed"
