#!/bin/sh
# The player page, opened from file:// in headless Chromium, shows the desktop engine's frames pixel
# for pixel: the same event script through the page's test hook and through the shell on the null
# platform, with the same vision and the default vision the page carries, give the same frame hashes.
# Two visions: the default vision file itself (every effect ticked, two 1280 x 960 JPEG scenes),
# and a photo-like 1280 x 960 scene, the largest the desktop shows at its own size, with the gaze
# at its corners (the browser's JPEG decoding equals libjpeg's there; a larger photo, which both
# show reduced, comes out differently and is left out).
set -eu
. "$(dirname "$0")/web_lib.sh"
web_skip_unless_ready
tmp=$(mktemp -d)
trap '[ -n "${KEEP_TMP:-}" ] || rm -rf "$tmp"' EXIT

# compare NAME VISION SCRIPT: the desktop's and the page's frames of one vision.
compare() {
  "$WEB_TOOL" page "$WEB_PAGE" "$2" "Frame test" "$tmp/$1.html"
  "$WEB_TOOL" frames "$tmp/desktop" "$2" "$3" >"$tmp/$1_desktop.txt"
  web_run_page "file://$tmp/$1.html#test=$3" "$tmp/$1_log.txt"
  web_result "$tmp/$1_log.txt" >"$tmp/$1_browser.txt"
  frames=$(wc -l <"$tmp/$1_desktop.txt")
  distinct=$(sort -u "$tmp/$1_desktop.txt" | wc -l)
  if [ "$distinct" -lt "$4" ] || grep -q "script error" "$tmp/$1_desktop.txt"; then
    echo "FAIL: $1: the desktop run gave $frames frames, $distinct distinct"; exit 1
  fi
  if ! cmp -s "$tmp/$1_desktop.txt" "$tmp/$1_browser.txt"; then
    echo "FAIL: $1: the page's frames differ from the desktop's:"
    diff "$tmp/$1_desktop.txt" "$tmp/$1_browser.txt" | head -20
    exit 1
  fi
  echo "$1: $frames frames ($distinct distinct) equal"
}

mkdir "$tmp/desktop"
cp "$WEB_DEFAULT_VISION" "$tmp/desktop/vitrion.dat"
# Start, gaze moves, every key group (eyes, blink, floaters, scene, effects, myopia), the clock moving on.
script="t3,m100:120,t2,m500:400,t2,k116,t,k117,t2,k118,t,k32,t4,k65,t2,k81,t2,k78,t,k78,t,k74,t,k75,t"
script="$script,k76,t2,k89,t,k87,t,k69,t,k71,t,k66,t,k70,t,k67,t,k88,t,k68,t,k80,t,k73,t,s5,m320:240,t3"
script="$script,k77,t2,k51,t2,k77,t,k112,t2,k112,t,k83,t,k83,t,k114,t3,m10:10,t2"
compare default "$DEFAULT_VISION" "$script" 30
"$WEB_TOOL" vision "$tmp" "$tmp/photo.flt"
compare photo "$tmp/photo.flt" "t3,k78,m0:0,t,m639:0,t,m639:479,t,m0:479,t,m320:240,t2" 6
echo "PASS: the page gives the desktop's frames"
