#!/usr/bin/env bash
# editor_e2e.sh -- runs the real vitrion_edit under a private X server, takes
# screenshots of the main window and the two form dialogs, and exits it
# through File > Exit, expecting exit code 0.
# Usage: editor_e2e.sh <path to vitrion_edit> <screenshot folder>
set -euo pipefail
program=$(realpath "$1")
shots=$2
mkdir -p "$shots"

# A private X server on a display number it picks itself (no race with other
# tests starting servers at the same time).
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 200); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
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

# The help files are looked up in the start-up folder: start beside them.
cd "$(dirname "$program")"
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

open_configuration 1
dialog=$(wait_window "Background definition.")
sleep 0.4
import -window "$dialog" "$shots/editor-background.png"
xdotool key Escape
sleep 0.3

# File > Exit.
xdotool mousemove 15 10 click 1
sleep 0.3
xdotool key Down Down Down Return
status=0
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
wait "$app_pid" || status=$?
app_pid=
echo "vitrion_edit exited with code $status"
for shot in editor-main editor-personal editor-background; do
  [[ -s $shots/$shot.png ]] || { echo "missing screenshot $shot"; exit 1; }
done
exit "$status"
