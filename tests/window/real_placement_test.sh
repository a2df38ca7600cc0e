#!/usr/bin/env bash
# Where the real window puts its dialogs, opening after opening: every
# operation layout, New Fix and Edit Fix, the question box with two and
# three buttons, and the error box over the main window and over a dialog,
# opened by the keyboard again and again until 200 windows have been seen.
# Each window's outer rectangle (the client area as the X server reports
# it, with the frame the window manager reports around it) must be where
# the placement rules put it, when the window gets the keyboard and again
# after it has been looked at; the main window must be centred on the
# screen by its frame.
#   bash real_placement_test.sh NAVORIX NAVORIX-BATCH SOURCE-DIR [openbox|bare]
# With "bare" there is no window manager: windows have no frame, and the
# X server's input focus tells which window has the keyboard.
set -euo pipefail
source "$(dirname "$0")/real_window.sh"

for tool in xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (setup.sh installs it)"; exit 77; }
done

bare=${4:-}
openings=${NAVORIX_PLACEMENT_OPENINGS:-200}
seen=0
misplaced=0

make_folder
printf '[Interface]\r\nSound=0\r\n' >"$folder/navorix.ini"
printf '%s\r\n' "48.8567 2.3522 PARIS" "51.5074 -0.1278 LONDON" "40.7128 -74.0060 NEWYORK" \
  "35.6762 139.6503 TOKYO" >"$folder/data/navorix.fix"

[ "$bare" = bare ] || start_window_manager
start_navorix

read -r screen_w screen_h < <(xwininfo -root | awk '/^  Width:/{w=$2} /^  Height:/{h=$2} END{print w, h}')

# "X Y W H" of the client area of window $1.
client_rect() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^  Width:/{w=$2} /^  Height:/{h=$2} END{print x, y, w, h}'
}

# "LEFT RIGHT TOP BOTTOM" of the frame around window $1.
frame_extents() {
  local extents=
  [ -z "$wm" ] || extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/^.*= *//p' | tr -d ',')
  echo "${extents:-0 0 0 0}"
}

