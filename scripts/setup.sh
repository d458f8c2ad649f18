#!/usr/bin/env bash
# Installs what Tavro needs to build and test on Debian 12 (run as root), then
# configures and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  g++ cmake ninja-build pkg-config python3
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl-dev
  libicu-dev poppler-utils
  xvfb openbox xdotool imagemagick
  openmpi-bin libopenmpi-dev
  clang clang-format libclang-rt-14-dev
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRO_BUILD_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)"
