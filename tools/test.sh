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

# intercept_tls_get_addr=0: LeakSanitizer's tracer otherwise crashes on the thread-local storage
# of Mesa's dlopen'ed driver.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j 2