# "X Y W H" of the outer rectangle of window $1.
outer_rect() {
  local x y w h l r t b
  read -r x y w h < <(client_rect "$1")
  read -r l r t b < <(frame_extents "$1")
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# One axis kept inside the screen: START SIZE SCREEN-SIZE.
keep_axis() {
  local start=$1 size=$2 screen=$3
  if [ "$start" -gt 3 ]; then
    [ "$start" -le $((screen - (size + 4))) ] || start=$((screen - (size + 4)))
  else
    start=4
  fi
  echo "$start"
}

# Where a window of outer size W H goes when centred on the rectangle
# X Y RW RH, OFFSET pixels up and left of the exact centre.
centred_on() {
  local w=$1 h=$2 x=$3 y=$4 rw=$5 rh=$6 offset=$7
  echo "$(keep_axis $((x + rw / 2 - w / 2 - offset)) "$w" "$screen_w")" \
    "$(keep_axis $((y + rh / 2 - h / 2 - offset)) "$h" "$screen_h")"
}

# Checks window $1 (named $2 in messages): its outer rectangle must start
# at "$3", now and after it has been looked at once more.
check_place() {
  local id=$1 name=$2 expected=$3 x y w h pass
  seen=$((seen + 1))
  for pass in first again; do
    read -r x y w h < <(outer_rect "$id")
    if [ "$x $y" != "$expected" ]; then
      echo "misplaced ($pass look, window $seen): $name at $x $y ($w x $h), not at $expected" >&2
      misplaced=$((misplaced + 1))
      return
    fi
  done
}

# The fix list's frame on the screen: 4, 70 in the client area below the
# menu bar, 488 x 296.
list_frame() {
  local x y w h
  read -r x y w h < <(client_rect "$main_window")
  echo "$((x + 4)) $((y + h - 406 + 70)) 488 296"
}

# A dialog named $1 (a regular expression) centred on the fix list; its id
# is left in $dialog.
check_on_list() {
  local w h
  dialog=$(wait_window "$1")
  wait_active "$dialog" "$1"
  read -r _ _ w h < <(outer_rect "$dialog")
  check_place "$dialog" "$1" "$(centred_on "$w" "$h" $(list_frame) 2)"
}

# A box $1 (window id) centred on window $2.
check_on_window() {
  local w h
  read -r _ _ w h < <(outer_rect "$1")
  check_place "$1" "$3" "$(centred_on "$w" "$h" $(outer_rect "$2") 0)"
}

# Esc until the dialog $1 has gone (the first Esc may only clear a field).
cancel() {
  local waited=0
  while [ -n "$(visible "$1")" ]; do
    keys Escape
    sleep 0.05
    tick "Esc did not close '$1'"
  done
  wait_active "$main_window" "the main window"
}

# The main window first: centred on the screen by its frame.
read -r _ _ main_w main_h < <(outer_rect "$main_window")
check_place "$main_window" "the main window" \
  "$((screen_w / 2 - main_w / 2)) $((screen_h / 2 - main_h / 2))"

# A Fix-Fix distance first, so that Next Fix is enabled.
keys alt+x
check_on_list '^ Distance from Fix to Fix$'
type_text 'pa '; keys Tab; type_text 'lo '; keys Return
wait_gone '^ Distance from Fix to Fix$'
wait_active "$main_window" "the main window"

operations=(x:'Distance from Fix to Fix' n:'Accumulated distance' r:'Distance from Arc to Fix'
  c:'Distance between two Arcs' m:'Midpoint between Fixes' z:'Azimuth from Fix to Fix'
  a:'Fix at Distance and Azimuth' p:'Projection of Fix on Arc' i:'Intersection of two Arcs'
  t:'Arc to Fix Proximity' d:'Fix at Distance along Arc')

while [ "$seen" -lt "$openings" ]; do
  for operation in "${operations[@]}"; do
    keys "alt+${operation%%:*}"
    check_on_list "^ ${operation#*:}\$"
    cancel "^ ${operation#*:}\$"
  done

  keys Insert
  check_on_list '^ New Fix$'
  cancel '^ New Fix$'
  keys Return
  check_on_list '^ Edit Fix$'
  cancel '^ Edit Fix$'

  # The question boxes, over the main window: Del on a fix (Yes, No) and
  # the exit question (Yes, No, Cancel); Esc answers No and Cancel.
  keys Delete
  box=$(wait_window '^  Navorix $')
  wait_active "$box" "the question box"
  check_on_window "$box" "$main_window" "the question box (Yes, No)"
  keys Escape
  wait_gone '^  Navorix $'
  wait_active "$main_window" "the main window"
  keys alt+f
  sleep 0.2
  keys x
  box=$(wait_window '^  Navorix $')
  wait_active "$box" "the exit question"
  check_on_window "$box" "$main_window" "the question box (Yes, No, Cancel)"
  keys Escape
  wait_gone '^  Navorix $'
  wait_active "$main_window" "the main window"

  # The error box over the main window: the azimuth between one fix and
  # itself.
  keys alt+z
  check_on_list '^ Azimuth from Fix to Fix$'
  type_text 'pa '; keys Tab; type_text 'pa '; keys Return
  wait_gone '^ Azimuth from Fix to Fix$'
  error_box=$(wait_focus_moves "$main_window")
  [ "$(window_height "$error_box")" -eq 57 ] || fail "the window that took the focus is no error box"
  check_on_window "$error_box" "$main_window" "the error box over the main window"
  keys space
  wait_active "$main_window" "the main window after the error box"

  # The error box over New Fix: a name in use.
  keys Insert
  check_on_list '^ New Fix$'
  type_text 'paris'; keys Tab; type_text '1n'; keys Tab; type_text '1e'; keys Return
  error_box=$(wait_focus_moves "$dialog")
  [ "$(window_height "$error_box")" -eq 57 ] || fail "the window that took the focus is no error box"
  check_on_window "$error_box" "$dialog" "the error box over New Fix"
  keys space
  wait_active "$dialog" "New Fix after the error box"
  cancel '^ New Fix$'
done

echo "$seen windows looked at ($([ "$bare" = bare ] && echo 'no window manager' || echo openbox)), $misplaced misplaced"
[ "$misplaced" -eq 0 ] || fail "$misplaced of $seen windows were not where the placement rules put them"
