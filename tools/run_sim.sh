#!/usr/bin/env bash
# run_sim.sh -- from a fresh clone: install packages, build, start the simulator
# in build/bin (where the default vision vitrion.dat is made and captures land).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
cd build/bin
exec ./vitrion_sim
