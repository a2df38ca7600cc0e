# Shared part of the real-window tests, sourced by them: the program runs in
# a portable folder of its own under a virtual X server (xvfb-run) with
# openbox as window manager, and is driven by synthetic keystrokes
# (xdotool), as a user at the keyboard drives it.
#
#   bash TEST.sh NAVORIX NAVORIX-BATCH SOURCE-DIR
#
# A test re-runs itself under xvfb-run; exit status 77 (skipped) when a
# tool is missing. Every wait has a limit, so a window that never comes
# fails the test instead of hanging it.

navorix_program=$(realpath "$1")
batch_program=$(realpath "$2")
source_dir=$(realpath "$3")

for tool in xvfb-run xauth xdotool openbox; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (setup.sh installs it)"
    exit 77
  fi
done

if [ -z "${NAVORIX_UNDER_XVFB:-}" ]; then
  export NAVORIX_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi

# Seconds any one window may take to come or go on a loaded machine.
patience=${NAVORIX_TEST_PATIENCE:-40}
# Milliseconds between synthetic keystrokes.
key_delay=40

work=$(mktemp -d)
folder=$work/navorix
wm=
app=

finish() {
  local status=$?
  if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then kill "$app" 2>/dev/null || true; fi
  if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi
  if [ "$status" -ne 0 ] && [ -s "$work/navorix.log" ]; then
    echo "--- the program's output:"
    cat "$work/navorix.log"
  fi
  rm -rf "$work"
}
trap finish EXIT

fail() {
  echo "FAILED: $*" >&2
  echo "--- visible windows:" >&2
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    echo "  $id '$(xdotool getwindowname "$id" 2>/dev/null)'" \
      "$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/^ *Geometry: //p')" >&2
  done
  echo "--- focus: $(active_window || echo none)" >&2
  if [ -n "${NAVORIX_TEST_SHOTS:-}" ] && command -v import >/dev/null; then
    import -window root "$NAVORIX_TEST_SHOTS" 2>/dev/null || true
  fi
  exit 1
}

# One step of a wait: a tenth of a second more on the caller's "waited",
# and the test fails with the message $1 once the patience is used up.
tick() {
  sleep 0.1
  waited=$((waited + 1))
  [ "$waited" -lt $((patience * 10)) ] || fail "$1"
}

# A portable installation: the program beside its "data" folder, the
# sounds and the help file.
make_folder() {
  mkdir -p "$folder/data"
  cp "$navorix_program" "$folder/navorix"
  cp -r "$source_dir/wav" "$folder/wav"
  cp "$source_dir/help/navorix.hlp" "$folder/navorix.hlp"
}

start_window_manager() {
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm=$!
  local waited=0
  # The window manager is ready once it announces its desktops.
  until xdotool get_num_desktops >/dev/null 2>&1; do
    tick "openbox did not start"
  done
}

# The window that has the keyboard: as the window manager says, or, on a
# bare X server, as the server says.
active_window() {
  if [ -n "$wm" ]; then
    xdotool getactivewindow 2>/dev/null
  else
    xdotool getwindowfocus 2>/dev/null
  fi
}

# The id of the visible windows whose name matches the regular expression.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }

# Waits until exactly one visible window matches, and prints its id.
wait_window() {
  local ids waited=0
  while :; do
    ids=$(visible "$1")
    if [ -n "$ids" ] && [ "$(printf '%s\n' "$ids" | wc -l)" -eq 1 ]; then break; fi
    tick "no single window named '$1' (found: ${ids:-none})"
  done
  printf '%s\n' "$ids"
}

# Waits until no visible window matches.
wait_gone() {
  local waited=0
  while [ -n "$(visible "$1")" ]; do
    tick "the window '$1' stayed open"
  done
}

# Waits until window $1 has the keyboard focus.
wait_active() {
  local waited=0
  until [ "$(active_window)" = "$1" ]; do
    tick "window $1 ($2) never got the keyboard focus"
  done
}

# Waits for the window named $1 and for it to have the focus.
wait_dialog() {
  local id
  id=$(wait_window "$1")
  wait_active "$id" "$1"
}

# Waits until a window other than $1 has the keyboard focus, and prints it.
wait_focus_moves() {
  local waited=0 active
  while :; do
    active=$(active_window || true)
    [ -z "$active" ] || [ "$active" = "$1" ] || break
    tick "the focus stayed on window $1"
  done
  printf '%s\n' "$active"
}

# The height of window $1 in pixels.
window_height() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p'; }

keys() { xdotool key --delay "$key_delay" "$@"; }

# Types text; "@" stands for Ctrl+D, the degree sign of the input dialogs.
type_text() {
  local text=$1
  while [[ $text == *@* ]]; do
    [ -z "${text%%@*}" ] || xdotool type --delay "$key_delay" -- "${text%%@*}"
    keys ctrl+d
    text=${text#*@}
  done
  [ -z "$text" ] || xdotool type --delay "$key_delay" -- "$text"
}

# Starts the program from its folder and waits until the main window alone
# is shown (the splash, which has the same name, closes a second after the
# window shows) and has the focus.
start_navorix() {
  (cd "$folder" && QT_QPA_PLATFORM=xcb exec ./navorix >"$work/navorix.log" 2>&1) &
  app=$!
  local waited=0 width=0
  while :; do
    main_window=$(wait_window '^Navorix$')
    width=$(xdotool getwindowgeometry --shell "$main_window" 2>/dev/null | sed -n 's/^WIDTH=//p')
    [ "${width:-0}" -lt 600 ] || break
    tick "the main window did not show"
  done
  wait_active "$main_window" "the main window"
}

# Fills the dialog whose caption is $1: each further argument is typed into
# the next field in the Tab order, then Enter; waits until it has closed.
fill_dialog() {
  local caption=$1 first=1
  shift
  wait_dialog "^$caption\$"
  for field in "$@"; do
    [ "$first" -eq 1 ] || keys Tab
    first=0
    type_text "$field"
  done
  keys Return
  wait_gone "^$caption\$"
  wait_active "$main_window" "the main window"
}

# Leaves with Alt+F, X and Enter (Yes to saving the status) and waits until
# the program has ended.
leave_saving() {
  keys alt+f
  sleep 0.3
  keys x
  wait_dialog '^  Navorix $'
  keys Return
  local waited=0
  while kill -0 "$app" 2>/dev/null; do
    tick "the program did not end after Alt+F, X, Enter"
  done
  wait "$app" || fail "the program ended with status $?"
  app=
}
