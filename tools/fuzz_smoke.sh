#!/usr/bin/env bash
# fuzz_smoke.sh -- builds the libFuzzer targets with clang in build-fuzz/ and runs
# each for a short time (FUZZ_SECONDS, default 60) from the seeds that
# make_fuzz_seeds writes with our own writers, one folder per target.
# Prints each target's executions per second, by the clock and per second of
# CPU time (what one core gives, whatever else the machine runs), and checks
# the CPU rate against the target's floor. A rate below its floor is reported;
# it fails the run only with FUZZ_STRICT_FLOORS=1, since a shared machine can
# slow any target. Corpora, logs and crash inputs stay under build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/fuzz_env.sh
seconds=${FUZZ_SECONDS:-60}
fuzz_build
fuzz_seeds
mkdir -p build-fuzz/artifacts
status=0
below=0
TIMEFORMAT='%U %S'
for target in build-fuzz/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=build-fuzz/corpus/$name
  log=build-fuzz/$name.log
  mkdir -p "$corpus"
  echo "== $name for ${seconds}s"
  # shellcheck disable=SC2046
  if ! { time "$target" -max_total_time="$seconds" $(fuzz_flags "$name") \
         "$corpus" "build-fuzz/seeds/$name" >"$log" 2>&1; } 2>"build-fuzz/$name.cpu"; then
    echo "$name FAILED"; tail -40 "$log"; status=1
    continue
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  wall=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  read -r user system <"build-fuzz/$name.cpu"
  floor=$(fuzz_floor "$name")
  verdict=$(awk -v r="${runs:-0}" -v u="$user" -v s="$system" -v f="$floor" 'BEGIN {
    c = u + s; rate = c > 0 ? r / c : 0
    printf "%.0f %s", rate, ((rate >= f) ? "ok" : "BELOW")
  }')
  rate=${verdict% *}
  echo "$name: ${wall:-0} executions/s by the clock, $rate per CPU second (floor $floor): ${verdict#* }"
  [[ ${verdict#* } == ok ]] || below=1
done
if [[ $below == 1 && ${FUZZ_STRICT_FLOORS:-0} == 1 ]]; then status=1; fi
exit $status
