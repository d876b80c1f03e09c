#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while on a copy of its seed corpus.
#   tools/fuzz.sh [SECONDS] [TARGET...]     (default 30 seconds each, every target)
# Findings (crash-*, leak-*, timeout-*) land in build-fuzz/findings/; the script fails if any.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVELLO_FUZZ=ON -DORVELLO_TESTS=OFF -DORVELLO_BENCH=OFF >/dev/null
cmake --build build-fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(grep -v '^$' build-fuzz/fuzz_targets.txt || true)
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no fuzz targets yet"
  exit 0
fi

mkdir -p build-fuzz/findings
failed=0
for t in "${targets[@]}"; do
  seeds="tests/fuzz/corpus/${t#fuzz_}"
  work="build-fuzz/corpus/${t#fuzz_}"
  mkdir -p "$work"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
  echo "fuzz: $t for ${seconds}s"
  if ! "build-fuzz/tests/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=1048576 \
       -artifact_prefix="build-fuzz/findings/$t-" -print_final_stats=1 "$work" \
       > "build-fuzz/$t.log" 2>&1; then
    echo "fuzz: $t FOUND A FAULT (see build-fuzz/$t.log and build-fuzz/findings/)"
    tail -n 40 "build-fuzz/$t.log"
    failed=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "build-fuzz/$t.log" | tail -n 1 || true
  fi
done
exit $failed
