#!/usr/bin/env bash
# Installs what is missing, builds ovm and runs it on the example models: checks them, then
# lowers and runs the Cr(VI) reduction model into a scratch folder and shows its results.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
ovm=build/src/cli/ovm
$ovm --version
$ovm check examples/cr_reduction_rayleigh.ovm examples/two_source_mixing.ovm
$ovm check --profile identification examples/identify_cr_process.ovm
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
$ovm build examples/cr_reduction_rayleigh.ovm -o "$out/cr_reduction_rayleigh.ovmir.json"
$ovm run "$out/cr_reduction_rayleigh.ovmir.json"
head -n 40 "$out/cr_reduction_rayleigh.results.json"
