#!/usr/bin/env bash
# bench.sh: builds the benchmark, measures the front end per MB of generated model text, and
# reports the time and peak memory of a whole `ovm check` of 10 and 50 MB models.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build
build/bench/front_end_benchmark --benchmark_min_time=1

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for mb in 10 50; do
  build/bench/generate_model "$mb" "$dir/model.ovm"
  bytes=$(stat -c %s "$dir/model.ovm")
  /usr/bin/time -f "%e %M" -o "$dir/time" build/src/cli/ovm check "$dir/model.ovm" >/dev/null
  read -r seconds peak_kib <"$dir/time"
  echo "check of ${mb} MB: ${seconds} s, peak memory $((peak_kib * 1024 / bytes)).$(((peak_kib * 10240 / bytes) % 10)) times the file size"
done
