#!/usr/bin/env bash
# Installs what is missing, builds the ovm program only, checks the example models, then
# lowers and runs the Cr(VI) reduction model in a scratch folder and shows a few rows of its
# results as a table.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVM_WERROR=ON >/dev/null
cmake --build build --target ovm -j "$(nproc)"
ovm=build/src/cli/ovm
$ovm --version
$ovm check examples/cr_reduction_rayleigh.ovm examples/two_source_mixing.ovm
$ovm check --profile identification examples/identify_cr_process.ovm
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
$ovm build examples/cr_reduction_rayleigh.ovm -o "$out/cr_reduction_rayleigh.ovmir.json"
$ovm run "$out/cr_reduction_rayleigh.ovmir.json"
scripts/results_table.sh "$out/cr_reduction_rayleigh.results.json"
