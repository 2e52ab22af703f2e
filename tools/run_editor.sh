#!/usr/bin/env bash
# run_editor.sh -- from a fresh clone: install packages, build, start the vision
# file editor in build/bin (beside its help files).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
cd build/bin
exec ./vitrion_edit
