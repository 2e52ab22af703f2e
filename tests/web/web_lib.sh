# web_lib.sh -- shared by the browser tests: skipping, a headless Chromium run, the page's result.

# Skips (77) unless the player page was built and Chromium and node are installed.
web_skip_unless_ready() {
  if [ -z "${WEB_PAGE:-}" ] || [ ! -f "$WEB_PAGE" ]; then echo "SKIP: no browser build (em++ missing?)"; exit 77; fi
  for program in chromium node; do
    command -v "$program" >/dev/null 2>&1 || { echo "SKIP: $program is not installed"; exit 77; }
  done
}

# web_run_page URL LOG: opens URL in headless Chromium, in real time, until the page's test hook
# reports (a "vitrion-result:" line on the console) or 90 s pass; the console goes to LOG. As root
# Chromium runs only without its sandbox; the profile is a fresh one in the test's folder.
web_run_page() {
  rm -rf "$tmp/profile"
  chromium --headless --no-sandbox --disable-gpu --allow-file-access-from-files --user-data-dir="$tmp/profile" \
    --enable-logging=stderr --v=0 "$1" >/dev/null 2>"$2" &
  browser=$!
  waited=0
  while [ "$waited" -lt 900 ] && ! grep -a -q '"vitrion-result: ' "$2"; do
    sleep 0.1
    waited=$((waited + 1))
  done
  kill "$browser" 2>/dev/null || true
  wait "$browser" 2>/dev/null || true
}

# web_result LOG: what the test hook reported, one item a line.
web_result() {
  sed -n 's/.*"vitrion-result: \(.*\)", source: .*/\1/p' "$1" | head -n 1 |
    awk '{ n = split($0, items, / \| /); for (i = 1; i <= n; ++i) if (items[i] != "" && items[i] != "|") print items[i] }'
}

# web_errors LOG: the error texts the page showed.
web_errors() {
  sed -n 's/.*"vitrion-error: \(.*\)", source: .*/\1/p' "$1"
}
