#!/usr/bin/env bash
# sim_end_to_end.sh -- starts the real vitrion_sim on a private Xvfb in a
# temporary folder holding a copy of the default vision, ends the intro with a
# click, presses a few command keys, captures the screen with F8, checks the
# capture is a 640 x 480 JPEG and quits with Escape, expecting exit code 0.
# Usage: sim_end_to_end.sh <bin dir holding vitrion_sim and vitrion.dat>
set -u
bin_dir=$(cd "$1" && pwd)
title="Vitrion simulator v2.0"

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }

for tool in Xvfb xdotool od timeout; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x "$bin_dir/vitrion_sim" ] || fail "no $bin_dir/vitrion_sim"
[ -f "$bin_dir/vitrion.dat" ] || skip "no default vision $bin_dir/vitrion.dat"

work=$(mktemp -d)
xvfb_pid=""
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the pipe.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

mkdir "$work/run"
cp "$bin_dir/vitrion.dat" "$work/run/"
(cd "$work/run" && exec "$bin_dir/vitrion_sim") >"$work/sim.log" 2>&1 &
sim_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n1)
[ -n "$window" ] || fail "no window named '$title'"
geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry"
echo "$geometry" | grep -q "Geometry: 1024x768" || fail "window is not full screen"

# Keys go to the window under the pointer (no window manager runs here).
xdotool mousemove 512 384
sleep 1.5                   # the first tick loads the default vision
xdotool click 1             # ends the intro
sleep 2
for key in F1 F1 n n space z z; do
  xdotool key "$key"
  sleep 0.3
done
xdotool mousemove 700 500
sleep 0.5
kill -0 "$sim_pid" 2>/dev/null || fail "vitrion_sim ended early: $(cat "$work/sim.log")"

xdotool key F8
capture=""
for _ in $(seq 100); do
  capture=$(ls "$work/run"/vitrion_capture_*.jpg 2>/dev/null | head -n1)
  [ -n "$capture" ] && break
  sleep 0.1
done
[ -n "$capture" ] || fail "F8 wrote no vitrion_capture_*.jpg"
sleep 0.5   # let the encoder finish the file

# The size from the JPEG's start-of-frame marker.
read -r -a bytes <<<"$(od -An -tu1 -v "$capture" | tr -s ' \n' '  ')"
[ "${bytes[0]:-}" = 255 ] && [ "${bytes[1]:-}" = 216 ] || fail "$capture is not a JPEG"
i=2
size=""
while [ $((i + 8)) -lt ${#bytes[@]} ]; do
  [ "${bytes[i]}" = 255 ] || fail "broken JPEG marker at byte $i"
  marker=${bytes[i+1]}
  if [ "$marker" -ge 192 ] && [ "$marker" -le 194 ]; then
    size="$((bytes[i+7] * 256 + bytes[i+8]))x$((bytes[i+5] * 256 + bytes[i+6]))"
    break
  fi
  i=$((i + 2 + bytes[i+2] * 256 + bytes[i+3]))
done
echo "capture $(basename "$capture"): $size"
[ "$size" = "640x480" ] || fail "capture is $size, not 640x480"

xdotool key Escape
for _ in $(seq 100); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$sim_pid" 2>/dev/null && fail "vitrion_sim still runs 10 s after Escape"
wait "$sim_pid"
code=$?
sim_pid=""
[ "$code" = 0 ] || fail "exit code $code: $(cat "$work/sim.log")"
echo "PASS"
