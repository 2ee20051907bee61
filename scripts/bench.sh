#!/usr/bin/env bash
# bench.sh: builds ovm and the benchmarks (Release), checks byte for byte that what is timed
# writes what it must, then prints each speed and memory goal's measured figure next to its
# target. Times are CPU seconds on one pinned core (OVM_BENCH_CPU, default 1), medians of
# interleaved rounds (OVM_BENCH_ROUNDS, default 3); peak memory is the largest resident size.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DOVM_BUILD_TESTS=OFF >/dev/null

bin=build-bench
ovm=$bin/src/cli/ovm
rounds=${OVM_BENCH_ROUNDS:-3}
pin=(taskset -c "${OVM_BENCH_CPU:-1}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

fail() { echo "bench: $*" >&2; exit 1; }

# CPU seconds and peak KiB of one command, which must exit with the status given first.
measure() {
  local status=$1
  shift
  local got=0
  /usr/bin/time -f "%U %S %M" -o "$dir/time" "${pin[@]}" "$@" >/dev/null 2>"$dir/stderr" || got=$?
  [ "$got" -eq "$status" ] || fail "$* exited with $got: $(cat "$dir/stderr")"
  # A command that fails gets a line of its own before the figures.
  tail -n 1 "$dir/time" | awk '{ printf "%.3f %d\n", $1 + $2, $3 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One line: the goal, the figure, the target, and whether it is met.
report() { awk -v g="$1" -v f="$2" -v op="$3" -v t="$4" -v u="$5" 'BEGIN {
  met = (op == "<=" ? f + 0 <= t + 0 : f + 0 >= t + 0)
  printf "%-58s %10.2f%-4s target %s %s%-4s %s\n", g, f, u, op, t, u, met ? "met" : "NOT MET" }'; }

# Google Benchmark's JSON: the median CPU time in ms of each benchmark, "name ms" a line.
benchmark_medians() {
  "${pin[@]}" "$@" --benchmark_format=json --benchmark_repetitions="$rounds" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true 2>"$dir/stderr" | python3 -c '
import json, sys
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        print(b["run_name"], b["cpu_time"] * scale)' || fail "$1: $(cat "$dir/stderr")"
}
ms() { awk -v n="$1" '$1 == n { print $2 }' "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

echo "== build: 10 and 50 MB generated models"
for mb in 10 50; do
  $bin/bench/generate_model "$mb" "$dir/m$mb.ovm"
  "$ovm" build "$dir/m$mb.ovm" -o "$dir/m$mb.ovmir.json" >/dev/null
  $bin/bench/graph_benchmark --roundtrip "$dir/m$mb.ovmir.json" || fail "the lowered $mb MB model does not read back"
done
: >"$dir/build10"; : >"$dir/build50"
for _ in $(seq "$rounds"); do
  for mb in 10 50; do measure 0 "$ovm" build "$dir/m$mb.ovm" -o "$dir/out.json" >>"$dir/build$mb"; done
done
t10=$(cut -d' ' -f1 "$dir/build10" | median)
t50=$(cut -d' ' -f1 "$dir/build50" | median)
peak=$(cut -d' ' -f2 "$dir/build50" | sort -n | tail -1)
report "build 50 MB / 10 MB time (${t50} s / ${t10} s)" "$(ratio "$t50" "$t10")" "<=" 5.5 x
report "build 50 MB peak memory / source" "$(ratio "$((peak * 1024))" "$(stat -c %s "$dir/m50.ovm")")" "<=" 10 x

echo "== check: 10 MB generated model"
: >"$dir/check10"
for _ in $(seq "$rounds"); do measure 0 "$ovm" check "$dir/m10.ovm" >>"$dir/check10"; done
tc=$(cut -d' ' -f1 "$dir/check10" | median)
peak=$(cut -d' ' -f2 "$dir/check10" | sort -n | tail -1)
report "check 10 MB throughput" "$(ratio "$(stat -c %s "$dir/m10.ovm")" "$(awk -v t="$tc" 'BEGIN { print t * 1e6 }')")" ">=" 100 MB/s
report "check 10 MB peak memory / source" "$(ratio "$((peak * 1024))" "$(stat -c %s "$dir/m10.ovm")")" "<=" 6 x

echo "== run: 10-aquifer first-order Rayleigh model, 1,000,000 steps"
$bin/bench/generate_model rayleigh 1000000 "$dir/rayleigh.ovm"
"$ovm" build "$dir/rayleigh.ovm" -o "$dir/rayleigh.ovmir.json" >/dev/null
read -r _ peak < <(measure 0 "$ovm" run "$dir/rayleigh.ovmir.json" -o "$dir/rayleigh.results.json")
$bin/bench/run_benchmark --results "$dir/rayleigh.ovmir.json" "$dir/loop.results.json"
cmp -s "$dir/rayleigh.results.json" "$dir/loop.results.json" || fail "ovm run's results differ from the hand-written loop's"
echo "ovm run's results file equals the hand-written loop's byte for byte"
report "run 1,000,001 rows x 4 columns peak memory" "$(ratio "$peak" 1024)" "<=" 150 MB
$bin/bench/generate_model rayleigh 2000000 "$dir/endless.ovm"
"$ovm" build "$dir/endless.ovm" -o "$dir/endless.ovmir.json" >/dev/null
read -r _ peak < <(measure 1 "$ovm" run "$dir/endless.ovmir.json" -o "$dir/endless.results.json")
grep -q '^\[OV301\]' "$dir/stderr" || fail "a run past the step limit did not fail with OV301"
report "run past the step limit (OV301) peak memory" "$(ratio "$peak" 1024)" "<=" 150 MB

benchmark_medians $bin/bench/run_benchmark >"$dir/run"
report "run engine / hand-written loop" "$(ratio "$(ms BM_RunEngine/1000000 "$dir/run")" "$(ms BM_RunHandLoop/1000000 "$dir/run")")" "<=" 1.5 x
report "run with 4,000 unread parameters / with none" "$(ratio "$(ms BM_RunUnusedParameters/4000 "$dir/run")" "$(ms BM_RunUnusedParameters/0 "$dir/run")")" "<=" 1.05 x
report "run through a 16,000-link parameter chain, 10 steps" "$(ms BM_RunParameterChain/16000 "$dir/run")" "<=" 1000 ms

echo "== lowered-model writer and reader against nlohmann::json and RapidJSON, same graph"
benchmark_medians $bin/bench/graph_benchmark >"$dir/graph"
report "writer: nlohmann dump(2) / ours, whole text" "$(ratio "$(ms BM_NlohmannDump "$dir/graph")" "$(ms BM_WriteGraph "$dir/graph")")" ">=" 3 x
report "writer: nlohmann dump(2) / ours, in pieces as build writes" "$(ratio "$(ms BM_NlohmannDump "$dir/graph")" "$(ms BM_WriteGraphPieces "$dir/graph")")" ">=" 3 x
report "reader: nlohmann parse / ours (with the graph check)" "$(ratio "$(ms BM_NlohmannParse "$dir/graph")" "$(ms BM_ReadGraph "$dir/graph")")" ">=" 3 x
report "reader: ours / RapidJSON DOM parse, speed" "$(ratio "$(ms BM_RapidJsonParse "$dir/graph")" "$(ms BM_ReadGraph "$dir/graph")")" ">=" 0.5 x
