#!/usr/bin/env bash
# make_clip_strip.sh -- records a short clip of the default vision with the
# real simulator on a private Xvfb (F9, the gaze sweeping the meadow, F9) and
# lays its first frames side by side as docs/sim-clip-strip.png.
# Usage: tools/make_clip_strip.sh [build dir, default build]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
bin_dir="$build/bin"
clip_check="$build/tests/e2e/sim_clip_check"
. "$root/tests/e2e/e2e_lib.sh"

need_tools Xvfb xdotool montage convert
[ -x "$bin_dir/vitrion_sim" ] && [ -f "$bin_dir/vitrion.dat" ] && [ -x "$clip_check" ] ||
  fail "build vitrion_sim, default_vision and sim_clip_check first"

start_xvfb
mkdir "$work/run" "$work/frames"
cp "$bin_dir/vitrion.dat" "$work/run/"
(cd "$work/run" && exec "$bin_dir/vitrion_sim") >"$work/sim.log" 2>&1 &
sim_pid=$!
wait_for_window >/dev/null
xdotool mousemove 512 300
sleep 1.5
xdotool click 1
sleep 3                      # floaters come to rest
xdotool key F9
for step in $(seq 0 40); do  # a slow look from left to right and down
  xdotool mousemove $((200 + step * 12)) $((250 + step * 4))
  sleep 0.05
done
xdotool key F9
clip=""
for _ in $(seq 100); do
  clip=$(ls "$work/run"/vitrion_clip_*.webp 2>/dev/null | head -n1)
  [ -n "$clip" ] && break
  sleep 0.1
done
[ -n "$clip" ] || fail "no clip was written"
"$clip_check" "$clip" "$work/frames" 6 4 || fail "the clip does not decode"
# 256 colours keep the picture small enough for the README.
montage "$work/frames"/frame_*.ppm -tile 4x1 -geometry 320x240+2+0 -background black png:- |
  convert png:- -colors 256 "$root/docs/sim-clip-strip.png"
quit_with_escape
echo "wrote docs/sim-clip-strip.png from a clip of $(stat -c %s "$clip") bytes"
