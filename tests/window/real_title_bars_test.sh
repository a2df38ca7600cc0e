#!/usr/bin/env bash
# What the real window asks of the window manager (openbox), and that a
# modal window cannot be lost: the main window is a normal window with a
# caption, a system menu and a minimise box, that cannot be resized or
# maximised; the input dialogs and the question box are dialogs of the main
# window with a caption and no buttons; the error box has no frame. A
# dialog or a box that the window manager is told to minimise stays on the
# screen with the main window, and keeps the keyboard.
#   bash real_title_bars_test.sh NAVORIX NAVORIX-BATCH SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/real_window.sh"

command -v xprop >/dev/null || { echo "skipped: xprop is not installed (setup.sh installs it)"; exit 77; }

make_folder
printf '[Interface]\r\nSound=0\r\n' >"$folder/navorix.ini"
printf '48.8567 2.3522 PARIS\r\n' >"$folder/data/navorix.fix"
start_window_manager
start_navorix

# The value of property $2 of window $1, as xprop prints it after "= ".
property() { xprop -id "$1" "$2" | sed -n 's/^[^=]*= *//p'; }

# Motif hints: flags (functions and decorations given), functions,
# decorations.
caption_minimise='0x3, 0x2c, 0x3a, 0x0, 0x0'  # move, minimise, close; border, title, menu, minimise
caption_only='0x3, 0x24, 0xa, 0x0, 0x0'       # move, close; border, title

# Window $1 ($2 in messages) has the type $3, the Motif hints $4 and cannot
# be resized or maximised.
check_window() {
  local id=$1 name=$2 actions
  [ "$(property "$id" _NET_WM_WINDOW_TYPE | cut -d, -f1)" = "$3" ] ||
    fail "$name: type $(property "$id" _NET_WM_WINDOW_TYPE), not $3"
  [ "$(property "$id" _MOTIF_WM_HINTS)" = "$4" ] ||
    fail "$name: Motif hints $(property "$id" _MOTIF_WM_HINTS), not $4"
  actions=$(property "$id" _NET_WM_ALLOWED_ACTIONS)
  case "$actions" in
    *MAXIMIZE* | *RESIZE*) fail "$name can be resized or maximised: $actions" ;;
  esac
}

# Window $1 ($2) belongs to the main window.
check_transient() {
  [ "$(xprop -id "$1" WM_TRANSIENT_FOR | sed -n 's/^.*# *//p')" = "$(printf '0x%x' "$main_window")" ] ||
    fail "$2 is not a window of the main window: $(xprop -id "$1" WM_TRANSIENT_FOR)"
}

state() { xprop -id "$1" WM_STATE | sed -n 's/^.*window state: *//p'; }

# Asks the window manager to minimise window $1 ($2); it must stay (or
# come back) on the screen with the main window and keep the keyboard.
check_not_lost() {
  local waited=0
  xdotool windowminimize "$1"
  sleep 0.5
  until [ "$(state "$1")" = Normal ] && [ "$(state "$main_window")" = Normal ]; do
    tick "$2 stayed minimised ($(state "$1"), the main window $(state "$main_window"))"
  done
  wait_active "$1" "$2 after it was minimised"
}

check_window "$main_window" "the main window" _NET_WM_WINDOW_TYPE_NORMAL "$caption_minimise"
case "$(property "$main_window" _NET_WM_ALLOWED_ACTIONS)" in
  *MINIMIZE*) ;;
  *) fail "the main window cannot be minimised" ;;
esac

keys alt+x
dialog=$(wait_window '^ Distance from Fix to Fix$')
wait_active "$dialog" "the operation dialog"
check_window "$dialog" "the operation dialog" _NET_WM_WINDOW_TYPE_DIALOG "$caption_only"
check_transient "$dialog" "the operation dialog"
check_not_lost "$dialog" "the operation dialog"
keys Escape
wait_gone '^ Distance from Fix to Fix$'
wait_active "$main_window" "the main window"

keys Insert
dialog=$(wait_window '^ New Fix$')
wait_active "$dialog" "New Fix"
check_window "$dialog" "New Fix" _NET_WM_WINDOW_TYPE_DIALOG "$caption_only"
check_transient "$dialog" "New Fix"
# A name in use: the error box, without a frame.
type_text 'paris'; keys Tab; type_text '1n'; keys Tab; type_text '1e'; keys Return
error_box=$(wait_focus_moves "$dialog")
[ "$(window_height "$error_box")" -eq 57 ] || fail "the window that took the focus is no error box"
check_transient "$error_box" "the error box"
[ "$(property "$error_box" _NET_FRAME_EXTENTS)" = "0, 0, 0, 0" ] ||
  fail "the error box has a frame: $(property "$error_box" _NET_FRAME_EXTENTS)"
keys space
wait_active "$dialog" "New Fix after the error box"
keys Escape Escape Escape
wait_gone '^ New Fix$'
wait_active "$main_window" "the main window"

keys Delete
box=$(wait_window '^  Navorix $')
wait_active "$box" "the question box"
check_window "$box" "the question box" _NET_WM_WINDOW_TYPE_DIALOG "$caption_only"
check_transient "$box" "the question box"
check_not_lost "$box" "the question box"
# Plain N answers No.
keys n
wait_gone '^  Navorix $'
wait_active "$main_window" "the main window"
[ "$(xdotool search --onlyvisible --name '^Navorix$' | wc -l)" -ge 1 ] || fail "the main window went"

leave_saving
grep -q 'PARIS' "$folder/data/navorix.fix" || fail "N deleted the fix"
echo "title bars and window types as asked; minimised dialogs and boxes came back"
