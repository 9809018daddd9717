#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks and builds the default preset.
# Sourced by the run and test scripts; PROGRAM_DIR is the ready program directory.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PROGRAM_DIR="$ROOT/build/default/bin"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-charts-dev libgl-dev
          libgtest-dev libgmock-dev libcurl4-openssl-dev python3 python3-aiosmtpd
          clang libclang-rt-14-dev fonts-dejavu-core procps valgrind
          libmosquitto-dev mosquitto mosquitto-clients
          dpkg-dev socat prometheus chromium chromium-driver python3-jsonschema)

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    as_root=()
    [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cd "$ROOT"
cmake --preset default >/dev/null
cmake --build --preset default
