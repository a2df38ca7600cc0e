#!/usr/bin/env bash
# Remakes the four wave files in wav/ from tools/make_sounds.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra tools/make_sounds.cpp -o "$tmp/make_sounds"
"$tmp/make_sounds" wav
ls -l wav/*.wav
