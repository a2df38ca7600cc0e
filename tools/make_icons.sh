#!/usr/bin/env bash
# Redraws the application icon as PNG files in desktop/ (navorix-SIZE.png)
# from the same drawing code the window uses.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target navorix-icons
QT_QPA_PLATFORM=offscreen "$build/app/navorix-icons" desktop
ls -l desktop/navorix-*.png
