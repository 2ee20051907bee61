#!/usr/bin/env bash
# Installs what is missing, builds ovm and runs it on an example model.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/src/cli/ovm --version
build/src/cli/ovm check examples/cr_reduction_rayleigh.ovm examples/two_source_mixing.ovm
build/src/cli/ovm check --profile identification examples/identify_cr_process.ovm
build/src/cli/ovm parse examples/cr_reduction_rayleigh.ovm
