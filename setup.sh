#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks, builds Navorix, and then either
# starts it or runs the whole test suite.
#   bash setup.sh start   build and start the program
#   bash setup.sh test    build and run every test
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-}
case "$mode" in
  start|test) ;;
  *) echo "usage: bash setup.sh start|test" >&2; exit 2 ;;
esac

packages=(g++ make cmake pkg-config libgtest-dev libbenchmark-dev locales
  # The window: Qt 6 Widgets and Multimedia, the platform plugins (the
  # tests use "offscreen"), and real fonts for the families it asks for.
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins fonts-dejavu-core fonts-liberation2
  # A virtual display for the real-window test and the screenshot script.
  xvfb xauth xdotool openbox imagemagick)

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
  cd "$build"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs"
else
  if [ -x "$build/app/navorix" ]; then
    # Without a display the program says so in one line and ends.
    exec "$build/app/navorix"
  fi
  echo "This build has no window (NAVORIX_WITH_QT is off); the calculator runs as"
  echo "  $build/app/navorix-batch --help"
fi
