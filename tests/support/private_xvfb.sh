# private_xvfb.sh -- a private Xvfb for the end-to-end tests (sourced, not run).
#
# The server picks a free display number itself. A server that another test is
# shutting down at the same moment can still unlink the socket of the number
# it just freed, leaving the new server unreachable; so every start is checked
# with a real connection and retried on a fresh server.
# Needs $work (a scratch folder) and keeps the server's pid in $xvfb_pid.

# private_xvfb_start <width>x<height>x<depth> [extra Xvfb arguments...]
# Exports DISPLAY; returns 1 (with the server's log on stderr) when no
# reachable server could be started.
private_xvfb_start() {
  local screen=$1 attempt
  shift
  for attempt in 1 2 3 4 5; do
    if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true; fi
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp "$@" 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    if [ -s "$work/display" ]; then
      export DISPLAY=":$(head -n1 "$work/display")"
      for _ in $(seq 30); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
    fi
    echo "private Xvfb: try $attempt did not answer, starting another" >&2
  done
  echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2
  return 1
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
