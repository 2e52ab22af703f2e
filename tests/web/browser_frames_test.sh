#!/bin/sh
# The player page, opened from file:// in headless Chromium, shows the desktop engine's frames pixel
# for pixel: the same event script through the page's test hook and through the shell on the null
# platform, with the same vision and the default vision the page carries, give the same frame hashes.
# The vision is the default vision file itself: every effect ticked, two 640 x 480 JPEG scenes.
set -eu
. "$(dirname "$0")/web_lib.sh"
web_skip_unless_ready
tmp=$(mktemp -d)
trap '[ -n "${KEEP_TMP:-}" ] || rm -rf "$tmp"' EXIT

"$WEB_TOOL" page "$WEB_PAGE" "$DEFAULT_VISION" "Frame test" "$tmp/page.html"
mkdir "$tmp/desktop"
cp "$WEB_DEFAULT_VISION" "$tmp/desktop/vitrion.dat"

# Start, gaze moves, every key group (eyes, blink, floaters, scene, effects, myopia), the clock moving on.
script="t3,m100:120,t2,m500:400,t2,k116,t,k117,t2,k118,t,k32,t4,k65,t2,k81,t2,k78,t,k78,t,k74,t,k75,t"
script="$script,k76,t2,k89,t,k87,t,k69,t,k71,t,k66,t,k70,t,k67,t,k88,t,k68,t,k80,t,k73,t,s5,m320:240,t3"
script="$script,k77,t2,k51,t2,k77,t,k112,t2,k112,t,k83,t,k83,t,k114,t3,m10:10,t2"
"$WEB_TOOL" frames "$tmp/desktop" "$DEFAULT_VISION" "$script" >"$tmp/desktop.txt"
web_run_page "file://$tmp/page.html#test=$script" "$tmp/dom.html" --virtual-time-budget=60000
web_result "$tmp/dom.html" >"$tmp/browser.txt"

frames=$(wc -l <"$tmp/desktop.txt")
distinct=$(sort -u "$tmp/desktop.txt" | wc -l)
if [ "$frames" -lt 50 ] || [ "$distinct" -lt 30 ] || grep -q "script error" "$tmp/desktop.txt"; then
  echo "FAIL: the desktop run gave $frames frames, $distinct distinct"; exit 1
fi
if ! cmp -s "$tmp/desktop.txt" "$tmp/browser.txt"; then
  echo "FAIL: the page's frames differ from the desktop's:"
  diff "$tmp/desktop.txt" "$tmp/browser.txt" | head -20
  grep -v -i "dbus\|fontconfig" "$tmp/chromium.log" | head -20
  exit 1
fi
echo "PASS: $frames frames ($distinct distinct) equal"
