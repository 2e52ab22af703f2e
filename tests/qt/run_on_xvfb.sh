#!/usr/bin/env bash
# run_on_xvfb.sh -- runs the present test binary on a private Xvfb with
# OpenGL (Mesa's software renderer), then its fall-back case on a second
# Xvfb without GLX and with no GL driver to load. Exit code 77: no Xvfb.
# Usage: run_on_xvfb.sh <qt_present_tests binary>
set -u
binary=$1
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed" >&2; exit 77; }
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Starts Xvfb with extra arguments $@ on a display it picks; exports DISPLAY.
start_xvfb() {
  [ -n "$xvfb_pid" ] && { kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null; }
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp "$@" 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
}

# Under the sanitizer build: Mesa's software GL driver is unloaded at exit
# with memory its globals still point to, which then shows as leaks from an
# unnamed module. Preloaded, it stays loaded and that memory stays reachable.
keep_gl_driver_loaded() {
  [ -n "${ASAN_OPTIONS:-}" ] || return 0
  local driver
  for driver in /usr/lib/*/dri/swrast_dri.so; do
    [ -f "$driver" ] || continue
    export LD_PRELOAD="$driver${LD_PRELOAD:+:$LD_PRELOAD}"
    export ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
    return 0
  done
}

unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
start_xvfb
(keep_gl_driver_loaded && exec "$binary") || exit 1
start_xvfb -extension GLX
LIBGL_DRIVERS_PATH="$work/no-drivers" VITRION_TEST_EXPECT_NO_OPENGL=1 \
  "$binary" --gtest_filter='PresentWithoutOpenGL.*' || exit 1
