#!/usr/bin/env bash
# The real window, by the keyboard alone: a fix added with Ins, its name,
# Tab, its latitude, Tab, its longitude and Enter; the same name refused in
# the error box, which a key closes; then Alt+F, X and Enter (Yes, save the
# status). The status fix file must hold the fix exactly as navorix-batch
# saves it.
#   bash real_add_fix_test.sh NAVORIX NAVORIX-BATCH SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/real_window.sh"

make_folder
start_window_manager
start_navorix

keys Insert
# Small letters and "d" become capitals and the degree sign.
fill_dialog ' New Fix' 'keyfix' "12d30'n" '8.25e'

# The same name again: the error box takes the focus and any key closes
# it; the dialog is back with the focus in the longitude, where Esc clears
# the text and a second Esc cancels.
keys Insert
dialog=$(wait_window '^ New Fix$')
wait_active "$dialog" "the second New Fix"
type_text 'keyfix'; keys Tab; type_text '1n'; keys Tab; type_text '1e'; keys Return
error_box=$(wait_focus_moves "$dialog")
[ "$(window_height "$error_box")" -eq 57 ] || fail "the window that took the focus is no error box"
keys space
wait_active "$dialog" "the New Fix dialog after the error box"
keys Escape Escape
wait_gone '^ New Fix$'
wait_active "$main_window" "the main window"

leave_saving

[ -f "$folder/data/navorix.fix" ] || fail "data/navorix.fix was not written"
[ -f "$folder/navorix.ini" ] || fail "navorix.ini was not written beside the program"
[ -f "$folder/data/navorix.his" ] || fail "data/navorix.his was not written"

# The same fix through navorix-batch, saved with the same settings.
printf '12\xb030'"'"'N 8.25E KEYFIX\r\n' >"$work/typed.fix"
printf 'save %s\n' "$work/expected.fix" >"$work/script.txt"
"$batch_program" --ini "$folder/navorix.ini" "$work/typed.fix" "$work/script.txt" >"$work/batch.out"
[ -s "$work/expected.fix" ] || fail "navorix-batch saved nothing"
if ! cmp -s "$work/expected.fix" "$folder/data/navorix.fix"; then
  echo "expected:"; od -c "$work/expected.fix" | head -5
  echo "saved:"; od -c "$folder/data/navorix.fix" | head -5
  fail "data/navorix.fix does not hold the fix typed"
fi
echo "data/navorix.fix: $(tr -d '\r' <"$folder/data/navorix.fix" | iconv -f CP1252 -t UTF-8)"
