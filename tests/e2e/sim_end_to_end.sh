#!/usr/bin/env bash
# sim_end_to_end.sh -- starts the real vitrion_sim on a private Xvfb in a
# temporary folder holding a copy of the default vision, ends the intro with a
# click, presses a few command keys, captures the screen with F8, checks the
# capture is a 640 x 480 JPEG, records a clip with F9 ... F9 and checks it
# decodes as a 640 x 480 animation, and quits with Escape, expecting exit code 0.
# Usage: sim_end_to_end.sh <bin dir holding vitrion_sim and vitrion.dat> <sim_clip_check>
set -u
bin_dir=$(cd "$1" && pwd)
clip_check=$2
. "$(dirname "$0")/e2e_lib.sh"

need_tools Xvfb xdotool od timeout
[ -x "$bin_dir/vitrion_sim" ] || fail "no $bin_dir/vitrion_sim"
[ -f "$bin_dir/vitrion.dat" ] || skip "no default vision $bin_dir/vitrion.dat"

start_xvfb
mkdir "$work/run"
cp "$bin_dir/vitrion.dat" "$work/run/"
(cd "$work/run" && exec "$bin_dir/vitrion_sim") >"$work/sim.log" 2>&1 &
sim_pid=$!
wait_for_window >/dev/null
# With the trace log on, the run can insist on the present path it expects.
if [ -n "${VITRION_EXPECT_PRESENT:-}" ]; then
  grep -q "present: $VITRION_EXPECT_PRESENT" "$work/sim.log" || fail "not presenting as '$VITRION_EXPECT_PRESENT': $(grep 'present:' "$work/sim.log")"
fi

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
capture=$(wait_for_capture "$work/run") || exit 1
size=$(jpeg_size "$capture") || exit 1
echo "capture $(basename "$capture"): $size"
[ "$size" = "640x480" ] || fail "capture is $size, not 640x480"

# About two seconds of clip while the gaze moves.
xdotool key F9
for x in 300 400 500 600 700 600 500 400; do
  xdotool mousemove "$x" 400
  sleep 0.25
done
xdotool key F9
clip=""
for _ in $(seq 100); do
  clip=$(ls "$work/run"/vitrion_clip_*.webp 2>/dev/null | head -n1)
  [ -n "$clip" ] && break
  sleep 0.1
done
[ -n "$clip" ] || fail "F9 ... F9 wrote no vitrion_clip_*.webp: $(ls -a "$work/run")"
summary=$("$clip_check" "$clip") || fail "$(basename "$clip") does not decode: $summary"
echo "clip $(basename "$clip"): $summary"
read -r clip_size clip_frames _ clip_ms _ <<<"$summary"
[ "$clip_size" = "640x480" ] || fail "clip is $clip_size, not 640x480"
[ "$clip_frames" -ge 10 ] || fail "clip holds only $clip_frames frames"
[ "$clip_ms" -ge 1000 ] && [ "$clip_ms" -le 10000 ] || fail "clip lasts $clip_ms ms, not about 2 s"
ls -a "$work/run" | grep -q '\.part$' && fail "a temporary clip file was left behind"

quit_with_escape
echo "PASS"
