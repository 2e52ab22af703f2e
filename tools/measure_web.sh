#!/bin/sh
# measure_web.sh -- the browser player's figures for docs/performance.md: the frame rate of the page in
# headless Chromium with every effect on (15 s, the gaze circling), and the engine's all-effects frame
# in WebAssembly (bench.html) against the native BM_ComposeFrameAllEffects.
# Run from the source tree after a build: tools/measure_web.sh [build folder]
set -eu
build=${1:-build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
browser() {  # URL: the page's result line, from its console, within 40 s
  timeout 40 chromium --headless --no-sandbox --disable-gpu --allow-file-access-from-files \
    --user-data-dir="$tmp/profile" --enable-logging=stderr --v=0 "$1" 2>&1 |
    grep -a -m1 -o 'vitrion-result: [^"]*\|compose_frame_all_effects_ms [0-9. ]*' || true
}
"$build/bin/web_test_tool" page "$build/bin/web/vitrion_player.html" "$build/bin/vitrion.dat" "Rate" "$tmp/rate.html"
echo "page size without a vision: $(wc -c <"$build/bin/web/vitrion_player.html") bytes"
echo "frame rate run: $(browser "file://$tmp/rate.html#fps=15")"
echo "wasm, median and fastest of 200 frames: $(browser "file://$PWD/$build/web/bench.html")"
"$build/bin/vitrion_bench" --benchmark_filter='^BM_ComposeFrameAllEffects$' --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep -E "_(median|mean)"
