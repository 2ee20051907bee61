#!/usr/bin/env bash
# fuzz.sh [seconds per target]: builds the libFuzzer targets with clang and runs each for a
# bounded time, seeded with the project's model files. A crashing input is left in
# build-fuzz/findings/<target>/; copy it to tests/fuzz/regressions/ once the fault is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVM_FUZZ=ON -DOVM_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target front_end_fuzzer format_fuzzer

for target in front_end_fuzzer format_fuzzer; do
  corpus=build-fuzz/corpus/$target
  findings=build-fuzz/findings/$target
  mkdir -p "$corpus" "$findings"
  find examples tests -name '*.ovm' -exec cp {} "$corpus"/ \; 2>/dev/null || true
  cp tests/fuzz/regressions/* "$corpus"/ 2>/dev/null || true
  echo "== $target for ${seconds}s"
  build-fuzz/fuzz/$target "$corpus" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$findings/" -print_final_stats=1
done
