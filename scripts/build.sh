#!/usr/bin/env bash
# build.sh <build dir> [cmake options...]: configures and builds one configuration, with
# warnings as errors (options given later win, such as another build type).
set -euo pipefail
dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVM_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
