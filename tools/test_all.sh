#!/usr/bin/env bash
# test_all.sh -- from a fresh clone: install packages, configure, build, run every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
