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

. "$(dirname "$0")/../support/private_xvfb.sh"
# Starts Xvfb with extra arguments $@ on a display it picks; exports DISPLAY.
start_xvfb() {
  private_xvfb_start 1366x768x24 "$@" || { echo "FAIL: no private X server" >&2; exit 1; }
}

unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
start_xvfb
(keep_gl_driver_loaded && exec "$binary") || exit 1
start_xvfb -extension GLX
LIBGL_DRIVERS_PATH="$work/no-drivers" VITRION_TEST_EXPECT_NO_OPENGL=1 \
  "$binary" --gtest_filter='PresentWithoutOpenGL.*' || exit 1
