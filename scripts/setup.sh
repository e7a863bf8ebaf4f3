#!/usr/bin/env bash
# Installs everything the build, the tests and running under Wine need, on Debian 12, as root.
# Safe to run again: it only calls apt when a package is missing.
set -euo pipefail

packages=(
  ca-certificates cmake ninja-build make g++ gcc clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xauth x11-utils imagemagick fonts-liberation fonts-dejavu-core
  fonts-wine libgif-dev libstb-dev python3 procps unzip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these Debian packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
