#!/usr/bin/env bash
# Sets up the machine, builds Orvello and runs it.
# For now the saver itself is still being built: this flies the camera over its random path
# and prints where it goes (one JSON line per frame), as the scene authors' path tool does.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

echo "run: the saver is not built yet; showing the camera path instead (seed 1, Speed 50, 60 fps):"
./build/tools/orvello-scene path --seed 1 --speed 50 --dt 0.016666667 --frames 1200 | awk 'NR % 120 == 1'
