#!/usr/bin/env bash
# fuzz_smoke.sh -- builds the libFuzzer targets with clang in build-fuzz/ and runs
# each for a short time (FUZZ_SECONDS, default 60) from the seeds that
# make_fuzz_seeds writes with our own writers, one folder per target.
# Corpora, logs and crash inputs stay under build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVITRION_BUILD_FUZZ=ON -DVITRION_SANITIZE=ON -DVITRION_BUILD_GUI=OFF -DVITRION_BUILD_BENCH=OFF
cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets
seeds=build-fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds"
build-fuzz/bin/make_fuzz_seeds "$seeds"
mkdir -p build-fuzz/artifacts
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for target in build-fuzz/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=build-fuzz/corpus/$name
  mkdir -p "$corpus"
  echo "== $name for ${seconds}s"
  # -close_fd_mask=2 silences the JPEG library's warnings; sanitizer reports
  # and broken invariants still reach the log.
  if ! "$target" -max_total_time="$seconds" -max_len=600000 -timeout=60 -rss_limit_mb=2048 \
       -close_fd_mask=2 -artifact_prefix="build-fuzz/artifacts/$name-" -print_final_stats=1 \
       "$corpus" "$seeds/$name" >"build-fuzz/$name.log" 2>&1; then
    echo "$name FAILED"; tail -40 "build-fuzz/$name.log"; status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$name.log" || true
  fi
done
exit $status
