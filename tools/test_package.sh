#!/usr/bin/env bash
# test_package.sh -- builds the Debian package and checks it as a user meets it:
# it holds exactly what `cmake --install` installs, installs with dpkg -i, both
# programs start from their menu entries' commands under a private Xvfb (the
# simulator through its launcher in a fresh home) with the X11 window classes
# the entries name, the simulator finds the installed default vision from any
# folder, and dpkg -r leaves none of its files behind. The package is removed
# again also when a check fails.
# Usage: tools/test_package.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
build=$(mkdir -p "${1:-build}" && cd "${1:-build}" && pwd)
. tests/e2e/e2e_lib.sh

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
package_installed() { dpkg-query -W -f='${Status}' vitrion 2>/dev/null | grep -q "install ok installed"; }
installed_by_us=0
editor_pid=""
remove_package() {
  if [ "$installed_by_us" = 1 ] && package_installed; then "${sudo[@]}" dpkg -r vitrion >/dev/null; fi
  installed_by_us=0
}
trap '[ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null; remove_package; cleanup' EXIT
package_installed && fail "a vitrion package is already installed; remove it first (this test must leave the machine as it was)"

bash tools/setup.sh
cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target package
deb=$(ls "$build"/vitrion_*_amd64.deb)
echo "package $(basename "$deb"), $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends

# 1. The package lists exactly what the installation installs.
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/stage" && find . -mindepth 1 \( -type d -printf '%p/\n' \) -o -printf '%p\n') | sort >"$work/installed.txt"
dpkg-deb --contents "$deb" | awk '{print $6}' | sort >"$work/packaged.txt"
diff -u "$work/installed.txt" "$work/packaged.txt" || fail "the package does not hold what cmake --install installs"
files=$(grep -v '/$' "$work/packaged.txt" | sed 's|^\.||')
echo "$(echo "$files" | wc -l) files, as installed"

# 2. It installs.
"${sudo[@]}" dpkg -i "$deb" >/dev/null
installed_by_us=1
desktop-file-validate /usr/share/applications/org.vitrion.*.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.vitrion.Simulator.metainfo.xml >/dev/null

# 3. Both programs run, started as their menu entries start them.
entry_key() { sed -n "s/^$2=//p" "/usr/share/applications/$1.desktop"; }
window_class() { xprop -id "$1" WM_CLASS | sed 's/.*= //'; }
start_xvfb || true   # its failures exit by themselves; its last test may be false
home="$work/home"
mkdir "$home"

simulator_command=$(entry_key org.vitrion.Simulator Exec)
(cd / && exec env -u XDG_CONFIG_HOME HOME="$home" $simulator_command) >"$work/sim.log" 2>&1 &
sim_pid=$!
window=$(wait_for_window)
class=$(entry_key org.vitrion.Simulator StartupWMClass)
window_class "$window" | grep -q "\"$class\"" ||
  fail "simulator window class $(window_class "$window") does not name StartupWMClass $class"
cmp -s "$home/Pictures/Vitrion/vitrion.dat" /usr/share/vitrion/vitrion.dat ||
  fail "the launcher did not put the default vision in $home/Pictures/Vitrion"
sleep 3
kill -0 "$sim_pid" 2>/dev/null || fail "the simulator ended by itself: $(cat "$work/sim.log")"
quit_with_escape
echo "simulator: ran from the menu's command in $home/Pictures/Vitrion, class $class"

# Started by name from a folder without vitrion.dat, it uses the installed one.
mkdir "$work/empty"
(cd "$work/empty" && exec env QT_LOGGING_RULES="vitrion.trace.debug=true" vitrion_sim) >"$work/sim.log" 2>&1 &
sim_pid=$!
wait_for_window >/dev/null
sleep 1
grep -q "vision instalada /usr/share/vitrion/vitrion.dat" "$work/sim.log" ||
  fail "vitrion_sim did not fall back to the installed default vision: $(cat "$work/sim.log")"
quit_with_escape
echo "simulator: found the installed default vision from an empty folder"

editor_command=$(entry_key org.vitrion.Editor Exec)
(cd "$home" && exec env HOME="$home" $editor_command) >"$work/editor.log" 2>&1 &
editor_pid=$!
editor_window=$(timeout 20 xdotool search --sync --onlyvisible --name "Vitrion Editor." | head -n1)
[ -n "$editor_window" ] || fail "no editor window: $(cat "$work/editor.log")"
class=$(entry_key org.vitrion.Editor StartupWMClass)
window_class "$editor_window" | grep -q "\"$class\"" ||
  fail "editor window class $(window_class "$editor_window") does not name StartupWMClass $class"
sleep 3
kill -0 "$editor_pid" 2>/dev/null || fail "the editor ended by itself: $(cat "$work/editor.log")"
kill "$editor_pid"
wait "$editor_pid" 2>/dev/null || true
editor_pid=""
echo "editor: ran from the menu's command, class $class"

# 4. The desktop knows vision files: their type, and opening one starts the
# simulator on it (outside any desktop environment: xdg-open's own lookup).
vision_file="$home/Sent by a friend.flt"
cp /usr/share/vitrion/vitrion.dat "$vision_file"
type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION HOME="$home" xdg-mime query filetype "$vision_file")
[ "$type" = "application/x-vitrion-vision" ] || fail "xdg-mime calls a .flt file '$type'"
default=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION HOME="$home" xdg-mime query default "$type")
[ "$default" = "org.vitrion.Simulator.desktop" ] || fail "vision files open with '$default'"
(cd / && exec env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u XDG_CONFIG_HOME HOME="$home" xdg-open "$vision_file") \
  >"$work/sim.log" 2>&1 &
opener_pid=$!
wait_for_window >/dev/null
sim_pid=$(pgrep -n -x vitrion_sim) || fail "xdg-open started no vitrion_sim: $(cat "$work/sim.log")"
tr '\0' '\n' <"/proc/$sim_pid/cmdline" | grep -qxF "$vision_file" ||
  fail "the simulator was not started on the file: $(tr '\0' ' ' <"/proc/$sim_pid/cmdline")"
xdotool key Escape
for _ in $(seq 100); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$sim_pid" 2>/dev/null && fail "vitrion_sim still runs 10 s after Escape"
sim_pid=""
wait "$opener_pid" 2>/dev/null || true
echo "desktop: a .flt file is $type and opens in the simulator"

# The installed editor fills in the installed web player (built where
# emscripten is installed): a page that holds the vision it was given.
if [ -f /usr/share/vitrion/web/vitrion_player.html ]; then
  (cd "$home" && QT_QPA_PLATFORM=offscreen vitrion_edit --web-page "$home/sent.html" --include-comments "$vision_file") \
    >"$work/web.log" 2>&1 || fail "vitrion_edit --web-page failed: $(cat "$work/web.log")"
  grep -qF "$(head -c 3000 "$vision_file" | base64 -w0 | head -c 3000)" "$home/sent.html" ||
    fail "the web page does not hold the vision it was made from"
  echo "web page: the installed editor made a $(stat -c %s "$home/sent.html")-byte page from the installed player"
else
  echo "web page: no player installed (built without emscripten)"
fi

# 5. Removing it leaves none of its files.
"${sudo[@]}" dpkg -r vitrion >/dev/null
installed_by_us=0
package_installed && fail "vitrion is still installed after dpkg -r"
left=""
for f in $files /usr/share/vitrion /usr/share/doc/vitrion; do [ -e "$f" ] && left="$left $f"; done
[ -z "$left" ] || fail "left behind after dpkg -r:$left"
echo "PASS: package built, installed, run and removed"
