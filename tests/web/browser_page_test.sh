#!/bin/sh
# The player page's own checks in headless Chromium: its size without a vision, the raw template
# (the placeholder not filled in), a vision text that is not base64, and a damaged vision file,
# which shows the desktop's error text and then the same frames as the desktop (the default vision).
set -eu
. "$(dirname "$0")/web_lib.sh"
web_skip_unless_ready
tmp=$(mktemp -d)
trap '[ -n "${KEEP_TMP:-}" ] || rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The player without a vision's own bytes.
size=$(wc -c <"$WEB_PAGE")
[ "$size" -le 600000 ] || fail "the player page is $size bytes, over 600 KB"

# The raw template says that it holds no vision.
cp "$WEB_PAGE" "$tmp/raw.html"
web_run_page "file://$tmp/raw.html#test=t" "$tmp/raw_log.txt"
[ "$(web_result "$tmp/raw_log.txt")" = "no vision" ] || fail "the raw template did not report a missing vision"

# A vision text that is not base64.
sed 's/@VITRION_VISION@/not*base64!/; s/@VITRION_TITLE@/Broken/' "$WEB_PAGE" >"$tmp/text.html"
web_run_page "file://$tmp/text.html#test=t" "$tmp/text_log.txt"
[ "$(web_result "$tmp/text_log.txt")" = "damaged" ] || fail "a vision text that is not base64 was not reported"

# A vision file cut short: the desktop's error text on the page, then the default vision's frames.
head -c 1000 "$DEFAULT_VISION" >"$tmp/cut.flt"
"$WEB_TOOL" page "$WEB_PAGE" "$tmp/cut.flt" "Cut" "$tmp/cut.html"
mkdir "$tmp/desktop"
cp "$WEB_DEFAULT_VISION" "$tmp/desktop/vitrion.dat"
script="t3,m200:200,t3,k76,t2"
"$WEB_TOOL" frames "$tmp/desktop" "$tmp/cut.flt" "$script" >"$tmp/desktop.txt" 2>"$tmp/desktop_errors.txt"
web_run_page "file://$tmp/cut.html#test=$script" "$tmp/cut_log.txt"
web_result "$tmp/cut_log.txt" >"$tmp/browser.txt"
cmp -s "$tmp/desktop.txt" "$tmp/browser.txt" || fail "a damaged file's frames differ from the desktop's"
reason=$(sed -n 's/^vitrion_sim: cannot read vision file .*: //p' "$tmp/desktop_errors.txt")
[ -n "$reason" ] || fail "the desktop gave no reason for the damaged file"
web_errors "$tmp/cut_log.txt" | grep -q -x -F "vitrion_sim: cannot read vision file /vitrion/Cut.flt: $reason" ||
  fail "the page does not show the desktop's text: $reason"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: size $size bytes; raw template, bad text and damaged file handled"
