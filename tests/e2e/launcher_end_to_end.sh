#!/usr/bin/env bash
# launcher_end_to_end.sh -- installs the project into a temporary prefix and
# starts the installed launcher with a fresh home: it must create the folder
# Vitrion in the pictures folder, copy the default vision there (again when the
# installed one is newer) and run the simulator in it, so that an F8 capture
# lands there.
# Usage: launcher_end_to_end.sh <build dir>
set -u
build_dir=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e_lib.sh"

need_tools Xvfb xdotool od timeout cmake
[ -f "$build_dir/bin/vitrion.dat" ] || skip "no default vision in $build_dir/bin"
cmake --install "$build_dir" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
  fail "install failed: $(tail -5 "$work/install.log")"
[ -x "$work/prefix/bin/vitrion" ] || fail "no launcher installed"
[ -f "$work/prefix/share/applications/org.vitrion.Simulator.desktop" ] || fail "no desktop entry installed"
[ -f "$work/prefix/share/icons/hicolor/256x256/apps/vitrion.png" ] || fail "no icon installed"

start_xvfb
# A home whose desktop names its pictures folder, and an old default vision
# there that the installed one must replace.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$XDG_CONFIG_HOME" "$HOME/Bilder/Vitrion"
echo 'XDG_PICTURES_DIR="$HOME/Bilder"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
folder="$HOME/Bilder/Vitrion"
command -v xdg-user-dir >/dev/null || folder="$HOME/Pictures/Vitrion"
mkdir -p "$folder"
echo old >"$folder/vitrion.dat"
touch -d '2000-01-01' "$folder/vitrion.dat"
# Started from elsewhere, through a symbolic link, as a menu would.
ln -s "$work/prefix/bin/vitrion" "$work/vitrion-link"
(cd / && exec "$work/vitrion-link") >"$work/sim.log" 2>&1 &
sim_pid=$!
wait_for_window >/dev/null
cmp -s "$folder/vitrion.dat" "$build_dir/bin/vitrion.dat" || fail "default vision not refreshed in $folder"

xdotool mousemove 512 384
sleep 1.5
xdotool click 1
sleep 1
xdotool key F8
capture=$(wait_for_capture "$folder") || exit 1
echo "capture $capture"
quit_with_escape
echo "PASS"
