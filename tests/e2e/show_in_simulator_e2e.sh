#!/usr/bin/env bash
# show_in_simulator_e2e.sh -- the real editor and simulator on a private X
# server: the editor starts on a person's vision file given on its command
# line, gets a white background and a floater drawn, and F5 starts the
# simulator, whose frame (an F8 capture) shows the floater where it was drawn.
# F5 again replaces that simulator with a fresh one; the person's file is
# never written, and the private copy the simulator was shown goes when it ends.
# Usage: show_in_simulator_e2e.sh <bin dir with vitrion_edit, vitrion_sim and vitrion.dat>
set -u
bin_dir=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e_lib.sh"
need_tools Xvfb xdotool import convert pgrep
[ -f "$bin_dir/vitrion.dat" ] || skip "no default vision in $bin_dir"
editor_pid=""
trap '[ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null; cleanup' EXIT

start_xvfb
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_STATE_HOME="$work/home/.local/state"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$work/person" "$work/here"
chmod 700 "$work/run" 2>/dev/null || { mkdir -m 700 "$work/run"; }
# The simulator finds its default vision in the folder it is started from.
cp "$bin_dir/vitrion.dat" "$work/here/"
cp "$bin_dir/vitrion.dat" "$work/person/mine.flt"
convert -size 1280x960 xc:white "$HOME/white.jpg"
before=$(cd "$work/person" && ls -l --time-style=full-iso && sha256sum mine.flt)

wait_window() {
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  fail "window '$1' did not appear"
}
click_in() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
open_configuration() {
  xdotool mousemove 62 10 click 1
  sleep 0.3
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
}
# Dark pixels (below 200 of 255) in the rectangle WxH+X+Y of picture $1.
dark_pixels() {
  convert "$1" -crop "$2" +repage -colorspace gray -threshold 78% -negate -format "%[fx:round(mean*w*h)]" info:
}

cd "$work/here"
QT_QPA_PLATFORM=xcb "$bin_dir/vitrion_edit" ../person/mine.flt >"$work/editor.log" 2>&1 &
editor_pid=$!
wait_window "Vitrion Editor." >/dev/null
sleep 1

# Background 1: the white picture.
open_configuration 1
dialog=$(wait_window "Background definition.")
sleep 0.4
click_in "$dialog" 337 78
wait_window "Load JPG as background" >/dev/null
sleep 0.5
xdotool type "$HOME/white.jpg"
xdotool key Return
sleep 0.8
xdotool key Escape
sleep 0.3

# Left eye > Floaters: a short thick stroke around map (300..360, 200..230),
# screen (220..280, 140..170).
open_configuration 3
xdotool key Return
dialog=$(wait_window "Floater map. Left eye")
sleep 0.4
for row in 200 210 220 230; do
  xdotool mousemove --window "$dialog" 300 "$row" mousedown 1
  for x in $(seq 300 4 360); do xdotool mousemove --window "$dialog" "$x" "$row"; sleep 0.01; done
  xdotool mouseup 1
done
sleep 0.3
xdotool key Escape
sleep 0.5

# Shows the document in the simulator, with the pointer parked off the
# stroke; prints the simulator's process id.
show() {
  xdotool mousemove 1000 760
  sleep 0.2
  xdotool windowfocus --sync "$(xdotool search --name "^Vitrion Editor.\$" | head -1)" key F5
  wait_for_window >/dev/null || fail "no simulator window: $(cat "$work/editor.log")"
  local pid=""
  for _ in $(seq 50); do pid=$(pgrep -P "$editor_pid" -x vitrion_sim) && break; sleep 0.1; done
  [ -n "$pid" ] || fail "F5 started no simulator: $(cat "$work/editor.log")"
  echo "$pid"
}
first=$(show)
copies=$(ls "$XDG_RUNTIME_DIR"/vitrion/*.flt 2>/dev/null | wc -l)
[ "$copies" = 1 ] || fail "$copies shown copies in $XDG_RUNTIME_DIR/vitrion, not 1"
tr '\0' ' ' <"/proc/$first/cmdline" | grep -q -- "--no-intro $XDG_RUNTIME_DIR/vitrion/shown-" ||
  fail "the simulator runs as: $(tr '\0' ' ' <"/proc/$first/cmdline")"

# The floater in the simulator's frame: dark where it was drawn, none
# elsewhere. A capture that caught a blink (the top rows dark) is taken again.
found=0
for attempt in 1 2 3 4 5; do
  sleep 1.5
  rm -f vitrion_capture_*.jpg
  xdotool key F8
  capture=$(wait_for_capture "$work/here") || exit 1
  [ "$(dark_pixels "$capture" 640x20+0+0)" -lt 100 ] || continue
  on_stroke=$(dark_pixels "$capture" 140x90+180+110)
  elsewhere=$(dark_pixels "$capture" 140x90+400+250)
  echo "capture $attempt: $on_stroke dark pixels on the stroke, $elsewhere elsewhere"
  if [ "$on_stroke" -ge 100 ] && [ "$elsewhere" -lt $((on_stroke / 10)) ]; then found=1; break; fi
done
[ "$found" = 1 ] || { cp "$capture" /tmp/show_in_simulator_capture.jpg; fail "the floater is not where it was drawn (capture kept in /tmp)"; }

# F5 again, over the running simulator: it gives way to a fresh one.
xdotool mousemove 5 5
sleep 0.2
xdotool key Escape
for _ in $(seq 100); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "the simulator did not end on Escape"
[ -z "$(ls "$XDG_RUNTIME_DIR"/vitrion/ 2>/dev/null)" ] || fail "the shown copy outlived its simulator"
second=$(show)
# F5 again with the editor focused under the running simulator: a fresh
# simulator replaces it.
xdotool windowfocus --sync "$(xdotool search --name "^Vitrion Editor.\$" | head -1)" key F5
third=""
for _ in $(seq 100); do
  third=$(pgrep -P "$editor_pid" -x vitrion_sim || true)
  [ -n "$third" ] && [ "$third" != "$second" ] && break
  sleep 0.1
done
echo "simulators: $first, then $second, then $third"
[ -n "$third" ] && [ "$third" != "$second" ] || fail "F5 did not replace the running simulator"
kill -0 "$second" 2>/dev/null && fail "the replaced simulator still runs"
sleep 1
copies=$(ls "$XDG_RUNTIME_DIR"/vitrion/ | wc -l)
[ "$copies" = 1 ] || fail "$copies shown copies with one simulator running"
xdotool mousemove 500 400
sleep 0.2
xdotool key Escape
for _ in $(seq 100); do kill -0 "$third" 2>/dev/null || break; sleep 0.1; done
sleep 0.3
[ -z "$(ls "$XDG_RUNTIME_DIR"/vitrion/ 2>/dev/null)" ] || fail "shown copies left: $(ls "$XDG_RUNTIME_DIR"/vitrion/)"

# The person's file and its folder are as they were.
after=$(cd "$work/person" && ls -l --time-style=full-iso && sha256sum mine.flt)
[ "$before" = "$after" ] || fail "the person's folder changed: $before / $after"
echo "PASS"
