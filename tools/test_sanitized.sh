#!/usr/bin/env bash
# test_sanitized.sh -- builds the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVITRION_SANITIZE=ON -DVITRION_BUILD_BENCH=OFF -DVITRION_WEB=OFF
cmake --build build-asan -j"$(nproc)"
# Leaks and interceptor reports inside the system's font and display
# libraries are not ours to fix: each suppression file says why.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:suppressions=$PWD/tools/asan.supp"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
