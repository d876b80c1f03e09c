#!/usr/bin/env bash
# Sets up the machine, builds Orvello (with its demo scene, build/content/data.sdd) and shows
# the demo scene. Until the windowed saver exists, it renders a few seconds of the scene
# offscreen and leaves the frames as PNG files in out/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

out=out/demo
rm -rf "$out"
echo "run: rendering the demo scene offscreen (10 s at 60 frames/s, every 2nd second kept)"
./build/app/orvello --render "$out" --data build/content --frames 600 --every 120 --seed 1 --fps
echo "run: the demo scene's frames are in $out/:"
ls "$out"
