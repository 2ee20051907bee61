#!/usr/bin/env bash
# Installs what building and testing ovm needs on Debian, where it is missing.
set -euo pipefail

packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libtomlplusplus-dev libssl-dev nlohmann-json3-dev rapidjson-dev time)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

run_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
run_root apt-get update -q
run_root apt-get install -y -q --no-install-recommends "${missing[@]}"
