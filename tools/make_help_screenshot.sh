#!/usr/bin/env bash
# make_help_screenshot.sh -- shows the help screen of the default vision with
# the real simulator on a private 1920 x 1080 Xvfb and saves the screen as
# docs/sim-help.png.
# Usage: tools/make_help_screenshot.sh [build dir, default build]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
bin_dir="$build/bin"
. "$root/tests/e2e/e2e_lib.sh"

need_tools Xvfb xdotool import convert
[ -x "$bin_dir/vitrion_sim" ] && [ -f "$bin_dir/vitrion.dat" ] || fail "build vitrion_sim and default_vision first"

private_xvfb_start 1920x1080x24 || fail "no private X server"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir "$work/run"
cp "$bin_dir/vitrion.dat" "$work/run/"
(cd "$work/run" && exec "$bin_dir/vitrion_sim") >"$work/sim.log" 2>&1 &
sim_pid=$!
timeout 20 xdotool search --sync --onlyvisible --name "$title" >/dev/null || fail "no window named '$title'"
xdotool mousemove 960 540
sleep 1.5
xdotool click 1              # into the simulation
sleep 3                      # the eye opens, floaters come to rest
xdotool key F1
sleep 1
import -window root "$work/help.png" || fail "the screen could not be read"
# 256 colours keep the picture small enough for the README.
convert "$work/help.png" -colors 256 "$root/docs/sim-help.png"
quit_with_escape
echo "wrote docs/sim-help.png"
