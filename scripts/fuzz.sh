#!/usr/bin/env bash
# fuzz.sh [seconds per target] [target...]: builds the libFuzzer targets with clang and runs each
# named target (all of them by default) for a bounded time, seeded with the project's files of
# its format and given a dictionary of the words those files use. FUZZ_JOBS targets run at
# once, one process each (default 1). Each target's log is build-fuzz/logs/<target>.log and ends
# with libFuzzer's final statistics; a failing input is left in build-fuzz/findings/<target>/.
# Once its fault is mended, copy it to tests/fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
all=(front_end format graph_file model_pipeline database selected_output engine)
targets=("${@:-${all[@]}}")
jobs=${FUZZ_JOBS:-1}

CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVM_FUZZ=ON -DOVM_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target ovm "${all[@]/%/_fuzzer}"

# The project's files of one kind, wherever they are kept.
files_named() { find examples tests fuzz -name "$1" -type f 2>/dev/null; }

# Lowered models: the test files, and what the fuzz build of ovm makes of every model source.
lowered_models() {
  local into=$1 i=0
  files_named '*.ovmir.json' | while read -r f; do cp "$f" "$into/"; done
  files_named '*.ovm' | while read -r f; do
    i=$((i + 1))
    build-fuzz/src/cli/ovm build "$f" -o "$into/built$i.ovmir.json" >/dev/null 2>&1 || true
  done
}

seed() {
  local target=$1 corpus=$2
  case $target in
    front_end|format|model_pipeline) files_named '*.ovm' | while read -r f; do cp "$f" "$corpus/"; done ;;
    graph_file|engine) lowered_models "$corpus" ;;
    database) files_named '*.ovdb' | while read -r f; do cp "$f" "$corpus/"; done ;;
    selected_output) files_named '*.sel' | while read -r f; do cp "$f" "$corpus/"; done ;;
  esac
  cp tests/fuzz/regressions/"$target"/* "$corpus"/ 2>/dev/null || true
}

# Every word and key of the seeds as a libFuzzer dictionary entry, with the format's own marks.
dictionary() {
  local target=$1 corpus=$2
  {
    case $target in
      graph_file|engine) grep -ohE '"[A-Za-z_0-9]+"' "$corpus"/* | sed 's/"/\\"/g; s/.*/"&"/'
                         printf '"%s"\n' '{' '}' '[' ']' ':' ',' 'null' 'true' 'false' '1e308' '-0.0' '\\u0000' ;;
      database) grep -ohE '[A-Za-z_][A-Za-z_0-9]*' "$corpus"/* | sed 's/.*/"&"/'
                printf '"%s"\n' '[[' ']]' '=' '#' "'''" '\"\"\"' '\xc4\x84' '\xc3\xa9' 'nan' 'inf' '1979-05-27' ;;
      selected_output) grep -ohE '[A-Za-z_(),.+-][A-Za-z_0-9(),.+-]*' "$corpus"/* | sed 's/.*/"&"/'
                       printf '"%s"\n' '\x09' '\x0d\x0a' 'time' 'nan' '-inf' 'Infinity' 'e+' 'E-' '.5' '\xc2\xa0' ;;
      *) grep -ohE '[A-Za-z_][A-Za-z_0-9]*' "$corpus"/* | sed 's/.*/"&"/'
         printf '"%s"\n' '=' '(' ')' '->' '<=' '/' '^' '#' ;;
    esac
  } | sort -u
}

run_target() {
  local target=$1
  local corpus=build-fuzz/corpus/$target findings=build-fuzz/findings/$target
  local max_len=4096
  case $target in graph_file|engine) max_len=16384 ;; esac
  mkdir -p "$corpus" "$findings" build-fuzz/dict build-fuzz/logs
  seed "$target" "$corpus"
  dictionary "$target" "$corpus" >build-fuzz/dict/"$target".dict
  build-fuzz/fuzz/"${target}_fuzzer" "$corpus" -dict=build-fuzz/dict/"$target".dict -max_total_time="$seconds" \
    -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 \
    >build-fuzz/logs/"$target".log 2>&1 || true
  echo "== $target for ${seconds}s: $(grep -E '^#[0-9]+.*(DONE|cov)' build-fuzz/logs/"$target".log | tail -1)"
  grep -E '^stat::number_of_executed_units|^SUMMARY|Test unit written' build-fuzz/logs/"$target".log || true
}

running=0
for target in "${targets[@]}"; do
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait
# A finding left in the folders fails the script.
! find build-fuzz/findings -type f | grep -q .
