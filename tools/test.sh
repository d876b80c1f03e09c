#!/usr/bin/env bash
# Sets up the machine, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# runs each fuzz target briefly, then runs the whole test suite.
#   FUZZ_SECONDS=N   seconds per fuzz target (default 30; 0 skips fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVELLO_SANITIZE=ON
cmake --build build-asan

fuzz_seconds=${FUZZ_SECONDS:-30}
if [ "$fuzz_seconds" != 0 ]; then
  bash tools/fuzz.sh "$fuzz_seconds"
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j 2
