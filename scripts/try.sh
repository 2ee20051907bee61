#!/usr/bin/env bash
# Installs what is missing, builds ovm and runs it on an example model.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/src/cli/ovm --version
build/src/cli/ovm explain OV213
