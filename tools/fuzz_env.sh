# fuzz_env.sh -- sourced by the fuzz scripts: builds the libFuzzer targets with
# clang (ASan + UBSan) in build-fuzz/ and defines the per-target settings.
fuzz_build() {
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVITRION_BUILD_FUZZ=ON -DVITRION_SANITIZE=ON -DVITRION_BUILD_GUI=OFF -DVITRION_BUILD_BENCH=OFF -DVITRION_WEB=OFF >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets
}

# Seeds from our own writers, one folder per target, in build-fuzz/seeds.
fuzz_seeds() {
  rm -rf build-fuzz/seeds && mkdir -p build-fuzz/seeds
  build-fuzz/bin/make_fuzz_seeds build-fuzz/seeds
}

# Longest input each target is given: enough for what it reads (a vision
# file's records and dots after the zero header, a small TGA, a JPEG of a
# few hundred blocks, the simulator's patches and events); longer inputs
# only slow the mutations down.
fuzz_max_len() {
  case "$1" in
    fuzz_vision_reader) echo 32768 ;;
    fuzz_grey_map) echo 65536 ;;
    fuzz_jpeg_picture) echo 131072 ;;
    *) echo 4096 ;;
  esac
}

# Executions a second each target must reach on one core.
fuzz_floor() {
  case "$1" in
    fuzz_vision_reader|fuzz_grey_map) echo 2000 ;;
    fuzz_jpeg_picture) echo 1000 ;;
    *) echo 100 ;;
  esac
}

# -close_fd_mask=2 silences the JPEG library's warnings; sanitizer reports
# and broken invariants still reach the log (they use their own stream).
# Leaks are the sanitized test suite's business: libFuzzer's leak check
# would run every input that allocates twice.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fuzz_flags() {
  echo "-max_len=$(fuzz_max_len "$1") -timeout=60 -rss_limit_mb=2048 -detect_leaks=0 -close_fd_mask=2" \
       "-artifact_prefix=build-fuzz/artifacts/$1- -print_final_stats=1"
}
