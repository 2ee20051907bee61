#!/usr/bin/env bash
# Installs what is missing, then builds a normal, a Release and a sanitizer (ASan + UBSan)
# configuration and runs every test in each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$jobs"

# A Release build (as a packager makes one) must build cleanly too.
scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build-release --output-on-failure -j "$jobs"

scripts/build.sh build-sanitize -DOVM_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
