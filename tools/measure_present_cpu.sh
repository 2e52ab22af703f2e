#!/usr/bin/env bash
# measure_present_cpu.sh -- the whole simulator's CPU use as a user runs it:
# every effect on, the pointer moving, 20 frames a second, on a private Xvfb
# at several screen sizes, for each build and present path asked for.
#
# Usage: measure_present_cpu.sh [--seconds N] [--sizes "WxH ..."] [--rounds N] RUN...
#   RUN is LABEL:BIN_DIR[:PRESENT], BIN_DIR holding vitrion_sim and
#   vitrion.dat, PRESENT "software" or "opengl" (sets VITRION_PRESENT; left
#   out, the program chooses, as an older build without the variable does).
# Example (an older commit built in a worktree of its own):
#   tools/measure_present_cpu.sh old:../vitrion-old/build/bin \
#     new:build/bin:software new:build/bin:opengl
#
# For each run it reads the simulator's own CPU time (user + system, all of
# its threads, from /proc/PID/stat) and the X server's over the measured
# seconds, which start after the intro has ended and every effect is on.
# Prints one Markdown table row per run, as percent of one core. Everything
# it starts runs at nice 10, so other work on the machine keeps its share.
set -u
seconds=20
sizes="1366x768 1920x1080 3840x2160"
rounds=1
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { sed -n '2,18p' "$0"; exit 2; }
for tool in Xvfb xdotool; do command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }; done

title="Vitrion simulator v2.0"
tick=$(getconf CLK_TCK)
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

# CPU ticks (user + system) of process $1 so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now() { date +%s.%N; }

# One measurement: label, bin dir, present path (may be empty), size.
measure() {
  local label=$1 bin=$2 present=$3 size=$4
  rm -rf "$work/run" "$work/display"
  mkdir "$work/run"
  cp "$bin/vitrion.dat" "$work/run/"
  nice -n 10 Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start at $size" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
  (
    cd "$work/run" || exit 1
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM VITRION_PRESENT
    [ -n "$present" ] && export VITRION_PRESENT=$present
    exec nice -n 10 "$bin/vitrion_sim"
  ) >"$work/sim.log" 2>&1 &
  sim_pid=$!
  timeout 30 xdotool search --sync --onlyvisible --name "$title" >/dev/null || { echo "no window" >&2; return 1; }
  local w=${size%x*} h=${size#*x}
  xdotool mousemove $((w / 2)) $((h / 2))
  sleep 2                  # the first tick loads the default vision
  xdotool click 1          # ends the intro
  sleep 3
  # Every effect: cataracts, retina shadow, sunglasses, flashes, stars,
  # sparks, sac refractions, more blood cells, the myopic blur (floaters
  # are on from the start).
  for key in g y w f c d x p p p p p m; do xdotool key "$key"; sleep 0.2; done
  sleep 3
  # The gaze sweeps the screen for the whole measurement, one move every
  # 50 ms, all from one xdotool process.
  local moves=() i
  for ((i = 0; i < seconds * 20 + 40; i++)); do
    moves+=(mousemove $((w / 8 + (i * 37 % 16) * w * 3 / 64)) $((h / 8 + (i * 23 % 16) * h * 3 / 64)) sleep 0.05)
  done
  xdotool "${moves[@]}" &
  local mover=$!
  sleep 1
  local s0 x0 t0 s1 x1 t1
  s0=$(cpu_ticks "$sim_pid"); x0=$(cpu_ticks "$xvfb_pid"); t0=$(now)
  sleep "$seconds"
  s1=$(cpu_ticks "$sim_pid"); x1=$(cpu_ticks "$xvfb_pid"); t1=$(now)
  kill "$mover" 2>/dev/null; wait "$mover" 2>/dev/null
  kill -0 "$sim_pid" 2>/dev/null || { echo "vitrion_sim ended early: $(cat "$work/sim.log")" >&2; return 1; }
  xdotool key Escape
  for _ in $(seq 50); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; sim_pid=""
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=""
  awk -v l="$label" -v p="${present:-(its own)}" -v z="$size" -v s=$((s1 - s0)) -v x=$((x1 - x0)) \
      -v t0="$t0" -v t1="$t1" -v k="$tick" 'BEGIN {
        e = t1 - t0; printf "| %s | %s | %s | %.1f %% | %.1f %% |\n", l, p, z, 100 * s / k / e, 100 * x / k / e }'
}

echo "| build | present | screen | vitrion_sim CPU | Xvfb CPU |"
echo "|---|---|---|---|---|"
for ((round = 0; round < rounds; round++)); do
  for size in $sizes; do
    for run in "$@"; do
      IFS=: read -r label bin present <<<"$run"
      measure "$label" "$(cd "$bin" && pwd)" "${present:-}" "$size" || exit 1
    done
  done
done
