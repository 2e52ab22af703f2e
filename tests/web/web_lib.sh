# web_lib.sh -- shared by the browser tests: skipping, a headless Chromium run, the page's result.

# Skips (77) unless the player page was built and Chromium and node are installed.
web_skip_unless_ready() {
  if [ -z "${WEB_PAGE:-}" ] || [ ! -f "$WEB_PAGE" ]; then echo "SKIP: no browser build (em++ missing?)"; exit 77; fi
  for program in chromium node; do
    command -v "$program" >/dev/null 2>&1 || { echo "SKIP: $program is not installed"; exit 77; }
  done
}

# web_run_page URL OUT [chromium options...]: the page's DOM once Chromium is done with it. As root
# Chromium runs only without its sandbox; the profile is a fresh one in the test's folder.
web_run_page() {
  url=$1 out=$2
  shift 2
  timeout 120 chromium --headless --no-sandbox --disable-gpu --allow-file-access-from-files \
    --user-data-dir="$tmp/profile" "$@" --dump-dom "$url" >"$out" 2>"$tmp/chromium.log" || true
}

# web_result DOM: the text of the page's result element (what a test hook reports).
web_result() {
  tr '\n' '\001' <"$1" | sed -n 's/.*<pre id="result">\([^<]*\)<\/pre>.*/\1/p' | tr '\001' '\n' | sed '/^$/d'
}
