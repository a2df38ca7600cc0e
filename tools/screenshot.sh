#!/usr/bin/env bash
# Starts the Navorix window under a virtual X server (xvfb-run), with
# openbox as window manager when it is installed, and saves a picture of the
# window with its frame.
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
trap 'rm -f "$inner"' EXIT
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
import -window "$window" -frame "$out"
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi
INNER
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$inner" "$(realpath "$program")" "$(realpath -m "$out")"
echo "screenshot: $out"
