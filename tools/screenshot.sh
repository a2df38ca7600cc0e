#!/usr/bin/env bash
# Starts the Navorix window under a virtual X server (xvfb-run), with
# openbox as window manager when it is installed, in a portable folder with
# a few fixes, computes one result by the keyboard, and saves a picture of
# the window with its frame.
#   tools/screenshot.sh [OUTPUT.png]      default docs/screenshot.png
# The program is taken from $NAVORIX (default build/app/navorix).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
program=${NAVORIX:-build/app/navorix}
[ -x "$program" ] || { echo "screenshot: $program not found; build it first" >&2; exit 1; }
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
done
mkdir -p "$(dirname "$out")"

inner=$(mktemp)
folder=$(mktemp -d)
trap 'rm -rf "$inner" "$folder"' EXIT
# A portable folder: the program, its sounds and help, and a data folder
# with a few fixes.
bin_dir=$(dirname "$(realpath "$program")")
cp "$(realpath "$program")" "$folder/navorix"
[ -d "$bin_dir/wav" ] && cp -r "$bin_dir/wav" "$folder/"
[ -f "$bin_dir/navorix.hlp" ] && cp "$bin_dir/navorix.hlp" "$folder/"
mkdir -p "$folder/data"
printf '%s\r\n' \
  "48.8567 2.3522 PARIS" "51.5074 -0.1278 LONDON" "40.7128 -74.0060 NEWYORK" \
  "35.6762 139.6503 TOKYO" "-33.9249 18.4241 CAPETOWN" "-33.8688 151.2093 SYDNEY" \
  "64.1466 -21.9426 REYKJAVIK" "1.3521 103.8198 SINGAPORE" > "$folder/data/navorix.fix"
printf '[Settings]\r\nEllipticArc=1\r\nGeoDistance=1\r\n[Interface]\r\nSound=0\r\n' \
  > "$folder/navorix.ini"
program="$folder/navorix"
cat >"$inner" <<'INNER'
set -euo pipefail
program=$1
out=$2
wm=
if command -v openbox >/dev/null; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
fi
"$program" >/dev/null 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Navorix$' | head -n 1)
# The splash closes 1000 ms after the window shows; wait for it.
sleep 2
# Fix-Fix from PARIS to SYDNEY, the names completed with the blank.
xdotool windowactivate --sync "$window" key --delay 80 alt+x
sleep 1
xdotool type --delay 60 "PA"
xdotool key --delay 80 space Tab
xdotool type --delay 60 "SY"
xdotool key --delay 80 space Return
sleep 1
xdotool key --delay 80 Down Down
sleep 0.5
import -window "$window" -frame "$out"
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi
INNER
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$inner" "$(realpath "$program")" "$(realpath -m "$out")"
echo "screenshot: $out"
