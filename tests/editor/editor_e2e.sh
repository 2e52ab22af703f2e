#!/usr/bin/env bash
# editor_e2e.sh -- runs the real vitrion_edit under a private X server, takes
# screenshots of the main window and of every dialog (a picture chosen, a
# floater drawn, a streak traced, each undone again so the document ends as
# it began), and closes the window as a window manager does (WM_DELETE_WINDOW),
# expecting exit code 0 with no question asked.
# Usage: editor_e2e.sh <path to vitrion_edit> <screenshot folder> [<wm_delete_window>]
# Without the third program the run ends through File > Exit.
set -euo pipefail
program=$(realpath "$1")
shots=$2
closer=${3:-}
mkdir -p "$shots"

# A private X server on a display number it picks itself (no race with other
# tests starting servers at the same time).
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/../support/private_xvfb.sh"
private_xvfb_start 1024x768x24 || exit 1
unset WAYLAND_DISPLAY
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
# Under the sanitizer build: the X keyboard library hands strndup a bounded,
# unterminated buffer, which strict string checks report although it is sound.
[[ -n ${ASAN_OPTIONS:-} ]] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"

# Wait until a window with this exact title is mapped; prints its id.
wait_window() {
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    if [[ -n $id ]]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  echo "window '$1' did not appear" >&2
  return 1
}

# A home of its own with a Pictures folder holding a phone-sized photo, and a
# working directory away from the program (its help files are found anyway).
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_STATE_HOME=$work/home/.local/state
mkdir -p "$HOME/Pictures" "$work/elsewhere"
convert -size 4032x3024 gradient:'#7fb3e6-#3d6b2f' "$HOME/Pictures/photo.jpg"
cd "$work/elsewhere"
QT_QPA_PLATFORM=xcb "$program" &
app_pid=$!

main=$(wait_window "Vitrion Editor.")
sleep 0.5
import -window root "$shots/editor-main.png"

# Opens Configurations > the n-th entry with the keyboard after a click on
# the menu title (the window sits at the screen's top left: no window manager).
open_configuration() {
  xdotool mousemove 62 10 click 1
  sleep 0.3
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
}

open_configuration 2
dialog=$(wait_window "Personal information form")
sleep 0.4
import -window "$dialog" "$shots/editor-personal.png"
xdotool key Escape
sleep 0.3

# Clicks at a pixel of a window's client area.
click_in() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
# Holds the left button down along a path of "x,y" points of a window.
trace_in() {
  local window=$1; shift
  xdotool mousemove --window "$window" "${1%,*}" "${1#*,}" mousedown 1
  for point in "$@"; do xdotool mousemove --window "$window" "${point%,*}" "${point#*,}"; sleep 0.01; done
  xdotool mouseup 1
  sleep 0.3
}

# Background 2: the chooser opens in Pictures; the photo gets a preview and
# the reduced size the simulator shows it at is said. "erase" then leaves the slot as it was.
open_configuration 1
dialog=$(wait_window "Background definition.")
sleep 0.4
click_in "$dialog" 337 104
wait_window "Load JPG as background" >/dev/null
sleep 0.5
xdotool type photo.jpg
xdotool key Return
sleep 0.8
import -window "$dialog" "$shots/editor-background.png"
click_in "$dialog" 498 104
xdotool key Escape
sleep 0.3

# Left eye > Floaters: a floater drawn, shown, then deleted.
open_configuration 3
xdotool key Return   # the submenu opened on "Floaters"
dialog=$(wait_window "Floater map. Left eye")
sleep 0.4
path=()
for i in $(seq 0 120); do path+=("$((250 + i * 2)),$((380 - (i * i) / 60 + (i * i * i) / 10800)) "); done
trace_in "$dialog" ${path[@]}
import -window "$dialog" "$shots/editor-floater-map.png"
click_in "$dialog" 895 507
xdotool key Escape
sleep 0.3

# Left eye > Sac refractions: a streak traced, shown, then cleared.
open_configuration 3
xdotool key Down Return
dialog=$(wait_window "Sac refractions. Left eye")
sleep 0.4
path=()
for i in $(seq 0 80); do path+=("$((150 + i * 4)),$((230 + (i - 40) * (i - 40) / 12)) "); done
trace_in "$dialog" ${path[@]}
import -window "$dialog" "$shots/editor-sac-refractions.png"
click_in "$dialog" 708 318
xdotool key Escape
sleep 0.3

if [[ -n $closer ]]; then
  "$closer" "$main"
else
  xdotool mousemove 15 10 click 1   # File > Exit
  sleep 0.3
  xdotool key Down Down Down Return
fi
status=0
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
wait "$app_pid" || status=$?
app_pid=
echo "vitrion_edit exited with code $status"
for shot in editor-main editor-personal editor-background editor-floater-map editor-sac-refractions; do
  [[ -s $shots/$shot.png ]] || { echo "missing screenshot $shot"; exit 1; }
done
exit "$status"
