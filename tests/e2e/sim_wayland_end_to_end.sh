#!/usr/bin/env bash
# sim_wayland_end_to_end.sh -- the real vitrion_sim as a Wayland client of weston.
#  1. Headless weston (an 800 x 600 output nobody sees): the simulator's window
#     carries our app id and covers the output exactly (full screen).
#  2. Weston nested in a private Xvfb, so that xdotool's key presses and clicks
#     reach weston's seat and from there the simulator over Wayland: a click
#     starts the simulation, F8 writes a 640 x 480 capture, F4 opens the file
#     dialog as a second window that takes a typed file name, the simulator is
#     full screen again afterwards and takes keys again (a second capture), and
#     Escape ends it with exit code 0. Then the editor's window must carry its
#     own app id.
# Window geometry and app ids come from weston's scene-graph debug stream.
# Exit code 77 (skipped): weston, its tools, Qt's Wayland plugin or the
# default vision are missing.
# Usage: sim_wayland_end_to_end.sh <bin dir>
set -u
bin_dir=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e_lib.sh"

app_id="org.vitrion.Simulator"
need_tools weston weston-debug Xvfb xdotool od timeout
[ -f "$bin_dir/vitrion.dat" ] || skip "no default vision in $bin_dir"
if command -v qtpaths6 >/dev/null; then
  ls "$(qtpaths6 --plugin-dir)"/platforms/libqwayland-*.so >/dev/null 2>&1 ||
    skip "Qt's Wayland platform plugin (qt6-wayland) is not installed"
fi

# Under the sanitizer build: Qt's Wayland client, libwayland-client and
# libxkbcommon keep allocations until exit, some inside modules already
# unloaded when the leak report is made, so no suppression can name them.
# Address and undefined-behaviour checks stay on; the other end-to-end tests
# keep checking leaks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket="vitrion-test-$$"
weston_pid=""
stop_weston() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  weston_pid=""
}
trap 'stop_weston; cleanup' EXIT

# Starts weston with the extra arguments on our socket and waits for it.
start_weston() {
  weston --socket="$socket" --debug --idle-time=0 "$@" >"$work/weston.log" 2>&1 &
  weston_pid=$!
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$socket" ] && break; sleep 0.1; done
  [ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not start: $(tail -5 "$work/weston.log")"
}

# Prints weston's scene graph.
scene_graph() {
  WAYLAND_DISPLAY="$socket" timeout 5 weston-debug scene-graph 2>/dev/null
}

# Prints the position line "(x0, y0) -> (x1, y1)" of the top-level window
# titled $1 of our app id, or nothing.
window_position() {
  scene_graph | awk -v want="top-level window '$1' of $app_id," '
    index($0, "role xdg_toplevel") && index($0, want) { found = 1; next }
    found && /position:/ { sub(/.*position: /, ""); print; exit }'
}

# Waits up to 20 s for the window titled $1 to cover $2 ("(0, 0) -> (w, h)").
wait_for_full_screen() {
  local position=""
  for _ in $(seq 100); do
    position=$(window_position "$1")
    [ "$position" = "$2" ] && return 0
    sleep 0.2
  done
  fail "window '$1' of $app_id at '${position:-nowhere}', not full screen $2"
}

# Starts the simulator in a fresh folder as a Wayland client.
start_sim() {
  rm -rf "$work/run"
  mkdir "$work/run"
  cp "$bin_dir/vitrion.dat" "$work/run/"
  (cd "$work/run" && exec env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
     "$bin_dir/vitrion_sim") >"$work/sim.log" 2>&1 &
  sim_pid=$!
}

echo "--- headless weston, 800 x 600"
start_weston --backend=headless-backend.so --width=800 --height=600
start_sim
wait_for_full_screen "$title" "(0, 0) -> (800, 600)"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null
sim_pid=""
stop_weston

echo "--- weston nested in Xvfb, 1024 x 768, keys and pointer"
start_xvfb
start_weston --backend=x11-backend.so --use-pixman --width=1024 --height=768
start_sim
wait_for_full_screen "$title" "(0, 0) -> (1024, 768)"
xdotool mousemove 512 384
sleep 1
xdotool click 1          # ends the intro
sleep 1.5
xdotool key F8
capture=$(wait_for_capture "$work/run") || exit 1
[ "$(jpeg_size "$capture")" = 640x480 ] || fail "capture is $(jpeg_size "$capture"), not 640x480"
echo "capture $(basename "$capture") 640x480"

# The file dialog: a second window of ours; it takes the typed name of a copy
# of the default vision and closes on Return.
cp "$work/run/vitrion.dat" "$work/run/mine.flt"
xdotool key F4
dialog=""
for _ in $(seq 50); do
  dialog=$(window_position "Load Vitrion Vision File")
  [ -n "$dialog" ] && break
  sleep 0.2
done
[ -n "$dialog" ] || fail "F4 showed no file dialog"
echo "file dialog at $dialog"
sleep 0.5
xdotool type --delay 40 mine.flt
xdotool key Return
for _ in $(seq 50); do
  [ -z "$(window_position "Load Vitrion Vision File")" ] && break
  sleep 0.2
done
[ -z "$(window_position "Load Vitrion Vision File")" ] || fail "the file dialog did not close on Return"
wait_for_full_screen "$title" "(0, 0) -> (1024, 768)"
kill -0 "$sim_pid" 2>/dev/null || fail "the simulator ended after loading a file: $(cat "$work/sim.log")"
# Keys reach the simulator again once the dialog is gone: a second capture.
sleep 1
rm -f "$capture"
xdotool key F8
wait_for_capture "$work/run" >/dev/null || exit 1

quit_with_escape

# The editor on the same compositor carries its own app id, which names its
# desktop entry.
if [ -x "$bin_dir/vitrion_edit" ]; then
  app_id="org.vitrion.Editor"
  # Its own state folder: no copy of unsaved work left by another run is offered.
  (cd "$work/run" && exec env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
     XDG_STATE_HOME="$work/state" "$bin_dir/vitrion_edit") >"$work/editor.log" 2>&1 &
  editor_pid=$!
  editor=""
  for _ in $(seq 100); do
    editor=$(window_position "Vitrion Editor.")
    [ -n "$editor" ] && break
    sleep 0.2
  done
  kill "$editor_pid" 2>/dev/null
  wait "$editor_pid" 2>/dev/null
  [ -n "$editor" ] || fail "no editor window of $app_id: $(cat "$work/editor.log")"
  echo "editor window of $app_id at $editor"
fi
echo "PASS"
