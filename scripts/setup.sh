#!/bin/bash
# Prepares a Debian 12 machine and builds jpg2dds into build/: installs the
# packages that are missing (nothing is fetched when all are there), then
# configures and builds. Safe to run again.
set -euo pipefail

cd "$(dirname "$0")/.."

# The last three are for the tests: GNU parallel for the recipe of several
# hosts, Python to read reports as a script would, cjpeg to make photos.
packages=(g++ cmake pkg-config libfreeimage-dev libdevil-dev libcairo2-dev libfontconfig-dev
          libfreetype-dev fonts-liberation libgtest-dev libjpeg62-turbo-dev libtiff-dev libstb-dev
          zlib1g-dev libjemalloc-dev libsquish-dev groff-base dpkg-dev parallel python3 libjpeg-turbo-progs)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then
      as_root=(sudo)
    else
      echo "setup.sh: run as root to install: ${missing[*]}" >&2
      exit 1
    fi
  fi
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
