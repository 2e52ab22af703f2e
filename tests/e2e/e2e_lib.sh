# e2e_lib.sh -- shared pieces of the end-to-end tests (sourced, not run):
# a private Xvfb, waiting for the simulator window, reading a JPEG's size.

title="Vitrion simulator v2.0"
work=$(mktemp -d)
xvfb_pid=""
sim_pid=""

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }

cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/private_xvfb.sh"

need_tools() {
  for tool in "$@"; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
}

# Starts Xvfb on a free display (it picks the number itself) and exports DISPLAY.
start_xvfb() {
  private_xvfb_start 1024x768x24 || fail "no private X server"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  # Under the sanitizer build: the X keyboard library hands strndup a bounded,
  # unterminated buffer, which strict string checks report although it is
  # sound. Later options override earlier ones.
  [ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
  keep_gl_driver_loaded
}

# Waits for the simulator's full-screen window; prints its id.
wait_for_window() {
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n1)
  [ -n "$window" ] || fail "no window named '$title'"
  xdotool getwindowgeometry "$window" | grep -q "Geometry: 1024x768" || fail "window is not full screen"
  echo "$window"
}

# Waits up to 10 s for a capture in folder $1; prints its path.
wait_for_capture() {
  local capture=""
  for _ in $(seq 100); do
    capture=$(ls "$1"/vitrion_capture_*.jpg 2>/dev/null | head -n1)
    [ -n "$capture" ] && break
    sleep 0.1
  done
  [ -n "$capture" ] || fail "F8 wrote no vitrion_capture_*.jpg in $1"
  sleep 0.5   # let the encoder finish the file
  echo "$capture"
}

# Prints WIDTHxHEIGHT from the start-of-frame marker of JPEG file $1.
jpeg_size() {
  local -a bytes
  read -r -a bytes <<<"$(od -An -tu1 -v "$1" | tr -s ' \n' '  ')"
  [ "${bytes[0]:-}" = 255 ] && [ "${bytes[1]:-}" = 216 ] || fail "$1 is not a JPEG"
  local i=2 marker
  while [ $((i + 8)) -lt ${#bytes[@]} ]; do
    [ "${bytes[i]}" = 255 ] || fail "broken JPEG marker at byte $i of $1"
    marker=${bytes[i+1]}
    if [ "$marker" -ge 192 ] && [ "$marker" -le 194 ]; then
      echo "$((bytes[i+7] * 256 + bytes[i+8]))x$((bytes[i+5] * 256 + bytes[i+6]))"
      return
    fi
    i=$((i + 2 + bytes[i+2] * 256 + bytes[i+3]))
  done
  fail "no frame header in $1"
}

# Presses Escape and expects the simulator to end with exit code 0 within 10 s.
quit_with_escape() {
  xdotool key Escape
  for _ in $(seq 100); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$sim_pid" 2>/dev/null && fail "vitrion_sim still runs 10 s after Escape"
  local code=0
  wait "$sim_pid" || code=$?
  sim_pid=""
  [ "$code" = 0 ] || fail "exit code $code: $(cat "$work/sim.log")"
}
